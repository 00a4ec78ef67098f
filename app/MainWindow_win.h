#pragma once
// The program's small skinned main window: the skin's main background with
// its menu button. It draws itself, keeps its place, its being on top and its
// being shown in the settings, and snaps to the monitors' edges; everything
// else that happens to it (commands, mouse and keyboard, the tray icon's and
// the system's messages, a click on its button) goes to its owner.

#include <windows.h>

#include <cstdint>
#include <memory>

#include "skin/SkinBitmap_win.h"
#include "ui/SmallWindow_win.h"

struct AppSettings;
class MainWindowButton;
class SkinButton;
class ValueStore;
struct Skin;

class MainWindowOwner {
public:
    // A command of a menu tracked by the window; true when it was handled.
    virtual bool OnMainWindowCommand(WORD notification, WORD id, HWND control) = 0;
    // Every message before the window's own handling; true when it is to go
    // no further, with the message's answer in `result`.
    virtual bool OnMainWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                     LRESULT& result) = 0;
    // The skin's menu button was clicked; the window is in front already.
    virtual void OnMainWindowButton() = 0;

protected:
    ~MainWindowOwner() = default;
};

class MainWindow : public SmallWindow {
public:
    // settings and store hold the window's place, on-top and shown state and
    // the snapping rules; both outlive the window.
    MainWindow(MainWindowOwner& owner, SkinnedWindows& windows, AppSettings& settings,
               ValueStore& store);
    ~MainWindow() override;

    // Creates the window, hidden, at its stored place and on top as stored.
    bool Open(bool layered, const wchar_t* title);
    // Takes the skin's main background (the window's size and, without
    // layering, its shape) and menu button.
    void ApplySkin(const Skin& skin);
    // Shows the window when the settings say so, below other windows unless it
    // is kept on top.
    void ShowAsStored();

    // Changes and stores the state.
    void SetAlwaysOnTop(bool onTop);
    void SetVisible(bool visible);

    // The skin's menu button; null before ApplySkin.
    const SkinButton* Button() const;

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD notification, WORD id, HWND control) override;
    void Paint(HDC dc) override;
    Insets SnapInsets() const override { return Insets{}; }
    bool SnapToGrid() const override;
    bool SnapToNotes() const override;
    int32_t SnapGap() const override;
    int32_t SnapBorder() const override;

protected:
    void OnWindowPosChanging(WINDOWPOS& pos) override;

private:
    void OnMove(LPARAM lParam);

    MainWindowOwner& owner;
    AppSettings& settings;
    ValueStore& store;
    // The window keeps its own hold on the background.
    SkinBitmapRef background;
    std::unique_ptr<MainWindowButton> button;
    // The place is stored only once the window stands where it was put.
    bool positionKnown = false;
};
