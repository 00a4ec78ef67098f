#include "store/TextFile.h"

#include <gtest/gtest.h>

#include "support/TestPaths.h"
#include "store/FileIo.h"
#include "store/TextCodec.h"

namespace {

TEST(TextFileTest, EightBitWhileEveryCharacterFitsElseUtf8WithBom) {
    struct {
        std::wstring text;
        std::string bytes;
    } cases[] = {
        {L"", ""},
        {L"a\r\nb", "a\r\nb"},  // line breaks reach the file as they are
        {L"caf\xE9 \xFF\x80", "caf\xE9 \xFF\x80"},
        {L"\x0100", "\xEF\xBB\xBF\xC4\x80"},  // the first code unit without a byte
        {L"5 \x20AC\r\n\xE9",
         "\xEF\xBB\xBF"
         "5 \xE2\x82\xAC\r\n\xC3\xA9"},
        {L"\xD83D\xDE00", "\xEF\xBB\xBF\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.bytes, TextFile::Encode(c.text)) << TestPaths::Narrow(c.text);
        EXPECT_EQ(c.bytes.compare(0, 3, "\xEF\xBB\xBF") != 0, TextFile::FitsEightBit(c.text));
    }
}

TEST(TextFileTest, WriteReplacesTheFileAndReadsBackWhole) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    const std::wstring path = dir + L"note.txt";
    ASSERT_TRUE(TextFile::Write(path, L"a much longer first version"));
    const std::wstring text = L"\x041F\x0440\x0438\x0432\x0435\x0442\r\nline 2";
    ASSERT_TRUE(TextFile::Write(path, text));
    std::string bytes;
    ASSERT_TRUE(FileIo::ReadFile(path, bytes));
    EXPECT_EQ(text, TextCodec::Decode(bytes));
    // A folder that does not exist cannot take the file, and says so.
    EXPECT_FALSE(TextFile::Write(dir + L"missing/note.txt", L"x"));
}

}  // namespace
