#include "store/FileIo.h"

#include <gtest/gtest.h>

#include "TestPaths.h"

namespace {

TEST(FileIo, AtomicWriteReplacesWholeFileAndLeavesNoTemporaryFiles) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    const std::wstring path = dir + L"data.bin";
    std::string binary("a\0b\r\n\xff", 6);
    ASSERT_TRUE(FileIo::WriteFileAtomically(path, std::string(100000, 'x')));
    ASSERT_TRUE(FileIo::WriteFileAtomically(path, binary));

    std::string back;
    ASSERT_TRUE(FileIo::ReadFile(path, back));
    EXPECT_EQ(binary, back);

    // Only the target remains: a copy made with CopyNewFile must not find a temp name taken.
    EXPECT_TRUE(FileIo::RemoveFile(path));
    EXPECT_FALSE(FileIo::FileExists(path));
}

TEST(FileIo, FailuresLeaveThingsAsTheyWere) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    std::string bytes = "unchanged";
    EXPECT_FALSE(FileIo::ReadFile(dir + L"missing", bytes));
    EXPECT_EQ("unchanged", bytes);
    EXPECT_FALSE(FileIo::WriteFileAtomically(dir + L"no-such-folder/x", "data"));
    EXPECT_FALSE(FileIo::FileExists(dir + L"no-such-folder/x"));
}

TEST(FileIo, CopyNewFileNeverOverwrites) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    ASSERT_TRUE(FileIo::WriteFileAtomically(dir + L"a", "first"));
    ASSERT_TRUE(FileIo::WriteFileAtomically(dir + L"b", "second"));
    EXPECT_FALSE(FileIo::CopyNewFile(dir + L"a", dir + L"b"));
    ASSERT_TRUE(FileIo::CopyNewFile(dir + L"a", dir + L"c"));
    std::string back;
    ASSERT_TRUE(FileIo::ReadFile(dir + L"b", back));
    EXPECT_EQ("second", back);
    ASSERT_TRUE(FileIo::ReadFile(dir + L"c", back));
    EXPECT_EQ("first", back);
}

TEST(FileIo, AppendCreatesThenExtends) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    ASSERT_TRUE(FileIo::AppendToFile(dir + L"log", "one"));
    ASSERT_TRUE(FileIo::AppendToFile(dir + L"log", "two"));
    std::string back;
    ASSERT_TRUE(FileIo::ReadFile(dir + L"log", back));
    EXPECT_EQ("onetwo", back);
}

}  // namespace
