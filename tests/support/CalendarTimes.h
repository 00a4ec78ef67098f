#pragma once
// Calendar times as the notes file keeps them (SYSTEMTIME's fields), written in
// tests as a date and a time; the day of the week stays zero.

#include <cstdint>
#include <cstdio>
#include <string>

#include "store/NoteData.h"

inline SystemTimeData At(int y, int mo, int d, int h, int mi, int s = 0, int ms = 0) {
    SystemTimeData t;
    t.wYear = static_cast<uint16_t>(y), t.wMonth = static_cast<uint16_t>(mo);
    t.wDay = static_cast<uint16_t>(d), t.wHour = static_cast<uint16_t>(h);
    t.wMinute = static_cast<uint16_t>(mi), t.wSecond = static_cast<uint16_t>(s);
    t.wMilliseconds = static_cast<uint16_t>(ms);
    return t;
}

// "2026-12-07 10:30:00.000", for messages and comparisons.
inline std::string Text(const SystemTimeData& t) {
    char s[64];
    std::snprintf(s, sizeof s, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.wYear, t.wMonth, t.wDay,
                  t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
    return s;
}
