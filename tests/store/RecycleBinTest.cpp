#include "store/RecycleBin.h"

#include <gtest/gtest.h>

#include "TestPaths.h"
#include "store/FileIo.h"

namespace {

std::string Utf16(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) out += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return out;
}

std::string Read(const std::wstring& path) {
    std::string bytes = "unread";
    EXPECT_TRUE(FileIo::ReadFile(path, bytes));
    return bytes;
}

const std::u16string kSeparator =
    u"\r\n===========================================================================\r\n";

TEST(RecycleBin, OnlyCodeUnitsAboveSpaceAreVisible) {
    const struct {
        std::wstring text;
        size_t visible;
    } cases[] = {
        {L"", 0},
        {L" \t\r\n ", 0},
        {std::wstring(L"\t\x01\x1F \0", 5), 0},
        {L" !", 1},
        {L"\r\nx", 1},
        {L"\x00A0\xD83D\xDE00", 3},  // non-breaking space and each half of a pair count
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.visible, RecycleBin::CountVisibleChars(c.text)) << TestPaths::Narrow(c.text);
        EXPECT_EQ(c.visible > 0, RecycleBin::HasVisibleText(c.text));
    }
}

TEST(RecycleBin, AppendsUtf16BlocksOldestFirst) {
    const std::wstring bin = TestPaths::MakeScratchDir() + L"Recycle Bin.txt";
    ASSERT_TRUE(RecycleBin::AppendToRecycleBin(bin, L"abc"));
    EXPECT_EQ(Utf16(u"abc" + kSeparator), Read(bin));
    ASSERT_TRUE(RecycleBin::AppendToRecycleBin(bin, L"line 1\r\n\xD83D\xDE00"));
    EXPECT_EQ(Utf16(u"abc" + kSeparator + u"line 1\r\n\xD83D\xDE00" + kSeparator), Read(bin));
}

TEST(RecycleBin, OpeningCreatesAnEmptyBinAndEmptyingKeepsTheFile) {
    const std::wstring bin = TestPaths::MakeScratchDir() + L"bin.txt";
    ASSERT_TRUE(RecycleBin::EnsureRecycleBinExists(bin));
    EXPECT_EQ("", Read(bin));
    ASSERT_TRUE(RecycleBin::AppendToRecycleBin(bin, L"keep me"));
    ASSERT_TRUE(RecycleBin::EnsureRecycleBinExists(bin));  // an existing bin is left as it is
    EXPECT_EQ(Utf16(u"keep me" + kSeparator), Read(bin));
    ASSERT_TRUE(RecycleBin::EmptyRecycleBin(bin));
    EXPECT_EQ("", Read(bin));
}

TEST(RecycleBin, UnwritablePlacesFailQuietly) {
    const std::wstring missing = TestPaths::MakeScratchDir() + L"no such folder/bin.txt";
    EXPECT_FALSE(RecycleBin::AppendToRecycleBin(missing, L"text"));
    EXPECT_FALSE(RecycleBin::EnsureRecycleBinExists(missing));
    EXPECT_FALSE(RecycleBin::EmptyRecycleBin(missing));
    EXPECT_FALSE(FileIo::FileExists(missing));
}

}  // namespace
