#pragma once
// Sync of the notes through a folder, the notes list's side of it: it hands
// every save of the notes to the folder sync (NoteSync_win.h), applies what a
// merge brought in to the notes, and runs the dialog that turns sync on and
// off. Off unless the settings turn it on.
//
// It is made with the rest of the run, before the notes are loaded, and
// started once they are: sync takes the notes as loaded.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

class LanguageTable;
class MainWindow;
class NoteHost;
class NoteSync;
class NotesDocument;
class SettingsStore;
namespace Sync {
struct ListChanges;
struct LocalNote;
}  // namespace Sync

class SyncController {
public:
    // What sync needs of the run beyond the parts it is given.
    class Owner {
    public:
        // False while the user has every note hidden: notes a merge brings
        // stay hidden with the others.
        virtual bool NotesShown() const = 0;

    protected:
        ~Owner() = default;
    };

    // Every part outlives the controller. Notes a merge brings are made with
    // `noteHost` and kept in `document`; dialogs are owned by `mainWindow`.
    SyncController(Owner& owner, NoteHost& noteHost, NotesDocument& document,
                   SettingsStore& settingsStore, const LanguageTable& language,
                   MainWindow& mainWindow);
    ~SyncController();
    SyncController(const SyncController&) = delete;
    SyncController& operator=(const SyncController&) = delete;

    // Follows the document's saves and turns sync on as the settings say.
    void Start();
    // The main window's messages (timers, the folder's message, the end of the
    // session); true when the message was sync's.
    bool HandleMessage(UINT message, WPARAM wParam);
    // Asks for the folder, the PC's name and whether places travel; keeps them
    // in the settings and turns sync on or off as chosen.
    void ShowDialog();
    // The folder sync; null before Start.
    NoteSync* Folder() const { return folder.get(); }

private:
    std::vector<Sync::LocalNote> Notes() const;
    std::vector<uint64_t> ApplyChanges(const Sync::ListChanges& changes);

    Owner& owner;
    NoteHost& noteHost;
    NotesDocument& document;
    SettingsStore& settingsStore;
    const LanguageTable& language;
    MainWindow& mainWindow;
    std::unique_ptr<NoteSync> folder;
};
