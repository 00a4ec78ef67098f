// The program syncing through a folder with a second PC played by the test:
// the test's PC is a sync session of its own that reads and writes device
// files in the same folder, the way a sync service would hand them over.

#include <random>

#include "ApplicationFixture.h"
#include "app/NoteSync_win.h"
#include "arrange/OnScreen.h"
#include "arrange/OnScreen_win.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "store/RecycleBin.h"
#include "support/DialogAnswers_win.h"
#include "sync/DeviceFile.h"
#include "sync/SyncSession.h"
#include "sync/SyncSettings.h"

namespace {

class ApplicationSyncTest : public ApplicationFixture {
protected:
    void TurnOn(const std::wstring& name = L"DESK") {
        SettingsStore settings(SettingsPath());
        Sync::SyncSettings s;
        s.enabled = true;
        s.folder = folder;
        s.computerName = name;
        ASSERT_TRUE(Sync::WriteSyncSettings(settings, s));
    }
    std::vector<std::wstring> FolderFiles() const {
        std::vector<std::wstring> names = FileIo::ListFiles(folder);
        std::sort(names.begin(), names.end());
        return names;
    }
    // The program's device file as the laptop reads it.
    Sync::DeviceState DeskFile() {
        std::string bytes;
        Sync::DeviceState state;
        EXPECT_TRUE(FileIo::ReadFile(app->Sync().Folder()->DeviceFilePath(), bytes));
        EXPECT_EQ(Sync::ParseState::Whole, Sync::ParseDevice(bytes, state));
        return state;
    }
    // The laptop takes in the desk's file and keeps its notes in `laptopNotes`.
    void LaptopReads() {
        const Sync::ListChanges c = laptop.MergeFrom(DeskFile(), {NoteSync::NowMs(), L"C: "});
        for (const auto& a : c.added) {
            laptop.Bind(a.id, ++laptopKey);
            laptopNotes.push_back({laptopKey, a.data});
        }
        for (const auto& ch : c.changed) {
            for (auto& n : laptopNotes)
                if (n.key == ch.key) n.data = ch.data;
        }
        for (const auto& r : c.removed) {
            laptopNotes.erase(
                std::remove_if(laptopNotes.begin(), laptopNotes.end(),
                               [&](const Sync::LocalNote& n) { return n.key == r.key; }),
                laptopNotes.end());
        }
        laptop.Saved(laptopNotes, NoteSync::NowMs());
    }
    void LaptopWrites(const std::wstring& name, size_t cut = 0) {
        laptop.Saved(laptopNotes, NoteSync::NowMs());
        std::string bytes = laptop.StateBytes();
        if (cut) bytes.resize(bytes.size() - cut);
        ASSERT_TRUE(FileIo::WriteFileAtomically(folder + L"\\" + name, bytes));
    }
    std::wstring LaptopName() const { return Sync::DeviceFileName(L"LAPTOP", laptop.Device()); }
    Sync::LocalNote* LaptopNote(const std::wstring& text) {
        for (auto& n : laptopNotes)
            if (n.data.text == text) return &n;
        return nullptr;
    }
    NoteWindow* Note(const std::wstring& text) {
        for (const auto& n : app->Notes())
            if (n->Text() == text) return n.get();
        return nullptr;
    }
    std::string BinBytes() {
        std::string bytes;
        FileIo::ReadFile(app->RecycleBinPath(), bytes);
        return bytes;
    }

    std::wstring folder = TestPaths::MakeScratchDir() + L"OneDrive \x00C9 notes";
    std::mt19937_64 random{42};
    Sync::SyncSession laptop{[this] { return random(); }};
    std::vector<Sync::LocalNote> laptopNotes;
    uint64_t laptopKey = 0;
};

TEST_F(ApplicationSyncTest, OffByDefaultWritesNothingAnywhere) {
    ASSERT_TRUE(FileIo::MakeFolder(folder));
    Application& a = Start();
    ASSERT_NE(nullptr, a.Sync().Folder());
    EXPECT_FALSE(a.Sync().Folder()->Active());
    a.CreateNote(L"hello", false, false);
    EXPECT_EQ(1u, SavedNotes().size());
    EXPECT_TRUE(FolderFiles().empty());
    EXPECT_FALSE(FileIo::FileExists(data + L"Notes.sync"));
    EXPECT_EQ(L"", ReadSetting(L"/Sync/Folder"));
}

TEST_F(ApplicationSyncTest, EditsDeletesAndNewNotesTravelBothWays) {
    ASSERT_TRUE(FileIo::MakeFolder(folder));
    SeedNotes({Record({-300, 40, -120, 170}, L"groceries"), Record({910, 33, 1100, 140}, L"gym")});
    TurnOn();
    laptop.Start({}, "", NoteSync::NowMs());
    Application& a = Start();
    ASSERT_TRUE(a.Sync().Folder()->Active());
    // At the start: this PC's file in the folder, its ids beside Notes.dat.
    EXPECT_EQ(std::vector<std::wstring>{Sync::DeviceFileName(
                  L"DESK", a.Sync().Folder()->Session().Device())},
              FolderFiles());
    EXPECT_TRUE(FileIo::FileExists(data + L"Notes.sync"));

    // Sync takes each save as the notes as they are: saves are not left to
    // the background, where one could end after a merge changed the notes.
    a.Document().SetWritesInBackground(true);
    a.NotesChanged();
    ASSERT_TRUE(a.Document().Flush());  // the day's first save, with its backup
    a.NotesChanged();
    ASSERT_TRUE(RunPostedSave());
    EXPECT_FALSE(a.Document().WritesPending());

    LaptopReads();
    ASSERT_EQ(2u, laptopNotes.size());
    LaptopNote(L"groceries")->data.text = L"groceries: milk";
    laptopNotes.erase(laptopNotes.begin() + (LaptopNote(L"gym") - laptopNotes.data()));
    Sync::LocalNote fresh;
    fresh.key = ++laptopKey;
    fresh.data.text = L"from the laptop";
    fresh.data.rect = {5000, 5000, 5217, 5101};  // off this PC's screens
    fresh.data.alwaysOnTop = true;
    laptopNotes.push_back(fresh);

    // The first part of the file arrives: nothing is taken from it.
    LaptopWrites(LaptopName(), 7);
    a.Sync().Folder()->ReadFolder();
    EXPECT_NE(nullptr, Note(L"groceries"));
    EXPECT_NE(nullptr, Note(L"gym"));
    // Then the whole of it.
    LaptopWrites(LaptopName());
    a.Sync().Folder()->ReadFolder();
    ASSERT_EQ(2u, a.Notes().size());
    EXPECT_NE(nullptr, Note(L"groceries: milk"));
    EXPECT_EQ(nullptr, Note(L"gym"));
    EXPECT_NE(std::string::npos, BinBytes().find(std::string("g\0y\0m\0", 6)));
    NoteWindow* arrived = Note(L"from the laptop");
    ASSERT_NE(nullptr, arrived);
    // A new note appears as a new note does: on this PC's work area, its size
    // kept, shown and not on top.
    const RECT r = arrived->WindowRect();
    EXPECT_EQ(217, r.right - r.left);
    EXPECT_LT(r.right, 5000);
    EXPECT_TRUE(IsWindowVisible(arrived->Handle()));
    EXPECT_FALSE(arrived->IsTopmost());
    // Saved once the merge is done, with the place of this PC.
    PumpMessages();
    EXPECT_EQ(2u, SavedNotes().size());

    // This PC's change goes to the folder within the write delay.
    Note(L"groceries: milk")->SetText(L"groceries: milk, eggs");
    a.Document().Changed();
    a.Document().Flush();
    ASSERT_TRUE(PumpUntil(
        [&] {
            LaptopReads();
            return LaptopNote(L"groceries: milk, eggs") != nullptr;
        },
        NoteSync::kWriteDelay + 3000));
    EXPECT_EQ(2u, laptopNotes.size());
}

// Where notes lie, their size, hidden and on top travel only once the user
// asks for it: before, a move on the laptop leaves this PC's note where it is
// and this PC's moves stay its own (the laptop's placement is still carried
// on); after, the laptop's place is taken, brought onto this PC's monitors,
// without being sent back, and this PC's next move goes to the laptop.
TEST_F(ApplicationSyncTest, PlacesTravelOnlyWhenTheUserAsksForIt) {
    ASSERT_TRUE(FileIo::MakeFolder(folder));
    SeedNotes({Record({110, 130, 290, 247}, L"plan")});
    TurnOn();
    laptop.Start({}, "", NoteSync::NowMs());
    laptop.SetPlacementSync(true);
    Application& a = Start();
    ASSERT_TRUE(a.Sync().Folder()->Active());
    LaptopReads();
    ASSERT_EQ(1u, laptopNotes.size());
    const auto laptopMoves = [&](const RectData& to) {
        laptopNotes[0].data.rect = to;
        laptopNotes[0].data.alwaysOnTop = true;
        LaptopWrites(LaptopName());
        a.Sync().Folder()->ReadFolder();
        PumpMessages();
    };
    const auto deskPlacement = [&] { return DeskFile().notes.at(0).placement; };

    // Off (the default).
    laptopMoves({-4000, 40, -3811, 161});
    NoteWindow* plan = Note(L"plan");
    ASSERT_NE(nullptr, plan);
    EXPECT_EQ(110, plan->WindowRect().left);
    EXPECT_FALSE(plan->IsTopmost());
    plan->Move(400, 300);
    a.Document().Changed();
    a.Document().Flush();
    a.Sync().Folder()->WriteIfDue();
    EXPECT_EQ((RectData{-4000, 40, -3811, 161}), deskPlacement().rect) << "carried, not replaced";

    // On, as the dialog turns it on.
    Sync::SyncSettings settings;
    {
        SettingsStore store(SettingsPath());
        settings = Sync::ReadSyncSettings(store);
        settings.placement = true;
        ASSERT_TRUE(Sync::WriteSyncSettings(store, settings));
    }
    a.Sync().Folder()->Configure(settings, L"Conflict: ");
    EXPECT_EQ(L"1", ReadSetting(L"/Sync/Placement"));
    laptopMoves({-4000, 50, -3811, 171});
    const RECT shown = plan->WindowRect();
    EXPECT_EQ(189, shown.right - shown.left);
    EXPECT_EQ(121, shown.bottom - shown.top);
    const Rect onMonitors =
        Arrange::BringOntoMonitors({-4000, 50, -3811, 171}, a.Document().Monitors().Monitors());
    // Brought onto a monitor as loading does (then snapped to its edge, as any
    // move of a note is).
    EXPECT_NEAR(onMonitors.left, shown.left, 10);
    EXPECT_EQ(onMonitors.top, shown.top);
    EXPECT_GT(onMonitors.left, -4000);
    EXPECT_TRUE(plan->IsTopmost());
    a.Document().Flush();
    a.Sync().Folder()->WriteIfDue();
    EXPECT_EQ((RectData{-4000, 50, -3811, 171}), deskPlacement().rect) << "not sent back";

    // This PC's move now goes to the laptop.
    plan->Move(420, 310);
    a.Document().Changed();
    a.Document().Flush();
    ASSERT_TRUE(PumpUntil(
        [&] {
            LaptopReads();
            return laptopNotes[0].data.rect.left == 420;
        },
        NoteSync::kWriteDelay + 3000));
    EXPECT_EQ(310, laptopNotes[0].data.rect.top);
}

TEST_F(ApplicationSyncTest, ConcurrentEditsKeepBothTextsAndServiceCopiesGo) {
    ASSERT_TRUE(FileIo::MakeFolder(folder));
    SeedNotes({Record({100, 100, 300, 200}, L"plan")});
    TurnOn();
    laptop.Start({}, "", NoteSync::NowMs());
    Application& a = Start();
    LaptopReads();

    // Both PCs change the note before either sees the other's change; the
    // laptop's file comes as a service's conflicted copy.
    Note(L"plan")->SetText(L"plan: desk");
    a.Document().Changed();
    a.Document().Flush();
    LaptopNote(L"plan")->data.text = L"plan: laptop";
    const std::wstring copy =
        LaptopName().substr(0, LaptopName().size() - 7) + L" (DESK's conflicted copy).vnsync";
    Sleep(20);
    LaptopWrites(copy);
    a.Sync().Folder()->ReadFolder();
    ASSERT_EQ(2u, a.Notes().size());
    // The later change stays in place; the other is a note titled as a conflict.
    EXPECT_NE(nullptr, Note(L"plan: laptop"));
    NoteWindow* kept = Note(L"plan: desk");
    ASSERT_NE(nullptr, kept);
    EXPECT_EQ(L"Conflict: plan: desk", kept->Data().title);
    EXPECT_FALSE(FileIo::FileExists(folder + L"\\" + copy));

    // Reading again changes nothing and makes no second conflict note.
    LaptopWrites(LaptopName());
    a.Sync().Folder()->ReadFolder();
    EXPECT_EQ(2u, a.Notes().size());
}

TEST_F(ApplicationSyncTest, AMergeWaitsForAnOpenEditorAndIdsSurviveARestart) {
    ASSERT_TRUE(FileIo::MakeFolder(folder));
    SeedNotes({Record({100, 100, 300, 200}, L"draft")});
    TurnOn(L"Ana's PC: <desk>");
    laptop.Start({}, "", NoteSync::NowMs());
    Application& a = Start();
    const uint64_t device = a.Sync().Folder()->Session().Device();
    const std::wstring ownFile = a.Sync().Folder()->DeviceFilePath();
    EXPECT_NE(std::wstring::npos, ownFile.find(L"Ana's PC_ _desk_-"));
    LaptopReads();
    LaptopNote(L"draft")->data.text = L"draft 2";
    LaptopWrites(LaptopName());

    NoteWindow* note = Note(L"draft");
    ASSERT_NE(nullptr, note);
    note->BeginEdit(false);
    a.Sync().Folder()->ReadFolder();
    EXPECT_EQ(L"draft", note->Text());  // not under the user's typing
    note->EndEdit(false, true);
    PumpUntil([&] { return Note(L"draft 2") != nullptr; }, NoteSync::kBusyRetry + 3000);
    EXPECT_NE(nullptr, Note(L"draft 2"));

    app.reset();
    Application& b = Start();
    EXPECT_EQ(device, b.Sync().Folder()->Session().Device());
    EXPECT_EQ(ownFile, b.Sync().Folder()->DeviceFilePath());
    // The note kept its id: the laptop's next file changes it, adds nothing.
    LaptopReads();
    LaptopNote(L"draft 2")->data.text = L"draft 3";
    LaptopWrites(LaptopName());
    b.Sync().Folder()->ReadFolder();
    ASSERT_EQ(1u, b.Notes().size());
    EXPECT_EQ(L"draft 3", b.Notes()[0]->Text());
}

// A backup restored replaces every note at once: the notes it still has keep
// their ids on the other PC, the one it lacks is deleted there.
TEST_F(ApplicationSyncTest, ARestoredBackupDeletesOnlyWhatItLacks) {
    ASSERT_TRUE(FileIo::MakeFolder(folder));
    SeedNotes({Record({10, 10, 210, 160}, L"kept"), Record({300, 10, 500, 160}, L"dropped")});
    TurnOn();
    laptop.Start({}, "", NoteSync::NowMs());
    Application& a = Start();
    LaptopReads();
    ASSERT_EQ(2u, laptopNotes.size());
    const uint64_t keptKey = LaptopNote(L"kept")->key;

    NotesFileData backup;
    backup.notes = {Record({40, 40, 240, 190}, L"kept")};
    const std::wstring path = data + L"older.dat";
    ASSERT_TRUE(FileIo::WriteFileAtomically(path, SerializeNotes(backup)));
    ASSERT_TRUE(a.RestoreNotesFromBackup(path));
    ASSERT_TRUE(PumpUntil(
        [&] {
            LaptopReads();
            return laptopNotes.size() == 1;
        },
        NoteSync::kWriteDelay + 3000));
    EXPECT_EQ(keptKey, laptopNotes[0].key);
    EXPECT_EQ(L"kept", laptopNotes[0].data.text);
}

TEST_F(ApplicationSyncTest, AFolderOutOfReachIsToldOnceAndTheNotesWorkOn) {
    const std::wstring parent = folder;
    folder += L"\\not there yet";
    TurnOn();
    DialogAnswers answers;
    answers.SetUnqueued(IDOK);
    Application& a = Start();
    PumpFor(NoteSync::kReadDelay + 300);
    a.CreateNote(L"still works", false, false);
    a.Sync().Folder()->ReadFolder();
    PumpMessages();
    EXPECT_EQ(1u, SavedNotes().size());
    ASSERT_EQ(1u, answers.Texts().size());
    EXPECT_NE(std::wstring::npos, answers.Texts()[0].find(folder));

    // Once the folder is there, the program's file is written at the next look.
    ASSERT_TRUE(FileIo::MakeFolder(parent) && FileIo::MakeFolder(folder));
    a.Sync().Folder()->WriteIfDue();
    a.Sync().Folder()->ReadFolder();
    EXPECT_EQ(1u, FileIo::ListFiles(folder).size());
    EXPECT_EQ(1u, answers.Texts().size());
}

// The menu item's dialog turns sync on with the chosen folder and name.
TEST_F(ApplicationSyncTest, TheDialogTurnsSyncOn) {
    ASSERT_TRUE(FileIo::MakeFolder(folder));
    Application& a = Start();
    a.CreateNote(L"first", false, false);
    DialogAnswers answers{{}, [&](HWND dialog) {
                              if (!GetDlgItem(dialog, IDC_SYNC_FOLDER)) return false;
                              CheckDlgButton(dialog, IDC_SYNC_ENABLED, BST_CHECKED);
                              SetDlgItemTextW(dialog, IDC_SYNC_FOLDER, folder.c_str());
                              SetDlgItemTextW(dialog, IDC_SYNC_COMPUTER_NAME, L"  STUDY  ");
                              PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                              return true;
                          }};
    a.Main().Send(WM_COMMAND, IDM_SYNC_NOTES, 0);
    EXPECT_TRUE(a.Sync().Folder()->Active());
    EXPECT_EQ(folder, ReadSetting(L"/Sync/Folder"));
    EXPECT_EQ(L"STUDY", ReadSetting(L"/Sync/ComputerName"));
    const std::vector<std::wstring> files = FolderFiles();
    ASSERT_EQ(1u, files.size());
    EXPECT_EQ(0u, files[0].find(L"STUDY-"));
    EXPECT_EQ(1u, DeskFile().notes.size());
}

}  // namespace
