// The note menu and its commands: preparing and tracking the menu, deleting a
// note into the recycle bin, the font commands, and the note's display title.

#include <windows.h>

#include <commdlg.h>

#include "lang/LanguageTable.h"
#include "lang/SafeFormat.h"
#include "notes/NoteWindow_win.h"
#include "notes/TitleText.h"
#include "res/resource.h"
#include "skin/Skin_win.h"
#include "store/NoteData_win.h"
#include "store/RecycleBin.h"
#include "ui/Clipboard_win.h"
#include "ui/SystemError_win.h"

namespace {

void EnableItem(HMENU menu, UINT id, bool on) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

void CheckItem(HMENU menu, UINT id, bool on) {
    CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

LOGFONTW LogFontOf(HFONT font) {
    LOGFONTW lf = {};
    if (font) GetObjectW(font, sizeof(lf), &lf);
    return lf;
}

}  // namespace

std::wstring NoteWindow::TitleText(bool withDate) const {
    return NoteTitle::TitleText(record.title, record.text, host.Language().TextOf(kNoTitle),
                                withDate, host.Settings().showDateInTitle, record.created);
}

int NoteWindow::ShowNoteMessage(const std::wstring& message, UINT type) const {
    return ShowMessage(message.c_str(), host.Language().TextOf(kTitle_App).c_str(), type);
}

int NoteWindow::ShowReminders(HMENU popup, bool show) const {
    const bool shown = GetMenuState(popup, IDM_NOTE_REMIND_IN_10_MINUTES, MF_BYCOMMAND) != ~0u;
    if (shown && !show) {
        for (UINT id :
             {IDM_NOTE_REMIND_IN_10_MINUTES, IDM_NOTE_REMIND_TOMORROW, IDM_NOTE_REMIND_SEPARATOR})
            DeleteMenu(popup, id, MF_BYCOMMAND);
    } else if (show && !shown) {
        // The menu is shared by every note: the items stand in it only while
        // a note whose alarm has just fired shows it.
        const LanguageTable& language = host.Language();
        InsertMenuW(popup, 0, MF_BYPOSITION | MF_STRING, IDM_NOTE_REMIND_IN_10_MINUTES,
                    language.TextOf(kNoteMenu_RemindIn10Minutes).c_str());
        InsertMenuW(popup, 1, MF_BYPOSITION | MF_STRING, IDM_NOTE_REMIND_TOMORROW,
                    language.TextOf(kNoteMenu_RemindTomorrow).c_str());
        InsertMenuW(popup, 2, MF_BYPOSITION | MF_SEPARATOR, IDM_NOTE_REMIND_SEPARATOR, nullptr);
    }
    return show ? 3 : 0;
}

void NoteWindow::PrepareNoteMenu(HMENU popup) const {
    ShowReminders(popup, alarmJustFired);
    SetMenuDefaultItem(popup, IDM_NOTE_EDIT, FALSE);

    EnableItem(popup, IDM_NOTE_UNDO, history.CanUndo());
    EnableItem(popup, IDM_NOTE_REDO, history.CanRedo());
    EnableItem(popup, IDM_NOTE_PASTE, ClipboardHasText());
    EnableItem(popup, IDM_NOTE_TITLE_REMOVE, !record.title.empty());
    EnableItem(popup, IDM_NOTE_ALARM_ENABLED, record.hasAlarm);
    EnableItem(popup, IDM_NOTE_FONT_USE_CUSTOM_DEFAULT, host.Settings().hasCustomDefaultFont);
    EnableItem(popup, IDM_NOTE_FONT_SET_CUSTOM_DEFAULT, HasCustomFont());
    EnableItem(popup, IDM_NOTE_FONT_USE_SKIN_DEFAULT, HasCustomFont());

    CheckItem(popup, IDM_NOTE_ALWAYS_ON_TOP, record.alwaysOnTop);
    CheckItem(popup, IDM_NOTE_ALARM_ENABLED, record.hasAlarm && record.alarmEnabled);
    CheckItem(popup, IDM_NOTE_LOCK, record.locked);
    for (int p = kPriorityVeryHigh; p <= kPriorityVeryLow; ++p)
        CheckItem(popup, IDM_NOTE_PRIORITY_VERY_HIGH + p, p == record.priority);
}

void NoteWindow::ShowNoteMenu() {
    HMENU menu = host.NoteMenu();
    if (!menu) return;
    PrepareNoteMenu(menu);
    FillLinksMenu(menu);
    frameForced = false;
    BringToForeground(true);
    // Commands are posted, but the menu's modal loop dispatches everything
    // else: the host may have closed this note meanwhile (exit, restore).
    ShowPopupMenu(menu, false);
    // The next note to show the menu may have no alarm that fired.
    ShowReminders(menu, false);
    if (!closing && HasMask()) UpdateMask();
}

void NoteWindow::DeleteNote(bool alwaysConfirm) {
    if (closing) return;
    // An open editor holds text the note has not taken yet; it belongs in the
    // bin as much as the rest. A new note left blank closes here.
    if (editor) EndEdit(false, true);
    if (closing) return;

    const bool visible = RecycleBin::HasVisibleText(record.text);
    if (visible && (alwaysConfirm || host.Settings().confirmDelete)) {
        SkipNextDeactivationFade();
        const std::wstring question =
            SafeFormat(host.Language().TextOf(kConfirm_DeleteNote), {TitleText(false)});
        const int answer = ShowNoteMessage(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
        // The host may have closed the note while the question was open (exit,
        // restore from a backup): its text is still in Notes.dat, so it must
        // not go into the bin as well.
        if (closing || answer != IDYES) return;
    }
    // The text must be safe in the bin before the note goes; a bin that cannot
    // be written keeps the note rather than losing its text.
    if (visible && !RecycleBin::AppendToRecycleBin(host.RecycleBinPath(), record.text)) {
        const std::wstring why =
            SafeFormat(host.Language().TextOf(kRecycleBinFailed),
                       {host.RecycleBinPath(), SystemErrorText(GetLastError())});
        ShowNoteMessage(why, MB_OK | MB_ICONWARNING);
        return;
    }

    host.ActivateNextNote(this);
    host.CloseNote(*this);
    host.NotesChanged();
}

void NoteWindow::ApplyFont() {
    Relayout();
    host.NotesChanged();
}

void NoteWindow::SelectCustomFont() {
    const AppSettings& s = host.Settings();
    LOGFONTW chosen = HasCustomFont()          ? ToLogFontW(record.font)
                      : s.hasCustomDefaultFont ? ToLogFontW(s.customDefaultFont)
                                               : LogFontOf(NoteSkin().noteFont.Get());
    CHOOSEFONTW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = Handle();
    dialog.lpLogFont = &chosen;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_FORCEFONTEXIST;
    dialog.hInstance = GetModuleHandleW(nullptr);
    if (!ChooseFontW(&dialog) || closing) return;

    // Note text is never underlined, whatever the dialog's box says.
    chosen.lfUnderline = 0;
    OwnedFont made(CreateFontIndirectW(&chosen));
    if (!made.Get()) return;
    SetNoteFont(std::move(made), chosen);
    ApplyFont();
}

void NoteWindow::UseCustomDefaultFont() {
    const AppSettings& s = host.Settings();
    if (!s.hasCustomDefaultFont) return;
    LOGFONTW wanted = ToLogFontW(s.customDefaultFont);
    OwnedFont made(CreateFontIndirectW(&wanted));
    if (!made.Get()) return;
    SetNoteFont(std::move(made), wanted);
    ApplyFont();
}

void NoteWindow::UseSkinDefaultFont() {
    if (!HasCustomFont()) return;
    SetNoteFont(OwnedFont());
    ApplyFont();
}

bool NoteWindow::OnCommand(WORD notification, WORD id, HWND control) {
    if (id == kEditorId && notification == EN_CHANGE && editor && control == editor->Handle()) {
        GrowWithEditor();
        KeepTypingSafe();
        return true;
    }
    // Links first: their identifiers are only links while the list has them.
    const size_t linkIndex = static_cast<size_t>(id) - IDM_FIRST_LINK;
    if (id >= IDM_FIRST_LINK && linkIndex < links.size()) {
        OpenLink(linkIndex);
        return true;
    }
    switch (id) {
        case IDM_NOTE_EDIT:
            BeginEdit(false);
            break;
        case IDM_NOTE_UNDO:
            Undo();
            break;
        case IDM_NOTE_REDO:
            Redo();
            break;
        case IDM_NOTE_DELETE:
            DeleteNote(false);
            break;
        case IDM_NOTE_RESIZE_TO_CONTENT:
            ResizeToContent();
            break;
        case IDM_NOTE_HIDE:
            Hide();
            break;
        case IDM_NOTE_LOCK:
            SetLocked(!record.locked);
            break;
        case IDM_NOTE_ALWAYS_ON_TOP:
            ToggleAlwaysOnTop();
            break;
        case IDM_NOTE_BRING_NOTES_TO_TOP:
            host.BringNotesToTop(this, false);
            break;
        case IDM_NOTE_PRIORITY_VERY_HIGH:
        case IDM_NOTE_PRIORITY_HIGH:
        case IDM_NOTE_PRIORITY_NORMAL:
        case IDM_NOTE_PRIORITY_LOW:
        case IDM_NOTE_PRIORITY_VERY_LOW:
            SetPriority(id - IDM_NOTE_PRIORITY_VERY_HIGH);
            break;
        case IDM_NOTE_FONT_SELECT_CUSTOM:
            SelectCustomFont();
            break;
        case IDM_NOTE_FONT_USE_CUSTOM_DEFAULT:
            UseCustomDefaultFont();
            break;
        case IDM_NOTE_FONT_SET_CUSTOM_DEFAULT:
            if (HasCustomFont()) host.SetCustomDefaultFont(ToLogFontW(record.font));
            break;
        case IDM_NOTE_FONT_USE_SKIN_DEFAULT:
            UseSkinDefaultFont();
            break;
        case IDM_NOTE_TITLE_CHANGE:
            ChangeTitle();
            break;
        case IDM_NOTE_TITLE_REMOVE:
            RemoveTitle();
            break;
        case IDM_NOTE_ALARM_CHANGE:
            ChangeAlarm();
            break;
        case IDM_NOTE_ALARM_ENABLED:
            ToggleAlarm();
            break;
        case IDM_NOTE_REMIND_IN_10_MINUTES:
            RemindLater(false);
            break;
        case IDM_NOTE_REMIND_TOMORROW:
            RemindLater(true);
            break;
        case IDM_NOTE_SAVE_AS:
            SaveAs();
            break;
        case IDM_NOTE_EMAIL_TO:
            EmailNote();
            break;
        case IDM_NOTE_COPY:
            CopyTextToClipboard(Handle(), record.text);
            break;
        case IDM_NOTE_PASTE:
            PasteText();
            break;
        default:
            return SmallWindow::OnCommand(notification, id, control);
    }
    return true;
}
