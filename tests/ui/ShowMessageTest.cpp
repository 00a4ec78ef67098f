#include <gtest/gtest.h>

#include <string>

#include "tests/ui/TestWindow.h"

namespace {

HHOOK cbtHook = nullptr;
std::wstring seenCaption;

// Answers the message box with "No" as soon as it shows, noting its caption.
LRESULT CALLBACK AnswerMessageBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t text[128] = {};
        GetClassNameW(box, text, 128);
        if (std::wstring(text) == L"#32770") {
            GetWindowTextW(box, text, 128);
            seenCaption = text;
            PostMessageW(box, WM_COMMAND, IDNO, 0);
        }
    }
    return CallNextHookEx(cbtHook, code, wParam, lParam);
}

}  // namespace

TEST(ShowMessage, UsesTheApplicationTitleUnlessGivenACaption) {
    LoadTestLanguage("Title_App=Sticky Test\r\n");
    cbtHook = SetWindowsHookExW(WH_CBT, &AnswerMessageBox, nullptr, GetCurrentThreadId());
    ASSERT_NE(cbtHook, nullptr);

    EXPECT_EQ(ShowMessage(nullptr, L"Delete it?", nullptr, MB_YESNO), IDNO);
    EXPECT_EQ(seenCaption, L"Sticky Test");

    EXPECT_EQ(ShowMessage(nullptr, L"Body", L"Own caption", MB_YESNO), IDNO);
    EXPECT_EQ(seenCaption, L"Own caption");
    UnhookWindowsHookEx(cbtHook);
}
