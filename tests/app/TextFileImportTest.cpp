#include "app/TextFileImport.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextFileImportTest, RecognisesEncodingsAndJoinsLineBreaks) {
    const struct {
        const char* what;
        std::string bytes;
        std::wstring text;
    } cases[] = {
        {"plain ASCII", "one\r\ntwo\r\n", L"one\ntwo\n"},
        {"lone CR and LF stay", "a\rb\nc", L"a\rb\nc"},
        {"UTF-8 without BOM",
         "Gr\xC3\xBC\xC3\x9F"
         "e\r\n",
         L"Gr\u00FC\u00DFe\n"},
        {"UTF-8 with BOM", "\xEF\xBB\xBFok \xE2\x82\xAC", L"ok \u20AC"},
        {"UTF-16LE with BOM", std::string("\xFF\xFEh\0\x69\x04\r\0\n\0x\0", 12), L"h\u0469\nx"},
        // Not UTF-8: each byte is the character of the same code, so nothing
        // is lost to a code page that lacks it.
        {"8-bit bytes", "c\xE9t\x80\x9D\r\n", L"c\u00E9t\u0080\u009D\n"},
        {"empty file", "", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(TextFileAsNoteText(c.bytes), c.text) << c.what;
}
