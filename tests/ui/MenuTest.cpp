#include "ui/Menu_win.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include "lang/LanguageTable.h"
#include "support/LanguageFiles.h"
#include "support/TestPaths.h"
#include "ui/ShellOpen_win.h"
#include "tests/ui/TestWindow.h"

namespace {

constexpr UINT kFirst = 2000;

// "text" of each item, greyed ones as "(text)"; the ids must run from kFirst.
std::vector<std::wstring> Items(HMENU menu) {
    std::vector<std::wstring> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        EXPECT_EQ(GetMenuItemID(menu, i), kFirst + i);
        const bool grey = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED;
        items.push_back(grey ? L"(" + std::wstring(text) + L")" : text);
    }
    return items;
}

// While its popup is tracked: notes what it sees, tries to open a second
// popup, then closes the menu.
class PopupWindow : public RecordingWindow {
public:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if ((message == WM_ENTERIDLE && wParam == MSGF_MENU) ||
            (message == WM_TIMER && wParam == kGiveUpTimer)) {
            if (!looked) {
                looked = true;
                inPopupWhileOpen = InPopupMenu();
                HWND popup = FindWindowW(L"#32768", nullptr);
                if (popup) GetWindowRect(popup, &popupRect);
                ShowPopupMenu(menu, false);  // must return at once
            }
            EndMenu();
        }
        return RecordingWindow::HandleMessage(window, message, wParam, lParam);
    }

    static constexpr UINT_PTR kGiveUpTimer = 77;
    HMENU menu = nullptr;
    bool looked = false;
    bool inPopupWhileOpen = false;
    RECT popupRect = {};
};

}  // namespace

TEST(FillSubmenu, ReplacesTheItemsAndGreysAPlaceholderForAnEmptyList) {
    LanguageTable language;
    language.Load(LangTest::WriteTexts(L"EmptySubMenu=nothing here"));

    using List = std::vector<std::wstring>;
    const struct {
        int oldCount;
        List texts;
        List expected;
    } cases[] = {
        {5, {L"alpha", L"beta", L"gamma"}, {L"alpha", L"beta", L"gamma"}},
        {4, {}, {L"(nothing here)"}},
    };
    for (const auto& c : cases) {
        HMENU menu = CreatePopupMenu();
        for (int i = 0; i < c.oldCount; ++i) AppendMenuW(menu, MF_STRING, 100 + i, L"old");
        FillSubmenu(language, menu, c.texts, kFirst);
        EXPECT_EQ(Items(menu), c.expected) << "from " << c.oldCount << " items";
        // A filled list after the placeholder enables the first item again.
        FillSubmenu(language, menu, {L"back"}, kFirst);
        EXPECT_EQ(Items(menu), List{L"back"});
        DestroyMenu(menu);
    }
}

TEST(ShowPopupMenu, OpensBelowRightOfTheCursorAndRefusesASecondPopup) {
    PopupWindow window;
    ASSERT_TRUE(window.Create());
    ShowWindow(window.Handle(), SW_SHOW);
    SetForegroundWindow(window.Handle());
    SetCursorPos(500, 400);
    window.menu = CreatePopupMenu();
    AppendMenuW(window.menu, MF_STRING, 1, L"First entry");
    SetTimer(window.Handle(), PopupWindow::kGiveUpTimer, 500, nullptr);
    window.ShowPopupMenu(window.menu, false);
    KillTimer(window.Handle(), PopupWindow::kGiveUpTimer);
    DestroyMenu(window.menu);

    ASSERT_TRUE(window.looked);
    EXPECT_TRUE(window.inPopupWhileOpen);
    EXPECT_FALSE(window.InPopupMenu());
    EXPECT_GE(window.popupRect.left, 499);
    EXPECT_GE(window.popupRect.top, 399);
    EXPECT_LT(window.popupRect.left, 520);
}

// What the shell cannot open is reported with the system's reason: a file of
// a type no program is set up for, a file that is not there.
TEST(ShellOpen, FailuresComeBackWithTheirReason) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    const std::wstring odd = dir + L"note.vnzzq";
    HANDLE file = CreateFileW(odd.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    EXPECT_EQ(DWORD{ERROR_NO_ASSOCIATION}, ShellOpen(odd));
    EXPECT_EQ(DWORD{ERROR_FILE_NOT_FOUND},
              ShellOpen(dir + L"missing.txt", L"vn-no-such-program.exe"));

    EXPECT_EQ(DWORD{ERROR_NO_ASSOCIATION}, ShellExecuteError(SE_ERR_NOASSOC));
    EXPECT_EQ(DWORD{ERROR_SUCCESS}, ShellExecuteError(33));
    EXPECT_EQ(DWORD{ERROR_NOT_ENOUGH_MEMORY}, ShellExecuteError(0));

    LanguageTable language;
    language.Load(LangTest::WriteTexts(L"ShellOpen_Failed=Cannot open %s: %s"));
    const std::wstring told = ShellOpenFailureText(language, odd, ERROR_NO_ASSOCIATION);
    EXPECT_EQ(0u, told.find(L"Cannot open " + odd + L": "));
    EXPECT_GT(told.size(), odd.size() + 16) << "the system's words for the reason";
}
