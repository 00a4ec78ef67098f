#include "main/NotesExport.h"

#include <gtest/gtest.h>

#include "TestPaths.h"
#include "store/FileIo.h"
#include "store/TextFile.h"

namespace {

const std::string kSeparator = "\r\n" + std::string(75, '=') + "\r\n";

TEST(NotesExport, EachNoteWithItsTitleTextAndSeparator) {
    EXPECT_EQ(ExportText({}), L"");
    const std::wstring text = ExportText(
        {{L"", L"no title"}, {L"Shopping", L"milk\r\nbread"}, {L"", L"lone\nline feed"}});
    EXPECT_EQ(TestPaths::Narrow(text), "no title" + kSeparator + "Shopping\r\nmilk\r\nbread" +
                                           kSeparator + "lone\nline feed" + kSeparator);
}

// What reaches the disk: one byte per character while every character fits
// one, UTF-8 behind a byte-order mark as soon as one does not.
TEST(NotesExport, FileBytes) {
    const struct {
        std::wstring text;
        std::string bytes;
    } cases[] = {
        {L"", ""},
        {L"Gr\u00FC\u00DFe\r\n\u00FF",
         "Gr\xFC\xDF"
         "e\r\n\xFF"},
        {L"\u20AC 5", "\xEF\xBB\xBF\xE2\x82\xAC 5"},
        {L"\u00E4\u4E2D", "\xEF\xBB\xBF\xC3\xA4\xE4\xB8\xAD"},
        {std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}, "\xEF\xBB\xBF\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextFile::Encode(c.text), c.bytes) << TestPaths::Narrow(c.text);
    }

    const std::wstring dir = TestPaths::MakeScratchDir();
    const std::wstring text = ExportText({{L"T\u0101", L"x"}});
    ASSERT_TRUE(TextFile::Write(dir + L"out.txt", text));
    std::string read;
    ASSERT_TRUE(FileIo::ReadFile(dir + L"out.txt", read));
    EXPECT_EQ(read, "\xEF\xBB\xBFT\xC4\x81\r\nx" + kSeparator);
    EXPECT_FALSE(TextFile::Write(dir + L"no such folder/out.txt", text));
}

}  // namespace
