#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include <filesystem>

#include "NotesTestData.h"
#include "TestPaths.h"
#include "store/FileIo.h"
#include "store/NotesFile.h"

namespace {

using NotesTestData::SampleFile;
using NotesTestData::Time;
using R = RectData;

TEST(NotesLoadRules, RectanglesOutsideTheVirtualScreenComeBackWithTheirSize) {
    const R primary{0, 0, 1280, 1024};
    const R twoMonitors{-1024, 0, 1280, 1024};  // a second monitor left of the primary one
    // In order: overlapping at all, it stays; wholly left, above, right or below, the
    // facing edge meets the screen's; outside on both axes, both shifts; wider than the
    // screen and wholly right of it; absurd coordinates from a damaged file do not overflow.
    const struct {
        R screen, in, out;
    } cases[] = {
        // clang-format off
        {primary, {-199, -149, 1, 1}, {-199, -149, 1, 1}},
        {primary, {1279, 1023, 1500, 1200}, {1279, 1023, 1500, 1200}},
        {twoMonitors, {-900, 10, -700, 110}, {-900, 10, -700, 110}},
        {primary, {-900, 10, -700, 110}, {0, 10, 200, 110}},
        {primary, {-200, 10, 0, 110}, {0, 10, 200, 110}},
        {primary, {50, -500, 250, -400}, {50, 0, 250, 100}},
        {primary, {1280, 10, 1480, 110}, {1080, 10, 1280, 110}},
        {primary, {50, 2000, 250, 2100}, {50, 924, 250, 1024}},
        {twoMonitors, {-5000, 5000, -4800, 5100}, {-1024, 924, -824, 1024}},
        {primary, {2000, 0, 4000, 100}, {-720, 0, 1280, 100}},
        {primary, {INT32_MIN, INT32_MIN, INT32_MIN + 10, INT32_MIN + 10}, {0, 0, 10, 10}},
        {primary, {INT32_MAX - 10, 5, INT32_MAX, 15}, {1270, 5, 1280, 15}},
        // clang-format on
    };
    for (const auto& c : cases) {
        const R got = MoveIntoVirtualScreen(c.in, c.screen);
        EXPECT_EQ(c.out, got) << c.in.left << "," << c.in.top << " -> " << got.left << ","
                              << got.top << "," << got.right << "," << got.bottom;
    }
}

TEST(NotesLoadRules, AlarmsDueAtStartRingAsAVisibleTopmostNote) {
    const SystemTimeData now = Time(2026, 12, 6, 20, 30, 15, 500);
    const struct {
        SystemTimeData alarm;
        bool stillArmed;
    } cases[] = {
        // clang-format off
        {Time(2026, 12, 6, 20, 30, 15, 500), false},  // exactly now counts as due
        {Time(2026, 12, 6, 20, 30, 15, 499), false}, {Time(2025, 12, 31, 23, 59, 59, 999), false},
        {Time(2026, 12, 6, 20, 30, 15, 501), true}, {Time(2027, 1, 1, 0, 0), true},
        // clang-format on
    };
    for (const auto& c : cases) {
        NoteData n;
        n.alarmEnabled = n.hasAlarm = n.hidden = true;
        n.alarmTime = c.alarm;
        n.alarmTime.wDayOfWeek = 6;  // the day of the week plays no part
        const bool armed = c.stillArmed;
        EXPECT_EQ(armed, SettleDueAlarm(n, now));
        // armed, has alarm, hidden, topmost
        EXPECT_EQ(std::make_tuple(armed, armed, armed, !armed),
                  std::make_tuple(n.alarmEnabled, n.hasAlarm, n.hidden, n.alwaysOnTop));
    }
    // A disarmed alarm in the past is left alone.
    NoteData quiet;
    quiet.hasAlarm = quiet.hidden = true;
    quiet.alarmTime = Time(2000, 1, 1, 0, 0);
    EXPECT_FALSE(SettleDueAlarm(quiet, now));
    EXPECT_TRUE(quiet.hasAlarm && quiet.hidden);
    EXPECT_FALSE(quiet.alwaysOnTop);
}

class NotesFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        dir = TestPaths::MakeScratchDir();
        path = dir + L"Notes.dat";
        env.virtualScreen = R{-100000, -100000, 100000, 100000};
        env.nowUtc = Time(2000, 1, 1, 0, 0);
    }
    std::string Read(const std::wstring& file) {
        std::string bytes;
        EXPECT_TRUE(FileIo::ReadFile(file, bytes));
        return bytes;
    }
    // Loads what is at `path`, then saves `data` as the program would.
    bool LoadThenSave(const NotesFileData& data, bool& keep) {
        keep = LoadNotesFile(path, env).keepOriginal;
        return SaveNotesFile(path, data, saveTime, keep);
    }

    std::wstring dir, path;
    LoadEnvironment env;
    const SystemTimeData saveTime = Time(2026, 12, 6, 20, 30, 0);
};

TEST_F(NotesFileOnDisk, SaveThenLoadGivesTheSameNotesAndRules) {
    LoadResult first = LoadNotesFile(path, env);
    EXPECT_EQ(NotesFileState::Missing, first.state);
    EXPECT_FALSE(first.keepOriginal);

    NotesFileData data = SampleFile(3);
    data.notes[2].rect = R{5000, 10, 5200, 110};
    ASSERT_TRUE(SaveNotesFile(path, data, saveTime, first.keepOriginal));
    env.virtualScreen = R{0, 0, 1280, 1024};
    env.nowUtc = Time(2027, 6, 1, 0, 0);  // after every sample alarm
    LoadResult back = LoadNotesFile(path, env);
    EXPECT_EQ(NotesFileState::Whole, back.state);
    EXPECT_FALSE(back.keepOriginal);
    ASSERT_EQ(3u, back.data.notes.size());
    EXPECT_EQ((R{1080, 10, 1280, 110}), back.data.notes[2].rect);
    EXPECT_FALSE(back.data.notes[0].alarmEnabled);
    EXPECT_FALSE(back.data.notes[0].hidden);
    EXPECT_EQ(data.notes[1].text, back.data.notes[1].text);

    // Saving no notes leaves a count of zero, not an old list.
    ASSERT_TRUE(SaveNotesFile(path, NotesFileData(), saveTime, back.keepOriginal));
    EXPECT_EQ(std::string("\x04\0\0\0\0\0\0\0\0", 9), Read(path));
}

TEST_F(NotesFileOnDisk, OnlyAFileNotReadWholeIsKeptAndOnlyOnce) {
    const std::string notRead[] = {
        std::string("\x05\0\0\0", 4) + "from a later version",
        SerializeNotes(SampleFile(2)).substr(0, 150),
        SerializeNotes(SampleFile(1)) + "??",
    };
    for (const std::string& original : notRead) {
        SetUp();
        const std::wstring backup = dir + L"Notes.dat.2026-12-06-203000.bak";
        ASSERT_TRUE(FileIo::WriteFileAtomically(path, original));
        bool keep = false;
        ASSERT_TRUE(LoadThenSave(LoadNotesFile(path, env).data, keep));
        EXPECT_FALSE(keep);
        EXPECT_EQ(original, Read(backup));
        // Later saves write over the file and make no further copies.
        ASSERT_TRUE(SaveNotesFile(path, SampleFile(1), saveTime, keep));
        EXPECT_EQ(original, Read(backup));
        EXPECT_FALSE(FileIo::FileExists(BackupPathFor(path, saveTime, 2)));
        EXPECT_EQ(SerializeNotes(SampleFile(1)), Read(path));
    }
    for (const std::string& original : {std::string(), SerializeNotes(SampleFile(1))}) {
        SetUp();
        ASSERT_TRUE(FileIo::WriteFileAtomically(path, original));
        bool keep = true;
        ASSERT_TRUE(LoadThenSave(SampleFile(2), keep));
        EXPECT_FALSE(FileIo::FileExists(BackupPathFor(path, saveTime, 1)));
    }
}

TEST_F(NotesFileOnDisk, BackupsNeverReplaceEarlierOnes) {
    ASSERT_TRUE(FileIo::WriteFileAtomically(BackupPathFor(path, saveTime, 1), "older backup"));
    ASSERT_TRUE(FileIo::WriteFileAtomically(path, "cut"));
    bool keep = false;
    ASSERT_TRUE(LoadThenSave(NotesFileData(), keep));
    EXPECT_EQ("older backup", Read(BackupPathFor(path, saveTime, 1)));
    EXPECT_EQ("cut", Read(dir + L"Notes.dat.2026-12-06-203000-2.bak"));
}

TEST_F(NotesFileOnDisk, NoBackupMeansNoSave) {
    ASSERT_TRUE(FileIo::WriteFileAtomically(path, "cut"));
    // A folder where the backup would go makes the copy fail.
    ASSERT_TRUE(std::filesystem::create_directory(BackupPathFor(path, saveTime, 1)));
    bool keep = true;
    EXPECT_FALSE(SaveNotesFile(path, SampleFile(1), saveTime, keep));
    EXPECT_TRUE(keep);
    EXPECT_EQ("cut", Read(path));
}

}  // namespace
