#include "ui/Window_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "base/ProgramInfo.h"
#include "support/DialogAnswers_win.h"
#include "support/MessagePump_win.h"
#include "tests/ui/TestWindow.h"
#include "ui/MessageWindow_win.h"

namespace {

// Stands in for a system control that gets subclassed: records what reaches
// it and answers WM_COMMAND with 77.
std::vector<UINT> rawMessages;

LRESULT CALLBACK RawProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    rawMessages.push_back(message);
    if (message == WM_COMMAND) return 77;
    return DefWindowProcW(window, message, wParam, lParam);
}

size_t IndexOf(const std::vector<UINT>& messages, UINT message) {
    return static_cast<size_t>(std::find(messages.begin(), messages.end(), message) -
                               messages.begin());
}

// Destroys another window from inside the walk, as a dialog's Escape can.
class DestroyingWindow : public RecordingWindow {
public:
    bool PreTranslate(MSG& message) override {
        if (victim) victim->Destroy();
        return RecordingWindow::PreTranslate(message);
    }
    Window* victim = nullptr;
};

}  // namespace

TEST(WindowBinding, BindsAtNcCreateSoEveryCreationMessageReachesTheObject) {
    // On a fresh thread, whose first window makes the system create an
    // input-method window as well: that one must not take the binding.
    std::thread([] {
        RecordingWindow window;
        ASSERT_TRUE(window.Create());
        EXPECT_EQ(window.handleAtNcCreate, window.created);
        // WM_GETMINMAXINFO comes before WM_NCCREATE and gets default handling;
        // from WM_NCCREATE on the object sees all, WM_NCCALCSIZE and WM_CREATE too.
        const std::vector<UINT>& seen = window.messages;
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.front(), static_cast<UINT>(WM_NCCREATE));
        EXPECT_LT(IndexOf(seen, WM_NCCALCSIZE), IndexOf(seen, WM_CREATE));
        EXPECT_LT(IndexOf(seen, WM_CREATE), seen.size());
        EXPECT_EQ(GetWindowLongPtrW(window.Handle(), GWLP_USERDATA),
                  reinterpret_cast<LONG_PTR>(&window));
        EXPECT_EQ(WindowFromHandle(window.Handle()), &window);

        // A window of the same class made without an object stays unbound,
        // and so does a second window made with an object that has one.
        HWND stray = CreatePopup(RecordingWindow::kClassName);
        ASSERT_NE(stray, nullptr);
        EXPECT_EQ(GetWindowLongPtrW(stray, GWLP_USERDATA), 0);
        EXPECT_EQ(WindowFromHandle(stray), nullptr);
        DestroyWindow(stray);
        HWND second = CreateWindowExW(0, RecordingWindow::kClassName, L"", WS_POPUP, 0, 0, 5, 5,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), &window);
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(window.Handle(), window.created);
        EXPECT_EQ(WindowFromHandle(second), nullptr);
        DestroyWindow(second);
        EXPECT_EQ(window.Handle(), window.created);
    }).join();
}

TEST(WindowBinding, WindowFromHandleTrustsOnlyLiveWindowsOfOurOwnOnThisThread) {
    RecordingWindow window;
    ASSERT_TRUE(window.Create());

    // A window of someone else's class that happens to keep the address of one
    // of our objects in its GWLP_USERDATA.
    RegisterTestClass(L"VnTest Foreign", &DefWindowProcW);
    HWND foreign = CreatePopup(L"VnTest Foreign");
    ASSERT_NE(foreign, nullptr);
    SetWindowLongPtrW(foreign, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&window));
    EXPECT_EQ(WindowFromHandle(foreign), nullptr);
    DestroyWindow(foreign);
    EXPECT_EQ(WindowFromHandle(nullptr), nullptr);

    // A bound window of another thread: found there, not here.
    HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND other = nullptr;
    bool foundThere = false;
    std::thread thread([&] {
        RecordingWindow theirs;
        if (theirs.Create()) other = theirs.Handle();
        foundThere = WindowFromHandle(other) == &theirs;
        SetEvent(made);
        WaitForSingleObject(done, 5000);
    });
    WaitForSingleObject(made, 5000);
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(foundThere);
    EXPECT_EQ(WindowFromHandle(other), nullptr);
    SetEvent(done);
    thread.join();
    CloseHandle(made);
    CloseHandle(done);

    // A destroyed window, whether its object lives on or went with it.
    HWND handle = window.Handle();
    ASSERT_TRUE(window.Destroy());
    EXPECT_EQ(WindowFromHandle(handle), nullptr);
    auto gone = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(gone->Create());
    handle = gone->Handle();
    gone.reset();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(WindowFromHandle(handle), nullptr);
}

TEST(WindowUnbinding, DestroyingTheWindowUnbindsItAndItsChildren) {
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    HWND handle = window.Handle();
    ASSERT_TRUE(DestroyWindow(handle));
    EXPECT_TRUE(window.Saw(WM_NCDESTROY));
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_EQ(WindowFromHandle(handle), nullptr);

    // A child destroyed with its parent leaves a valid unbound object.
    RecordingWindow parent;
    ASSERT_TRUE(parent.Create());
    auto child = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(child->Create(parent.Handle()));
    ASSERT_TRUE(parent.Destroy());
    EXPECT_EQ(child->Handle(), nullptr);
    child.reset();  // must not touch the dead window

    // An object deleted while its window lives destroys the window; the
    // messages of that destruction reach only the base.
    auto owner = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(owner->Create());
    handle = owner->Handle();
    owner.reset();
    EXPECT_FALSE(IsWindow(handle));
}

TEST(WindowRouting, SubclassedWindowRoutesThroughTheObjectAndGetsItsProcedureBack) {
    RecordingWindow window;
    RegisterTestClass(L"VnTest Raw", &RawProc);
    HWND raw = CreatePopup(L"VnTest Raw");
    ASSERT_NE(raw, nullptr);
    ASSERT_TRUE(window.Subclass(raw));
    EXPECT_EQ(window.Handle(), raw);
    EXPECT_EQ(WindowFromHandle(raw), &window);
    // One binding per object and per window.
    RecordingWindow second;
    EXPECT_FALSE(second.Subclass(raw));
    HWND other = CreatePopup(L"VnTest Raw");
    EXPECT_FALSE(window.Subclass(other));
    DestroyWindow(other);

    rawMessages.clear();
    // A command OnCommand handled is swallowed; others go on.
    window.commandResult = true;
    HWND control = reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x1234));
    EXPECT_EQ(window.Send(WM_COMMAND, MAKEWPARAM(42, 7), reinterpret_cast<LPARAM>(control)), 0);
    EXPECT_TRUE(rawMessages.empty());
    ASSERT_EQ(window.commands.size(), 1u);
    EXPECT_EQ(window.commands[0], std::make_tuple(WORD(42), WORD(7), control));
    window.commandResult = false;
    EXPECT_EQ(window.Send(WM_COMMAND, MAKEWPARAM(5, 0), 0), 77);
    EXPECT_EQ(rawMessages.size(), 1u);

    ASSERT_TRUE(window.Destroy());
    EXPECT_TRUE(window.Saw(WM_NCDESTROY));
    // The control's own procedure frees its state at WM_NCDESTROY.
    EXPECT_EQ(rawMessages.back(), static_cast<UINT>(WM_NCDESTROY));
}

TEST(WindowRouting, SubclassRefusesWindowsThatAreNotOursToTake) {
    RegisterTestClass(L"VnTest Raw", &RawProc);
    RecordingWindow window;
    // Something of its owner's in GWLP_USERDATA.
    HWND used = CreatePopup(L"VnTest Raw");
    SetWindowLongPtrW(used, GWLP_USERDATA, 5);
    EXPECT_FALSE(window.Subclass(used));
    EXPECT_EQ(GetWindowLongPtrW(used, GWLP_USERDATA), 5);
    DestroyWindow(used);
    // Another thread's window.
    HWND theirs = nullptr;
    HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread thread([&] {
        theirs = CreatePopup(L"VnTest Raw");
        SetEvent(made);
        WaitForSingleObject(done, 5000);
        DestroyWindow(theirs);
    });
    WaitForSingleObject(made, 5000);
    EXPECT_FALSE(window.Subclass(theirs));
    EXPECT_EQ(window.Handle(), nullptr);
    SetEvent(done);
    thread.join();
    CloseHandle(made);
    CloseHandle(done);
}

// Keyboard messages go up from the window they are for to its top-level
// window, and only the bound windows on that way are asked.
TEST(PreTranslation, AKeyInAChildEditReachesItsTopLevelWindowAndNoOneElse) {
    RecordingWindow top, panel, bystander;
    ASSERT_TRUE(top.Create());
    ASSERT_TRUE(panel.Create(top.Handle()));
    ASSERT_TRUE(bystander.Create());
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20,
                                panel.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);

    for (UINT key : {UINT{WM_KEYDOWN}, UINT{WM_CHAR}, UINT{WM_SYSKEYUP}}) {
        MSG message = {edit, key, 'A', 0, 0, {}};
        EXPECT_TRUE(PreTranslateKeyMessage(message));
    }
    EXPECT_EQ(panel.preTranslated, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_SYSKEYUP}));
    EXPECT_EQ(top.preTranslated, panel.preTranslated);
    EXPECT_EQ(bystander.preTranslateCalls, 0);

    // Other messages are asked of no one.
    for (UINT other : {UINT{WM_MOUSEMOVE}, UINT{WM_APP}, UINT{WM_TIMER}}) {
        MSG message = {edit, other, 0, 0, 0, {}};
        EXPECT_TRUE(PreTranslateKeyMessage(message));
    }
    EXPECT_EQ(top.preTranslateCalls, 3);

    // The first window that consumes a key ends the walk.
    panel.preTranslateResult = false;
    MSG key = {edit, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_FALSE(PreTranslateKeyMessage(key));
    EXPECT_EQ(panel.preTranslateCalls, 4);
    EXPECT_EQ(top.preTranslateCalls, 3);

    // A popup owned by the top-level window is a top-level window of its own.
    RecordingWindow owned;
    ASSERT_TRUE(owned.Create());
    SetWindowLongPtrW(owned.Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(top.Handle()));
    MSG toOwned = {owned.Handle(), WM_KEYUP, 'B', 0, 0, {}};
    EXPECT_TRUE(PreTranslateKeyMessage(toOwned));
    EXPECT_EQ(owned.preTranslateCalls, 1);
    EXPECT_EQ(top.preTranslateCalls, 3);
}

TEST(PreTranslation, SurvivesTheDestructionOfTheWindowsStillToBeAsked) {
    RecordingWindow top;
    DestroyingWindow child;
    ASSERT_TRUE(top.Create());
    ASSERT_TRUE(child.Create(top.Handle()));
    child.victim = &top;  // takes the child's own window with it
    MSG message = {child.Handle(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(PreTranslateKeyMessage(message));
    EXPECT_EQ(child.preTranslateCalls, 1);
    EXPECT_EQ(top.preTranslateCalls, 0);
    EXPECT_EQ(top.Handle(), nullptr);
    EXPECT_EQ(child.Handle(), nullptr);
}

TEST(WindowOperations, AnUnboundObjectFailsQuietlyAndItsMessagesTakeTheProductName) {
    RecordingWindow window;
    // A null window would post to the thread's own queue.
    EXPECT_FALSE(window.Post(WM_APP));
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_APP, WM_APP, PM_REMOVE));

    DialogAnswers answers;
    answers.Queue(IDNO);
    EXPECT_EQ(window.ShowMessage(L"Delete it?", nullptr, MB_YESNO), IDNO);
    ASSERT_EQ(answers.Captions().size(), 1u);
    EXPECT_EQ(answers.Captions()[0], ProgramInfo::kProductName);
}

// The mailbox of an object: what it posts to itself arrives also while a modal
// loop of the thread (here a message box) runs, and so do its timers; it is
// never one of the top-level windows that others enumerate, and it goes with
// its object.
TEST(MessageWindow, PostsReachTheHandlerInsideModalLoopsAndTheWindowStaysHidden) {
    std::vector<std::pair<UINT, WPARAM>> seen;
    HWND handle = nullptr;
    {
        MessageWindow mailbox([&](UINT message, WPARAM wParam, LPARAM) {
            if (message != WM_APP + 7 && message != WM_TIMER) return false;
            if (message == WM_TIMER) KillTimer(handle, wParam);
            seen.push_back({message, wParam});
            return true;
        });
        handle = mailbox.Handle();
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(WindowFromHandle(handle), &mailbox);
        std::vector<HWND> topLevel;
        EnumWindows(
            [](HWND window, LPARAM list) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&topLevel));
        EXPECT_EQ(std::count(topLevel.begin(), topLevel.end(), handle), 0);

        ASSERT_TRUE(mailbox.Post(WM_APP + 7, 41));
        DialogAnswers answers;
        answers.Queue(IDOK);
        ShowMessage(nullptr, L"A modal loop", L"Test");
        ASSERT_EQ(seen.size(), 1u) << "dispatched by the message box's own loop";
        EXPECT_EQ(seen[0], std::make_pair(UINT{WM_APP + 7}, WPARAM{41}));

        ASSERT_NE(SetTimer(handle, 9, 10, nullptr), 0u);
        EXPECT_TRUE(PumpUntil([&] { return seen.size() == 2; }, 2000));
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1], std::make_pair(UINT{WM_TIMER}, WPARAM{9}));
    }
    EXPECT_FALSE(IsWindow(handle));
}
