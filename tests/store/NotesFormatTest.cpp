#include <gtest/gtest.h>

#include <climits>

#include "NotesTestData.h"
#include "store/NotesFile.h"

namespace {

using NotesTestData::Bytes;
using NotesTestData::FullNote;
using NotesTestData::SampleFile;

Bytes& FontBytes(Bytes& b, const LogFontData& f) {
    b.I32(f.lfHeight).I32(f.lfWidth).I32(f.lfEscapement).I32(f.lfOrientation).I32(f.lfWeight);
    b.U8(f.lfItalic).U8(f.lfUnderline).U8(f.lfStrikeOut).U8(f.lfCharSet);
    b.U8(f.lfOutPrecision).U8(f.lfClipPrecision).U8(f.lfQuality).U8(f.lfPitchAndFamily);
    for (wchar_t c : f.lfFaceName) b.U16(static_cast<uint16_t>(c));
    return b;
}

NotesFileData RoundTrip(const NotesFileData& data) {
    NotesFileData back;
    EXPECT_EQ(NotesFileState::Whole, ParseNotes(SerializeNotes(data), back));
    return back;
}

// ---- exact bytes -------------------------------------------------------------

TEST(NotesFormat, EmptyFileIsNineBytesOrOneHundredAndOneWithDefaultFont) {
    NotesFileData data;
    EXPECT_EQ(Bytes().I32(4).U32(0).U8(0).str(), SerializeNotes(data));

    data.hasCustomDefaultFont = true;
    data.customDefaultFont = NotesTestData::Font(L"Ab", -12, 400);
    Bytes expected;
    expected.I32(4).U32(0).U8(1);
    expected.I32(-12).I32(0).I32(0).I32(0).I32(400);
    expected.U8(0).U8(0).U8(0).U8(1).U8(0).U8(0).U8(5).U8(0x22);
    expected.Units(u"Ab");
    for (int i = 2; i < 32; ++i) expected.U16(0);
    std::string bytes = SerializeNotes(data);
    EXPECT_EQ(101u, bytes.size());
    EXPECT_EQ(expected.str(), bytes);
}

TEST(NotesFormat, SmallNotesHaveTheirExactLayout) {
    NotesFileData data;
    NoteData plain;  // empty text and title, no font, no alarm
    plain.rect = NotesTestData::Rect(-5, 10, 300, 0x01020304);
    plain.created = NotesTestData::Time(2026, 12, 6, 20, 41, 59, 999);
    plain.created.wDayOfWeek = 0;
    data.notes.push_back(plain);

    NoteData full = FullNote(3);
    full.text = L"hi";
    full.title = L"\xD83D\xDE00";  // one astral character as a surrogate pair
    data.notes.push_back(full);

    Bytes e;
    e.I32(4).U32(2).U8(0);
    // plain: seconds and milliseconds of created are not stored
    e.I32(-5).I32(10).I32(300).I32(0x01020304);
    e.U32(0).U32(0);
    e.U8(0).U16(2026).U16(12).U16(6).U16(20).U16(41);
    e.U8(0).U8(0).U8(2).U8(0).U8(0).U8(0);
    // full
    e.I32(-997).I32(23).I32(203).I32(303);
    e.U32(2).Units(u"hi").U32(2).U16(0xD83D).U16(0xDE00);
    e.U8(1).U16(2026).U16(12).U16(6).U16(20).U16(41);
    e.U8(1).U8(1);
    FontBytes(e, full.font);
    e.U8(3).U8(1).U8(1).U8(1);
    e.U16(2027).U16(1).U16(6).U16(2).U16(3).U16(4).U16(5).U16(6);

    EXPECT_EQ(e.str(), SerializeNotes(data));
    // A bare record is 41 bytes; the second adds two strings, a font and an alarm time.
    EXPECT_EQ(9u + 41u + (41u + 4u + 4u + 92u + 16u), e.str().size());
}

// ---- round trips ---------------------------------------------------------------

TEST(NotesFormat, EveryFieldSurvivesARoundTrip) {
    NotesFileData data = SampleFile(5);
    data.notes[1].hasCustomFont = false;
    data.notes[1].font = LogFontData();
    data.notes[2].hasAlarm = false;
    data.notes[2].alarmTime = SystemTimeData();
    data.notes[3].priority = kPriorityVeryLow;
    data.notes[3].rect = NotesTestData::Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    NotesFileData back = RoundTrip(data);
    EXPECT_TRUE(back.hasCustomDefaultFont);
    EXPECT_EQ(data.customDefaultFont, back.customDefaultFont);
    ASSERT_EQ(data.notes.size(), back.notes.size());
    for (size_t i = 0; i < data.notes.size(); ++i) EXPECT_EQ(data.notes[i], back.notes[i]) << i;
}

TEST(NotesFormat, OddTextsSurviveARoundTrip) {
    const std::wstring texts[] = {
        L"",
        std::wstring(1, L'\0') + L"nul inside" + std::wstring(1, L'\0'),
        L"\xD83D\xDE00 pair, lone high \xD800 and lone low \xDC00 end \xD83D",
        std::wstring(L"\xFFFF\xFFFE\x0001\r\n\t"),
        std::wstring(100000, L'x') + L"\x00E9",
    };
    NotesFileData data;
    for (const std::wstring& text : texts) {
        NoteData n;
        n.text = text;
        n.title = text;
        data.notes.push_back(n);
    }
    NotesFileData back = RoundTrip(data);
    ASSERT_EQ(data.notes.size(), back.notes.size());
    for (size_t i = 0; i < data.notes.size(); ++i) {
        EXPECT_EQ(data.notes[i].text, back.notes[i].text) << i;
        EXPECT_EQ(data.notes[i].title, back.notes[i].title) << i;
    }
}

// ---- reading rules ---------------------------------------------------------------

TEST(NotesFormat, OnlyVersionsAboveFourAreIgnored) {
    std::string body = SerializeNotes(SampleFile(1)).substr(4);
    for (int32_t version : {5, 1000, INT32_MAX}) {
        NotesFileData data = SampleFile(2);
        EXPECT_EQ(NotesFileState::NewerVersion, ParseNotes(Bytes().I32(version).str() + body, data))
            << version;
        EXPECT_TRUE(data.notes.empty());
        EXPECT_FALSE(data.hasCustomDefaultFont);
    }
    // The comparison is signed: negative and older versions use the same layout.
    for (int32_t version : {4, 3, 0, -1, INT32_MIN}) {
        NotesFileData data;
        EXPECT_EQ(NotesFileState::Whole, ParseNotes(Bytes().I32(version).str() + body, data))
            << version;
        EXPECT_EQ(1u, data.notes.size());
    }
}

TEST(NotesFormat, AnyNonZeroFlagByteIsTrue) {
    Bytes b;
    b.I32(4).U32(1).U8(0x80);
    FontBytes(b, NotesTestData::Font(L"F", -9, 400));
    b.I32(0).I32(0).I32(10).I32(10).U32(0).U32(0);
    b.U8(0x02).U16(2026).U16(1).U16(1).U16(0).U16(0);
    b.U8(0xFF).U8(0x10);
    FontBytes(b, NotesTestData::Font(L"G", -9, 400));
    b.U8(1).U8(0x7F).U8(0x01).U8(0x40);
    b.U16(2026).U16(1).U16(4).U16(1).U16(0).U16(0).U16(0).U16(0);

    NotesFileData data;
    ASSERT_EQ(NotesFileState::Whole, ParseNotes(b.str(), data));
    EXPECT_TRUE(data.hasCustomDefaultFont);
    ASSERT_EQ(1u, data.notes.size());
    const NoteData& n = data.notes[0];
    EXPECT_TRUE(n.alwaysOnTop);
    EXPECT_TRUE(n.locked);
    EXPECT_TRUE(n.hasCustomFont);
    EXPECT_EQ(L'G', n.font.lfFaceName[0]);
    EXPECT_TRUE(n.hidden);
    EXPECT_TRUE(n.alarmEnabled);
    EXPECT_TRUE(n.hasAlarm);
    EXPECT_EQ(2026, n.alarmTime.wYear);
    // Written back, the flags are plain ones.
    EXPECT_EQ('\x01', SerializeNotes(data)[8]);
}

TEST(NotesFormat, DamagedFieldsAreMadeSafeToUse) {
    NotesFileData data = SampleFile(1);
    std::string bytes = SerializeNotes(data);
    // Face name without a terminator, and a priority past "very low".
    Bytes b;
    b.I32(4).U32(1).U8(1).Raw(bytes.substr(9, 28));
    for (int i = 0; i < 32; ++i) b.U16('A');
    std::string note = bytes.substr(101);
    size_t priorityAt = note.size() - 1 - 3 - 16;
    note[priorityAt] = static_cast<char>(200);
    b.Raw(note);

    NotesFileData back;
    ASSERT_EQ(NotesFileState::Whole, ParseNotes(b.str(), back));
    EXPECT_EQ(L'A', back.customDefaultFont.lfFaceName[30]);
    EXPECT_EQ(0, back.customDefaultFont.lfFaceName[31]);
    ASSERT_EQ(1u, back.notes.size());
    EXPECT_EQ(kPriorityNormal, back.notes[0].priority);
}

TEST(NotesFormat, BytesAfterTheLastNoteAreReportedButTheNotesKept) {
    NotesFileData back;
    EXPECT_EQ(NotesFileState::TrailingBytes,
              ParseNotes(SerializeNotes(SampleFile(2)) + "junk", back));
    ASSERT_EQ(2u, back.notes.size());
    EXPECT_EQ(FullNote(1), back.notes[1]);
}

// ---- cut short and damaged ---------------------------------------------------

TEST(NotesFormat, CutAtEveryOffsetKeepsTheNotesReadWhole) {
    NotesFileData data = SampleFile(3);
    data.notes[1].hasCustomFont = false;
    data.notes[1].font = LogFontData();
    const std::string bytes = SerializeNotes(data);
    // Where each note ends, so that a prefix can be told how many it holds whole.
    std::vector<size_t> ends;
    {
        NotesFileData partial = data;
        partial.notes.clear();
        for (const NoteData& n : data.notes) {
            partial.notes.push_back(n);
            ends.push_back(SerializeNotes(partial).size());
        }
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
    NotesFileData none;
    EXPECT_EQ(NotesFileState::Whole, ParseNotes(std::string(), none));
    EXPECT_TRUE(none.notes.empty());
}

TEST(NotesFormat, ACutTextKeepsWhatWasWrittenAndTheRestOfTheNoteItsDefaults) {
    NoteData n = FullNote(1);
    n.text = L"abcdef";
    NotesFileData data;
    data.notes.push_back(n);
    std::string bytes = SerializeNotes(data);
    // Header 9, rect 16, length 4, then three and a half units.
    NotesFileData back;
    ASSERT_EQ(NotesFileState::CutShort, ParseNotes(bytes.substr(0, 9 + 16 + 4 + 7), back));
    ASSERT_EQ(1u, back.notes.size());
    EXPECT_EQ(n.rect, back.notes[0].rect);
    EXPECT_EQ(L"abc", back.notes[0].text);
    NoteData defaults;
    EXPECT_EQ(defaults.title, back.notes[0].title);
    EXPECT_EQ(defaults.priority, back.notes[0].priority);
    EXPECT_FALSE(back.notes[0].alarmEnabled);
}

TEST(NotesFormat, HugeCountsAndLengthsNeitherAllocateNorLoop) {
    // A count of four billion over one real note: one note, not four billion.
    NotesFileData one;
    one.notes.push_back(FullNote(0));
    std::string bytes = SerializeNotes(one);
    Bytes b;
    b.I32(4).U32(0xFFFFFFFF).Raw(bytes.substr(8));
    NotesFileData back;
    EXPECT_EQ(NotesFileState::CutShort, ParseNotes(b.str(), back));
    ASSERT_EQ(1u, back.notes.size());
    EXPECT_EQ(FullNote(0), back.notes[0]);

    // The same count over nothing at all.
    EXPECT_EQ(NotesFileState::CutShort,
              ParseNotes(Bytes().I32(4).U32(0xFFFFFFFF).U8(0).str(), back));
    EXPECT_TRUE(back.notes.empty());

    // Lengths of four billion units for text and title.
    Bytes s;
    s.I32(4).U32(2).U8(0).I32(0).I32(0).I32(1).I32(1).U32(0xFFFFFFFF).Units(u"xyz");
    EXPECT_EQ(NotesFileState::CutShort, ParseNotes(s.str(), back));
    ASSERT_EQ(1u, back.notes.size());
    EXPECT_EQ(L"xyz", back.notes[0].text);

    Bytes t;
    t.I32(4).U32(1).U8(0).I32(0).I32(0).I32(1).I32(1).U32(0).U32(0x80000000);
    EXPECT_EQ(NotesFileState::CutShort, ParseNotes(t.str(), back));
    ASSERT_EQ(1u, back.notes.size());
    EXPECT_TRUE(back.notes[0].title.empty());
}

}  // namespace
