// The menus and dialogs among the program's resources, as a user meets them:
// every text is a language key that each shipped language translates, fits its
// control, and no two items of one menu or dialog share an access key; controls
// lie within the dialog's margins without overlapping, and Tab reaches exactly
// the ones that take input.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <iterator>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/TestPaths.h"
#include "lang/LanguageKeys.h"
#include "lang/LanguageTable.h"
#include "lang/Translate_win.h"
#include "main/MainMenu_win.h"
#include "res/resource.h"

namespace {

const wchar_t* const kLanguages[] = {L"", L"English.ini", L"German.ini"};

// The letter after a single '&' (lower case), or 0.
wchar_t AccessKey(const std::wstring& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == L'&') {
            if (text[i + 1] != L'&') return static_cast<wchar_t>(std::towlower(text[i + 1]));
            ++i;
        }
    return 0;
}

std::wstring MenuText(HMENU menu, int position) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, position, text, 256, MF_BYPOSITION);
    return text;
}

// Visits a menu and every submenu below it, depth first.
void EachMenu(HMENU menu, const std::function<void(HMENU)>& visit) {
    visit(menu);
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        if (HMENU sub = GetSubMenu(menu, i)) EachMenu(sub, visit);
}

int CountId(HMENU top, UINT id) {
    int count = 0;
    EachMenu(top, [&](HMENU m) {
        for (int i = 0; i < GetMenuItemCount(m); ++i)
            if (!GetSubMenu(m, i) && GetMenuItemID(m, i) == id) ++count;
    });
    return count;
}

// GetMenuState would not do: for a submenu its high byte is the item count.
bool IsSeparator(HMENU menu, int position) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    return GetMenuItemInfoW(menu, position, TRUE, &info) && (info.fType & MFT_SEPARATOR);
}

bool IsPlaceholder(const std::wstring& text) {
    return text == L"0";
}

}  // namespace

// The two menus as loaded: their texts are exactly the menus' language keys
// (each once), and every shipped language gives each item a text of its own
// with no access key used twice in one menu. The submenus the code fills hold
// one placeholder each, where the code looks for them.
TEST(Resources, MenusTranslatedWithDistinctAccessKeys) {
    HMENU bars[2] = {LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU)),
                     LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_NOTE_MENU))};
    ASSERT_TRUE(bars[0] && bars[1]);
    HMENU main = GetSubMenu(bars[0], 0), note = GetSubMenu(bars[1], 0);

    std::multiset<std::wstring> texts;
    for (HMENU top : {main, note})
        EachMenu(top, [&](HMENU m) {
            for (int i = 0; i < GetMenuItemCount(m); ++i)
                if (!(IsSeparator(m, i)) && !IsPlaceholder(MenuText(m, i)))
                    texts.insert(MenuText(m, i));
        });
    std::multiset<std::wstring> keys(kLanguageKeys + kFirstNoteMenuKey,
                                     kLanguageKeys + kFirstSettingsKey);
    for (int key : {kMainMenu_RestoreBackup, kMainMenu_SyncNotes, kMainMenu_RecycleBinRestore,
                    kMainMenu_FindNotes})
        keys.insert(kLanguageKeys[key]);
    std::vector<std::wstring> extra, missing;
    std::set_difference(texts.begin(), texts.end(), keys.begin(), keys.end(),
                        std::back_inserter(extra));
    std::set_difference(keys.begin(), keys.end(), texts.begin(), texts.end(),
                        std::back_inserter(missing));
    for (const std::wstring& text : extra)
        ADD_FAILURE() << "not a menu key: " << TestPaths::Narrow(text);
    for (const std::wstring& key : missing)
        ADD_FAILURE() << "key without item: " << TestPaths::Narrow(key);

    HMENU settings = GetSubMenu(main, kSettingsSubmenuPos);
    const std::pair<HMENU, UINT> filled[] = {
        {GetSubMenu(main, kNotesSubmenuPos), IDM_NOTES_PLACEHOLDER},
        {GetSubMenu(settings, kLanguagesSubmenuPos), IDM_LANGUAGES_PLACEHOLDER},
        {GetSubMenu(settings, kSkinsSubmenuPos), IDM_SKINS_PLACEHOLDER},
        {GetSubMenu(settings, kColorThemesSubmenuPos), IDM_COLOR_THEMES_PLACEHOLDER},
    };
    for (const auto& [submenu, id] : filled) {
        ASSERT_NE(submenu, nullptr) << id;
        EXPECT_EQ(GetMenuItemCount(submenu), 1) << id;
        EXPECT_EQ(GetMenuItemID(submenu, 0), id);
        EXPECT_EQ(CountId(main, id), 1) << id;
    }
    EXPECT_EQ(CountId(note, IDM_LINKS_PLACEHOLDER), 1);

    for (const wchar_t* file : kLanguages) {
        if (!*file) continue;
        SCOPED_TRACE(TestPaths::Narrow(file));
        LanguageTable language;
        language.Load(TestPaths::SourceDir() + L"\\languages\\" + file);
        for (const int menuId : {IDR_MAIN_MENU, IDR_NOTE_MENU}) {
            HMENU bar = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId));
            HMENU copy = GetSubMenu(bar, 0);
            TranslateMenu(copy, language);
            EachMenu(copy, [&](HMENU m) {
                std::map<wchar_t, std::wstring> used;
                for (int i = 0; i < GetMenuItemCount(m); ++i) {
                    if (IsSeparator(m, i)) continue;
                    const std::wstring text = MenuText(m, i);
                    if (IsPlaceholder(text)) continue;
                    EXPECT_FALSE(text.empty());
                    EXPECT_EQ(keys.count(text), 0u) << "untranslated " << TestPaths::Narrow(text);
                    EXPECT_EQ(text.find(L"((("), std::wstring::npos) << TestPaths::Narrow(text);
                    const wchar_t key = AccessKey(text);
                    if (!key) continue;
                    EXPECT_TRUE(used.emplace(key, text).second)
                        << "access key of \"" << TestPaths::Narrow(text) << "\" also on \""
                        << TestPaths::Narrow(used[key]) << "\"";
                }
            });
            DestroyMenu(bar);
        }
    }
    for (HMENU bar : bars) DestroyMenu(bar);
}

namespace {

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

std::wstring ClassOf(HWND control) {
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    return name;
}

bool IsGroupBox(HWND c) {
    return ClassOf(c) == L"Button" && (GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}
bool IsCheckBox(HWND c) {
    const LONG type = GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK;
    return ClassOf(c) == L"Button" && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX);
}
bool IsLabel(HWND c) {
    return ClassOf(c) == L"Static";
}
// Up-down controls sit on the edit field they count in, as one field.
bool IsSpin(HWND c) {
    return ClassOf(c) == UPDOWN_CLASSW;
}
// Controls whose text is the user's, not the program's.
bool HoldsUserText(HWND c) {
    const std::wstring name = ClassOf(c);
    return name == L"Edit" || name == HOTKEY_CLASSW || name == DATETIMEPICK_CLASSW ||
           name == TRACKBAR_CLASSW || name == L"ListBox" || name == WC_LISTVIEWW || IsSpin(c);
}

bool Inside(const RECT& in, const RECT& out) {
    RECT both;
    return IntersectRect(&both, &in, &out) && EqualRect(&both, &in);
}

// Whether a text fits on its control in the control's own font, beside the check
// box, within the frame's corner and caption gaps or the push button's edges.
bool Fits(HWND control, const wchar_t* text) {
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT need = {}, room = {};
    GetClientRect(control, &room);
    // A label breaks its text into lines; everything else shows one line.
    need.right = room.right;
    DrawTextW(dc, text, -1, &need, DT_CALCRECT | (IsLabel(control) ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    if (need.bottom > room.bottom) return false;
    const int check = GetSystemMetrics(SM_CXMENUCHECK) + 6;
    const int taken = IsCheckBox(control)   ? check
                      : IsGroupBox(control) ? 16
                      : IsLabel(control)    ? 0
                                            : 6;
    return need.right <= room.right - taken;
}

struct DialogCase {
    int id, firstKey, endKey;
    std::vector<int> extraKeys;  // labels added after the dialog's range was full
};

const DialogCase kDialogs[] = {
    {IDD_NOTE_TITLE, kFirstNoteTitleKey, kEmailHeader, {}},
    {IDD_RESTORE_BACKUP, kFirstRestoreBackupKey, kSaveFailed_Exit, {}},
    {IDD_SYNC, kFirstSyncKey, kEndSyncKey, {kSync_Placement}},
    {IDD_RESTORE_NOTE, kFirstRestoreNoteKey, kFirstRestoreNoteKey + 4, {}},
    {IDD_FIND_NOTES, kFirstFindNotesKey, kFirstFindNotesKey + 2, {}},
    {IDD_ALARM, kFirstAlarmKey, kFirstNoteTitleKey, {}},
    {IDD_SETTINGS, kFirstSettingsKey, kFirstAlarmKey, {kSettings_FindNotes}},
};

}  // namespace

// Each dialog in each shipped language: the caption and the texts are the
// dialog's own language keys, each used once, translated and fitting; access
// keys are distinct; nothing overlaps but a group box and what it holds, all
// within the dialog's margins; every control is visible and Tab stops at every
// control that takes input and at nothing else; one default button.
TEST(Resources, DialogsAsShown) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    const std::set<std::wstring> notKeys = {L"", L"0%", L"50%", L"100%"};
    for (const DialogCase& dialog : kDialogs)
        for (const wchar_t* file : kLanguages) {
            SCOPED_TRACE(std::to_string(dialog.id) + " " + TestPaths::Narrow(file));
            HWND d = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialog.id),
                                        nullptr, QuietDialogProc, 0);
            ASSERT_NE(d, nullptr);
            std::multiset<std::wstring> range(kLanguageKeys + dialog.firstKey,
                                              kLanguageKeys + dialog.endKey);
            for (int key : dialog.extraKeys) range.insert(kLanguageKeys[key]);
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
            std::multiset<std::wstring> texts = {text};
            std::map<wchar_t, std::wstring> accessKeys;
            std::vector<std::pair<RECT, bool>> placed;  // with whether it is a group box
            int defaults = 0;
            for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                const LONG style = GetWindowLongW(c, GWL_STYLE);
                GetWindowTextW(c, text, 512);
                const std::string what = TestPaths::Narrow(ClassOf(c) + L" \"" + text + L"\"");
                const bool takesInput = !IsLabel(c) && !IsGroupBox(c) && !IsSpin(c);
                EXPECT_TRUE(style & WS_VISIBLE) << what;
                EXPECT_EQ((style & WS_TABSTOP) != 0, takesInput) << what;
                if (ClassOf(c) == L"Button" && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                    ++defaults;
                if (!HoldsUserText(c) && !notKeys.count(text)) {
                    texts.insert(text);
                    if (*file) {
                        EXPECT_EQ(range.count(text), 0u) << "untranslated " << what;
                        EXPECT_EQ(std::wstring(text).find(L"((("), std::wstring::npos) << what;
                        EXPECT_TRUE(Fits(c, text)) << what;
                    }
                    if (const wchar_t key = AccessKey(text)) {
                        EXPECT_TRUE(accessKeys.emplace(key, text).second)
                            << what << " shares its access key with \""
                            << TestPaths::Narrow(accessKeys[key]) << "\"";
                    }
                }
                RECT r;
                GetWindowRect(c, &r);
                EXPECT_TRUE(Inside(r, area)) << what;
                if (IsSpin(c)) {  // its buddy is the edit field just before it
                    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(c, UDM_GETBUDDY, 0, 0)),
                              GetWindow(c, GW_HWNDPREV))
                        << what;
                } else {
                    placed.push_back({r, IsGroupBox(c)});
                }
            }
            DestroyWindow(d);
            if (dialog.id != IDD_FIND_NOTES) {
                EXPECT_EQ(defaults, 1);
            }
            if (!*file) {
                EXPECT_EQ(texts, range);
            }
            for (size_t i = 0; i < placed.size(); ++i)
                for (size_t j = 0; j < i; ++j) {
                    const RECT &a = placed[i].first, &b = placed[j].first;
                    const bool group = placed[i].second || placed[j].second;
                    if (group && (Inside(a, b) || Inside(b, a))) continue;
                    RECT both;
                    EXPECT_FALSE(IntersectRect(&both, &a, &b)) << "controls " << i << " and " << j;
                }
        }
}
