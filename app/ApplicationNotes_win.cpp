// The application's list of notes: creating, loading, saving, showing and
// raising them.

#include <algorithm>
#include <iterator>

#include "app/Application_win.h"
#include "app/TextFileImport.h"
#include "arrange/NotePlacement.h"
#include "arrange/Rect_win.h"
#include "arrange/Snapping_win.h"
#include "lang/LanguageTable.h"
#include "lang/SafeFormat.h"
#include "notes/NoteLoader_win.h"
#include "notes/NoteWindow_win.h"
#include "store/FileIo.h"
#include "store/NoteData_win.h"
#include "store/NotesFile.h"
#include "ui/PrivateMessages_win.h"

NoteWindow* Application::CreateNote(const std::wstring& text, bool startEditing,
                                    bool placeNearMain) {
    if (!notesShown) return nullptr;
    mainWindow->RaiseUnlessTopmost();

    NoteWindow* note =
        document->Add(std::make_unique<NoteWindow>(*this, layeredWindows, startEditing));
    if (!note) return nullptr;

    const RECT noteRect = note->WindowRect();
    NotePlacement placement;
    placement.workArea = ToPortable(Arrange::WorkAreaOf(mainWindow->Handle()));
    placement.width = noteRect.right - noteRect.left;
    placement.height = noteRect.bottom - noteRect.top;
    placement.snapGap = settings.snapGap;
    placement.nearTray = placeNearTray;
    placement.nearMain = placeNearMain;
    placement.mainVisible = IsWindowVisible(mainWindow->Handle()) != FALSE;
    placement.mainWindow = ToPortable(mainWindow->WindowRect());
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
    document->Changed();
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
        const std::wstring message = language.TextOf(refusal) + L"\n\n" + PathForMessage(path);
        mainWindow->ShowMessage(message.c_str(), nullptr, MB_OK | MB_ICONWARNING);
        return;
    }
    CreateNote(TextFileAsNoteText(bytes), false, placeNearMain);
}

LoadedNoteMaker Application::DefaultNoteMaker() {
    return [this](const NoteData& record) {
        return std::make_unique<NoteWindow>(*this, layeredWindows, record);
    };
}

void Application::LoadNotes() {
    document->Load(DefaultNoteMaker());
}

void Application::SetCustomDefaultFont(const LOGFONTW& font) {
    settings.customDefaultFont = FromLogFontW(font);
    settings.hasCustomDefaultFont = true;
    document->Changed();
}

void Application::ActivateNextNote(NoteWindow* note) {
    const auto& list = document->List();
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
    for (const auto& note : document->List()) {
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
        for (NoteWindow* note : document->Snapshot()) {
            if (note != except) note->RaiseUnlessTopmost();
        }
    }
    if (IsWindowVisible(mainWindow->Handle())) {
        mainWindow->RaiseUnlessTopmost();
        if (activate) mainWindow->BringToForeground(false);
    }
    if (except) except->RaiseUnlessTopmost();
    if (attached) AttachThreadInput(foregroundThread, ownThread, FALSE);
}

void Application::CloseAllNotes() {
    // A note whose dialog or menu is still open (the user chose Exit from the
    // tray meanwhile) is hidden now and destroyed when that ends.
    if (document) document->Close();
}

bool Application::AnyNoteBusy() const {
    return document->AnyNoteBusy();
}
