#include "main/SmallWindow_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

class TestSmallWindow : public SmallWindow {
public:
    Insets SnapInsets() const override { return {}; }
    bool SnapToGrid() const override { return false; }
    bool SnapToNotes() const override { return true; }
    int32_t SnapGap() const override { return 10; }
    int32_t SnapBorder() const override { return 0; }
};

struct Layered {
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
};

Layered ReadBack(const SmallWindow& window) {
    Layered result;
    GetLayeredWindowAttributes(window.Handle(), &result.key, &result.alpha, &result.flags);
    return result;
}

const DWORD kKeyAndAlpha = LWA_COLORKEY | LWA_ALPHA;

void Activate(SmallWindow& window, bool active) {
    window.Send(WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
}

class SmallWindowTest : public ::testing::Test {
protected:
    void SetUp() override { SmallWindow::SetGlobalAlpha(128); }
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
        // Deactivated before the fade up took its first step.
        {"AD..", {128, 128}},
        // Back up before the fade down took its first step.
        {"o....to..", {160, 192, 224, 255, 255, 255}},
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
        Layered start = ReadBack(window);
        EXPECT_EQ(start.key, RGB(255, 0, 255));
        EXPECT_EQ(start.alpha, 128);
        EXPECT_EQ(start.flags, kKeyAndAlpha);
        EXPECT_TRUE(GetWindowLongPtrW(window.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
        std::vector<int> seen;
        for (const char* s = c.script; *s; ++s) {
            if (*s == 'A' || *s == 'D') Activate(window, *s == 'A');
            if (*s == 'o') window.FadeToOpaque();
            if (*s == 't') window.FadeToTranslucent();
            if (*s == 'M') window.MakeOpaque();
            if (*s == 'R') window.RestoreTranslucency();
            if (*s == 'S') window.SkipNextDeactivationFade();
            if (*s == 'G') SmallWindow::SetGlobalAlpha(64);
            if (*s == '.') {
                window.Send(WM_TIMER, SmallWindow::kFadeTimer, 0);
                Layered now = ReadBack(window);
                seen.push_back(now.flags & LWA_ALPHA ? now.alpha : -1);
            }
        }
        EXPECT_EQ(seen, c.seen) << c.script;
        EXPECT_FALSE(window.IsFading()) << c.script;
    }
}

TEST_F(SmallWindowTest, FocusInAChildWindowKeepsTheWindowOpaque) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(true, true));
    ShowWindow(window.Handle(), SW_SHOW);
    HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                window.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SetFocus(edit);
    ASSERT_EQ(GetFocus(), edit);
    Activate(window, false);
    EXPECT_FALSE(window.IsFading());
    EXPECT_EQ(window.Alpha(), 255);
}

TEST_F(SmallWindowTest, WindowWithoutLayeringNeverFades) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    EXPECT_FALSE(GetWindowLongPtrW(window.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    Activate(window, true);
    EXPECT_FALSE(window.IsFading());
    SmallWindow::SetGlobalAlpha(200);
    EXPECT_FALSE(window.IsFading());
    window.RestoreTranslucency();
    EXPECT_FALSE(window.FadeEnabled());
}

TEST_F(SmallWindowTest, PressOnTheBodyDragsTheWindow) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    window.SetRect({100, 100, 200, 200});
    ShowWindow(window.Handle(), SW_SHOW);
    UpdateWindow(window.Handle());
    SetForegroundWindow(window.Handle());

    INPUT inputs[4] = {};
    const POINT points[4] = {{150, 150}, {150, 150}, {190, 180}, {190, 180}};
    const DWORD buttons[4] = {0, MOUSEEVENTF_LEFTDOWN, 0, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = MulDiv(points[i].x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        inputs[i].mi.dy = MulDiv(points[i].y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        inputs[i].mi.dwFlags = buttons[i] | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    ASSERT_EQ(SendInput(4, inputs, sizeof(INPUT)), 4u);

    MSG message;
    for (DWORD until = GetTickCount() + 2000; GetTickCount() < until; Sleep(10)) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        if (window.WindowRect().left != 100) break;
    }
    RECT moved = window.WindowRect();
    EXPECT_EQ(moved.left, 140);
    EXPECT_EQ(moved.top, 130);
    EXPECT_EQ(moved.right - moved.left, 100);
}

namespace {

int holds, releases, holdsDuringSnap;

SnapHooks CountingHooks() {
    holds = releases = holdsDuringSnap = 0;
    SnapHooks hooks;
    hooks.holdWorkAreas = [] { ++holds; };
    hooks.releaseWorkAreas = [] { ++releases; };
    hooks.snap = [](SmallWindow& window, WINDOWPOS& pos) {
        holdsDuringSnap = holds - releases;
        if (!(pos.flags & SWP_NOMOVE) && window.SnappingEnabled()) pos.x = 50;
    };
    return hooks;
}

}  // namespace

TEST_F(SmallWindowTest, EveryPositionChangeRunsTheSnapHookUnderAHold) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    SmallWindow::SetSnapHooks(CountingHooks());
    window.Move(47, 20);
    EXPECT_EQ(holdsDuringSnap, 1);
    EXPECT_EQ(holds, releases);
    EXPECT_EQ(window.WindowRect().left, 47);  // snapping not enabled yet

    window.EnableSnapping();
    window.Move(47, 20);
    EXPECT_EQ(window.WindowRect().left, 50);
    EXPECT_EQ(window.WindowRect().top, 20);
}

TEST_F(SmallWindowTest, ACapturedMoveHoldsOnceUntilTheCaptureGoesOrTheWindowIsDeleted) {
    for (bool deleteMidMove : {false, true}) {
        auto window = std::make_unique<TestSmallWindow>();
        ASSERT_TRUE(window->Create(false, false));
        ShowWindow(window->Handle(), SW_SHOW);
        SmallWindow::SetSnapHooks(CountingHooks());
        SetCapture(window->Handle());
        ASSERT_EQ(GetCapture(), window->Handle());
        for (int xy : {10, 20, 30}) window->Move(xy, xy);
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

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kShadow = RGB(0x7F, 0x7F, 0x7F);
constexpr UINT kIconItem = 132;  // the test executable's bitmap resource

// Draws the item at 8, 8 on a white 40 x 40 canvas and returns the canvas.
std::vector<COLORREF> DrawItem(SmallWindow& window, UINT id, UINT state) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 40, 40);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, canvas);
    PatBlt(dc, 0, 0, 40, 40, WHITENESS);
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_MENU;
    item.itemID = id;
    item.itemState = state;
    item.hDC = dc;
    item.rcItem = {8, 8, 24, 24};
    EXPECT_EQ(window.Send(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), TRUE);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
    return pixels;
}

}  // namespace

TEST_F(SmallWindowTest, MenuItemsAreMeasuredToHoldAnIconButNeverShrunk) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    MEASUREITEMSTRUCT small = {ODT_MENU, 0, 0, 0, 0, 0}, large = {ODT_MENU, 0, 0, 40, 30, 0};
    window.Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&small));
    window.Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&large));
    EXPECT_GE(small.itemWidth, std::max(16u, UINT(GetSystemMetrics(SM_CXMENUCHECK))));
    EXPECT_GE(small.itemHeight, std::max(16u, UINT(GetSystemMetrics(SM_CYMENUCHECK))));
    EXPECT_EQ(large.itemWidth, 40u);
    EXPECT_EQ(large.itemHeight, 30u);
}

TEST_F(SmallWindowTest, MenuIconsAreDrawnMagentaTransparentAndLiftedWhenSelected) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    // The icon's red square covers 2..13 of its 16 pixels; drawn at 8, 8 that
    // is 10..21. Selected, it is lifted one pixel up and left above a grey
    // shadow; greyed, it stays in place. Probed along the diagonal at these
    // points: W white, R red, S shadow.
    const int probes[] = {8, 9, 10, 20, 21, 22};
    const std::pair<UINT, const char*> cases[] = {
        {0, "WWRRRW"}, {ODS_SELECTED, "WRRRSW"}, {ODS_SELECTED | ODS_GRAYED, "WWRRRW"}};
    for (const auto& c : cases) {
        std::vector<COLORREF> pixels = DrawItem(window, kIconItem, c.first);
        std::string seen;
        for (int at : probes) {
            COLORREF pixel = pixels[at * 40 + at];
            seen += pixel == kWhite ? 'W' : pixel == kRed ? 'R' : pixel == kShadow ? 'S' : '?';
        }
        EXPECT_EQ(seen, c.second) << "state " << c.first;
    }
    // An item without a bitmap resource draws nothing, the second time too.
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(DrawItem(window, 4321, ODS_SELECTED), std::vector<COLORREF>(1600, kWhite));
}

TEST_F(SmallWindowTest, EveryItemOfAnOpeningPopupIsPreparedForIcons) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kIconItem, L"with icon");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"submenu");
    window.Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    for (int i = 0; i < 3; ++i) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_BITMAP;
        ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &info));
        EXPECT_EQ(info.hbmpItem, HBMMENU_CALLBACK) << "item " << i;
    }
    MENUINFO style = {};
    style.cbSize = sizeof(style);
    style.fMask = MIM_STYLE;
    ASSERT_TRUE(GetMenuInfo(menu, &style));
    EXPECT_TRUE(style.dwStyle & MNS_CHECKORBMP);
    DestroyMenu(menu);
}
