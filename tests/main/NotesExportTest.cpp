#include "main/NotesExport.h"

#include <gtest/gtest.h>

#include "support/TestPaths.h"
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

// What reaches the disk: the export of a title beyond 8 bits is UTF-8 behind
// a byte-order mark, the separators included.
TEST(NotesExport, FileBytes) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    const std::wstring text = ExportText({{L"T\u0101", L"x"}});
    ASSERT_TRUE(TextFile::Write(dir + L"out.txt", text));
    std::string read;
    ASSERT_TRUE(FileIo::ReadFile(dir + L"out.txt", read));
    EXPECT_EQ(read, "\xEF\xBB\xBFT\xC4\x81\r\nx" + kSeparator);
    EXPECT_FALSE(TextFile::Write(dir + L"no such folder/out.txt", text));
}

}  // namespace
