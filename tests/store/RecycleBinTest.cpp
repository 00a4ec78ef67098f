#include "store/RecycleBin.h"

#include <gtest/gtest.h>

#include "support/TestPaths.h"
#include "store/FileIo.h"

namespace {

std::string Read(const std::wstring& path) {
    std::string bytes = "unread";
    FileIo::ReadFile(path, bytes);
    return bytes;
}

// Each block is the note's text as UTF-16LE followed by the separator line.
std::string Block(const std::u16string& text) {
    std::string out;
    for (char16_t c : text + u"\r\n" + std::u16string(75, u'=') + u"\r\n") {
        out += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    }
    return out;
}

TEST(RecycleBin, OnlyCodeUnitsAboveSpaceAreVisible) {
    for (auto [text, visible] : {std::pair<std::wstring, size_t>{L" \t\r\n ", 0},
                                 {std::wstring(L"\x01\x1F \0", 4), 0},
                                 {L"\r\nx", 1},
                                 {L"\x00A0\xD83D\xDE00", 3}}) {  // each half of a pair counts
        EXPECT_EQ(visible, RecycleBin::CountVisibleChars(text)) << TestPaths::Narrow(text);
        EXPECT_EQ(visible > 0, RecycleBin::HasVisibleText(text));
    }
}

TEST(RecycleBin, AppendsUtf16BlocksOldestFirstAndEmptyingKeepsTheFile) {
    const std::wstring bin = TestPaths::MakeScratchDir() + L"Recycle Bin.txt";
    ASSERT_TRUE(RecycleBin::EnsureRecycleBinExists(bin));
    EXPECT_EQ("", Read(bin));
    ASSERT_TRUE(RecycleBin::AppendToRecycleBin(bin, L"abc"));
    ASSERT_TRUE(RecycleBin::AppendToRecycleBin(bin, L"line 1\r\n\xD83D\xDE00"));
    ASSERT_TRUE(RecycleBin::EnsureRecycleBinExists(bin));  // an existing bin is left as it is
    EXPECT_EQ(Block(u"abc") + Block(u"line 1\r\n\xD83D\xDE00"), Read(bin));
    ASSERT_TRUE(RecycleBin::EmptyRecycleBin(bin));
    EXPECT_EQ("", Read(bin));

    const std::wstring missing = TestPaths::MakeScratchDir() + L"no such folder/bin.txt";
    EXPECT_FALSE(RecycleBin::AppendToRecycleBin(missing, L"text"));
    EXPECT_FALSE(RecycleBin::EnsureRecycleBinExists(missing));
    EXPECT_FALSE(RecycleBin::EmptyRecycleBin(missing));
    EXPECT_FALSE(FileIo::FileExists(missing));
}

TEST(RecycleBin, FileNameFromTheLanguageStaysInTheUserFolderAndIsText) {
    const std::wstring longStem(RecycleBin::kMaxRecycleBinStem, L'a');
    const struct {
        std::wstring text;
        std::wstring name;
    } cases[] = {
        {L"Recycle Bin.txt", L"Recycle Bin.txt"},
        {L"Papierkorb.TXT", L"Papierkorb.txt"},
        {L"..\\..\\..\\escaped.txt", L"escaped.txt"},
        {L"C:\\Windows\\win.ini", L"win.ini.txt"},
        {L"C:bin.txt", L"bin.txt"},
        {L"/etc/passwd", L"passwd.txt"},
        {L"a<b>c:d", L"d.txt"},
        {L"what?*|\"now\".txt", L"what____now_.txt"},
        {L"tab\there\n.txt", L"tab_here_.txt"},
        // Whatever the language says, the shell must see a text file.
        {L"Recycle Bin.cmd", L"Recycle Bin.cmd.txt"},
        {L"bin.exe. . ", L"bin.exe.txt"},
        {L"bin.txt.lnk", L"bin.txt.lnk.txt"},
        {L"bin .txt", L"bin.txt"},
        {L"trailing. . ", L"trailing.txt"},
        // Names Windows opens as devices, with any extension and any case.
        {L"NUL", L"Recycle Bin.txt"},
        {L"con.txt", L"Recycle Bin.txt"},
        {L"Aux .log", L"Recycle Bin.txt"},
        {L"prn.", L"Recycle Bin.txt"},
        {L"COM1", L"Recycle Bin.txt"},
        {L"lpt9.cmd", L"Recycle Bin.txt"},
        {L"COM\x00B9.txt", L"Recycle Bin.txt"},
        {L"CONOUT$", L"Recycle Bin.txt"},
        {L"C:\\dir\\nul.txt", L"Recycle Bin.txt"},
        // Names that only begin like devices are the language's to choose.
        {L"NULL.txt", L"NULL.txt"},
        {L"COM10", L"COM10.txt"},
        {L"console", L"console.txt"},
        {L"..", L"Recycle Bin.txt"},
        {L".txt", L"Recycle Bin.txt"},
        {L"bin\\", L"Recycle Bin.txt"},
        {L"", L"Recycle Bin.txt"},
        {L"(((RecycleBinFile)))", L"(((RecycleBinFile))).txt"},
        // A long name is cut, never into half a character.
        {longStem + L"bcd.cmd", longStem + L".txt"},
        {longStem.substr(1) + L"\xD83D\xDE00.txt", longStem.substr(1) + L".txt"},
        {longStem.substr(2) + L"\xD83D\xDE00", longStem.substr(2) + L"\xD83D\xDE00.txt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RecycleBin::RecycleBinFileName(c.text), c.name) << TestPaths::Narrow(c.text);
    }
}

}  // namespace
