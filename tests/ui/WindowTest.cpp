#include "ui/Window_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "tests/ui/TestWindow.h"
#include "ui/WindowList_win.h"

namespace {

bool InWindowList(const Window* object) {
    const auto& items = WindowList::Items();
    return std::find(items.begin(), items.end(), object) != items.end();
}

Window* UserData(HWND window) {
    return reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// A window class of its own procedure, standing in for a system control that
// gets subclassed: it records what reaches it and answers WM_COMMAND with 77.
std::vector<UINT> rawMessages;

LRESULT CALLBACK RawProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    rawMessages.push_back(message);
    if (message == WM_COMMAND) return 77;
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateRawWindow() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &RawProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VnTest Raw";
        registered = RegisterClassExW(&windowClass) != 0;
    }
    return CreateWindowExW(0, L"VnTest Raw", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

class SubclassedRaw : public RecordingWindow {
public:
    bool CreateSubclassed() {
        AttachScope attach(this, true);
        created = CreateRawWindow();
        return created != nullptr;
    }
};

}  // namespace

// ---- binding and unbinding ----

TEST(WindowBinding, BindsAtNcCreateBeforeAnyOtherMessageReachesTheObject) {
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    EXPECT_EQ(window.Handle(), window.created);
    EXPECT_EQ(window.handleAtNcCreate, window.created);
    // WM_GETMINMAXINFO comes before WM_NCCREATE and gets default handling.
    ASSERT_FALSE(window.messages.empty());
    EXPECT_EQ(window.messages.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(UserData(window.Handle()), &window);
    EXPECT_TRUE(InWindowList(&window));
    EXPECT_EQ(WindowFromHandle(window.Handle()), &window);
}

TEST(WindowBinding, NoBindingWithoutAnAttachAndNoHookLeftBehind) {
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    // After EndAttach nothing binds a new window of the same class.
    HWND stray = CreateWindowExW(0, RecordingWindow::kClassName, L"", WS_POPUP, 0, 0, 10, 10,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(stray, nullptr);
    EXPECT_EQ(UserData(stray), nullptr);
    EXPECT_EQ(WindowFromHandle(stray), nullptr);
    DestroyWindow(stray);
    EXPECT_EQ(window.Handle(), window.created);
}

TEST(WindowBinding, AttachesDoNotNest) {
    RecordingWindow outer, inner;
    ASSERT_TRUE(Window::BeginAttach(&outer, false));
    EXPECT_FALSE(Window::BeginAttach(&inner, false));
    Window::EndAttach();
    EXPECT_TRUE(Window::BeginAttach(&inner, false));
    Window::EndAttach();
    EXPECT_EQ(inner.Handle(), nullptr);
}

TEST(WindowBinding, ABoundObjectCannotTakeASecondWindow) {
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    EXPECT_FALSE(Window::BeginAttach(&window, false));
}

TEST(WindowBinding, AnObjectDeletedWhileAttachIsOpenIsNotBound) {
    RecordingWindow::Register();
    auto doomed = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(Window::BeginAttach(doomed.get(), false));
    doomed.reset();
    HWND window = CreateWindowExW(0, RecordingWindow::kClassName, L"", WS_POPUP, 0, 0, 10, 10,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    Window::EndAttach();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(UserData(window), nullptr);
    DestroyWindow(window);
}

TEST(WindowBinding, BindsTheCreatedWindowOnAFreshThreadToo) {
    // A thread's first window makes the system create an input-method window
    // as well; the object must end up bound to the window that was asked for.
    bool bound = false;
    std::thread worker([&bound] {
        RecordingWindow window;
        if (window.Create()) bound = window.Handle() == window.created;
    });
    worker.join();
    EXPECT_TRUE(bound);
}

TEST(WindowUnbinding, DestroyedWindowUnbindsItsObject) {
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    HWND handle = window.Handle();
    ASSERT_TRUE(DestroyWindow(handle));
    EXPECT_TRUE(window.Saw(WM_NCDESTROY));
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_FALSE(InWindowList(&window));
    EXPECT_EQ(WindowFromHandle(handle), nullptr);
    EXPECT_FALSE(window.Destroy());
}

TEST(WindowUnbinding, ChildDestroyedWithItsParentLeavesAValidUnboundObject) {
    RecordingWindow parent;
    ASSERT_TRUE(parent.Create());
    auto child = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(child->Create(parent.Handle()));
    ASSERT_TRUE(parent.Destroy());
    EXPECT_EQ(parent.Handle(), nullptr);
    EXPECT_EQ(child->Handle(), nullptr);
    EXPECT_FALSE(InWindowList(child.get()));
    size_t seen = child->messages.size();
    child.reset();  // must not touch the dead window
    EXPECT_GT(seen, 0u);
}

TEST(WindowUnbinding, DeletingTheObjectDestroysItsWindow) {
    auto window = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(window->Create());
    HWND handle = window->Handle();
    window.reset();
    EXPECT_FALSE(IsWindow(handle));
}

TEST(WindowUnbinding, SubclassedWindowGetsItsProcedureBackAndStillSeesNcDestroy) {
    SubclassedRaw window;
    ASSERT_TRUE(window.CreateSubclassed());
    HWND handle = window.Handle();
    EXPECT_EQ(GetWindowLongPtrW(handle, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&SharedWindowProc));
    rawMessages.clear();
    ASSERT_TRUE(window.Destroy());
    EXPECT_TRUE(window.Saw(WM_NCDESTROY));
    // The control's own procedure frees its state at WM_NCDESTROY.
    EXPECT_NE(std::find(rawMessages.begin(), rawMessages.end(), static_cast<UINT>(WM_NCDESTROY)),
              rawMessages.end());
    EXPECT_EQ(window.Handle(), nullptr);
}

// ---- message routing ----

TEST(WindowRouting, CommandHandledByOnCommandIsSwallowed) {
    SubclassedRaw window;
    ASSERT_TRUE(window.CreateSubclassed());
    window.commandResult = false;
    rawMessages.clear();
    HWND control = reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x1234));
    LRESULT result = window.Send(WM_COMMAND, MAKEWPARAM(42, 7), reinterpret_cast<LPARAM>(control));
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(rawMessages.empty());
    ASSERT_EQ(window.commands.size(), 1u);
    EXPECT_EQ(window.commands[0].id, 42);
    EXPECT_EQ(window.commands[0].notification, 7);
    EXPECT_EQ(window.commands[0].control, control);
}

TEST(WindowRouting, CommandNotHandledGoesToThePreviousProcedure) {
    SubclassedRaw window;
    ASSERT_TRUE(window.CreateSubclassed());
    window.commandResult = true;
    rawMessages.clear();
    EXPECT_EQ(window.Send(WM_COMMAND, MAKEWPARAM(5, 0), 0), 77);
    EXPECT_EQ(rawMessages.size(), 1u);
}

TEST(WindowRouting, InitMenuPopupReachesTheObject) {
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    HMENU menu = CreatePopupMenu();
    window.Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(3, 1));
    EXPECT_EQ(window.popupMenu, menu);
    EXPECT_EQ(window.popupIndex, 3u);
    EXPECT_TRUE(window.popupIsSystem);
    window.Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, 0));
    EXPECT_FALSE(window.popupIsSystem);
    DestroyMenu(menu);
}

TEST(WindowRouting, SubclassedEditControlKeepsWorking) {
    RecordingWindow parent;
    ASSERT_TRUE(parent.Create());
    RecordingWindow edit;
    {
        AttachScope attach(&edit, true);
        ASSERT_TRUE(attach.Ok());
        CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, parent.Handle(),
                        nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ASSERT_NE(edit.Handle(), nullptr);
    wchar_t className[16] = {};
    GetClassNameW(edit.Handle(), className, 16);
    EXPECT_STREQ(className, L"Edit");
    edit.messages.clear();
    SetWindowTextW(edit.Handle(), L"some text");
    EXPECT_TRUE(edit.Saw(WM_SETTEXT));
    std::wstring text;
    edit.GetText(text);
    EXPECT_EQ(text, L"some text");
}

TEST(PreTranslation, StopsAtTheFirstObjectThatConsumes) {
    RecordingWindow first, second;
    ASSERT_TRUE(first.Create());
    ASSERT_TRUE(second.Create());
    MSG message = {};
    message.message = WM_KEYDOWN;
    EXPECT_TRUE(WindowList::PreTranslate(message));
    EXPECT_EQ(first.preTranslateCalls, 1);
    EXPECT_EQ(second.preTranslateCalls, 1);

    first.preTranslateResult = false;
    EXPECT_FALSE(WindowList::PreTranslate(message));
    EXPECT_EQ(first.preTranslateCalls, 2);
    EXPECT_EQ(second.preTranslateCalls, 1);
}

namespace {

// Destroys another window from inside the walk, as a dialog's keyboard
// navigation can.
class DestroyingWindow : public RecordingWindow {
public:
    bool PreTranslate(MSG& message) override {
        if (victim) victim->Destroy();
        return RecordingWindow::PreTranslate(message);
    }
    Window* victim = nullptr;
};

}  // namespace

TEST(PreTranslation, SurvivesWindowsDestroyedDuringTheWalk) {
    DestroyingWindow first;
    RecordingWindow second, third;
    ASSERT_TRUE(first.Create());
    ASSERT_TRUE(second.Create());
    ASSERT_TRUE(third.Create());
    first.victim = &second;
    MSG message = {};
    EXPECT_TRUE(WindowList::PreTranslate(message));
    EXPECT_EQ(second.preTranslateCalls, 0);
}

// ---- thin operations ----

TEST(WindowOperations, GeometryFollowsTheCalls) {
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    EXPECT_TRUE(window.Move(30, 40));
    EXPECT_TRUE(window.Resize(120, 80, false));
    RECT rect = window.WindowRect();
    EXPECT_EQ(rect.left, 30);
    EXPECT_EQ(rect.top, 40);
    EXPECT_EQ(rect.right - rect.left, 120);
    EXPECT_EQ(rect.bottom - rect.top, 80);

    RECT wanted = {-50, 10, 150, 60};
    EXPECT_TRUE(window.SetRect(wanted));
    rect = window.WindowRect();
    EXPECT_EQ(rect.left, -50);
    EXPECT_EQ(rect.right, 150);
    EXPECT_EQ(rect.bottom, 60);
    RECT client = window.ClientRect();
    EXPECT_EQ(client.left, 0);
    EXPECT_LE(client.right, 200);
}

TEST(WindowOperations, TopmostAndRaise) {
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    EXPECT_FALSE(window.IsTopmost());
    EXPECT_TRUE(window.RaiseUnlessTopmost());
    EXPECT_TRUE(window.SetTopmost(true));
    EXPECT_TRUE(window.IsTopmost());
    EXPECT_FALSE(window.RaiseUnlessTopmost());
    EXPECT_TRUE(window.IsTopmost());
    EXPECT_TRUE(window.SetTopmost(false));
    EXPECT_FALSE(window.IsTopmost());
}

TEST(WindowOperations, BringToForegroundFromTheForegroundThread) {
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    ShowWindow(window.Handle(), SW_SHOW);
    EXPECT_TRUE(window.BringToForeground(true));
    EXPECT_EQ(GetForegroundWindow(), window.Handle());
    // Forcing again from the foreground window's own thread attaches nothing
    // and still succeeds.
    EXPECT_TRUE(window.BringToForeground(true));
    EXPECT_TRUE(window.BringToForeground(false));
}

TEST(WindowOperations, GetTextOfEmptyAndLongTitles) {
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    std::wstring text = L"stale";
    window.GetText(text);
    EXPECT_EQ(text, L"");
    std::wstring title(300, L'x');
    title += L"\u00e9nd";
    SetWindowTextW(window.Handle(), title.c_str());
    window.GetText(text);
    EXPECT_EQ(text, title);
}

TEST(WindowOperations, OperationsOnAnUnboundObjectFailQuietly) {
    RecordingWindow window;
    EXPECT_FALSE(window.Destroy());
    EXPECT_FALSE(window.Move(1, 1));
    EXPECT_FALSE(window.Post(WM_NULL));
    std::wstring text = L"x";
    window.GetText(text);
    EXPECT_TRUE(text.empty());
    window.ShowPopupMenu(nullptr, false);
    EXPECT_FALSE(window.InPopupMenu());
}

TEST(VirtualScreen, SpansTheSystemMetrics) {
    RECT rect = VirtualScreenRect();
    EXPECT_EQ(rect.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_EQ(rect.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
    EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(rect.bottom - rect.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_GT(rect.right, rect.left);
}
