#include "store/SettingsStore.h"

#include <gtest/gtest.h>

#include "TestPaths.h"
#include "store/FileIo.h"
#include "store/IniFile.h"
#include "store/TextCodec.h"

namespace {

TEST(SettingsStorePath, SplitsIntoSectionAndKey) {
    const struct {
        const wchar_t *path, *section, *key;
    } cases[] = {
        // clang-format off
        {L"/Settings/NoteAlpha", L"Settings", L"NoteAlpha"}, {L"/ShowNotes", L"Root", L"ShowNotes"},
        {L"/a/b/c", L"a/b", L"c"}, {L"/Sec/", L"Sec", L""},
        {L"xSec/Key", L"Sec", L"Key"},  // the first character is skipped, whatever it is
        // clang-format on
    };
    std::wstring section, key;
    for (const auto& c : cases) {
        ASSERT_TRUE(SettingsStore::SplitPath(c.path, section, key)) << TestPaths::Narrow(c.path);
        EXPECT_EQ(section + L"|" + key, std::wstring(c.section) + L"|" + c.key);
    }
    for (const wchar_t* bad : {L"", L"/", L"NoSlash"}) {
        EXPECT_FALSE(SettingsStore::SplitPath(bad, section, key)) << TestPaths::Narrow(bad);
    }
}

class SettingsStoreTest : public ::testing::Test {
protected:
    // Reads with one of the store's readers, starting from `value`; `found` is what
    // the reader must report.
    template <typename T>
    T Read(bool (SettingsStore::*reader)(const std::wstring&, T&), const wchar_t* path, T value,
           bool found = true) {
        EXPECT_EQ(found, (store_.*reader)(path, value)) << TestPaths::Narrow(path);
        return value;
    }
    std::wstring Raw(const wchar_t* section, const wchar_t* key) {
        std::wstring value;
        EXPECT_TRUE(IniReadString(file_, section, key, value));
        return value;
    }

    std::wstring file_ = TestPaths::MakeScratchDir() + L"Settings.ini";
    SettingsStore store_{file_};
};

TEST_F(SettingsStoreTest, FailedReadsAndWritesTouchNothing) {
    EXPECT_EQ(Read(&SettingsStore::ReadInt, L"NoSlash", 5, false), 5);
    EXPECT_FALSE(store_.WriteInt(L"x", 1));
    EXPECT_FALSE(FileIo::FileExists(file_));
    SettingsStore nowhere(TestPaths::MakeScratchDir() + L"missing-folder/Settings.ini");
    EXPECT_FALSE(nowhere.WriteBool(L"/ShowNotes", true));

    // Missing keys leave the destination as it was, whatever the type.
    ASSERT_TRUE(FileIo::WriteFileAtomically(file_, "[Other]\r\nNoteAlpha=1\r\n"));
    const wchar_t* missing = L"/Settings/NoteAlpha";
    EXPECT_EQ(Read(&SettingsStore::ReadUInt8, missing, uint8_t{128}, false), 128);
    EXPECT_EQ(Read(&SettingsStore::ReadLong, missing, -4, false), -4);
    EXPECT_EQ(Read(&SettingsStore::ReadFloat, missing, 2.5f, false), 2.5f);
    EXPECT_EQ(Read(&SettingsStore::ReadString, missing, std::wstring(L"kept"), false), L"kept");
    EXPECT_TRUE(Read(&SettingsStore::ReadBool, missing, true, false));
}

TEST_F(SettingsStoreTest, StoredTextBecomesTheTypedValue) {
    ASSERT_TRUE(FileIo::WriteFileAtomically(
        file_,
        "[S]\r\nA=447756\r\nB=913466\r\nE=\r\nBig=300\r\nWide=70000\r\nNeg=-1\r\n"
        "Two=2\r\nWord=yes\r\nHex=0x10\r\nF=abc\r\nG=1.5xyz\r\n"));
    // The profile functions' own defaults are ordinary values here.
    EXPECT_EQ(Read(&SettingsStore::ReadUInt32, L"/S/A", 0u), 447756u);
    EXPECT_EQ(Read(&SettingsStore::ReadUInt32, L"/S/B", 0u), 913466u);
    EXPECT_EQ(Read(&SettingsStore::ReadString, L"/S/A", std::wstring()), L"447756");
    EXPECT_EQ(Read(&SettingsStore::ReadString, L"/S/B", std::wstring()), L"913466");
    // An empty value is found.
    EXPECT_EQ(Read(&SettingsStore::ReadString, L"/S/E", std::wstring(L"x")), L"");
    EXPECT_EQ(Read(&SettingsStore::ReadInt, L"/S/E", 9), 0);
    EXPECT_FALSE(Read(&SettingsStore::ReadBool, L"/S/E", true));
    // Integers keep their low bits; a bool is any non-zero number.
    EXPECT_EQ(Read(&SettingsStore::ReadUInt8, L"/S/Big", uint8_t{0}), 44);
    EXPECT_EQ(Read(&SettingsStore::ReadUInt16, L"/S/Wide", uint16_t{0}), 70000 - 65536);
    EXPECT_EQ(Read(&SettingsStore::ReadUInt32, L"/S/Neg", 0u), 0xFFFFFFFFu);
    EXPECT_EQ(Read(&SettingsStore::ReadLong, L"/S/Neg", 0), -1);
    EXPECT_EQ(Read(&SettingsStore::ReadInt, L"/S/Hex", 0), 16);
    EXPECT_TRUE(Read(&SettingsStore::ReadBool, L"/S/Two", false));
    EXPECT_FALSE(Read(&SettingsStore::ReadBool, L"/S/Word", true));
    // Text that is no number is found but keeps the value.
    EXPECT_EQ(Read(&SettingsStore::ReadFloat, L"/S/F", 3.0f), 3.0f);
    EXPECT_EQ(Read(&SettingsStore::ReadFloat, L"/S/G", 0.0f), 1.5f);
}

TEST_F(SettingsStoreTest, WritesUseTheFixedTextFormsAndReadBack) {
    const std::wstring unicode = L"Skin \u00e9\u4e2d\xD83D\xDE00";
    EXPECT_TRUE(
        store_.WriteUInt8(L"/S/U8", 200) && store_.WriteUInt16(L"/S/U16", 65535) &&
        store_.WriteUInt32(L"/S/U32", 4294967295u) && store_.WriteInt(L"/S/Int", -2147483647 - 1) &&
        store_.WriteFloat(L"/S/Float", -1.25f) && store_.WriteBool(L"/S/True", true) &&
        store_.WriteString(L"/S/Text", L"  a b  ") && store_.WriteBool(L"/ShowNotes", false) &&
        store_.WriteString(L"/SkinName", unicode));
    EXPECT_EQ(Raw(L"S", L"U8"), L"200");
    EXPECT_EQ(Raw(L"S", L"U16"), L"65535");
    EXPECT_EQ(Raw(L"S", L"U32"), L"4294967295");
    EXPECT_EQ(Raw(L"S", L"Int"), L"-2147483648");
    EXPECT_EQ(Raw(L"S", L"Float"), L"-1.250000");
    EXPECT_EQ(Raw(L"S", L"True"), L"1");
    EXPECT_EQ(Raw(L"S", L"Text"), L"  a b  ");
    EXPECT_EQ(Raw(L"Root", L"ShowNotes"), L"0");
    EXPECT_EQ(Read(&SettingsStore::ReadInt, L"/S/Int", 0), -2147483647 - 1);
    EXPECT_EQ(Read(&SettingsStore::ReadFloat, L"/S/Float", 0.0f), -1.25f);
    EXPECT_EQ(Read(&SettingsStore::ReadString, L"/SkinName", std::wstring()), unicode);
}

TEST_F(SettingsStoreTest, EveryWriteReachesTheFileAtOnce) {
    EXPECT_TRUE(store_.WriteInt(L"/MainWindow/PositionX", 600));
    std::string bytes;
    ASSERT_TRUE(FileIo::ReadFile(file_, bytes));
    EXPECT_EQ(TextCodec::Decode(bytes), L"[MainWindow]\r\nPositionX=600\r\n");
    // A second store over the same file sees the change without any reload.
    EXPECT_TRUE(SettingsStore(file_).WriteInt(L"/MainWindow/PositionX", 610));
    EXPECT_EQ(Read(&SettingsStore::ReadInt, L"/MainWindow/PositionX", 0), 610);
}

}  // namespace
