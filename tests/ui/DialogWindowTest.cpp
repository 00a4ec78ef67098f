#include "ui/DialogWindow_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/WindowList_win.h"

namespace {

constexpr WORD kButtonId = 1001;
constexpr WORD kEditId = 1002;

// Builds a dialog template in memory: a dialog with an edit control and a
// push button.
class TemplateBuilder {
public:
    TemplateBuilder() {
        DLGTEMPLATE dialog = {};
        dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        dialog.cdit = 2;
        dialog.cx = 150;
        dialog.cy = 60;
        Append(&dialog, sizeof(dialog));
        Word(0);  // no menu
        Word(0);  // standard dialog class
        Text(L"Dialog under test");
        Item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 5, 5, 80, 14, kEditId, 0x0081);
        Item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 90, 5, 50, 14, kButtonId, 0x0080);
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words.data()); }

private:
    void Append(const void* data, size_t bytes) {
        const auto* w = static_cast<const WORD*>(data);
        words.insert(words.end(), w, w + bytes / sizeof(WORD));
    }
    void Word(WORD value) { words.push_back(value); }
    void Text(const wchar_t* text) {
        for (; *text; ++text) Word(static_cast<WORD>(*text));
        Word(0);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom) {
        if (words.size() % 2) Word(0);  // items start on a DWORD boundary
        DLGITEMTEMPLATE item = {};
        item.style = style;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = id;
        Append(&item, sizeof(item));
        Word(0xFFFF);
        Word(classAtom);
        Text(L"");
        Word(0);  // no creation data
    }

    std::vector<WORD> words;
};

class TestDialog : public DialogWindow {
public:
    INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITDIALOG) {
            initDialogSeen = true;
            handleAtInit = Handle();
            return TRUE;
        }
        return DialogWindow::DialogProc(window, message, wParam, lParam);
    }
    bool OnCommand(WORD notification, WORD id, HWND control) override {
        if (id == kButtonId && notification == BN_CLICKED) ++clicks;
        return true;
    }

    bool initDialogSeen = false;
    HWND handleAtInit = nullptr;
    int clicks = 0;
};

}  // namespace

TEST(DialogWindow, IsBoundToTheDialogNotToItsFirstControl) {
    TemplateBuilder dialogTemplate;
    TestDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(nullptr, dialogTemplate.Get()));
    wchar_t className[16] = {};
    GetClassNameW(dialog.Handle(), className, 16);
    EXPECT_STREQ(className, L"#32770");
    HWND edit = GetDlgItem(dialog.Handle(), kEditId);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_USERDATA), 0);
    EXPECT_EQ(WindowFromHandle(dialog.Handle()), &dialog);
    EXPECT_TRUE(dialog.initDialogSeen);
    EXPECT_EQ(dialog.handleAtInit, dialog.Handle());
}

TEST(DialogWindow, ControlNotificationsReachOnCommand) {
    TemplateBuilder dialogTemplate;
    TestDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(nullptr, dialogTemplate.Get()));
    SendMessageW(GetDlgItem(dialog.Handle(), kButtonId), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.clicks, 1);
}

TEST(DialogWindow, PreTranslateConsumesOnlyTheDialogsOwnKeyboardMessages) {
    TemplateBuilder dialogTemplate;
    TestDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(nullptr, dialogTemplate.Get()));
    MSG tab = {};
    tab.hwnd = GetDlgItem(dialog.Handle(), kEditId);
    tab.message = WM_KEYDOWN;
    tab.wParam = VK_TAB;
    EXPECT_FALSE(dialog.PreTranslate(tab));
    EXPECT_FALSE(WindowList::PreTranslate(tab));

    MSG elsewhere = {};
    elsewhere.hwnd = GetDesktopWindow();
    elsewhere.message = WM_KEYDOWN;
    elsewhere.wParam = VK_TAB;
    EXPECT_TRUE(dialog.PreTranslate(elsewhere));
}

TEST(DialogWindow, MissingTemplateResourceLeavesTheObjectUnbound) {
    TestDialog dialog;
    EXPECT_FALSE(dialog.Create(nullptr, 30999));
    EXPECT_EQ(dialog.Handle(), nullptr);
    // The attach was closed: a later creation binds normally.
    TemplateBuilder dialogTemplate;
    EXPECT_TRUE(dialog.CreateIndirect(nullptr, dialogTemplate.Get()));
}
