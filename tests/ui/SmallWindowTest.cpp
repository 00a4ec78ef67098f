#include "ui/SmallWindow_win.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/MenuIcons_win.h"
#include "ui/PrivateMessages_win.h"

namespace {

class TestSmallWindow : public SmallWindow {
public:
    Insets SnapInsets() const override { return {}; }
    bool SnapToGrid() const override { return false; }
    bool SnapToNotes() const override { return true; }
    int32_t SnapGap() const override { return 10; }
    int32_t SnapBorder() const override { return 0; }
};

class SmallWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        SmallWindow::SetGlobalAlpha(128);
        SmallWindow::SetSnapHooks(SnapHooks());
    }
};

}  // namespace

TEST_F(SmallWindowTest, LayeredWindowsFadeBetweenTheGlobalAlphaAndOpaque) {
    // A activates, D deactivates, o and t fade to opaque and translucent, M
    // makes opaque, R restores translucency, S skips the next deactivation
    // fade, G sets the global alpha to 64. Each dot is a tick recording the
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
        // Inactive windows fade to a new global level; active ones, and those
        // on their way up, take it when they next lose activation.
        {"G..", {96, 64}},
        {"A....G.D......", {160, 192, 224, 255, 255, 223, 191, 159, 127, 95, 64}},
        {"AG....D......", {160, 192, 224, 255, 223, 191, 159, 127, 95, 64}},
    };
    for (const auto& c : cases) {
        SmallWindow::SetGlobalAlpha(128);
        TestSmallWindow window;
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
            if (*s == 'G') SmallWindow::SetGlobalAlpha(64);
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

// Every position change runs the snap hook while the work areas are held; a
// captured move holds them once, until the capture goes or the window is
// deleted mid-move.
TEST_F(SmallWindowTest, SnapHookRunsUnderAHoldThatACapturedMoveKeepsUntilItEnds) {
    static int holds, releases, holdsDuringSnap;
    SnapHooks hooks;
    hooks.holdWorkAreas = [] { ++holds; };
    hooks.releaseWorkAreas = [] { ++releases; };
    hooks.snap = [](SmallWindow& window, WINDOWPOS& pos) {
        holdsDuringSnap = holds - releases;
        if (!(pos.flags & SWP_NOMOVE) && window.SnappingEnabled()) pos.x = 50;
    };
    SmallWindow::SetSnapHooks(hooks);
    for (bool deleteMidMove : {false, true}) {
        holds = releases = holdsDuringSnap = 0;
        auto window = std::make_unique<TestSmallWindow>();
        ASSERT_TRUE(window->Create(false, false));
        window->Move(47, 20);
        EXPECT_EQ(holdsDuringSnap, 1);
        EXPECT_EQ(window->WindowRect().left, 47);  // snapping not enabled yet
        window->EnableSnapping();
        ShowWindow(window->Handle(), SW_SHOW);
        EXPECT_EQ(holds, releases);
        holds = releases = 0;
        SetCapture(window->Handle());
        ASSERT_EQ(GetCapture(), window->Handle());
        for (int xy : {10, 20, 30}) window->Move(xy, xy);
        EXPECT_EQ(window->WindowRect().left, 50);
        EXPECT_EQ(window->WindowRect().top, 30);
        EXPECT_EQ(holds, 1);
        EXPECT_EQ(releases, 0);
        if (deleteMidMove)
            window.reset();
        else
            ReleaseCapture();
        EXPECT_EQ(holds, 1);
        EXPECT_EQ(releases, 1);
    }
}

// Menu icons come from the bitmap resource of the item's identifier: magenta is
// transparent, a selected icon is lifted one pixel above a grey shadow, a greyed
// one stays in place without its colours (G: red's lightness, faded), and an
// item without a bitmap draws nothing.
TEST_F(SmallWindowTest, MenuIconsAreDrawnMagentaTransparentAndLiftedWhenSelected) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 132, L"with icon");
    AppendMenuW(menu, MF_STRING, 4321, L"without icon");
    window.Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    // Both reserve the icon column; only the first names an icon to draw.
    for (UINT position : {0u, 1u}) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_BITMAP | MIIM_DATA;
        ASSERT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info));
        EXPECT_EQ(info.hbmpItem, HBMMENU_CALLBACK) << position;
        EXPECT_EQ(info.dwItemData, position == 0 ? 132u : 0u) << position;
    }
    DestroyMenu(menu);

    // The icon column holds the icon with room on both sides, so the text that
    // follows it never touches it.
    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, 132, 0, 0, 0};
    EXPECT_EQ(window.Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), TRUE);
    EXPECT_GE(measure.itemWidth, 16u + 2 * kMenuIconPadding);
    EXPECT_GE(measure.itemHeight, 16u);

    // The test's bitmap 132 is a red square over 2..13 of its 16 pixels; drawn
    // at 8, 8 that is 10..21. Probed along the diagonal: W white, R red, S shadow.
    // The item data names the icon; an item whose identifier happens to be
    // 132 (a submenu's cut handle) but whose data names none draws nothing.
    const struct {
        UINT id, state;
        ULONG_PTR data;
        const char* seen;
    } cases[] = {{132, 0, 132, "WWRRRW"},
                 {132, ODS_SELECTED, 132, "WRRRSW"},
                 {132, ODS_SELECTED | ODS_GRAYED, 132, "WWGGGW"},
                 {132, ODS_GRAYED, 132, "WWGGGW"},
                 {4321, ODS_SELECTED, 4321, "WWWWWW"},
                 {132, ODS_SELECTED, 0, "WWWWWW"}};
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP canvas = CreateBitmap(40, 40, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, canvas);
    const std::map<COLORREF, char> names = {{RGB(255, 255, 255), 'W'},
                                            {RGB(255, 0, 0), 'R'},
                                            {RGB(127, 127, 127), 'S'},
                                            {RGB(166, 166, 166), 'G'}};
    for (const auto& c : cases) {
        PatBlt(dc, 0, 0, 40, 40, WHITENESS);
        // The icon goes kMenuIconPadding right of the column's left edge and is
        // centred in its height: at 8, 8 again.
        const RECT column = {8 - kMenuIconPadding, 6, 8 + 16 + kMenuIconPadding, 26};
        DRAWITEMSTRUCT item = {ODT_MENU, 0, c.id, 0, c.state, nullptr, dc, column, c.data};
        EXPECT_EQ(window.Send(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), TRUE);
        std::string seen;
        for (int at : {8, 9, 10, 20, 21, 22})
            seen += names.count(GetPixel(dc, at, at)) ? names.at(GetPixel(dc, at, at)) : '?';
        EXPECT_EQ(seen, c.seen) << c.id << " state " << c.state;
        for (int i = 0; i < 1600 && c.data != 132; ++i)
            ASSERT_EQ(GetPixel(dc, i % 40, i / 40), RGB(255, 255, 255)) << i;
    }
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
}
