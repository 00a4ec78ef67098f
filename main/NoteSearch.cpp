#include "main/NoteSearch.h"

#include <algorithm>

namespace NoteSearch {

Folded Folder::Fold(const std::wstring& text) {
    Folded out;
    out.text.reserve(text.size());
    out.from.reserve(text.size());
    out.to.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const wchar_t c = text[i];
        size_t units = 1;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            units = 2;
        }
        const auto begin = static_cast<uint32_t>(i), end = static_cast<uint32_t>(i + units);
        if (c < 0x80) {
            out.text += (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
            out.from.push_back(begin);
            out.to.push_back(end);
        } else {
            const std::wstring character = text.substr(i, units);
            auto it = known.find(character);
            if (it == known.end()) it = known.emplace(character, folding(character)).first;
            for (wchar_t f : it->second) {
                out.text += f;
                out.from.push_back(begin);
                out.to.push_back(end);
            }
        }
        i += units;
    }
    return out;
}

std::vector<std::wstring> SplitWords(const std::wstring& query) {
    const auto blank = [](wchar_t c) { return c <= 0x20 || c == 0x00A0 || c == 0x3000; };
    std::vector<std::wstring> words;
    std::wstring word;
    for (wchar_t c : query) {
        if (blank(c)) {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

std::vector<std::wstring> FoldedWords(Folder& folder, const std::wstring& query) {
    std::vector<std::wstring> words;
    for (const std::wstring& w : SplitWords(query)) {
        std::wstring folded = folder.Fold(w).text;
        if (!folded.empty()) words.push_back(std::move(folded));
    }
    return words;
}

bool MatchesAll(const std::vector<std::wstring>& words, const Folded& title, const Folded& text) {
    for (const std::wstring& w : words) {
        if (title.text.find(w) == std::wstring::npos && text.text.find(w) == std::wstring::npos)
            return false;
    }
    return true;
}

std::vector<std::pair<size_t, size_t>> MatchRanges(const std::vector<std::wstring>& words,
                                                   const Folded& shown) {
    std::vector<std::pair<size_t, size_t>> ranges;
    for (const std::wstring& w : words) {
        for (size_t at = shown.text.find(w); at != std::wstring::npos;
             at = shown.text.find(w, at + 1)) {
            ranges.emplace_back(shown.from[at], shown.to[at + w.size() - 1]);
        }
    }
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<size_t, size_t>> merged;
    for (const auto& r : ranges) {
        if (!merged.empty() && r.first <= merged.back().second) {
            merged.back().second = std::max(merged.back().second, r.second);
        } else {
            merged.push_back(r);
        }
    }
    return merged;
}

}  // namespace NoteSearch
