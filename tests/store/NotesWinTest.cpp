#include <windows.h>

#include <gtest/gtest.h>

#include "store/NoteData_win.h"

namespace {

TEST(NoteDataWin, RecordsConvertBothWaysWithoutLosingAField) {
    // Every byte distinct, so that a dropped or swapped field shows.
    LOGFONTW lf;
    BYTE* raw = reinterpret_cast<BYTE*>(&lf);
    for (size_t i = 0; i < sizeof lf; ++i) raw[i] = static_cast<BYTE>(i + 1);
    lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
    const LogFontData data = FromLogFontW(lf);
    const LOGFONTW lfBack = ToLogFontW(data);
    EXPECT_EQ(0, memcmp(&lf, &lfBack, offsetof(LOGFONTW, lfFaceName) + 7 * sizeof(WCHAR)));
    EXPECT_EQ(lf.lfWeight, data.lfWeight);
    EXPECT_EQ(lf.lfPitchAndFamily, data.lfPitchAndFamily);

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
