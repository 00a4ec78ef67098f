#include "ui/SmallWindow_win.h"

#include <algorithm>

#include "ui/MenuIcons_win.h"
#include "ui/MenuItems_win.h"
#include "ui/Menu_win.h"
#include "ui/PrivateMessages_win.h"

namespace {

constexpr const wchar_t* kClassName = L"Zephyn3 SmallWindow";
constexpr int kIconResource = 129;

uint8_t globalAlpha = 128;
SnapHooks snapHooks;

std::vector<SmallWindow*>& List() {
    static std::vector<SmallWindow*> list;
    return list;
}

bool RegisterWindowClass() {
    static bool registered = false;
    if (registered) return true;
    HINSTANCE module = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_NOCLOSE;
    windowClass.lpfnWndProc = &SharedWindowProc;
    windowClass.hInstance = module;
    windowClass.hIcon = LoadIconW(module, MAKEINTRESOURCEW(kIconResource));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    registered =
        RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return registered;
}

}  // namespace

const std::vector<SmallWindow*>& SmallWindowList() {
    return List();
}

SmallWindow::SmallWindow() {
    List().push_back(this);
}

SmallWindow::~SmallWindow() {
    auto& list = List();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    // The WM_CAPTURECHANGED of the coming destruction reaches only the base
    // handler, so a hold taken for a move in progress is given back here.
    ReleaseHeldWorkAreas();
}

bool SmallWindow::Create(bool layeredWindow, bool startOpaque) {
    return Create(layeredWindow, startOpaque, RECT{0, 0, 1, 1}, 0);
}

bool SmallWindow::Create(bool layeredWindow, bool startOpaque, const RECT& rect,
                         DWORD extraExStyle) {
    alpha = targetAlpha = startOpaque ? 255 : globalAlpha;
    layered = layeredWindow;
    RegisterWindowClass();
    {
        AttachScope attach(this, false);
        // The tool-window style keeps the windows off the taskbar.
        CreateWindowExW(WS_EX_TOOLWINDOW | (layered ? WS_EX_LAYERED : 0) | extraExStyle, kClassName,
                        nullptr, WS_POPUP | WS_CLIPSIBLINGS, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top, GetDesktopWindow(), nullptr,
                        GetModuleHandleW(nullptr), nullptr);
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
    if (alpha == globalAlpha) {
        // Likewise a fade toward opacity that has just begun.
        if (fading) StartFade(globalAlpha, false);
        return;
    }
    StartFade(globalAlpha, globalAlpha >= alpha);
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
    const int target = GetForegroundWindow() == Handle() ? 255 : globalAlpha;
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

void SmallWindow::SetGlobalAlpha(uint8_t value) {
    globalAlpha = value;
    for (SmallWindow* window : List()) {
        if (!window->fadeEnabled || window->alpha == value) continue;
        // Active windows are opaque or on their way there; they take the new
        // level when they next lose activation.
        bool towardOpaque = window->fading ? window->targetAlpha == 255 : window->alpha == 255;
        if (towardOpaque) continue;
        window->StartFade(value, value >= window->alpha);
    }
}

uint8_t SmallWindow::GlobalAlpha() {
    return globalAlpha;
}

void SmallWindow::SetSnapHooks(const SnapHooks& hooks) {
    snapHooks = hooks;
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
    if (snapHooks.snap) snapHooks.snap(*this, pos);
}

void SmallWindow::OnPositionChanging(HWND window, WINDOWPOS& pos) {
    // The system's move and size loops capture the mouse for the whole drag:
    // one hold serves every position change until the capture goes.
    if (GetCapture() == window) {
        if (!holdingWorkAreas) {
            holdingWorkAreas = true;
            if (snapHooks.holdWorkAreas) snapHooks.holdWorkAreas();
        }
        OnWindowPosChanging(pos);
        return;
    }
    if (snapHooks.holdWorkAreas) snapHooks.holdWorkAreas();
    OnWindowPosChanging(pos);
    if (snapHooks.releaseWorkAreas) snapHooks.releaseWorkAreas();
}

void SmallWindow::ReleaseHeldWorkAreas() {
    if (!holdingWorkAreas) return;
    holdingWorkAreas = false;
    if (snapHooks.releaseWorkAreas) snapHooks.releaseWorkAreas();
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
        default:
            break;
    }
    return Window::HandleMessage(window, message, wParam, lParam);
}
