// Files that cannot be written, under Wine: the test locks Notes.dat,
// Settings.ini or the recycle bin as another program would, or puts a file
// where the backup folder belongs (read-only attributes bind nobody when the
// tests run as root, so locks stand in for them), and
// checks that the user is told once, with the path, that the program keeps
// trying, and that a later success heals everything without a word. Also the
// daily backup and restoring from it.

#include <string>
#include <thread>
#include <vector>

#include "ApplicationFixture.h"
#include "main/MenuLists.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "store/DailyBackups.h"
#include "store/FileIo.h"
#include "store/NoteData_win.h"
#include "store/NotesFile.h"
#include "store/SettingsStore.h"
#include "support/DialogAnswers_win.h"
#include "ui/PrivateMessages_win.h"

namespace {

// Answers this thread's message boxes (Yes where there is a Yes button, else
// OK) and keeps their texts. The restore dialog gets the item `pick` chosen,
// or is cancelled for a negative one.
struct Boxes {
    std::vector<std::wstring> backupItems;
    int pick = 0;
    DialogAnswers answers{{}, [this](HWND dialog) { return PickBackup(dialog); }};
    const std::vector<std::wstring>& texts = answers.Texts();

    Boxes() { answers.SetUnqueued(IDYES); }
    bool PickBackup(HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_BACKUP_LIST);
        if (!list) return false;
        wchar_t item[2048] = {};
        const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
            backupItems.push_back(item);
        }
        SendMessageW(list, LB_SETCURSEL, pick, 0);
        PostMessageW(dialog, WM_COMMAND, pick < 0 ? IDCANCEL : IDOK, 0);
        return true;
    }
};

bool Contains(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

// Another program holding the file open without sharing it.
struct Lock {
    HANDLE file = INVALID_HANDLE_VALUE;
    Lock() = default;
    explicit Lock(const std::wstring& path) { Take(path); }
    ~Lock() { Release(); }
    void Take(const std::wstring& path) {
        Release();
        file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
    }
    void Release() {
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
    }
};

class SaveProblemsTest : public ApplicationFixture {
protected:
    size_t NotesInFile() const { return SavedNotes().size(); }
    void WriteNotesFile(size_t count) {
        std::vector<NoteData> notes;
        for (int32_t i = 0; i < static_cast<int32_t>(count); ++i)
            notes.push_back(Record({100, 100 + 10 * i, 300, 250}, L"note " + std::to_wstring(i)));
        SeedNotes(notes);
    }
    void RetryTimer() {
        app->Document().RetryFailedWrites();
        PumpMessages();
    }
    std::wstring TodaysBackup() {
        SYSTEMTIME now;
        GetLocalTime(&now);
        return data + L"Backups\\" + DailyBackupName(FromSystemTime(now));
    }

    Boxes boxes;
};

// A save in the background meets the same problems and is told and healed the
// same way, once its outcome comes back.
TEST_F(SaveProblemsTest, ALockedFileMetInTheBackgroundIsToldOnceAndHeals) {
    Application& a = Start();
    a.Document().SetWritesInBackground(true);
    a.CreateNote(L"first", false, true);
    ASSERT_TRUE(RunPostedSave());
    EXPECT_FALSE(a.Document().WritesPending()) << "the day's first save is written at once";
    ASSERT_EQ(FileNotes().size(), 1u);

    Lock lock(NotesPath());
    a.CreateNote(L"second", false, true);
    ASSERT_TRUE(RunPostedSave());
    EXPECT_TRUE(a.Document().WritesPending());
    EXPECT_TRUE(boxes.texts.empty()) << "nothing is known before the write ends";
    ASSERT_TRUE(PumpUntil([&] { return !boxes.texts.empty(); }, 5000));
    EXPECT_TRUE(Contains(boxes.texts[0], NotesPath()));
    EXPECT_TRUE(a.SavesFailing());
    // While the file fails, saves are written at once, as the retry is.
    a.CreateNote(L"third", false, true);
    ASSERT_TRUE(RunPostedSave());
    EXPECT_FALSE(a.Document().WritesPending());
    PumpMessages();
    EXPECT_EQ(boxes.texts.size(), 1u) << "told once for a run of failures";

    lock.Release();
    RetryTimer();
    EXPECT_EQ(FileNotes().size(), 3u);
    EXPECT_FALSE(a.SavesFailing());
    a.CreateNote(L"fourth", false, true);
    ASSERT_TRUE(RunPostedSave());
    EXPECT_TRUE(a.Document().WritesPending()) << "back in the background once healed";
    ASSERT_TRUE(PumpUntil([&] { return !a.Document().WritesPending(); }, 5000));
    EXPECT_EQ(FileNotes().size(), 4u);
    EXPECT_EQ(boxes.texts.size(), 1u) << "success is silent";
}

TEST_F(SaveProblemsTest, LockedNotesFileIsToldOnceRetriedAndHealsInSilence) {
    Application& a = Start();
    a.CreateNote(L"first", false, true);
    PumpMessages();  // written before the file is locked
    ASSERT_EQ(NotesInFile(), 1u);

    Lock lock(NotesPath());
    a.CreateNote(L"second", false, true);
    a.CreateNote(L"third", false, true);
    PumpMessages();
    ASSERT_EQ(boxes.texts.size(), 1u) << "told once for a run of failures";
    EXPECT_TRUE(Contains(boxes.texts[0], NotesPath()));
    EXPECT_TRUE(Contains(boxes.texts[0], L"could not be saved"));
    EXPECT_TRUE(a.SavesFailing());
    RetryTimer();
    EXPECT_EQ(boxes.texts.size(), 1u) << "a failed retry says nothing";

    // The timer alone brings the file up to date once it can be written.
    lock.Release();
    EXPECT_EQ(NotesInFile(), 1u);
    RetryTimer();
    EXPECT_EQ(NotesInFile(), 3u);
    EXPECT_FALSE(a.SavesFailing());
    EXPECT_EQ(boxes.texts.size(), 1u) << "success is silent";

    // A new failure after a success is a new story, told again.
    lock.Take(NotesPath());
    a.CreateNote(L"fourth", false, true);
    PumpMessages();
    EXPECT_EQ(boxes.texts.size(), 2u);
    // The next change saves as soon as it can.
    lock.Release();
    a.CreateNote(L"fifth", false, true);
    EXPECT_EQ(NotesInFile(), 5u);
}

// Exit closes the notes without saving them; notes whose last save failed get
// one more try first, so work is not lost when the file came free meanwhile.
TEST_F(SaveProblemsTest, ExitTriesOnceMoreToSaveNotesThatCouldNotBeSaved) {
    Application& a = Start();
    a.CreateNote(L"first", false, true);
    PumpMessages();  // written before the file is locked
    Lock lock(NotesPath());
    a.CreateNote(L"second", false, true);
    lock.Release();
    const HWND main = a.Main().Handle();
    a.Main().Send(WM_COMMAND, IDM_EXIT);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(main); }, 5000));
    EXPECT_EQ(NotesInFile(), 2u);
}

TEST_F(SaveProblemsTest, ExitAsksBeforeLosingNotesThatCannotBeSaved) {
    Application& a = Start();
    a.CreateNote(L"first", false, true);
    PumpMessages();  // written before the file is locked
    Lock lock(NotesPath());
    a.CreateNote(L"second", false, true);
    PumpMessages();
    ASSERT_EQ(boxes.texts.size(), 1u);

    boxes.answers.SetUnqueued(IDNO);
    a.Main().Send(WM_COMMAND, IDM_EXIT);
    PumpMessages();
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_TRUE(Contains(boxes.texts[1], NotesPath()));
    EXPECT_TRUE(Contains(boxes.texts[1], L"Exit anyway?"));
    ASSERT_TRUE(IsWindow(a.Main().Handle())) << "the program goes on";
    EXPECT_EQ(a.Notes().size(), 2u);

    // A restart (for a colour theme) called off the same way: this run goes
    // on with its window back, and the exit that follows is no restart.
    ASSERT_TRUE(IsWindowVisible(a.Main().Handle()));
    a.Main().Send(WM_COMMAND, MenuLists::kFirstColorThemeId);
    PumpMessages();
    ASSERT_EQ(boxes.texts.size(), 3u);
    EXPECT_FALSE(restart);
    EXPECT_TRUE(IsWindowVisible(a.Main().Handle()));

    boxes.answers.SetUnqueued(IDYES);
    const HWND main = a.Main().Handle();
    a.Main().Send(WM_COMMAND, IDM_EXIT);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(main); }, 5000));
    EXPECT_EQ(boxes.texts.size(), 4u);
    EXPECT_FALSE(restart);
}

// A backup or sync program that holds the file for a moment at log-on: the
// start waits for it.
TEST_F(SaveProblemsTest, NotesFileLockedForAMomentIsReadOnceItIsFree) {
    WriteNotesFile(2);
    Lock lock(NotesPath());
    ASSERT_NE(lock.file, INVALID_HANDLE_VALUE);
    std::thread release([&lock] {
        Sleep(700);
        lock.Release();
    });
    Application& a = Start();
    release.join();
    EXPECT_EQ(a.Notes().size(), 2u);
    PumpMessages();
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(SaveProblemsTest, LockedUnreadableFileIsNotReplacedUntilItCanBeKept) {
    WriteNotesFile(2);
    Lock lock(NotesPath());
    ASSERT_NE(lock.file, INVALID_HANDLE_VALUE);
    Application& a = Start();
    EXPECT_TRUE(a.Notes().empty()) << "the locked file cannot be read";
    // Told first, in plain words, where the file will be kept.
    PumpMessages();
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(Contains(boxes.texts[0], NotesPath()));
    const size_t at = boxes.texts[0].find(NotesPath() + L".");
    ASSERT_NE(at, std::wstring::npos);
    const std::wstring keptPath =
        boxes.texts[0].substr(at, boxes.texts[0].find(L".bak", at) + 4 - at);

    // Neither a copy nor a rename of the locked file can be made, so the save is
    // held back and the user hears why; the day's backup cannot read it either.
    a.CreateNote(L"new", false, true);
    PumpMessages();
    ASSERT_EQ(boxes.texts.size(), 3u);
    EXPECT_TRUE(Contains(boxes.texts[1], L"backup"));
    EXPECT_TRUE(Contains(boxes.texts[2], NotesPath()));
    EXPECT_TRUE(Contains(boxes.texts[2], L"could not be read"));

    // The retry keeps the original under the name told as soon as the lock goes.
    lock.Release();
    RetryTimer();
    EXPECT_FALSE(a.SavesFailing());
    EXPECT_EQ(NotesInFile(), 1u);
    EXPECT_EQ(SavedNotes(keptPath).size(), 2u) << "the unread notes are kept whole";
    size_t kept = 0;
    for (const std::wstring& name : FileIo::ListFiles(data)) {
        if (name.size() > 4 && name.compare(name.size() - 4, 4, L".bak") == 0) ++kept;
    }
    EXPECT_EQ(kept, 1u);
    EXPECT_EQ(boxes.texts.size(), 3u);
}

// A file of a newer version: kept at start under the name told, and nothing
// replaces it before the user was told; the restore dialog offers it.
TEST_F(SaveProblemsTest, NewerNotesFileIsKeptToldOnceAndListedForRestoring) {
    const std::string newer = std::string("\x09\0\0\0", 4) + "a later version's notes";
    ASSERT_TRUE(FileIo::WriteFileAtomically(NotesPath(), newer));
    Application& a = Start();
    EXPECT_TRUE(a.Notes().empty());
    a.CreateNote(L"typed before the message", false, true);
    std::string bytes;
    ASSERT_TRUE(FileIo::ReadFile(NotesPath(), bytes));
    EXPECT_EQ(bytes, newer) << "replaced before the user was told";

    PumpMessages();
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(Contains(boxes.texts[0], L"newer version"));
    EXPECT_EQ(NotesInFile(), 1u) << "saved once the user knows";
    std::vector<std::wstring> kept;
    for (const std::wstring& name : FileIo::ListFiles(data)) {
        if (name.size() > 4 && name.compare(name.size() - 4, 4, L".bak") == 0) kept.push_back(name);
    }
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_TRUE(Contains(boxes.texts[0], data + kept[0]));
    ASSERT_TRUE(FileIo::ReadFile(data + kept[0], bytes));
    EXPECT_EQ(bytes, newer);

    // Listed beside the daily backup the first save made, named as it lies.
    boxes.pick = -1;
    a.Main().Send(WM_COMMAND, IDM_RESTORE_BACKUP);
    PumpMessages();
    ASSERT_EQ(boxes.backupItems.size(), 2u);
    const bool listed =
        Contains(boxes.backupItems[0], kept[0]) || Contains(boxes.backupItems[1], kept[0]);
    EXPECT_TRUE(listed) << TestPaths::Narrow(boxes.backupItems[0]);
    PumpMessages();
    EXPECT_EQ(boxes.texts.size(), 1u);
}

TEST_F(SaveProblemsTest, SettingsThatCannotBeWrittenAreKeptToldOnceAndWrittenLater) {
    SettingsStore(SettingsPath()).WriteInt(L"/MainWindow/PositionX", 600);
    Application& a = Start();
    Lock lock(SettingsPath());
    a.Main().SetAlwaysOnTop(false);
    a.Main().SetVisible(false);
    PumpMessages();
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(Contains(boxes.texts[0], SettingsPath()));
    EXPECT_TRUE(a.SavesFailing());

    lock.Release();
    RetryTimer();
    EXPECT_FALSE(a.SavesFailing());
    bool onTop = true, visible = true;
    SettingsStore file(SettingsPath());
    EXPECT_TRUE(file.ReadBool(L"/MainWindow/AlwaysOnTop", onTop));
    EXPECT_TRUE(file.ReadBool(L"/MainWindow/Visible", visible));
    EXPECT_FALSE(onTop);
    EXPECT_FALSE(visible);
    EXPECT_EQ(boxes.texts.size(), 1u);
}

TEST_F(SaveProblemsTest, RecycleBinThatCannotBeWrittenKeepsTheNoteAndSaysWhy) {
    Application& a = Start();
    NoteWindow* note = a.CreateNote(L"keep me", false, true);
    ASSERT_NE(note, nullptr);
    Lock lock(a.RecycleBinPath());
    note->DeleteNote(false);
    ASSERT_EQ(a.Notes().size(), 1u);
    EXPECT_EQ(NotesInFile(), 1u);
    ASSERT_FALSE(boxes.texts.empty());
    EXPECT_TRUE(Contains(boxes.texts.back(), a.RecycleBinPath()));
    EXPECT_TRUE(Contains(boxes.texts.back(), L"not deleted"));

    lock.Release();
    note->DeleteNote(false);
    EXPECT_TRUE(a.Notes().empty());
    EXPECT_EQ(NotesInFile(), 0u);
}

TEST_F(SaveProblemsTest, FirstSaveOfTheDayKeepsABackupAndAFailedBackupNeverBlocksSaving) {
    WriteNotesFile(2);
    // A file where the folder should be: the backup cannot be made.
    ASSERT_TRUE(FileIo::WriteFileAtomically(data + L"Backups", "in the way"));
    Application& a = Start();
    a.CreateNote(L"one", false, true);
    a.CreateNote(L"two", false, true);
    PumpMessages();
    EXPECT_EQ(NotesInFile(), 4u) << "saving goes on";
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(Contains(boxes.texts[0], data + L"Backups\\"));
    EXPECT_TRUE(Contains(boxes.texts[0], L"backup"));
    EXPECT_FALSE(a.SavesFailing());

    ASSERT_TRUE(FileIo::RemoveFile(data + L"Backups"));
    a.CreateNote(L"three", false, true);
    EXPECT_EQ(SavedNotes(TodaysBackup()).size(), 4u) << "the file as it stood before the save";
    EXPECT_EQ(NotesInFile(), 5u);
    // Later saves of the day leave the day's backup alone.
    a.CreateNote(L"four", false, true);
    EXPECT_EQ(SavedNotes(TodaysBackup()).size(), 4u);
    EXPECT_EQ(boxes.texts.size(), 1u);
}

TEST_F(SaveProblemsTest, RestoringKeepsTheCurrentNotesThenLoadsTheChosenBackup) {
    WriteNotesFile(3);
    ASSERT_TRUE(FileIo::MakeFolder(data + L"Backups"));
    ASSERT_TRUE(FileIo::CopyNewFile(NotesPath(), data + L"Backups\\Notes-2026-01-02.dat"));
    WriteNotesFile(1);
    ASSERT_TRUE(FileIo::CopyNewFile(NotesPath(), data + L"Backups\\Notes-2026-01-03.dat"));
    WriteNotesFile(2);
    Application& a = Start();
    ASSERT_EQ(a.Notes().size(), 2u);
    a.Notes()[0]->SetText(L"changed on screen");

    // The dialog lists the backups newest first with their note counts; the
    // second one (three notes) is chosen.
    boxes.pick = 1;
    a.ShowRestoreBackupDialog();
    ASSERT_EQ(boxes.backupItems.size(), 2u);
    EXPECT_TRUE(Contains(boxes.backupItems[0], L": 1 notes"));
    EXPECT_TRUE(Contains(boxes.backupItems[1], L"2026"));
    EXPECT_TRUE(Contains(boxes.backupItems[1], L": 3 notes"));
    ASSERT_EQ(a.Notes().size(), 3u);
    EXPECT_EQ(a.Notes()[2]->Data().text, L"note 2");
    EXPECT_EQ(NotesInFile(), 3u);

    // The notes as they were on screen were kept first, as a timed backup
    // (the day's first save, just before, made the day's backup as well).
    const std::vector<BackupInfo> list = ListBackups(NotesPath());
    ASSERT_EQ(list.size(), 4u);
    EXPECT_TRUE(list[0].stamp.timed);
    const std::vector<NoteData> before = SavedNotes(list[0].path);
    ASSERT_EQ(before.size(), 2u);
    EXPECT_EQ(before[0].text, L"changed on screen");
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(SaveProblemsTest, RestoreIsRefusedWhileTheCurrentNotesCannotBeSaved) {
    WriteNotesFile(1);
    ASSERT_TRUE(FileIo::MakeFolder(data + L"Backups"));
    ASSERT_TRUE(FileIo::CopyNewFile(NotesPath(), data + L"Backups\\Notes-2026-01-02.dat"));
    Application& a = Start();
    a.CreateNote(L"only on screen", false, true);
    Lock lock(NotesPath());
    EXPECT_FALSE(a.RestoreNotesFromBackup(data + L"Backups\\Notes-2026-01-02.dat"));
    PumpMessages();
    EXPECT_EQ(a.Notes().size(), 2u) << "nothing replaced";
    ASSERT_FALSE(boxes.texts.empty());
    EXPECT_TRUE(Contains(boxes.texts.back(), L"could not be restored"));
}

}  // namespace
