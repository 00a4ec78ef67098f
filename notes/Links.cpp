#include "notes/Links.h"

#include <algorithm>
#include <cwchar>

namespace NoteLinks {

namespace {

struct Pattern {
    const wchar_t* text;
    // Put in front of what is found, to make a full address of it.
    const wchar_t* prefix;
    // Schemes that, written directly before the pattern, mean the address was
    // already listed by the pattern of that scheme.
    const wchar_t* coveredBy[2];
};

// The order of the groups in the submenu.
constexpr Pattern kPatterns[] = {
    {L"http://", L"", {nullptr, nullptr}},
    {L"https://", L"", {nullptr, nullptr}},
    {L"www.", L"http://", {L"http://", L"https://"}},
    {L"ftp://", L"", {nullptr, nullptr}},
    {L"ftp.", L"ftp://", {L"ftp://", nullptr}},
};

wchar_t Lower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// `lowerPattern` is all lower case; only ASCII letters are folded, so that no
// locale can make a non-ASCII character match a scheme.
bool MatchesAt(const std::wstring& text, size_t at, const std::wstring& lowerPattern) {
    if (at > text.size() || text.size() - at < lowerPattern.size()) return false;
    for (size_t i = 0; i < lowerPattern.size(); ++i) {
        if (Lower(text[at + i]) != lowerPattern[i]) return false;
    }
    return true;
}

size_t FindFrom(const std::wstring& text, size_t from, const std::wstring& lowerPattern) {
    for (size_t at = from; at + lowerPattern.size() <= text.size(); ++at) {
        if (MatchesAt(text, at, lowerPattern)) return at;
    }
    return std::wstring::npos;
}

// Spaces, tabs and line breaks end an address, and so does anything else that
// cannot stand in one: control characters and the other kinds of space.
bool IsDelimiter(wchar_t c) {
    return c <= L' ' || c == 0x7F || c == 0xA0 || (c >= 0x2000 && c <= 0x200B) || c == 0x2028 ||
           c == 0x2029 || c == 0x3000 || c == 0xFEFF;
}

bool Covered(const std::wstring& text, size_t at, const Pattern& pattern) {
    for (const wchar_t* scheme : pattern.coveredBy) {
        if (!scheme) continue;
        const std::wstring s = scheme;
        if (at >= s.size() && MatchesAt(text, at - s.size(), s)) return true;
    }
    return false;
}

wchar_t OpeningOf(wchar_t closing) {
    switch (closing) {
        case L')':
            return L'(';
        case L']':
            return L'[';
        case L'}':
            return L'{';
        case L'>':
            return L'<';
        default:
            return 0;
    }
}

bool IsSentencePunctuation(wchar_t c) {
    switch (c) {
        case L'.':
        case L',':
        case L';':
        case L':':
        case L'"':
        case L'\'':
        case 0x2019:  // right single quotation mark
        case 0x201D:  // right double quotation mark
        case 0x00BB:  // right-pointing double angle quotation mark
            return true;
        default:
            return false;
    }
}

constexpr wchar_t kClosing[] = L")]}>";

// Drops what a sentence put after the address: "(see www.example.com)." ends
// the address before ")". A closing bracket whose opening one is inside the
// address, as in ".../Foo_(bar)", is part of it. The brackets are counted once
// and the counts follow each character dropped, so a long run of brackets costs
// no more than reading it.
size_t TrimmedEnd(const std::wstring& text, size_t begin, size_t end) {
    size_t opened[4] = {};
    size_t closed[4] = {};
    for (size_t i = begin; i < end; ++i) {
        for (size_t k = 0; k < 4; ++k) {
            if (text[i] == OpeningOf(kClosing[k])) ++opened[k];
            if (text[i] == kClosing[k]) ++closed[k];
        }
    }
    while (end > begin) {
        const wchar_t last = text[end - 1];
        if (IsSentencePunctuation(last)) {
            --end;
            continue;
        }
        const wchar_t* closing = std::wcschr(kClosing, last);
        if (!closing || last == 0) break;
        const size_t k = static_cast<size_t>(closing - kClosing);
        if (opened[k] >= closed[k]) break;
        --closed[k];
        --end;
    }
    return end;
}

}  // namespace

std::vector<std::wstring> FindLinks(const std::wstring& text) {
    std::vector<std::wstring> links;
    for (const Pattern& pattern : kPatterns) {
        const std::wstring lower = pattern.text;
        size_t pos = 0;
        while (links.size() < kMaxLinks) {
            const size_t at = FindFrom(text, pos, lower);
            if (at == std::wstring::npos) break;
            if (Covered(text, at, pattern)) {
                pos = at + lower.size();
                continue;
            }
            size_t end = at;
            while (end < text.size() && !IsDelimiter(text[end])) ++end;
            pos = end;
            const size_t kept = TrimmedEnd(text, at, end);
            // "www." or "http://" alone, or followed only by punctuation, names
            // nothing to open; an address longer than browsers take is no link.
            if (kept <= at + lower.size() || kept - at > kMaxLinkLength) continue;
            links.push_back(pattern.prefix + text.substr(at, kept - at));
        }
    }
    return links;
}

bool IsOpenableLink(const std::wstring& link) {
    static const wchar_t* const kSchemes[] = {L"http://", L"https://", L"ftp://"};
    const bool schemeOk = std::any_of(std::begin(kSchemes), std::end(kSchemes), [&](auto s) {
        const std::wstring scheme = s;
        return link.size() > scheme.size() && MatchesAt(link, 0, scheme);
    });
    if (!schemeOk) return false;
    return std::none_of(link.begin(), link.end(), IsDelimiter);
}

}  // namespace NoteLinks
