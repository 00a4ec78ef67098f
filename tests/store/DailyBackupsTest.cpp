#include "store/DailyBackups.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/CalendarTimes.h"
#include "support/TestPaths.h"
#include "store/FileIo.h"
#include "store/NotesFile.h"

namespace {

SystemTimeData Day(int year, int month, int day, int hour = 9, int minute = 5, int second = 7) {
    return At(year, month, day, hour, minute, second);
}

std::string NotesImage(size_t count) {
    NotesFileData data;
    data.notes.resize(count);
    return SerializeNotes(data);
}

TEST(BackupNames, MadeAndReadBack) {
    EXPECT_EQ(DailyBackupName(Day(2026, 12, 7)), L"Notes-2026-12-07.dat");
    EXPECT_EQ(TimedBackupName(Day(987, 1, 2, 3, 4, 5)), L"Notes-0987-01-02-030405.dat");
    const struct {
        const wchar_t* name;
        bool valid;
        bool timed;
    } cases[] = {
        {L"Notes-2026-12-07.dat", true, false},
        {L"Notes-2026-12-07-235959.dat", true, true},
        // Each end of every field's range, and one past it.
        {L"Notes-2026-01-31.dat", true, false},
        {L"Notes-2026-12-01-000000.dat", true, true},
        {L"Notes-2026-01-32.dat", false, false},
        // The last day of each kind of month, and the impossible day after it.
        {L"Notes-2026-04-30.dat", true, false},
        {L"Notes-2026-04-31.dat", false, false},
        {L"Notes-2026-02-28.dat", true, false},
        {L"Notes-2026-02-29.dat", false, false},
        {L"Notes-2028-02-29.dat", true, false},
        {L"Notes-2100-02-29.dat", false, false},
        {L"Notes-2000-02-29.dat", true, false},
        {L"Notes-2026-12-31.dat", true, false},
        {L"Notes-2026-12-07-235960.dat", false, false},
        {L"Notes-2026-12-07-236059.dat", false, false},
        {L"Notes-2026-12-07-2359590.dat", false, false},
        {L"Notes-2026-12-07-x35959.dat", false, false},
        {L"Notes-2026-12-07-23x959.dat", false, false},
        {L"Notes-2026-12-07-2359x9.dat", false, false},
        {L"Notes-2026_12-07.dat", false, false},
        {L"Notes-2026-12_07.dat", false, false},
        {L"Notes-2026-1x-07.dat", false, false},
        {L"Notes-2026-12-0x.dat", false, false},
        {L"Notes_2026-12-07.dat", false, false},
        // What else may lie in the folder: an unfinished copy, other files, and
        // names that only look like backups.
        {L"Notes-2026-12-07.dat.tmp-4242", false, false},
        {L"Notes.dat", false, false},
        {L"Notes-2026-12-7.dat", false, false},
        {L"Notes-2026-13-01.dat", false, false},
        {L"Notes-2026-00-01.dat", false, false},
        {L"Notes-2026-12-00.dat", false, false},
        {L"Notes-2026-12-07-240000.dat", false, false},
        {L"Notes-2026-12-07-2359.dat", false, false},
        {L"Notes-2026-12-07_235959.dat", false, false},
        {L"Notes-20x6-12-07.dat", false, false},
        {L"Notes-2026-12-07.txt", false, false},
        {L"Other-2026-12-07.dat", false, false},
    };
    for (const auto& c : cases) {
        BackupStamp stamp;
        stamp.year = 1;
        EXPECT_EQ(ParseBackupName(c.name, stamp), c.valid) << TestPaths::Narrow(c.name);
        if (!c.valid) {
            EXPECT_EQ(stamp.year, 1) << "a refused name leaves the stamp alone";
            continue;
        }
        EXPECT_EQ(stamp.timed, c.timed);
        if (!c.timed) EXPECT_EQ(0, stamp.hour + stamp.minute + stamp.second);
        const SystemTimeData back =
            Day(stamp.year, stamp.month, stamp.day, stamp.hour, stamp.minute, stamp.second);
        EXPECT_EQ(c.timed ? TimedBackupName(back) : DailyBackupName(back), c.name);
    }
}

TEST(BackupNames, FolderLiesBesideTheNotesFileWithItsSeparator) {
    EXPECT_EQ(BackupsFolderFor(L"C:\\Users\\a\\Vellomar Notes 3\\Notes.dat"),
              L"C:\\Users\\a\\Vellomar Notes 3\\Backups\\");
    EXPECT_EQ(BackupsFolderFor(L"/tmp/x/Notes.dat"), L"/tmp/x/Backups/");
    EXPECT_EQ(BackupsFolderFor(L"Notes.dat"), L"Backups\\");
}

TEST(BackupPruning, KeepsTheNewestFourteenAndNothingElseIsTouched) {
    // Sixteen days across a year's end, a backup kept before a restore, and
    // files that are not backups.
    std::vector<std::wstring> names = {L"readme.txt", L"Notes-2026-12-07.dat.tmp-1"};
    for (int d = 20; d <= 31; ++d) names.push_back(DailyBackupName(Day(2025, 12, d)));
    for (int d = 1; d <= 4; ++d) names.push_back(DailyBackupName(Day(2026, 1, d)));
    names.push_back(TimedBackupName(Day(2026, 1, 4, 8, 0, 0)));
    std::reverse(names.begin(), names.end());

    const std::vector<std::wstring> sorted = NewestBackupsFirst(names);
    ASSERT_EQ(sorted.size(), 17u);
    // On one day the timed copy (made before a restore) is newer than the daily one.
    EXPECT_EQ(sorted[0], L"Notes-2026-01-04-080000.dat");
    EXPECT_EQ(sorted[1], L"Notes-2026-01-04.dat");
    EXPECT_EQ(sorted[5], L"Notes-2025-12-31.dat");

    // The copy made before a restore does not count toward the daily fourteen.
    const std::vector<std::wstring> pruned = BackupsToPrune(names);
    EXPECT_EQ(pruned,
              (std::vector<std::wstring>{L"Notes-2025-12-21.dat", L"Notes-2025-12-20.dat"}));
    EXPECT_TRUE(BackupsToPrune({L"Notes-2026-01-01.dat", L"x.dat"}).empty());
    // Exactly as many as are kept, and one more.
    EXPECT_TRUE(BackupsToPrune(names, 16).empty());
    EXPECT_EQ(BackupsToPrune(names, 15), (std::vector<std::wstring>{L"Notes-2025-12-20.dat"}));

    // The year counts before the month, the month before the day, and among the
    // copies made before restores on one day the hour before the minute before
    // the second.
    EXPECT_EQ(NewestBackupsFirst({L"Notes-2025-12-31.dat", L"Notes-2026-01-01.dat",
                                  L"Notes-2026-02-01.dat", L"Notes-2026-01-31.dat"}),
              (std::vector<std::wstring>{L"Notes-2026-02-01.dat", L"Notes-2026-01-31.dat",
                                         L"Notes-2026-01-01.dat", L"Notes-2025-12-31.dat"}));
    EXPECT_EQ(NewestBackupsFirst({L"Notes-2026-03-04-095959.dat", L"Notes-2026-03-04-100000.dat",
                                  L"Notes-2026-03-04-095900.dat", L"Notes-2026-03-04-095958.dat"}),
              (std::vector<std::wstring>{
                  L"Notes-2026-03-04-100000.dat", L"Notes-2026-03-04-095959.dat",
                  L"Notes-2026-03-04-095958.dat", L"Notes-2026-03-04-095900.dat"}));
    // The backup being restored is spared, whatever its age; the rest go.
    EXPECT_EQ(BackupsToPrune(names, kBackupsKept, kRestoreCopiesKept, L"Notes-2025-12-20.dat"),
              (std::vector<std::wstring>{L"Notes-2025-12-21.dat"}));
}

TEST(BackupPruning, CopiesMadeBeforeARestoreHaveTheirOwnLimit) {
    // Both ends: one day with kRestoreCopiesKept + 2 tries, and fourteen days.
    std::vector<std::wstring> names;
    for (int d = 1; d <= 14; ++d) names.push_back(DailyBackupName(Day(2026, 3, d)));
    for (uint16_t s = 0; s < kRestoreCopiesKept + 2; ++s)
        names.push_back(TimedBackupName(Day(2026, 3, 14, 10, 0, s)));
    EXPECT_EQ(BackupsToPrune(names), (std::vector<std::wstring>{L"Notes-2026-03-14-100001.dat",
                                                                L"Notes-2026-03-14-100000.dat"}));
    EXPECT_EQ(BackupsToPrune(names, 13, 0).size(), 1u + kRestoreCopiesKept + 2);
    EXPECT_EQ(BackupsToPrune(names, 13, 0, L"Notes-2026-03-14-100000.dat").size(),
              kRestoreCopiesKept + 2);
}

class DailyBackupTest : public ::testing::Test {
protected:
    std::wstring dir = TestPaths::MakeScratchDir();
    std::wstring notes = dir + L"Notes.dat";
    std::wstring backups = BackupsFolderFor(notes);

    std::string Read(const std::wstring& path) {
        std::string bytes;
        EXPECT_TRUE(FileIo::ReadFile(path, bytes)) << TestPaths::Narrow(path);
        return bytes;
    }
};

TEST_F(DailyBackupTest, FirstSaveOfTheDayKeepsTheFileAsItStood) {
    // A first start has nothing to keep, and makes no folder for it.
    EXPECT_EQ(MakeDailyBackup(notes, Day(2026, 12, 7)), BackupOutcome::NothingToCopy);
    EXPECT_TRUE(FileIo::ListFiles(backups).empty());

    ASSERT_TRUE(FileIo::WriteFileAtomically(notes, NotesImage(1)));
    EXPECT_EQ(MakeDailyBackup(notes, Day(2026, 12, 7)), BackupOutcome::Made);
    // Later saves of the same day, even of another run, keep the morning's copy.
    ASSERT_TRUE(FileIo::WriteFileAtomically(notes, NotesImage(2)));
    EXPECT_EQ(MakeDailyBackup(notes, Day(2026, 12, 7, 23, 59, 59)), BackupOutcome::AlreadyThere);
    EXPECT_EQ(Read(backups + L"Notes-2026-12-07.dat"), NotesImage(1));
    EXPECT_EQ(MakeDailyBackup(notes, Day(2026, 12, 8)), BackupOutcome::Made);
    EXPECT_EQ(Read(backups + L"Notes-2026-12-08.dat"), NotesImage(2));
    // Only whole backups: no temporary file is left beside them.
    EXPECT_EQ(FileIo::ListFiles(backups).size(), 2u);
}

TEST_F(DailyBackupTest, NoNotesFileNothingToKeepBeforeARestore) {
    EXPECT_TRUE(MakeTimedBackup(notes, Day(2026, 12, 7, 12, 0, 0)));
    EXPECT_TRUE(ListBackups(notes).empty());
    // No folder was made: a file may still take its name.
    EXPECT_TRUE(FileIo::WriteFileAtomically(dir + L"Backups", "x"));
}

TEST_F(DailyBackupTest, MakingOneRemovesTheOldestBeyondFourteen) {
    ASSERT_TRUE(FileIo::MakeFolder(dir + L"Backups"));
    for (int d = 1; d <= 14; ++d) {
        ASSERT_TRUE(FileIo::WriteFileAtomically(backups + DailyBackupName(Day(2026, 11, d)), "x"));
    }
    ASSERT_TRUE(FileIo::WriteFileAtomically(backups + L"mine.txt", "kept"));
    ASSERT_TRUE(FileIo::WriteFileAtomically(notes, NotesImage(3)));
    EXPECT_EQ(MakeDailyBackup(notes, Day(2026, 12, 1)), BackupOutcome::Made);
    const std::vector<std::wstring> left = FileIo::ListFiles(backups);
    EXPECT_EQ(left.size(), 15u);
    EXPECT_EQ(std::count(left.begin(), left.end(), L"Notes-2026-11-01.dat"), 0);
    EXPECT_EQ(std::count(left.begin(), left.end(), L"mine.txt"), 1);

    EXPECT_TRUE(MakeTimedBackup(notes, Day(2026, 12, 1, 12, 0, 0)));
    EXPECT_EQ(Read(backups + L"Notes-2026-12-01-120000.dat"), NotesImage(3));
    EXPECT_EQ(FileIo::ListFiles(backups).size(), 16u);
    EXPECT_TRUE(FileIo::FileExists(backups + L"Notes-2026-11-02.dat"));
}

// Trying backups one after another, the oldest last: every try keeps a copy of
// the notes before it, and neither the days' history nor the backup being
// restored is lost to them.
TEST_F(DailyBackupTest, TryingBackupsInTurnKeepsTheDaysAndTheOneRestored) {
    ASSERT_TRUE(FileIo::MakeFolder(dir + L"Backups"));
    for (int d = 1; d <= 14; ++d) {
        ASSERT_TRUE(FileIo::WriteFileAtomically(backups + DailyBackupName(Day(2026, 11, d)),
                                                NotesImage(static_cast<size_t>(d))));
    }
    ASSERT_TRUE(FileIo::WriteFileAtomically(notes, NotesImage(20)));
    for (uint16_t i = 0; i < kRestoreCopiesKept + 3; ++i) {
        EXPECT_TRUE(MakeTimedBackup(notes, Day(2026, 12, 1, 12, i, 0),
                                    backups + DailyBackupName(Day(2026, 11, 14 - i % 14))));
    }
    std::vector<BackupInfo> list = ListBackups(notes);
    ASSERT_EQ(list.size(), 14u + kRestoreCopiesKept);
    EXPECT_EQ(list.back().path, backups + L"Notes-2026-11-01.dat");
    EXPECT_EQ(list.back().noteCount, 1u);
    EXPECT_EQ(list.front().path, backups + L"Notes-2026-12-01-121200.dat");

    // Restoring the oldest copy made before a restore, and the oldest day on a
    // new day, whose first save prunes: both stay.
    const std::wstring oldestCopy = list[kRestoreCopiesKept - 1].path;
    EXPECT_TRUE(MakeTimedBackup(notes, Day(2026, 12, 1, 13, 0, 0), oldestCopy));
    EXPECT_TRUE(FileIo::FileExists(oldestCopy));
    EXPECT_EQ(MakeDailyBackup(notes, Day(2026, 12, 2), backups + L"Notes-2026-11-01.dat"),
              BackupOutcome::Made);
    EXPECT_TRUE(FileIo::FileExists(backups + L"Notes-2026-11-01.dat"));
    EXPECT_TRUE(FileIo::FileExists(backups + L"Notes-2026-11-02.dat"));
    // Once it is not being restored, the next day's pruning takes it.
    EXPECT_EQ(MakeDailyBackup(notes, Day(2026, 12, 3)), BackupOutcome::Made);
    EXPECT_FALSE(FileIo::FileExists(backups + L"Notes-2026-11-01.dat"));
    EXPECT_FALSE(FileIo::FileExists(backups + L"Notes-2026-11-02.dat"));
    EXPECT_EQ(ListBackups(notes).size(), 14u + kRestoreCopiesKept);
    EXPECT_FALSE(FileIo::FileExists(oldestCopy));
}

TEST_F(DailyBackupTest, AFolderThatCannotBeMadeFailsAndLeavesTheNotesAlone) {
    // A file named like the folder stands in for a folder that cannot be created.
    ASSERT_TRUE(FileIo::WriteFileAtomically(dir + L"Backups", "not a folder"));
    ASSERT_TRUE(FileIo::WriteFileAtomically(notes, NotesImage(1)));
    EXPECT_EQ(MakeDailyBackup(notes, Day(2026, 12, 7)), BackupOutcome::Failed);
    EXPECT_FALSE(MakeTimedBackup(notes, Day(2026, 12, 7)));
    EXPECT_EQ(Read(notes), NotesImage(1));
}

TEST_F(DailyBackupTest, ListShowsNewestFirstWithNoteCounts) {
    ASSERT_TRUE(FileIo::MakeFolder(dir + L"Backups"));
    ASSERT_TRUE(FileIo::WriteFileAtomically(backups + L"Notes-2026-12-05.dat", NotesImage(3)));
    ASSERT_TRUE(FileIo::WriteFileAtomically(backups + L"Notes-2026-12-06.dat", NotesImage(1)));
    // A damaged copy still shows, with what could be read of it.
    ASSERT_TRUE(FileIo::WriteFileAtomically(backups + L"Notes-2026-12-04.dat", "\x04\0\0"));
    ASSERT_TRUE(FileIo::WriteFileAtomically(backups + L"other.dat", NotesImage(5)));
    const std::vector<BackupInfo> list = ListBackups(notes);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].path, backups + L"Notes-2026-12-06.dat");
    EXPECT_EQ(list[0].noteCount, 1u);
    EXPECT_EQ(list[1].stamp.day, 5);
    EXPECT_EQ(list[1].noteCount, 3u);
    EXPECT_EQ(list[2].noteCount, 0u);
    EXPECT_TRUE(ListBackups(dir + L"elsewhere/Notes.dat").empty());
}

}  // namespace
