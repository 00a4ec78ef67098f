#include "main/SmallWindow_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

class TestSmallWindow : public SmallWindow {
public:
    void Paint(HDC dc) override { ++paints; }
    Insets SnapInsets() const override { return {}; }
    bool SnapToGrid() const override { return false; }
    bool SnapToNotes() const override { return true; }
    int32_t SnapGap() const override { return 10; }
    int32_t SnapBorder() const override { return 0; }

    int paints = 0;
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

// Drives the fade timer by hand and collects the alpha the window set at
// each tick.
std::vector<int> Tick(SmallWindow& window, int ticks) {
    std::vector<int> seen;
    for (int i = 0; i < ticks; ++i) {
        window.Send(WM_TIMER, SmallWindow::kFadeTimer, 0);
        seen.push_back(ReadBack(window).alpha);
    }
    return seen;
}

void Activate(SmallWindow& window) {
    window.Send(WM_ACTIVATE, WA_ACTIVE, 0);
}
void Deactivate(SmallWindow& window) {
    window.Send(WM_ACTIVATE, WA_INACTIVE, 0);
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

// ---- creation ----

TEST_F(SmallWindowTest, LayeredWindowStartsAtTheGlobalAlphaWithTheMagentaKey) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(true, false));
    Layered layered = ReadBack(window);
    EXPECT_EQ(layered.key, RGB(255, 0, 255));
    EXPECT_EQ(layered.alpha, 128);
    EXPECT_EQ(layered.flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));
    LONG_PTR ex = GetWindowLongPtrW(window.Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(GetWindowLongPtrW(window.Handle(), GWL_STYLE) & WS_POPUP);
    wchar_t name[64] = {};
    GetClassNameW(window.Handle(), name, 64);
    EXPECT_STREQ(name, L"Zephyn3 SmallWindow");
    EXPECT_EQ(GetClassLongPtrW(window.Handle(), GCL_STYLE),
              static_cast<ULONG_PTR>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_NOCLOSE));
}

// ---- fading ----

TEST_F(SmallWindowTest, ActivationFadesUpInFourTicksAndDeactivationBack) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(true, false));
    Activate(window);
    EXPECT_TRUE(window.IsFading());
    EXPECT_EQ(Tick(window, 4), (std::vector<int>{160, 192, 224, 255}));
    EXPECT_FALSE(window.IsFading());
    EXPECT_EQ(ReadBack(window).flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));

    Deactivate(window);
    EXPECT_EQ(Tick(window, 4), (std::vector<int>{223, 191, 159, 128}));
    EXPECT_FALSE(window.IsFading());
    // A tick after the fade ended changes nothing.
    EXPECT_EQ(Tick(window, 1), (std::vector<int>{128}));
}

TEST_F(SmallWindowTest, DeactivatedBeforeTheFirstTickEndsTranslucent) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(true, false));
    Activate(window);
    Deactivate(window);
    Tick(window, 6);
    EXPECT_EQ(ReadBack(window).alpha, 128);
    EXPECT_FALSE(window.IsFading());

    window.FadeToOpaque();
    Tick(window, 4);
    window.FadeToTranslucent();
    window.FadeToOpaque();  // back up before the fade down took a step
    Tick(window, 6);
    EXPECT_EQ(ReadBack(window).alpha, 255);
}

TEST_F(SmallWindowTest, ReversingMidFadeTurnsAround) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(true, false));
    Activate(window);
    Tick(window, 2);  // 192
    Deactivate(window);
    EXPECT_EQ(Tick(window, 3), (std::vector<int>{160, 128, 128}));
}

TEST_F(SmallWindowTest, SkipNextDeactivationFadeSkipsOnce) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(true, true));
    window.SkipNextDeactivationFade();
    Deactivate(window);
    EXPECT_FALSE(window.IsFading());
    Deactivate(window);
    EXPECT_TRUE(window.IsFading());
}

TEST_F(SmallWindowTest, FocusInAChildWindowDoesNotFade) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(true, true));
    ShowWindow(window.Handle(), SW_SHOW);
    HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                window.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    SetFocus(edit);
    ASSERT_EQ(GetFocus(), edit);
    Deactivate(window);
    EXPECT_FALSE(window.IsFading());
    EXPECT_EQ(window.Alpha(), 255);
}

TEST_F(SmallWindowTest, GlobalAlphaFadesInactiveWindowsAndSparesActiveOnes) {
    TestSmallWindow inactive, active, rising;
    ASSERT_TRUE(inactive.Create(true, false));
    ASSERT_TRUE(active.Create(true, true));
    ASSERT_TRUE(rising.Create(true, false));
    rising.FadeToOpaque();
    SmallWindow::SetGlobalAlpha(64);
    EXPECT_EQ(Tick(inactive, 2), (std::vector<int>{96, 64}));
    EXPECT_FALSE(active.IsFading());
    EXPECT_EQ(active.Alpha(), 255);
    EXPECT_EQ(rising.TargetAlpha(), 255);
    // The active window takes the new level when it loses activation.
    Deactivate(active);
    Tick(active, 8);
    EXPECT_EQ(ReadBack(active).alpha, 64);
}

TEST_F(SmallWindowTest, WindowWithoutLayeringNeverFades) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    EXPECT_FALSE(window.IsLayered());
    EXPECT_FALSE(window.FadeEnabled());
    EXPECT_FALSE(GetWindowLongPtrW(window.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    Activate(window);
    EXPECT_FALSE(window.IsFading());
    SmallWindow::SetGlobalAlpha(200);
    EXPECT_FALSE(window.IsFading());
    window.MakeOpaque();
    window.RestoreTranslucency();
    EXPECT_FALSE(window.FadeEnabled());
}

TEST_F(SmallWindowTest, MakeOpaqueStopsTheFadeUntilTranslucencyIsRestored) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(true, false));
    Activate(window);
    Tick(window, 1);
    window.MakeOpaque();
    // Without LWA_ALPHA the window is drawn opaque whatever alpha it keeps.
    EXPECT_EQ(ReadBack(window).flags, static_cast<DWORD>(LWA_COLORKEY));
    EXPECT_EQ(window.Alpha(), 255);
    EXPECT_FALSE(window.IsFading());
    Deactivate(window);
    EXPECT_FALSE(window.IsFading());
    window.Send(WM_TIMER, SmallWindow::kFadeTimer, 0);
    EXPECT_EQ(ReadBack(window).flags, static_cast<DWORD>(LWA_COLORKEY));
    EXPECT_EQ(window.Alpha(), 255);

    window.RestoreTranslucency();
    EXPECT_EQ(ReadBack(window).flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));
    window.FadeToTranslucent();
    EXPECT_EQ(Tick(window, 4), (std::vector<int>{223, 191, 159, 128}));
}

// ---- painting ----

TEST_F(SmallWindowTest, PaintsThroughPaintAndNeverErases) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    window.Resize(50, 50);
    ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
    window.paints = 0;
    InvalidateRect(window.Handle(), nullptr, TRUE);
    UpdateWindow(window.Handle());
    EXPECT_EQ(window.paints, 1);
    HDC dc = GetDC(window.Handle());
    EXPECT_EQ(window.Send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc)), 1);
    ReleaseDC(window.Handle(), dc);
}

// ---- dragging ----

TEST_F(SmallWindowTest, PressOnTheBodyDragsTheWindow) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    RECT start = {100, 100, 200, 200};
    window.SetRect(start);
    ShowWindow(window.Handle(), SW_SHOW);
    UpdateWindow(window.Handle());
    SetForegroundWindow(window.Handle());

    INPUT inputs[4] = {};
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    auto absolute = [&](INPUT& input, int x, int y, DWORD flags) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(x, 65535, screenWidth - 1);
        input.mi.dy = MulDiv(y, 65535, screenHeight - 1);
        input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    };
    absolute(inputs[0], 150, 150, 0);
    absolute(inputs[1], 150, 150, MOUSEEVENTF_LEFTDOWN);
    absolute(inputs[2], 190, 180, 0);
    absolute(inputs[3], 190, 180, MOUSEEVENTF_LEFTUP);
    ASSERT_EQ(SendInput(4, inputs, sizeof(INPUT)), 4u);

    DWORD until = GetTickCount() + 2000;
    MSG message;
    while (GetTickCount() < until) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        RECT now = window.WindowRect();
        if (now.left != start.left) break;
        Sleep(10);
    }
    RECT moved = window.WindowRect();
    EXPECT_EQ(moved.left, 140);
    EXPECT_EQ(moved.top, 130);
    EXPECT_EQ(moved.right - moved.left, 100);
}

// ---- snapping hooks ----

namespace {

int holds = 0;
int releases = 0;
int snaps = 0;
int holdsDuringSnap = 0;

void CountHold() {
    ++holds;
}
void CountRelease() {
    ++releases;
}
void SnapToFifty(SmallWindow& window, WINDOWPOS& pos) {
    ++snaps;
    holdsDuringSnap = holds - releases;
    if (!(pos.flags & SWP_NOMOVE) && window.SnappingEnabled()) pos.x = 50;
}

SnapHooks CountingHooks() {
    holds = releases = snaps = holdsDuringSnap = 0;
    SnapHooks hooks;
    hooks.snap = &SnapToFifty;
    hooks.holdWorkAreas = &CountHold;
    hooks.releaseWorkAreas = &CountRelease;
    return hooks;
}

}  // namespace

TEST_F(SmallWindowTest, EveryPositionChangeRunsTheSnapHookUnderAHold) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    SmallWindow::SetSnapHooks(CountingHooks());
    window.Move(47, 20);
    EXPECT_GE(snaps, 1);
    EXPECT_EQ(holdsDuringSnap, 1);
    EXPECT_EQ(holds, releases);
    EXPECT_EQ(window.WindowRect().left, 47);  // snapping not enabled yet

    window.EnableSnapping();
    window.Move(47, 20);
    EXPECT_EQ(window.WindowRect().left, 50);
    EXPECT_EQ(window.WindowRect().top, 20);
}

TEST_F(SmallWindowTest, AMouseMoveHoldsTheWorkAreasUntilTheCaptureGoes) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    ShowWindow(window.Handle(), SW_SHOW);
    SmallWindow::SetSnapHooks(CountingHooks());
    SetCapture(window.Handle());
    ASSERT_EQ(GetCapture(), window.Handle());
    window.Move(10, 10);
    window.Move(20, 20);
    window.Move(30, 30);
    EXPECT_EQ(holds, 1);
    EXPECT_EQ(releases, 0);
    ReleaseCapture();
    EXPECT_EQ(holds, 1);
    EXPECT_EQ(releases, 1);
}

TEST_F(SmallWindowTest, DeletingAWindowMidMoveGivesItsHoldBack) {
    auto* window = new TestSmallWindow;
    ASSERT_TRUE(window->Create(false, false));
    ShowWindow(window->Handle(), SW_SHOW);
    SmallWindow::SetSnapHooks(CountingHooks());
    SetCapture(window->Handle());
    window->Move(10, 10);
    EXPECT_EQ(holds, 1);
    delete window;
    EXPECT_EQ(releases, 1);
}

// ---- menu icons ----

namespace {

// A white 40 by 40 canvas to draw menu items on.
class Canvas {
public:
    Canvas() {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = 40;
        info.bmiHeader.biHeight = -40;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bitmap);
        RECT all = {0, 0, 40, 40};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    bool AllWhite() const {
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                if (At(x, y) != RGB(255, 255, 255)) return false;
        return true;
    }

    HDC dc;

private:
    HBITMAP bitmap;
    HGDIOBJ old;
};

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kShadow = RGB(0x7F, 0x7F, 0x7F);
constexpr UINT kIconItem = 132;  // the test executable's bitmap resource

void DrawItem(SmallWindow& window, Canvas& canvas, UINT id, UINT state) {
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_MENU;
    item.itemID = id;
    item.itemState = state;
    item.hDC = canvas.dc;
    item.rcItem = {8, 8, 24, 24};
    EXPECT_EQ(window.Send(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), TRUE);
}

}  // namespace

TEST_F(SmallWindowTest, MenuItemsAreMeasuredForAnIcon) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    MEASUREITEMSTRUCT small = {};
    small.CtlType = ODT_MENU;
    window.Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&small));
    EXPECT_GE(small.itemWidth, 16u);
    EXPECT_GE(small.itemHeight, 16u);
    EXPECT_GE(static_cast<int>(small.itemWidth), GetSystemMetrics(SM_CXMENUCHECK));
    EXPECT_GE(static_cast<int>(small.itemHeight), GetSystemMetrics(SM_CYMENUCHECK));

    MEASUREITEMSTRUCT large = {};
    large.CtlType = ODT_MENU;
    large.itemWidth = 40;
    large.itemHeight = 30;
    window.Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&large));
    EXPECT_EQ(large.itemWidth, 40u);
    EXPECT_EQ(large.itemHeight, 30u);
}

TEST_F(SmallWindowTest, MenuIconIsDrawnWithMagentaTransparent) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    Canvas canvas;
    DrawItem(window, canvas, kIconItem, 0);
    // The icon's red square covers 2..13 of its 16 pixels.
    EXPECT_EQ(canvas.At(10, 10), kRed);
    EXPECT_EQ(canvas.At(21, 21), kRed);
    EXPECT_EQ(canvas.At(9, 9), kWhite);
    EXPECT_EQ(canvas.At(22, 22), kWhite);
}

TEST_F(SmallWindowTest, SelectedIconIsLiftedAboveAGreyShadow) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    Canvas canvas;
    DrawItem(window, canvas, kIconItem, ODS_SELECTED);
    EXPECT_EQ(canvas.At(9, 9), kRed);  // lifted by one pixel
    EXPECT_EQ(canvas.At(20, 20), kRed);
    EXPECT_EQ(canvas.At(21, 21), kShadow);  // the shadow shows below right
    EXPECT_EQ(canvas.At(8, 8), kWhite);
    EXPECT_EQ(canvas.At(22, 22), kWhite);
}

TEST_F(SmallWindowTest, GreyedSelectedIconStaysInPlace) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    Canvas canvas;
    DrawItem(window, canvas, kIconItem, ODS_SELECTED | ODS_GRAYED);
    EXPECT_EQ(canvas.At(10, 10), kRed);
    EXPECT_EQ(canvas.At(21, 21), kRed);
    EXPECT_EQ(canvas.At(9, 9), kWhite);
}

TEST_F(SmallWindowTest, ItemWithoutABitmapResourceDrawsNothingEveryTime) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    for (int i = 0; i < 2; ++i) {
        Canvas canvas;
        DrawItem(window, canvas, 4321, ODS_SELECTED);
        EXPECT_TRUE(canvas.AllWhite());
    }
}

TEST_F(SmallWindowTest, OpeningPopupIsPreparedForIcons) {
    TestSmallWindow window;
    ASSERT_TRUE(window.Create(false, false));
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kIconItem, L"with icon");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    window.Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    for (int i = 0; i < 2; ++i) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_BITMAP;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        EXPECT_EQ(info.hbmpItem, HBMMENU_CALLBACK);
    }
    DestroyMenu(menu);
}
