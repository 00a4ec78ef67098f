// Any bytes must parse without a fault; a file read whole must write back to
// the same bytes, and merging it must be a join: merging it a second time
// changes nothing. The input is tried as a whole file and, since random bytes
// almost never carry a right checksum, as a payload under a right header.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sync/DeviceFile.h"
#include "sync/Merge.h"

namespace {

void Check(const std::string& bytes) {
    Sync::DeviceState state;
    if (Sync::ParseDevice(bytes, state) != Sync::ParseState::Whole) return;
    const std::string written = Sync::SerializeDevice(state);
    Sync::DeviceState again;
    if (Sync::ParseDevice(written, again) != Sync::ParseState::Whole) abort();
    if (Sync::SerializeDevice(again) != written) abort();

    Sync::MergeOptions options;
    options.nowMs = 1796644800000LL;
    const Sync::MergeResult once = Sync::Merge({}, state.notes, options);
    const Sync::MergeResult twice = Sync::Merge(once.notes, state.notes, options);
    if (!twice.effects.empty() || twice.conflicts != 0) abort();
    if (twice.notes.size() != once.notes.size()) abort();
}

void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Check(bytes);
    std::string wrapped = "VNSYNC\r\n";
    PutU32(wrapped, Sync::kDeviceFileVersion);
    PutU32(wrapped, static_cast<uint32_t>(size));
    PutU32(wrapped, Sync::Crc32(bytes.data(), bytes.size()));
    Check(wrapped + bytes);
    return 0;
}
