// The settings dialog's result message and the texts it names hot keys with.

#include <gtest/gtest.h>

#include "ui/SettingsDialogText.h"

namespace {

TEST(SettingsDialogTextTest, ResultMessageEncoding) {
    struct {
        const char* button;
        bool closed;
        bool apply;
        uint32_t wParam;
    } cases[] = {
        {"OK", true, true, 65537}, {"Apply", false, true, 65536}, {"Cancel", true, false, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(SettingsResult::Encode(c.closed, c.apply), c.wParam) << c.button;
        EXPECT_EQ(SettingsResult::Applies(c.wParam), c.apply) << c.button;
        EXPECT_EQ(SettingsResult::Closes(c.wParam), c.closed) << c.button;
    }
    // The owner looks at whole words, not at single bits, and ignores what lies
    // beyond them.
    EXPECT_TRUE(SettingsResult::Applies(0x80000000u));
    EXPECT_FALSE(SettingsResult::Closes(0x80000000u));
    EXPECT_TRUE(SettingsResult::Closes(0x8000u));
    EXPECT_FALSE(SettingsResult::Applies(0x8000u));
    EXPECT_FALSE(SettingsResult::Applies(0x100000000ull));
    EXPECT_FALSE(SettingsResult::Closes(0x100000000ull));
}

TEST(SettingsDialogTextTest, HotKeyTexts) {
    struct {
        uint16_t modifiers;
        const wchar_t* text;
    } cases[] = {{0, L"N"},     {1, L"Shift+N"},          {2, L"Ctrl+N"},    {3, L"Ctrl+Shift+N"},
                 {4, L"Alt+N"}, {7, L"Ctrl+Shift+Alt+N"}, {8 | 2, L"Ctrl+N"}};
    for (const auto& c : cases) EXPECT_EQ(HotKeyText(c.modifiers, L"N"), c.text) << c.modifiers;
    EXPECT_EQ(HotKeyText(3, L"F5", {L"Strg", L"Umschalt", L"Alt"}), L"Strg+Umschalt+F5");
}

TEST(SettingsDialogTextTest, PlainLabels) {
    struct {
        const wchar_t* label;
        const wchar_t* plain;
    } cases[] = {
        {L"S&how or hide notes:", L"Show or hide notes"},
        {L"&New note:", L"New note"},
        {L"Notes && more: ", L"Notes & more"},
        {L"Trailing&", L"Trailing"},
        {L"&&&x", L"&x"},
        {L"", L""},
        {L":::", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(PlainLabel(c.label), c.plain);
}

}  // namespace
