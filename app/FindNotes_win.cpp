// The Find notes window's view of the notes: every note of the list, hidden
// ones included, by the address of its window object, which the window hands
// back and which is checked against the list before it is used. Also the
// notification of a fired alarm from the tray icon, whose click brings the note.

#include "app/Application_win.h"
#include "lang/LanguageTable.h"
#include "notes/NoteWindow_win.h"
#include "notes/TitleText.h"

namespace {

class ApplicationNotes : public FindNotesHost {
public:
    explicit ApplicationNotes(Application& app) : app(app) {}

    std::vector<Note> FindNotesList() override {
        std::vector<Note> list;
        list.reserve(app.Notes().size());
        for (const auto& note : app.Notes()) {
            Note n;
            n.id = reinterpret_cast<uintptr_t>(note.get());
            n.data = note->Data();
            n.shownTitle =
                NoteTitle::DisplayTitle(n.data.title, n.data.text, app.Language().TextOf(kNoTitle));
            list.push_back(std::move(n));
        }
        return list;
    }

    void ShowFoundNote(uintptr_t id) override {
        NoteWindow* note = Find(id);
        if (!note) return;
        if (!app.NotesShown()) app.ToggleNotesShown();
        if (note->Hidden()) note->Unhide(true);
        note->BringToForeground(true);
        note->RaiseUnlessTopmost();
        FLASHWINFO flash = {sizeof(flash), note->Handle(), FLASHW_ALL, 3, 0};
        FlashWindowEx(&flash);
    }

    void DeleteFoundNote(uintptr_t id) override {
        if (NoteWindow* note = Find(id)) note->DeleteNote(false);
    }

private:
    NoteWindow* Find(uintptr_t id) const {
        for (const auto& note : app.Notes()) {
            if (reinterpret_cast<uintptr_t>(note.get()) == id) return note.get();
        }
        return nullptr;
    }
    Application& app;
};

}  // namespace

void Application::OpenFindNotes(const std::wstring* words) {
    if (!findNotes) {
        findNotesHost = std::make_unique<ApplicationNotes>(*this);
        findNotes = std::make_unique<FindNotesWindow>(*findNotesHost, language);
    }
    findNotes->Open(mainWindow->Handle(), words);
}

void Application::OnAlarmFired(NoteWindow& note) {
    alarmNotified = &note;
    const NoteData& d = note.Data();
    const std::wstring title = NoteTitle::DisplayTitle(d.title, d.text, language.TextOf(kNoTitle));
    trayAndKeys->Notify(title, d.text.substr(0, d.text.find(L"\r\n")));
}

void Application::ShowAlarmNote() {
    for (const auto& note : Notes()) {
        if (note.get() != alarmNotified) continue;
        if (!notesShown) ToggleNotesShown();
        if (note->Hidden()) note->Unhide(true);
        note->BringToForeground(true);
        return;
    }
}
