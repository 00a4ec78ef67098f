#pragma once
// The skinned top-level window shared by the main window and every note: a
// tool-window popup of class "Zephyn3 SmallWindow", optionally layered with
// magenta as its transparent colour. It fades between opaque (while active)
// and the see-through level of its SkinnedWindows (while inactive), is dragged
// by its body, draws the icons of its popup menus and has its SkinnedWindows
// snap every position change.
//
// Derived classes paint in Paint (the background is never erased), answer
// the snapping questions, and hand every message they do not consume on to
// SmallWindow::HandleMessage.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "arrange/Rect.h"
#include "ui/SkinnedWindows_win.h"
#include "ui/Window_win.h"

class SmallWindow : public Window {
public:
    static constexpr UINT kFadeInterval = 50;
    static constexpr int kFadeStep = 32;
    static constexpr COLORREF kColorKey = RGB(255, 0, 255);

    // Keeps the reference only: the set is first used by Create, so an owner
    // may pass a member of its own that is made after this base.
    explicit SmallWindow(SkinnedWindows& windows);
    // Leaves the set (when the window still exists; otherwise it left when
    // its window went).
    ~SmallWindow() override;

    // Creates the window at (0, 0), 1 by 1 pixel, hidden; the caller sizes,
    // places and shows it. startOpaque begins at alpha 255 instead of the
    // set's see-through level. Without layering the window never fades.
    bool Create(bool layered, bool startOpaque);
    // The same, made hidden at `rect` with extra extended styles (topmost,
    // click-through), so that a window whose place is known needs no move.
    bool Create(bool layered, bool startOpaque, const RECT& rect, DWORD extraExStyle);

    void FadeToOpaque();
    void FadeToTranslucent();
    // Opaque with fading off, for as long as a note's text is edited.
    void MakeOpaque();
    // Fading on again, at the current alpha.
    void RestoreTranslucency();
    // The next loss of activation keeps the window opaque (a modal question
    // of the window's own is about to take the activation).
    void SkipNextDeactivationFade() { skipNextDeactivationFade = true; }
    // Position changes are snapped from now on.
    void EnableSnapping() { snappingEnabled = true; }
    // Shows `value` as the alpha of a layered window that asks for attention;
    // fading holds still meanwhile. Nothing while fading is off (an editor).
    void ShowPulseAlpha(int value);
    // Fading takes over again from the alpha shown: toward opaque when the
    // window is in front, else toward the see-through level.
    void EndPulse();

    // The set this window belongs to.
    SkinnedWindows& Skinned() const { return skinned; }

    bool IsLayered() const { return layered; }
    bool IsFading() const { return fading; }
    int Alpha() const { return alpha; }
    int TargetAlpha() const { return targetAlpha; }
    bool FadeEnabled() const { return fadeEnabled; }
    bool PulseShown() const { return pulsing; }
    bool IsSizing() const { return sizing; }
    bool SnappingEnabled() const { return snappingEnabled; }

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Prepares each opening popup for the menu icons.
    void OnInitMenuPopup(HMENU menu, UINT index, bool isSystemMenu) override;

    // Draws the whole window; called between BeginPaint and EndPaint.
    virtual void Paint(HDC dc);

    // What snapping asks of the window being moved.
    // Borders between the window rectangle and its visible body.
    virtual Insets SnapInsets() const = 0;
    virtual bool SnapToGrid() const = 0;
    virtual bool SnapToNotes() const = 0;
    // Grid step, and the snap distance of edge snapping, in pixels.
    virtual int32_t SnapGap() const = 0;
    // Space kept between two snapped windows, in pixels.
    virtual int32_t SnapBorder() const = 0;

protected:
    // Runs at every WM_WINDOWPOSCHANGING while the work areas are held; the
    // default has the set snap it. Changes to pos are applied.
    virtual void OnWindowPosChanging(WINDOWPOS& pos);

private:
    friend class SkinnedWindows;
    // The set's see-through level changed: an inactive window fades to it.
    void FollowAlpha(uint8_t value);
    void LeaveSet();
    void StartFade(int target, bool up);
    void StopFadeTimer();
    void FadeStep();
    void OnActivate(WPARAM wParam);
    void OnPositionChanging(HWND window, WINDOWPOS& pos);
    void ReleaseHeldWorkAreas();

    SkinnedWindows& skinned;
    bool inSet = false;
    bool fading = false;
    bool fadeUp = false;
    int alpha = 255;
    int targetAlpha = 255;
    bool skipNextDeactivationFade = false;
    bool fadeEnabled = true;
    bool pulsing = false;
    bool layered = false;
    bool sizing = false;
    bool snappingEnabled = false;
    // This window holds the work areas for a mouse move or resize in progress.
    bool holdingWorkAreas = false;
};
