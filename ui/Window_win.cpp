#include "ui/Window_win.h"

#include "lang/LanguageTable.h"
#include "ui/WindowList_win.h"

namespace {

// State of the one creation in progress. Attaches never nest: child windows
// are created after their parent's creation call has returned.
struct PendingAttach {
    HHOOK hook = nullptr;
    Window* object = nullptr;
    bool subclass = false;
};

PendingAttach pending;

// The system creates a default input-method window for a thread the first
// time that thread creates a window, and that window's WM_NCCREATE passes our
// hook too, possibly before the window we are creating. It must never take
// the pending object.
bool IsInputMethodWindow(HWND window) {
    wchar_t name[32] = {};
    if (!GetClassNameW(window, name, 32)) return false;
    return lstrcmpiW(name, L"IME") == 0 || lstrcmpiW(name, L"MSCTFIME UI") == 0;
}

}  // namespace

Window::Window() = default;

Window::~Window() {
    if (pending.object == this) pending.object = nullptr;
    if (hwnd) {
        HWND window = hwnd;
        DestroyWindow(window);
        // DestroyWindow fails for a window of another thread; the window must
        // not keep pointing at an object that is going away.
        if (hwnd) Unbind(window);
    }
    WindowList::Remove(this);
}

bool Window::BeginAttach(Window* object, bool subclass) {
    if (!object || pending.hook || object->hwnd) return false;
    pending.object = object;
    pending.subclass = subclass;
    pending.hook =
        SetWindowsHookExW(WH_CALLWNDPROC, &Window::AttachHookProc, nullptr, GetCurrentThreadId());
    if (!pending.hook) {
        pending = PendingAttach();
        return false;
    }
    return true;
}

void Window::EndAttach() {
    if (pending.hook) UnhookWindowsHookEx(pending.hook);
    pending = PendingAttach();
}

LRESULT CALLBACK Window::AttachHookProc(int code, WPARAM wParam, LPARAM lParam) {
    HHOOK hook = pending.hook;
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code >= 0 && call && call->message == WM_NCCREATE && pending.object &&
        !pending.object->hwnd && !IsInputMethodWindow(call->hwnd)) {
        Window* object = pending.object;
        // Only the first window is bound: the dialog itself, not the
        // controls its template creates afterwards.
        pending.object = nullptr;
        object->hwnd = call->hwnd;
        SetWindowLongPtrW(call->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
        WindowList::Add(object);
        if (pending.subclass) {
            object->previousProc =
                reinterpret_cast<WNDPROC>(GetWindowLongPtrW(call->hwnd, GWLP_WNDPROC));
            SetWindowLongPtrW(call->hwnd, GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(&SharedWindowProc));
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

void Window::Unbind(HWND window) {
    if (previousProc) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
        previousProc = nullptr;
    }
    hwnd = nullptr;
    WindowList::Remove(this);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

LRESULT Window::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCDESTROY: {
            WNDPROC previous = previousProc;
            Unbind(window);
            // A subclassed control frees its own state at WM_NCDESTROY (an edit
            // control its text buffer, a dialog its font), so its procedure must
            // still see the message.
            if (previous) return CallWindowProcW(previous, window, message, wParam, lParam);
            return DefWindowProcW(window, message, wParam, lParam);
        }
        case WM_COMMAND:
            if (OnCommand(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam))) return 0;
            break;
        case WM_INITMENUPOPUP:
            OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam) != 0);
            break;
        default:
            break;
    }
    return DefaultProcessing(window, message, wParam, lParam);
}

LRESULT Window::DefaultProcessing(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (previousProc) return CallWindowProcW(previousProc, window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

bool Window::OnCommand(WORD, WORD, HWND) {
    return false;
}

void Window::OnInitMenuPopup(HMENU, UINT, bool) {}

bool Window::PreTranslate(MSG&) {
    return true;
}

bool Window::Destroy() {
    if (!hwnd) return false;
    HWND window = hwnd;
    bool ok = DestroyWindow(window) != FALSE;
    if (hwnd) Unbind(window);
    return ok;
}

RECT Window::ClientRect() const {
    RECT rect = {};
    GetClientRect(hwnd, &rect);
    return rect;
}

RECT Window::WindowRect() const {
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    return rect;
}

bool Window::Resize(int width, int height, bool redraw) {
    UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (redraw ? 0 : SWP_NOREDRAW);
    return SetWindowPos(hwnd, nullptr, 0, 0, width, height, flags) != FALSE;
}

bool Window::Move(int x, int y, bool redraw) {
    UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (redraw ? 0 : SWP_NOREDRAW);
    return SetWindowPos(hwnd, nullptr, x, y, 0, 0, flags) != FALSE;
}

bool Window::SetRect(const RECT& rect, bool redraw) {
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (redraw ? 0 : SWP_NOREDRAW);
    return SetWindowPos(hwnd, nullptr, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, flags) != FALSE;
}

bool Window::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
    // A null window would turn this into a message to the thread's own queue.
    if (!hwnd) return false;
    return PostMessageW(hwnd, message, wParam, lParam) != FALSE;
}

LRESULT Window::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return SendMessageW(hwnd, message, wParam, lParam);
}

bool Window::SetTopmost(bool on) {
    return SetWindowPos(hwnd, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                        SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE) != FALSE;
}

bool Window::IsTopmost() const {
    return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

bool Window::RaiseUnlessTopmost() {
    if (IsTopmost()) return false;
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE) !=
           FALSE;
}

bool Window::BringToForeground(bool force) {
    if (!force) return SetForegroundWindow(hwnd) != FALSE;
    // The system lets only the thread that owns the foreground window hand
    // the foreground on; sharing its input state for the call lends us that right.
    DWORD current = GetCurrentThreadId();
    HWND foreground = GetForegroundWindow();
    DWORD foregroundThread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    bool attached = false;
    if (foregroundThread && foregroundThread != current)
        attached = AttachThreadInput(foregroundThread, current, TRUE) != FALSE;
    bool ok = SetForegroundWindow(hwnd) != FALSE;
    if (attached) AttachThreadInput(foregroundThread, current, FALSE);
    return ok;
}

void Window::GetText(std::wstring& text) const {
    int length = GetWindowTextLengthW(hwnd);
    text.assign(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    int copied = GetWindowTextW(hwnd, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
}

int Window::ShowMessage(const wchar_t* text, const wchar_t* caption, UINT type) const {
    return ::ShowMessage(hwnd, text, caption, type);
}

LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* object = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (object) return object->HandleMessage(window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

Window* WindowFromHandle(HWND window) {
    if (!window) return nullptr;
    auto* object = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    // GWLP_USERDATA is free for anyone's use: trust it only for our own objects.
    if (!object || !WindowList::Contains(object) || object->Handle() != window) return nullptr;
    return object;
}

int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    std::wstring title;
    if (!caption) {
        title = TextOf(kTitle_App);
        caption = title.c_str();
    }
    return MessageBoxW(owner, text ? text : L"", caption, type);
}

RECT VirtualScreenRect() {
    RECT rect;
    rect.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    rect.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    rect.right = rect.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    rect.bottom = rect.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    return rect;
}
