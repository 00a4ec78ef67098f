#pragma once
// Conversions between the stored records of NoteData.h and their Win32 twins.

#include <windows.h>

#include "store/NoteData.h"

static_assert(sizeof(LOGFONTW) == 92, "Notes.dat stores LOGFONTW as 92 bytes");
static_assert(sizeof(SYSTEMTIME) == 16, "Notes.dat stores SYSTEMTIME as 16 bytes");

// The portable records carry the Win32 field names, so one copy serves both ways.
template <typename From, typename To>
inline void CopyFontFields(const From& in, To& out) {
    out.lfHeight = in.lfHeight;
    out.lfWidth = in.lfWidth;
    out.lfEscapement = in.lfEscapement;
    out.lfOrientation = in.lfOrientation;
    out.lfWeight = in.lfWeight;
    out.lfItalic = in.lfItalic;
    out.lfUnderline = in.lfUnderline;
    out.lfStrikeOut = in.lfStrikeOut;
    out.lfCharSet = in.lfCharSet;
    out.lfOutPrecision = in.lfOutPrecision;
    out.lfClipPrecision = in.lfClipPrecision;
    out.lfQuality = in.lfQuality;
    out.lfPitchAndFamily = in.lfPitchAndFamily;
    for (int i = 0; i < LF_FACESIZE; ++i) out.lfFaceName[i] = in.lfFaceName[i];
    out.lfFaceName[LF_FACESIZE - 1] = 0;
}

inline LOGFONTW ToLogFontW(const LogFontData& in) {
    LOGFONTW out = {};
    CopyFontFields(in, out);
    return out;
}

inline LogFontData FromLogFontW(const LOGFONTW& in) {
    LogFontData out;
    CopyFontFields(in, out);
    return out;
}

template <typename From, typename To>
inline void CopyTimeFields(const From& in, To& out) {
    out.wYear = in.wYear;
    out.wMonth = in.wMonth;
    out.wDayOfWeek = in.wDayOfWeek;
    out.wDay = in.wDay;
    out.wHour = in.wHour;
    out.wMinute = in.wMinute;
    out.wSecond = in.wSecond;
    out.wMilliseconds = in.wMilliseconds;
}

inline SYSTEMTIME ToSystemTime(const SystemTimeData& in) {
    SYSTEMTIME out = {};
    CopyTimeFields(in, out);
    return out;
}

inline SystemTimeData FromSystemTime(const SYSTEMTIME& in) {
    SystemTimeData out;
    CopyTimeFields(in, out);
    return out;
}
