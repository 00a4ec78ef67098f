#include "ui/Window_win.h"

#include "base/ProgramInfo.h"

Window::Window() = default;

Window::~Window() {
    if (hwnd) {
        HWND window = hwnd;
        DestroyWindow(window);
        // DestroyWindow fails for a window of another thread; the window must
        // not keep pointing at an object that is going away.
        if (hwnd) Unbind(window);
    }
}

void Window::Bind(HWND window) {
    // An object serves one window at a time; a second creation stays unbound.
    if (hwnd) return;
    hwnd = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

bool Window::Subclass(HWND window) {
    if (hwnd || !window || !IsWindow(window)) return false;
    if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return false;
    if (GetWindowLongPtrW(window, GWLP_USERDATA) != 0) return false;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == &SharedWindowProc)
        return false;
    hwnd = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SharedWindowProc)));
    return true;
}

void Window::Unbind(HWND window) {
    if (previousProc) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
        previousProc = nullptr;
    }
    hwnd = nullptr;
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
    if (message == WM_NCCREATE && lParam) {
        // Only windows of our classes come here at creation, and their
        // creating code passes the object or nothing.
        auto* object =
            static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (object) object->Bind(window);
    }
    auto* object = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (object) return object->HandleMessage(window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

Window* WindowFromHandle(HWND window) {
    // GWLP_USERDATA is free for anyone's use: it is trusted only for windows of
    // this thread that run SharedWindowProc, which every bound window does (our
    // classes, our dialogs and the controls we subclassed) and only they do.
    if (!window || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        return nullptr;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) != &SharedWindowProc)
        return nullptr;
    auto* object = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!object || object->Handle() != window) return nullptr;
    return object;
}

bool RegisterSharedClass(const wchar_t* name, UINT style, HCURSOR cursor, HICON icon) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    if (GetClassInfoExW(module, name, &windowClass)) return true;
    windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = &SharedWindowProc;
    windowClass.hInstance = module;
    windowClass.hIcon = icon;
    windowClass.hCursor = cursor;
    windowClass.lpszClassName = name;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool PreTranslateKeyMessage(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return true;
    // From the window with the focus up to its top-level window: a control's
    // own object first, then its dialog or note. The next step is read before
    // the question, which may destroy the window (a dialog's Escape).
    HWND window = message.hwnd;
    while (window) {
        const bool child = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0;
        HWND next = child ? GetParent(window) : nullptr;
        Window* object = WindowFromHandle(window);
        if (object && !object->PreTranslate(message)) return false;
        window = next;
    }
    return true;
}

int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    if (!caption) caption = ProgramInfo::kProductName;
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
