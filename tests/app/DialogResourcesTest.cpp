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

enum Kind {
    kLabel,
    kCheck,
    kButton,
    kDefaultButton,
    kEdit,
    kNumber,
    kUpDown,
    kTrackBar,
    kHotKey,
    kDate,
    kTime
};

struct Control {
    int id;
    const wchar_t* text;  // the language key, or the control's own text
    Kind kind;
    const wchar_t* group;  // the key of the group box it sits in, or none
};

bool HasAll(DWORD style, DWORD bits) {
    return (style & bits) == bits;
}

// What the dialog code and the translation rely on, and a layout in which
// nothing overlaps and everything sits inside the dialog's margins and its group.
void CheckDialog(int id, const wchar_t* caption, short cx, short cy,
                 const std::vector<const wchar_t*>& groups, const std::vector<Control>& controls) {
    SCOPED_TRACE(id);
    DialogData d;
    ASSERT_TRUE(DialogTemplateReader::Read(id, d));
    EXPECT_EQ(d.caption, caption);
    EXPECT_EQ(d.cx, cx);
    EXPECT_EQ(d.cy, cy);
    EXPECT_EQ(d.typeface, L"MS Shell Dlg");
    EXPECT_EQ(d.pointSize, 8);
    EXPECT_TRUE(HasAll(d.style, DS_SHELLFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU));
    ASSERT_EQ(d.items.size(), controls.size() + groups.size());

    for (const wchar_t* group : groups) {
        const DialogItemData* box = d.FindText(group);
        ASSERT_NE(box, nullptr) << group;
        EXPECT_EQ(box->style & BS_TYPEMASK, static_cast<DWORD>(BS_GROUPBOX));
    }
    const RECT area = {7, 7, d.cx - 7, d.cy - 7};
    std::vector<const DialogItemData*> placed;
    for (const Control& c : controls) {
        const DialogItemData* item = c.id == IDC_STATIC ? d.FindText(c.text) : d.Find(c.id);
        ASSERT_NE(item, nullptr) << c.id << " " << c.text;
        SCOPED_TRACE(std::to_wstring(c.id) + L" " + c.text);
        EXPECT_EQ(item->text, c.text);
        EXPECT_TRUE(HasAll(item->style, WS_CHILD | WS_VISIBLE));
        EXPECT_EQ((item->style & WS_TABSTOP) != 0, c.kind != kLabel && c.kind != kUpDown);
        const DWORD type = item->style & BS_TYPEMASK;
        switch (c.kind) {
            case kLabel:
                EXPECT_TRUE(SameClass(item->className, L"Static"));
                break;
            case kCheck:
                EXPECT_TRUE(SameClass(item->className, L"Button"));
                EXPECT_EQ(type, static_cast<DWORD>(BS_AUTOCHECKBOX));
                break;
            case kButton:
            case kDefaultButton:
                EXPECT_TRUE(SameClass(item->className, L"Button"));
                EXPECT_EQ(type,
                          static_cast<DWORD>(c.kind == kButton ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON));
                break;
            case kEdit:
            case kNumber:
                EXPECT_TRUE(SameClass(item->className, L"Edit"));
                EXPECT_TRUE(HasAll(item->style, WS_BORDER | ES_AUTOHSCROLL));
                EXPECT_EQ((item->style & ES_NUMBER) != 0, c.kind == kNumber);
                break;
            case kUpDown:
                EXPECT_TRUE(SameClass(item->className, L"msctls_updown32"));
                EXPECT_TRUE(HasAll(item->style, UDS_AUTOBUDDY | UDS_SETBUDDYINT));
                // An automatic buddy is the control just before it.
                ASSERT_GT(item, &d.items.front());
                EXPECT_EQ((item - 1)->id, c.id - 1);
                break;
            case kTrackBar:
                EXPECT_TRUE(SameClass(item->className, L"msctls_trackbar32"));
                break;
            case kHotKey:
                EXPECT_TRUE(SameClass(item->className, L"msctls_hotkey32"));
                break;
            case kDate:
            case kTime:
                EXPECT_TRUE(SameClass(item->className, L"SysDateTimePick32"));
                EXPECT_EQ(item->style & DTS_TIMEFORMAT,
                          static_cast<DWORD>(c.kind == kTime ? DTS_TIMEFORMAT : 0));
                break;
        }
        EXPECT_TRUE(Inside(item->Rect(), area));
        if (c.group) EXPECT_TRUE(Inside(item->Rect(), d.FindText(c.group)->Rect())) << c.group;
        if (c.kind != kUpDown) placed.push_back(item);  // it sits on its edit field
    }
    for (const wchar_t* group : groups) placed.push_back(d.FindText(group));
    for (size_t i = 0; i < placed.size(); ++i)
        for (size_t j = i + 1; j < placed.size(); ++j) {
            const bool boxes = placed[i]->style == placed[j]->style &&
                               (placed[i]->style & BS_TYPEMASK) == BS_GROUPBOX;
            const bool contained = Inside(placed[i]->Rect(), placed[j]->Rect()) ||
                                   Inside(placed[j]->Rect(), placed[i]->Rect());
            if (!boxes && contained) continue;  // a control inside its group box
            EXPECT_FALSE(Overlap(placed[i]->Rect(), placed[j]->Rect()))
                << placed[i]->id << " " << placed[i]->text << " / " << placed[j]->id << " "
                << placed[j]->text;
        }
}

}  // namespace

TEST(DialogResources, NoteTitleDialog) {
    CheckDialog(IDD_NOTE_TITLE, L"NoteTitle_Caption", 224, 58, {},
                {{IDC_STATIC, L"NoteTitle_Title", kLabel, nullptr},
                 {IDC_TITLE_TEXT, L"", kEdit, nullptr},
                 {IDOK, L"NoteTitle_OK", kDefaultButton, nullptr},
                 {IDCANCEL, L"NoteTitle_Cancel", kButton, nullptr}});
}

TEST(DialogResources, AlarmDialog) {
    CheckDialog(IDD_ALARM, L"Alarm_Title", 122, 94, {},
                {{IDC_STATIC, L"Alarm_Date", kLabel, nullptr},
                 {IDC_ALARM_DATE, L"", kDate, nullptr},
                 {IDC_STATIC, L"Alarm_Time", kLabel, nullptr},
                 {IDC_ALARM_TIME, L"", kTime, nullptr},
                 {IDOK, L"Alarm_OK", kDefaultButton, nullptr},
                 {IDCANCEL, L"Alarm_Cancel", kButton, nullptr}});
}

TEST(DialogResources, SettingsDialog) {
    const wchar_t* const general = L"Settings_GeneralSettings";
    const wchar_t* const notes = L"Settings_NoteSettings";
    const wchar_t* const keys = L"Settings_KeyboardShortcuts";
    CheckDialog(IDD_SETTINGS, L"Settings_Title", 400, 281, {general, notes, keys},
                {
                    {IDC_RUN_AT_STARTUP, L"Settings_RunAtStartup", kCheck, general},
                    {IDC_CHECK_FOR_UPDATES_AT_STARTUP, L"Settings_CheckForUpdatesAtStartup", kCheck,
                     general},
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
                    {IDOK, L"Settings_OK", kDefaultButton, nullptr},
                    {IDC_APPLY, L"Settings_Apply", kButton, nullptr},
                    {IDCANCEL, L"Settings_Cancel", kButton, nullptr},
                });
    DialogData d;
    ASSERT_TRUE(DialogTemplateReader::Read(IDD_SETTINGS, d));
    // Modeless, centred and on the task bar.
    EXPECT_TRUE(HasAll(d.style, WS_VISIBLE | DS_CENTER));
    EXPECT_TRUE(d.exStyle & WS_EX_APPWINDOW);
}

// The dialogs really come up with all their controls (the common control
// classes exist), and each up-down control talks to the right edit field.
TEST(DialogResources, DialogsCreateEveryControl) {
    InitControls();
    for (int id : {IDD_SETTINGS, IDD_NOTE_TITLE, IDD_ALARM}) {
        DialogData d;
        ASSERT_TRUE(DialogTemplateReader::Read(id, d));
        HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr,
                                         QuietDialogProc, 0);
        ASSERT_NE(dialog, nullptr) << id;
        size_t children = 0;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            ++children;
        EXPECT_EQ(children, d.items.size()) << id;
        if (id == IDD_SETTINGS) {
            for (int spin : {IDC_SNAP_BORDER_SPIN, IDC_SNAP_GAP_SPIN})
                EXPECT_EQ(
                    reinterpret_cast<HWND>(SendDlgItemMessageW(dialog, spin, UDM_GETBUDDY, 0, 0)),
                    GetDlgItem(dialog, spin - 1));
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
