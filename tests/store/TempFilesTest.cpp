#include "store/TempFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(TempFiles, OnlyANameWithTheMarkerAndA32BitDecimalIdIsATemporaryFile) {
    struct {
        const wchar_t* name;
        bool parsed;
        const wchar_t* target;
        uint32_t id;
    } cases[] = {
        {L"Notes.dat.tmp-1234", true, L"Notes.dat", 1234},
        {L"Settings.ini.tmp-0", true, L"Settings.ini", 0},
        {L"Notes.dat.tmp-4294967295", true, L"Notes.dat", 4294967295u},
        {L"a.tmp-1.tmp-7", true, L"a.tmp-1", 7},       // the last marker counts
        {L"Notes.dat.tmp-4294967296", false, L"", 0},  // past 32 bits
        {L"Notes.dat.tmp-99999999999999999999", false, L"", 0},
        {L"Notes.dat.tmp-", false, L"", 0},
        {L"Notes.dat.tmp-12a", false, L"", 0},
        {L"x.tmp-9", true, L"x", 9},  // the ends of the digits, and what lies beside them
        {L"x.tmp-9:", false, L"", 0},
        {L"x.tmp-/0", false, L"", 0},
        {L"Notes.dat.tmp--1", false, L"", 0},
        {L"Notes.dat.tmp- 1", false, L"", 0},
        {L".tmp-12", false, L"", 0},  // names no file
        {L"Notes.dat", false, L"", 0},
        {L"Notes.dat.TMP-12", false, L"", 0},  // never written so
    };
    for (const auto& c : cases) {
        std::wstring target = L"unchanged";
        uint32_t id = 77;
        EXPECT_EQ(c.parsed, TempFiles::Parse(c.name, target, id)) << c.name;
        if (c.parsed) {
            EXPECT_EQ(c.target, target) << c.name;
            EXPECT_EQ(c.id, id) << c.name;
        } else {
            EXPECT_EQ(L"unchanged", target) << c.name;
            EXPECT_EQ(77u, id) << c.name;
        }
    }
}

TEST(TempFiles, AFileIsKeptOnlyWhileItsWriterRunsAndItIsNewerThanThisStart) {
    const uint64_t start = 1000;
    struct {
        bool running;
        uint64_t written;
        bool stale;
    } cases[] = {
        {false, 5000, true},                     // killed writer, even a moment ago
        {false, 10, true},   {true, 999, true},  // the id now belongs to another process
        {true, 1000, false},                     // written at this start: may be a write going on
        {true, 5000, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.stale, TempFiles::IsStale(c.running, c.written, start))
            << c.running << " " << c.written;
}

}  // namespace
