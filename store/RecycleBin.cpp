#include "store/RecycleBin.h"

#include <cstdint>
#include <cwchar>

#include "store/FileIo.h"
#include "store/TextCodec.h"

namespace RecycleBin {

namespace {

constexpr wchar_t kDefaultName[] = L"Recycle Bin";
constexpr wchar_t kTextExtension[] = L".txt";

wchar_t AsciiUpper(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool EqualsIgnoringAsciiCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    }
    return true;
}

void TrimTrailingDotsAndBlanks(std::wstring& name) {
    while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
}

}  // namespace

bool IsReservedDeviceName(const std::wstring& name) {
    // Windows opens the device whatever extension follows ("nul.txt", "CON .log"),
    // so only the part before the first dot counts, without its trailing blanks.
    std::wstring stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    for (const wchar_t* device :
         {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$", L"CLOCK$"}) {
        if (EqualsIgnoringAsciiCase(stem, device)) return true;
    }
    if (stem.size() != 4) return false;
    const std::wstring port = stem.substr(0, 3);
    if (!EqualsIgnoringAsciiCase(port, L"COM") && !EqualsIgnoringAsciiCase(port, L"LPT")) {
        return false;
    }
    // Digits, and the superscript one, two and three that Windows also takes.
    const wchar_t n = stem[3];
    return (n >= L'0' && n <= L'9') || n == 0x00B9 || n == 0x00B2 || n == 0x00B3;
}

std::wstring RecycleBinFileName(const std::wstring& languageText) {
    const size_t cut = languageText.find_last_of(L"\\/:");
    std::wstring name = cut == std::wstring::npos ? languageText : languageText.substr(cut + 1);
    for (wchar_t& c : name) {
        if (c < 0x20 || std::wcschr(L"<>\"|?*", c)) c = L'_';
    }
    // Windows drops trailing dots and blanks from file names.
    TrimTrailingDotsAndBlanks(name);
    // The shell opens a file by its extension: whatever the language names the
    // bin, it stays a text file, never a script or a program.
    const std::wstring extension = kTextExtension;
    if (name.size() >= extension.size() &&
        EqualsIgnoringAsciiCase(name.substr(name.size() - extension.size()), extension)) {
        name.resize(name.size() - extension.size());
        TrimTrailingDotsAndBlanks(name);
    }
    if (name.size() > kMaxRecycleBinStem) {
        name.resize(kMaxRecycleBinStem);
        // Half a surrogate pair is no character.
        if (name.back() >= 0xD800 && name.back() <= 0xDBFF) name.pop_back();
        TrimTrailingDotsAndBlanks(name);
    }
    if (name.empty() || IsReservedDeviceName(name)) name = kDefaultName;
    return name + extension;
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
