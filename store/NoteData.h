#pragma once
// The persistent fields of one note, and the plain forms of the Win32 records they
// hold (a font description, a calendar time, a rectangle). The records keep the
// Win32 field names so that code on both sides reads alike; NoteData_win.h
// converts them to and from LOGFONTW, SYSTEMTIME and RECT.

#include <cstdint>
#include <string>

#include "arrange/Rect.h"

// LOGFONTW as stored: 92 bytes, face name in UTF-16 units, zero-terminated.
struct LogFontData {
    static constexpr int kFaceSize = 32;
    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    wchar_t lfFaceName[kFaceSize] = {};
};

// SYSTEMTIME as stored: eight unsigned 16-bit values, 16 bytes.
struct SystemTimeData {
    uint16_t wYear = 0;
    uint16_t wMonth = 0;
    uint16_t wDayOfWeek = 0;
    uint16_t wDay = 0;
    uint16_t wHour = 0;
    uint16_t wMinute = 0;
    uint16_t wSecond = 0;
    uint16_t wMilliseconds = 0;
};

// Screen rectangle as stored: left, top, right, bottom, each signed 32-bit.
using RectData = Rect;

enum NotePriority : int {
    kPriorityVeryHigh = 0,
    kPriorityHigh = 1,
    kPriorityNormal = 2,
    kPriorityLow = 3,
    kPriorityVeryLow = 4,
};

struct NoteData {
    RectData rect;
    std::wstring text;   // CR LF line breaks, as the edit control produces them
    std::wstring title;  // empty: the first line of the text stands in for it
    bool alwaysOnTop = false;
    SystemTimeData created;  // local time; only year to minute are kept in the file
    bool locked = false;
    bool hasCustomFont = false;
    LogFontData font;
    int priority = kPriorityNormal;
    bool hidden = false;
    bool alarmEnabled = false;
    bool hasAlarm = false;
    SystemTimeData alarmTime;  // UTC
};

inline bool operator==(const LogFontData& a, const LogFontData& b) {
    if (a.lfHeight != b.lfHeight || a.lfWidth != b.lfWidth || a.lfEscapement != b.lfEscapement ||
        a.lfOrientation != b.lfOrientation || a.lfWeight != b.lfWeight ||
        a.lfItalic != b.lfItalic || a.lfUnderline != b.lfUnderline ||
        a.lfStrikeOut != b.lfStrikeOut || a.lfCharSet != b.lfCharSet ||
        a.lfOutPrecision != b.lfOutPrecision || a.lfClipPrecision != b.lfClipPrecision ||
        a.lfQuality != b.lfQuality || a.lfPitchAndFamily != b.lfPitchAndFamily) {
        return false;
    }
    for (int i = 0; i < LogFontData::kFaceSize; ++i) {
        if (a.lfFaceName[i] != b.lfFaceName[i]) return false;
    }
    return true;
}

inline bool operator==(const SystemTimeData& a, const SystemTimeData& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDayOfWeek == b.wDayOfWeek &&
           a.wDay == b.wDay && a.wHour == b.wHour && a.wMinute == b.wMinute &&
           a.wSecond == b.wSecond && a.wMilliseconds == b.wMilliseconds;
}

inline bool operator==(const NoteData& a, const NoteData& b) {
    return a.rect == b.rect && a.text == b.text && a.title == b.title &&
           a.alwaysOnTop == b.alwaysOnTop && a.created == b.created && a.locked == b.locked &&
           a.hasCustomFont == b.hasCustomFont && a.font == b.font && a.priority == b.priority &&
           a.hidden == b.hidden && a.alarmEnabled == b.alarmEnabled && a.hasAlarm == b.hasAlarm &&
           a.alarmTime == b.alarmTime;
}

inline bool operator!=(const LogFontData& a, const LogFontData& b) {
    return !(a == b);
}
inline bool operator!=(const SystemTimeData& a, const SystemTimeData& b) {
    return !(a == b);
}
inline bool operator!=(const NoteData& a, const NoteData& b) {
    return !(a == b);
}
