#include "ui/DialogWindow_win.h"

#include <gtest/gtest.h>

#include "ui/WindowList_win.h"

namespace {

constexpr int kTemplateId = 1000;  // in DialogWindowTest.rc
constexpr WORD kButtonId = 1001;
constexpr WORD kEditId = 1002;

class TestDialog : public DialogWindow {
public:
    INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITDIALOG) {
            handleAtInit = Handle();
            return TRUE;
        }
        return DialogWindow::DialogProc(window, message, wParam, lParam);
    }
    bool OnCommand(WORD notification, WORD id, HWND) override {
        if (id == kButtonId && notification == BN_CLICKED) ++clicks;
        return true;
    }

    HWND handleAtInit = nullptr;
    int clicks = 0;
};

}  // namespace

TEST(DialogWindow, IsBoundToTheDialogNotToItsFirstControlAndRoutesCommands) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr, kTemplateId));
    wchar_t className[16] = {};
    GetClassNameW(dialog.Handle(), className, 16);
    EXPECT_STREQ(className, L"#32770");
    EXPECT_EQ(dialog.handleAtInit, dialog.Handle());
    EXPECT_EQ(WindowFromHandle(dialog.Handle()), &dialog);
    HWND edit = GetDlgItem(dialog.Handle(), kEditId);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_USERDATA), 0);

    SendMessageW(GetDlgItem(dialog.Handle(), kButtonId), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.clicks, 1);
}

TEST(DialogWindow, PreTranslateConsumesOnlyTheDialogsOwnKeyboardMessages) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr, kTemplateId));
    MSG tab = {};
    tab.hwnd = GetDlgItem(dialog.Handle(), kEditId);
    tab.message = WM_KEYDOWN;
    tab.wParam = VK_TAB;
    EXPECT_FALSE(WindowList::PreTranslate(tab));
    tab.hwnd = GetDesktopWindow();
    EXPECT_TRUE(dialog.PreTranslate(tab));
}

TEST(DialogWindow, MissingTemplateResourceLeavesTheObjectUnboundAndTheAttachClosed) {
    TestDialog dialog;
    EXPECT_FALSE(dialog.Create(nullptr, 30999));
    EXPECT_EQ(dialog.Handle(), nullptr);
    EXPECT_TRUE(dialog.Create(nullptr, kTemplateId));
}
