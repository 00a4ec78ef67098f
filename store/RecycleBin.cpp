#include "store/RecycleBin.h"

#include <cstdint>

#include "store/FileIo.h"
#include "store/TextCodec.h"

namespace RecycleBin {

const std::wstring& Separator() {
    static const std::wstring separator = L"\r\n" + std::wstring(75, L'=') + L"\r\n";
    return separator;
}

size_t CountVisibleChars(const std::wstring& text) {
    size_t count = 0;
    for (wchar_t c : text) {
        if (static_cast<uint32_t>(c) > 32) ++count;
    }
    return count;
}

bool AppendToRecycleBin(const std::wstring& path, const std::wstring& text) {
    // One write of the whole block keeps the separator with its text.
    return FileIo::AppendToFile(path, TextCodec::ToUtf16Le(text + Separator()));
}

bool EnsureRecycleBinExists(const std::wstring& path) {
    if (FileIo::FileExists(path)) return true;
    return FileIo::AppendToFile(path, std::string());
}

bool EmptyRecycleBin(const std::wstring& path) {
    return FileIo::WriteFileAtomically(path, std::string());
}

}  // namespace RecycleBin
