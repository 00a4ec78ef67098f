// Sync of the notes through a folder, the notes list's side of it. The list
// hands every save to the sync and applies what a merge brought in; the dialog
// turns sync on and off.

#include "app/SyncController_win.h"

#include <shlobj.h>

#include <algorithm>

#include "app/MainWindow_win.h"
#include "app/NoteSync_win.h"
#include "app/NotesDocument_win.h"
#include "arrange/NotePlacement.h"
#include "arrange/OnScreen.h"
#include "arrange/OnScreen_win.h"
#include "arrange/Rect_win.h"
#include "arrange/Snapping_win.h"
#include "lang/LanguageTable.h"
#include "lang/Translate_win.h"
#include "notes/NoteHost_win.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "store/NoteData_win.h"
#include "store/NotesFile.h"
#include "store/RecycleBin.h"
#include "store/SettingsStore.h"

namespace {

struct SyncChoice {
    const LanguageTable& language;
    Sync::SyncSettings settings;
    std::wstring defaultName;
};

std::wstring ItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    const int length = GetWindowTextLengthW(item);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(item, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    const size_t start = text.find_first_not_of(L" \t");
    const size_t end = text.find_last_not_of(L" \t");
    return start == std::wstring::npos ? std::wstring() : text.substr(start, end - start + 1);
}

void BrowseForFolder(HWND dialog, const LanguageTable& language) {
    const std::wstring title = language.TextOf(kFirstSyncKey);
    BROWSEINFOW info = {};
    info.hwndOwner = dialog;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return;
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(chosen, path)) SetDlgItemTextW(dialog, IDC_SYNC_FOLDER, path);
    CoTaskMemFree(chosen);
}

INT_PTR CALLBACK SyncDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* choice = reinterpret_cast<SyncChoice*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            choice = reinterpret_cast<SyncChoice*>(lParam);
            TranslateDialog(dialog, choice->language);
            CheckDlgButton(dialog, IDC_SYNC_ENABLED,
                           choice->settings.enabled ? BST_CHECKED : BST_UNCHECKED);
            SetDlgItemTextW(dialog, IDC_SYNC_FOLDER, choice->settings.folder.c_str());
            CheckDlgButton(dialog, IDC_SYNC_PLACEMENT,
                           choice->settings.placement ? BST_CHECKED : BST_UNCHECKED);
            SetDlgItemTextW(dialog, IDC_SYNC_COMPUTER_NAME,
                            choice->settings.computerName.empty()
                                ? choice->defaultName.c_str()
                                : choice->settings.computerName.c_str());
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_SYNC_BROWSE:
                    BrowseForFolder(dialog, choice->language);
                    return TRUE;
                case IDOK: {
                    Sync::SyncSettings s;
                    s.enabled = IsDlgButtonChecked(dialog, IDC_SYNC_ENABLED) == BST_CHECKED;
                    s.folder = ItemText(dialog, IDC_SYNC_FOLDER);
                    s.computerName = ItemText(dialog, IDC_SYNC_COMPUTER_NAME);
                    if (s.computerName == choice->defaultName) s.computerName.clear();
                    s.placement = IsDlgButtonChecked(dialog, IDC_SYNC_PLACEMENT) == BST_CHECKED;
                    if (s.enabled && s.folder.empty()) {
                        ShowMessage(dialog, choice->language.TextOf(kSync_NoFolder).c_str(),
                                    nullptr, MB_OK | MB_ICONINFORMATION);
                        SetFocus(GetDlgItem(dialog, IDC_SYNC_FOLDER));
                        return TRUE;
                    }
                    choice->settings = s;
                    EndDialog(dialog, IDOK);
                    return TRUE;
                }
                case IDCANCEL:
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

SyncController::SyncController(Owner& owner, NoteHost& noteHost, NotesDocument& document,
                               SettingsStore& settingsStore, const LanguageTable& language,
                               MainWindow& mainWindow)
    : owner(owner),
      noteHost(noteHost),
      document(document),
      settingsStore(settingsStore),
      language(language),
      mainWindow(mainWindow) {}

SyncController::~SyncController() {
    // The document outlives the controller and saves once more at the end.
    document.saved = nullptr;
    document.replaced = nullptr;
    document.savesAtOnce = nullptr;
    // A device file still due is written while the window still has its timers.
    folder.reset();
}

void SyncController::Start() {
    NoteSync::Host host;
    host.notes = [this] { return Notes(); };
    host.busy = [this] { return document.AnyNoteBusy(); };
    host.apply = [this](const Sync::ListChanges& changes) { return ApplyChanges(changes); };
    host.unavailable = [this](const std::wstring& path, DWORD error) {
        document.Tell(kSync_FolderUnavailable, path, error);
    };
    const std::wstring& notesPath = document.FilePath();
    const std::wstring sidecar = notesPath.substr(0, notesPath.size() - 4) + L".sync";
    folder = std::make_unique<NoteSync>(mainWindow.Handle(), std::move(host), sidecar);
    document.saved = [this](const std::vector<uint64_t>& keys, const NotesFileData& data) {
        if (!folder || !folder->Active()) return;
        std::vector<Sync::LocalNote> saved;
        saved.reserve(data.notes.size());
        for (size_t i = 0; i < data.notes.size() && i < keys.size(); ++i) {
            saved.push_back({keys[i], data.notes[i]});
        }
        folder->NotesSaved(saved);
    };
    document.savesAtOnce = [this] { return folder && folder->Active(); };
    document.replaced = [this] {
        if (folder) folder->NotesReplaced(Notes());
    };
    folder->Configure(Sync::ReadSyncSettings(settingsStore), language.TextOf(kSync_ConflictTitle));
}

bool SyncController::HandleMessage(UINT message, WPARAM wParam) {
    if (!folder) return false;
    // The end of the session may end the process before the loop does.
    if (message == WM_ENDSESSION && wParam) folder->WriteIfDue();
    return folder->HandleMessage(message, wParam);
}

std::vector<Sync::LocalNote> SyncController::Notes() const {
    std::vector<Sync::LocalNote> out;
    const auto& unshown = document.UnshownNotes();
    out.reserve(document.List().size() + unshown.size());
    for (const auto& note : document.List()) {
        if (!note->BlankNewNote()) out.push_back({note->Serial(), note->Data()});
    }
    for (size_t i = 0; i < unshown.size(); ++i) {
        out.push_back({NotesDocument::kUnshownKey | i, unshown[i]});
    }
    return out;
}

std::vector<uint64_t> SyncController::ApplyChanges(const Sync::ListChanges& changes) {
    const auto byKey = [this](uint64_t key) -> NoteWindow* {
        for (NoteWindow* note : document.Snapshot()) {
            if (note->Serial() == key) return note;
        }
        return nullptr;
    };
    const std::vector<Arrange::Monitor> monitors = document.Monitors().Monitors();
    // A place synced from another PC is brought onto this PC's monitors, as
    // loading does.
    const auto onMonitors = [&](const RectData& r) {
        return monitors.empty() ? r : Arrange::BringOntoMonitors(r, monitors);
    };
    const auto takePlacement = [&](NoteWindow& note, const NoteData& data) {
        const Rect r = onMonitors(data.rect);
        SetWindowPos(note.Handle(), nullptr, r.left, r.top, std::max(1, r.right - r.left),
                     std::max(1, r.bottom - r.top), SWP_NOZORDER | SWP_NOACTIVATE);
        if (data.alwaysOnTop != note.AlwaysOnTop()) note.ToggleAlwaysOnTop();
        if (data.hidden && !note.Hidden()) note.Hide();
        if (!data.hidden && note.Hidden()) note.Unhide(owner.NotesShown());
        if (folder)
            folder->Shown(note.Serial(), note.WindowRect(), note.Hidden(), note.AlwaysOnTop());
    };
    for (const auto& changed : changes.changed) {
        if (NoteWindow* note = byKey(changed.key)) {
            note->TakeSyncedFields(changed.data);
            if (changed.placed) takePlacement(*note, changed.data);
            if (!owner.NotesShown()) ShowWindow(note->Handle(), SW_HIDE);
        }
    }
    for (const auto& removed : changes.removed) {
        NoteWindow* note = byKey(removed.key);
        if (!note) continue;
        // A text the bin cannot take stays in its note: the note is then new
        // to sync and comes back to the other PCs rather than being lost.
        const std::wstring text = note->Text();
        if (RecycleBin::HasVisibleText(text) &&
            !RecycleBin::AppendToRecycleBin(noteHost.RecycleBinPath(), text)) {
            continue;
        }
        document.CloseNote(*note);
    }
    std::vector<uint64_t> keys;
    const Rect workArea = ToPortable(Arrange::WorkAreaOf(mainWindow.Handle()));
    for (const auto& added : changes.added) {
        NoteData record = added.data;
        if (added.placed) {
            // Placed where the other PC put it, as this PC's monitors allow.
            record.rect = onMonitors(record.rect);
            NoteWindow* note = document.Add(
                std::make_unique<NoteWindow>(noteHost, noteHost.LayeredWindows(), record));
            if (!note) {
                keys.push_back(0);
                continue;
            }
            if (owner.NotesShown() && !record.hidden) ShowWindow(note->Handle(), SW_SHOWNA);
            if (folder)
                folder->Shown(note->Serial(), note->WindowRect(), note->Hidden(),
                              note->AlwaysOnTop());
            keys.push_back(note->Serial());
            continue;
        }
        // A note new to this PC appears as a new note does: its size from the
        // other PC, its place found here, shown and not on top.
        NotePlacement placement;
        placement.workArea = workArea;
        placement.width = std::max(1, record.rect.right - record.rect.left);
        placement.height = std::max(1, record.rect.bottom - record.rect.top);
        placement.snapGap = noteHost.Settings().snapGap;
        placement.mainVisible = IsWindowVisible(mainWindow.Handle()) != FALSE;
        placement.mainWindow = ToPortable(mainWindow.WindowRect());
        Point at = PlaceNewNote(placement);
        // Several notes arriving at once go side by side from that place,
        // leftwards and then upwards, rather than hide one another.
        const int32_t gap = std::max(1, noteHost.Settings().snapGap);
        const int32_t columnWidth = placement.width + gap;
        const int32_t columns = std::max<int32_t>(1, (at.x - workArea.left) / columnWidth + 1);
        const int32_t k = static_cast<int32_t>(keys.size());
        at.x = std::max(workArea.left, at.x - (k % columns) * columnWidth);
        at.y = std::max(workArea.top, at.y - (k / columns) * (placement.height + gap));
        record.rect = {at.x, at.y, at.x + placement.width, at.y + placement.height};
        record.hidden = false;
        record.alwaysOnTop = false;
        NoteWindow* note =
            document.Add(std::make_unique<NoteWindow>(noteHost, noteHost.LayeredWindows(), record));
        if (!note) {
            keys.push_back(0);
            continue;
        }
        if (owner.NotesShown()) ShowWindow(note->Handle(), SW_SHOWNA);
        SetWindowPos(note->Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
        keys.push_back(note->Serial());
    }
    // One save for all of it, once the notes made carry their ids.
    document.Changed();
    return keys;
}

void SyncController::ShowDialog() {
    SyncChoice choice{language, {}, {}};
    choice.settings = Sync::ReadSyncSettings(settingsStore);
    choice.defaultName = NoteSync::DefaultComputerName();
    const INT_PTR answer =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SYNC), mainWindow.Handle(),
                        SyncDialogProc, reinterpret_cast<LPARAM>(&choice));
    if (answer != IDOK) return;
    Sync::WriteSyncSettings(settingsStore, choice.settings);
    // The notes as they are now are what sync starts from.
    document.Flush();
    if (folder) folder->Configure(choice.settings, language.TextOf(kSync_ConflictTitle));
}
