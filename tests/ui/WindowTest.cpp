#include "ui/Window_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "support/DialogAnswers_win.h"
#include "support/LanguageFiles.h"
#include "support/MessagePump_win.h"
#include "tests/ui/TestWindow.h"
#include "ui/MessageWindow_win.h"
#include "ui/WindowList_win.h"

namespace {

// Stands in for a system control that gets subclassed: records what reaches
// it and answers WM_COMMAND with 77.
std::vector<UINT> rawMessages;

LRESULT CALLBACK RawProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    rawMessages.push_back(message);
    if (message == WM_COMMAND) return 77;
    return DefWindowProcW(window, message, wParam, lParam);
}

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
    // On a fresh thread, whose first window makes the system create an
    // input-method window as well: that one must not take the binding.
    std::thread([] {
        RecordingWindow window;
        ASSERT_TRUE(window.Create());
        EXPECT_EQ(window.handleAtNcCreate, window.created);
        // WM_GETMINMAXINFO comes before WM_NCCREATE and gets default handling.
        ASSERT_FALSE(window.messages.empty());
        EXPECT_EQ(window.messages.front(), static_cast<UINT>(WM_NCCREATE));
        EXPECT_EQ(GetWindowLongPtrW(window.Handle(), GWLP_USERDATA),
                  reinterpret_cast<LONG_PTR>(&window));
        EXPECT_TRUE(WindowList::Contains(&window));
        EXPECT_EQ(WindowFromHandle(window.Handle()), &window);

        // The hook is gone: a later window of the same class stays unbound.
        HWND stray = CreatePopup(RecordingWindow::kClassName);
        ASSERT_NE(stray, nullptr);
        EXPECT_EQ(GetWindowLongPtrW(stray, GWLP_USERDATA), 0);
        DestroyWindow(stray);
    }).join();
}

TEST(WindowUnbinding, DestroyingTheWindowUnbindsItAndItsChildren) {
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    HWND handle = window.Handle();
    ASSERT_TRUE(DestroyWindow(handle));
    EXPECT_TRUE(window.Saw(WM_NCDESTROY));
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_FALSE(WindowList::Contains(&window));
    EXPECT_EQ(WindowFromHandle(handle), nullptr);

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
    RecordingWindow window;
    RegisterTestClass(L"VnTest Raw", &RawProc);
    {
        AttachScope attach(&window, true);
        CreatePopup(L"VnTest Raw");
    }
    ASSERT_NE(window.Handle(), nullptr);
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

TEST(WindowOperations, AnUnboundObjectFailsQuietlyAndItsMessagesTakeTheAppTitle) {
    RecordingWindow window;
    // A null window would post to the thread's own queue.
    EXPECT_FALSE(window.Post(WM_APP));
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_APP, WM_APP, PM_REMOVE));

    LanguageTable::Current().Load(LangTest::WriteTexts(L"Title_App=Sticky Test"));
    DialogAnswers answers;
    answers.Queue(IDNO);
    EXPECT_EQ(window.ShowMessage(L"Delete it?", nullptr, MB_YESNO), IDNO);
    ASSERT_EQ(answers.Captions().size(), 1u);
    EXPECT_EQ(answers.Captions()[0], L"Sticky Test");
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
