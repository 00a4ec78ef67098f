// The dialog templates: what the dialog code relies on (identifiers, classes,
// styles, key texts), a layout without overlaps, and room for the texts of
// every language file that ships with the program.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "DialogTemplateReader.h"
#include "lang/LanguageTable.h"
#include "lang/Translate_win.h"
#include "res/resource.h"

namespace {

constexpr DWORD kChildVisible = WS_CHILD | WS_VISIBLE;

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// windres writes the names of registered classes in capitals; class names
// compare without case.
bool SameClass(const std::wstring& a, const wchar_t* b) {
    return lstrcmpiW(a.c_str(), b) == 0;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

void InitControls() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

struct ExactItem {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    short x, y, cx, cy;
    DWORD style;
};

// Small dialogs whose every control is fixed.
void ExpectExactly(const DialogData& d, const std::vector<ExactItem>& expected) {
    ASSERT_EQ(d.items.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const DialogItemData& item = d.items[i];
        const ExactItem& e = expected[i];
        SCOPED_TRACE(e.text[0] ? e.text : e.className);
        EXPECT_EQ(item.id, e.id);
        EXPECT_TRUE(SameClass(item.className, e.className)) << e.className;
        EXPECT_EQ(item.text, e.text);
        EXPECT_EQ(item.x, e.x);
        EXPECT_EQ(item.y, e.y);
        EXPECT_EQ(item.cx, e.cx);
        EXPECT_EQ(item.cy, e.cy);
        EXPECT_EQ(item.style, e.style) << std::hex << item.style;
    }
}

void ExpectShellFontDialog(const DialogData& d) {
    EXPECT_EQ(d.typeface, L"MS Shell Dlg");
    EXPECT_EQ(d.pointSize, 8);
    EXPECT_EQ(d.style & DS_SHELLFONT, static_cast<DWORD>(DS_SHELLFONT));
}

}  // namespace

TEST(DialogResources, NoteTitleDialog) {
    DialogData d;
    ASSERT_TRUE(DialogTemplateReader::Read(IDD_NOTE_TITLE, d));
    EXPECT_EQ(d.caption, L"NoteTitle_Caption");
    EXPECT_EQ(d.style, 0x80C800C8u);
    EXPECT_EQ(d.cx, 224);
    EXPECT_EQ(d.cy, 58);
    ExpectShellFontDialog(d);
    ExpectExactly(d, {
                         {IDC_STATIC, L"Static", L"NoteTitle_Title", 7, 7, 210, 8, 0x50020000},
                         {IDC_TITLE_TEXT, L"Edit", L"", 7, 16, 210, 14, 0x50810080},
                         {IDOK, L"Button", L"NoteTitle_OK", 109, 37, 50, 14, 0x50010001},
                         {IDCANCEL, L"Button", L"NoteTitle_Cancel", 167, 37, 50, 14, 0x50010000},
                     });
}

TEST(DialogResources, AlarmDialog) {
    DialogData d;
    ASSERT_TRUE(DialogTemplateReader::Read(IDD_ALARM, d));
    EXPECT_EQ(d.caption, L"Alarm_Title");
    EXPECT_EQ(d.style, 0x80C800C8u);
    EXPECT_EQ(d.cx, 122);
    EXPECT_EQ(d.cy, 94);
    ExpectShellFontDialog(d);
    // The labels reach across the dialog so that longer translations fit.
    ExpectExactly(d, {
                         {IDC_STATIC, L"Static", L"Alarm_Date", 7, 7, 108, 8, 0x50020000},
                         {IDC_ALARM_DATE, L"SysDateTimePick32", L"", 7, 15, 75, 15, 0x50010020},
                         {IDC_STATIC, L"Static", L"Alarm_Time", 7, 34, 108, 8, 0x50020000},
                         {IDC_ALARM_TIME, L"SysDateTimePick32", L"", 7, 43, 75, 15, 0x50010029},
                         {IDOK, L"Button", L"Alarm_OK", 7, 73, 50, 14, 0x50010001},
                         {IDCANCEL, L"Button", L"Alarm_Cancel", 65, 73, 50, 14, 0x50010000},
                     });
}

TEST(DialogResources, SettingsDialogControlsAndLayout) {
    DialogData d;
    ASSERT_TRUE(DialogTemplateReader::Read(IDD_SETTINGS, d));
    EXPECT_EQ(d.caption, L"Settings_Title");
    EXPECT_EQ(d.cx, 400);
    EXPECT_EQ(d.cy, 281);
    ExpectShellFontDialog(d);
    const DWORD wanted = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_CENTER;
    EXPECT_EQ(d.style & wanted, wanted);
    EXPECT_TRUE(d.exStyle & WS_EX_APPWINDOW);

    const wchar_t* const general = L"Settings_GeneralSettings";
    const wchar_t* const notes = L"Settings_NoteSettings";
    const wchar_t* const keys = L"Settings_KeyboardShortcuts";
    enum Kind { kCheck, kLabel, kButton, kHotKey, kTrackBar, kNumber, kUpDown };
    const struct {
        int id;
        const wchar_t* text;  // the key, or the control's own text
        Kind kind;
        const wchar_t* group;  // the group box it sits in, or none
    } controls[] = {
        {IDC_RUN_AT_STARTUP, L"Settings_RunAtStartup", kCheck, general},
        {IDC_CHECK_FOR_UPDATES_AT_STARTUP, L"Settings_CheckForUpdatesAtStartup", kCheck, general},
        {IDC_SHOW_DATE_IN_TITLE, L"Settings_ShowDateInTitle", kCheck, general},
        {IDC_LAYERED_WINDOWS, L"Settings_LayeredWindowEnabled", kCheck, general},
        {IDC_AUTO_RESIZE_AFTER_EDIT, L"Settings_AutoResizeAfterEdit", kCheck, notes},
        {IDC_CONFIRM_ON_DELETE, L"Settings_ConfirmOnDelete", kCheck, notes},
        {IDC_STATIC, L"Settings_Translucency", kLabel, notes},
        {IDC_TRANSLUCENCY, L"", kTrackBar, notes},
        {IDC_STATIC, L"0%", kLabel, notes},
        {IDC_TRANSLUCENCY_HALF, L"50%", kButton, notes},
        {IDC_STATIC, L"100%", kLabel, notes},
        {IDC_SNAP_TO_GRID, L"Settings_SnapNotesToGrid", kCheck, notes},
        {IDC_SNAP_NOTES_TOGETHER, L"Settings_SnapNotesTogether", kCheck, notes},
        {IDC_STATIC, L"Settings_NoteSpacing", kLabel, notes},
        {IDC_SNAP_BORDER, L"", kNumber, notes},
        {IDC_SNAP_BORDER_SPIN, L"", kUpDown, notes},
        {IDC_STATIC, L"Settings_SnapSize", kLabel, notes},
        {IDC_SNAP_GAP, L"", kNumber, notes},
        {IDC_SNAP_GAP_SPIN, L"", kUpDown, notes},
        {IDC_STATIC, L"Settings_ShowHideNotes", kLabel, keys},
        {IDC_HOTKEY_SHOW_NOTES, L"", kHotKey, keys},
        {IDC_STATIC, L"Settings_BringNotesToTop", kLabel, keys},
        {IDC_HOTKEY_BRING_NOTES_TO_TOP, L"", kHotKey, keys},
        {IDC_STATIC, L"Settings_NewNote", kLabel, keys},
        {IDC_HOTKEY_NEW_NOTE, L"", kHotKey, keys},
        {IDC_STATIC, L"Settings_NewNoteFromClipboard", kLabel, keys},
        {IDC_HOTKEY_NEW_NOTE_FROM_CLIPBOARD, L"", kHotKey, keys},
        {IDOK, L"Settings_OK", kButton, nullptr},
        {IDC_APPLY, L"Settings_Apply", kButton, nullptr},
        {IDCANCEL, L"Settings_Cancel", kButton, nullptr},
    };
    ASSERT_EQ(d.items.size(), std::size(controls) + 3) << "the controls and three group boxes";

    for (const wchar_t* group : {general, notes, keys}) {
        const DialogItemData* box = d.FindText(group);
        ASSERT_NE(box, nullptr) << group;
        EXPECT_EQ(box->className, L"Button");
        EXPECT_EQ(box->style & BS_TYPEMASK, static_cast<DWORD>(BS_GROUPBOX));
    }

    const RECT dialogArea = {7, 7, d.cx - 7, d.cy - 7};
    std::vector<const DialogItemData*> placed;
    for (const auto& c : controls) {
        const DialogItemData* item = c.id == IDC_STATIC ? d.FindText(c.text) : d.Find(c.id);
        ASSERT_NE(item, nullptr) << c.id << " " << c.text;
        SCOPED_TRACE(std::to_wstring(c.id) + L" " + c.text);
        EXPECT_EQ(item->text, c.text);
        EXPECT_EQ(item->style & kChildVisible, kChildVisible);
        if (c.kind != kLabel && c.kind != kUpDown) EXPECT_TRUE(item->style & WS_TABSTOP);
        switch (c.kind) {
            case kCheck:
                EXPECT_EQ(item->className, L"Button");
                EXPECT_EQ(item->style & BS_TYPEMASK, static_cast<DWORD>(BS_AUTOCHECKBOX));
                break;
            case kLabel:
                EXPECT_EQ(item->className, L"Static");
                break;
            case kButton:
                EXPECT_EQ(item->className, L"Button");
                EXPECT_EQ(item->style & BS_TYPEMASK,
                          static_cast<DWORD>(c.id == IDOK ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON));
                break;
            case kHotKey:
                EXPECT_TRUE(SameClass(item->className, L"msctls_hotkey32"));
                break;
            case kTrackBar:
                EXPECT_TRUE(SameClass(item->className, L"msctls_trackbar32"));
                break;
            case kNumber:
                EXPECT_EQ(item->className, L"Edit");
                EXPECT_TRUE(item->style & ES_NUMBER);
                break;
            case kUpDown: {
                EXPECT_TRUE(SameClass(item->className, L"msctls_updown32"));
                const DWORD buddy = UDS_AUTOBUDDY | UDS_SETBUDDYINT;
                EXPECT_EQ(item->style & buddy, buddy);
                // An automatic buddy is the control created just before.
                ASSERT_GT(item, &d.items.front());
                EXPECT_EQ((item - 1)->id, c.id - 1);
                break;
            }
        }
        EXPECT_TRUE(Inside(item->Rect(), dialogArea));
        if (c.group) EXPECT_TRUE(Inside(item->Rect(), d.FindText(c.group)->Rect())) << c.group;
        if (c.kind != kUpDown) placed.push_back(item);
    }
    // The up-down controls sit on their edit fields; nothing else may overlap.
    for (size_t i = 0; i < placed.size(); ++i)
        for (size_t j = i + 1; j < placed.size(); ++j)
            EXPECT_FALSE(Overlap(placed[i]->Rect(), placed[j]->Rect()))
                << placed[i]->id << " " << placed[i]->text << " / " << placed[j]->id << " "
                << placed[j]->text;
    // Group boxes do not overlap one another either.
    EXPECT_FALSE(Overlap(d.FindText(general)->Rect(), d.FindText(notes)->Rect()));
    EXPECT_FALSE(Overlap(d.FindText(general)->Rect(), d.FindText(keys)->Rect()));
    EXPECT_FALSE(Overlap(d.FindText(notes)->Rect(), d.FindText(keys)->Rect()));
}

// The dialogs really come up with every control of its class; for the up-down
// controls the buddy the dialog code talks to is the right edit field.
TEST(DialogResources, DialogsCreateEveryControl) {
    InitControls();
    const struct {
        int dialog;
        std::vector<std::pair<int, const wchar_t*>> controls;
    } cases[] = {
        {IDD_SETTINGS,
         {{IDC_RUN_AT_STARTUP, L"Button"},
          {IDC_TRANSLUCENCY, L"msctls_trackbar32"},
          {IDC_SNAP_BORDER, L"Edit"},
          {IDC_SNAP_BORDER_SPIN, L"msctls_updown32"},
          {IDC_SNAP_GAP_SPIN, L"msctls_updown32"},
          {IDC_HOTKEY_SHOW_NOTES, L"msctls_hotkey32"},
          {IDC_HOTKEY_NEW_NOTE, L"msctls_hotkey32"},
          {IDC_HOTKEY_BRING_NOTES_TO_TOP, L"msctls_hotkey32"},
          {IDC_HOTKEY_NEW_NOTE_FROM_CLIPBOARD, L"msctls_hotkey32"},
          {IDC_APPLY, L"Button"}}},
        {IDD_NOTE_TITLE, {{IDC_TITLE_TEXT, L"Edit"}, {IDOK, L"Button"}}},
        {IDD_ALARM,
         {{IDC_ALARM_DATE, L"SysDateTimePick32"}, {IDC_ALARM_TIME, L"SysDateTimePick32"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialog);
        HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(c.dialog),
                                         nullptr, QuietDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
        for (const auto& [id, className] : c.controls) {
            HWND control = GetDlgItem(dialog, id);
            ASSERT_NE(control, nullptr) << id;
            wchar_t name[64] = {};
            GetClassNameW(control, name, 64);
            EXPECT_EQ(lstrcmpiW(name, className), 0) << id << " is " << name;
        }
        if (c.dialog == IDD_SETTINGS) {
            EXPECT_EQ(reinterpret_cast<HWND>(
                          SendDlgItemMessageW(dialog, IDC_SNAP_BORDER_SPIN, UDM_GETBUDDY, 0, 0)),
                      GetDlgItem(dialog, IDC_SNAP_BORDER));
            EXPECT_EQ(reinterpret_cast<HWND>(
                          SendDlgItemMessageW(dialog, IDC_SNAP_GAP_SPIN, UDM_GETBUDDY, 0, 0)),
                      GetDlgItem(dialog, IDC_SNAP_GAP));
        }
        DestroyWindow(dialog);
    }
}

// Every translated text fits on its control in the dialog's own font, in every
// language file beside the program.
TEST(DialogResources, TranslatedTextsFit) {
    InitControls();
    const std::wstring folder = TestPaths::SourceDir() + L"\\languages\\";
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((folder + L"*.ini").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) GTEST_SKIP() << "no language files";
    std::vector<std::wstring> files;
    do files.push_back(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);

    const int checkWidth = GetSystemMetrics(SM_CXMENUCHECK) + 6;
    for (const std::wstring& file : files) {
        LanguageTable table;
        table.Load(folder + file);
        for (int id : {IDD_SETTINGS, IDD_NOTE_TITLE, IDD_ALARM}) {
            HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                             nullptr, QuietDialogProc, 0);
            ASSERT_NE(dialog, nullptr);
            TranslateDialog(dialog, table);
            for (HWND child = GetWindow(dialog, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                wchar_t text[512] = {};
                GetWindowTextW(child, text, 512);
                wchar_t className[64] = {};
                GetClassNameW(child, className, 64);
                if (!text[0] || lstrcmpiW(className, L"Edit") == 0) continue;
                EXPECT_EQ(std::wstring(text).find(L"((("), std::wstring::npos)
                    << TestPaths::Narrow(file) << ": a key is missing";

                HDC dc = GetDC(child);
                HGDIOBJ old = SelectObject(
                    dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
                RECT need = {0, 0, 0, 0};
                DrawTextW(dc, text, -1, &need, DT_CALCRECT | DT_SINGLELINE);
                SelectObject(dc, old);
                ReleaseDC(child, dc);

                RECT client = {};
                GetClientRect(child, &client);
                int room = client.right;
                const LONG style = GetWindowLongW(child, GWL_STYLE);
                if (lstrcmpiW(className, L"Button") == 0) {
                    const LONG type = style & BS_TYPEMASK;
                    if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX)
                        room -= checkWidth;
                    else if (type == BS_GROUPBOX)
                        room -= 16;  // the frame's corner and the gaps around the caption
                    else
                        room -= 6;  // the push button's edges
                }
                EXPECT_LE(need.right, room)
                    << TestPaths::Narrow(file) << " dialog " << id << ": \""
                    << TestPaths::Narrow(text) << "\" needs " << need.right << " of " << room;
            }
            DestroyWindow(dialog);
        }
    }
}
