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

TEST(NotesFormat, ASmallFileHasItsExactLayout) {
    NotesFileData data;
    data.hasCustomDefaultFont = true;
    data.customDefaultFont = NotesTestData::Font(L"Ab", -12, 400);
    NoteData plain;  // empty text and title, no font, no alarm
    plain.rect = RectData{-5, 10, 300, 0x01020304};
    plain.created = At(2026, 12, 6, 20, 41, 59, 999);
    data.notes.push_back(plain);
    NoteData full = FullNote(3);
    full.text = L"hi";
    full.title = L"\xD83D\xDE00";  // one astral character as a surrogate pair
    data.notes.push_back(full);

    Bytes e;
    e.I32(4).U32(2).U8(1).Font(data.customDefaultFont);
    // plain: seconds and milliseconds of created are not stored
    e.I32(-5).I32(10).I32(300).I32(0x01020304).U32(0).U32(0).U8(0);
    e.U16(2026).U16(12).U16(6).U16(20).U16(41).U8(0).U8(0).U8(2).U8(0).U8(0).U8(0);
    // full
    e.I32(-997).I32(23).I32(203).I32(303).U32(2).Units(u"hi").U32(2).U16(0xD83D).U16(0xDE00);
    e.U8(1).U16(2026).U16(12).U16(6).U16(20).U16(41).U8(1).U8(1).Font(full.font);
    e.U8(3).U8(1).U8(1).U8(1).U16(2027).U16(1).U16(6).U16(2).U16(3).U16(4).U16(5).U16(6);
    // A 9-byte header and a 92-byte font; a bare record is 41 bytes, and the
    // second adds two strings, a font and an alarm time.
    EXPECT_EQ(101u + 41u + (41u + 4u + 4u + 92u + 16u), e.str().size());
    EXPECT_EQ(e.str(), SerializeNotes(data));

    // A note as made: zeros everywhere but its normal priority, in its font and
    // alarm time too.
    NotesFileData fresh;
    fresh.notes.resize(1);
    fresh.notes[0].hasCustomFont = fresh.notes[0].hasAlarm = true;
    Bytes f;
    f.I32(4).U32(1).U8(0).I32(0).I32(0).I32(0).I32(0).U32(0).U32(0).U8(0);
    f.U16(0).U16(0).U16(0).U16(0).U16(0).U8(0).U8(1).Font(LogFontData{});
    f.U8(2).U8(0).U8(0).U8(1).U32(0).U32(0).U32(0).U32(0);
    EXPECT_EQ(f.str(), SerializeNotes(fresh));
    EXPECT_EQ(std::string(92, '\0'), Bytes().Font(LogFontData{}).str());
}

TEST(NotesFormat, EveryFieldAndOddTextSurvivesARoundTrip) {
    NotesFileData data = SampleFile(2);
    data.notes[1].rect = RectData{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    const std::wstring nul(1, L'\0'),
        odd = L"\xD83D\xDE00 \xD800 lone \xDC00 \xFFFF\xFFFE\x01\r\n\xD83D";
    for (const std::wstring& text : {nul + L"nul inside" + nul, odd, std::wstring(100000, L'x')}) {
        NoteData n;
        n.text = n.title = text;
        data.notes.push_back(n);
    }
    NotesFileData back = Parse(SerializeNotes(data), NotesFileState::Whole);
    EXPECT_EQ(data.customDefaultFont, back.customDefaultFont);
    EXPECT_TRUE(data.notes == back.notes);
}

TEST(NotesFormat, NewerVersionsAndTrailingBytesAreReported) {
    // The comparison is signed: negative and older versions use the same layout.
    const std::string body = SerializeNotes(SampleFile(1)).substr(4);
    for (int32_t version : {5, INT32_MAX, 3, -1, INT32_MIN}) {
        NotesFileData data = SampleFile(2);
        const bool newer = version > 4;
        EXPECT_EQ(newer ? NotesFileState::NewerVersion : NotesFileState::Whole,
                  ParseNotes(Bytes().I32(version).str() + body, data));
        EXPECT_EQ(newer ? 0u : 1u, data.notes.size()) << version;
        EXPECT_EQ(!newer, data.hasCustomDefaultFont) << version;
    }
    NotesFileData back =
        Parse(SerializeNotes(SampleFile(2)) + "junk", NotesFileState::TrailingBytes);
    EXPECT_TRUE(back.notes == SampleFile(2).notes);
}

TEST(NotesFormat, OddBytesAreReadSafely) {
    // Flags other than one are true; a face name without its terminator and a
    // priority past "very low" are made safe to use.
    LogFontData unterminated;
    for (wchar_t& c : unterminated.lfFaceName) c = L'A';
    Bytes b;
    b.I32(4).U32(1).U8(0x80).Font(unterminated).I32(0).I32(0).I32(10).I32(10).U32(0).U32(0);
    b.U8(0x02).U16(2026).U16(1).U16(1).U16(0).U16(0).U8(0xFF).U8(0x10).Font(unterminated);
    b.U8(200).U8(0x7F).U8(0x01).U8(0x40).U16(2026).U16(1).U16(4).U16(1).U32(0).U32(0);
    NotesFileData data = Parse(b.str(), NotesFileState::Whole);
    ASSERT_EQ(1u, data.notes.size());
    const NoteData& n = data.notes[0];
    EXPECT_TRUE(data.hasCustomDefaultFont && n.alwaysOnTop && n.locked && n.hasCustomFont &&
                n.hidden && n.alarmEnabled && n.hasAlarm);
    EXPECT_EQ(std::wstring(31, L'A'), data.customDefaultFont.lfFaceName);
    EXPECT_EQ(std::wstring(31, L'A'), n.font.lfFaceName);
    EXPECT_EQ(kPriorityNormal, n.priority);
    EXPECT_EQ('\x01', SerializeNotes(data)[8]);  // written back as a plain one
}

TEST(NotesFormat, EveryPrioritySurvivesAndUnknownOnesReadAsNormal) {
    const struct {
        uint8_t stored;
        int read;
    } cases[] = {
        {0, kPriorityVeryHigh}, {1, kPriorityHigh},   {2, kPriorityNormal},   {3, kPriorityLow},
        {4, kPriorityVeryLow},  {5, kPriorityNormal}, {255, kPriorityNormal},
    };
    for (const auto& c : cases) {
        Bytes b;
        b.I32(4).U32(1).U8(0).I32(0).I32(0).I32(10).I32(10).U32(0).U32(0);
        b.U8(0).U16(2026).U16(1).U16(1).U16(0).U16(0).U8(0).U8(0);
        b.U8(c.stored).U8(0).U8(0).U8(0);
        NotesFileData data = Parse(b.str(), NotesFileState::Whole);
        ASSERT_EQ(1u, data.notes.size());
        EXPECT_EQ(c.read, data.notes[0].priority) << int{c.stored};
        if (c.stored <= 4) {
            EXPECT_EQ(b.str(), SerializeNotes(data));
        }
    }
}

TEST(NotesFormat, CutAtEveryOffsetKeepsTheNotesReadWhole) {
    NotesFileData data = SampleFile(3);
    data.notes[1].hasCustomFont = false;
    data.notes[1].font = LogFontData();
    const std::string bytes = SerializeNotes(data);
    std::vector<size_t> ends;  // where each note ends
    for (size_t n = 1; n <= data.notes.size(); ++n) {
        NotesFileData prefix = data;
        prefix.notes.resize(n);
        ends.push_back(SerializeNotes(prefix).size());
    }
    for (size_t cut = 1; cut < bytes.size(); ++cut) {
        NotesFileData back;
        ASSERT_EQ(NotesFileState::CutShort, ParseNotes(bytes.substr(0, cut), back)) << cut;
        size_t whole = 0;
        while (whole < ends.size() && ends[whole] <= cut) ++whole;
        ASSERT_LE(back.notes.size() - whole, 1u) << cut;  // at most one more, cut short
        for (size_t i = 0; i < whole; ++i) ASSERT_EQ(data.notes[i], back.notes[i]) << cut;
    }
    EXPECT_TRUE(Parse(std::string(), NotesFileState::Whole).notes.empty());
}

TEST(NotesFormat, HugeCountsAndLengthsNeitherAllocateNorLoop) {
    // A count of four billion over one real note gives that note; over nothing, none.
    const std::string rest = SerializeNotes(SampleFile(1)).substr(8);
    NotesFileData back =
        Parse(Bytes().I32(4).U32(0xFFFFFFFF).str() + rest, NotesFileState::CutShort);
    EXPECT_TRUE(back.notes == SampleFile(1).notes);
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
