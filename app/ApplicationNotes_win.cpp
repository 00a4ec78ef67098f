// The application's list of notes: creating, loading, saving, showing and
// raising them.

#include <algorithm>
#include <iterator>

#include "app/Application_win.h"
#include "app/TextFileImport.h"
#include "arrange/NotePlacement.h"
#include "arrange/Snapping_win.h"
#include "lang/LanguageTable.h"
#include "lang/SafeFormat.h"
#include "notes/NoteLoader_win.h"
#include "notes/NoteWindow_win.h"
#include "store/FileIo.h"
#include "store/NoteData_win.h"
#include "store/NotesFile.h"
#include "ui/PrivateMessages_win.h"

namespace {

Rect ToPortable(const RECT& r) {
    return Rect{r.left, r.top, r.right, r.bottom};
}

SystemTimeData UtcNow() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return FromSystemTime(now);
}

SystemTimeData LocalNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return FromSystemTime(now);
}

}  // namespace

NoteWindow* Application::CreateNote(const std::wstring& text, bool startEditing,
                                    bool placeNearMain) {
    if (!notesShown) return nullptr;
    RaiseUnlessTopmost();

    NoteWindow* note = notes.Add(std::make_unique<NoteWindow>(*this, layeredWindows, startEditing));
    if (!note) return nullptr;

    const RECT noteRect = note->WindowRect();
    NotePlacement placement;
    placement.workArea = ToPortable(Arrange::WorkAreaOf(Handle()));
    placement.width = noteRect.right - noteRect.left;
    placement.height = noteRect.bottom - noteRect.top;
    placement.snapGap = settings.snapGap;
    placement.nearTray = placeNearTray;
    placement.nearMain = placeNearMain;
    placement.mainVisible = IsWindowVisible(Handle()) != FALSE;
    placement.mainWindow = ToPortable(WindowRect());
    const Point at = PlaceNewNote(placement);
    note->Move(at.x, at.y);

    if (!text.empty()) {
        note->SetText(text);
        note->ResizeToContent();
    }
    note->FitRectToGrid(note->WindowRect());
    ShowWindow(note->Handle(), SW_SHOW);
    note->BringToForeground(true);
    note->RaiseUnlessTopmost();
    if (startEditing) note->BeginEdit(true);
    SaveNotes();
    return note;
}

void Application::OpenTextFileAsNote(const std::wstring& path, bool placeNearMain) {
    if (path.empty()) return;
    // Only as much of the file as a note may hold is read: a file of hundreds of
    // megabytes is refused from its size, never taken in.
    std::string bytes;
    uint64_t fileSize = 0;
    int refusal = -1;
    if (!FileIo::ReadFilePrefix(path, kMaxNoteFileBytes, bytes, fileSize)) {
        refusal = kNewNoteFromFile_Unreadable;
    } else {
        switch (CheckNoteFile(bytes, fileSize)) {
            case NoteFileVerdict::Ok:
                break;
            case NoteFileVerdict::TooLarge:
                refusal = kNewNoteFromFile_TooLarge;
                break;
            case NoteFileVerdict::NotText:
                refusal = kNewNoteFromFile_NotText;
                break;
        }
    }
    if (refusal >= 0) {
        const std::wstring message = TextOf(refusal) + L"\n\n" + PathForMessage(path);
        ShowMessage(message.c_str(), nullptr, MB_OK | MB_ICONWARNING);
        return;
    }
    CreateNote(TextFileAsNoteText(bytes), false, placeNearMain);
}

void Application::SaveNotes() {
    if (loadingNotes || shuttingDown || holdSaves) return;
    // A notes file that could not be read is not replaced before the user knows
    // what happened to it and where it is kept.
    if (notesFileUntold) {
        savePendingUntilTold = true;
        return;
    }
    if (saveBatchDepth > 0) {
        saveBatchPending = true;
        return;
    }
    NotesFileData data;
    data.hasCustomDefaultFont = settings.hasCustomDefaultFont;
    data.customDefaultFont = settings.customDefaultFont;
    data.notes.reserve(notes.List().size() + unshownNotes.size());
    for (const auto& note : notes.List()) data.notes.push_back(note->Data());
    // The records that got no window this run are kept as they were read.
    data.notes.insert(data.notes.end(), unshownNotes.begin(), unshownNotes.end());
    BackUpNotesOncePerDay();
    OnNotesSaveResult(
        SaveNotesFile(notesFilePath, data, LocalNow(), keepOriginalNotesFile, keptOriginalPath));
}

void Application::EndSaveBatch() {
    if (saveBatchDepth > 0) --saveBatchDepth;
    if (saveBatchDepth == 0 && saveBatchPending) {
        saveBatchPending = false;
        SaveNotes();
    }
}

void Application::LoadNotes() {
    loadingNotes = true;
    LoadEnvironment environment;
    environment.virtualScreen = FromRect(VirtualScreenRect());
    environment.nowUtc = UtcNow();
    environment.localNow = LocalNow();
    // A backup or sync program may hold the file for a moment at log-on.
    environment.readAttempts = kNotesReadAttempts;
    environment.wait = [] { Sleep(kNotesReadWaitMs); };
    LoadResult loaded = LoadNotesFile(notesFilePath, environment);
    keepOriginalNotesFile = loaded.keepOriginal;
    keptOriginalPath = loaded.keptOriginalPath;
    if (!keptOriginalPath.empty()) {
        notesFileUntold = true;
        untoldProblems.push_back(
            SafeFormat(TextOf(kNotesFileKept), {notesFilePath, keptOriginalPath}));
        Post(kSaveProblemMessage);
    }
    // Records past the window quota get no window and stay as they were read:
    // a file of a million notes is kept whole without starving the system.
    std::vector<NoteData> beyondQuota;
    const size_t quota = noteWindowLimit ? noteWindowLimit : NoteWindowQuota();
    if (loaded.data.notes.size() > quota) {
        const auto cut = loaded.data.notes.begin() + static_cast<std::ptrdiff_t>(quota);
        beyondQuota.assign(std::make_move_iterator(cut),
                           std::make_move_iterator(loaded.data.notes.end()));
        loaded.data.notes.erase(cut, loaded.data.notes.end());
    }
    KeepNotesOnMonitors(loaded.data);
    settings.hasCustomDefaultFont = loaded.data.hasCustomDefaultFont;
    settings.customDefaultFont = loaded.data.customDefaultFont;
    LoadedNoteMaker make = noteMaker;
    if (!make) {
        make = [this](const NoteData& r) {
            return std::make_unique<NoteWindow>(*this, layeredWindows, r);
        };
    }
    LoadedNotes made = ShowLoadedNotes(loaded.data.notes, make);
    for (auto& note : made.shown) notes.Add(std::move(note));
    unshownNotes = std::move(made.unshown);
    unshownNotes.insert(unshownNotes.end(), std::make_move_iterator(beyondQuota.begin()),
                        std::make_move_iterator(beyondQuota.end()));
    loadingNotes = false;
    // Told once the message loop runs, not from inside start-up.
    if (!unshownNotes.empty()) Post(kNotesNotShownMessage, unshownNotes.size());
}

void Application::TellNotesNotShown(size_t count) {
    if (count == 0) return;
    const std::wstring text =
        SafeFormat(Language().TextOf(kNotesNotShown), {static_cast<int>(count)});
    ShowMessage(text.c_str(), nullptr, MB_OK | MB_ICONWARNING);
}

void Application::SetCustomDefaultFont(const LOGFONTW& font) {
    settings.customDefaultFont = FromLogFontW(font);
    settings.hasCustomDefaultFont = true;
    SaveNotes();
}

void Application::ActivateNextNote(NoteWindow* note) {
    const auto& list = notes.List();
    if (list.size() <= 1) return;
    auto at = std::find_if(list.begin(), list.end(),
                           [note](const auto& listed) { return listed.get() == note; });
    if (at == list.end()) return;
    ++at;
    if (at == list.end()) at = list.begin();
    (*at)->BringToForeground(false);
}

void Application::ToggleNotesShown() {
    notesShown = !notesShown;
    for (const auto& note : notes.List()) {
        if (!note->Hidden()) ShowWindow(note->Handle(), notesShown ? SW_SHOWNA : SW_HIDE);
    }
    settings.showNotes = notesShown;
    WriteShowNotes(*settingsStore, notesShown);
}

void Application::BringNotesToTop(NoteWindow* except, bool activate) {
    // Another thread's foreground window would keep the raised windows below
    // it; sharing its input state lets them come up.
    const DWORD ownThread = GetCurrentThreadId();
    HWND foreground = GetForegroundWindow();
    const DWORD foregroundThread =
        foreground ? GetWindowThreadProcessId(foreground, nullptr) : ownThread;
    const bool attached = foregroundThread != ownThread &&
                          AttachThreadInput(foregroundThread, ownThread, TRUE) != FALSE;
    if (notesShown) {
        // A copy: raising a window can run code that changes the list.
        for (NoteWindow* note : notes.Snapshot()) {
            if (note != except) note->RaiseUnlessTopmost();
        }
    }
    if (IsWindowVisible(Handle())) {
        RaiseUnlessTopmost();
        if (activate) BringToForeground(false);
    }
    if (except) except->RaiseUnlessTopmost();
    if (attached) AttachThreadInput(foregroundThread, ownThread, FALSE);
}

void Application::CloseAllNotes() {
    // A note whose dialog or menu is still open (the user chose Exit from the
    // tray meanwhile) is hidden now and destroyed when that ends.
    notes.CloseAll();
}

bool Application::AnyNoteBusy() const {
    return std::any_of(notes.List().begin(), notes.List().end(),
                       [](const auto& note) { return !note->IsIdle(); });
}
