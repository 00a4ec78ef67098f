#include "sync/DeviceFile.h"

#include <gtest/gtest.h>

#include <tuple>

#include "SyncTestData.h"

namespace {

using namespace Sync;
using namespace SyncTest;

DeviceState SampleState() {
    DeviceState s;
    s.device = 0x8000000000000001ULL;  // the top bit set: no sign trouble
    s.deviceName = L"LAPTOP \x00E9t\x00E9";
    s.clock = At(kNow, s.device, 3);
    SyncNote a = Note(1, L"line 1\r\nline 2 \xD83D\xDE00", At(kNow - kHour, 7),
                      Versions({{7, 2}, {s.device, 1}}));
    a.content.title = L"Title";
    a.attributes.priority = kPriorityVeryLow;
    a.attributes.locked = true;
    a.attributes.hasCustomFont = true;
    a.attributes.font.lfHeight = -13;
    a.attributes.font.lfWeight = 700;
    a.attributes.font.lfCharSet = 204;
    a.attributes.font.lfFaceName[0] = L'A';
    a.attributes.alarmEnabled = true;
    a.attributes.hasAlarm = true;
    a.attributes.alarmTime.wYear = 2027;
    a.attributes.alarmTime.wMilliseconds = 999;
    a.attributes.stamp = At(-5, 7, UINT32_MAX);  // a clock before 1970
    a.rect = {-1024, -3, -800, 97};
    a.hidden = true;
    a.alwaysOnTop = true;
    SyncNote b =
        Tombstone(Note(2, L"gone", At(kNow - kDay, 9), Versions({{9, 1}})), At(kNow - kHour, 9));
    SyncNote c = Note(3, L"", At(kNow, s.device), Versions({}));
    s.notes = {a, b, c};
    return s;
}

// A device file around `payload`: the header with its version, length and checksum.
std::string Sealed(const std::string& payload, uint32_t version = 1) {
    std::string out = "VNSYNC\r\n";
    for (uint32_t v :
         {version, static_cast<uint32_t>(payload.size()), Crc32(payload.data(), payload.size())}) {
        for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    }
    return out + payload;
}

TEST(DeviceFile, WritesAndReadsEveryField) {
    const DeviceState s = SampleState();
    const std::string bytes = SerializeDevice(s);
    ASSERT_EQ("VNSYNC\r\n", bytes.substr(0, 8));
    DeviceState back;
    ASSERT_EQ(ParseState::Whole, ParseDevice(bytes, back));
    EXPECT_EQ(s.device, back.device);
    EXPECT_EQ(s.deviceName, back.deviceName);
    EXPECT_EQ(s.clock, back.clock);
    ASSERT_EQ(3u, back.notes.size());
    // Seconds of the creation time are not kept.
    const auto fields = [](const SyncNote& n) {
        return std::tie(n.id, n.created.wYear, n.created.wMonth, n.created.wDay, n.created.wHour,
                        n.created.wMinute, n.content.text, n.content.title, n.content.deleted,
                        n.content.stamp, n.content.versions, n.attributes.stamp, n.rect, n.hidden,
                        n.alwaysOnTop);
    };
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(fields(s.notes[i]), fields(back.notes[i])) << i;
        EXPECT_TRUE(SameValues(s.notes[i].attributes, back.notes[i].attributes)) << i;
    }
    EXPECT_EQ(bytes, SerializeDevice(back));
}

TEST(DeviceFile, AFileStillArrivingIsIncompleteNeverHalfRead) {
    const std::string bytes = SerializeDevice(SampleState());
    DeviceState out;
    out.deviceName = L"untouched";
    // Every length short of the whole: nothing read, and no cut is taken for
    // another kind of file.
    for (size_t n = 0; n < bytes.size(); ++n) {
        ASSERT_EQ(ParseState::Incomplete, ParseDevice(bytes.substr(0, n), out)) << n;
    }
    EXPECT_EQ(ParseState::Incomplete, ParseDevice(bytes + '\0', out));  // grown past its header
    // A service writing in place: the length is right, a byte in the middle is not yet.
    std::string patched = bytes;
    patched[bytes.size() / 2] ^= 0x20;
    EXPECT_EQ(ParseState::Incomplete, ParseDevice(patched, out));
    EXPECT_EQ(L"untouched", out.deviceName);
}

TEST(DeviceFile, OtherFilesAndVersions) {
    const std::string bytes = SerializeDevice(SampleState());
    DeviceState out;
    EXPECT_EQ(ParseState::NotOurs, ParseDevice("desktop.ini contents", out));
    EXPECT_EQ(ParseState::NotOurs, ParseDevice("VNSYNC\n" + bytes.substr(8), out));  // CR lost
    std::string newer = bytes;
    newer[8] = 3;
    EXPECT_EQ(ParseState::NewerVersion, ParseDevice(newer, out));
    std::string zero = bytes;
    zero[8] = 0;
    EXPECT_EQ(ParseState::Damaged, ParseDevice(zero, out));
    std::string huge = bytes;
    huge[15] = 0x7F;  // a payload of 2 GB claimed
    EXPECT_EQ(ParseState::Damaged, ParseDevice(huge, out));
}

// Places travel in version 2 only: a file without a placement sent stays
// version 1, byte for byte the layout PCs of that version read (they leave a
// version 2 file alone as newer); a version 2 file carries each note's
// placement after the notes, and one that claims them without any sent, or
// ends before them, is damaged.
TEST(DeviceFile, PlacementsMakeVersionTwoAndOnlyThey) {
    DeviceState s = SampleState();
    const std::string plain = SerializeDevice(s);
    EXPECT_EQ(1, plain[8]);
    s.notes[1].placement = {{-1900, 40, -1700, 333}, true, false, At(kNow + 5, 0x77)};
    s.notes[2].placement.rect = {1, 2, 3, 4};  // values without a stamp travel too
    const std::string placed = SerializeDevice(s);
    EXPECT_EQ(2, placed[8]);
    EXPECT_EQ(plain.size() + 3 * (20 + 16 + 2), placed.size());
    DeviceState back;
    ASSERT_EQ(ParseState::Whole, ParseDevice(placed, back));
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(SameValues(s.notes[i].placement, back.notes[i].placement)) << i;
        EXPECT_EQ(s.notes[i].placement.stamp, back.notes[i].placement.stamp) << i;
    }
    EXPECT_EQ(placed, SerializeDevice(back));
    ASSERT_EQ(ParseState::Whole, ParseDevice(plain, back));
    EXPECT_FALSE(back.notes[1].placement.Sent());

    // Version 2 saying what version 1 says, or cut before the placements.
    const auto resealed = [](const std::string& bytes, uint32_t version, size_t payload) {
        return Sealed(bytes.substr(kDeviceFileHeaderSize, payload), version);
    };
    const size_t plainPayload = plain.size() - kDeviceFileHeaderSize;
    EXPECT_EQ(plain, resealed(plain, 1, plainPayload));
    EXPECT_EQ(ParseState::Damaged, ParseDevice(resealed(plain, 2, plainPayload), back));
    s.notes[1].placement.stamp = {};
    EXPECT_EQ(1, SerializeDevice(s)[8]);
    std::string noneSent = placed;
    for (int i = 0; i < 20; ++i) noneSent[plain.size() + 38 + i] = 0;  // note 1's stamp
    EXPECT_EQ(ParseState::Damaged,
              ParseDevice(resealed(noneSent, 2, noneSent.size() - kDeviceFileHeaderSize), back));
    EXPECT_EQ(ParseState::Damaged,
              ParseDevice(resealed(placed, 2, plainPayload + 38), back));  // one placement only
}

// A payload whose checksum is right but whose counts lie: written by a faulty
// writer, never read in part and never a cause for a large allocation.
TEST(DeviceFile, CountsThatLieAreDamaged) {
    DeviceState empty;
    empty.device = 5;
    const std::string good = SerializeDevice(empty);
    std::string payload = good.substr(kDeviceFileHeaderSize);
    DeviceState out;
    ASSERT_EQ(ParseState::Whole, ParseDevice(Sealed(payload), out));
    // The note count (last 4 bytes) says a million notes.
    std::string many = payload;
    many[many.size() - 2] = 0x0F;
    EXPECT_EQ(ParseState::Damaged, ParseDevice(Sealed(many), out));
    // The name's length says more units than the payload holds.
    std::string longName = payload;
    longName[8 + 3] = 0x10;
    EXPECT_EQ(ParseState::Damaged, ParseDevice(Sealed(longName), out));
    // Bytes after the last note.
    EXPECT_EQ(ParseState::Damaged, ParseDevice(Sealed(payload + "x"), out));
}

TEST(DeviceFile, ReadingRepairsWhatAWindowCouldNotTake) {
    DeviceState s = SampleState();
    s.notes[0].attributes.priority = 200;
    s.notes[0].attributes.font.lfFaceName[31] = L'Z';
    s.notes[1].content.text = L"a tombstone with text";
    s.notes[2].content.versions.counts = {{9, 1}, {3, 0}, {9, 4}, {2, 1}};
    DeviceState back;
    ASSERT_EQ(ParseState::Whole, ParseDevice(SerializeDevice(s), back));
    EXPECT_EQ(kPriorityVeryLow, back.notes[0].attributes.priority);
    EXPECT_EQ(0, back.notes[0].attributes.font.lfFaceName[31]);
    EXPECT_EQ(L"", back.notes[1].content.text);
    EXPECT_EQ(Versions({{2, 1}, {9, 4}}), back.notes[2].content.versions);
}

TEST(DeviceFile, NamesOfDeviceFilesAndTheCopiesServicesMake) {
    EXPECT_EQ(L"DESK-00000000000000ff.vnsync", DeviceFileName(L"DESK", 0xFF));
    EXPECT_EQ(L"a_b_c_d_e_f_g_h_i_j-8000000000000001.vnsync",
              DeviceFileName(L"a\\b/c:d*e?f\"g<h>i|j", 0x8000000000000001ULL));
    EXPECT_EQ(L"PC-0000000000000001.vnsync", DeviceFileName(L" . . ", 1));
    EXPECT_EQ(L"x_y-0000000000000001.vnsync", DeviceFileName(std::wstring(L"x\ty"), 1));
    EXPECT_EQ(std::wstring(40, L'n') + L"-0000000000000001.vnsync",
              DeviceFileName(std::wstring(90, L'n'), 1));

    const uint64_t id = 0xABCDEF0123456789ULL;
    const std::wstring own = DeviceFileName(L"LAPTOP", id);
    EXPECT_TRUE(IsDeviceFileName(own));
    EXPECT_TRUE(IsOwnName(own, id));
    EXPECT_TRUE(IsOwnName(L"NEWNAME-ABCDEF0123456789.VNSYNC", id));
    EXPECT_FALSE(IsOwnName(own, id + 1));
    for (const wchar_t* copy :
         {L"LAPTOP-abcdef0123456789 (DESK's conflicted copy 2026-12-07).vnsync",
          L"LAPTOP-abcdef0123456789-DESK.vnsync",
          L"LAPTOP-abcdef0123456789.sync-conflict-20261207-101500-XYZ.vnsync",
          L"LAPTOP-abcdef0123456789 (1).vnsync"}) {
        EXPECT_TRUE(IsDeviceFileName(copy)) << copy;
        EXPECT_FALSE(IsOwnName(copy, id)) << copy;
    }
    for (const wchar_t* other : {L".vnsync", L"LAPTOP.vnsync.tmp-1234", L"notes.txt",
                                 L"LAPTOP-abcdef0123456789.vnsync~"}) {
        EXPECT_FALSE(IsDeviceFileName(other)) << other;
    }
}

}  // namespace
