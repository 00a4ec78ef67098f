#include <gtest/gtest.h>

#include <string>

#include "ui/TrayIcon_win.h"

namespace {

bool InArea(const NOTIFYICONDATAW& data) {
    NOTIFYICONDATAW probe = data;
    return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

TEST(TrayIcon, ShownUntilRemovedOrDestroyedRestoredOnlyWhileShownTipCut) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, owner);
    HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
    NOTIFYICONDATAW copy = {};
    {
        TrayIcon tray;
        EXPECT_FALSE(tray.Restore());  // nothing to bring back yet
        ASSERT_TRUE(tray.Add(owner, 7, WM_APP + 1, icon, std::wstring(300, L'x')));
        EXPECT_TRUE(tray.Shown());
        EXPECT_EQ(127u, std::wstring(tray.Data().szTip).size());
        copy = tray.Data();
        EXPECT_TRUE(InArea(copy));

        // A new taskbar has forgotten the icon: Restore puts it back.
        ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &copy));
        EXPECT_FALSE(InArea(copy));
        EXPECT_TRUE(tray.Restore());
        EXPECT_TRUE(InArea(copy));

        tray.Remove();
        EXPECT_FALSE(tray.Shown());
        EXPECT_FALSE(InArea(copy));
        EXPECT_FALSE(tray.Restore());

        ASSERT_TRUE(tray.Add(owner, 7, WM_APP + 1, icon, L"tip"));
    }
    EXPECT_FALSE(InArea(copy));  // the destructor took it out
    DestroyWindow(owner);
}

TEST(TrayIcon, TaskbarCreatedIsOneRegisteredMessage) {
    const UINT message = TaskbarCreatedMessage();
    EXPECT_GE(message, 0xC000u);
    EXPECT_EQ(message, TaskbarCreatedMessage());
    EXPECT_EQ(message, RegisterWindowMessageW(L"TaskbarCreated"));
}

}  // namespace
