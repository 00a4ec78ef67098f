#pragma once
// printf-style formatting for format texts that come from language files. A
// language file is input, so its format text may hold too many, too few or the
// wrong conversions. Only "%d" / "%i" (an integer), "%s" (a string), each with
// optional flags, width, precision and an "l" length, and "%%" are filled; an
// argument is taken for each conversion in order. Anything else (an unknown
// conversion such as "%n" or "%x", a conversion whose argument is missing or of
// the other kind, a "%" at the end) is copied as written. Widths and precisions
// are bounded by the output limit, so no format text can make the output huge.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

// The buffers the program formats its messages into hold 2048 characters.
inline constexpr size_t kFormatMaxLength = 2047;

class FormatArg {
public:
    FormatArg(int value) : isText_(false), number_(value) {}
    FormatArg(std::wstring_view text) : isText_(true), text_(text) {}
    FormatArg(const std::wstring& text) : isText_(true), text_(text) {}
    FormatArg(const wchar_t* text) : isText_(true), text_(text ? text : L"") {}

    bool IsText() const { return isText_; }
    int Number() const { return number_; }
    std::wstring_view Text() const { return text_; }

private:
    bool isText_;
    int number_ = 0;
    std::wstring_view text_;
};

// The formatted text, cut to maxLength characters.
std::wstring SafeFormat(std::wstring_view format, std::initializer_list<FormatArg> args,
                        size_t maxLength = kFormatMaxLength);

// The conversions a format text asks for, one letter each in order: 'd' for an
// integer, 's' for a string, '?' for a "%" sequence that SafeFormat copies as
// written. "%%" counts as none. Used to check language files.
std::wstring FormatConversions(std::wstring_view format);
