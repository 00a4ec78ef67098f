#include "store/IniFile.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/TestPaths.h"
#include "store/FileIo.h"
#include "store/TextCodec.h"

namespace {

// The parse rules are checked against the system's profile functions over the
// corpus; these are what the corpus cannot hold.
TEST(IniParse, NamesFoldCaseBeyondAsciiAndAreListedInFileOrder) {
    IniDocument doc(L"top=1\n[A]\nx=1\n;c=2\nnoeq\n[B]\n[a]\ny=3\n[Kyr\u0416]\nN\u00c9=\u00e9\n");
    std::wstring value;
    EXPECT_TRUE(doc.Find(L"kyr\u0436", L"n\u00e9", value));
    EXPECT_EQ(value, L"\u00e9");
    EXPECT_EQ(doc.SectionNames(), (std::vector<std::wstring>{L"A", L"B", L"a", L"Kyr\u0416"}));
    EXPECT_EQ(doc.KeyNames(L"a"), (std::vector<std::wstring>{L"x", L";c"}));

    // "[]" heads a section of no name, which ends the one before it.
    IniDocument unnamed(L"[A]\nx=1\n[]\ny=2\n");
    EXPECT_FALSE(unnamed.Find(L"A", L"y", value));
    EXPECT_EQ(unnamed.SectionNames(), (std::vector<std::wstring>{L"A", L""}));
}

TEST(IniParse, AKeyIsFoundOnlyInItsOwnSectionAndMatchingQuotesAreDropped) {
    IniDocument doc(L"[A]\nq=\"\"\ns= 'b' \nm=\"c'\nz=1\n[B]\ny=2\n");
    const struct {
        const wchar_t *section, *key;
        bool found;
        const wchar_t* value;
    } cases[] = {
        {L"A", L"q", true, L""},  {L"A", L"s", true, L"b"},       {L"A", L"m", true, L"\"c'"},
        {L"a", L"Z", true, L"1"}, {L"A", L"y", false, L"(none)"}, {L"B", L"z", false, L"(none)"},
    };
    for (const auto& c : cases) {
        std::wstring value = L"(none)";
        EXPECT_EQ(c.found, doc.Find(c.section, c.key, value)) << TestPaths::Narrow(c.key);
        EXPECT_EQ(c.value, value) << TestPaths::Narrow(c.key);
    }
}

// The index answers as a scan from the top would: the first section of a name,
// the first line of a key in it, and after every edit that moves lines.
TEST(IniParse, IndexFindsFirstOccurrencesAndFollowsEdits) {
    IniDocument doc(L"u=0\n[ ]\nv=9\n[A]\nk=1\nK=2\n[B]\nk=3\n[a]\nk=4\nj=5\n");
    std::wstring value;
    EXPECT_TRUE(doc.Find(L"", L"u", value) && value == L"0");
    EXPECT_FALSE(doc.Find(L"", L"v", value)) << "a nameless header ends the unnamed section";
    EXPECT_TRUE(doc.Find(L" a ", L"k", value) && value == L"1");
    EXPECT_FALSE(doc.Find(L"A", L"j", value)) << "only in a later section of the same name";

    doc.Set(L"", L"w", L"new top");  // a line before every section
    doc.Set(L"A", L"m", L"6");       // a line inside the first section
    doc.Set(L"C", L"n", L"7");       // a new section at the end
    doc.Set(L"b", L"K", L"8");       // replaced in place
    EXPECT_EQ(doc.Text(),
              L"u=0\nw=new top\n[ ]\nv=9\n[A]\nk=1\nK=2\nm=6\n[B]\nk=8\n[a]\nk=4\nj=5\n"
              L"[C]\nn=7\n");
    for (const auto& [section, key, expected] :
         {std::tuple<const wchar_t*, const wchar_t*, const wchar_t*>{L"", L"w", L"new top"},
          {L"A", L"M", L"6"},
          {L"B", L"k", L"8"},
          {L"c", L"n", L"7"},
          {L"A", L"k", L"1"}}) {
        EXPECT_TRUE(doc.Find(section, key, value)) << TestPaths::Narrow(key);
        EXPECT_EQ(value, expected);
    }
    EXPECT_TRUE(doc.HasSection(L"c"));
    EXPECT_FALSE(doc.HasSection(L"D"));
    EXPECT_EQ(doc.KeyNames(L"a"), (std::vector<std::wstring>{L"k", L"K", L"m"}));

    // A language file of 100,000 keys and a skin of 1,000 themes (the last
    // repeated, which the reader never sees).
    std::wstring big = L"[Text]\n";
    for (int i = 0; i < 100000; ++i)
        big += L"Key" + std::to_wstring(i) + L"=" + std::to_wstring(i * 7) + L"\n";
    for (int t = 0; t <= 1000; ++t)
        big += L"[Theme" + std::to_wstring(t % 1000) + L"]\nName=" + std::to_wstring(t) + L"\n";
    const IniDocument large(big);
    for (int i = 0; i < 100000; i += 997) {
        ASSERT_TRUE(large.Find(L"text", L"key" + std::to_wstring(i), value)) << i;
        EXPECT_EQ(value, std::to_wstring(i * 7));
    }
    EXPECT_TRUE(large.Find(L"Theme0", L"Name", value) && value == L"0");
    EXPECT_TRUE(large.Find(L"Theme999", L"Name", value) && value == L"999");
    EXPECT_FALSE(large.Find(L"Text", L"Key100000", value));
}

TEST(IniParse, NamesEqualIgnoringLetterCaseOnly) {
    const struct {
        const wchar_t *a, *b;
        bool equal;
    } cases[] = {
        {L"az", L"AZ", true},
        {L"@[`{", L"@[`{", true},
        {L"@", L"`", false},
        {L"[", L"{", false},
        {L" Key ", L"key", true},
        {L"\xFF", L"\x178", true},
        {L"\xF7", L"\xD7", false},
        {L"\x3C9", L"\x3A9", true},
        {L"\x44F", L"\x42F", true},
        {L"\x45F", L"\x40F", true},
        {L"ab", L"abc", false},
        // Both ends of every folded range, and the code points just outside them.
        {L"\xE0\xFE", L"\xC0\xDE", true},
        {L"\xDF", L"\xBF", false},
        {L"\x101\x17A\x17E", L"\x100\x179\x17D", true},
        {L"\x13A\x148", L"\x139\x147", true},
        {L"\x131", L"\x130", false},
        {L"\x149", L"\x148", false},
        {L"\x180", L"\x17F", false},
        {L"\x3B1", L"\x391", true},
        {L"\x3B0", L"\x390", false},
        {L"\x3C2", L"\x3A2", false},
        {L"\x3CA", L"\x3AA", false},
        {L"\x430\x450", L"\x410\x400", true},
        {L"\x42F", L"\x40F", false},
        {L"\x460", L"\x410", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.equal, IniNamesEqual(c.a, c.b)) << TestPaths::Narrow(c.a);
        EXPECT_EQ(c.equal, IniNamesEqual(c.b, c.a)) << TestPaths::Narrow(c.a);
    }
}

TEST(IniParse, NumbersAsTheProfileFunctionsReadThem) {
    const struct {
        const wchar_t* text;
        uint32_t value;
    } cases[] = {
        {L"42", 42},
        {L"  +7", 7},
        {L"-5", 0xFFFFFFFBu},
        {L"12a", 12},
        {L"0x1F", 31},
        {L"0x1g", 1},
        {L"0X10", 0},
        {L"0b102", 2},
        {L"0o78", 7},
        {L"-0x10", 0xFFFFFFF0u},
        {L"4294967297", 1},
        {L"", 0},
        {L"yes", 0},
        {L"4294967295", 0xFFFFFFFFu},
        {L"-2147483648", 0x80000000u},
        {L"0xaF", 175},
        {L"0xAf9", 2809},
        {L"0o17", 15},
        {L"0b1", 1},
        {L"0x", 0},
        {L"07", 7},
        {L"\t\n 9", 9},
        // The profile reader converts only the first 29 characters.
        {L"                            12", 1},
        {L"                           12", 12},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.value, IniParseInt(c.text)) << TestPaths::Narrow(c.text);
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

TEST_F(IniFileTest, WritesKeepEveryOtherLine) {
    Put(L"keep.ini",
        "; top comment\n[A]\nx=1\n  Indented = old \n\n; about B\n[B]\ny=2\n[a]\nx=dup");
    ASSERT_TRUE(IniWriteString(Path(L"keep.ini"), L"a", L"INDENTED", L"new"));
    ASSERT_TRUE(IniWriteString(Path(L"keep.ini"), L"A", L"z", L"3"));
    ASSERT_TRUE(IniWriteString(Path(L"keep.ini"), L"B", L"w", L"4"));
    ASSERT_TRUE(IniWriteString(Path(L"keep.ini"), L"C", L"c", L"5"));
    // ASCII stays ANSI; LF endings, the missing final break, the key's spelling and
    // indentation are kept; new keys follow the first section of that name.
    EXPECT_EQ(Get(L"keep.ini"),
              "; top comment\n[A]\nx=1\n  Indented=new\nz=3\n\n; about B\n[B]\ny=2\nw=4\n"
              "[a]\nx=dup\n[C]\nc=5");

    // A section with no key yet: the key goes right below its header.
    Put(L"empty.ini", "[A]\nx=1\n[E]\n; nothing yet\n\n[F]\n");
    ASSERT_TRUE(IniWriteString(Path(L"empty.ini"), L"E", L"e", L"6"));
    EXPECT_EQ(Get(L"empty.ini"), "[A]\nx=1\n[E]\ne=6\n; nothing yet\n\n[F]\n");

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

    // UTF-8 files stay UTF-8, with their mark or without (files with one are in the corpus).
    Put(L"u8.ini", "\xEF\xBB\xBF[S]\nk=1\n");
    ASSERT_TRUE(IniWriteString(Path(L"u8.ini"), L"S", L"k", L"\u4e2d"));
    EXPECT_EQ(Get(L"u8.ini"), "\xEF\xBB\xBF[S]\nk=\xE4\xB8\xAD\n");
    Put(L"bare.ini", "[S]\nk=\xC3\xA9\n");
    ASSERT_TRUE(IniWriteString(Path(L"bare.ini"), L"S", L"x", L"\u4e2d"));
    EXPECT_EQ(Get(L"bare.ini"), "[S]\nk=\xC3\xA9\nx=\xE4\xB8\xAD\n");

    // "Ã©" is C3 A9 in Windows-1252, which is also the UTF-8 form of "é": kept as
    // ANSI it would read back as one character.
    Put(L"trap.ini", "[S]\r\nk=1\r\n");
    ASSERT_TRUE(IniWriteString(Path(L"trap.ini"), L"S", L"k", L"\u00c3\u00a9"));
    EXPECT_EQ(Read(L"trap.ini", L"S", L"k"), L"\u00c3\u00a9");
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
