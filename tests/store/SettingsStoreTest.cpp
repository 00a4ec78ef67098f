#include "store/SettingsStore.h"

#include <gtest/gtest.h>

#include "TestPaths.h"
#include "store/FileIo.h"
#include "store/IniFile.h"
#include "store/TextCodec.h"

namespace {

TEST(SettingsStorePath, SplitsIntoSectionAndKey) {
    struct {
        const wchar_t* path;
        const wchar_t* section;
        const wchar_t* key;
    } cases[] = {
        {L"/Settings/NoteAlpha", L"Settings", L"NoteAlpha"},
        {L"/ShowNotes", L"Root", L"ShowNotes"},
        {L"/ColorTheme3/Name", L"ColorTheme3", L"Name"},
        {L"/a/b/c", L"a/b", L"c"},
        {L"xSec/Key", L"Sec", L"Key"},  // the first character is skipped, whatever it is
        {L"/Sec/", L"Sec", L""},
    };
    for (const auto& c : cases) {
        std::wstring section, key;
        ASSERT_TRUE(SettingsStore::SplitPath(c.path, section, key)) << TestPaths::Narrow(c.path);
        EXPECT_EQ(section, c.section);
        EXPECT_EQ(key, c.key);
    }
    std::wstring section, key;
    EXPECT_FALSE(SettingsStore::SplitPath(L"", section, key));
    EXPECT_FALSE(SettingsStore::SplitPath(L"/", section, key));
    EXPECT_FALSE(SettingsStore::SplitPath(L"NoSlash", section, key));
}

class SettingsStoreTest : public ::testing::Test {
protected:
    void Put(const std::string& text) { ASSERT_TRUE(FileIo::WriteFileAtomically(file_, text)); }

    std::wstring FileText() {
        std::string bytes;
        EXPECT_TRUE(FileIo::ReadFile(file_, bytes));
        return TextCodec::Decode(bytes);
    }

    std::wstring Raw(const wchar_t* section, const wchar_t* key) {
        std::wstring value;
        EXPECT_TRUE(IniReadString(file_, section, key, value));
        return value;
    }

    std::wstring file_ = TestPaths::MakeScratchDir() + L"Settings.ini";
    SettingsStore store_{file_};
};

TEST_F(SettingsStoreTest, BadPathsTouchNothing) {
    int32_t i = 5;
    std::wstring s = L"kept";
    EXPECT_FALSE(store_.ReadInt(L"NoSlash", i));
    EXPECT_FALSE(store_.ReadString(L"/", s));
    EXPECT_FALSE(store_.WriteInt(L"x", 1));
    EXPECT_EQ(i, 5);
    EXPECT_EQ(s, L"kept");
    EXPECT_FALSE(FileIo::FileExists(file_));
}

TEST_F(SettingsStoreTest, MissingKeysLeaveTheDestination) {
    Put("[Other]\r\nNoteAlpha=1\r\n");
    uint8_t u8 = 128;
    uint16_t u16 = 78;
    uint32_t u32 = 7;
    int32_t i = -4;
    float f = 2.5f;
    std::wstring s = L"Default";
    bool b = true;
    EXPECT_FALSE(store_.ReadUInt8(L"/Settings/NoteAlpha", u8));
    EXPECT_FALSE(store_.ReadUInt16(L"/Settings/NoteAlpha", u16));
    EXPECT_FALSE(store_.ReadUInt32(L"/Settings/NoteAlpha", u32));
    EXPECT_FALSE(store_.ReadInt(L"/Settings/NoteAlpha", i));
    EXPECT_FALSE(store_.ReadLong(L"/Settings/NoteAlpha", i));
    EXPECT_FALSE(store_.ReadFloat(L"/Settings/NoteAlpha", f));
    EXPECT_FALSE(store_.ReadString(L"/Settings/NoteAlpha", s));
    EXPECT_FALSE(store_.ReadBool(L"/Settings/NoteAlpha", b));
    EXPECT_EQ(u8, 128);
    EXPECT_EQ(u16, 78);
    EXPECT_EQ(u32, 7u);
    EXPECT_EQ(i, -4);
    EXPECT_EQ(f, 2.5f);
    EXPECT_EQ(s, L"Default");
    EXPECT_TRUE(b);
}

TEST_F(SettingsStoreTest, SentinelValuesAreReadBack) {
    Put("[S]\r\nA=447756\r\nB=913466\r\n");
    uint32_t a = 0, b = 0;
    std::wstring sa, sb;
    EXPECT_TRUE(store_.ReadUInt32(L"/S/A", a));
    EXPECT_TRUE(store_.ReadUInt32(L"/S/B", b));
    EXPECT_TRUE(store_.ReadString(L"/S/A", sa));
    EXPECT_TRUE(store_.ReadString(L"/S/B", sb));
    EXPECT_EQ(a, 447756u);
    EXPECT_EQ(b, 913466u);
    EXPECT_EQ(sa, L"447756");
    EXPECT_EQ(sb, L"913466");
}

TEST_F(SettingsStoreTest, EmptyValuesAreFound) {
    Put("[S]\r\nE=\r\n");
    std::wstring s = L"x";
    int32_t i = 9;
    bool b = true;
    EXPECT_TRUE(store_.ReadString(L"/S/E", s));
    EXPECT_TRUE(store_.ReadInt(L"/S/E", i));
    EXPECT_TRUE(store_.ReadBool(L"/S/E", b));
    EXPECT_EQ(s, L"");
    EXPECT_EQ(i, 0);
    EXPECT_FALSE(b);
}

TEST_F(SettingsStoreTest, IntegerReadsKeepTheLowBits) {
    Put("[S]\r\nBig=300\r\nWide=70000\r\nNeg=-1\r\nTwo=2\r\nWord=yes\r\nHex=0x10\r\n");
    uint8_t u8 = 0;
    uint16_t u16 = 0;
    uint32_t u32 = 0;
    int32_t i = 0;
    bool two = false, word = true;
    EXPECT_TRUE(store_.ReadUInt8(L"/S/Big", u8));
    EXPECT_EQ(u8, 44);
    EXPECT_TRUE(store_.ReadUInt16(L"/S/Wide", u16));
    EXPECT_EQ(u16, 70000 - 65536);
    EXPECT_TRUE(store_.ReadUInt32(L"/S/Neg", u32));
    EXPECT_EQ(u32, 0xFFFFFFFFu);
    EXPECT_TRUE(store_.ReadLong(L"/S/Neg", i));
    EXPECT_EQ(i, -1);
    EXPECT_TRUE(store_.ReadBool(L"/S/Two", two));
    EXPECT_TRUE(two);
    EXPECT_TRUE(store_.ReadBool(L"/S/Word", word));
    EXPECT_FALSE(word);
    EXPECT_TRUE(store_.ReadInt(L"/S/Hex", i));
    EXPECT_EQ(i, 16);
}

TEST_F(SettingsStoreTest, WritesUseTheFixedTextForms) {
    EXPECT_TRUE(store_.WriteUInt8(L"/S/U8", 200));
    EXPECT_TRUE(store_.WriteUInt16(L"/S/U16", 65535));
    EXPECT_TRUE(store_.WriteUInt32(L"/S/U32", 4294967295u));
    EXPECT_TRUE(store_.WriteInt(L"/S/Int", -15));
    EXPECT_TRUE(store_.WriteFloat(L"/S/Float", 0.5f));
    EXPECT_TRUE(store_.WriteBool(L"/S/True", true));
    EXPECT_TRUE(store_.WriteBool(L"/S/False", false));
    EXPECT_TRUE(store_.WriteString(L"/S/Text", L"  a b  "));
    EXPECT_TRUE(store_.WriteBool(L"/ShowNotes", false));
    EXPECT_EQ(Raw(L"S", L"U8"), L"200");
    EXPECT_EQ(Raw(L"S", L"U16"), L"65535");
    EXPECT_EQ(Raw(L"S", L"U32"), L"4294967295");
    EXPECT_EQ(Raw(L"S", L"Int"), L"-15");
    EXPECT_EQ(Raw(L"S", L"Float"), L"0.500000");
    EXPECT_EQ(Raw(L"S", L"True"), L"1");
    EXPECT_EQ(Raw(L"S", L"False"), L"0");
    EXPECT_EQ(Raw(L"S", L"Text"), L"  a b  ");
    EXPECT_EQ(Raw(L"Root", L"ShowNotes"), L"0");
}

TEST_F(SettingsStoreTest, ValuesRoundTripThroughEveryType) {
    bool b = false;
    float f = 0;
    std::wstring s;
    int32_t i = 0;
    EXPECT_TRUE(store_.WriteBool(L"/S/B", true));
    EXPECT_TRUE(store_.ReadBool(L"/S/B", b));
    EXPECT_TRUE(b);
    EXPECT_TRUE(store_.WriteFloat(L"/S/F", -1.25f));
    EXPECT_TRUE(store_.ReadFloat(L"/S/F", f));
    EXPECT_EQ(f, -1.25f);
    EXPECT_TRUE(store_.WriteInt(L"/S/I", -2147483647 - 1));
    EXPECT_TRUE(store_.ReadInt(L"/S/I", i));
    EXPECT_EQ(i, -2147483647 - 1);
    const std::wstring unicode = L"Skin \u00e9\u4e2d\xD83D\xDE00";
    EXPECT_TRUE(store_.WriteString(L"/SkinName", unicode));
    EXPECT_TRUE(store_.ReadString(L"/SkinName", s));
    EXPECT_EQ(s, unicode);
}

TEST_F(SettingsStoreTest, FloatTextThatIsNoNumberIsFoundButKeepsTheValue) {
    Put("[S]\r\nF=abc\r\nG=1.5xyz\r\n");
    float f = 3.0f;
    EXPECT_TRUE(store_.ReadFloat(L"/S/F", f));
    EXPECT_EQ(f, 3.0f);
    EXPECT_TRUE(store_.ReadFloat(L"/S/G", f));
    EXPECT_EQ(f, 1.5f);
}

TEST_F(SettingsStoreTest, EveryWriteReachesTheFileAtOnce) {
    EXPECT_TRUE(store_.WriteInt(L"/MainWindow/PositionX", 600));
    EXPECT_EQ(FileText(), L"[MainWindow]\r\nPositionX=600\r\n");
    // A second store over the same file sees the change without any reload.
    SettingsStore other(file_);
    EXPECT_TRUE(other.WriteInt(L"/MainWindow/PositionX", 610));
    int32_t x = 0;
    EXPECT_TRUE(store_.ReadInt(L"/MainWindow/PositionX", x));
    EXPECT_EQ(x, 610);
}

TEST_F(SettingsStoreTest, AWriteTheSystemRefusesReportsFalse) {
    SettingsStore nowhere(TestPaths::MakeScratchDir() + L"missing-folder/Settings.ini");
    EXPECT_FALSE(nowhere.WriteBool(L"/ShowNotes", true));
}

}  // namespace
