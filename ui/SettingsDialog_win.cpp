#include "ui/SettingsDialog_win.h"

#include <commctrl.h>

#include "lang/LanguageTable.h"
#include "lang/Translate_win.h"
#include "res/resource.h"
#include "ui/SettingsDialogText.h"

namespace {

struct CheckBox {
    int id;
    bool AppSettings::*field;
};

const CheckBox kCheckBoxes[] = {
    {IDC_RUN_AT_STARTUP, &AppSettings::runAtLogOn},
    {IDC_CHECK_FOR_UPDATES_AT_STARTUP, &AppSettings::checkForUpdatesAtStartup},
    {IDC_SHOW_DATE_IN_TITLE, &AppSettings::showDateInTitle},
    {IDC_LAYERED_WINDOWS, &AppSettings::layeredWindowEnabled},
    {IDC_AUTO_RESIZE_AFTER_EDIT, &AppSettings::resizeAfterEdit},
    {IDC_CONFIRM_ON_DELETE, &AppSettings::confirmDelete},
    {IDC_SNAP_TO_GRID, &AppSettings::useNoteGrid},
    {IDC_SNAP_NOTES_TOGETHER, &AppSettings::snapNotes},
};

struct UpDown {
    int id;
    int buddyId;
    int32_t AppSettings::*field;
    int low;
    int high;
};

const UpDown kUpDowns[] = {
    {IDC_SNAP_BORDER_SPIN, IDC_SNAP_BORDER, &AppSettings::snapBorder, 0, 100},
    {IDC_SNAP_GAP_SPIN, IDC_SNAP_GAP, &AppSettings::snapGap, 1, 100},
};

struct HotKeyField {
    int id;
    HotKeyIndex index;
    const wchar_t* labelKey;
};

const HotKeyField kHotKeyFields[] = {
    {IDC_HOTKEY_SHOW_NOTES, kHotKeyShowNotes, L"Settings_ShowHideNotes"},
    {IDC_HOTKEY_BRING_NOTES_TO_TOP, kHotKeyBringNotesToTop, L"Settings_BringNotesToTop"},
    {IDC_HOTKEY_NEW_NOTE, kHotKeyNewNote, L"Settings_NewNote"},
    {IDC_HOTKEY_NEW_NOTE_FROM_CLIPBOARD, kHotKeyNewNoteFromClipboard,
     L"Settings_NewNoteFromClipboard"},
    {IDC_HOTKEY_FIND_NOTES, kHotKeyFindNotes, L"Settings_FindNotes"},
};

constexpr uint8_t kHalfAlpha = 128;

std::wstring KeyName(UINT virtualKey) {
    LONG scan = static_cast<LONG>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    // Keys of the extended block have names of their own ("Num 1" is not "End").
    switch (virtualKey) {
        case VK_PRIOR:
        case VK_NEXT:
        case VK_END:
        case VK_HOME:
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
        case VK_INSERT:
        case VK_DELETE:
        case VK_DIVIDE:
        case VK_NUMLOCK:
            scan |= 1 << 24;
            break;
        default:
            break;
    }
    wchar_t name[64] = {};
    if (scan && GetKeyNameTextW(scan, name, 64) > 0) return name;
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) {
        return std::wstring(1, static_cast<wchar_t>(virtualKey));
    }
    return L"#" + std::to_wstring(virtualKey);
}

HICON AppIcon(int id, int sizeMetric) {
    const int size = GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                         IMAGE_ICON, size, size, LR_SHARED));
}

}  // namespace

bool SettingsDialog::Open(const AppSettings& settings, HWND ownerWindow, UINT message) {
    if (Handle()) return false;
    edited = settings;
    initial = settings;
    owner = ownerWindow;
    resultMessage = message;
    return Create(nullptr, kTemplateId);
}

bool SettingsDialog::IsChecked(int id) const {
    return IsDlgButtonChecked(Handle(), id) == BST_CHECKED;
}

void SettingsDialog::Exchange(bool toRecord) {
    HWND dialog = Handle();
    if (!dialog) return;
    if (toRecord) {
        edited.noteAlpha = static_cast<uint8_t>(
            SendDlgItemMessageW(dialog, IDC_TRANSLUCENCY, TBM_GETPOS, 0, 0) & 0xFF);
        for (const UpDown& u : kUpDowns) {
            const LRESULT pos = SendDlgItemMessageW(dialog, u.id, UDM_GETPOS, 0, 0);
            // A high word other than 0: the edit field holds no number it can
            // read. Some versions of the control read an empty field as 0, so
            // the field is asked as well.
            BOOL isNumber = FALSE;
            GetDlgItemInt(dialog, u.buddyId, &isNumber, FALSE);
            if (HIWORD(pos) == 0 && isNumber) edited.*u.field = static_cast<int16_t>(LOWORD(pos));
        }
        for (const CheckBox& c : kCheckBoxes) edited.*c.field = IsChecked(c.id);
        for (const HotKeyField& h : kHotKeyFields) {
            const LRESULT key = SendDlgItemMessageW(dialog, h.id, HKM_GETHOTKEY, 0, 0);
            edited.hotKeys[h.index].virtualKey = LOBYTE(LOWORD(key));
            edited.hotKeys[h.index].modifiers = HIBYTE(LOWORD(key));
        }
        return;
    }
    SendDlgItemMessageW(dialog, IDC_TRANSLUCENCY, TBM_SETPOS, TRUE, edited.noteAlpha);
    for (const UpDown& u : kUpDowns) {
        SendDlgItemMessageW(dialog, u.id, UDM_SETPOS, 0, MAKELPARAM(edited.*u.field, 0));
    }
    for (const CheckBox& c : kCheckBoxes) {
        CheckDlgButton(dialog, c.id, edited.*c.field ? BST_CHECKED : BST_UNCHECKED);
    }
    for (const HotKeyField& h : kHotKeyFields) {
        const HotKeySetting& key = edited.hotKeys[h.index];
        SendDlgItemMessageW(
            dialog, h.id, HKM_SETHOTKEY,
            MAKEWORD(static_cast<BYTE>(key.virtualKey), static_cast<BYTE>(key.modifiers)), 0);
    }
}

void SettingsDialog::ShowRunAtLogOn(bool on) {
    edited.runAtLogOn = on;
    if (Handle()) CheckDlgButton(Handle(), IDC_RUN_AT_STARTUP, on ? BST_CHECKED : BST_UNCHECKED);
}

void SettingsDialog::OnInitDialog() {
    HWND dialog = Handle();
    SendMessageW(dialog, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(AppIcon(IDI_APP, SM_CXICON)));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(AppIcon(IDI_TRAY, SM_CXSMICON)));
    SendDlgItemMessageW(dialog, IDC_TRANSLUCENCY, TBM_SETRANGE, FALSE, MAKELPARAM(1, 255));
    for (const UpDown& u : kUpDowns) {
        SendDlgItemMessageW(dialog, u.id, UDM_SETRANGE, 0, MAKELPARAM(u.high, u.low));
    }
    Exchange(false);
    // Notes on the grid do not also snap to each other.
    EnableWindow(GetDlgItem(dialog, IDC_SNAP_NOTES_TOGETHER), !IsChecked(IDC_SNAP_TO_GRID));
    TranslateDialog(dialog, language);
}

INT_PTR SettingsDialog::DialogProc(HWND, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return FALSE;
        case WM_CLOSE:
            Destroy();
            PostResult(true, false, false);
            return TRUE;
        default:
            return FALSE;
    }
}

void SettingsDialog::PostResult(bool closed, bool apply, bool restart) {
    PostMessageW(owner, resultMessage, SettingsResult::Encode(closed, apply), restart ? 1 : 0);
}

void SettingsDialog::OnOkOrApply(bool ok) {
    Exchange(true);
    bool restart = false;
    if (edited.layeredWindowEnabled != initial.layeredWindowEnabled) {
        switch (ShowMessage(language.TextOf(kConfirm_Restart).c_str(), nullptr,
                            MB_YESNOCANCEL | MB_ICONQUESTION)) {
            case IDYES:
                restart = true;
                break;
            case IDNO:
                break;
            default:
                return;  // back to the dialog, nothing applied
        }
    }
    if (ok) Destroy();
    PostResult(ok, true, restart);
}

bool SettingsDialog::OnCommand(WORD notification, WORD id, HWND) {
    if (notification != BN_CLICKED || !Handle()) return false;
    switch (id) {
        case IDOK:
            OnOkOrApply(true);
            break;
        case IDC_APPLY:
            OnOkOrApply(false);
            break;
        case IDCANCEL:
            Post(WM_CLOSE);
            break;
        case IDC_SNAP_TO_GRID:
            EnableWindow(GetDlgItem(Handle(), IDC_SNAP_NOTES_TOGETHER),
                         !IsChecked(IDC_SNAP_TO_GRID));
            break;
        case IDC_TRANSLUCENCY_HALF:
            SendDlgItemMessageW(Handle(), IDC_TRANSLUCENCY, TBM_SETPOS, TRUE, kHalfAlpha);
            break;
        case IDC_LAYERED_WINDOWS:
            // A change of layered windows needs a restart, which only OK asks for.
            EnableWindow(GetDlgItem(Handle(), IDC_APPLY),
                         IsChecked(IDC_LAYERED_WINDOWS) == initial.layeredWindowEnabled);
            break;
        default:
            return false;
    }
    return true;
}

std::wstring TakenHotKeysMessage(const LanguageTable& language, const AppSettings& settings,
                                 unsigned failedMask) {
    ModifierNames names;
    names.ctrl = KeyName(VK_CONTROL);
    names.shift = KeyName(VK_SHIFT);
    names.alt = KeyName(VK_MENU);
    std::wstring text = language.TextOf(kSettings_HotKeysTaken);
    for (const HotKeyField& h : kHotKeyFields) {
        if (!(failedMask & (1u << h.index))) continue;
        const HotKeySetting& key = settings.hotKeys[h.index];
        text += L"\n" + PlainLabel(language.Translate(h.labelKey)) + L": " +
                HotKeyText(key.modifiers, KeyName(key.virtualKey), names);
    }
    return text;
}
