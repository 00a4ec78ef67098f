#include "lang/Translate_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "LangTestUtil.h"
#include "lang/LanguageTable.h"

namespace {

const wchar_t kLanguage[] =
    L"[Text]\n"
    L"MainMenu_Exit=E&xit\n"
    L"MainMenu_Settings=S&ettings\n"
    L"MainMenu_SelectLanguage=&Language\n"
    L"MainMenu_ShowNotes=&Show Notes\n"
    L"Settings_Title=Preferences\n"
    L"Settings_Translucency=&Opacity:\n"
    L"Settings_OK=OK\n"
    L"Settings_Apply=&Apply\n"
    L"NoteMenu_Copy=&Copy\n";

std::wstring ItemString(HMENU menu, UINT position) {
    wchar_t buffer[256] = {};
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = 256;
    if (!GetMenuItemInfoW(menu, position, TRUE, &info)) return L"<failed>";
    return buffer;
}

MENUITEMINFOW ItemInfo(HMENU menu, UINT position) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_DATA | MIIM_BITMAP;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return info;
}

std::wstring Text(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

class TranslateTest : public ::testing::Test {
protected:
    void SetUp() override {
        table_.Load(LangTest::WriteIni(TestPaths::MakeScratchDir(), L"Lang.ini", kLanguage));
    }
    LanguageTable table_;
};

// A menu shaped like the program's main menu resource: a bar item whose popup holds
// items, a separator, a placeholder and a submenu inside a submenu.
class TranslateMenuTest : public TranslateTest {
protected:
    void SetUp() override {
        TranslateTest::SetUp();
        bar_ = CreateMenu();
        popup_ = CreatePopupMenu();
        settings_ = CreatePopupMenu();
        languages_ = CreatePopupMenu();
        AppendMenuW(languages_, MF_STRING, 161, L"0");
        AppendMenuW(settings_, MF_STRING, 142, L"MainMenu_General");
        AppendMenuW(settings_, MF_POPUP, reinterpret_cast<UINT_PTR>(languages_),
                    L"MainMenu_SelectLanguage");
        AppendMenuW(popup_, MF_STRING | MF_CHECKED | MF_GRAYED, 137, L"MainMenu_ShowNotes");
        AppendMenuW(popup_, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(popup_, MF_POPUP, reinterpret_cast<UINT_PTR>(settings_), L"MainMenu_Settings");
        AppendMenuW(popup_, MF_STRING, 148, L"MainMenu_Exit");
        AppendMenuW(popup_, MF_STRING, 500, L"Exit now");
        AppendMenuW(bar_, MF_POPUP, reinterpret_cast<UINT_PTR>(popup_), L"&MainWindow");
    }
    void TearDown() override { DestroyMenu(bar_); }

    HMENU bar_ = nullptr;
    HMENU popup_ = nullptr;
    HMENU settings_ = nullptr;
    HMENU languages_ = nullptr;
};

TEST_F(TranslateMenuTest, KeysBecomeTextsAtEveryLevel) {
    TranslateMenu(bar_, table_);

    EXPECT_EQ(ItemString(bar_, 0), L"(&MainWindow)");
    EXPECT_EQ(ItemString(popup_, 0), L"&Show Notes");
    EXPECT_EQ(ItemString(popup_, 2), L"S&ettings");
    EXPECT_EQ(ItemString(popup_, 3), L"E&xit");
    EXPECT_EQ(ItemString(popup_, 4), L"(Exit now)");
    EXPECT_EQ(ItemString(settings_, 0), L"(((MainMenu_General)))");
    EXPECT_EQ(ItemString(settings_, 1), L"&Language");
    EXPECT_EQ(ItemString(languages_, 0), L"(0)");
}

TEST_F(TranslateMenuTest, OnlyTheStringsChange) {
    MENUITEMINFOW extra = {};
    extra.cbSize = sizeof(extra);
    extra.fMask = MIIM_DATA | MIIM_BITMAP;
    extra.dwItemData = 0x5EED;
    extra.hbmpItem = HBMMENU_CALLBACK;
    SetMenuItemInfoW(popup_, 3, TRUE, &extra);
    const ULONG_PTR ownerData = 0xC0FFEE;
    AppendMenuW(popup_, MF_OWNERDRAW, 600, reinterpret_cast<const wchar_t*>(ownerData));
    const MENUITEMINFOW before = ItemInfo(popup_, 0);

    TranslateMenu(bar_, table_);

    const MENUITEMINFOW shown = ItemInfo(popup_, 0);
    EXPECT_EQ(shown.wID, 137u);
    EXPECT_EQ(shown.fState & (MFS_CHECKED | MFS_GRAYED),
              before.fState & (MFS_CHECKED | MFS_GRAYED));
    EXPECT_EQ(shown.fType, before.fType);
    EXPECT_TRUE(ItemInfo(popup_, 1).fType & MFT_SEPARATOR);
    EXPECT_EQ(ItemInfo(popup_, 2).hSubMenu, settings_);
    EXPECT_EQ(ItemInfo(settings_, 1).hSubMenu, languages_);
    EXPECT_EQ(ItemInfo(bar_, 0).hSubMenu, popup_);

    const MENUITEMINFOW exit = ItemInfo(popup_, 3);
    EXPECT_EQ(exit.wID, 148u);
    EXPECT_EQ(exit.dwItemData, 0x5EEDu);
    EXPECT_EQ(exit.hbmpItem, HBMMENU_CALLBACK);

    const MENUITEMINFOW owner = ItemInfo(popup_, 5);
    EXPECT_TRUE(owner.fType & MFT_OWNERDRAW);
    EXPECT_EQ(owner.dwItemData, ownerData);
    EXPECT_EQ(GetMenuItemCount(popup_), 6);
}

TEST_F(TranslateMenuTest, ProcessWideTableIsTheDefault) {
    LoadLanguage(LangTest::WriteIni(TestPaths::MakeScratchDir(), L"Shared.ini",
                                    L"[Text]\nMainMenu_Exit=Quit"));
    TranslateMenu(bar_);
    EXPECT_EQ(ItemString(popup_, 3), L"Quit");
    EXPECT_EQ(ItemString(popup_, 0), L"(((MainMenu_ShowNotes)))");
}

// Builds an in-memory dialog template: DLGTEMPLATE, then DWORD-aligned
// DLGITEMTEMPLATEs, each followed by its class, text and creation-data words.
class DialogTemplate {
public:
    explicit DialogTemplate(const wchar_t* caption) {
        Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU);
        Dword(0);
        countAt_ = words_.size();
        Word(0);
        Rect(0, 0, 200, 120);
        Word(0);  // no menu
        Word(0);  // default class
        String(caption);
    }

    void Add(WORD atom, DWORD style, WORD id, const wchar_t* text) {
        while (words_.size() % 2) Word(0);
        Dword(WS_CHILD | WS_VISIBLE | style);
        Dword(0);
        Rect(5, 5 + 12 * count_, 100, 10);
        Word(id);
        Word(0xFFFF);
        Word(atom);
        String(text);
        Word(0);  // no creation data
        words_[countAt_] = ++count_;
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Word(WORD w) { words_.push_back(w); }
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Rect(short x, short y, short cx, short cy) {
        for (short v : {x, y, cx, cy}) Word(static_cast<WORD>(v));
    }
    void String(const wchar_t* s) {
        for (; *s; ++s) Word(*s);
        Word(0);
    }

    std::vector<WORD> words_;
    size_t countAt_ = 0;
    WORD count_ = 0;
};

const WORD kButton = 0x0080;
const WORD kEdit = 0x0081;
const WORD kStatic = 0x0082;

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

class TranslateDialogTest : public TranslateTest {
protected:
    HWND Create(const DialogTemplate& tmpl) {
        dialog_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), tmpl.Get(), nullptr,
                                             QuietDialogProc, 0);
        return dialog_;
    }
    void TearDown() override {
        if (dialog_) DestroyWindow(dialog_);
    }
    HWND dialog_ = nullptr;
};

TEST_F(TranslateDialogTest, CaptionAndKeyControlsAreTranslatedOthersStay) {
    DialogTemplate tmpl(L"Settings_Title");
    tmpl.Add(kStatic, SS_LEFT, 0xFFFF, L"Settings_Translucency");
    tmpl.Add(kStatic, SS_LEFT, 0xFFFF, L"0%");
    tmpl.Add(kButton, BS_PUSHBUTTON, 1014, L"50%");
    tmpl.Add(kStatic, SS_LEFT, 0xFFFF, L"100%");
    tmpl.Add(kEdit, ES_LEFT, 1021, L"");
    tmpl.Add(kButton, BS_DEFPUSHBUTTON, IDOK, L"Settings_OK");
    tmpl.Add(kButton, BS_PUSHBUTTON, 1015, L"Settings_Apply");
    tmpl.Add(kButton, BS_PUSHBUTTON, IDCANCEL, L"Settings_Cancel");
    tmpl.Add(kStatic, SS_LEFT, 1030, L"settings_ok");
    ASSERT_TRUE(Create(tmpl));

    TranslateDialog(dialog_, table_);

    EXPECT_EQ(Text(dialog_), L"Preferences");
    EXPECT_EQ(Text(GetDlgItem(dialog_, 1014)), L"50%");
    EXPECT_EQ(Text(GetDlgItem(dialog_, 1021)), L"");
    EXPECT_EQ(Text(GetDlgItem(dialog_, IDOK)), L"OK");
    EXPECT_EQ(Text(GetDlgItem(dialog_, 1015)), L"&Apply");
    // A key the language lacks shows as the key; a near miss is no key at all.
    EXPECT_EQ(Text(GetDlgItem(dialog_, IDCANCEL)), L"(((Settings_Cancel)))");
    EXPECT_EQ(Text(GetDlgItem(dialog_, 1030)), L"settings_ok");

    std::vector<std::wstring> labels;
    for (HWND child = GetWindow(dialog_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetDlgCtrlID(child) & 0xFFFF) == 0xFFFF) labels.push_back(Text(child));
    }
    EXPECT_EQ(labels, (std::vector<std::wstring>{L"&Opacity:", L"0%", L"100%"}));
}

TEST_F(TranslateDialogTest, CaptionThatIsNoKeyAndGrandchildrenStay) {
    DialogTemplate tmpl(L"Alarm");
    tmpl.Add(kStatic, SS_LEFT, 1040, L"Settings_OK");
    ASSERT_TRUE(Create(tmpl));
    HWND holder = GetDlgItem(dialog_, 1040);
    HWND grandchild = CreateWindowExW(0, L"STATIC", L"Settings_Apply", WS_CHILD, 0, 0, 10, 10,
                                      holder, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(grandchild);

    TranslateDialog(dialog_, table_);

    EXPECT_EQ(Text(dialog_), L"Alarm");
    EXPECT_EQ(Text(holder), L"OK");
    EXPECT_EQ(Text(grandchild), L"Settings_Apply");
}

}  // namespace
