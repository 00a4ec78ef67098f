#pragma once
// The program's own push button. HotControl tracks hover by polling the
// cursor, captures the mouse while pressed and reports a completed click
// through OnClick instead of WM_COMMAND; SkinButton draws it with four skin
// bitmaps.

#include <windows.h>

#include "skin/SkinBitmap_win.h"
#include "ui/Window_win.h"

class HotControl : public Window {
public:
    static constexpr UINT kHoverInterval = 50;

    // Creates the control as a 1 x 1 visible child of parent at 0, 0.
    explicit HotControl(HWND parent);

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Called when the button is released over the control after a press on it.
    virtual void OnClick() {}

    bool Pressed() const { return pressed; }
    bool Hover() const { return hover; }

protected:
    bool pressed = false;
    // At the last poll the cursor was over the control and nothing covered it.
    bool hover = false;

private:
    void Poll(HWND window);
    void StartPolling(HWND window);
    void StopPolling(HWND window);
    void EndPress(HWND window);

    bool polling = false;
};

class SkinButton : public HotControl {
public:
    explicit SkinButton(HWND parent) : HotControl(parent) {}
    ~SkinButton() override;

    // Takes a reference to each bitmap of the set and sizes the control to the
    // normal bitmap, when there is one.
    void SetBitmaps(const ButtonBitmaps& set);

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    // The bitmap for the current state: disabled, down (pressed over the
    // control), hover or normal; null when the skin has none for that state.
    SkinBitmap* CurrentBitmap() const;

private:
    void DrawFace(HDC dc) const;

    ButtonBitmaps bitmaps;
};
