#include "ui/Menu_win.h"

#include <gtest/gtest.h>

#include <fstream>

#include "lang/LanguageTable.h"
#include "tests/TestPaths.h"
#include "tests/ui/TestWindow.h"

namespace {

constexpr UINT kFirst = 2000;

struct Item {
    UINT id;
    std::wstring text;
    bool greyed;
};

std::vector<Item> Items(HMENU menu) {
    std::vector<Item> items;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = 256;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back({info.wID, text, (info.fState & MFS_GRAYED) != 0});
    }
    return items;
}

HMENU MenuOf(int count) {
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < count; ++i)
        AppendMenuW(menu, MF_STRING, 100 + i, (L"old " + std::to_wstring(i)).c_str());
    return menu;
}

class FillSubmenuTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::wstring dir = TestPaths::MakeScratchDir();
        std::wstring path = dir + L"Test.ini";
        std::ofstream(TestPaths::Narrow(path)) << "[Text]\r\nEmptySubMenu=(nothing here)\r\n";
        LanguageTable::Current().Load(path);
    }
};

}  // namespace

TEST_F(FillSubmenuTest, ShrinksFromTheTopAndRenumbers) {
    HMENU menu = MenuOf(5);
    FillSubmenu(menu, {L"alpha", L"beta", L"gamma"}, kFirst);
    auto items = Items(menu);
    ASSERT_EQ(items.size(), 3u);
    const wchar_t* texts[] = {L"alpha", L"beta", L"gamma"};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(items[i].id, kFirst + i);
        EXPECT_EQ(items[i].text, texts[i]);
        EXPECT_FALSE(items[i].greyed);
    }
    DestroyMenu(menu);
}

TEST_F(FillSubmenuTest, GrowsAnEmptyMenu) {
    HMENU menu = CreatePopupMenu();
    FillSubmenu(menu, {L"one", L"two"}, kFirst);
    auto items = Items(menu);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1].id, kFirst + 1);
    EXPECT_EQ(items[1].text, L"two");
    DestroyMenu(menu);
}

TEST_F(FillSubmenuTest, EmptyListGivesOneGreyedPlaceholderAndAFullOneEnablesAgain) {
    HMENU menu = MenuOf(4);
    FillSubmenu(menu, {}, kFirst);
    auto items = Items(menu);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].id, kFirst);
    EXPECT_EQ(items[0].text, L"(nothing here)");
    EXPECT_TRUE(items[0].greyed);

    FillSubmenu(menu, {L"back"}, kFirst);
    items = Items(menu);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, L"back");
    EXPECT_FALSE(items[0].greyed);
    DestroyMenu(menu);
}

TEST(PrepareMenuBitmaps, MarksEveryItemAndSetsCheckOrBitmap) {
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"plain");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"submenu");
    PrepareMenuBitmaps(menu);
    for (int i = 0; i < 3; ++i) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_BITMAP;
        ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &info));
        EXPECT_EQ(info.hbmpItem, HBMMENU_CALLBACK) << "item " << i;
    }
    MENUINFO style = {};
    style.cbSize = sizeof(style);
    style.fMask = MIM_STYLE;
    ASSERT_TRUE(GetMenuInfo(menu, &style));
    EXPECT_TRUE(style.dwStyle & MNS_CHECKORBMP);
    DestroyMenu(menu);
}

namespace {

// Looks at its own popup while it is tracked, tries to open a second one,
// then closes the menu.
class PopupWindow : public RecordingWindow {
public:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if ((message == WM_ENTERIDLE && wParam == MSGF_MENU) ||
            (message == WM_TIMER && wParam == kGiveUpTimer)) {
            if (!looked) {
                looked = true;
                inPopupWhileOpen = InPopupMenu();
                foregroundWhileOpen = GetForegroundWindow() == Handle();
                HWND popup = FindWindowW(L"#32768", nullptr);
                if (popup) GetWindowRect(popup, &popupRect);
                ShowPopupMenu(secondMenu, false);  // must return at once
                secondReturned = true;
            }
            EndMenu();
        }
        return RecordingWindow::HandleMessage(window, message, wParam, lParam);
    }

    static constexpr UINT_PTR kGiveUpTimer = 77;
    HMENU secondMenu = nullptr;
    bool looked = false;
    bool inPopupWhileOpen = false;
    bool foregroundWhileOpen = false;
    bool secondReturned = false;
    RECT popupRect = {};
};

HMENU SampleMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"First entry");
    AppendMenuW(menu, MF_STRING, 2, L"Second entry");
    return menu;
}

}  // namespace

TEST(ShowPopupMenu, OpensBelowRightOfTheCursorAndRefusesASecondPopup) {
    PopupWindow window;
    ASSERT_TRUE(window.Create());
    ShowWindow(window.Handle(), SW_SHOW);
    SetForegroundWindow(window.Handle());
    SetCursorPos(500, 400);
    HMENU menu = SampleMenu();
    window.secondMenu = SampleMenu();
    SetTimer(window.Handle(), PopupWindow::kGiveUpTimer, 500, nullptr);
    window.ShowPopupMenu(menu, false);
    KillTimer(window.Handle(), PopupWindow::kGiveUpTimer);
    EXPECT_TRUE(window.looked);
    EXPECT_TRUE(window.inPopupWhileOpen);
    EXPECT_TRUE(window.secondReturned);
    EXPECT_FALSE(window.InPopupMenu());
    EXPECT_GE(window.popupRect.left, 499);
    EXPECT_GE(window.popupRect.top, 399);
    EXPECT_LT(window.popupRect.left, 520);
    DestroyMenu(menu);
    DestroyMenu(window.secondMenu);
}

TEST(ShowPopupMenu, FromTheTrayOpensAboveLeftAsForegroundAndPostsANullMessage) {
    PopupWindow window;
    ASSERT_TRUE(window.Create());
    ShowWindow(window.Handle(), SW_SHOW);
    SetCursorPos(500, 400);
    HMENU menu = SampleMenu();
    window.secondMenu = SampleMenu();
    SetTimer(window.Handle(), PopupWindow::kGiveUpTimer, 500, nullptr);
    window.ShowPopupMenu(menu, true);
    KillTimer(window.Handle(), PopupWindow::kGiveUpTimer);
    EXPECT_TRUE(window.looked);
    EXPECT_TRUE(window.foregroundWhileOpen);
    EXPECT_LE(window.popupRect.right, 501);
    EXPECT_LE(window.popupRect.bottom, 401);
    EXPECT_GT(window.popupRect.right, 480);
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, window.Handle(), WM_NULL, WM_NULL, PM_REMOVE));
    DestroyMenu(menu);
    DestroyMenu(window.secondMenu);
}
