#include "app/CrashFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(CrashFilesTest, NamesAndLinesCarryTheTimeAndTheExceptionAndFitTheirBuffers) {
    const CrashStamp stamp{2026, 1, 9, 7, 5, 3, 4242};
    wchar_t stem[64] = {};
    EXPECT_EQ(26u, FormatCrashStem(stamp, stem, 64));
    EXPECT_EQ(std::wstring(L"Crash-20260109-070503-4242"), stem);
    // The largest values every field can hold, and a buffer one short.
    const CrashStamp wide{9999, 12, 31, 23, 59, 59, 4294967295u};
    wchar_t longest[64] = {};
    const size_t length = FormatCrashStem(wide, longest, 64);
    EXPECT_EQ(std::wstring(L"Crash-99991231-235959-4294967295"), longest);
    wchar_t tight[64] = {};
    EXPECT_EQ(0u, FormatCrashStem(wide, tight, length));
    EXPECT_EQ(length, FormatCrashStem(wide, tight, length + 1));

    char line[160] = {};
    const size_t n = FormatCrashLine(stamp, 0xC0000005u, 0x1400012ABull, line, sizeof line);
    EXPECT_EQ(std::string("2026-01-09 07:05:03 process 4242: exception 0xC0000005 at "
                          "0x00000001400012AB\r\n"),
              std::string(line, n));
    char small[20] = {};
    EXPECT_EQ(0u, FormatCrashLine(stamp, 1, 2, small, sizeof small));
    EXPECT_EQ('\0', small[0]);
    EXPECT_EQ(0u, FormatCrashLine(stamp, 1, 2, nullptr, 0));
}

TEST(CrashFilesTest, PruningKeepsTheNewestCrashesWholeAndNothingElseIsTouched) {
    std::vector<std::wstring> names;
    // Twelve crashes, out of order, across a year's end; each with both files
    // except one whose dump was never written.
    const wchar_t* stems[] = {
        L"Crash-20261231-235959-10", L"Crash-20270101-000000-7", L"Crash-20260105-120000-99",
        L"Crash-20261101-080000-5",  L"Crash-20261231-235959-9", L"Crash-20260301-000001-1",
        L"Crash-20260601-101010-2",  L"Crash-20260701-101010-3", L"Crash-20260801-101010-4",
        L"Crash-20260901-101010-6",  L"Crash-20261001-101010-8", L"Crash-20260201-101010-11",
    };
    for (const wchar_t* stem : stems) {
        names.push_back(std::wstring(stem) + L".txt");
        if (std::wstring(stem) != L"Crash-20260201-101010-11")
            names.push_back(std::wstring(stem) + L".dmp");
    }
    // Not a crash's files: never chosen, whatever their names sort like.
    const std::vector<std::wstring> strangers = {
        L"Crash-2026010-120000-1.dmp",
        L"Crash-20260101-120000-.dmp",
        L"Crash-20260101-120000-1.log",
        L"crash-20260101-120000-1.dmp",
        L"Crash-20260101_120000-1.dmp",
        L"Notes.dat",
        L"Crash-20260101-120000-12345678901.dmp",
    };
    names.insert(names.end(), strangers.begin(), strangers.end());

    EXPECT_EQ(Sorted({L"Crash-20260105-120000-99.txt", L"Crash-20260105-120000-99.dmp",
                      L"Crash-20260201-101010-11.txt"}),
              Sorted(CrashFilesToPrune(names, 10)));
    // Keeping 9 takes the third oldest too; keeping as many as there are, none.
    EXPECT_EQ(5u, CrashFilesToPrune(names, 9).size());
    EXPECT_TRUE(CrashFilesToPrune(names, 12).empty());
    EXPECT_TRUE(CrashFilesToPrune(names, 13).empty());
    EXPECT_EQ(names.size() - strangers.size(), CrashFilesToPrune(names, 0).size());
    EXPECT_TRUE(CrashFilesToPrune(strangers, 0).empty());
}
