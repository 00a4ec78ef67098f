#include "lang/IniText.h"

#include "store/IniFile.h"

const IniEscapeList& LanguageEscapes() {
    static const IniEscapeList escapes = {
        {L"\\t", L"\t"},
        {L"\\r", L"\r"},
        {L"\\n", L"\n"},
    };
    return escapes;
}

void ApplyEscapes(std::wstring& text, const IniEscapeList& escapes) {
    for (const IniEscape& escape : escapes) {
        if (escape.pattern.empty()) continue;
        size_t at = text.find(escape.pattern.data(), 0, escape.pattern.size());
        if (at == std::wstring::npos) continue;
        // Built afresh in one pass: replacing in place moves the rest of the
        // text for every escape, which a text of escapes alone makes quadratic.
        std::wstring out;
        out.reserve(text.size());
        size_t from = 0;
        while (at != std::wstring::npos) {
            out.append(text, from, at - from);
            out.append(escape.replacement);
            from = at + escape.pattern.size();
            at = text.find(escape.pattern.data(), from, escape.pattern.size());
        }
        out.append(text, from, std::wstring::npos);
        text.swap(out);
    }
}

std::wstring MissingText(const std::wstring& key) {
    return L"(((" + key + L")))";
}

std::wstring ReadIniText(const std::wstring& section, const std::wstring& key,
                         const std::wstring& file, const IniEscapeList* escapes) {
    IniDocument document;
    document.Load(file);
    return ReadIniText(section, key, document, escapes);
}

std::wstring ReadIniText(const std::wstring& section, const std::wstring& key,
                         const IniDocument& document, const IniEscapeList* escapes) {
    std::wstring value;
    if (!document.Find(section, key, value)) value.clear();
    // The profile reader hands over a terminated string: a NUL inside the value
    // ends it there.
    size_t nul = value.find(L'\0');
    if (nul != std::wstring::npos) value.resize(nul);
    if (value.size() > kIniTextMaxLength) {
        size_t cut = kIniTextMaxLength;
        // Do not leave the first half of a surrogate pair at the end.
        wchar_t last = value[cut - 1];
        if (last >= 0xD800 && last <= 0xDBFF) --cut;
        value.resize(cut);
    }
    if (value.empty()) return MissingText(key);
    if (escapes) ApplyEscapes(value, *escapes);
    return value;
}
