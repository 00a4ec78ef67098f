#include <gtest/gtest.h>

#include <climits>

#include "NotesTestData.h"
#include "store/NotesFile.h"

namespace {

using NotesTestData::Bytes;
using NotesTestData::FullNote;
using NotesTestData::SampleFile;

NotesFileData Parse(const std::string& bytes, NotesFileState expected) {
    NotesFileData data;
    EXPECT_EQ(expected, ParseNotes(bytes, data));
    return data;
}

TEST(NotesFormat, EmptyFileIsNineBytesOrOneHundredAndOneWithDefaultFont) {
    NotesFileData data;
    EXPECT_EQ(Bytes().I32(4).U32(0).U8(0).str(), SerializeNotes(data));

    data.hasCustomDefaultFont = true;
    data.customDefaultFont = NotesTestData::Font(L"Ab", -12, 400);
    Bytes e;
    e.I32(4).U32(0).U8(1).I32(-12).I32(0).I32(0).I32(0).I32(400);
    e.U8(0).U8(0).U8(0).U8(1).U8(0).U8(0).U8(5).U8(0x22).Units(u"Ab");
    for (int i = 2; i < 32; ++i) e.U16(0);
    EXPECT_EQ(101u, e.str().size());
    EXPECT_EQ(e.str(), SerializeNotes(data));
}

TEST(NotesFormat, SmallNotesHaveTheirExactLayout) {
    NotesFileData data;
    NoteData plain;  // empty text and title, no font, no alarm
    plain.rect = RectData{-5, 10, 300, 0x01020304};
    plain.created = NotesTestData::Time(2026, 12, 6, 20, 41, 59, 999);
    data.notes.push_back(plain);
    NoteData full = FullNote(3);
    full.text = L"hi";
    full.title = L"\xD83D\xDE00";  // one astral character as a surrogate pair
    data.notes.push_back(full);

    Bytes e;
    e.I32(4).U32(2).U8(0);
    // plain: seconds and milliseconds of created are not stored
    e.I32(-5).I32(10).I32(300).I32(0x01020304).U32(0).U32(0);
    e.U8(0).U16(2026).U16(12).U16(6).U16(20).U16(41);
    e.U8(0).U8(0).U8(2).U8(0).U8(0).U8(0);
    // full
    e.I32(-997).I32(23).I32(203).I32(303);
    e.U32(2).Units(u"hi").U32(2).U16(0xD83D).U16(0xDE00);
    e.U8(1).U16(2026).U16(12).U16(6).U16(20).U16(41);
    e.U8(1).U8(1).Font(full.font).U8(3).U8(1).U8(1).U8(1);
    e.U16(2027).U16(1).U16(6).U16(2).U16(3).U16(4).U16(5).U16(6);
    // A bare record is 41 bytes; the second adds two strings, a font and an alarm time.
    EXPECT_EQ(9u + 41u + (41u + 4u + 4u + 92u + 16u), e.str().size());
    EXPECT_EQ(e.str(), SerializeNotes(data));
}

TEST(NotesFormat, EveryFieldAndOddTextSurvivesARoundTrip) {
    NotesFileData data = SampleFile(4);
    data.notes[1].hasCustomFont = false;
    data.notes[1].font = LogFontData();
    data.notes[2].hasAlarm = false;
    data.notes[2].alarmTime = SystemTimeData();
    data.notes[3].rect = RectData{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    const std::wstring texts[] = {
        L"",
        std::wstring(1, L'\0') + L"nul inside" + std::wstring(1, L'\0'),
        L"\xD83D\xDE00 pair, lone high \xD800 and lone low \xDC00 end \xD83D",
        L"\xFFFF\xFFFE\x0001\r\n\t",
        std::wstring(100000, L'x') + L"\x00E9",
    };
    for (const std::wstring& text : texts) {
        NoteData n;
        n.text = n.title = text;
        data.notes.push_back(n);
    }
    NotesFileData back = Parse(SerializeNotes(data), NotesFileState::Whole);
    EXPECT_TRUE(back.hasCustomDefaultFont);
    EXPECT_EQ(data.customDefaultFont, back.customDefaultFont);
    ASSERT_EQ(data.notes.size(), back.notes.size());
    for (size_t i = 0; i < data.notes.size(); ++i) EXPECT_EQ(data.notes[i], back.notes[i]) << i;
}

TEST(NotesFormat, NewerVersionsAndTrailingBytesAreReported) {
    const std::string body = SerializeNotes(SampleFile(1)).substr(4);
    for (int32_t version : {5, 1000, INT32_MAX}) {
        NotesFileData data = SampleFile(2);
        EXPECT_EQ(NotesFileState::NewerVersion, ParseNotes(Bytes().I32(version).str() + body, data))
            << version;
        EXPECT_TRUE(data.notes.empty());
        EXPECT_FALSE(data.hasCustomDefaultFont);
    }
    // The comparison is signed: negative and older versions use the same layout.
    for (int32_t version : {4, 3, 0, -1, INT32_MIN}) {
        EXPECT_EQ(1u, Parse(Bytes().I32(version).str() + body, NotesFileState::Whole).notes.size())
            << version;
    }
    // Bytes after the last note are reported, and the notes kept.
    NotesFileData back =
        Parse(SerializeNotes(SampleFile(2)) + "junk", NotesFileState::TrailingBytes);
    ASSERT_EQ(2u, back.notes.size());
    EXPECT_EQ(FullNote(1), back.notes[1]);
}

TEST(NotesFormat, OddBytesAreReadSafely) {
    // Flags other than one are true; a face name without its terminator and a
    // priority past "very low" are made safe to use.
    LogFontData unterminated;
    for (wchar_t& c : unterminated.lfFaceName) c = L'A';
    Bytes b;
    b.I32(4).U32(1).U8(0x80).Font(unterminated);
    b.I32(0).I32(0).I32(10).I32(10).U32(0).U32(0);
    b.U8(0x02).U16(2026).U16(1).U16(1).U16(0).U16(0);
    b.U8(0xFF).U8(0x10).Font(NotesTestData::Font(L"G", -9, 400));
    b.U8(200).U8(0x7F).U8(0x01).U8(0x40);
    b.U16(2026).U16(1).U16(4).U16(1).U16(0).U16(0).U16(0).U16(0);

    NotesFileData data = Parse(b.str(), NotesFileState::Whole);
    EXPECT_TRUE(data.hasCustomDefaultFont);
    EXPECT_EQ(L'A', data.customDefaultFont.lfFaceName[30]);
    EXPECT_EQ(0, data.customDefaultFont.lfFaceName[31]);
    ASSERT_EQ(1u, data.notes.size());
    const NoteData& n = data.notes[0];
    EXPECT_TRUE(n.alwaysOnTop && n.locked && n.hasCustomFont && n.hidden && n.alarmEnabled &&
                n.hasAlarm);
    EXPECT_EQ(L'G', n.font.lfFaceName[0]);
    EXPECT_EQ(kPriorityNormal, n.priority);
    EXPECT_EQ(2026, n.alarmTime.wYear);
    EXPECT_EQ('\x01', SerializeNotes(data)[8]);  // written back as a plain one
}

TEST(NotesFormat, CutAtEveryOffsetKeepsTheNotesReadWhole) {
    NotesFileData data = SampleFile(3);
    data.notes[1].hasCustomFont = false;
    data.notes[1].font = LogFontData();
    const std::string bytes = SerializeNotes(data);
    // Where each note ends, so that a prefix can be told how many it holds whole.
    std::vector<size_t> ends;
    NotesFileData partial = data;
    partial.notes.clear();
    for (const NoteData& n : data.notes) {
        partial.notes.push_back(n);
        ends.push_back(SerializeNotes(partial).size());
    }
    for (size_t cut = 1; cut < bytes.size(); ++cut) {
        NotesFileData back;
        ASSERT_EQ(NotesFileState::CutShort, ParseNotes(bytes.substr(0, cut), back)) << cut;
        size_t whole = 0;
        while (whole < ends.size() && ends[whole] <= cut) ++whole;
        ASSERT_GE(back.notes.size(), whole) << cut;
        ASSERT_LE(back.notes.size(), whole + 1) << cut;
        for (size_t i = 0; i < whole; ++i) ASSERT_EQ(data.notes[i], back.notes[i]) << cut;
    }
    EXPECT_TRUE(Parse(std::string(), NotesFileState::Whole).notes.empty());
}

TEST(NotesFormat, ACutTextKeepsWhatWasWrittenAndTheRestOfTheNoteItsDefaults) {
    NotesFileData data;
    data.notes.push_back(FullNote(1));
    data.notes[0].text = L"abcdef";
    // Header 9, rect 16, length 4, then three and a half units.
    NotesFileData back =
        Parse(SerializeNotes(data).substr(0, 9 + 16 + 4 + 7), NotesFileState::CutShort);
    ASSERT_EQ(1u, back.notes.size());
    NoteData expected;
    expected.rect = data.notes[0].rect;
    expected.text = L"abc";
    EXPECT_EQ(expected, back.notes[0]);
}

TEST(NotesFormat, HugeCountsAndLengthsNeitherAllocateNorLoop) {
    // A count of four billion over one real note gives that note; over nothing, none.
    const std::string rest = SerializeNotes(SampleFile(1)).substr(8);
    NotesFileData back =
        Parse(Bytes().I32(4).U32(0xFFFFFFFF).Raw(rest).str(), NotesFileState::CutShort);
    ASSERT_EQ(1u, back.notes.size());
    EXPECT_EQ(FullNote(0), back.notes[0]);
    back = Parse(Bytes().I32(4).U32(0xFFFFFFFF).U8(0).str(), NotesFileState::CutShort);
    EXPECT_TRUE(back.notes.empty());

    // Lengths of four billion units for a text, and of two billion for a title.
    Bytes rect;
    rect.I32(4).U32(1).U8(0).I32(0).I32(0).I32(1).I32(1);
    back = Parse(Bytes(rect).U32(0xFFFFFFFF).Units(u"xyz").str(), NotesFileState::CutShort);
    ASSERT_EQ(1u, back.notes.size());
    EXPECT_EQ(L"xyz", back.notes[0].text);
    back = Parse(Bytes(rect).U32(0).U32(0x80000000).str(), NotesFileState::CutShort);
    ASSERT_EQ(1u, back.notes.size());
    EXPECT_TRUE(back.notes[0].title.empty());
}

}  // namespace
