// A skin's bitmap files are input: the header check must read only the bytes it
// is given, never accept headers that promise more than the file holds or a
// side past the cap, and answer the same for the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skin/BmpCheck.h"

namespace {

int64_t Signed32(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(static_cast<uint8_t>(b[at + i])) << (8 * i);
    return static_cast<int32_t>(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    // Exactly the head the loader reads: a heap block the sanitizer watches.
    const std::string head = file.substr(0, kBmpHeadBytes);
    const BmpVerdict verdict = CheckBmp(head, file.size());
    if (CheckBmp(head, file.size()) != verdict) abort();
    // A head cut shorter than the file says can never pass.
    if (head.size() > 18 && CheckBmp(head.substr(0, 17), file.size()) == BmpVerdict::Ok) abort();
    if (verdict != BmpVerdict::Ok) return 0;
    if (file.size() < 14 + 12 || file[0] != 'B' || file[1] != 'M') abort();
    // The same file claimed to be shorter by a byte is never better than cut.
    if (CheckBmp(head, file.size() - 1) == BmpVerdict::TooLarge) abort();
    const uint32_t headerSize = static_cast<uint32_t>(Signed32(file, 14));
    if (headerSize != 12 && file.size() >= 26) {
        const int64_t width = Signed32(file, 18);
        int64_t height = Signed32(file, 22);
        if (height < 0) height = -height;
        if (width <= 0 || width > kMaxSkinBitmapSide || height <= 0 ||
            height > kMaxSkinBitmapSide) {
            abort();
        }
        // A smaller cap refuses what the larger one took, from its size alone.
        const int32_t side = static_cast<int32_t>(width > height ? width : height);
        if (side > 1 && CheckBmp(head, file.size(), side - 1) != BmpVerdict::TooLarge) abort();
    }
    return 0;
}
