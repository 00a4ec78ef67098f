#include "ui/Window_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "tests/ui/TestWindow.h"
#include "ui/WindowList_win.h"

namespace {

Window* UserData(HWND window) {
    return reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Stands in for a system control that gets subclassed: records what reaches
// it and answers WM_COMMAND with 77.
std::vector<UINT> rawMessages;

LRESULT CALLBACK RawProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    rawMessages.push_back(message);
    if (message == WM_COMMAND) return 77;
    return DefWindowProcW(window, message, wParam, lParam);
}

class SubclassedRaw : public RecordingWindow {
public:
    bool CreateSubclassed() {
        RegisterTestClass(L"VnTest Raw", &RawProc);
        AttachScope attach(this, true);
        created = CreatePopup(L"VnTest Raw");
        rawMessages.clear();
        return created != nullptr;
    }
};

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

TEST(WindowBinding, BindsAtNcCreateAndOnlyWithinTheAttach) {
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    EXPECT_EQ(window.Handle(), window.created);
    EXPECT_EQ(window.handleAtNcCreate, window.created);
    // WM_GETMINMAXINFO comes before WM_NCCREATE and gets default handling.
    ASSERT_FALSE(window.messages.empty());
    EXPECT_EQ(window.messages.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(UserData(window.Handle()), &window);
    EXPECT_TRUE(WindowList::Contains(&window));
    EXPECT_EQ(WindowFromHandle(window.Handle()), &window);

    // The hook is gone: a later window of the same class stays unbound.
    HWND stray = CreatePopup(RecordingWindow::kClassName);
    ASSERT_NE(stray, nullptr);
    EXPECT_EQ(UserData(stray), nullptr);
    EXPECT_EQ(WindowFromHandle(stray), nullptr);
    DestroyWindow(stray);
}

TEST(WindowBinding, AttachRefusesNestingBoundObjectsAndDeletedOnes) {
    RecordingWindow outer, inner, bound;
    ASSERT_TRUE(bound.Create());
    EXPECT_FALSE(Window::BeginAttach(&bound, false));
    ASSERT_TRUE(Window::BeginAttach(&outer, false));
    EXPECT_FALSE(Window::BeginAttach(&inner, false));
    Window::EndAttach();

    // An object deleted while its attach is open is not bound.
    auto doomed = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(Window::BeginAttach(doomed.get(), false));
    doomed.reset();
    HWND window = CreatePopup(RecordingWindow::kClassName);
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
        bound = window.Create() && window.Handle() == window.created;
    });
    worker.join();
    EXPECT_TRUE(bound);
}

TEST(WindowUnbinding, DestroyingTheWindowOrTheObjectUnbinds) {
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    HWND handle = window.Handle();
    ASSERT_TRUE(DestroyWindow(handle));
    EXPECT_TRUE(window.Saw(WM_NCDESTROY));
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_FALSE(WindowList::Contains(&window));
    EXPECT_EQ(WindowFromHandle(handle), nullptr);
    EXPECT_FALSE(window.Destroy());

    auto owned = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(owned->Create());
    handle = owned->Handle();
    owned.reset();
    EXPECT_FALSE(IsWindow(handle));

    // A child destroyed with its parent leaves a valid unbound object.
    RecordingWindow parent;
    ASSERT_TRUE(parent.Create());
    auto child = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(child->Create(parent.Handle()));
    ASSERT_TRUE(parent.Destroy());
    EXPECT_EQ(child->Handle(), nullptr);
    EXPECT_FALSE(WindowList::Contains(child.get()));
    child.reset();  // must not touch the dead window
}

TEST(WindowRouting, SubclassedWindowRoutesThroughTheObjectAndGetsItsProcedureBack) {
    SubclassedRaw window;
    ASSERT_TRUE(window.CreateSubclassed());
    EXPECT_EQ(GetWindowLongPtrW(window.Handle(), GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&SharedWindowProc));
    // A command OnCommand handled is swallowed; others go on.
    window.commandResult = false;
    HWND control = reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x1234));
    EXPECT_EQ(window.Send(WM_COMMAND, MAKEWPARAM(42, 7), reinterpret_cast<LPARAM>(control)), 0);
    EXPECT_TRUE(rawMessages.empty());
    ASSERT_EQ(window.commands.size(), 1u);
    EXPECT_EQ(window.commands[0], std::make_tuple(WORD(42), WORD(7), control));
    window.commandResult = true;
    EXPECT_EQ(window.Send(WM_COMMAND, MAKEWPARAM(5, 0), 0), 77);
    EXPECT_EQ(rawMessages.size(), 1u);

    HMENU menu = CreatePopupMenu();
    window.Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(3, 1));
    EXPECT_EQ(window.popupMenu, menu);
    EXPECT_EQ(window.popupIndex, 3u);
    EXPECT_TRUE(window.popupIsSystem);
    DestroyMenu(menu);

    ASSERT_TRUE(window.Destroy());
    EXPECT_TRUE(window.Saw(WM_NCDESTROY));
    // The control's own procedure frees its state at WM_NCDESTROY.
    EXPECT_EQ(rawMessages.back(), static_cast<UINT>(WM_NCDESTROY));
}

TEST(WindowRouting, SubclassedEditControlKeepsWorking) {
    RecordingWindow parent, edit;
    ASSERT_TRUE(parent.Create());
    {
        AttachScope attach(&edit, true);
        ASSERT_TRUE(attach.Ok());
        CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, parent.Handle(),
                        nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ASSERT_NE(edit.Handle(), nullptr);
    SetWindowTextW(edit.Handle(), L"some text");
    EXPECT_TRUE(edit.Saw(WM_SETTEXT));
    std::wstring text;
    edit.GetText(text);
    EXPECT_EQ(text, L"some text");
}

TEST(PreTranslation, StopsAtTheFirstConsumerAndSurvivesDestructionDuringTheWalk) {
    DestroyingWindow first;
    RecordingWindow second, third;
    ASSERT_TRUE(first.Create());
    ASSERT_TRUE(second.Create());
    ASSERT_TRUE(third.Create());
    first.victim = &second;
    MSG message = {};
    EXPECT_TRUE(WindowList::PreTranslate(message));
    EXPECT_EQ(second.preTranslateCalls, 0);
    EXPECT_EQ(third.preTranslateCalls, 1);

    first.preTranslateResult = false;
    EXPECT_FALSE(WindowList::PreTranslate(message));
    EXPECT_EQ(first.preTranslateCalls, 2);
    EXPECT_EQ(third.preTranslateCalls, 1);
}

TEST(WindowOperations, RaiseLeavesATopmostWindowAlone) {
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    EXPECT_TRUE(window.RaiseUnlessTopmost());
    EXPECT_TRUE(window.SetTopmost(true));
    EXPECT_FALSE(window.RaiseUnlessTopmost());
    EXPECT_TRUE(window.IsTopmost());
}

TEST(WindowOperations, AnUnboundObjectFailsQuietly) {
    RecordingWindow window;
    EXPECT_FALSE(window.Destroy());
    EXPECT_FALSE(window.Move(1, 1));
    // A null window would post to the thread's own queue.
    EXPECT_FALSE(window.Post(WM_APP));
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_APP, WM_APP, PM_REMOVE));
    std::wstring text = L"x";
    window.GetText(text);
    EXPECT_TRUE(text.empty());
    window.ShowPopupMenu(nullptr, false);
    EXPECT_FALSE(window.InPopupMenu());
}
