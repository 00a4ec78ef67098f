#include "store/FileIo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "support/TestPaths.h"

namespace {

size_t Entries(const std::wstring& dir) {
    std::filesystem::directory_iterator it{std::filesystem::path(dir)};
    return static_cast<size_t>(std::distance(it, std::filesystem::directory_iterator()));
}

TEST(FileIo, AtomicWriteReplacesTheWholeFileAndFailuresLeaveNoTrace) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    const std::string binary("a\0b\r\n\xff", 6);
    ASSERT_TRUE(FileIo::WriteFileAtomically(dir + L"data.bin", std::string(100000, 'x')));
    ASSERT_TRUE(FileIo::WriteFileAtomically(dir + L"data.bin", binary));
    std::string bytes;
    ASSERT_TRUE(FileIo::ReadFile(dir + L"data.bin", bytes));
    EXPECT_EQ(binary, bytes);
    EXPECT_FALSE(FileIo::WriteFileAtomically(dir + L"no-such-folder/x", "data"));
    EXPECT_EQ(1u, Entries(dir));  // no temporary files left behind

    bytes = "unchanged";
    EXPECT_FALSE(FileIo::ReadFile(dir + L"missing", bytes));
    EXPECT_EQ("unchanged", bytes);
    // A folder opens on some systems but cannot be read: a failure, not a wait.
    ASSERT_TRUE(FileIo::MakeFolder(dir + L"folder"));
    uint64_t size = 0;
    EXPECT_FALSE(FileIo::ReadFile(dir + L"folder", bytes));
    EXPECT_FALSE(FileIo::ReadFilePrefix(dir + L"folder", 100, bytes, size));
    EXPECT_EQ("unchanged", bytes);
    ASSERT_TRUE(std::filesystem::remove(std::filesystem::path(dir + L"folder")));
    EXPECT_TRUE(FileIo::RemoveFile(dir + L"data.bin"));
    EXPECT_EQ(0u, Entries(dir));
}

}  // namespace
