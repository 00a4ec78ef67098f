// A note's text against its paper: fixed-size skins keep notes at their
// background's size (loaded, fitted, edited) with the text clipped inside; a
// change of font lays the text out again at once; fitting a note to its text
// with any font leaves no line hidden and keeps it on its monitor.

#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

#include "../arrange/RectPrinting.h"
#include "arrange/Rect_win.h"
#include "arrange/Snapping_win.h"
#include "res/resource.h"
#include "store/NoteData_win.h"
#include "support/NoteTestHost_win.h"

using namespace NoteTest;

namespace {

// The note painted, as rows of pixels.
std::vector<COLORREF> PaintedPixels(NoteWindow& note) {
    const RECT r = note.ClientRect();
    const auto canvas = Painted(note);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x) pixels.push_back(canvas->At(x, y));
    return pixels;
}

LogFontData FontOf(const wchar_t* face, int points, bool bold, bool italic) {
    LOGFONTW lf = {};
    HDC screen = GetDC(nullptr);
    lf.lfHeight = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = italic ? 1 : 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return FromLogFontW(lf);
}

RECT ChildRectInParent(HWND child) {
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The text laid out by the note's own editor (an edit control with the note's
// font in the text area): true when its last line ends inside the area.
bool EditorShowsEveryLine(NoteWindow& note) {
    note.BeginEdit(false);
    HWND edit = note.EditorHandle();
    if (!edit) return false;
    RECT area = {};
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    const LRESULT lines = SendMessageW(edit, EM_GETLINECOUNT, 0, 0);
    const LRESULT first = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, note.CurrentFont());
    TEXTMETRICW tm = {};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    note.EndEdit(false, true);
    return first == 0 && lines * tm.tmHeight <= area.bottom - area.top;
}

const wchar_t kLongText[] =
    L"Call the garage on Friday about the\tbrakes\r\n"
    L"Flat 4, 1187 Longmarsh Road, Upper Wellbridge, Northamptonshire NN14 7QX\r\n"
    L"\r\n"
    L"Ask for an estimate first\r\n";

}  // namespace

TEST(NoteFittingTest, AFixedSizeSkinsNoteIsItsBackgroundAndClipsItsText) {
    FakeHost host;
    host.skin.fixedSize = true;
    host.settings.layeredWindowEnabled = false;
    host.settings.resizeAfterEdit = true;
    // A record made under a larger skin: the note is the background, 100 x 100.
    NoteWindow* note = host.LoadNote(DataAt(40, 60, 380, 260, kLongText));
    ASSERT_TRUE(note);
    EXPECT_EQ((Rect{40, 60, 140, 160}), ToPortable(note->WindowRect()));
    EXPECT_EQ((Rect{40, 60, 140, 160}), note->Data().rect);
    EXPECT_TRUE(note->MoreText());

    note->ResizeToContent();
    EXPECT_EQ((Rect{40, 60, 140, 160}), ToPortable(note->WindowRect()));
    EXPECT_TRUE(note->MoreText()) << "the marker stays for the text beyond the paper";

    // The editor lies in the text area and scrolls there; the note never grows.
    note->BeginEdit(false);
    ASSERT_TRUE(note->EditorHandle());
    EXPECT_EQ((Rect{8, 24, 92, 84}), ToPortable(ChildRectInParent(note->EditorHandle())));
    std::wstring more = kLongText;
    more += more;
    SendMessageW(note->EditorHandle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(more.c_str()));
    PumpMessages();
    EXPECT_EQ((Rect{40, 60, 140, 160}), ToPortable(note->WindowRect()));
    SendMessageW(note->EditorHandle(), WM_KEYDOWN, VK_ESCAPE, 0);  // resizes after the edit
    PumpMessages();
    EXPECT_FALSE(note->Editing());
    EXPECT_EQ((Rect{40, 60, 140, 160}), ToPortable(note->WindowRect()));

    // Whatever the text, it is drawn inside the text area (8, 24)-(92, 84) only.
    const std::vector<COLORREF> withText = PaintedPixels(*note);
    note->SetText(L"");
    const std::vector<COLORREF> without = PaintedPixels(*note);
    ASSERT_EQ(withText.size(), without.size());
    int changed = 0;
    for (size_t i = 0; i < withText.size(); ++i) {
        if (withText[i] == without[i]) continue;
        ++changed;
        const int x = static_cast<int>(i % 100), y = static_cast<int>(i / 100);
        EXPECT_TRUE(x >= 8 && x < 92 && y >= 24 && y < 84) << "text at " << x << "," << y;
    }
    EXPECT_GT(changed, 50);
}

// Faces that Wine has (and one it replaces), sizes up to 20 points, bold and
// italic: fitted, the note shows every line, in the idle drawing and in the
// editor, and a change of font shows the marker at once.
TEST(NoteFittingTest, FittingWithAnyFontHidesNoLine) {
    FakeHost host;
    host.settings.layeredWindowEnabled = false;
    const struct {
        const wchar_t* face;
        int points;
        bool bold, italic;
    } fonts[] = {
        {L"Tahoma", 8, false, false},           {L"Tahoma", 14, true, true},
        {L"Liberation Serif", 14, true, true},  {L"Liberation Serif", 18, false, true},
        {L"Liberation Mono", 11, false, false}, {L"Times New Roman", 20, true, false},
    };
    for (const auto& f : fonts) {
        SCOPED_TRACE(testing::Message() << f.points << " " << f.bold << f.italic);
        NoteData d = DataAt(30, 40, 230, 160, kLongText);
        d.hasCustomFont = true;
        d.font = FontOf(f.face, f.points, f.bold, f.italic);
        NoteWindow* note = host.LoadNote(d);
        ASSERT_TRUE(note && note->HasCustomFont());
        note->ResizeToContent();
        EXPECT_FALSE(note->MoreText());
        const RECT w = note->WindowRect();
        EXPECT_EQ(30, w.left);
        EXPECT_EQ(40, w.top);

        // The idle text, measured as it is drawn (inside the edit margins).
        const RECT c = note->ClientRect();
        RECT area = {8, 24, c.right - 8, c.bottom - 16};
        RECT measured = area;
        bool overflow = true;
        note->MeasureText(measured, kLongText, overflow);
        EXPECT_FALSE(overflow);
        EXPECT_LE(measured.bottom, area.bottom);
        EXPECT_TRUE(EditorShowsEveryLine(*note));
        SendMessageW(note->Handle(), WM_CLOSE, 0, 0);
        PumpMessages();
    }

    // A short text fits at 10 points; at 28 the marker shows as soon as the
    // font changes, before any resize.
    NoteWindow* note = host.LoadNote(DataAt(0, 0, 220, 110, L"one\r\ntwo\r\nthree"));
    ASSERT_TRUE(note);
    EXPECT_FALSE(note->MoreText());
    host.settings.hasCustomDefaultFont = true;
    host.settings.customDefaultFont = FontOf(L"Tahoma", 28, true, false);
    note->Send(WM_COMMAND, MAKEWPARAM(IDM_NOTE_FONT_USE_CUSTOM_DEFAULT, 0), 0);
    EXPECT_TRUE(note->HasCustomFont());
    EXPECT_TRUE(note->MoreText());
    note->ResizeToContent();
    EXPECT_FALSE(note->MoreText());
}

// Fitting keeps the note inside its monitor's work area: moved left, and
// capped with the marker where even that cannot hold the text.
TEST(NoteFittingTest, FittingKeepsTheNoteOnItsMonitor) {
    FakeHost host;
    host.settings.layeredWindowEnabled = false;
    const RECT screen = Arrange::WorkAreaOf(GetDesktopWindow());
    const std::wstring address(400, L'x');  // one word far wider than the screen
    NoteWindow* wide =
        host.LoadNote(DataAt(screen.right - 150, 100, screen.right - 50, 200, address));
    ASSERT_TRUE(wide);
    wide->ResizeToContent();
    RECT w = wide->WindowRect();
    EXPECT_GE(w.left, screen.left);
    EXPECT_LE(w.right, screen.right);

    std::wstring endless;
    for (int i = 0; i < 400; ++i) endless += L"line\r\n";
    NoteWindow* tall = host.LoadNote(DataAt(10, 10, 110, 110, endless));
    ASSERT_TRUE(tall);
    tall->ResizeToContent();
    w = tall->WindowRect();
    EXPECT_EQ(screen.top, w.top);
    EXPECT_EQ(screen.bottom, w.bottom);
    EXPECT_TRUE(tall->MoreText()) << "capped at the work area, with the marker";
}

// Without layering the key colour would show: the window region leaves out
// the background's magenta pixels instead, for every size of a nine-slice
// note, and a layered note keeps its whole rectangle (the key does the work).
TEST(NoteFittingTest, WithoutLayeringTheRegionCutsTheKeyColourOut) {
    FakeHost host;
    host.settings.layeredWindowEnabled = false;
    // Magenta in the top-left 3 x 2 and top-right 2 x 2 corners.
    host.skin.background = MakeSkinBitmap(
        TestPaths::MakeScratchDir() + L"round.bmp", 100, 100,
        [](int x, int y) { return (y < 2 && (x < 3 || x >= 98)) ? RGB(255, 0, 255) : kCorner; });
    NoteWindow* note = host.LoadNote(DataAt(20, 30, 270, 170, L"x"));
    ASSERT_TRUE(note);
    for (const SIZE size : {SIZE{250, 140}, SIZE{333, 211}}) {
        note->SetRect(RECT{20, 30, 20 + size.cx, 30 + size.cy}, false);
        OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
        ASSERT_EQ(COMPLEXREGION, GetWindowRgn(note->Handle(), region.Get())) << size.cx;
        EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));
        EXPECT_FALSE(PtInRegion(region.Get(), 2, 1));
        EXPECT_TRUE(PtInRegion(region.Get(), 3, 1));
        EXPECT_TRUE(PtInRegion(region.Get(), 0, 2));
        EXPECT_FALSE(PtInRegion(region.Get(), size.cx - 1, 0));
        EXPECT_TRUE(PtInRegion(region.Get(), size.cx - 3, 0));
        EXPECT_TRUE(PtInRegion(region.Get(), size.cx - 1, size.cy - 1));
        EXPECT_FALSE(PtInRegion(region.Get(), size.cx, 5));
    }

    host.settings.layeredWindowEnabled = true;
    NoteWindow* layered = host.LoadNote(DataAt(20, 30, 270, 170, L"x"));
    ASSERT_TRUE(layered);
    OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(ERROR, GetWindowRgn(layered->Handle(), region.Get()));
}

// The idle note draws each line where its editor shows it: same breaks, same
// places (margins, tab stops, long words, empty lines, a final line break),
// so starting or ending an edit moves nothing.
TEST(NoteFittingTest, TheIdleTextLiesWhereTheEditorShowsIt) {
    FakeHost host;
    host.settings.layeredWindowEnabled = false;
    const std::wstring texts[] = {
        L"Friday\tSaturday\tSunday\r\n\tindented\ta\tb",
        L"Flat 4, 1187 Longmarsh Road, Upper Wellbridge, Northamptonshire NN14 7QX",
        L"Supercalifragilisticexpialidociousandthensomemoreletters end",
        L"one\r\n\r\n\r\nfour",
        L"ends with a break\r\n",
        L"a\tb\tc\td\te\tf\tg\th\ti\tj\tk\tl\tm",
        L"  leading spaces and trailing ones   \r\nx",
    };
    for (const std::wstring& text : texts) {
        SCOPED_TRACE(testing::Message() << text.size() << " characters");
        NoteWindow* note = host.LoadNote(DataAt(50, 60, 273, 241, text));
        ASSERT_TRUE(note);
        const EditLayout* idle = note->IdleTextLayout();
        ASSERT_TRUE(idle);
        std::vector<EditLine> lines = idle->lines;
        note->BeginEdit(false);
        HWND edit = note->EditorHandle();
        ASSERT_TRUE(edit);
        SendMessageW(edit, EM_SETSEL, 0, 0);  // scrolled to the top
        SendMessageW(edit, EM_SCROLLCARET, 0, 0);
        const int count = static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
        ASSERT_EQ(static_cast<int>(lines.size()), count);
        // What typing measures, read from the editor itself, is the same
        // layout, whether the editor is scrolled or not.
        for (const bool atEnd : {false, true}) {
            const WPARAM caret = atEnd ? text.size() : 0;
            SendMessageW(edit, EM_SETSEL, caret, static_cast<LPARAM>(caret));
            SendMessageW(edit, EM_SCROLLCARET, 0, 0);
            EditLayout live;
            ASSERT_TRUE(ReadEditorLayout(edit, note->CurrentFont(), text, live, 1000));
            ASSERT_EQ(lines.size(), live.lines.size());
            for (size_t i = 0; i < lines.size(); ++i) {
                EXPECT_EQ(lines[i].start, live.lines[i].start) << "line " << i;
                EXPECT_EQ(lines[i].length, live.lines[i].length) << "line " << i;
                EXPECT_EQ(lines[i].at.x, live.lines[i].at.x) << "line " << i;
                EXPECT_EQ(lines[i].at.y, live.lines[i].at.y) << "line " << i;
            }
            EXPECT_EQ(idle->right, live.right);
            EXPECT_EQ(idle->bottom, live.bottom);
            EXPECT_EQ(idle->tabWidth, live.tabWidth);
        }
        SendMessageW(edit, EM_SETSEL, 0, 0);
        SendMessageW(edit, EM_SCROLLCARET, 0, 0);
        for (int i = 0; i < count; ++i) {
            const int start = static_cast<int>(SendMessageW(edit, EM_LINEINDEX, i, 0));
            EXPECT_EQ(lines[static_cast<size_t>(i)].start, start) << "line " << i;
            if (start >= static_cast<int>(text.size())) continue;
            const LRESULT pos = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(start), 0);
            EXPECT_EQ(lines[static_cast<size_t>(i)].at.x, static_cast<short>(LOWORD(pos)));
            EXPECT_EQ(lines[static_cast<size_t>(i)].at.y, static_cast<short>(HIWORD(pos)));
            // A character after a tab: where the editor puts it, the idle
            // drawing's tab stops put it too.
            const size_t tab = text.find(L'\t', static_cast<size_t>(start));
            const int end = start + lines[static_cast<size_t>(i)].length;
            if (tab != std::wstring::npos && static_cast<int>(tab) + 1 < end) {
                const LRESULT after =
                    SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(tab + 1), 0);
                HDC dc = GetDC(edit);
                HGDIOBJ old = SelectObject(dc, note->CurrentFont());
                const DWORD extent =
                    GetTabbedTextExtentW(dc, text.c_str() + start,
                                         static_cast<int>(tab) + 1 - start, 1, &idle->tabWidth);
                SelectObject(dc, old);
                ReleaseDC(edit, dc);
                EXPECT_EQ(static_cast<short>(LOWORD(after)),
                          lines[static_cast<size_t>(i)].at.x + LOWORD(extent))
                    << "after the tab in line " << i;
            }
        }
        note->EndEdit(false, true);
        SendMessageW(note->Handle(), WM_CLOSE, 0, 0);
        PumpMessages();
    }
}

// A text far taller than the screen is laid out only as far as the screen
// reaches: those lines are the ones the editor makes of the whole text, the
// piece's last (perhaps cut) line is left out, and the bottom is estimated
// past the screen, larger for a narrower area.
TEST(NoteFittingTest, ALongTextIsLaidOutAsFarAsTheScreenReaches) {
    std::wstring text;
    for (int i = 0; text.size() < 40000; ++i) {
        text += L"word" + std::to_wstring(i * 7919 % 1000) + (i % 37 == 36 ? L"\r\n" : L" ");
        if (i % 101 == 100) text += L"\t";
    }
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const int width = 397, height = 143;
    EditLayout part;
    ASSERT_TRUE(LayOutAsEditor(text, font, width, height, part));
    const int screen = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    ASSERT_GT(part.lineHeight, 0);
    EXPECT_GE(part.lines.back().at.y + part.lineHeight, screen);
    EXPECT_LE(part.lines.size(), static_cast<size_t>(2 * (screen / part.lineHeight + 3)));
    EXPECT_GT(part.bottom, part.lines.back().at.y + 2 * part.lineHeight);

    // The editor's own layout of the whole text, as the note's editor is set up.
    HWND edit = CreateWindowExW(0, L"Edit", L"", WS_POPUP | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                                width, height, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(edit);
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(edit, EM_SETTABSTOPS, 0, 0);
    RECT format = {0, 0, width, height};
    SendMessageW(edit, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&format));
    SetWindowTextW(edit, text.c_str());
    const int count = static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
    ASSERT_GT(count, static_cast<int>(part.lines.size()));
    for (size_t i = 0; i < part.lines.size(); ++i) {
        const int start = static_cast<int>(SendMessageW(edit, EM_LINEINDEX, i, 0));
        ASSERT_EQ(part.lines[i].start, start) << "line " << i;
        EXPECT_EQ(part.lines[i].length, SendMessageW(edit, EM_LINELENGTH, start, 0)) << i;
    }
    // The whole text's bottom, against the estimate: within a tenth.
    const int whole = count * part.lineHeight;
    EXPECT_NEAR(part.bottom, whole, whole / 10);
    // Read from the control scrolled to its end: every line, from the top.
    SendMessageW(edit, EM_SETSEL, text.size(), static_cast<LPARAM>(text.size()));
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    ASSERT_GT(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EditLayout live;
    // One line more than the caller reads: the caller lays the text out instead.
    EditLayout tooLong;
    EXPECT_FALSE(ReadEditorLayout(edit, font, text, tooLong, count - 1));
    ASSERT_TRUE(ReadEditorLayout(edit, font, text, live, count));
    ASSERT_EQ(static_cast<size_t>(count), live.lines.size());
    EXPECT_EQ(whole, live.bottom);
    for (size_t i = 0; i < part.lines.size(); ++i) {
        EXPECT_EQ(part.lines[i].at.y, live.lines[i].at.y) << "line " << i;
        EXPECT_EQ(part.lines[i].at.x, live.lines[i].at.x) << "line " << i;
    }
    EXPECT_EQ(text.size(), static_cast<size_t>(live.lines.back().start + live.lines.back().length));
    DestroyWindow(edit);

    EditLayout narrower;
    ASSERT_TRUE(LayOutAsEditor(text, font, width - 150, height, narrower));
    EXPECT_GT(narrower.bottom, part.bottom);
    // A text that fits is laid out whole, to its last line.
    size_t cut = 300;
    while (!iswalnum(text[cut - 1])) --cut;
    EditLayout shortText;
    ASSERT_TRUE(LayOutAsEditor(text.substr(0, cut), font, width, height, shortText));
    EXPECT_EQ(static_cast<size_t>(shortText.lines.back().start + shortText.lines.back().length),
              cut);
    EXPECT_EQ(shortText.bottom, shortText.lines.back().at.y + shortText.lineHeight);
}
