// The dialog templates: what the dialog code relies on (identifiers, classes,
// styles, key texts), a layout without overlaps, and room for the texts of
// every language file that ships with the program.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogTemplateReader.h"
#include "TestPaths.h"
#include "lang/LanguageTable.h"
#include "lang/Translate_win.h"
#include "res/resource.h"

namespace {

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

// The kinds of control: class (compared without case, as windres writes
// registered names in capitals), and the style bits under a mask that tell it.
struct Kind {
    const wchar_t* className;
    DWORD mask, bits;
    bool tabStop;
};
const DWORD kEditMask = WS_BORDER | ES_AUTOHSCROLL | ES_NUMBER;
const Kind kLabel = {L"Static", 0, 0, false};
const Kind kCheck = {L"Button", BS_TYPEMASK, BS_AUTOCHECKBOX, true};
const Kind kButton = {L"Button", BS_TYPEMASK, BS_PUSHBUTTON, true};
const Kind kDefaultButton = {L"Button", BS_TYPEMASK, BS_DEFPUSHBUTTON, true};
const Kind kEdit = {L"Edit", kEditMask, WS_BORDER | ES_AUTOHSCROLL, true};
const Kind kNumber = {L"Edit", kEditMask, kEditMask, true};
const Kind kUpDown = {L"msctls_updown32", UDS_AUTOBUDDY | UDS_SETBUDDYINT,
                      UDS_AUTOBUDDY | UDS_SETBUDDYINT, false};
const Kind kTrackBar = {L"msctls_trackbar32", 0, 0, true};
const Kind kHotKey = {L"msctls_hotkey32", 0, 0, true};
const Kind kDate = {L"SysDateTimePick32", DTS_TIMEFORMAT, 0, true};
const Kind kTime = {L"SysDateTimePick32", DTS_TIMEFORMAT, DTS_TIMEFORMAT, true};

struct Control {
    int id;
    const wchar_t* text;  // the language key, or the control's own text
    const Kind& kind;
    const wchar_t* group;  // the key of the group box it sits in, or none
};

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
    const DWORD frame = DS_SHELLFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    EXPECT_EQ(d.style & frame, frame);
    ASSERT_EQ(d.items.size(), controls.size() + groups.size());

    std::vector<const DialogItemData*> placed;
    for (const wchar_t* group : groups) {
        placed.push_back(d.Find(0, group));
        ASSERT_NE(placed.back(), nullptr) << group;
        EXPECT_EQ(placed.back()->style & BS_TYPEMASK, static_cast<DWORD>(BS_GROUPBOX));
    }
    const RECT area = {7, 7, d.cx - 7, d.cy - 7};
    for (const Control& c : controls) {
        const DialogItemData* item = c.id == IDC_STATIC ? d.Find(0, c.text) : d.Find(c.id);
        ASSERT_NE(item, nullptr) << c.id << " " << c.text;
        SCOPED_TRACE(std::to_wstring(c.id) + L" " + c.text);
        EXPECT_EQ(item->text, c.text);
        EXPECT_EQ(lstrcmpiW(item->className.c_str(), c.kind.className), 0);
        EXPECT_EQ(item->style & (WS_CHILD | WS_VISIBLE), static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
        EXPECT_EQ(item->style & c.kind.mask, c.kind.bits);
        EXPECT_EQ((item->style & WS_TABSTOP) != 0, c.kind.tabStop);
        EXPECT_TRUE(Inside(item->Rect(), area));
        if (c.group) EXPECT_TRUE(Inside(item->Rect(), d.Find(0, c.group)->Rect())) << c.group;
        if (&c.kind == &kUpDown) {
            // An automatic buddy is the control just before it, and the up-down sits on it.
            EXPECT_EQ((item - 1)->id, c.id - 1);
            continue;
        }
        placed.push_back(item);
    }
    for (size_t i = 0; i < placed.size(); ++i)
        for (size_t j = 0; j < i; ++j) {
            const RECT a = placed[i]->Rect(), b = placed[j]->Rect();
            // Only a control inside its group box may share its place.
            if (j < groups.size() && i >= groups.size() && Inside(a, b)) continue;
            EXPECT_FALSE(Overlap(a, b))
                << placed[i]->id << " " << placed[i]->text << " / " << placed[j]->text;
        }
}

}  // namespace

TEST(DialogResources, NoteTitleAndAlarmDialogs) {
    CheckDialog(IDD_NOTE_TITLE, L"NoteTitle_Caption", 224, 58, {},
                {{IDC_STATIC, L"NoteTitle_Title", kLabel, nullptr},
                 {IDC_TITLE_TEXT, L"", kEdit, nullptr},
                 {IDOK, L"NoteTitle_OK", kDefaultButton, nullptr},
                 {IDCANCEL, L"NoteTitle_Cancel", kButton, nullptr}});
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
    EXPECT_EQ(d.style & (WS_VISIBLE | DS_CENTER), static_cast<DWORD>(WS_VISIBLE | DS_CENTER));
    EXPECT_TRUE(d.exStyle & WS_EX_APPWINDOW);
}

// The dialogs come up with all their controls (the common control classes
// exist), each up-down control talks to its edit field, and every translated text
// fits on its control in the dialog's own font, in every shipped language.
TEST(DialogResources, DialogsCreateEveryControlAndTranslatedTextsFit) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    const int checkWidth = GetSystemMetrics(SM_CXMENUCHECK) + 6;
    for (const wchar_t* file : {L"English.ini", L"German.ini"}) {
        LanguageTable table;
        table.Load(TestPaths::SourceDir() + L"\\languages\\" + file);
        for (int id : {IDD_SETTINGS, IDD_NOTE_TITLE, IDD_ALARM}) {
            SCOPED_TRACE(TestPaths::Narrow(file) + " dialog " + std::to_string(id));
            DialogData d;
            ASSERT_TRUE(DialogTemplateReader::Read(id, d));
            HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                             nullptr, QuietDialogProc, 0);
            ASSERT_NE(dialog, nullptr);
            for (int spin : {IDC_SNAP_BORDER_SPIN, IDC_SNAP_GAP_SPIN})
                if (id == IDD_SETTINGS)
                    EXPECT_EQ(reinterpret_cast<HWND>(
                                  SendDlgItemMessageW(dialog, spin, UDM_GETBUDDY, 0, 0)),
                              GetDlgItem(dialog, spin - 1));
            TranslateDialog(dialog, table);
            size_t children = 0;
            for (HWND child = GetWindow(dialog, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT), ++children) {
                wchar_t text[512] = {}, className[64] = {};
                GetWindowTextW(child, text, 512);
                GetClassNameW(child, className, 64);
                if (!text[0] || lstrcmpiW(className, L"Edit") == 0) continue;
                EXPECT_EQ(std::wstring(text).find(L"((("), std::wstring::npos)
                    << "a key is missing";

                HDC dc = GetDC(child);
                HGDIOBJ old = SelectObject(
                    dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
                RECT need = {};
                DrawTextW(dc, text, -1, &need, DT_CALCRECT | DT_SINGLELINE);
                SelectObject(dc, old);
                ReleaseDC(child, dc);
                RECT client = {};
                GetClientRect(child, &client);
                int room = client.right;
                if (lstrcmpiW(className, L"Button") == 0) {
                    const LONG type = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
                    if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX)
                        room -= checkWidth;
                    else  // the frame's corner and caption gaps, or the push button's edges
                        room -= type == BS_GROUPBOX ? 16 : 6;
                }
                EXPECT_LE(need.right, room)
                    << "\"" << TestPaths::Narrow(text) << "\" needs " << need.right;
            }
            EXPECT_EQ(children, d.items.size());
            DestroyWindow(dialog);
        }
    }
}
