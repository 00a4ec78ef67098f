// How often Notes.dat is written: once per user action, however many changes
// of the notes the action makes, never for a change of Z order alone; typing
// reaches the file while the editor stays open; every way out writes what is
// unsaved, the text being typed included.

#include "ApplicationFixture.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "support/DialogAnswers_win.h"
#include "ui/PrivateMessages_win.h"

namespace {

class NotesSavingTest : public ApplicationFixture {
protected:
    // Loads three notes of different sizes, none at the origin.
    Application& StartWithNotes() {
        SeedNotes({Record({130, 110, 330, 240}, L"one"), Record({420, 140, 660, 300}, L"two"),
                   Record({170, 400, 350, 530}, L"three")});
        Application& a = Start();
        PumpMessages();
        EXPECT_EQ(a.Notes().size(), 3u);
        return a;
    }
    NoteWindow& Note(size_t i) { return *app->Notes().at(i); }
    size_t Writes() const { return app->Document().WriteCount(); }
    // Runs what the action posted, as the message loop does after it.
    size_t WritesOf(const std::function<void()>& action) {
        PumpMessages();
        const size_t before = Writes();
        action();
        PumpMessages();
        return Writes() - before;
    }
    void Type(NoteWindow& note, const std::wstring& text) {
        HWND edit = note.EditorHandle();
        ASSERT_TRUE(edit);
        SetWindowTextW(edit, text.c_str());
        note.Send(WM_COMMAND, MAKEWPARAM(NoteWindow::kEditorId, EN_CHANGE),
                  reinterpret_cast<LPARAM>(edit));
    }
};

TEST_F(NotesSavingTest, EachUserActionWritesTheFileOnceAndZOrderNever) {
    Application& a = StartWithNotes();
    EXPECT_EQ(Writes(), 0u) << "loading writes nothing";

    // An edit that ends with a fit to a longer text: commit, resize, repaint.
    EXPECT_EQ(1u, WritesOf([&] {
                  Note(0).BeginEdit(false);
                  Type(Note(0), L"one\r\ntwo lines\r\nthree lines\r\nand four of them");
                  Note(0).Send(kEndNoteEditMessage, 1, 0);
              }));
    EXPECT_NE(Note(0).WindowRect().bottom, 240) << "the edit fitted the note";

    // A drag: many moves, one write when it ends.
    EXPECT_EQ(1u, WritesOf([&] {
                  NoteWindow& n = Note(1);
                  n.Send(WM_ENTERSIZEMOVE);
                  for (int x : {430, 447, 461, 502})
                      SetWindowPos(n.Handle(), nullptr, x, 150 + x % 7, 0, 0,
                                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                  n.Send(WM_EXITSIZEMOVE);
              }));
    EXPECT_EQ(1u, WritesOf([&] { Note(2).Send(WM_COMMAND, IDM_NOTE_PRIORITY_HIGH); }));
    EXPECT_EQ(1u, WritesOf([&] { a.Main().Send(WM_COMMAND, IDM_TILE_NOTES); }));

    // Raising, lowering and activating notes changes nothing in the file.
    EXPECT_EQ(0u, WritesOf([&] {
                  for (size_t i = 0; i < 3; ++i) {
                      SetWindowPos(Note(i).Handle(), HWND_TOP, 0, 0, 0, 0,
                                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                      SetWindowPos(Note(i).Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                  }
                  a.Main().Send(WM_COMMAND, IDM_BRING_NOTES_TO_TOP);
              }));

    // A delete without the question: the note leaves the file in one write.
    AppSettings& settings = const_cast<AppSettings&>(a.Settings());
    settings.confirmDelete = false;
    EXPECT_EQ(1u, WritesOf([&] { Note(1).Send(WM_COMMAND, IDM_NOTE_DELETE); }));
    EXPECT_EQ(SavedNotes().size(), 2u);
    EXPECT_EQ(Writes(), 5u);
}

TEST_F(NotesSavingTest, TypingIsWrittenWhileTheEditorStaysOpenAndUndoIsUntouched) {
    StartWithNotes();
    NoteWindow& note = Note(1);
    note.BeginEdit(false);
    const size_t before = Writes();
    for (const wchar_t* step : {L"two a", L"two ab", L"two abc"}) Type(note, step);
    PumpMessages();
    EXPECT_EQ(Writes(), before) << "not at every keystroke";
    ASSERT_TRUE(PumpUntil([&] { return Writes() > before; }, 4000));
    EXPECT_EQ(Writes(), before + 1);
    EXPECT_TRUE(note.Editing());
    EXPECT_EQ(SavedNotes().at(1).text, L"two abc");
    EXPECT_EQ(note.Text(), L"two") << "the edit has not ended";
    EXPECT_FALSE(note.History().CanUndo());

    // Typing goes on: saved again after the delay, then the end of the edit
    // commits it as always, with one step to undo.
    Type(note, L"two abcd");
    ASSERT_TRUE(PumpUntil([&] { return Writes() > before + 1; }, 4000));
    EXPECT_EQ(SavedNotes().at(1).text, L"two abcd");
    note.Send(kEndNoteEditMessage, 0, 1);
    PumpMessages();
    EXPECT_EQ(note.Text(), L"two abcd");
    EXPECT_TRUE(note.History().CanUndo());
}

TEST_F(NotesSavingTest, EveryWayOutWritesWhatIsBeingTyped) {
    const struct {
        const char* way;
        std::function<void(Application&)> leave;
    } ways[] = {
        // Exit closes the main window through the message loop.
        {"Exit",
         [](Application& a) {
             a.Main().Send(WM_COMMAND, IDM_EXIT);
             PumpUntil([&] { return !IsWindow(a.Main().Handle()); }, 2000);
         }},
        {"WM_CLOSE", [](Application& a) { a.Main().Send(WM_CLOSE); }},
        // Nothing may be left to the message loop: the process can end at once.
        {"end of the session",
         [](Application& a) {
             EXPECT_NE(a.Main().Send(WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 0);
             a.Main().Send(WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
         }},
        {"restart", [](Application& a) { a.Restart(); }},
    };
    for (const auto& w : ways) {
        for (int state = 0; state < 3; ++state) {
            const bool newNote = state == 1;
            // A save handed to the background a moment ago, still running or
            // waiting to be taken when the way out comes.
            const bool writing = state == 2;
            SCOPED_TRACE(std::string(w.way) + (newNote   ? ", new note"
                                               : writing ? ", a write in the background"
                                                         : ", existing note"));
            Application& a = StartWithNotes();
            NoteWindow* note = newNote ? a.CreateNote(L"", true, true) : &Note(2);
            ASSERT_TRUE(note);
            if (writing) {
                NotesDocument& document = a.Document();
                document.SetWritesInBackground(true);
                // The day's first save makes the backup and is written at once.
                a.NotesChanged();
                ASSERT_TRUE(document.Flush());
                a.NotesChanged();
                ASSERT_TRUE(RunPostedSave());
                ASSERT_TRUE(document.WritesPending()) << "the save went to the background";
            }
            if (!newNote) note->BeginEdit(false);
            Type(*note, L"typed just now");
            w.leave(a);
            // No message is pumped before the file is read.
            const std::vector<NoteData> saved = FileNotes();
            ASSERT_EQ(saved.size(), 3u + (newNote ? 1u : 0u));
            EXPECT_EQ(saved.back().text, L"typed just now");
            app.reset();
            PumpMessages();
        }
    }
}

// A blank new note goes when its edit ends; a way out does not keep it either.
TEST_F(NotesSavingTest, ABlankNewNoteIsNotWrittenByAWayOut) {
    Application& a = StartWithNotes();
    ASSERT_TRUE(a.CreateNote(L"", true, true));
    Type(*a.Notes().back(), L" \r\n\t");
    a.Main().Send(WM_CLOSE);
    EXPECT_EQ(FileNotes().size(), 3u);
}

}  // namespace
