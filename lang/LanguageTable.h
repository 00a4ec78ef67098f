#pragma once
// The texts of a language, addressed by number (kLanguageKeys) or by key. Each
// start of the application fills a table of its own and hands it to what shows
// texts; tests make tables of their own.

#include <map>
#include <optional>
#include <string>

#include "lang/LanguageKeys.h"

class LanguageTable {
public:
    LanguageTable() = default;
    LanguageTable(const LanguageTable&) = delete;
    LanguageTable& operator=(const LanguageTable&) = delete;

    // Reads every key from the section "Text" of the file, applying the language
    // escapes; a missing file, section or key gives "(((" + key + ")))". Loading
    // again overwrites every text.
    void Load(const std::wstring& path);

    // The text of a key by number. Empty before the first load and for a number
    // outside the table.
    const std::wstring& TextOf(int number) const;

    // The text of a key named by its exact spelling, or the given text in
    // parentheses when it names no key (or nothing is loaded yet).
    std::wstring Translate(const std::wstring& key) const;

    // The number of a key named by its exact spelling.
    std::optional<int> FindKey(const std::wstring& key) const;

    // A copy of the text with every separator replaced by a NUL. A filter text
    // ending in the separator thus ends in the double NUL that the file dialogs need
    // once the string's own terminator follows. A text that does not end in the
    // separator (a translator's slip) gets a NUL appended, so that the dialogs never
    // read past the list's end.
    std::wstring TextWithNuls(int number, wchar_t separator) const;

    bool IsLoaded() const { return !keys_.empty(); }

private:
    std::wstring texts_[kLanguageKeyCount];
    // std::map compares wchar_t values, which is the ordinal order of UTF-16 code
    // units on every platform.
    std::map<std::wstring, int> keys_;
};

// The display name of a language file: its "LanguageName" without escapes, or
// "(((LanguageName)))" when it has none.
std::wstring LanguageDisplayName(const std::wstring& path);
