#pragma once
// The name a note goes by in lists and questions: its own title, else the
// first line of its text, optionally followed by its creation date.

#include <string>

#include "store/NoteData.h"

namespace NoteTitle {

// First lines longer than this are cut and end in "...". A title of the
// note's own is never cut: the user chose it.
constexpr size_t kMaxFirstLine = 32;

// The title when there is one. Otherwise the text up to its first CR LF (a lone
// LF or CR does not end the line: text read from a file keeps its own breaks),
// cut to kMaxFirstLine code units (one less rather than split a surrogate pair)
// plus "..."; noTitle for an empty text.
std::wstring DisplayTitle(const std::wstring& title, const std::wstring& text,
                          const std::wstring& noTitle);

// "\t(YYYY/MM/DD hh:mm) " with the hour padded by a space, the rest by zeros.
std::wstring DateSuffix(int year, int month, int day, int hour, int minute);

// DisplayTitle, followed by DateSuffix of `created` (local time, used as it is)
// when withDate and showDateInTitle are both set.
std::wstring TitleText(const std::wstring& title, const std::wstring& text,
                       const std::wstring& noTitle, bool withDate, bool showDateInTitle,
                       const SystemTimeData& created);

}  // namespace NoteTitle
