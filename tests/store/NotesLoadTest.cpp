#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <tuple>

#include "NotesTestData.h"
#include "support/TestPaths.h"
#include "store/FileIo.h"
#include "store/DailyBackups.h"
#include "store/NotesFile.h"

namespace {

using NotesTestData::SampleFile;
using R = RectData;

TEST(NotesLoadRules, RectanglesOutsideTheVirtualScreenComeBackWithTheirSize) {
    const R primary{0, 0, 1280, 1024};
    const R twoMonitors{-1024, 0, 1280, 1024};  // a second monitor left of the primary one
    // In order: overlapping at all, it stays; wholly left, above, right or below, the
    // facing edge meets the screen's; outside on both axes; wider than the screen;
    // absurd coordinates from a damaged file do not overflow.
    const struct {
        R screen, in, out;
    } cases[] = {
        // clang-format off
        {twoMonitors, {-900, 10, -700, 110}, {-900, 10, -700, 110}},
        {primary, {-900, 10, -700, 110}, {0, 10, 200, 110}},
        {primary, {50, -500, 250, -400}, {50, 0, 250, 100}},
        {primary, {1280, 10, 1480, 110}, {1080, 10, 1280, 110}},
        {primary, {50, 2000, 250, 2100}, {50, 924, 250, 1024}},
        {twoMonitors, {-5000, 5000, -4800, 5100}, {-1024, 924, -824, 1024}},
        {primary, {2000, 0, 4000, 100}, {-720, 0, 1280, 100}},
        {primary, {INT32_MIN, INT32_MIN, INT32_MIN + 10, INT32_MIN + 10}, {0, 0, 10, 10}},
        {primary, {INT32_MAX - 10, 5, INT32_MAX, 15}, {1270, 5, 1280, 15}},
        // Touching an edge from outside shares no pixel: the note is brought in.
        {primary, {-200, 10, 0, 110}, {0, 10, 200, 110}},
        {primary, {50, -100, 250, 0}, {50, 0, 250, 100}},
        {primary, {50, 1024, 250, 1124}, {50, 924, 250, 1024}},
        // A note one pixel wide or high, one pixel outside: in by that one pixel.
        {primary, {-1, 10, 0, 110}, {0, 10, 1, 110}},
        {primary, {50, 1024, 250, 1025}, {50, 1023, 250, 1024}},
        // One pixel on the screen, at any edge, is enough to stay.
        {primary, {-199, -99, 1, 1}, {-199, -99, 1, 1}},
        {primary, {1279, 1023, 1479, 1123}, {1279, 1023, 1479, 1123}},
        // A shift that would leave the 32-bit range stops at its end instead of wrapping.
        {{INT32_MIN, 0, INT32_MIN + 100, 10}, {0, 0, INT32_MAX, 10},
         {INT32_MIN, 0, INT32_MIN + 100, 10}},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.out, MoveIntoVirtualScreen(c.in, c.screen)) << c.in.left << "," << c.in.top;
    }
}

TEST(NotesLoad, ABackupOfTheOriginalIsNamedByTheTimeOfTheSave) {
    EXPECT_EQ(L"N.dat.1999-09-08-070605.bak", BackupPathFor(L"N.dat", At(1999, 9, 8, 7, 6, 5), 1));
    EXPECT_EQ(L"N.dat.2090-12-31-235958-3.bak",
              BackupPathFor(L"N.dat", At(2090, 12, 31, 23, 59, 58), 3));
}

class NotesFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        dir = TestPaths::MakeScratchDir();
        path = dir + L"Notes.dat";
        env.virtualScreen = R{-100000, -100000, 100000, 100000};
        env.nowUtc = At(2000, 1, 1, 0, 0);
        env.localNow = saveTime;
    }
    std::string Read(const std::wstring& file) {
        std::string bytes;
        EXPECT_TRUE(FileIo::ReadFile(file, bytes));
        return bytes;
    }

    std::wstring dir, path;
    LoadEnvironment env;
    const SystemTimeData saveTime = At(2026, 12, 6, 20, 30, 0);
};

// Alarms that fell due while the program was not running ring at start as a
// visible topmost note; the day of the week plays no part.
TEST_F(NotesFileOnDisk, LoadingAppliesTheRulesAndAnEmptySaveLeavesNoOldList) {
    EXPECT_EQ(NotesFileState::Missing, LoadNotesFile(path, env).state);
    NotesFileData data = SampleFile(4);  // armed, hidden, alarms at 2027-01-02 03:04:05.006
    for (NoteData& n : data.notes) n.alwaysOnTop = false;
    data.notes[0].rect = R{5000, 10, 5200, 110};
    data.notes[1].alarmTime.wMilliseconds = 7;
    data.notes[2].alarmTime.wYear = 2026;
    data.notes[3].alarmEnabled = false;  // disarmed: left alone
    bool keep = false;
    ASSERT_TRUE(SaveNotesFile(path, data, saveTime, keep));
    env.virtualScreen = R{0, 0, 1280, 1024};
    env.nowUtc = At(2027, 1, 2, 3, 4, 5, 6);  // exactly now counts as due
    LoadResult back = LoadNotesFile(path, env);
    EXPECT_EQ(NotesFileState::Whole, back.state);
    ASSERT_EQ(4u, back.data.notes.size());
    EXPECT_EQ((R{1080, 10, 1280, 110}), back.data.notes[0].rect);  // moved on screen
    const auto state = [&](size_t i) {
        const NoteData& n = back.data.notes[i];
        return std::make_tuple(n.alarmEnabled, n.hasAlarm, n.hidden, n.alwaysOnTop);
    };
    for (size_t due : {0, 2}) EXPECT_EQ(std::make_tuple(false, false, false, true), state(due));
    EXPECT_EQ(std::make_tuple(true, true, true, false), state(1));
    EXPECT_EQ(std::make_tuple(false, true, true, false), state(3));

    ASSERT_TRUE(SaveNotesFile(path, NotesFileData(), saveTime, keep));
    EXPECT_EQ(std::string("\x04\0\0\0\0\0\0\0\0", 9), Read(path));
}

TEST_F(NotesFileOnDisk, OnlyAFileNotReadWholeIsKeptAndOnlyOnce) {
    using Case = std::pair<std::string, bool>;  // the file, and whether it is kept
    const std::string one = SerializeNotes(SampleFile(1));
    for (const auto& [original, kept] :
         {Case{std::string("\x05\0\0\0", 4) + "from a later version", true},
          Case{SerializeNotes(SampleFile(2)).substr(0, 150), true}, Case{one + "??", true},
          Case{std::string(), false}, Case{one, false}}) {
        SetUp();
        ASSERT_TRUE(FileIo::WriteFileAtomically(path, original));
        LoadResult loaded = LoadNotesFile(path, env);
        // A file of a later version is kept at once; a damaged one by the save.
        EXPECT_EQ(kept, loaded.keepOriginal || loaded.keptOriginalCopied);
        ASSERT_TRUE(SaveNotesFile(path, loaded.data, saveTime, loaded.keepOriginal));
        EXPECT_FALSE(loaded.keepOriginal);
        // Later saves write over the file and make no further copies.
        ASSERT_TRUE(SaveNotesFile(path, SampleFile(1), saveTime, loaded.keepOriginal));
        const std::wstring backup = dir + L"Notes.dat.2026-12-06-203000.bak";
        EXPECT_EQ(kept, FileIo::FileExists(backup)) << original.size();
        if (kept) {
            EXPECT_EQ(original, Read(backup));
        }
        EXPECT_FALSE(FileIo::FileExists(BackupPathFor(path, saveTime, 2)));
        EXPECT_EQ(one, Read(path));
    }
}

TEST_F(NotesFileOnDisk, BackupsNeverReplaceEarlierOnesAndNoBackupMeansNoSave) {
    ASSERT_TRUE(FileIo::WriteFileAtomically(BackupPathFor(path, saveTime, 1), "older backup"));
    ASSERT_TRUE(FileIo::WriteFileAtomically(path, "cut"));
    bool keep = true;
    ASSERT_TRUE(SaveNotesFile(path, NotesFileData(), saveTime, keep));
    EXPECT_EQ("older backup", Read(BackupPathFor(path, saveTime, 1)));
    EXPECT_EQ("cut", Read(dir + L"Notes.dat.2026-12-06-203000-2.bak"));

    // A folder where the next backup would go makes the copy fail.
    ASSERT_TRUE(FileIo::WriteFileAtomically(path, "cut again"));
    ASSERT_TRUE(std::filesystem::create_directory(BackupPathFor(path, saveTime, 3)));
    keep = true;
    EXPECT_FALSE(SaveNotesFile(path, SampleFile(1), saveTime, keep));
    EXPECT_TRUE(keep);
    EXPECT_EQ("cut again", Read(path));
}

// A file the program cannot read at all is kept beside itself before anything
// is saved, under a name told to the user, which the restore dialog lists; a
// file that could not even be copied is copied under that very name by the
// first save that can, and nothing is written before.
TEST_F(NotesFileOnDisk, AnUnreadFileIsKeptUnderTheNameToldBeforeAnySave) {
    const std::string newer = std::string("\x07\0\0\0", 4) + "notes of version 7";
    ASSERT_TRUE(FileIo::WriteFileAtomically(BackupPathFor(path, saveTime, 1), "an older one"));
    ASSERT_TRUE(FileIo::WriteFileAtomically(path, newer));
    int waits = 0;
    env.readAttempts = 5;
    env.wait = [&waits] { ++waits; };
    LoadResult loaded = LoadNotesFile(path, env);
    EXPECT_EQ(waits, 0) << "a readable file is read at once";
    EXPECT_EQ(loaded.state, NotesFileState::NewerVersion);
    EXPECT_EQ(loaded.keptOriginalPath, dir + L"Notes.dat.2026-12-06-203000-2.bak");
    EXPECT_TRUE(loaded.keptOriginalCopied);
    EXPECT_FALSE(loaded.keepOriginal);
    EXPECT_EQ(Read(loaded.keptOriginalPath), newer);
    EXPECT_EQ(Read(path), newer) << "loading writes nothing over it";

    const std::vector<BackupInfo> listed = ListBackups(path);
    ASSERT_EQ(listed.size(), 2u);
    for (const BackupInfo& b : listed) EXPECT_TRUE(b.keptOriginal);
    EXPECT_TRUE(listed[0].path == loaded.keptOriginalPath ||
                listed[1].path == loaded.keptOriginalPath);
    EXPECT_EQ(listed[0].stamp.hour, 20);
    EXPECT_EQ(listed[0].stamp.second, 0);
    EXPECT_EQ(listed[0].noteCount, 0u);

    // Held: a save keeps the file under the name told, then replaces it.
    bool keep = true;
    ASSERT_TRUE(FileIo::WriteFileAtomically(path, "held by another program until now"));
    const std::wstring told = dir + L"Notes.dat.2026-12-06-201500.bak";
    ASSERT_TRUE(SaveNotesFile(path, SampleFile(1), saveTime, keep, told));
    EXPECT_EQ(Read(told), "held by another program until now");
    EXPECT_EQ(Read(path), SerializeNotes(SampleFile(1)));
    EXPECT_FALSE(keep);
}

TEST(KeptOriginalNames, ReadBackOnlyForTheirNotesFile) {
    const struct {
        const wchar_t* name;
        bool kept;
    } cases[] = {
        {L"Notes.dat.2026-12-06-203000.bak", true},
        {L"Notes.dat.2026-12-06-203000-2.bak", true},
        {L"Notes.dat.2026-12-06-203000-100.bak", true},
        {L"Notes.dat.2026-12-06-203000-.bak", false},
        {L"Notes.dat.2026-12-06-203000-1000.bak", false},
        {L"Notes.dat.2026-13-06-203000.bak", false},
        {L"Notes.dat.2026-12-06-246000.bak", false},
        {L"Notes.dat.2026-12-06-203000.dat", false},
        {L"Other.dat.2026-12-06-203000.bak", false},
        {L"Notes.dat.bak", false},
        {L"Notes-2026-12-06.dat", false},
    };
    for (const auto& c : cases) {
        SystemTimeData stamp;
        EXPECT_EQ(ParseKeptOriginalName(L"Notes.dat", c.name, stamp), c.kept)
            << TestPaths::Narrow(c.name);
    }
    SystemTimeData stamp;
    ASSERT_TRUE(ParseKeptOriginalName(L"Notes.dat", L"Notes.dat.1999-01-31-235958.bak", stamp));
    EXPECT_EQ(std::make_tuple(stamp.wYear, stamp.wMonth, stamp.wDay, stamp.wHour, stamp.wMinute,
                              stamp.wSecond),
              std::make_tuple(1999, 1, 31, 23, 59, 58));
}

}  // namespace
