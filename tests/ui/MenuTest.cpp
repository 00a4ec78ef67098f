#include "ui/Menu_win.h"

#include <gtest/gtest.h>

#include "tests/ui/TestWindow.h"

namespace {

constexpr UINT kFirst = 2000;

// "text" of each item, greyed ones as "(text)", ids checked to run from kFirst.
std::vector<std::wstring> Items(HMENU menu) {
    std::vector<std::wstring> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = 256;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        EXPECT_EQ(info.wID, kFirst + i);
        items.push_back((info.fState & MFS_GRAYED) ? L"(" + std::wstring(text) + L")" : text);
    }
    return items;
}

}  // namespace

TEST(FillSubmenu, ReplacesTheItemsAndGreysAPlaceholderForAnEmptyList) {
    LoadTestLanguage("EmptySubMenu=nothing here\r\n");

    using List = std::vector<std::wstring>;
    const struct {
        int oldCount;
        List texts;
        List expected;
    } cases[] = {
        {5, {L"alpha", L"beta", L"gamma"}, {L"alpha", L"beta", L"gamma"}},
        {0, {L"one", L"two"}, {L"one", L"two"}},
        {4, {}, {L"(nothing here)"}},
    };
    for (const auto& c : cases) {
        HMENU menu = CreatePopupMenu();
        for (int i = 0; i < c.oldCount; ++i) AppendMenuW(menu, MF_STRING, 100 + i, L"old");
        FillSubmenu(menu, c.texts, kFirst);
        EXPECT_EQ(Items(menu), c.expected) << "from " << c.oldCount << " items";
        // A filled list after the placeholder enables the first item again.
        FillSubmenu(menu, {L"back"}, kFirst);
        EXPECT_EQ(Items(menu), List{L"back"});
        DestroyMenu(menu);
    }
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
                ShowPopupMenu(menu, false);  // must return at once
            }
            EndMenu();
        }
        return RecordingWindow::HandleMessage(window, message, wParam, lParam);
    }

    // Opens a two-item menu with the cursor at 500, 400.
    void Run(bool fromTray) {
        ASSERT_TRUE(Create());
        ShowWindow(Handle(), SW_SHOW);
        if (!fromTray) SetForegroundWindow(Handle());
        SetCursorPos(500, 400);
        menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, 1, L"First entry");
        AppendMenuW(menu, MF_STRING, 2, L"Second entry");
        SetTimer(Handle(), kGiveUpTimer, 500, nullptr);
        ShowPopupMenu(menu, fromTray);
        KillTimer(Handle(), kGiveUpTimer);
        DestroyMenu(menu);
        EXPECT_TRUE(looked);
        EXPECT_FALSE(InPopupMenu());
    }

    static constexpr UINT_PTR kGiveUpTimer = 77;
    HMENU menu = nullptr;
    bool looked = false;
    bool inPopupWhileOpen = false;
    bool foregroundWhileOpen = false;
    RECT popupRect = {};
};

}  // namespace

TEST(ShowPopupMenu, OpensAtTheCursorAndRefusesASecondPopup) {
    PopupWindow window;
    window.Run(false);
    EXPECT_TRUE(window.inPopupWhileOpen);
    EXPECT_GE(window.popupRect.left, 499);  // below right of the cursor
    EXPECT_GE(window.popupRect.top, 399);
    EXPECT_LT(window.popupRect.left, 520);

    // From the tray: above left, as the foreground window, and one more
    // message for the owner's queue.
    PopupWindow tray;
    tray.Run(true);
    EXPECT_TRUE(tray.foregroundWhileOpen);
    EXPECT_LE(tray.popupRect.right, 501);
    EXPECT_LE(tray.popupRect.bottom, 401);
    EXPECT_GT(tray.popupRect.right, 480);
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, tray.Handle(), WM_NULL, WM_NULL, PM_REMOVE));
}
