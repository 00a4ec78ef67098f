#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "lang/LanguageTable.h"
#include "tests/TestPaths.h"
#include "ui/Window_win.h"

namespace {

HHOOK cbtHook = nullptr;
std::wstring seenCaption;

// Answers the message box as soon as it shows, noting its caption.
LRESULT CALLBACK AnswerMessageBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t name[16] = {};
        GetClassNameW(box, name, 16);
        if (std::wstring(name) == L"#32770") {
            wchar_t caption[128] = {};
            GetWindowTextW(box, caption, 128);
            seenCaption = caption;
            PostMessageW(box, WM_COMMAND, IDNO, 0);
        }
    }
    return CallNextHookEx(cbtHook, code, wParam, lParam);
}

class ShowMessageTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::wstring path = TestPaths::MakeScratchDir() + L"Caption.ini";
        std::ofstream(TestPaths::Narrow(path)) << "[Text]\r\nTitle_App=Sticky Test\r\n";
        LanguageTable::Current().Load(path);
        seenCaption.clear();
        cbtHook = SetWindowsHookExW(WH_CBT, &AnswerMessageBox, nullptr, GetCurrentThreadId());
        ASSERT_NE(cbtHook, nullptr);
    }
    void TearDown() override { UnhookWindowsHookEx(cbtHook); }
};

}  // namespace

TEST_F(ShowMessageTest, WithoutACaptionTheApplicationTitleIsUsed) {
    EXPECT_EQ(ShowMessage(nullptr, L"Delete it?", nullptr, MB_YESNO), IDNO);
    EXPECT_EQ(seenCaption, L"Sticky Test");
}

TEST_F(ShowMessageTest, AGivenCaptionAndTheOwnerWindowArePassedOn) {
    HWND owner = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(ShowMessage(owner, L"Body", L"Own caption", MB_YESNO), IDNO);
    EXPECT_EQ(seenCaption, L"Own caption");
    DestroyWindow(owner);
}
