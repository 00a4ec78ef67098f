// Notes leaving the program: deleted from their own button, their own menu or
// an emptied new-note editor, and closed by the main window (restore from a
// backup, exit) while one of their dialogs is open. The application owns its
// notes; a closed note leaves the list and the file at once and its window
// goes when nothing of it runs any more.

#include <functional>
#include <string>
#include <vector>

#include "ApplicationFixture.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "store/FileIo.h"
#include "store/NotesFile.h"
#include "store/SettingsStore.h"
#include "store/TextCodec.h"

namespace {

class NoteClosingTest : public ApplicationFixture {
protected:
    void SetUp() override {
        SettingsStore settings(SettingsPath());
        // Unlayered notes show their frame and buttons at once (no mask).
        settings.WriteBool(L"/Settings/LayeredWindowEnabled", false);
        settings.WriteBool(L"/Settings/SnapNotes", false);
    }
    // A notes file with one note per text, side by side.
    static void Seed(const std::vector<std::wstring>& texts, const std::wstring& path) {
        NotesFileData file;
        int32_t left = 60;
        for (const std::wstring& text : texts) {
            file.notes.push_back(Record({left, 80, left + 200, 230}, text));
            left += 240;
        }
        ASSERT_TRUE(FileIo::WriteFileAtomically(path, SerializeNotes(file)));
    }
    std::vector<std::wstring> TextsInFile() const {
        std::vector<std::wstring> texts;
        for (const NoteData& note : SavedNotes()) texts.push_back(note.text);
        return texts;
    }
    static bool Listed(const Application& a, const NoteWindow* note) {
        for (const auto& listed : a.Notes()) {
            if (listed.get() == note) return true;
        }
        return false;
    }
    static NoteWindow* WithText(const Application& a, const std::wstring& text) {
        for (const auto& note : a.Notes()) {
            if (note->Text() == text) return note.get();
        }
        return nullptr;
    }
};

// A client point on the note's delete button, found through the note's own
// hit test (the skin decides where the button is).
LPARAM DeleteButtonPoint(const NoteWindow& note) {
    const RECT client = note.ClientRect();
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            if (note.ButtonAt({x, y}) == NoteGeometry::NoteButton::Delete) return MAKELPARAM(x, y);
        }
    }
    return -1;
}

TEST_F(NoteClosingTest, NoteDeletedFromItsButtonItsMenuOrAnEmptiedEditorLeavesListFileAndScreen) {
    SettingsStore(SettingsPath()).WriteBool(L"/Settings/ConfirmDelete", false);
    Seed({L"by button", L"by menu", L"stays"}, NotesPath());
    Application& a = Start();
    ASSERT_EQ(a.Notes().size(), 3u);

    struct {
        const char* way;
        std::function<NoteWindow*()> act;  // returns the note it deletes
        std::vector<std::wstring> left;    // in the list and the file afterwards
    } cases[] = {
        {"delete button",
         [&] {
             NoteWindow* note = WithText(a, L"by button");
             const LPARAM at = DeleteButtonPoint(*note);
             EXPECT_NE(at, -1) << "the skin has a delete button";
             note->Send(WM_LBUTTONDOWN, MK_LBUTTON, at);
             note->Send(WM_LBUTTONUP, 0, at);
             return note;
         },
         {L"by menu", L"stays"}},
        {"note menu",
         [&] {
             // The menu posts its command, as TrackPopupMenu does.
             NoteWindow* note = WithText(a, L"by menu");
             note->Post(WM_COMMAND, MAKEWPARAM(IDM_NOTE_DELETE, 0), 0);
             return note;
         },
         {L"stays"}},
        {"emptied new note",
         [&] {
             NoteWindow* note = a.CreateNote(L"", true, true);
             EXPECT_TRUE(note && note->Editing());
             if (!note) return note;
             EXPECT_EQ(a.Notes().size(), 2u);
             SendMessageW(note->EditorHandle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L" \r\n "));
             SendMessageW(note->EditorHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
             return note;
         },
         {L"stays"}},
    };
    for (const auto& c : cases) {
        NoteWindow* note = c.act();
        ASSERT_NE(note, nullptr) << c.way;
        const HWND window = note->Handle();
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }, 2000))
            << c.way << ": destroyed once its handlers returned";
        PumpMessages();  // the save that the close posted
        EXPECT_FALSE(Listed(a, note)) << c.way;
        std::vector<std::wstring> listed;
        for (const auto& left : a.Notes()) listed.push_back(left->Text());
        EXPECT_EQ(listed, c.left) << c.way;
        EXPECT_EQ(TextsInFile(), c.left) << c.way;
    }
    std::string bytes;
    ASSERT_TRUE(FileIo::ReadFile(a.RecycleBinPath(), bytes));
    const std::wstring bin = TextCodec::FromUtf16Le(bytes.data(), bytes.size());
    EXPECT_NE(bin.find(L"by button"), std::wstring::npos);
    EXPECT_NE(bin.find(L"by menu"), std::wstring::npos);
}

// What the main window does while a note's dialog is open, from inside that
// dialog's message loop (a timer fires there, as the tray menu's command or a
// second start would arrive).
enum class MainAction { Restore, Exit };

struct Scenario {
    static inline std::function<void()> action;
    static inline HWND note = nullptr;
    static inline int dialogs = 0;

    HHOOK hook = SetWindowsHookExW(WH_CBT, &Proc, nullptr, GetCurrentThreadId());
    ~Scenario() {
        UnhookWindowsHookEx(hook);
        action = nullptr;
    }
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
        const auto window = reinterpret_cast<HWND>(wParam);
        wchar_t name[32] = {};
        if (code == HCBT_ACTIVATE && GetClassNameW(window, name, 32) &&
            name == std::wstring(L"#32770") && GetWindow(window, GW_OWNER) == note) {
            ++dialogs;
            SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR id, DWORD) {
                KillTimer(nullptr, id);
                if (action) action();
            });
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

TEST_F(NoteClosingTest, NoteWhoseDialogIsOpenWhenTheMainWindowReplacesOrClosesAllNotesGoesQuietly) {
    struct {
        UINT command;
        MainAction main;
    } cases[] = {
        {IDM_NOTE_ALARM_CHANGE, MainAction::Restore},
        {IDM_NOTE_SAVE_AS, MainAction::Restore},
        {IDM_NOTE_FONT_SELECT_CUSTOM, MainAction::Restore},
        {IDM_NOTE_DELETE, MainAction::Restore},  // the delete question
        {IDM_NOTE_TITLE_CHANGE, MainAction::Exit},
        {IDM_NOTE_DELETE, MainAction::Exit},
    };
    const std::wstring backup = data + L"backup.dat";
    Seed({L"from the backup", L"second"}, backup);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "command " << c.command << ", "
                                        << (c.main == MainAction::Restore ? "restore" : "exit"));
        Seed({L"open dialog"}, NotesPath());
        Application& a = Start();
        ASSERT_EQ(a.Notes().size(), 1u);
        NoteWindow* note = a.Notes()[0].get();
        const HWND window = note->Handle();
        const HWND mainWindow = a.Handle();
        bool restored = false;
        Scenario scenario;
        Scenario::note = window;
        Scenario::dialogs = 0;
        Scenario::action = [&] {
            if (c.main == MainAction::Restore)
                restored = a.RestoreNotesFromBackup(backup);
            else
                SendMessageW(mainWindow, WM_CLOSE, 0, 0);
        };
        note->Send(WM_COMMAND, MAKEWPARAM(c.command, 0), 0);
        // The dialog ended with the note; nothing of it was carried out.
        EXPECT_EQ(Scenario::dialogs, 1);
        // An exit closes the main window once the dialog's loop has returned.
        PumpUntil(
            [&] {
                return !IsWindow(window) &&
                       (c.main == MainAction::Restore || !IsWindow(mainWindow));
            },
            3000);
        EXPECT_FALSE(IsWindow(window));
        std::string bin;
        EXPECT_FALSE(FileIo::ReadFile(a.RecycleBinPath(), bin)) << "nothing went to the bin";
        if (c.main == MainAction::Restore) {
            EXPECT_TRUE(restored);
            ASSERT_EQ(a.Notes().size(), 2u);
            EXPECT_EQ(a.Notes()[0]->Text(), L"from the backup");
            EXPECT_EQ(TextsInFile(), (std::vector<std::wstring>{L"from the backup", L"second"}));
        } else {
            EXPECT_FALSE(IsWindow(mainWindow));
            EXPECT_TRUE(a.Notes().empty());
            EXPECT_EQ(TextsInFile(), std::vector<std::wstring>{L"open dialog"}) << "kept";
        }
        app.reset();
        PumpMessages();
    }
}

TEST_F(NoteClosingTest, NoteWhoseMenuIsOpenWhenTheNotesAreReplacedGoesWithItsMenu) {
    const std::wstring backup = data + L"backup.dat";
    Seed({L"from the backup"}, backup);
    Seed({L"menu open"}, NotesPath());
    Application& a = Start();
    ASSERT_EQ(a.Notes().size(), 1u);
    NoteWindow* note = a.Notes()[0].get();
    const HWND window = note->Handle();
    static Application* running = nullptr;
    static std::wstring from;
    static bool restored = false;
    running = &a;
    from = backup;
    restored = false;
    // Fires inside the menu's own loop.
    SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        restored = running->RestoreNotesFromBackup(from);
    });
    note->Send(WM_RBUTTONUP, 0, MAKELPARAM(20, 20));  // opens the note menu; returns when it ends
    EXPECT_TRUE(restored);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }, 2000));
    ASSERT_EQ(a.Notes().size(), 1u);
    EXPECT_EQ(a.Notes()[0]->Text(), L"from the backup");
    running = nullptr;
}

}  // namespace
