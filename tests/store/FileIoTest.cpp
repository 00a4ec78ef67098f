#include "store/FileIo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "TestPaths.h"

namespace {

std::string Read(const std::wstring& path) {
    std::string bytes;
    EXPECT_TRUE(FileIo::ReadFile(path, bytes));
    return bytes;
}

size_t Entries(const std::wstring& dir) {
    std::filesystem::directory_iterator it{std::filesystem::path(dir)};
    return static_cast<size_t>(std::distance(it, std::filesystem::directory_iterator()));
}

TEST(FileIo, AtomicWriteReplacesTheWholeFileAndLeavesNoTemporaryFiles) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    const std::string binary("a\0b\r\n\xff", 6);
    ASSERT_TRUE(FileIo::WriteFileAtomically(dir + L"data.bin", std::string(100000, 'x')));
    ASSERT_TRUE(FileIo::WriteFileAtomically(dir + L"data.bin", binary));
    EXPECT_EQ(binary, Read(dir + L"data.bin"));
    EXPECT_EQ(1u, Entries(dir));
    EXPECT_TRUE(FileIo::RemoveFile(dir + L"data.bin"));
    EXPECT_FALSE(FileIo::FileExists(dir + L"data.bin"));
}

TEST(FileIo, FailuresLeaveThingsAsTheyWere) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    std::string bytes = "unchanged";
    EXPECT_FALSE(FileIo::ReadFile(dir + L"missing", bytes));
    EXPECT_EQ("unchanged", bytes);
    EXPECT_FALSE(FileIo::WriteFileAtomically(dir + L"no-such-folder/x", "data"));
    EXPECT_FALSE(FileIo::FileExists(dir + L"no-such-folder/x"));
    EXPECT_EQ(0u, Entries(dir));
}

TEST(FileIo, CopyNewFileNeverOverwritesAndAppendExtends) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    ASSERT_TRUE(FileIo::WriteFileAtomically(dir + L"a", "first"));
    ASSERT_TRUE(FileIo::WriteFileAtomically(dir + L"b", "second"));
    EXPECT_FALSE(FileIo::CopyNewFile(dir + L"a", dir + L"b"));
    ASSERT_TRUE(FileIo::CopyNewFile(dir + L"a", dir + L"c"));
    EXPECT_EQ("second", Read(dir + L"b"));
    EXPECT_EQ("first", Read(dir + L"c"));

    ASSERT_TRUE(FileIo::AppendToFile(dir + L"log", "one"));
    ASSERT_TRUE(FileIo::AppendToFile(dir + L"log", "two"));
    EXPECT_EQ("onetwo", Read(dir + L"log"));
}

}  // namespace
