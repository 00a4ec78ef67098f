#include <gtest/gtest.h>

#include <climits>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include "NotesTestData.h"
#include "TestPaths.h"
#include "store/FileIo.h"
#include "store/NotesFile.h"

namespace {

using NotesTestData::Rect;
using NotesTestData::SampleFile;
using NotesTestData::Time;

// ---- the virtual screen ------------------------------------------------------

TEST(NotesLoadRules, RectanglesOutsideTheVirtualScreenComeBackWithTheirSize) {
    const RectData primary = Rect(0, 0, 1280, 1024);
    // A second monitor left of the primary one.
    const RectData twoMonitors = Rect(-1024, 0, 1280, 1024);
    struct Case {
        RectData screen, in, out;
    } cases[] = {
        // overlapping at all: stays
        {primary, Rect(100, 100, 300, 250), Rect(100, 100, 300, 250)},
        {primary, Rect(-199, -149, 1, 1), Rect(-199, -149, 1, 1)},
        {primary, Rect(1279, 1023, 1500, 1200), Rect(1279, 1023, 1500, 1200)},
        {twoMonitors, Rect(-900, 10, -700, 110), Rect(-900, 10, -700, 110)},
        {twoMonitors, Rect(1000, 500, 1200, 600), Rect(1000, 500, 1200, 600)},
        // wholly left, above, right, below: the facing edge meets the screen's
        {primary, Rect(-900, 10, -700, 110), Rect(0, 10, 200, 110)},
        {primary, Rect(-200, 10, 0, 110), Rect(0, 10, 200, 110)},
        {primary, Rect(50, -500, 250, -400), Rect(50, 0, 250, 100)},
        {primary, Rect(1500, 10, 1700, 110), Rect(1080, 10, 1280, 110)},
        {primary, Rect(1280, 10, 1480, 110), Rect(1080, 10, 1280, 110)},
        {primary, Rect(50, 2000, 250, 2100), Rect(50, 924, 250, 1024)},
        // outside on both axes: both shifts
        {primary, Rect(3000, -3000, 3200, -2900), Rect(1080, 0, 1280, 100)},
        {twoMonitors, Rect(-5000, 5000, -4800, 5100), Rect(-1024, 924, -824, 1024)},
        // wider than the screen and wholly right of it
        {primary, Rect(2000, 0, 4000, 100), Rect(-720, 0, 1280, 100)},
        // absurd coordinates from a damaged file do not overflow
        {primary, Rect(INT32_MIN, INT32_MIN, INT32_MIN + 10, INT32_MIN + 10), Rect(0, 0, 10, 10)},
        {primary, Rect(INT32_MAX - 10, 5, INT32_MAX, 15), Rect(1270, 5, 1280, 15)},
    };
    for (const Case& c : cases) {
        RectData got = MoveIntoVirtualScreen(c.in, c.screen);
        EXPECT_EQ(c.out, got) << c.in.left << "," << c.in.top << "," << c.in.right << ","
                              << c.in.bottom << " -> " << got.left << "," << got.top << ","
                              << got.right << "," << got.bottom;
    }
}

// ---- alarms that fell due while the program was not running ------------------

TEST(NotesLoadRules, AlarmsDueAtStartRingAsAVisibleTopmostNote) {
    const SystemTimeData now = Time(2026, 12, 6, 20, 30, 15, 500);
    struct Case {
        SystemTimeData alarm;
        bool stillArmed;
    } cases[] = {
        {Time(2026, 12, 6, 20, 30, 15, 500), false},  // exactly now counts as due
        {Time(2026, 12, 6, 20, 30, 15, 499), false}, {Time(2025, 12, 31, 23, 59, 59, 999), false},
        {Time(2026, 11, 30, 23, 59), false},         {Time(2026, 12, 6, 20, 30, 15, 501), true},
        {Time(2026, 12, 6, 20, 31), true},           {Time(2027, 1, 1, 0, 0), true},
    };
    for (const Case& c : cases) {
        NoteData n;
        n.alarmEnabled = true;
        n.hasAlarm = true;
        n.hidden = true;
        n.alarmTime = c.alarm;
        n.alarmTime.wDayOfWeek = 6;  // the day of the week plays no part
        EXPECT_EQ(c.stillArmed, SettleDueAlarm(n, now));
        EXPECT_EQ(c.stillArmed, n.alarmEnabled);
        EXPECT_EQ(c.stillArmed, n.hasAlarm);
        EXPECT_EQ(c.stillArmed, n.hidden);
        EXPECT_EQ(!c.stillArmed, n.alwaysOnTop);
    }

    // A disarmed alarm in the past is left alone.
    NoteData quiet;
    quiet.hasAlarm = true;
    quiet.hidden = true;
    quiet.alarmTime = Time(2000, 1, 1, 0, 0);
    EXPECT_FALSE(SettleDueAlarm(quiet, now));
    EXPECT_TRUE(quiet.hasAlarm);
    EXPECT_TRUE(quiet.hidden);
    EXPECT_FALSE(quiet.alwaysOnTop);
}

// ---- load and save through files ---------------------------------------------

class NotesFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        dir = TestPaths::MakeScratchDir();
        path = dir + L"Notes.dat";
        env.virtualScreen = Rect(-100000, -100000, 100000, 100000);
        env.nowUtc = Time(2000, 1, 1, 0, 0);
    }

    std::string Read(const std::wstring& file) {
        std::string bytes;
        EXPECT_TRUE(FileIo::ReadFile(file, bytes));
        return bytes;
    }

    std::wstring dir;
    std::wstring path;
    LoadEnvironment env;
    const SystemTimeData saveTime = Time(2026, 12, 6, 20, 30, 0);
};

TEST_F(NotesFileOnDisk, SaveThenLoadGivesTheSameNotesAndRules) {
    LoadResult first = LoadNotesFile(path, env);
    EXPECT_EQ(NotesFileState::Missing, first.state);
    EXPECT_FALSE(first.keepOriginal);

    bool keep = first.keepOriginal;
    NotesFileData data = SampleFile(3);
    data.notes[2].rect = Rect(5000, 10, 5200, 110);
    ASSERT_TRUE(SaveNotesFile(path, data, saveTime, keep));

    env.virtualScreen = Rect(0, 0, 1280, 1024);
    env.nowUtc = Time(2027, 6, 1, 0, 0);  // after every sample alarm
    LoadResult back = LoadNotesFile(path, env);
    EXPECT_EQ(NotesFileState::Whole, back.state);
    EXPECT_FALSE(back.keepOriginal);
    ASSERT_EQ(3u, back.data.notes.size());
    EXPECT_EQ(Rect(1080, 10, 1280, 110), back.data.notes[2].rect);
    EXPECT_FALSE(back.data.notes[0].alarmEnabled);
    EXPECT_FALSE(back.data.notes[0].hidden);
    EXPECT_EQ(data.notes[1].text, back.data.notes[1].text);
}

TEST_F(NotesFileOnDisk, SavingNoNotesLeavesACountOfZero) {
    bool keep = false;
    ASSERT_TRUE(SaveNotesFile(path, SampleFile(2), saveTime, keep));
    ASSERT_TRUE(SaveNotesFile(path, NotesFileData(), saveTime, keep));
    EXPECT_EQ(std::string("\x04\0\0\0\0\0\0\0\0", 9), Read(path));
}

TEST_F(NotesFileOnDisk, AFileNotReadWholeIsKeptOnceBeforeTheFirstSave) {
    const std::string newer = std::string("\x05\0\0\0", 4) + "from a later version";
    const std::string cut = SerializeNotes(SampleFile(2)).substr(0, 150);
    const std::string longer = SerializeNotes(SampleFile(1)) + "??";
    for (const std::string& original : {newer, cut, longer}) {
        SetUp();
        ASSERT_TRUE(FileIo::WriteFileAtomically(path, original));
        LoadResult loaded = LoadNotesFile(path, env);
        ASSERT_TRUE(loaded.keepOriginal);
        bool keep = loaded.keepOriginal;

        ASSERT_TRUE(SaveNotesFile(path, loaded.data, saveTime, keep));
        EXPECT_FALSE(keep);
        const std::wstring backup = dir + L"Notes.dat.2026-12-06-203000.bak";
        EXPECT_EQ(original, Read(backup));

        // Later saves write over the file and make no further copies.
        ASSERT_TRUE(SaveNotesFile(path, SampleFile(1), saveTime, keep));
        EXPECT_EQ(original, Read(backup));
        EXPECT_FALSE(FileIo::FileExists(BackupPathFor(path, saveTime, 2)));
        EXPECT_EQ(SerializeNotes(SampleFile(1)), Read(path));
    }
}

TEST_F(NotesFileOnDisk, BackupsNeverReplaceEarlierOnes) {
    ASSERT_TRUE(FileIo::WriteFileAtomically(BackupPathFor(path, saveTime, 1), "older backup"));
    ASSERT_TRUE(FileIo::WriteFileAtomically(path, "cut"));
    LoadResult loaded = LoadNotesFile(path, env);
    EXPECT_EQ(NotesFileState::CutShort, loaded.state);
    bool keep = loaded.keepOriginal;
    ASSERT_TRUE(SaveNotesFile(path, loaded.data, saveTime, keep));
    EXPECT_EQ("older backup", Read(BackupPathFor(path, saveTime, 1)));
    EXPECT_EQ("cut", Read(dir + L"Notes.dat.2026-12-06-203000-2.bak"));
}

TEST_F(NotesFileOnDisk, NoBackupMeansNoSave) {
    ASSERT_TRUE(FileIo::WriteFileAtomically(path, "cut"));
    // A folder where the backup would go makes the copy fail.
    const std::wstring blocker = BackupPathFor(path, saveTime, 1);
#ifdef _WIN32
    ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
#else
    ASSERT_EQ(0, mkdir(TestPaths::Narrow(blocker).c_str(), 0700));
#endif
    bool keep = true;
    EXPECT_FALSE(SaveNotesFile(path, SampleFile(1), saveTime, keep));
    EXPECT_TRUE(keep);
    EXPECT_EQ("cut", Read(path));
}

TEST_F(NotesFileOnDisk, AWholeOrEmptyFileNeedsNoBackup) {
    for (const std::string& original : {std::string(), SerializeNotes(SampleFile(1))}) {
        SetUp();
        ASSERT_TRUE(FileIo::WriteFileAtomically(path, original));
        LoadResult loaded = LoadNotesFile(path, env);
        EXPECT_EQ(NotesFileState::Whole, loaded.state);
        bool keep = loaded.keepOriginal;
        ASSERT_TRUE(SaveNotesFile(path, loaded.data, saveTime, keep));
        EXPECT_FALSE(FileIo::FileExists(BackupPathFor(path, saveTime, 1)));
    }
}

}  // namespace
