#pragma once
// Reading one text of an INI file, with the escapes that let a one-line value
// carry tabs and line breaks.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class IniDocument;

// The profile reader's buffer holds 1024 characters with the terminator; a longer
// value is cut to this length.
inline constexpr size_t kIniTextMaxLength = 1023;

struct IniEscape {
    std::wstring_view pattern;
    std::wstring_view replacement;
};
using IniEscapeList = std::vector<IniEscape>;

// "\t", "\r" and "\n" (backslash and a letter) for tab, carriage return and line
// feed, in that order. There is no escape for the backslash itself, so a path such
// as C:\new loses its "\n" to a line break.
const IniEscapeList& LanguageEscapes();

// Replaces every occurrence of each pattern, pair after pair in list order.
// Scanning continues after each replacement, so a replacement that contains its
// own pattern cannot make this loop forever; for the language escapes, whose
// replacements are single control characters, the result is the same as
// restarting the search from the front after each replacement.
void ApplyEscapes(std::wstring& text, const IniEscapeList& escapes);

// The value of key in section of file, cut to kIniTextMaxLength characters. When
// the value is missing or empty, the result is the key in triple parentheses,
// "(((" + key + ")))", so that a missing text shows which key it lacks; escapes
// are then not applied. Otherwise escapes, when given, are applied.
std::wstring ReadIniText(const std::wstring& section, const std::wstring& key,
                         const std::wstring& file, const IniEscapeList* escapes);

// The same from a file read once: a document that failed to load is empty, and
// every key of it is missing.
std::wstring ReadIniText(const std::wstring& section, const std::wstring& key,
                         const IniDocument& document, const IniEscapeList* escapes);

// The text shown for a missing key.
std::wstring MissingText(const std::wstring& key);
