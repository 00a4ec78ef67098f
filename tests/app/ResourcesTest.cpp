// The menus and dialogs among the program's resources: what the menu and dialog
// code relies on, a dialog layout without overlaps, and room for the texts of
// every language file that ships with the program.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/TestPaths.h"
#include "lang/LanguageKeys.h"
#include "lang/LanguageTable.h"
#include "lang/Translate_win.h"
#include "res/resource.h"

namespace {

constexpr int kSep = 0, kSub = -1;

// The identifiers of a menu's items; their texts but placeholders' "0" go to texts.
std::vector<int> IdsOf(HMENU menu, std::multiset<std::wstring>& texts) {
    std::vector<int> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const bool separator = GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR;
        ids.push_back(GetSubMenu(menu, i) ? kSub : separator ? kSep : GetMenuItemID(menu, i));
        wchar_t text[256] = {};
        if (GetMenuStringW(menu, i, text, 256, MF_BYPOSITION) > 0 && text != std::wstring(L"0"))
            texts.insert(text);
    }
    return ids;
}

}  // namespace

// The menu code reaches items by identifier and the submenus it fills by
// position; each of those holds a single placeholder. Every text is a language
// key of the menus' range, each key used once.
TEST(Resources, MenusReachedByIdAndPosition) {
    HMENU bars[2] = {LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(131)),
                     LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(149))};
    ASSERT_TRUE(bars[0] && bars[1]);
    HMENU main = GetSubMenu(bars[0], 0), note = GetSubMenu(bars[1], 0);
    HMENU settings = GetSubMenu(main, 14);
    const std::pair<HMENU, std::vector<int>> layouts[] = {
        {main, {132,
                kSub,
                kSep,
                137,
                169,
                138,
                201,
                32774,
                IDM_FIND_NOTES,
                kSub,
                kSep,
                kSub,
                IDM_RESTORE_BACKUP,
                kSep,
                kSub,
                kSep,
                144,
                145,
                kSep,
                147,
                148}},
        {GetSubMenu(main, 1), {134, 135, kSep, 136}},
        {GetSubMenu(main, 11), {140, IDM_RECYCLE_BIN_RESTORE, 141}},
        {settings, {142, kSep, kSub, kSep, kSub, kSub, kSep, 164, 182, kSep, IDM_SYNC_NOTES}},
        {note, {181,  32777, 32778, 150,  151,  198,  kSep, 158, 157, kSep, 156, kSep,
                kSub, kSub,  kSub,  kSub, kSep, kSub, kSep, 152, 153, kSep, 154, 155}},
        {GetSubMenu(note, 12), {188, 189, 190, 191, 192}},
        {GetSubMenu(note, 13), {204, 205}},
        {GetSubMenu(note, 14), {196, 195}},
        {GetSubMenu(note, 15), {176, kSep, 177, 179, kSep, 180}},
        {GetSubMenu(main, 9), {IDM_NOTES_PLACEHOLDER}},
        {GetSubMenu(settings, 2), {IDM_LANGUAGES_PLACEHOLDER}},
        {GetSubMenu(settings, 4), {IDM_SKINS_PLACEHOLDER}},
        {GetSubMenu(settings, 5), {IDM_COLOR_THEMES_PLACEHOLDER}},
        {GetSubMenu(note, 17), {IDM_LINKS_PLACEHOLDER}},
    };
    // The layouts name every submenu, so they see every text.
    std::multiset<std::wstring> texts;
    for (const auto& layout : layouts) EXPECT_EQ(IdsOf(layout.first, texts), layout.second);
    std::multiset<std::wstring> keys(kLanguageKeys + kFirstNoteMenuKey,
                                     kLanguageKeys + kFirstSettingsKey);
    keys.insert(kLanguageKeys[kMainMenu_RestoreBackup]);
    keys.insert(kLanguageKeys[kMainMenu_SyncNotes]);
    keys.insert(kLanguageKeys[kMainMenu_RecycleBinRestore]);
    keys.insert(kLanguageKeys[kMainMenu_FindNotes]);
    EXPECT_EQ(texts, keys);
    for (HMENU bar : bars) DestroyMenu(bar);
}

namespace {

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

// The kind of a control from its class and style: L label, G group box, C check
// box, B push button, D default push button, E edit field, N number field, U
// up-down with automatic buddy, T track bar, H hot-key control, d date, t time.
char KindOf(HWND control) {
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    const std::wstring c = name;
    const LONG style = GetWindowLongW(control, GWL_STYLE), buddy = UDS_AUTOBUDDY | UDS_SETBUDDYINT;
    const LONG button = style & BS_TYPEMASK;  // push, default push, -, auto check, ..., group
    if (c == L"Button") return button < 8 ? "BD?C???G"[button] : '?';
    if (c == L"Edit") return !(style & ES_AUTOHSCROLL) ? '?' : style & ES_NUMBER ? 'N' : 'E';
    if (c == UPDOWN_CLASSW) return (style & buddy) == buddy ? 'U' : '?';
    if (c == DATETIMEPICK_CLASSW) return style & DTS_TIMEFORMAT ? 't' : 'd';
    if (c == L"ListBox") return style & LBS_NOTIFY ? 'X' : '?';
    if (c == WC_LISTVIEWW)
        return (style & LVS_TYPEMASK) == LVS_REPORT && (style & LVS_OWNERDATA) ? 'V' : '?';
    return c == L"Static" ? 'L' : c == TRACKBAR_CLASSW ? 'T' : c == HOTKEY_CLASSW ? 'H' : '?';
}

bool Inside(const RECT& in, const RECT& out) {
    RECT both;
    return IntersectRect(&both, &in, &out) && EqualRect(&both, &in);
}

// Whether a text fits on its control in the control's own font, beside the check
// box, within the frame's corner and caption gaps or the push button's edges.
bool Fits(HWND control, const wchar_t* text, char kind) {
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT need = {}, room = {};
    GetClientRect(control, &room);
    // A label breaks its text into lines; everything else shows one line.
    need.right = room.right;
    DrawTextW(dc, text, -1, &need, DT_CALCRECT | (kind == 'L' ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    if (need.bottom > room.bottom) return false;
    const int check = GetSystemMetrics(SM_CXMENUCHECK) + 6;
    return need.right <= room.right - (kind == 'C'   ? check
                                       : kind == 'G' ? 16
                                       : kind == 'L' ? 0
                                                     : 6);
}

}  // namespace

// Each dialog's controls in tab order: their kinds, and the identifiers of all
// but labels and group boxes, which the dialog code reaches. The caption and
// texts are the dialog's own range of language keys, each used once. Nothing
// overlaps but a group box and what it holds, all within the dialog's margins;
// in every shipped language each translated text fits its control.
TEST(Resources, DialogControlsLayoutAndTranslatedTexts) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    // clang-format off
    const struct {
        int id, firstKey, endKey;
        std::string kinds;
        std::vector<int> ids;
    } dialogs[] = {
        {IDD_NOTE_TITLE, kFirstNoteTitleKey, kEmailHeader, "LEDB", {IDC_TITLE_TEXT, IDOK, IDCANCEL}},
        {IDD_RESTORE_BACKUP, kFirstRestoreBackupKey, kSaveFailed_Exit, "LXDB",
         {IDC_BACKUP_LIST, IDOK, IDCANCEL}},
        {IDD_SYNC, kFirstSyncKey, kEndSyncKey, "LCLEBLECDB",
         {IDC_SYNC_ENABLED, IDC_SYNC_FOLDER, IDC_SYNC_BROWSE, IDC_SYNC_COMPUTER_NAME,
          IDC_SYNC_PLACEMENT, IDOK, IDCANCEL}},
        {IDD_RESTORE_NOTE, kFirstRestoreNoteKey, kFirstRestoreNoteKey + 4, "LXDB",
         {IDC_DELETED_NOTE_LIST, IDOK, IDCANCEL}},
        {IDD_FIND_NOTES, kFirstFindNotesKey, kFirstFindNotesKey + 2, "LEV",
         {IDC_FIND_TEXT, IDC_FIND_LIST}},
        {IDD_ALARM, kFirstAlarmKey, kFirstNoteTitleKey, "LdLtDB",
         {IDC_ALARM_DATE, IDC_ALARM_TIME, IDOK, IDCANCEL}},
        {IDD_SETTINGS, kFirstSettingsKey, kFirstAlarmKey, "GCCCCGCCLTLBLCCLNULNUGLHLHLHLHLHDBB",
         {IDC_RUN_AT_STARTUP, IDC_CHECK_FOR_UPDATES_AT_STARTUP, IDC_SHOW_DATE_IN_TITLE,
          IDC_LAYERED_WINDOWS, IDC_AUTO_RESIZE_AFTER_EDIT, IDC_CONFIRM_ON_DELETE, IDC_TRANSLUCENCY,
          IDC_TRANSLUCENCY_HALF, IDC_SNAP_TO_GRID, IDC_SNAP_NOTES_TOGETHER, IDC_SNAP_BORDER,
          IDC_SNAP_BORDER_SPIN, IDC_SNAP_GAP, IDC_SNAP_GAP_SPIN, IDC_HOTKEY_SHOW_NOTES,
          IDC_HOTKEY_BRING_NOTES_TO_TOP, IDC_HOTKEY_NEW_NOTE, IDC_HOTKEY_NEW_NOTE_FROM_CLIPBOARD,
          IDC_HOTKEY_FIND_NOTES,
          IDOK, IDCANCEL, IDC_APPLY}},
    };
    // clang-format on
    const std::set<std::wstring> notKeys = {L"", L"0%", L"50%", L"100%"};
    for (const auto& dialog : dialogs)
        for (const wchar_t* file : {L"", L"English.ini", L"German.ini"}) {
            SCOPED_TRACE(std::to_string(dialog.id) + " " + TestPaths::Narrow(file));
            HWND d = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialog.id),
                                        nullptr, QuietDialogProc, 0);
            ASSERT_NE(d, nullptr);
            LanguageTable language;
            if (*file) {
                language.Load(TestPaths::SourceDir() + L"\\languages\\" + file);
                TranslateDialog(d, language);
            }
            // 7 dialog units in from the client area's edges, less a pixel of rounding.
            RECT margin = {7, 7, 7, 7}, area;
            MapDialogRect(d, &margin);
            GetClientRect(d, &area);
            MapWindowPoints(d, nullptr, reinterpret_cast<POINT*>(&area), 2);
            InflateRect(&area, 1 - margin.left, 1 - margin.top);
            wchar_t text[512] = {};
            GetWindowTextW(d, text, 512);
            std::multiset<std::wstring> keys = {text};
            std::string kinds;
            std::vector<int> ids;
            std::vector<std::pair<RECT, char>> placed;
            for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                const char kind = KindOf(c);
                const LONG style = GetWindowLongW(c, GWL_STYLE);
                GetWindowTextW(c, text, 512);
                kinds += kind;
                if (kind != 'L' && kind != 'G') ids.push_back(GetDlgCtrlID(c));
                if (!strchr("EdtNTHU", kind) && !notKeys.count(text)) keys.insert(text);
                if (*file && strchr("LGCBD", kind)) {
                    EXPECT_EQ(std::wstring(text).find(L"((("), std::wstring::npos);
                    EXPECT_TRUE(Fits(c, text, kind)) << "\"" << TestPaths::Narrow(text) << "\"";
                }
                EXPECT_TRUE(style & WS_VISIBLE);
                EXPECT_EQ((style & WS_TABSTOP) != 0, !strchr("LGU", kind)) << kinds;
                RECT r;
                GetWindowRect(c, &r);
                EXPECT_TRUE(Inside(r, area)) << kinds;
                if (kind == 'U')  // its buddy is the edit field just before it
                    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(c, UDM_GETBUDDY, 0, 0)),
                              GetDlgItem(d, GetDlgCtrlID(c) - 1));
                else
                    placed.push_back({r, kind});
            }
            DestroyWindow(d);
            EXPECT_EQ(kinds, dialog.kinds);
            EXPECT_EQ(ids, dialog.ids);
            if (!*file) {
                std::multiset<std::wstring> range(kLanguageKeys + dialog.firstKey,
                                                  kLanguageKeys + dialog.endKey);
                // A label added to the settings dialog after its range was full.
                if (dialog.id == IDD_SETTINGS) range.insert(kLanguageKeys[kSettings_FindNotes]);
                if (dialog.id == IDD_SYNC) range.insert(kLanguageKeys[kSync_Placement]);
                EXPECT_EQ(keys, range);
            }
            for (size_t i = 0; i < placed.size(); ++i)
                for (size_t j = 0; j < i; ++j) {
                    const RECT &a = placed[i].first, &b = placed[j].first;
                    const bool group = placed[i].second == 'G' || placed[j].second == 'G';
                    if (group && (Inside(a, b) || Inside(b, a))) continue;
                    RECT both;
                    EXPECT_FALSE(IntersectRect(&both, &a, &b)) << "controls " << i << " and " << j;
                }
        }
}
