// The note's message handler: activation and the mask, keys, the mouse, the
// resize grip with its grid and corner snapping, and the hover timer.

#include "notes/NoteLayout.h"
#include "notes/NoteSizing.h"
#include "notes/NoteWindow_win.h"
#include "skin/Skin_win.h"
#include "ui/Clipboard_win.h"
#include "ui/PrivateMessages_win.h"
#include "ui/SkinButton_win.h"

namespace {

POINT ClientPointOf(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

bool NoteWindow::InResizeGrip(POINT p) const {
    if (metrics.fixedSize) return false;
    RECT c = ClientRect();
    Rect grip =
        NoteGeometry::ResizeGripRect({c.left, c.top, c.right, c.bottom}, metrics.resizeRect);
    return grip.Contains({p.x, p.y});
}

void NoteWindow::OnActivate(WPARAM wParam) {
    const bool active = LOWORD(wParam) != WA_INACTIVE;
    if (HasMask() && Layered()) {
        if (active) {
            if (!hoverTimerRunning) {
                SetTimer(Handle(), kNoteHoverTimer, kHoverInterval, nullptr);
                hoverTimerRunning = true;
            }
        } else {
            frameForced = false;
            if (hoverTimerRunning) {
                KillTimer(Handle(), kNoteHoverTimer);
                hoverTimerRunning = false;
            }
        }
        UpdateMask();
    }
    if (locked) SetClickThrough(!active);
}

bool NoteWindow::OnKeyDown(WPARAM key) {
    if (key == VK_TAB) {
        host.ActivateNextNote(this);
        return true;
    }
    if (key == VK_RETURN) {
        BeginEdit(false);
        return true;
    }
    if (GetKeyState(VK_CONTROL) >= 0) {
        // Delete asks even when the setting says not to: it is easily hit by
        // accident, unlike the button or Ctrl+D.
        if (key == VK_DELETE) return !DeleteNote(true);
        return true;
    }
    switch (key) {
        case 'D':
            return !DeleteNote(false);
        case 'A':
            ToggleAlwaysOnTop();
            break;
        case 'C':
            CopyTextToClipboard(Handle(), text);
            break;
        case 'V':
            PasteText();
            break;
        case 'H':
            Hide();
            break;
        case 'Z':
            Undo();
            break;
        case 'Y':
            Redo();
            break;
        default:
            break;
    }
    return true;
}

void NoteWindow::OnSizing(RECT& proposed) {
    std::vector<Rect> others;
    const auto& notes = host.Notes();
    if (notes.size() > 1) {
        others.reserve(notes.size() - 1);
        for (NoteWindow* other : notes) {
            if (other == this) continue;
            RECT r = other->WindowRect();
            others.push_back({r.left, r.top, r.right, r.bottom});
        }
    }
    Rect snapped =
        NoteGeometry::SnapGripSizing({proposed.left, proposed.top, proposed.right, proposed.bottom},
                                     metrics.maskInsets, Grid(), others);
    proposed = RECT{snapped.left, snapped.top, snapped.right, snapped.bottom};
}

LRESULT NoteWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            OnActivate(wParam);
            break;
        case WM_CLOSE:
            delete this;
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && !metrics.fixedSize) {
                DWORD pos = GetMessagePos();
                POINT p = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
                RECT w = WindowRect();
                Rect grip = NoteGeometry::ResizeGripRect({w.left, w.top, w.right, w.bottom},
                                                         metrics.resizeRect);
                if (grip.Contains({p.x, p.y})) lParam = MAKELPARAM(HTBOTTOMRIGHT, HIWORD(lParam));
            }
            break;
        case WM_GETMINMAXINFO:
            if (lParam) {
                auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
                info->ptMinTrackSize.x = NoteSkin().backgroundWidth;
                info->ptMinTrackSize.y = NoteSkin().backgroundHeight;
            }
            break;
        case WM_WINDOWPOSCHANGING: {
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            if (!pos || (pos->flags & SWP_NOSIZE)) break;
            LRESULT result = SmallWindow::HandleMessage(window, message, wParam, lParam);
            LayoutForSize(pos->cx, pos->cy);
            return result;
        }
        case WM_WINDOWPOSCHANGED:
            host.SaveNotes();
            break;
        case WM_KEYDOWN:
            if (!OnKeyDown(wParam)) return 0;
            break;
        case WM_SYSKEYUP:
            if (wParam == VK_MENU) {
                frameForced = !frameForced;
                if (HasMask()) UpdateMask();
            }
            break;
        case WM_TIMER:
            if (wParam == kNoteHoverTimer) UpdateMask();
            if (wParam == kNoteAlarmTimer) CheckAlarm();
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                  message, wParam, lParam);
        case WM_MOUSEMOVE:
            if (HasMask()) UpdateMask();
            break;
        case WM_LBUTTONDOWN:
            if (frameForced) {
                frameForced = false;
                if (HasMask()) UpdateMask();
            }
            if (editor) EndEdit(false, true);
            if (InResizeGrip(ClientPointOf(lParam))) {
                Send(WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, static_cast<LPARAM>(GetMessagePos()));
                return 0;
            }
            break;
        case WM_LBUTTONDBLCLK:
            if (InResizeGrip(ClientPointOf(lParam)))
                ResizeToContent();
            else if (!locked)
                BeginEdit(false);
            break;
        case WM_MBUTTONDOWN:
            if (frameForced) {
                frameForced = false;
                if (HasMask()) UpdateMask();
            }
            if (editor) EndEdit(false, true);
            break;
        case WM_RBUTTONDOWN:
            if (editor) EndEdit(false, true);
            break;
        case WM_RBUTTONUP:
            ShowNoteMenu();
            break;
        case WM_SIZING:
            if ((wParam & WMSZ_BOTTOMRIGHT) && lParam) OnSizing(*reinterpret_cast<RECT*>(lParam));
            break;
        case kEndNoteEditMessage:
            if (editor && !EndEdit(wParam != 0, lParam != 0)) return 0;
            break;
        default:
            break;
    }
    return SmallWindow::HandleMessage(window, message, wParam, lParam);
}
