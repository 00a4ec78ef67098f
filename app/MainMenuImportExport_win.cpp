// Notes across the program's boundary: the predecessor's note files come in,
// all notes go out into one text file.

#include <algorithm>

#include "app/MainMenuCommands_win.h"
#include "app/MainWindow_win.h"
#include "app/NotesDocument_win.h"
#include "arrange/NotePlacement.h"
#include "arrange/Rect_win.h"
#include "arrange/Snapping_win.h"
#include "lang/LanguageTable.h"
#include "main/FileDialogs_win.h"
#include "main/NotesExport.h"
#include "main/OldNotes.h"
#include "notes/NoteHost_win.h"
#include "notes/NoteWindow_win.h"
#include "store/AppSettings.h"
#include "store/SettingsStore.h"
#include "store/TextFile.h"

namespace {

// The files (not folders) matching the pattern, by name, so that an import
// creates its notes in the same order wherever it runs.
std::vector<std::wstring> FilesMatching(const std::wstring& folder, const wchar_t* pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((folder + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

void MainMenuCommands::ImportOldNotes() {
    if (!owner.NotesShown()) return;
    if (mainWindow.ShowMessage(language.TextOf(kConfirm_Zephyn2Import).c_str(), nullptr,
                               MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    const std::vector<std::wstring> files = FilesMatching(oldNotesFolder, OldNotes::kPattern);
    if (files.empty()) {
        mainWindow.ShowMessage(language.TextOf(kZephyn2Import_NoneFound).c_str(), nullptr,
                               MB_OK | MB_ICONINFORMATION);
        return;
    }

    std::vector<Rect> monitors;
    for (const Arrange::Monitor& monitor : Arrange::EnumerateMonitors()) {
        monitors.push_back(monitor.bounds);
    }
    int32_t cascade = 0;
    for (const std::wstring& name : files) {
        SettingsStore file(oldNotesFolder + name);
        const OldNotes::OldNote old = OldNotes::Read(file);
        NoteWindow* note =
            document.Add(std::make_unique<NoteWindow>(noteHost, noteHost.LayeredWindows(), false));
        if (!note) continue;
        note->SetText(old.text);
        if (old.rect && OldNotes::OnAnyMonitor(*old.rect, monitors)) {
            note->SetRect(ToWin32(*old.rect));
        } else {
            // No usable place of its own: where a new note would go, each such
            // note a step further down and right so that none hides another.
            note->ResizeToContent();
            const RECT size = note->WindowRect();
            NotePlacement placement;
            placement.workArea = ToPortable(Arrange::WorkAreaOf(mainWindow.Handle()));
            placement.width = size.right - size.left;
            placement.height = size.bottom - size.top;
            placement.snapGap = settings.snapGap;
            placement.mainWindow = ToPortable(mainWindow.WindowRect());
            placement.mainVisible = IsWindowVisible(mainWindow.Handle()) != FALSE;
            Point at = PlaceNewNote(placement);
            const int32_t step = NewNoteMargin(settings.snapGap);
            at.x = std::min(at.x + cascade, placement.workArea.right - placement.width);
            at.y = std::min(at.y + cascade, placement.workArea.bottom - placement.height);
            at.x = std::max(at.x, placement.workArea.left);
            at.y = std::max(at.y, placement.workArea.top);
            cascade += step;
            note->Move(at.x, at.y);
        }
        ShowWindow(note->Handle(), SW_SHOWNA);
    }
    // One write for all of them.
    document.Changed();
    if (IsWindowVisible(mainWindow.Handle())) mainWindow.RaiseUnlessTopmost();
}

void MainMenuCommands::ExportNotes() {
    std::wstring path;
    if (!AskSaveTextFile(mainWindow.Handle(), language, language.TextOf(kTitle_ExportNotesAs),
                         L"Notes.txt", path))
        return;
    ExportNotesTo(path);
}

bool MainMenuCommands::ExportNotesTo(const std::wstring& path) {
    std::vector<ExportedNote> list;
    list.reserve(document.List().size());
    for (const auto& note : document.List()) list.push_back({note->Title(), note->Data().text});
    // Told, not swallowed: the user would otherwise look for a file that is
    // not there, or trust one that still holds an older export.
    if (!TextFile::Write(path, ExportText(list))) {
        mainWindow.ShowMessage(language.TextOf(kExportFailed).c_str(), nullptr,
                               MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}
