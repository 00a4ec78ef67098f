#include "main/OldNotes.h"

#include <gtest/gtest.h>

#include "support/TestPaths.h"
#include "store/FileIo.h"
#include "store/SettingsStore.h"

using namespace OldNotes;

namespace {

TEST(OldNotes, DecodeText) {
    const struct {
        std::wstring encoded;
        std::wstring decoded;
    } cases[] = {
        {L"Line%0D%0Anext%25", L"Line\r\nnext%"},
        {L"%e4%C4%fF", L"\u00E4\u00C4\u00FF"},
        {L"plain", L"plain"},
        {L"", L""},
        // A percent sign the user wrote stays: no character is invented or dropped.
        {L"50% off", L"50% off"},
        {L"%zz", L"%zz"},
        {L"100%", L"100%"},
        {L"%%41", L"%A"},
        // One digit is a code of its own; the next character is not swallowed.
        {L"%7x", L"\u0007x"},
        {L"ends in %4", L"ends in \u0004"},
        // Two digits at most: the third is text.
        {L"%414", L"A4"},
        // A NUL would cut the text short wherever it goes next.
        {L"a%00b%0", L"ab"},
        {std::wstring(L"x\0y", 3), L"xy"},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeText(c.encoded), c.decoded) << c.encoded;
}

TEST(OldNotes, ParseRect) {
    const std::optional<Rect> none;
    const struct {
        const wchar_t* text;
        std::optional<Rect> rect;
    } cases[] = {
        {L"10,20,210,120", Rect{10, 20, 210, 120}},
        {L" -300 , 5,-100,  105 ", Rect{-300, 5, -100, 105}},
        {L"+1,+2,+3,+4", Rect{1, 2, 3, 4}},
        {L"", none},
        {L"10,20,210", none},
        {L"10,20,210,120,5", none},
        {L"10;20;210;120", none},
        {L"a,b,c,d", none},
        {L"10,20,210,120x", none},
        {L"1,2,-,4", none},
        {L"10,20,10,120", none},       // no width
        {L"10,120,210,20", none},      // upside down
        {L"0,0,2147483648,10", none},  // past 32 bits
        {L"-2147483648,0,-2147483000,10", Rect{INT32_MIN, 0, -2147483000, 10}},
        {L"0,0,40000,100", none},                          // wider than any screen
        {L"-7,3,32760,32770", Rect{-7, 3, 32760, 32770}},  // the largest sides
        {L"-7,3,32761,30", none},
        {L"-7,3,30,32771", none},
        {L"-2147483648,-2147483648,-2147483647,-2147483647",
         Rect{INT32_MIN, INT32_MIN, INT32_MIN + 1, INT32_MIN + 1}},
        {L"2147483646,2147483646,2147483647,2147483647",
         Rect{INT32_MAX - 1, INT32_MAX - 1, INT32_MAX, INT32_MAX}},
        {L"-2147483649,0,1,1", none},
        {L"99999999999999999999,0,1,1", none},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseRect(c.text), c.rect) << c.text;
}

TEST(OldNotes, ReadsTheFileThroughItsStore) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    const std::wstring path = dir + L"note.zn";
    ASSERT_TRUE(FileIo::WriteFileAtomically(
        path, "[Default]\r\nText=Buy milk%0D%0Aand 5% more\r\nRect=100,50,300,250\r\n"));
    SettingsStore file(path);
    OldNote note = Read(file);
    EXPECT_EQ(note.text, L"Buy milk\r\nand 5% more");
    EXPECT_EQ(note.rect, (Rect{100, 50, 300, 250}));

    ASSERT_TRUE(FileIo::WriteFileAtomically(path, "[Default]\r\nRect=junk\r\n"));
    note = Read(file);
    EXPECT_EQ(note.text, L"");
    EXPECT_FALSE(note.rect);
}

TEST(OldNotes, OnAnyMonitor) {
    const std::vector<Rect> monitors{{0, 0, 1280, 1024}, {-1024, 0, 0, 768}};
    const struct {
        Rect rect;
        bool on;
    } cases[] = {
        {{100, 100, 300, 200}, true},
        {{-200, 700, -100, 800}, true},    // partly on the left monitor
        {{-500, 800, -300, 1000}, false},  // in the gap below the left monitor
        {{1280, 0, 1400, 100}, false},     // touching the right edge only
        {{-1100, 0, -1024, 100}, false},   // touching the left edge only
        {{100, -100, 200, 0}, false},      // touching the top edge only
        {{100, 1024, 200, 1100}, false},   // touching the bottom edge only
        {{-1100, -100, -1023, 1}, true},   // one pixel on, top left
        {{1279, 1023, 1400, 1100}, true},  // one pixel on
        {{5000, 5000, 5100, 5100}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OnAnyMonitor(c.rect, monitors), c.on)
            << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
    }
    EXPECT_FALSE(OnAnyMonitor(Rect{0, 0, 10, 10}, {}));
}

}  // namespace
