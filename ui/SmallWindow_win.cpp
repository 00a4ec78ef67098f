#include "ui/SmallWindow_win.h"

#include <algorithm>

#include "ui/MenuIcons_win.h"
#include "ui/MenuItems_win.h"
#include "ui/Menu_win.h"
#include "ui/PrivateMessages_win.h"

namespace {

constexpr const wchar_t* kClassName = L"Zephyn3 SmallWindow";
constexpr int kIconResource = 129;

}  // namespace

SmallWindow::SmallWindow(SkinnedWindows& windows) : skinned(windows) {}

SmallWindow::~SmallWindow() {
    // The WM_CAPTURECHANGED of the coming destruction reaches only the base
    // handler, so a hold taken for a move in progress is given back here.
    LeaveSet();
}

void SmallWindow::LeaveSet() {
    ReleaseHeldWorkAreas();
    if (!inSet) return;
    inSet = false;
    skinned.Remove(*this);
}

bool SmallWindow::Create(bool layeredWindow, bool startOpaque) {
    return Create(layeredWindow, startOpaque, RECT{0, 0, 1, 1}, 0);
}

bool SmallWindow::Create(bool layeredWindow, bool startOpaque, const RECT& rect,
                         DWORD extraExStyle) {
    if (Handle()) return false;
    alpha = targetAlpha = startOpaque ? 255 : skinned.Alpha();
    layered = layeredWindow;
    HINSTANCE module = GetModuleHandleW(nullptr);
    if (!RegisterSharedClass(kClassName, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_NOCLOSE,
                             LoadCursorW(nullptr, IDC_ARROW),
                             LoadIconW(module, MAKEINTRESOURCEW(kIconResource))))
        return false;
    // In the set before the window exists: its first position changes snap
    // against the others already.
    if (!inSet) {
        inSet = true;
        skinned.Add(*this);
    }
    // The tool-window style keeps the windows off the taskbar.
    CreateWindowExW(WS_EX_TOOLWINDOW | (layered ? WS_EX_LAYERED : 0) | extraExStyle, kClassName,
                    nullptr, WS_POPUP | WS_CLIPSIBLINGS, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, GetDesktopWindow(), nullptr,
                    module, this);
    if (!Handle()) {
        LeaveSet();
        return false;
    }
    if (layered)
        SetLayeredWindowAttributes(Handle(), kColorKey, static_cast<BYTE>(alpha),
                                   LWA_COLORKEY | LWA_ALPHA);
    else
        fadeEnabled = false;
    return Handle() != nullptr;
}

void SmallWindow::StartFade(int target, bool up) {
    targetAlpha = target;
    if (!fading) {
        fading = true;
        if (Handle()) SetTimer(Handle(), kFadeTimer, kFadeInterval, nullptr);
    }
    fadeUp = up;
}

void SmallWindow::StopFadeTimer() {
    // A null window would name a thread timer of the same number instead.
    if (Handle()) KillTimer(Handle(), kFadeTimer);
}

void SmallWindow::FadeToOpaque() {
    if (!fadeEnabled) return;
    if (alpha == 255) {
        // A fade toward translucency that has not taken its first step yet
        // must not carry on while the window is active.
        if (fading) StartFade(255, true);
        return;
    }
    StartFade(255, true);
}

void SmallWindow::FadeToTranslucent() {
    if (!fadeEnabled) return;
    const int level = skinned.Alpha();
    if (alpha == level) {
        // Likewise a fade toward opacity that has just begun.
        if (fading) StartFade(level, false);
        return;
    }
    StartFade(level, level >= alpha);
}

void SmallWindow::FadeStep() {
    if (!fadeEnabled) return;
    if (!fading || pulsing) {
        // Where a fade was headed stays in targetAlpha for EndPulse.
        fading = false;
        StopFadeTimer();
        return;
    }
    alpha += fadeUp ? kFadeStep : -kFadeStep;
    if ((fadeUp && alpha >= targetAlpha) || (!fadeUp && alpha <= targetAlpha)) {
        alpha = targetAlpha;
        StopFadeTimer();
        fading = false;
    }
    SetLayeredWindowAttributes(Handle(), kColorKey, static_cast<BYTE>(alpha),
                               LWA_COLORKEY | LWA_ALPHA);
}

void SmallWindow::ShowPulseAlpha(int value) {
    if (!layered || !fadeEnabled || !Handle()) return;
    pulsing = true;
    alpha = std::clamp(value, 1, 255);
    SetLayeredWindowAttributes(Handle(), kColorKey, static_cast<BYTE>(alpha),
                               LWA_COLORKEY | LWA_ALPHA);
}

void SmallWindow::EndPulse() {
    if (!pulsing) return;
    pulsing = false;
    if (!fadeEnabled) return;
    const int target = GetForegroundWindow() == Handle() ? 255 : skinned.Alpha();
    if (alpha != target) StartFade(target, target >= alpha);
}

void SmallWindow::MakeOpaque() {
    if (!layered) return;
    pulsing = false;
    alpha = targetAlpha = 255;
    fadeEnabled = false;
    SetLayeredWindowAttributes(Handle(), kColorKey, 255, LWA_COLORKEY);
    if (fading) {
        fading = false;
        StopFadeTimer();
    }
}

void SmallWindow::RestoreTranslucency() {
    if (!layered) return;
    fadeEnabled = true;
    SetLayeredWindowAttributes(Handle(), kColorKey, static_cast<BYTE>(alpha),
                               LWA_COLORKEY | LWA_ALPHA);
}

void SmallWindow::FollowAlpha(uint8_t value) {
    if (!fadeEnabled || alpha == value) return;
    // Active windows are opaque or on their way there; they take the new
    // level when they next lose activation.
    bool towardOpaque = fading ? targetAlpha == 255 : alpha == 255;
    if (towardOpaque) return;
    StartFade(value, value >= alpha);
}

void SmallWindow::OnActivate(WPARAM wParam) {
    if (LOWORD(wParam) != WA_INACTIVE) {
        FadeToOpaque();
        return;
    }
    // The focus went to one of our own child windows (a note's editor).
    HWND focus = GetFocus();
    if (focus && GetParent(focus) == Handle()) return;
    if (skipNextDeactivationFade) {
        skipNextDeactivationFade = false;
        return;
    }
    FadeToTranslucent();
}

void SmallWindow::OnWindowPosChanging(WINDOWPOS& pos) {
    skinned.Snap(*this, pos);
}

void SmallWindow::OnPositionChanging(HWND window, WINDOWPOS& pos) {
    // The system's move and size loops capture the mouse for the whole drag:
    // one hold serves every position change until the capture goes.
    if (GetCapture() == window) {
        if (!holdingWorkAreas) {
            holdingWorkAreas = true;
            skinned.Hold();
        }
        OnWindowPosChanging(pos);
        return;
    }
    skinned.Hold();
    OnWindowPosChanging(pos);
    skinned.Release();
}

void SmallWindow::ReleaseHeldWorkAreas() {
    if (!holdingWorkAreas) return;
    holdingWorkAreas = false;
    skinned.Release();
}

void SmallWindow::OnInitMenuPopup(HMENU menu, UINT index, bool isSystemMenu) {
    Window::OnInitMenuPopup(menu, index, isSystemMenu);
    PrepareMenuItems(menu, &HasMenuIcon);
}

void SmallWindow::Paint(HDC) {}

LRESULT SmallWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            OnActivate(wParam);
            break;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            if (dc) Paint(dc);
            EndPaint(window, &paint);
            break;
        }
        case WM_ERASEBKGND:
            // Paint covers the whole window; erasing first would only flicker.
            return 1;
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (item && MeasureMenuItem(*item)) return TRUE;
            break;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item && DrawMenuItem(*item)) return TRUE;
            break;
        }
        case WM_MENUCHAR:
            if (!(HIWORD(wParam) & MF_SYSMENU))
                return MenuCharAnswer(reinterpret_cast<HMENU>(lParam), LOWORD(wParam));
            break;
        case WM_WINDOWPOSCHANGING:
            if (lParam) OnPositionChanging(window, *reinterpret_cast<WINDOWPOS*>(lParam));
            break;
        case WM_TIMER:
            if (wParam == kFadeTimer) FadeStep();
            break;
        case WM_LBUTTONDOWN:
            // A press anywhere on the body starts the system's move loop as if
            // the window had a caption there.
            Send(WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(GetMessagePos()));
            break;
        case WM_SIZING:
            sizing = true;
            break;
        case WM_CAPTURECHANGED:
            ReleaseHeldWorkAreas();
            sizing = false;
            break;
        case WM_NCDESTROY:
            // The window goes before the object: the set forgets it now, so
            // an owner may let the set go before this base.
            LeaveSet();
            break;
        default:
            break;
    }
    return Window::HandleMessage(window, message, wParam, lParam);
}
