#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "app/HotKeys_win.h"
#include "app/TrayAndKeys_win.h"
#include "ui/PrivateMessages_win.h"

namespace {

TEST(HotKeys, StoredModifierBitsBecomeRegisterHotKeyBits) {
    struct Case {
        uint16_t stored;
        UINT expected;
    };
    for (const Case& c : {Case{0, 0}, Case{1, MOD_SHIFT}, Case{2, MOD_CONTROL}, Case{4, MOD_ALT},
                          Case{3, MOD_SHIFT | MOD_CONTROL},
                          Case{7, MOD_SHIFT | MOD_CONTROL | MOD_ALT}, Case{8, 0}}) {
        EXPECT_EQ(c.expected, HotKeys::Modifiers(c.stored)) << c.stored;
    }
}

TEST(HotKeys, IdsMapToTheirIndexAndNothingElseDoes) {
    EXPECT_EQ(-1, HotKeys::IndexOf(HotKeys::kFirstId - 1));
    EXPECT_EQ(kHotKeyNewNote, HotKeys::IndexOf(HotKeys::kFirstId));
    EXPECT_EQ(kHotKeyNewNoteFromClipboard,
              HotKeys::IndexOf(HotKeys::kFirstId + kHotKeyNewNoteFromClipboard));
    EXPECT_EQ(-1, HotKeys::IndexOf(HotKeys::kFirstId + kHotKeyCount));
    EXPECT_EQ(-1, HotKeys::IndexOf(0));
}

// A hot key held by the object cannot be taken by another window; once the
// object lets go (Unregister or its end) it can.
TEST(HotKeys, HoldsItsKeysUntilItLetsGo) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(window && other);
    const HotKeySetting keys[kHotKeyCount] = {
        {VK_F9, 7}, {VK_F10, 7}, {VK_F11, 7}, {VK_F12, 7}, {VK_F8, 7}};
    const UINT all = MOD_SHIFT | MOD_CONTROL | MOD_ALT;
    auto taken = [&](UINT vk) {
        if (!RegisterHotKey(other, 1, all, vk)) return true;
        UnregisterHotKey(other, 1);
        return false;
    };
    {
        HotKeys hotKeys;
        hotKeys.Register(window, keys);
        EXPECT_TRUE(taken(VK_F9));
        EXPECT_TRUE(taken(VK_F12));
        EXPECT_TRUE(taken(VK_F8));
        hotKeys.Unregister();
        EXPECT_FALSE(taken(VK_F9));
        hotKeys.Register(window, keys);
        EXPECT_TRUE(taken(VK_F10));
    }
    EXPECT_FALSE(taken(VK_F10));
    DestroyWindow(other);
    DestroyWindow(window);
}

// The tray icon's clicks and the hot keys as requests to the owner: a single
// click waits for the click timer, a double click is one request whose closing
// button-up is no click, and ids of other hot keys ask nothing.
class TrayAndKeysTest : public ::testing::Test, public TrayAndKeys::Owner {
protected:
    using Request = TrayAndKeys::Request;

    void SetUp() override {
        window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(window);
    }
    void TearDown() override { DestroyWindow(window); }
    void OnTrayOrKeyRequest(Request request) override { requests.push_back(request); }
    // No hot key: a cleared field registers nothing.
    const HotKeySetting noKeys[kHotKeyCount] = {};

    HWND window = nullptr;
    std::vector<Request> requests;
};

TEST_F(TrayAndKeysTest, IconShowsWithItsIdMessageAndTipUntilTheEnd) {
    NOTIFYICONDATAW shown = {};
    {
        TrayAndKeys trayAndKeys(*this, window, noKeys, L"Notes tip");
        ASSERT_TRUE(trayAndKeys.Tray().Shown());
        shown = trayAndKeys.Tray().Data();
        EXPECT_EQ(shown.uID, TrayAndKeys::kTrayIconId);
        EXPECT_EQ(shown.uCallbackMessage, static_cast<UINT>(kTrayMessage));
        EXPECT_STREQ(shown.szTip, L"Notes tip");
        EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &shown));
    }
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &shown));
    EXPECT_TRUE(requests.empty());
}

TEST_F(TrayAndKeysTest, ClicksBecomeRequests) {
    TrayAndKeys trayAndKeys(*this, window, noKeys, L"tip");
    trayAndKeys.OnTrayMessage(WM_LBUTTONUP);
    trayAndKeys.OnTrayMessage(WM_LBUTTONUP);  // one timer for a click still waiting
    EXPECT_TRUE(trayAndKeys.ClickPending());
    EXPECT_TRUE(requests.empty());
    trayAndKeys.OnClickTimer();
    EXPECT_FALSE(trayAndKeys.ClickPending());
    EXPECT_EQ(requests, std::vector<Request>{Request::NotesToTop});
    trayAndKeys.OnClickTimer();  // a late timer with no click waiting
    EXPECT_EQ(requests.size(), 1u);

    requests.clear();
    trayAndKeys.OnTrayMessage(WM_LBUTTONUP);
    trayAndKeys.OnTrayMessage(WM_LBUTTONDBLCLK);
    trayAndKeys.OnTrayMessage(WM_LBUTTONUP);
    EXPECT_FALSE(trayAndKeys.ClickPending());
    trayAndKeys.OnClickTimer();
    trayAndKeys.OnTrayMessage(WM_RBUTTONUP);
    trayAndKeys.OnTrayMessage(NIN_BALLOONUSERCLICK);
    trayAndKeys.OnTrayMessage(WM_MOUSEMOVE);
    EXPECT_EQ(requests, (std::vector<Request>{Request::NewNoteAtTray, Request::MainMenuAtTray,
                                              Request::AlarmNote}));
}

TEST_F(TrayAndKeysTest, HotKeysBecomeRequests) {
    TrayAndKeys trayAndKeys(*this, window, noKeys, L"tip");
    for (int i = -1; i <= kHotKeyCount; ++i) trayAndKeys.OnHotKey(HotKeys::kFirstId + i);
    EXPECT_EQ(requests, (std::vector<Request>{Request::NewNote, Request::ToggleNotes,
                                              Request::NotesToTopActivated,
                                              Request::NewNoteFromClipboard, Request::FindNotes}));
}

}  // namespace
