#include <windows.h>

#include <gtest/gtest.h>

#include "store/NoteData_win.h"

namespace {

TEST(NoteDataWin, RecordsConvertBothWaysFieldByField) {
    LOGFONTW lf = {};
    lf.lfHeight = -13;
    lf.lfWidth = 7;
    lf.lfEscapement = 900;
    lf.lfOrientation = 450;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = TRUE;
    lf.lfUnderline = TRUE;
    lf.lfStrikeOut = TRUE;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfClipPrecision = CLIP_LH_ANGLES;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
    LogFontData data = FromLogFontW(lf);
    LOGFONTW lfBack = ToLogFontW(data);
    EXPECT_EQ(0, memcmp(&lf, &lfBack, sizeof lf));
    EXPECT_EQ(FW_BOLD, data.lfWeight);
    EXPECT_EQ(L'T', data.lfFaceName[0]);

    SYSTEMTIME st = {2026, 12, 0, 6, 20, 41, 59, 999};
    SYSTEMTIME back = ToSystemTime(FromSystemTime(st));
    EXPECT_EQ(0, memcmp(&st, &back, sizeof st));

    RECT r = {-1024, -5, 1280, 1024};
    RECT rb = ToRect(FromRect(r));
    EXPECT_EQ(0, memcmp(&r, &rb, sizeof r));
}

TEST(NoteDataWin, ConvertedFontsAlwaysEndTheirFaceName) {
    LogFontData data;
    for (wchar_t& c : data.lfFaceName) c = L'A';
    LOGFONTW lf = ToLogFontW(data);
    EXPECT_EQ(LF_FACESIZE - 1, lstrlenW(lf.lfFaceName));
    HFONT font = CreateFontIndirectW(&lf);
    EXPECT_NE(nullptr, font);
    DeleteObject(font);
}

}  // namespace
