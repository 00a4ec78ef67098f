#include "store/TextFile.h"

#include <algorithm>
#include <cstdint>

#include "store/FileIo.h"
#include "store/TextCodec.h"

namespace TextFile {

bool FitsEightBit(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(),
                       [](wchar_t c) { return static_cast<uint32_t>(c) < 256; });
}

std::string Encode(const std::wstring& text) {
    if (FitsEightBit(text)) {
        std::string bytes(text.size(), '\0');
        std::transform(text.begin(), text.end(), bytes.begin(),
                       [](wchar_t c) { return static_cast<char>(static_cast<unsigned char>(c)); });
        return bytes;
    }
    return "\xEF\xBB\xBF" + TextCodec::ToUtf8(text);
}

bool Write(const std::wstring& path, const std::wstring& text) {
    return FileIo::WriteFileAtomically(path, Encode(text));
}

}  // namespace TextFile
