#include "lang/LanguageTable.h"

#include "lang/IniText.h"
#include "store/IniFile.h"

namespace {
const wchar_t kTextSection[] = L"Text";
}

void LanguageTable::Load(const std::wstring& path) {
    // One reading of the file for every key: a start of the program reads them all.
    IniDocument file;
    file.Load(path);
    for (size_t number = 0; number < kLanguageKeyCount; ++number) {
        const std::wstring key = kLanguageKeys[number];
        texts_[number] = ReadIniText(kTextSection, key, file, &LanguageEscapes());
        keys_[key] = static_cast<int>(number);
    }
}

const std::wstring& LanguageTable::TextOf(int number) const {
    static const std::wstring empty;
    if (number < 0 || static_cast<size_t>(number) >= kLanguageKeyCount) return empty;
    return texts_[number];
}

std::wstring LanguageTable::Translate(const std::wstring& key) const {
    auto found = keys_.find(key);
    if (found == keys_.end()) return L"(" + key + L")";
    return texts_[found->second];
}

std::optional<int> LanguageTable::FindKey(const std::wstring& key) const {
    auto found = keys_.find(key);
    if (found == keys_.end()) return std::nullopt;
    return found->second;
}

std::wstring LanguageTable::TextWithNuls(int number, wchar_t separator) const {
    std::wstring text = TextOf(number);
    for (wchar_t& c : text) {
        if (c == separator) c = L'\0';
    }
    if (text.empty() || text.back() != L'\0') text.push_back(L'\0');
    return text;
}

std::wstring LanguageDisplayName(const std::wstring& path) {
    return ReadIniText(kTextSection, L"LanguageName", path, nullptr);
}
