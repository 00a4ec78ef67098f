#include "ui/DialogWindow_win.h"

#include <gtest/gtest.h>

namespace {

constexpr int kTemplateId = 1000;  // in DialogWindowTest.rc
constexpr WORD kButtonId = 1001;
constexpr WORD kEditId = 1002;

class TestDialog : public DialogWindow {
public:
    INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITDIALOG) handleAtInit = Handle();
        return DialogWindow::DialogProc(window, message, wParam, lParam);
    }
    bool OnCommand(WORD notification, WORD id, HWND) override {
        if (id != kButtonId || notification != BN_CLICKED) return false;
        ++clicks;
        return true;
    }

    HWND handleAtInit = nullptr;
    int clicks = 0;
};

}  // namespace

TEST(DialogWindow, IsBoundToTheDialogNotToItsFirstControlAndRoutesCommands) {
    TestDialog dialog;
    // A missing template leaves the object unbound and the attach closed.
    EXPECT_FALSE(dialog.Create(nullptr, 30999));
    EXPECT_EQ(dialog.Handle(), nullptr);

    ASSERT_TRUE(dialog.Create(nullptr, kTemplateId));
    EXPECT_EQ(dialog.handleAtInit, dialog.Handle());
    EXPECT_EQ(WindowFromHandle(dialog.Handle()), &dialog);
    HWND edit = GetDlgItem(dialog.Handle(), kEditId);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_USERDATA), 0);

    SendMessageW(GetDlgItem(dialog.Handle(), kButtonId), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.clicks, 1);
}
