#include <gtest/gtest.h>

#include "app/HotKeys_win.h"

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

}  // namespace
