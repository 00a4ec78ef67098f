#include "app/TextFileImport.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextFileImportTest, RecognisesEncodingsAndEndsEveryLineInCrLf) {
    const struct {
        const char* what;
        std::string bytes;
        std::wstring text;
    } cases[] = {
        {"CR LF kept", "one\r\ntwo\r\n", L"one\r\ntwo\r\n"},
        {"LF only", "one\ntwo\n\nthree", L"one\r\ntwo\r\n\r\nthree"},
        {"CR only", "one\rtwo\r\r", L"one\r\ntwo\r\n\r\n"},
        {"mixed, LF CR is two breaks", "a\r\nb\nc\rd\n\re", L"a\r\nb\r\nc\r\nd\r\n\r\ne"},
        {"break first and last alone", "\nx\r", L"\r\nx\r\n"},
        {"UTF-8 without BOM",
         "Gr\xC3\xBC\xC3\x9F"
         "e\n",
         L"Gr\u00FC\u00DFe\r\n"},
        {"UTF-8 with BOM", "\xEF\xBB\xBFok \xE2\x82\xAC\r", L"ok \u20AC\r\n"},
        {"UTF-16LE with BOM", std::string("\xFF\xFEh\0\x69\x04\n\0x\0\r\0\n\0", 14),
         L"h\u0469\r\nx\r\n"},
        // Not UTF-8: each byte is the character of the same code, so nothing
        // is lost to a code page that lacks it.
        {"8-bit bytes", "c\xE9t\x80\x9D\n", L"c\u00E9t\u0080\u009D\r\n"},
        {"empty file", "", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(TextFileAsNoteText(c.bytes), c.text) << c.what;
}

TEST(TextFileImportTest, RefusesFilesTooLargeOrNotText) {
    const std::string limit(kMaxNoteFileBytes, 'a');
    std::string fewControls(300, 'a');
    fewControls[10] = '\x01', fewControls[200] = '\x02';  // below one in a hundred
    std::string manyControls(300, 'a');
    for (size_t i = 0; i < 300; i += 90) manyControls[i] = '\x03';  // four: above it
    const struct {
        const char* what;
        std::string bytes;
        uint64_t size;
        NoteFileVerdict verdict;
    } cases[] = {
        {"text at the limit", limit, limit.size(), NoteFileVerdict::Ok},
        {"one byte past the limit, judged by size", "abc", kMaxNoteFileBytes + 1,
         NoteFileVerdict::TooLarge},
        {"a 200 MB file", "abc", uint64_t{200} << 20, NoteFileVerdict::TooLarge},
        {"more bytes than the limit", limit + "a", limit.size() + 1, NoteFileVerdict::TooLarge},
        {"empty", "", 0, NoteFileVerdict::Ok},
        {"tabs, form feeds, escapes", "a\tb\fc\x1B[0m\r\n\x1A", 15, NoteFileVerdict::Ok},
        {"a NUL byte", std::string("ab\0cd", 5), 5, NoteFileVerdict::NotText},
        {"UTF-16 without byte-order mark", std::string("h\0i\0", 4), 4, NoteFileVerdict::NotText},
        {"UTF-16 with byte-order mark", std::string("\xFF\xFEh\0i\0", 6), 6, NoteFileVerdict::Ok},
        {"UTF-16 holding a NUL", std::string("\xFF\xFEh\0\0\0", 6), 6, NoteFileVerdict::NotText},
        {"two stray controls", fewControls, 300, NoteFileVerdict::Ok},
        {"controls one in a hundred", manyControls, 300, NoteFileVerdict::NotText},
        {"executable header", std::string("MZ\x90\0\3\0\0\0", 8), 8, NoteFileVerdict::NotText},
    };
    for (const auto& c : cases) EXPECT_EQ(c.verdict, CheckNoteFile(c.bytes, c.size)) << c.what;
}
