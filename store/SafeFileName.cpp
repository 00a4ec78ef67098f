#include "store/SafeFileName.h"

#include <cwctype>

namespace {

bool Forbidden(wchar_t c) {
    return c < 32 || c == 127 || std::wcschr(L"\\/:*?\"<>|", c) != nullptr;
}

bool IsDeviceName(const std::wstring& stem) {
    // The system takes "CON.txt" and "nul .log" for the device too: the part
    // before the first dot counts, trailing spaces dropped.
    std::wstring base = stem.substr(0, stem.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    for (wchar_t& c : base) c = static_cast<wchar_t>(std::towupper(c));
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (base == device) return true;
    return base.size() == 4 &&
           (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
           base[3] >= L'0' && base[3] <= L'9';
}

void TrimSpacesAndDots(std::wstring& s) {
    size_t start = 0;
    while (start < s.size() && (s[start] == L' ' || s[start] == L'.')) ++start;
    s.erase(0, start);
    while (!s.empty() && (s.back() == L' ' || s.back() == L'.')) s.pop_back();
}

}  // namespace

std::wstring SafeFileName(const std::wstring& text, const std::wstring& fallback) {
    const std::wstring line = text.substr(0, text.find_first_of(L"\r\n"));
    std::wstring name;
    for (wchar_t c : line) {
        if (Forbidden(c) || c == L'\t') c = L' ';
        if (c == L' ' && !name.empty() && name.back() == L' ') continue;
        name += c;
    }
    TrimSpacesAndDots(name);
    if (name.size() > kMaxSafeNameLength) {
        name.resize(kMaxSafeNameLength);
        // Half of a surrogate pair is no character.
        if (name.back() >= 0xD800 && name.back() <= 0xDBFF) name.pop_back();
        TrimSpacesAndDots(name);
    }
    if (name.empty()) return fallback;
    if (IsDeviceName(name)) name = L"_" + name;
    return name + L".txt";
}
