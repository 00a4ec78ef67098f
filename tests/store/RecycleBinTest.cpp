#include "store/RecycleBin.h"

#include <gtest/gtest.h>

#include "TestPaths.h"
#include "store/FileIo.h"

namespace {

std::string Utf16(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

const std::u16string kSeparator =
    u"\r\n===========================================================================\r\n";

TEST(RecycleBin, OnlyCodeUnitsAboveSpaceAreVisible) {
    EXPECT_EQ(79u, RecycleBin::Separator().size());
    EXPECT_EQ(0u, RecycleBin::CountVisibleChars(L""));
    EXPECT_EQ(0u, RecycleBin::CountVisibleChars(L"   \r\n"));
    EXPECT_EQ(0u, RecycleBin::CountVisibleChars(std::wstring(L"\t\x01\x1F \0", 5)));
    EXPECT_FALSE(RecycleBin::HasVisibleText(L" \t\r\n "));
    EXPECT_EQ(1u, RecycleBin::CountVisibleChars(L" !"));
    // Non-breaking space and each half of a surrogate pair count.
    EXPECT_EQ(3u, RecycleBin::CountVisibleChars(L"\x00A0\xD83D\xDE00"));
    EXPECT_TRUE(RecycleBin::HasVisibleText(L"\r\nx"));
}

TEST(RecycleBin, AppendsUtf16BlocksOldestFirst) {
    const std::wstring bin = TestPaths::MakeScratchDir() + L"Recycle Bin.txt";
    ASSERT_TRUE(RecycleBin::AppendToRecycleBin(bin, L"abc"));
    std::string bytes;
    ASSERT_TRUE(FileIo::ReadFile(bin, bytes));
    EXPECT_EQ(164u, bytes.size());
    EXPECT_EQ(Utf16(u"abc" + kSeparator), bytes);

    ASSERT_TRUE(RecycleBin::AppendToRecycleBin(bin, L"line 1\r\n\xD83D\xDE00"));
    ASSERT_TRUE(FileIo::ReadFile(bin, bytes));
    EXPECT_EQ(Utf16(u"abc" + kSeparator + u"line 1\r\n\xD83D\xDE00" + kSeparator), bytes);
}

TEST(RecycleBin, OpeningCreatesAnEmptyBinAndEmptyingKeepsTheFile) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    const std::wstring bin = dir + L"bin.txt";
    ASSERT_TRUE(RecycleBin::EnsureRecycleBinExists(bin));
    std::string bytes = "x";
    ASSERT_TRUE(FileIo::ReadFile(bin, bytes));
    EXPECT_TRUE(bytes.empty());

    ASSERT_TRUE(RecycleBin::AppendToRecycleBin(bin, L"keep me"));
    ASSERT_TRUE(RecycleBin::EnsureRecycleBinExists(bin));  // an existing bin is left as it is
    ASSERT_TRUE(FileIo::ReadFile(bin, bytes));
    EXPECT_EQ(2u * (7 + 79), bytes.size());

    ASSERT_TRUE(RecycleBin::EmptyRecycleBin(bin));
    EXPECT_TRUE(FileIo::FileExists(bin));
    ASSERT_TRUE(FileIo::ReadFile(bin, bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(RecycleBin, UnwritablePlacesFailQuietly) {
    const std::wstring missing = TestPaths::MakeScratchDir() + L"no such folder/bin.txt";
    EXPECT_FALSE(RecycleBin::AppendToRecycleBin(missing, L"text"));
    EXPECT_FALSE(RecycleBin::EnsureRecycleBinExists(missing));
    EXPECT_FALSE(RecycleBin::EmptyRecycleBin(missing));
    EXPECT_FALSE(FileIo::FileExists(missing));
}

}  // namespace
