#include "store/RecycleBin.h"

#include <cstdint>
#include <cwchar>

#include "store/FileIo.h"
#include "store/TextCodec.h"

namespace RecycleBin {

std::wstring RecycleBinFileName(const std::wstring& languageText) {
    const size_t cut = languageText.find_last_of(L"\\/:");
    std::wstring name = cut == std::wstring::npos ? languageText : languageText.substr(cut + 1);
    for (wchar_t& c : name) {
        if (c < 0x20 || std::wcschr(L"<>\"|?*", c)) c = L'_';
    }
    // Windows drops trailing dots and blanks from file names.
    while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
    if (name.empty()) return L"Recycle Bin.txt";
    return name;
}

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
