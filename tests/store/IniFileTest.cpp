#include "store/IniFile.h"

#include <gtest/gtest.h>

#include "TestPaths.h"
#include "store/FileIo.h"
#include "store/TextCodec.h"

namespace {

TEST(IniParse, LookupsFollowTheProfileRules) {
    const IniDocument doc(
        L"orphan=0\n"
        L"[Sec]\r\n  key1  =  value one  \r\nKEY2=v2\r\n\tk\t=\tt\t\r\n[ Spaced ]\nk=sp\n"
        L"[Kyr\u0416]\nn=\u00e9\n"
        L"[V]\nq1=\"  hello  \"\nq2='single'\nq3=\"abc\nq4=\"a\"b\"\nq5=\"\nq6='x\"\nq7=\"\"\n"
        L"q8= \" x \" \n"
        L"[D]\nk=first\nk=second\n[d]\nk=third\nonlyhere=1\n"
        L"[First]\na=1\n[Unclosed\nu=2\n  [Indented]\ni=3\n[Trail] ; note\nt=4\n[Br]ack]\nb=5\n"
        L"[S]\nnoequals\nempty=\nblank=   \nx=a=b\n=nameless\n;c=1\n"
        L"[E]\r\na=crlf\nb=lf\rc=cr\r\nlast=nonl");
    // In order: names and values are trimmed and names compare without case (beyond
    // ASCII too); only a matching pair of quotes around the whole value is removed; the
    // first key and the first section of a name count; headers run to the last bracket
    // and unclosed ones are ignored; lines without "=", empty values, and no comment
    // syntax of its own; every line-break style, and no break after the last line.
    const struct {
        const wchar_t *section, *key, *expected;  // expected nullptr: not found
    } cases[] = {
        // clang-format off
        {L"", L"orphan", L"0"}, {L"SEC", L"Key1", L"value one"}, {L"sec", L"key2", L"v2"},
        {L"Sec", L"k", L"t"}, {L"  Spaced ", L" k ", L"sp"}, {L"kyr\u0436", L"N", L"\u00e9"},
        {L"V", L"q1", L"  hello  "}, {L"V", L"q2", L"single"}, {L"V", L"q3", L"\"abc"},
        {L"V", L"q4", L"a\"b"}, {L"V", L"q5", L"\""}, {L"V", L"q6", L"'x\""}, {L"V", L"q7", L""},
        {L"V", L"q8", L" x "}, {L"D", L"k", L"first"}, {L"D", L"onlyhere", nullptr},
        {L"First", L"u", L"2"}, {L"Unclosed", L"u", nullptr}, {L"Indented", L"i", L"3"},
        {L"Trail", L"t", L"4"}, {L"Br]ack", L"b", L"5"}, {L"Br", L"b", nullptr},
        {L"S", L"noequals", nullptr}, {L"S", L"empty", L""}, {L"S", L"blank", L""},
        {L"S", L"x", L"a=b"}, {L"S", L"", L"nameless"}, {L"S", L";c", L"1"},
        {L"Nowhere", L"k", nullptr}, {L"E", L"a", L"crlf"}, {L"E", L"b", L"lf"},
        {L"E", L"c", L"cr"}, {L"E", L"last", L"nonl"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(TestPaths::Narrow(std::wstring(c.section) + L"/" + c.key));
        std::wstring value = L"unchanged";
        EXPECT_EQ(c.expected != nullptr, doc.Find(c.section, c.key, value));
        EXPECT_EQ(value, c.expected ? c.expected : L"unchanged");
    }
}

TEST(IniParse, NamesAreListedInFileOrder) {
    IniDocument doc(L"top=1\n[A]\nx=1\n;c=2\nnoeq\n[B]\n[a]\ny=3\n");
    EXPECT_EQ(doc.SectionNames(), (std::vector<std::wstring>{L"A", L"B", L"a"}));
    EXPECT_EQ(doc.KeyNames(L"a"), (std::vector<std::wstring>{L"x", L";c"}));
    EXPECT_EQ(doc.KeyNames(L""), (std::vector<std::wstring>{L"top"}));
    EXPECT_TRUE(doc.HasSection(L"b"));
    EXPECT_FALSE(doc.HasSection(L"C"));
}

TEST(IniParseInt, ConvertsAsThePlatformDoes) {
    const struct {
        const wchar_t* text;
        uint32_t expected;
    } cases[] = {
        // clang-format off
        {L"-12abc", static_cast<uint32_t>(-12)}, {L" \t+5", 5}, {L"0x1F", 31}, {L"0o17", 15},
        {L"-0x10", static_cast<uint32_t>(-16)}, {L"0b101", 5}, {L"0b2", 0}, {L"012", 12},
        {L"0x", 0}, {L"", 0}, {L"- 5", 0}, {L"+-5", 0}, {L"12 34", 12}, {L"\u00b2", 0},
        {L"4294967297", 1}, {L"-2147483649", 2147483647u}, {L"0x7fffffffffff", 0xFFFFFFFFu},
        {L"0X10", 0},  // only a lower-case prefix selects the base
        {L"99999999999999999999999999999999999", 2684354559u},  // 29 characters are looked at
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IniParseInt(c.text), c.expected) << TestPaths::Narrow(c.text);
    }
}

class IniFileTest : public ::testing::Test {
protected:
    std::wstring Path(const wchar_t* name) { return dir_ + name; }
    void Put(const wchar_t* name, const std::string& bytes) {
        ASSERT_TRUE(FileIo::WriteFileAtomically(Path(name), bytes));
    }
    std::string Get(const wchar_t* name) {
        std::string bytes;
        EXPECT_TRUE(FileIo::ReadFile(Path(name), bytes));
        return bytes;
    }
    std::wstring Read(const wchar_t* name, const wchar_t* section, const wchar_t* key) {
        std::wstring value = L"(none)";
        IniReadString(Path(name), section, key, value);
        return value;
    }

    std::wstring dir_ = TestPaths::MakeScratchDir();
};

TEST_F(IniFileTest, MissingFilesAndKeysGiveTheDefaultButEmptyValuesDoNot) {
    EXPECT_EQ(Read(L"none.ini", L"S", L"k"), L"(none)");
    EXPECT_EQ(IniReadInt(Path(L"none.ini"), L"S", L"k", -3), static_cast<uint32_t>(-3));
    Put(L"n.ini", "[S]\r\nn=-12abc\r\nempty=\r\nq=\"5\"\r\n");
    EXPECT_EQ(IniReadInt(Path(L"n.ini"), L"S", L"n", 9), static_cast<uint32_t>(-12));
    EXPECT_EQ(IniReadInt(Path(L"n.ini"), L"S", L"empty", 9), 0u);
    EXPECT_EQ(IniReadInt(Path(L"n.ini"), L"S", L"q", 9), 5u);
    EXPECT_EQ(IniReadInt(Path(L"n.ini"), L"S", L"gone", 9), 9u);
}

TEST_F(IniFileTest, ReadsEveryEncoding) {
    const std::wstring text = L"[S]\r\nk=\u00e9\u4e2d\r\n";
    Put(L"u16.ini", "\xFF\xFE" + TextCodec::ToUtf16Le(text));
    Put(L"u8bom.ini", "\xEF\xBB\xBF" + TextCodec::ToUtf8(text));
    Put(L"u8.ini", TextCodec::ToUtf8(text));
    std::string be = "\xFE\xFF" + TextCodec::ToUtf16Le(text);
    for (size_t i = 2; i + 1 < be.size(); i += 2) std::swap(be[i], be[i + 1]);
    Put(L"u16be.ini", be);
    for (const wchar_t* name : {L"u16.ini", L"u8bom.ini", L"u8.ini", L"u16be.ini"}) {
        EXPECT_EQ(Read(name, L"S", L"k"), L"\u00e9\u4e2d") << TestPaths::Narrow(name);
    }
    Put(L"ansi.ini", "[S]\r\nk=caf\xE9\r\n");
    EXPECT_EQ(Read(L"ansi.ini", L"S", L"k"), L"caf\u00e9");
}

TEST_F(IniFileTest, WritesKeepEveryOtherLine) {
    Put(L"keep.ini",
        "; top comment\n[A]\nx=1\n  Indented = old \n\n; about B\n[B]\ny=2\n[a]\nx=dup");
    ASSERT_TRUE(IniWriteString(Path(L"keep.ini"), L"a", L"INDENTED", L"new"));
    ASSERT_TRUE(IniWriteString(Path(L"keep.ini"), L"A", L"z", L"3"));
    ASSERT_TRUE(IniWriteString(Path(L"keep.ini"), L"B", L"w", L"4"));
    ASSERT_TRUE(IniWriteString(Path(L"keep.ini"), L"C", L"c", L"5"));
    // ASCII text stays ANSI; the file's LF endings and missing final break are kept,
    // the key keeps its spelling and indentation, and new keys follow the last key
    // of the first section of that name.
    EXPECT_EQ(Get(L"keep.ini"),
              "; top comment\n[A]\nx=1\n  Indented=new\nz=3\n\n; about B\n[B]\ny=2\nw=4\n"
              "[a]\nx=dup\n[C]\nc=5");

    // Keys before the first header form the unnamed section.
    Put(L"top.ini", "; c\r\n[S]\r\nk=1\r\n");
    ASSERT_TRUE(IniWriteString(Path(L"top.ini"), L"", L"top", L"0"));
    EXPECT_EQ(Get(L"top.ini"), "top=0\r\n; c\r\n[S]\r\nk=1\r\n");
    EXPECT_EQ(Read(L"top.ini", L"S", L"top"), L"(none)");
}

TEST_F(IniFileTest, WritesKeepTheEncodingOrMoveToUtf16) {
    ASSERT_TRUE(IniWriteString(Path(L"new.ini"), L"Settings", L"NoteAlpha", L"128"));
    EXPECT_EQ(Get(L"new.ini"),
              "\xFF\xFE" + TextCodec::ToUtf16Le(L"[Settings]\r\nNoteAlpha=128\r\n"));

    Put(L"ansi.ini", "[S]\r\nk=1\r\n");
    ASSERT_TRUE(IniWriteString(Path(L"ansi.ini"), L"S", L"k", L"caf\u00e9"));
    EXPECT_EQ(Get(L"ansi.ini"), "[S]\r\nk=caf\xE9\r\n");
    ASSERT_TRUE(IniWriteString(Path(L"ansi.ini"), L"S", L"k", L"\u4e2d"));
    EXPECT_EQ(Get(L"ansi.ini"), "\xFF\xFE" + TextCodec::ToUtf16Le(L"[S]\r\nk=\u4e2d\r\n"));

    Put(L"u8.ini", "\xEF\xBB\xBF[S]\nk=1\n");
    ASSERT_TRUE(IniWriteString(Path(L"u8.ini"), L"S", L"k", L"\u4e2d"));
    EXPECT_EQ(Get(L"u8.ini"), "\xEF\xBB\xBF[S]\nk=\xE4\xB8\xAD\n");

    // "Ã©" is C3 A9 in Windows-1252, which is also the UTF-8 form of "é": kept as
    // ANSI it would read back as one character.
    Put(L"trap.ini", "[S]\r\nk=1\r\n");
    ASSERT_TRUE(IniWriteString(Path(L"trap.ini"), L"S", L"k", L"\u00c3\u00a9"));
    EXPECT_EQ(Read(L"trap.ini", L"S", L"k"), L"\u00c3\u00a9");
}

TEST_F(IniFileTest, ValuesReadBackAsWritten) {
    for (const wchar_t* v : {L"", L"  padded  ", L"\"quoted\"", L"'single'", L"\"", L"\"\"", L"a=b",
                             L";not", L"\tx", L"[x]", L"\u00e9"}) {
        ASSERT_TRUE(IniWriteString(Path(L"rt.ini"), L"S", L"k", v));
        EXPECT_EQ(Read(L"rt.ini", L"S", L"k"), v) << TestPaths::Narrow(v);
    }
}

TEST_F(IniFileTest, RefusesWritesThatWouldForgeOtherLinesOrHaveNowhereToGo) {
    Put(L"safe.ini", "[S]\r\nk=1\r\n");
    EXPECT_FALSE(IniWriteString(Path(L"safe.ini"), L"S", L"k", L"x\r\n[Other]\r\nk=2"));
    EXPECT_FALSE(IniWriteString(Path(L"safe.ini"), L"S", L"a=b", L"1"));
    EXPECT_FALSE(IniWriteString(Path(L"safe.ini"), L"S", L"[T", L"]"));
    EXPECT_FALSE(IniWriteString(Path(L"safe.ini"), L"S\n", L"k", L"1"));
    EXPECT_FALSE(IniWriteString(Path(L"safe.ini"), L"S", L"k", std::wstring(L"a\0b", 3)));
    EXPECT_EQ(Get(L"safe.ini"), "[S]\r\nk=1\r\n");

    EXPECT_FALSE(IniWriteString(Path(L"no-such-folder/x.ini"), L"S", L"k", L"1"));
    EXPECT_FALSE(FileIo::FileExists(Path(L"no-such-folder/x.ini")));
}

}  // namespace
