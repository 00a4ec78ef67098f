#include "app/MainWindow_win.h"

#include <windowsx.h>

#include "arrange/Snapping_win.h"
#include "base/MemoryDc_win.h"
#include "skin/PixelImage.h"
#include "skin/Skin_win.h"
#include "skin/WindowShape_win.h"
#include "store/AppSettings.h"
#include "ui/SkinButton_win.h"

// The skin's menu button on the main window.
class MainWindowButton : public SkinButton {
public:
    MainWindowButton(MainWindow& window, MainWindowOwner& owner)
        : SkinButton(window.Handle()), window(window), owner(owner) {}
    void OnClick() override {
        window.BringToForeground(true);
        owner.OnMainWindowButton();
    }

private:
    MainWindow& window;
    MainWindowOwner& owner;
};

MainWindow::MainWindow(MainWindowOwner& owner, SkinnedWindows& windows, AppSettings& settings,
                       ValueStore& store)
    : SmallWindow(windows), owner(owner), settings(settings), store(store) {}

MainWindow::~MainWindow() {
    button.reset();
    Destroy();
}

bool MainWindow::Open(bool layered, const wchar_t* title) {
    if (!Create(layered, false)) return false;
    SetWindowTextW(Handle(), title);
    SetTopmost(settings.mainWindowAlwaysOnTop);
    Move(settings.mainWindowX, settings.mainWindowY);
    positionKnown = true;
    return true;
}

void MainWindow::ApplySkin(const Skin& skin) {
    background = skin.mainWindowBackground;
    if (background) {
        Resize(background->Width(), background->Height());
        // Without layering the colour key does nothing: the region cuts it.
        const PixelImage* pixels = background->Pixels();
        if (!IsLayered() && pixels) ApplyWindowShape(Handle(), ShapeRegion(*pixels).Get(), true);
    }
    button = std::make_unique<MainWindowButton>(*this, owner);
    button->SetBitmaps(skin.mainWindowButton);
    button->Move(skin.mainButtonPos.x, skin.mainButtonPos.y);
    InvalidateRect(Handle(), nullptr, TRUE);
}

const SkinButton* MainWindow::Button() const {
    return button.get();
}

void MainWindow::ShowAsStored() {
    ReadMainWindowVisible(store, settings);
    if (!settings.mainWindowVisible) return;
    ShowWindow(Handle(), SW_SHOWNA);
    if (!settings.mainWindowAlwaysOnTop) {
        SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void MainWindow::SetAlwaysOnTop(bool onTop) {
    SetTopmost(onTop);
    settings.mainWindowAlwaysOnTop = onTop;
    WriteMainWindowAlwaysOnTop(store, onTop);
}

void MainWindow::SetVisible(bool visible) {
    ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
    settings.mainWindowVisible = visible;
    WriteMainWindowVisible(store, visible);
}

LRESULT MainWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (owner.OnMainWindowMessage(message, wParam, lParam, result)) return result;
    if (message == WM_MOVE) OnMove(lParam);
    return SmallWindow::HandleMessage(window, message, wParam, lParam);
}

bool MainWindow::OnCommand(WORD notification, WORD id, HWND control) {
    return owner.OnMainWindowCommand(notification, id, control);
}

void MainWindow::OnMove(LPARAM lParam) {
    if (!positionKnown) return;
    const int32_t x = GET_X_LPARAM(lParam);
    const int32_t y = GET_Y_LPARAM(lParam);
    // Showing the window reports its position again; writing only real
    // changes keeps a first run from creating Settings.ini for nothing.
    if (x == settings.mainWindowX && y == settings.mainWindowY) return;
    settings.mainWindowX = x;
    settings.mainWindowY = y;
    WriteMainWindowPosition(store, x, y);
}

void MainWindow::Paint(HDC dc) {
    if (!background || !background->Handle()) return;
    MemoryDc memory(dc);
    if (!memory) return;
    background->Select(memory.Get());
    background->Draw(dc, 0, 0);
    background->Deselect();
}

bool MainWindow::SnapToGrid() const {
    return settings.useNoteGrid;
}

bool MainWindow::SnapToNotes() const {
    return settings.snapNotes;
}

int32_t MainWindow::SnapGap() const {
    return settings.snapGap;
}

int32_t MainWindow::SnapBorder() const {
    return settings.snapBorder;
}

void MainWindow::OnWindowPosChanging(WINDOWPOS& pos) {
    // The main window snaps to the monitors' edges only, never to notes.
    if (!SnappingEnabled() || (pos.flags & SWP_NOMOVE)) return;
    if (GetKeyState(VK_CONTROL) < 0 || !settings.snapNotes) return;
    int32_t cx = pos.cx;
    int32_t cy = pos.cy;
    if (pos.flags & SWP_NOSIZE) {
        const RECT r = WindowRect();
        cx = r.right - r.left;
        cy = r.bottom - r.top;
    }
    int32_t x = pos.x;
    int32_t y = pos.y;
    Arrange::SnapToMonitors(settings.snapGap, cx, cy, x, y, Skinned().WorkAreas());
    pos.x = x;
    pos.y = y;
}
