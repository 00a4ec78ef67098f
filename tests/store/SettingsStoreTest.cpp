#include "store/SettingsStore.h"

#include <gtest/gtest.h>

#include "support/TestPaths.h"
#include "store/FileIo.h"
#include "store/TextCodec.h"

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    // Reads from `value` on; `found` is what the reader must report.
    template <typename T>
    T Read(bool (SettingsStore::*reader)(const std::wstring&, T&), const wchar_t* path, T value,
           bool found = true) {
        EXPECT_EQ(found, (store_.*reader)(path, value)) << TestPaths::Narrow(path);
        return value;
    }

    std::wstring file_ = TestPaths::MakeScratchDir() + L"Settings.ini";
    SettingsStore store_{file_};
};

TEST(SettingsStorePath, SectionUpToTheLastSlashAfterTheFirstCharacter) {
    const struct {
        const wchar_t *path, *section, *key;
    } cases[] = {
        {L"/ShowNotes", L"Root", L"ShowNotes"},
        {L"/Settings/NoteAlpha", L"Settings", L"NoteAlpha"},
        {L"/S/k", L"S", L"k"},
        {L"/a/b/c", L"a/b", L"c"},
        {L"//k", L"", L"k"},
        {L"x/k", L"", L"k"},  // the first character is skipped whatever it is
        {L"/S/", L"S", L""},
    };
    for (const auto& c : cases) {
        std::wstring section, key;
        ASSERT_TRUE(SettingsStore::SplitPath(c.path, section, key)) << TestPaths::Narrow(c.path);
        EXPECT_EQ(c.section + std::wstring(L"|") + c.key, section + L"|" + key);
    }
    for (const wchar_t* bad : {L"", L"/", L"NoSlash"}) {
        std::wstring section = L"kept", key = L"kept";
        EXPECT_FALSE(SettingsStore::SplitPath(bad, section, key)) << TestPaths::Narrow(bad);
    }
}

TEST_F(SettingsStoreTest, FailedReadsAndWritesTouchNothing) {
    // A path needs a separator after its first character.
    EXPECT_EQ(Read(&SettingsStore::ReadInt, L"NoSlash", 5, false), 5);
    EXPECT_FALSE(store_.WriteInt(L"/", 1));
    EXPECT_FALSE(FileIo::FileExists(file_));
    SettingsStore nowhere(TestPaths::MakeScratchDir() + L"missing-folder/Settings.ini");
    EXPECT_FALSE(nowhere.WriteBool(L"/ShowNotes", true));
    // A key in another section is missing, and leaves the value as it was.
    ASSERT_TRUE(FileIo::WriteFileAtomically(file_, "[Other]\r\nNoteAlpha=1\r\n"));
    EXPECT_EQ(Read(&SettingsStore::ReadUInt8, L"/Settings/NoteAlpha", uint8_t{128}, false), 128);
}

TEST_F(SettingsStoreTest, StoredTextBecomesTheTypedValue) {
    ASSERT_TRUE(
        FileIo::WriteFileAtomically(file_,
                                    "[S]\r\nA=447756\r\nB=913466\r\nE=\r\nBig=300\r\nNeg=-1\r\n"
                                    "Two=2\r\nWord=yes\r\nF=abc\r\nG=1.5xyz\r\n"));
    // The profile functions' own defaults are ordinary values here.
    EXPECT_EQ(Read(&SettingsStore::ReadUInt32, L"/S/A", 0u), 447756u);
    EXPECT_EQ(Read(&SettingsStore::ReadString, L"/S/B", std::wstring()), L"913466");
    // An empty value is found.
    EXPECT_EQ(Read(&SettingsStore::ReadString, L"/S/E", std::wstring(L"x")), L"");
    EXPECT_EQ(Read(&SettingsStore::ReadInt, L"/S/E", 9), 0);
    // Integers keep their low bits; a bool is any non-zero number.
    EXPECT_EQ(Read(&SettingsStore::ReadUInt8, L"/S/Big", uint8_t{0}), 44);
    EXPECT_EQ(Read(&SettingsStore::ReadUInt32, L"/S/Neg", 0u), 0xFFFFFFFFu);
    EXPECT_EQ(Read(&SettingsStore::ReadLong, L"/S/Neg", 0), -1);
    EXPECT_TRUE(Read(&SettingsStore::ReadBool, L"/S/Two", false));
    EXPECT_FALSE(Read(&SettingsStore::ReadBool, L"/S/Word", true));
    // Text that is no number is found but keeps the value.
    EXPECT_EQ(Read(&SettingsStore::ReadFloat, L"/S/F", 3.0f), 3.0f);
    EXPECT_EQ(Read(&SettingsStore::ReadFloat, L"/S/G", 0.0f), 1.5f);
}

TEST_F(SettingsStoreTest, ABurstOfReadsAnswersAsSingleReadsFromOneReadingOfTheFile) {
    ASSERT_TRUE(
        FileIo::WriteFileAtomically(file_,
                                    "[S]\r\nA=447756\r\nE=\r\nNeg=-1\r\nHex=0x1F\r\nWord=yes\r\n"
                                    "Text=  padded  \r\n[s]\r\nLater=1\r\n"));
    const wchar_t* paths[] = {L"/S/A",    L"/S/E",    L"/S/Neg",   L"/S/Hex", L"/S/Word",
                              L"/S/Text", L"/s/a",    L"/S/Later", L"/S/No",  L"/Other/A",
                              L"/S/",     L"NoSlash", L"/A"};
    auto readAll = [&] {
        std::wstring seen;
        for (const wchar_t* path : paths) {
            int32_t number = -7;
            std::wstring text = L"unset";
            const bool foundNumber = store_.ReadInt(path, number);
            const bool foundText = store_.ReadString(path, text);
            seen += std::wstring(path) + L"=" + (foundNumber ? std::to_wstring(number) : L"-") +
                    L"|" + (foundText ? text : L"-") + L";";
        }
        return seen;
    };
    const std::wstring single = readAll();
    {
        SettingsStore::ReadBurst burst(store_);
        EXPECT_EQ(readAll(), single);
        // The file changing under a burst is not seen until it ends...
        ASSERT_TRUE(FileIo::WriteFileAtomically(file_, "[S]\r\nA=5\r\n"));
        EXPECT_EQ(Read(&SettingsStore::ReadInt, L"/S/A", 0), 447756);
        {
            SettingsStore::ReadBurst nested(store_);
            EXPECT_EQ(Read(&SettingsStore::ReadInt, L"/S/A", 0), 447756);
        }
        EXPECT_EQ(Read(&SettingsStore::ReadInt, L"/S/A", 0), 447756);
        // ...but what the store itself writes is, with the rest of the file as written.
        ASSERT_TRUE(store_.WriteInt(L"/S/Neg", 3));
        EXPECT_EQ(Read(&SettingsStore::ReadInt, L"/S/Neg", 0), 3);
        EXPECT_EQ(Read(&SettingsStore::ReadInt, L"/S/A", 0), 5);
        EXPECT_EQ(Read(&SettingsStore::ReadInt, L"/S/E", 0, false), 0);
    }
    ASSERT_TRUE(FileIo::WriteFileAtomically(file_, "[S]\r\nA=6\r\n"));
    EXPECT_EQ(Read(&SettingsStore::ReadInt, L"/S/A", 0), 6);
    // A missing file answers every key of a burst as missing.
    SettingsStore missing(TestPaths::MakeScratchDir() + L"None.ini");
    SettingsStore::ReadBurst burst(missing);
    std::wstring text;
    EXPECT_FALSE(missing.ReadString(L"/S/A", text));
}

TEST_F(SettingsStoreTest, WritesUseFixedTextFormsAndReachTheFileAtOnce) {
    const std::wstring unicode = L"Skin \u00e9\u4e2d\xD83D\xDE00";
    EXPECT_TRUE(
        store_.WriteUInt8(L"/S/U8", 200) && store_.WriteUInt16(L"/S/U16", 65535) &&
        store_.WriteUInt32(L"/S/U32", 4294967295u) && store_.WriteInt(L"/S/Int", -2147483647 - 1) &&
        store_.WriteFloat(L"/S/Float", -1.25f) && store_.WriteBool(L"/S/True", true) &&
        store_.WriteString(L"/S/Text", L"  a b  ") && store_.WriteBool(L"/ShowNotes", false) &&
        store_.WriteString(L"/SkinName", unicode));
    // Straight from the file: nothing is held back. Padded text is quoted.
    std::string bytes;
    ASSERT_TRUE(FileIo::ReadFile(file_, bytes));
    EXPECT_EQ(TextCodec::Decode(bytes),
              L"[S]\r\nU8=200\r\nU16=65535\r\nU32=4294967295\r\nInt=-2147483648\r\n"
              L"Float=-1.250000\r\nTrue=1\r\nText=\"  a b  \"\r\n[Root]\r\nShowNotes=0\r\n"
              L"SkinName=" +
                  unicode + L"\r\n");
    EXPECT_EQ(Read(&SettingsStore::ReadString, L"/S/Text", std::wstring()), L"  a b  ");
    EXPECT_EQ(Read(&SettingsStore::ReadString, L"/SkinName", std::wstring()), unicode);
    // Texts that would otherwise lose their quotes or blanks come back as written.
    for (const wchar_t* text : {L"\"quoted\"", L"'single'", L"\"", L"\"a'", L" lead", L"tail\t"}) {
        ASSERT_TRUE(store_.WriteString(L"/Q/Text", text));
        EXPECT_EQ(Read(&SettingsStore::ReadString, L"/Q/Text", std::wstring()), text)
            << TestPaths::Narrow(text);
    }
    // A second store over the same file sees the change without any reload.
    EXPECT_TRUE(SettingsStore(file_).WriteInt(L"/S/Int", 610));
    EXPECT_EQ(Read(&SettingsStore::ReadInt, L"/S/Int", 0), 610);
}

TEST(SettingsStorePending, RefusedWritesAreKeptAndWrittenByTheNextAttempt) {
    // A folder that does not exist yet refuses every write, as a read-only or
    // full disk would.
    const std::wstring folder = TestPaths::MakeScratchDir() + L"later";
    SettingsStore store(folder + L"/Settings.ini");
    std::vector<bool> told;
    store.SetWriteObserver([&](bool written) { told.push_back(written); });

    EXPECT_FALSE(store.WriteInt(L"/MainWindow/PositionX", 10));
    EXPECT_FALSE(store.WriteString(L"/SkinName", L"Blue"));
    EXPECT_FALSE(store.WriteInt(L"/MainWindow/PositionX", 20));
    EXPECT_TRUE(store.HasPendingWrites());
    // The program reads what it last wrote, not the stale file.
    int32_t x = 0;
    EXPECT_TRUE(store.ReadInt(L"/mainwindow/positionx", x));
    EXPECT_EQ(x, 20);
    // Text that can never be written is refused at once and not kept.
    EXPECT_FALSE(store.WriteString(L"/S/K", L"two\nlines"));
    EXPECT_EQ(told, (std::vector<bool>{false, false, false}));

    ASSERT_TRUE(FileIo::MakeFolder(folder));
    EXPECT_TRUE(store.RetryPendingWrites());
    EXPECT_FALSE(store.HasPendingWrites());
    EXPECT_EQ(told.back(), true);
    SettingsStore fresh(folder + L"/Settings.ini");
    std::wstring skin;
    EXPECT_TRUE(fresh.ReadInt(L"/MainWindow/PositionX", x));
    EXPECT_EQ(x, 20);
    EXPECT_TRUE(fresh.ReadString(L"/SkinName", skin));
    EXPECT_EQ(skin, L"Blue");
    EXPECT_FALSE(fresh.ReadString(L"/S/K", skin));
}

}  // namespace
