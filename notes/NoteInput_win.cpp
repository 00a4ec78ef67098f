// The note's message handler: activation and the mask, keys, the mouse, the
// skin buttons drawn on the frame, the resize grip with its grid and corner
// snapping, the hover timer, and when a move is saved.

#include <algorithm>

#include "arrange/Rect_win.h"
#include "notes/NoteLayout.h"
#include "notes/NoteSizing.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "skin/Skin_win.h"
#include "ui/Clipboard_win.h"
#include "ui/PrivateMessages_win.h"

namespace {

POINT ClientPointOf(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

using NoteGeometry::NoteButton;

NoteButton NoteWindow::ButtonAt(Point p) const {
    if (masked) return NoteButton::None;
    const RECT c = ClientRect();
    return NoteGeometry::ButtonAt(p, c.right - c.left, c.bottom - c.top, metrics);
}

void NoteWindow::InvalidateButton(NoteButton button) {
    if (button == NoteButton::None || !Handle()) return;
    const RECT r = ButtonRect(button, ClientRect());
    // No erase: Paint draws the frame under the face again, clipped to it.
    InvalidateRect(Handle(), &r, FALSE);
}

void NoteWindow::SetHotButton(NoteButton button) {
    if (button == hotButton) return;
    InvalidateButton(hotButton);
    hotButton = button;
    InvalidateButton(hotButton);
    // The system tells when the cursor leaves the note; a button lit until
    // then would stay lit.
    if (button != NoteButton::None && !trackingLeave) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = Handle();
        trackingLeave = TrackMouseEvent(&track) != FALSE;
    }
}

// A press on a button captures the mouse; the click counts when the button is
// released over the same button, as with a push button.
bool NoteWindow::OnButtonMouse(UINT message, LPARAM lParam) {
    const POINT p = ClientPointOf(lParam);
    const NoteButton under = ButtonAt({p.x, p.y});
    switch (message) {
        case WM_MOUSEMOVE:
            if (pressedButton != NoteButton::None) {
                SetHotButton(under == pressedButton ? under : NoteButton::None);
                return true;
            }
            SetHotButton(under);
            return false;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // A second quick click on a button is a second click, not a double
            // click on the note.
            if (under == NoteButton::None) return false;
            pressedButton = under;
            SetHotButton(under);
            InvalidateButton(under);
            SetCapture(Handle());
            return true;
        case WM_LBUTTONUP: {
            if (pressedButton == NoteButton::None) return false;
            const NoteButton pressed = pressedButton;
            pressedButton = NoteButton::None;
            InvalidateButton(pressed);
            if (GetCapture() == Handle()) ReleaseCapture();
            if (under == pressed) OnButtonClick(pressed);
            return true;
        }
        default:
            return false;
    }
}

void NoteWindow::OnButtonClick(NoteButton button) {
    if (button == NoteButton::Menu) {
        ShowNoteMenu();
    } else if (button == NoteButton::Delete) {
        // Posted, as the menu command, so that the press is over (capture
        // released, button drawn up) before the delete question opens.
        Post(WM_COMMAND, MAKEWPARAM(IDM_NOTE_DELETE, 0), 0);
    }
}

LRESULT NoteWindow::OnGetText(WPARAM size, LPARAM buffer) const {
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    if (!out || size == 0) return 0;
    // While the note is edited, what is typed: what a save would keep.
    const std::wstring shown = LiveText();
    const size_t count = std::min<size_t>(shown.size(), size - 1);
    shown.copy(out, count);
    out[count] = L'\0';
    return static_cast<LRESULT>(count);
}

// Every position change is saved at once, except during the user's own move
// or resize: then the file is written once, when the move ends. A change of
// Z order, of activation or of visibility alone changes nothing in the file.
void NoteWindow::OnPositionChanged(const WINDOWPOS& pos) {
    if (!(pos.flags & SWP_NOSIZE)) UpdateShape();
    if ((pos.flags & SWP_NOMOVE) && (pos.flags & SWP_NOSIZE)) return;
    const RECT now = WindowRect();
    record.rect = ToPortable(now);
    if (SameRect(now, lastRect)) return;
    lastRect = now;
    if (inMoveLoop) {
        moveUnsaved = true;
        return;
    }
    host.NotesChanged();
}

void NoteWindow::SaveFinishedMove() {
    inMoveLoop = false;
    if (!moveUnsaved) return;
    moveUnsaved = false;
    host.NotesChanged();
}

bool NoteWindow::InResizeGrip(POINT p) const {
    if (metrics.fixedSize) return false;
    RECT c = ClientRect();
    Rect grip = NoteGeometry::ResizeGripRect(ToPortable(c), metrics.resizeRect);
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
    if (record.locked) SetClickThrough(!active);
}

void NoteWindow::OnKeyDown(WPARAM key) {
    if (key == VK_TAB) {
        host.ActivateNextNote(this);
        return;
    }
    if (key == VK_RETURN) {
        BeginEdit(false);
        return;
    }
    if (GetKeyState(VK_CONTROL) >= 0) {
        // Delete asks even when the setting says not to: it is easily hit by
        // accident, unlike the button or Ctrl+D.
        if (key == VK_DELETE) DeleteNote(true);
        return;
    }
    switch (key) {
        case 'D':
            DeleteNote(false);
            break;
        case 'A':
            ToggleAlwaysOnTop();
            break;
        case 'C':
            CopyTextToClipboard(Handle(), record.text);
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
}

void NoteWindow::OnSizing(RECT& proposed) {
    std::vector<Rect> others;
    const auto& notes = host.Notes();
    if (notes.size() > 1) {
        others.reserve(notes.size() - 1);
        for (const auto& other : notes) {
            if (other.get() == this) continue;
            others.push_back(ToPortable(other->WindowRect()));
        }
    }
    Rect snapped =
        NoteGeometry::SnapGripSizing(ToPortable(proposed), metrics.maskInsets, Grid(), others);
    proposed = ToWin32(snapped);
}

LRESULT NoteWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HandlerScope running(*this);
    if (!closing) return HandleNoteMessage(window, message, wParam, lParam);
    // A closing note waits, hidden, to be destroyed: what still reaches it (a
    // posted command, a key, a timer that was due) must not act on it, and a
    // WM_CLOSE must not destroy its window under the host.
    if (message == WM_CLOSE) return 0;
    if (message == WM_DESTROY || message == WM_NCDESTROY)
        return SmallWindow::HandleMessage(window, message, wParam, lParam);
    return DefaultProcessing(window, message, wParam, lParam);
}

LRESULT NoteWindow::HandleNoteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            OnActivate(wParam);
            break;
        case WM_SETFOCUS:
            // An activation that comes after the editor opened (a window
            // manager's, granted late) focuses the note: typing belongs in
            // the editor. Focus handed over by the closing editor stays.
            if (editor && editor->Handle() && !openingEditor && !closingEditor) {
                SetFocus(editor->Handle());
                return 0;
            }
            break;
        case WM_CLOSE:
            // Closed from outside (another program, a test): out of the list
            // without saving, as when the program ends.
            host.CloseNote(*this);
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && !metrics.fixedSize) {
                DWORD pos = GetMessagePos();
                POINT p = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
                Rect grip =
                    NoteGeometry::ResizeGripRect(ToPortable(WindowRect()), metrics.resizeRect);
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
            // Whoever sizes the note (a load, tiling, fitting, another skin's
            // record), a fixed-size skin's note stays its background's size.
            const Rect fixed = NoteGeometry::FixedSizeWindow({0, 0, pos->cx, pos->cy}, metrics);
            pos->cx = fixed.right;
            pos->cy = fixed.bottom;
            LayoutForSize(pos->cx, pos->cy);
            return result;
        }
        case WM_WINDOWPOSCHANGED:
            if (lParam) OnPositionChanged(*reinterpret_cast<const WINDOWPOS*>(lParam));
            break;
        case WM_ENTERSIZEMOVE:
            inMoveLoop = true;
            break;
        case WM_EXITSIZEMOVE:
            SaveFinishedMove();
            break;
        case WM_CAPTURECHANGED:
            // The loop has lost the mouse: the move is over whether or not
            // WM_EXITSIZEMOVE follows. A button press loses its capture too.
            if (inMoveLoop) SaveFinishedMove();
            if (pressedButton != NoteButton::None) {
                InvalidateButton(pressedButton);
                pressedButton = NoteButton::None;
            }
            break;
        case WM_MOUSELEAVE:
            trackingLeave = false;
            if (pressedButton == NoteButton::None) SetHotButton(NoteButton::None);
            break;
        case WM_GETTEXT:
            return OnGetText(wParam, lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(LiveText().size());
        case WM_KEYDOWN:
            // A key typed in the note, or a click on it, is the user's answer
            // to a fired alarm's pulse.
            StopPulse();
            OnKeyDown(wParam);
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
            if (wParam == kNotePulseTimer) PulseStep();
            if (wParam == kNoteTypingTimer) {
                KillTimer(Handle(), kNoteTypingTimer);
                typingSaveDue = false;
                host.NotesChanged();
            }
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                  message, wParam, lParam);
        case WM_MOUSEMOVE:
            if (HasMask()) UpdateMask();
            if (OnButtonMouse(message, lParam)) return 0;
            break;
        case WM_LBUTTONUP:
            if (OnButtonMouse(message, lParam)) return 0;
            break;
        case WM_LBUTTONDOWN:
            StopPulse();
            if (OnButtonMouse(message, lParam)) return 0;
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
            StopPulse();
            if (OnButtonMouse(message, lParam)) return 0;
            if (InResizeGrip(ClientPointOf(lParam)))
                ResizeToContent();
            else if (!record.locked)
                BeginEdit(false);
            break;
        case WM_MBUTTONDOWN:
            StopPulse();
            if (frameForced) {
                frameForced = false;
                if (HasMask()) UpdateMask();
            }
            if (editor) EndEdit(false, true);
            break;
        case WM_RBUTTONDOWN:
            StopPulse();
            if (editor) EndEdit(false, true);
            break;
        case WM_RBUTTONUP:
            ShowNoteMenu();
            break;
        case WM_SIZING:
            if ((wParam & WMSZ_BOTTOMRIGHT) && lParam) OnSizing(*reinterpret_cast<RECT*>(lParam));
            break;
        case kEndNoteEditMessage:
            if (editor) EndEdit(wParam != 0, lParam != 0);
            break;
        default:
            break;
    }
    return SmallWindow::HandleMessage(window, message, wParam, lParam);
}
