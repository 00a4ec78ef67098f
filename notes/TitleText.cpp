#include "notes/TitleText.h"

#include <cwchar>

namespace NoteTitle {

std::wstring DisplayTitle(const std::wstring& title, const std::wstring& text,
                          const std::wstring& noTitle) {
    if (!title.empty()) return title;
    if (text.empty()) return noTitle;
    std::wstring line = text.substr(0, text.find(L"\r\n"));
    if (line.size() > kMaxFirstLine) {
        line.resize(kMaxFirstLine);
        // Never leave half of a surrogate pair at the cut.
        if (line.back() >= 0xD800 && line.back() <= 0xDBFF) line.pop_back();
        line += L"...";
    }
    return line;
}

std::wstring DateSuffix(int year, int month, int day, int hour, int minute) {
    // Large enough for five ints of any value, so a damaged record cannot
    // overflow it.
    wchar_t buffer[80];
    std::swprintf(buffer, sizeof(buffer) / sizeof(buffer[0]), L"\t(%04d/%02d/%02d %2d:%02d) ", year,
                  month, day, hour, minute);
    return buffer;
}

std::wstring TitleText(const std::wstring& title, const std::wstring& text,
                       const std::wstring& noTitle, bool withDate, bool showDateInTitle,
                       const SystemTimeData& created) {
    std::wstring shown = DisplayTitle(title, text, noTitle);
    if (withDate && showDateInTitle)
        shown +=
            DateSuffix(created.wYear, created.wMonth, created.wDay, created.wHour, created.wMinute);
    return shown;
}

}  // namespace NoteTitle
