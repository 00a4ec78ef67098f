#include "ui/SmallWindow_win.h"

#include <gtest/gtest.h>

#include <climits>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/Bitmaps_win.h"
#include "ui/MenuIcons_win.h"
#include "ui/MenuItems_win.h"
#include "ui/PrivateMessages_win.h"
#include "ui/SkinnedWindows_win.h"

namespace {

class TestSmallWindow : public SmallWindow {
public:
    // With a set of its own, made after this base as the application's is,
    // or joining a test's set.
    TestSmallWindow() : SmallWindow(own) {}
    explicit TestSmallWindow(SkinnedWindows& windows) : SmallWindow(windows) {}
    // The window goes while the own set still exists.
    ~TestSmallWindow() override { Destroy(); }

    Insets SnapInsets() const override { return {}; }
    bool SnapToGrid() const override { return false; }
    bool SnapToNotes() const override { return true; }
    int32_t SnapGap() const override { return 10; }
    int32_t SnapBorder() const override { return 0; }

private:
    SkinnedWindows own;
};

// The fixture name groups the tests; nothing is shared between them.
using SmallWindowTest = ::testing::Test;

}  // namespace

TEST_F(SmallWindowTest, LayeredWindowsFadeBetweenTheSeeThroughLevelAndOpaque) {
    // A activates, D deactivates, o and t fade to opaque and translucent, M
    // makes opaque, R restores translucency, S skips the next deactivation
    // fade, G sets the set's alpha to 64. Each dot is a tick recording the
    // alpha read back, or -1 while the window is drawn opaque (no LWA_ALPHA:
    // the alpha is then ignored and need not read back as 255).
    const struct {
        const char* script;
        std::vector<int> seen;
    } cases[] = {
        {"A....D.....", {160, 192, 224, 255, 223, 191, 159, 128, 128}},
        {"A..D...", {160, 192, 160, 128, 128}},
        {"AD..", {128, 128}},                           // deactivated before the first step up
        {"o....to..", {160, 192, 224, 255, 255, 255}},  // back up before the first step down
        {"A....SD.D....", {160, 192, 224, 255, 255, 223, 191, 159, 128}},
        {"A.MD.Rt....", {160, -1, 223, 191, 159, 128}},
        // Inactive windows fade to a new level; active ones, and those on
        // their way up, take it when they next lose activation.
        {"G..", {96, 64}},
        {"A....G.D......", {160, 192, 224, 255, 255, 223, 191, 159, 127, 95, 64}},
        {"AG....D......", {160, 192, 224, 255, 223, 191, 159, 127, 95, 64}},
    };
    for (const auto& c : cases) {
        SkinnedWindows windows;
        TestSmallWindow window(windows);
        ASSERT_TRUE(window.Create(true, false));
        COLORREF key = 0;
        BYTE alpha = 0;
        DWORD flags = 0;
        GetLayeredWindowAttributes(window.Handle(), &key, &alpha, &flags);
        EXPECT_EQ(key, RGB(255, 0, 255));
        EXPECT_EQ(alpha, 128);
        EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));
        std::vector<int> seen;
        for (const char* s = c.script; *s; ++s) {
            if (*s == 'A' || *s == 'D') window.Send(WM_ACTIVATE, *s == 'A' ? WA_ACTIVE : 0, 0);
            if (*s == 'o') window.FadeToOpaque();
            if (*s == 't') window.FadeToTranslucent();
            if (*s == 'M') window.MakeOpaque();
            if (*s == 'R') window.RestoreTranslucency();
            if (*s == 'S') window.SkipNextDeactivationFade();
            if (*s == 'G') windows.SetAlpha(64);
            if (*s == '.') {
                window.Send(WM_TIMER, kFadeTimer, 0);
                GetLayeredWindowAttributes(window.Handle(), &key, &alpha, &flags);
                seen.push_back(flags & LWA_ALPHA ? alpha : -1);
            }
        }
        EXPECT_EQ(seen, c.seen) << c.script;
        EXPECT_FALSE(window.IsFading()) << c.script;
    }
}

// A window made after the level changed starts there, with no fade; the
// level of one set reaches no window of another.
TEST_F(SmallWindowTest, TheSeeThroughLevelAppliesToLaterWindowsAndStaysInItsSet) {
    SkinnedWindows notes, others;
    TestSmallWindow before(notes), bystander(others);
    ASSERT_TRUE(before.Create(true, false));
    ASSERT_TRUE(bystander.Create(true, false));
    notes.SetAlpha(200);
    EXPECT_EQ(notes.Alpha(), 200);
    EXPECT_TRUE(before.IsFading());
    EXPECT_FALSE(bystander.IsFading());
    EXPECT_EQ(others.Alpha(), SkinnedWindows::kDefaultAlpha);

    TestSmallWindow after(notes);
    ASSERT_TRUE(after.Create(true, false));
    EXPECT_EQ(after.Alpha(), 200);
    EXPECT_EQ(LayeredAlpha(after.Handle()), 200);
    EXPECT_FALSE(after.IsFading());
    // Deactivated, it stays at the level; made opaque, it starts at 255.
    after.Send(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(after.IsFading());
    TestSmallWindow opaque(notes);
    ASSERT_TRUE(opaque.Create(true, true));
    EXPECT_EQ(LayeredAlpha(opaque.Handle()), 255);

    EXPECT_EQ(notes.Live().size(), 3u);
    EXPECT_EQ(others.Live().size(), 1u);
    ASSERT_TRUE(opaque.Destroy());
    EXPECT_EQ(notes.Live().size(), 2u);
}

// Every position change is snapped by the set while the work areas are held;
// a captured move holds them once, until the capture goes or the window is
// deleted mid-move.
TEST_F(SmallWindowTest, SnappingRunsUnderAHoldThatACapturedMoveKeepsUntilItEnds) {
    for (bool deleteMidMove : {false, true}) {
        SkinnedWindows windows;
        int reads = 0, holdsDuringSnap = 0;
        windows.SetWorkAreaSource([&] {
            ++reads;
            return std::vector<Rect>{{0, 0, 800, 600}};
        });
        windows.SetSnapPolicy([&](SmallWindow& window, WINDOWPOS& pos) {
            holdsDuringSnap = windows.Holds();
            if (!(pos.flags & SWP_NOMOVE) && window.SnappingEnabled()) pos.x = 50;
        });
        auto window = std::make_unique<TestSmallWindow>(windows);
        ASSERT_TRUE(window->Create(false, false));
        window->Move(47, 20);
        EXPECT_EQ(holdsDuringSnap, 1);
        EXPECT_EQ(window->WindowRect().left, 47);  // snapping not enabled yet
        window->EnableSnapping();
        ShowWindow(window->Handle(), SW_SHOW);
        EXPECT_EQ(windows.Holds(), 0);
        reads = 0;
        SetCapture(window->Handle());
        ASSERT_EQ(GetCapture(), window->Handle());
        for (int xy : {10, 20, 30}) window->Move(xy, xy);
        EXPECT_EQ(window->WindowRect().left, 50);
        EXPECT_EQ(window->WindowRect().top, 30);
        EXPECT_EQ(windows.Holds(), 1);
        EXPECT_EQ(reads, 1);  // one read for the whole move
        if (deleteMidMove)
            window.reset();
        else
            ReleaseCapture();
        EXPECT_EQ(windows.Holds(), 0);
    }
}

// Menu icons come from the bitmap resource of the item's identifier: magenta is
// transparent, a selected icon is lifted one pixel above a grey shadow, a greyed
// one stays in place without its colours (G: red's lightness, faded), and an
// identifier without a bitmap draws nothing.
TEST_F(SmallWindowTest, MenuIconsAreDrawnMagentaTransparentAndLiftedWhenSelected) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 132, L"with icon");
    AppendMenuW(menu, MF_STRING, 4321, L"without icon");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"submenu");
    window.Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    // Every item but the separator is drawn by the window and keeps its text;
    // only the first names an icon to draw (a submenu never does).
    const UINT icons[] = {132, 0, 0, 0};
    for (UINT position : {0u, 1u, 2u, 3u}) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        ASSERT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info));
        const MenuItemLook* look = LookOfMenuItem(info.dwItemData);
        EXPECT_EQ(position != 2, (info.fType & MFT_OWNERDRAW) != 0) << position;
        ASSERT_EQ(position != 2, look != nullptr) << position;
        if (look) {
            EXPECT_EQ(look->icon, icons[position]) << position;
        }
    }
    wchar_t text[32] = {};
    GetMenuStringW(menu, 0, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"with icon");

    // The item holds the icon with room on both sides, so the text that
    // follows it never touches it.
    MENUITEMINFOW first = {};
    first.cbSize = sizeof(first);
    first.fMask = MIIM_DATA;
    GetMenuItemInfoW(menu, 0, TRUE, &first);
    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, 132, 0, 0, first.dwItemData};
    EXPECT_EQ(window.Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), TRUE);
    EXPECT_GE(measure.itemWidth, 16u + 2 * kMenuIconPadding);
    EXPECT_GE(measure.itemHeight, 16u);
    // Data that no prepared item carries is left to the system.
    MEASUREITEMSTRUCT foreign = {ODT_MENU, 0, 132, 0, 0, 132};
    EXPECT_EQ(window.Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&foreign)), FALSE);
    DestroyMenu(menu);

    // The test's bitmap 132 is a red square over 2..13 of its 16 pixels; drawn
    // at 8, 8 that is 10..21. Probed along the diagonal: W white, R red, S shadow.
    const struct {
        UINT id, state;
        const char* seen;
    } cases[] = {{132, 0, "WWRRRW"},
                 {132, ODS_SELECTED, "WRRRSW"},
                 {132, ODS_SELECTED | ODS_GRAYED, "WWGGGW"},
                 {132, ODS_GRAYED, "WWGGGW"},
                 {4321, ODS_SELECTED, "WWWWWW"},
                 {0, ODS_SELECTED, "WWWWWW"}};
    const std::map<COLORREF, char> names = {{RGB(255, 255, 255), 'W'},
                                            {RGB(255, 0, 0), 'R'},
                                            {RGB(127, 127, 127), 'S'},
                                            {RGB(166, 166, 166), 'G'}};
    for (const auto& c : cases) {
        Canvas canvas(40, 40, RGB(255, 255, 255));
        // The icon goes kMenuIconPadding right of the column's left edge and is
        // centred in its height: at 8, 8 again.
        const RECT column = {8 - kMenuIconPadding, 6, 8 + 16 + kMenuIconPadding, 26};
        DrawMenuIcon(canvas.Dc(), column, c.id, c.state);
        std::string seen;
        for (int at : {8, 9, 10, 20, 21, 22})
            seen += names.count(canvas.At(at, at)) ? names.at(canvas.At(at, at)) : '?';
        EXPECT_EQ(seen, c.seen) << c.id << " state " << c.state;
        for (int i = 0; i < 1600 && c.id != 132; ++i)
            ASSERT_EQ(canvas.At(i % 40, i / 40), RGB(255, 255, 255)) << i;
    }
}

namespace {

// Opens its popup at a place away from the cursor and, once the menu loop is
// idle, copies the popup from the screen and closes it.
class MenuShotWindow : public TestSmallWindow {
public:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if ((message == WM_ENTERIDLE && wParam == MSGF_MENU && !taken) ||
            (message == WM_TIMER && wParam == kGiveUpTimer)) {
            Take();
            EndMenu();
        }
        return TestSmallWindow::HandleMessage(window, message, wParam, lParam);
    }

    void Show(HMENU popup) {
        menu = popup;
        SetCursorPos(0, 0);
        SetForegroundWindow(Handle());
        SetTimer(Handle(), kGiveUpTimer, 3000, nullptr);
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, 300, 200, 0, Handle(), nullptr);
        KillTimer(Handle(), kGiveUpTimer);
    }

    // The pixel at screen x, y as the popup showed it.
    COLORREF At(int x, int y) const {
        x -= shot.left, y -= shot.top;
        const int width = shot.right - shot.left;
        if (x < 0 || y < 0 || x >= width || y >= shot.bottom - shot.top) return CLR_INVALID;
        return pixels[static_cast<size_t>(y) * width + x];
    }

    RECT ItemRect(int position) const { return itemRects.at(position); }

private:
    void Take() {
        if (taken) return;
        taken = true;
        Sleep(100);
        HWND popup = FindWindowW(L"#32768", nullptr);
        if (!popup || !GetWindowRect(popup, &shot)) return;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            RECT r = {};
            GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r);
            itemRects.push_back(r);
        }
        const int width = shot.right - shot.left, height = shot.bottom - shot.top;
        Canvas canvas(width, height, 0);
        HDC screen = GetDC(nullptr);
        BitBlt(canvas.Dc(), 0, 0, width, height, screen, shot.left, shot.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) pixels.push_back(canvas.At(x, y));
    }

    static constexpr UINT_PTR kGiveUpTimer = 78;
    HMENU menu = nullptr;
    bool taken = false;
    RECT shot = {};
    std::vector<RECT> itemRects;
    std::vector<COLORREF> pixels;
};

// The columns of an item's row whose pixels differ from the menu's background
// (ink), or that differ between two items' rows (another: the same rows of
// that item). Empty: {INT_MAX, INT_MIN}.
struct Span {
    int left = INT_MAX, right = INT_MIN;
    bool Empty() const { return left > right; }
};

Span Columns(const MenuShotWindow& shot, int item, int other = -1) {
    const RECT r = shot.ItemRect(item);
    const RECT o = other >= 0 ? shot.ItemRect(other) : r;
    const COLORREF background = GetSysColor(COLOR_MENU);
    Span span;
    for (int y = 0; y < r.bottom - r.top; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF here = shot.At(x, r.top + y);
            const bool marked = other >= 0 ? here != shot.At(x, o.top + y) : here != background;
            if (marked) span.left = std::min(span.left, x), span.right = std::max(span.right, x);
        }
    return span;
}

}  // namespace

// A popup's keyboard underline lies under its letter, whether the letter is
// the last of the text, the first or one in the middle: seen on the screen, in
// the popup as the menu shows it. Each text comes with the same text without
// the mark (the difference is the underline), and the text cut before and
// after the letter (the difference is where the letter's ink lies).
TEST_F(SmallWindowTest, MenuTextsUnderlineTheirKeyboardLetter) {
    const struct {
        const wchar_t *marked, *plain, *before, *through;
    } texts[] = {
        {L"Cancel Update Chec&k", L"Cancel Update Check", L"Cancel Update Chec",
         L"Cancel Update Check"},
        {L"&Settings", L"Settings", L"", L"S"},
        {L"Rem&ove all notes", L"Remove all notes", L"Rem", L"Remo"},
        {L"Tom && Jerry &Wide", L"Tom && Jerry Wide", L"Tom && Jerry ", L"Tom && Jerry W"}};
    MenuShotWindow window;
    ASSERT_TRUE(window.Create(false, false));
    HMENU menu = CreatePopupMenu();
    UINT id = 4000;  // no icons
    for (const auto& t : texts)
        for (const wchar_t* text : {t.marked, t.plain, t.before, t.through})
            AppendMenuW(menu, MF_STRING, id++, text);
    window.Show(menu);
    for (int i = 0; i < static_cast<int>(std::size(texts)); ++i) {
        SCOPED_TRACE(testing::Message() << "text " << i);
        const int first = 4 * i;
        const Span underline = Columns(window, first, first + 1);
        const Span before = Columns(window, first + 2);
        const Span through = Columns(window, first + 3);
        ASSERT_FALSE(underline.Empty());
        ASSERT_FALSE(through.Empty());
        const int letterLeft = before.Empty() ? through.left : before.right + 1;
        const int letterRight = through.right;
        EXPECT_GE(underline.left, letterLeft - 1);
        EXPECT_LE(underline.right, letterRight + 1);
        EXPECT_GE(underline.right - underline.left + 1, (letterRight - letterLeft + 1) / 2);
        // Nothing but the underline tells the two apart: the same text shows.
        EXPECT_EQ(Columns(window, first + 1).right, Columns(window, first).right);
    }
    DestroyMenu(menu);
}

// With keyboard cues hidden the item shows its text as it is without the mark,
// pixel for pixel; with them, only the underline differs.
TEST_F(SmallWindowTest, HiddenKeyboardCuesLeaveTheUnderlineOut) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 4001, L"Cancel Update Chec&k");
    AppendMenuW(menu, MF_STRING, 4002, L"Cancel Update Check");
    window.Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    const RECT rect = {0, 0, 220, 22};
    auto draw = [&](int position, UINT state) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA | MIIM_ID;
        GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
        Canvas canvas(220, 22, 0);
        DRAWITEMSTRUCT item = {ODT_MENU,       0,     info.wID,
                               ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(menu),
                               canvas.Dc(),    rect,  info.dwItemData};
        EXPECT_EQ(window.Send(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), TRUE);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < 22; ++y)
            for (int x = 0; x < 220; ++x) pixels.push_back(canvas.At(x, y));
        return pixels;
    };
    for (UINT state : {0u, static_cast<UINT>(ODS_SELECTED), static_cast<UINT>(ODS_GRAYED)}) {
        EXPECT_EQ(draw(0, state | ODS_NOACCEL), draw(1, state)) << state;
        EXPECT_NE(draw(0, state), draw(1, state)) << state;
    }
    DestroyMenu(menu);
}

// A typed letter picks the item it marks, in any case: chosen when it is the
// only one, selected in turn when several share it; "&&" marks no letter.
TEST_F(SmallWindowTest, TypedLettersFindTheirMenuItems) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"&Open");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, 2, L"&Options");
    AppendMenuW(menu, MF_STRING, 3, L"E&xit");
    AppendMenuW(menu, MF_STRING, 4, L"Sa&&ve");
    AppendMenuW(menu, MF_STRING, 5, L"&Other");
    // A submenu of eight items: its state's high byte, the item count, holds
    // the bit that means a separator for a plain item.
    HMENU sub = CreatePopupMenu();
    for (UINT i = 0; i < 8; ++i) AppendMenuW(sub, MF_STRING, 10 + i, L"item");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&Settings");
    window.Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    auto highlight = [&](int position) {
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            MENUITEMINFOW info = {};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_STATE;
            info.fState = i == position ? MFS_HILITE : 0;
            SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        }
    };
    const struct {
        int highlighted;
        wchar_t key;
        LRESULT answer;
    } cases[] = {{-1, L'x', MAKELRESULT(3, MNC_EXECUTE)}, {-1, L'X', MAKELRESULT(3, MNC_EXECUTE)},
                 {-1, L'o', MAKELRESULT(0, MNC_SELECT)},  {0, L'O', MAKELRESULT(2, MNC_SELECT)},
                 {2, L'o', MAKELRESULT(5, MNC_SELECT)},   {5, L'o', MAKELRESULT(0, MNC_SELECT)},
                 {-1, L'v', MAKELRESULT(0, MNC_IGNORE)},  {-1, L'&', MAKELRESULT(0, MNC_IGNORE)},
                 {-1, L's', MAKELRESULT(6, MNC_EXECUTE)}};
    for (const auto& c : cases) {
        highlight(c.highlighted);
        EXPECT_EQ(
            window.Send(WM_MENUCHAR, MAKEWPARAM(c.key, MF_POPUP), reinterpret_cast<LPARAM>(menu)),
            c.answer)
            << static_cast<char>(c.key) << " after " << c.highlighted;
    }
    DestroyMenu(menu);
    EXPECT_EQ(WithoutMenuPrefixes(L"Sa&&ve &all &"), L"Sa&ve all &");
    EXPECT_EQ(MenuMnemonic(L"Sa&&ve &all"), L'a');
}
