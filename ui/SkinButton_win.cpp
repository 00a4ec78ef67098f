#include "ui/SkinButton_win.h"
#include "base/Handles_win.h"
#include "base/MemoryDc_win.h"
#include "ui/PrivateMessages_win.h"

namespace {

constexpr const wchar_t* kClassName = L"Zephyn3 HotControl";

}  // namespace

HotControl::HotControl(HWND parent) {
    if (!RegisterSharedClass(kClassName, 0, LoadCursorW(nullptr, IDC_ARROW), nullptr)) return;
    CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, parent, nullptr,
                    GetModuleHandleW(nullptr), this);
}

void HotControl::Poll(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    POINT screen = {};
    GetCursorPos(&screen);
    POINT local = screen;
    ScreenToClient(window, &local);
    const bool oldPressed = pressed, oldHover = hover;
    if (IsWindowEnabled(window)) {
        // WindowFromPoint makes a menu or window lying over the button count as "off".
        hover = local.x >= client.left && local.x < client.right && local.y >= client.top &&
                local.y < client.bottom && WindowFromPoint(screen) == window;
    } else {
        hover = false;
        pressed = false;
        if (GetCapture() == window) ReleaseCapture();
    }
    if (hover != oldHover || pressed != oldPressed) InvalidateRect(window, nullptr, TRUE);
}

// The poll runs only while the cursor is on the control or the control is
// pressed: with two buttons on each of a thousand notes, timers that ran all
// the time would wake the program forty thousand times a second.
void HotControl::StartPolling(HWND window) {
    if (polling) return;
    polling = SetTimer(window, kButtonHoverTimer, kHoverInterval, nullptr) != 0;
    Poll(window);
}

void HotControl::StopPolling(HWND window) {
    if (!polling) return;
    KillTimer(window, kButtonHoverTimer);
    polling = false;
}

void HotControl::EndPress(HWND window) {
    pressed = false;
    InvalidateRect(window, nullptr, TRUE);
    if (GetCapture() == window) ReleaseCapture();
}

LRESULT HotControl::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE:
            StartPolling(window);
            break;
        case WM_DESTROY:
            StopPolling(window);
            break;
        case WM_TIMER:
            if (wParam == kButtonHoverTimer) {
                Poll(window);
                if (!hover && !pressed) StopPolling(window);
            }
            break;
        case WM_LBUTTONDOWN:
            StartPolling(window);
            if (!pressed) {
                pressed = true;
                InvalidateRect(window, nullptr, TRUE);
                SetCapture(window);
            }
            break;
        case WM_LBUTTONUP:
            if (pressed) {
                EndPress(window);
                // The last poll decides: a release right after sliding on or
                // off the button counts by where the cursor was then.
                if (hover) OnClick();
            }
            break;
        case WM_KILLFOCUS:
            if (pressed) EndPress(window);
            break;
        default:
            break;
    }
    return Window::HandleMessage(window, message, wParam, lParam);
}

SkinButton::~SkinButton() {
    bitmaps.Clear();
}

void SkinButton::SetBitmaps(const ButtonBitmaps& set) {
    bitmaps = set;
    if (bitmaps.normal) Resize(bitmaps.normal->Width(), bitmaps.normal->Height(), true);
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

const SkinBitmapRef& SkinButton::CurrentBitmap() const {
    if (Handle() && !IsWindowEnabled(Handle())) return bitmaps.disabled;
    if (hover) return pressed ? bitmaps.down : bitmaps.hover;
    return bitmaps.normal;
}

void SkinButton::DrawFace(HDC dc) const {
    const SkinBitmapRef& face = CurrentBitmap();
    if (!face || !dc) return;
    MemoryDc memoryDc(dc);
    if (!memoryDc) return;
    face->Select(memoryDc.Get());
    face->DrawTransparent(dc, 0, 0);
    face->Deselect();
}

LRESULT SkinButton::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The control never handles WM_PAINT: it draws when its background is
    // erased, which every invalidation above asks for.
    if (message == WM_ERASEBKGND) {
        if (HDC dc = reinterpret_cast<HDC>(wParam)) {
            DrawFace(dc);
        } else if (WindowDc own(window); own) {
            DrawFace(own.Get());
        }
    }
    return HotControl::HandleMessage(window, message, wParam, lParam);
}
