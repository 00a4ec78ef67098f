#include "store/AppSettings.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "support/TestPaths.h"
#include "store/FileIo.h"
#include "store/IniFile.h"
#include "store/SettingsStore.h"

namespace {

using Log = std::vector<std::wstring>;

// Logs the path of every call; reads find nothing and writes succeed. A key whose
// type does not match its field would be skipped, and so missing from the log.
class LogStore : public ValueStore {
public:
    Log log;
    // clang-format off
#define VN_LOG(Op, V) \
    bool Op(const std::wstring& p, V) override { log.push_back(p); return #Op[0] == 'W'; }
    VN_LOG(ReadUInt8, uint8_t&) VN_LOG(ReadUInt16, uint16_t&) VN_LOG(ReadUInt32, uint32_t&)
    VN_LOG(ReadInt, int32_t&) VN_LOG(ReadLong, int32_t&) VN_LOG(ReadFloat, float&)
    VN_LOG(ReadBool, bool&) VN_LOG(ReadString, std::wstring&) VN_LOG(WriteUInt8, uint8_t)
    VN_LOG(WriteUInt16, uint16_t) VN_LOG(WriteUInt32, uint32_t) VN_LOG(WriteInt, int32_t)
    VN_LOG(WriteFloat, float) VN_LOG(WriteBool, bool) VN_LOG(WriteString, const std::wstring&)
#undef VN_LOG
    // clang-format on
};

// Every key of Settings.ini the program writes, in start-up read order, with its
// default and a stored value unlike any other key's, so that a key read into
// another key's field or a wrong default shows. `dialog`: written by the settings
// dialog.
const struct {
    const wchar_t *path, *byDefault, *stored;
    bool dialog;
} kKeys[] = {
    {L"/LanguageFile", L"English.ini", L"Deutsch.ini", false},
    {L"/Settings/NoteAlpha", L"128", L"201", true},
    {L"/Settings/LayeredWindowEnabled", L"1", L"0", true},
    {L"/Settings/SnapNotes", L"1", L"0", true},
    {L"/Settings/UseNoteGrid", L"0", L"1", true},
    {L"/Settings/ConfirmDelete", L"1", L"0", true},
    {L"/Settings/ResizeAfterEdit", L"1", L"0", true},
    {L"/Settings/SnapGap", L"15", L"21", true},
    {L"/Settings/SnapBorder", L"15", L"22", true},
    {L"/Settings/HotKeyNewNote", L"78", L"101", true},
    {L"/Settings/HotKeyNewNoteMod", L"3", L"1", true},
    {L"/Settings/HotKeyShowNotes", L"83", L"102", true},
    {L"/Settings/HotKeyShowNotesMod", L"3", L"2", true},
    {L"/Settings/HotKeyBringNotesToTop", L"84", L"103", true},
    {L"/Settings/HotKeyBringNotesToTopMod", L"3", L"4", true},
    {L"/Settings/HotKeyNewNoteFromClipboard", L"67", L"104", true},
    {L"/Settings/HotKeyNewNoteFromClipboardMod", L"3", L"5", true},
    {L"/Settings/HotKeyFindNotes", L"70", L"105", true},
    {L"/Settings/HotKeyFindNotesMod", L"7", L"6", true},
    {L"/Settings/CheckForUpdatesAtStartup", L"1", L"0", true},
    {L"/Settings/ShowDateInTitle", L"1", L"0", true},
    {L"/Settings/LastUpdateCheck_Low", L"0", L"4000000000", false},
    {L"/Settings/LastUpdateCheck_High", L"0", L"31", false},
    {L"/ShowNotes", L"1", L"0", false},
    {L"/MainWindow/AlwaysOnTop", L"1", L"0", false},
    {L"/MainWindow/PositionX", L"600", L"-1500", false},
    {L"/MainWindow/PositionY", L"24", L"-7", false},
    {L"/SkinName", L"Default", L"Glass", false},
    {L"/SkinColorThemeIndex", L"0", L"4", false},
    {L"/MainWindow/Visible", L"1", L"0", false},
};
const wchar_t kDayCount[] = L"/Settings/LastUpdateCheckDayCount";

TEST(AppSettingsKeys, ReadsAndDialogWritesComeInTheirOrder) {
    Log reads, writes;
    for (const auto& k : kKeys) {
        reads.push_back(k.path);
        // The run-at-log-on state comes from the registry after ResizeAfterEdit; the
        // day count, which is never written, is read before the update-check time.
        if (reads.back() == L"/Settings/ResizeAfterEdit") reads.push_back(L"registry");
        if (reads.back() == L"/Settings/ShowDateInTitle") reads.push_back(kDayCount);
        if (k.dialog) writes.push_back(k.path);
    }
    LogStore store;
    AppSettings settings;
    ReadAppSettings(store, settings, [&] {
        store.log.push_back(L"registry");
        return false;
    });
    ReadSkinColorThemeIndex(store, settings, 3);
    ReadMainWindowVisible(store, settings);
    EXPECT_EQ(store.log, reads);

    store.log.clear();
    EXPECT_TRUE(WriteDialogSettings(store, AppSettings()));
    EXPECT_EQ(20u, writes.size());
    EXPECT_EQ(store.log, writes);

    store.log.clear();
    EXPECT_TRUE(WriteSetting(store, AppSettings(), L"/MainWindow/PositionX"));
    EXPECT_FALSE(WriteSetting(store, AppSettings(), kDayCount));
    EXPECT_FALSE(WriteSetting(store, AppSettings(), L"/Settings/Unknown"));
    EXPECT_EQ(store.log, Log{L"/MainWindow/PositionX"});
}

TEST(AppSettingsFile, EachKeyHasItsDefaultAndItsOwnField) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    SettingsStore defaults(dir + L"Defaults.ini"), stored(dir + L"Stored.ini"),
        back(dir + L"Back.ini");
    for (const auto& k : kKeys) {
        ASSERT_TRUE(WriteSetting(defaults, AppSettings(), k.path));
        ASSERT_TRUE(stored.WriteString(k.path, k.stored));
    }
    ASSERT_TRUE(stored.WriteString(kDayCount, L"30"));
    AppSettings settings;
    ReadAppSettings(stored, settings);
    ReadSkinColorThemeIndex(stored, settings, 5);
    ReadMainWindowVisible(stored, settings);
    EXPECT_EQ(30, settings.updateCheckDayCount);
    for (const auto& k : kKeys) {
        std::wstring text;
        EXPECT_TRUE(defaults.ReadString(k.path, text));
        EXPECT_EQ(k.byDefault, text) << TestPaths::Narrow(k.path);
        ASSERT_TRUE(WriteSetting(back, settings, k.path));
        EXPECT_TRUE(back.ReadString(k.path, text));
        EXPECT_EQ(k.stored, text) << TestPaths::Narrow(k.path);
    }
}

TEST(AppSettingsFile, AMissingFileGivesEveryDefaultAndIsNotCreated) {
    const std::wstring file = TestPaths::MakeScratchDir() + L"Settings.ini";
    SettingsStore missing(file);
    AppSettings settings;  // stale values, to be replaced by defaults
    settings.noteAlpha = 1;
    settings.skinName = L"Old";
    settings.hotKeys[kHotKeyShowNotes] = {1, 1};
    settings.mainWindowVisible = false;
    ReadAppSettings(missing, settings);
    ReadSkinColorThemeIndex(missing, settings, 1);
    ReadMainWindowVisible(missing, settings);
    EXPECT_FALSE(FileIo::FileExists(file));
    EXPECT_EQ(settings.languageFile + L"|" + settings.skinName, L"English.ini|Default");
    EXPECT_EQ(settings.noteAlpha, 128);
    EXPECT_EQ(settings.snapGap, 15);
    EXPECT_EQ(settings.hotKeys[kHotKeyShowNotes].virtualKey, 'S');  // Ctrl+Shift+S
    EXPECT_EQ(settings.hotKeys[kHotKeyShowNotes].modifiers, 3);
    EXPECT_EQ(std::make_pair(settings.mainWindowX, settings.mainWindowY), std::make_pair(600, 24));
    EXPECT_TRUE(settings.mainWindowVisible);
    EXPECT_EQ(settings.updateCheckDayCount, 7);
}

TEST(AppSettingsFile, StoredValuesAreBroughtIntoRange) {
    const std::wstring file = TestPaths::MakeScratchDir() + L"Settings.ini";
    ASSERT_TRUE(FileIo::WriteFileAtomically(
        file, "[Root]\r\nLanguageFile=\r\nSkinName=\r\n[Settings]\r\nNoteAlpha=300\r\n"));
    SettingsStore store(file);
    AppSettings settings;
    ReadAppSettings(store, settings, [] { return true; });
    // Empty names fall back; numbers keep their low bits.
    EXPECT_EQ(settings.languageFile + L"|" + settings.skinName, L"English.ini|Default");
    EXPECT_EQ(settings.noteAlpha, 44);
    EXPECT_TRUE(settings.runAtLogOn);

    // The note grid divides by the snap gap, and new notes are placed at three times it.
    using Gap = std::pair<const wchar_t*, int32_t>;
    for (auto [stored, expected] :
         {Gap{L"0", 1}, Gap{L"-7", 1}, Gap{L"100", 100}, Gap{L"2000000000", 1000}}) {
        ASSERT_TRUE(IniWriteString(file, L"Settings", L"SnapGap", stored));
        ReadAppSettings(store, settings);
        EXPECT_EQ(settings.snapGap, expected) << TestPaths::Narrow(stored);
    }
    // The colour theme must be one the skin has: {stored, themes in the skin, result}.
    using Theme = std::tuple<const wchar_t*, uint32_t, uint32_t>;
    for (auto [stored, count, expected] :
         {Theme{L"2", 3, 2}, Theme{L"3", 3, 0}, Theme{L"-1", 3, 0}, Theme{L"0", 0, 0}}) {
        ASSERT_TRUE(IniWriteString(file, L"Root", L"SkinColorThemeIndex", stored));
        ReadSkinColorThemeIndex(store, settings, count);
        EXPECT_EQ(settings.skinColorThemeIndex, expected) << TestPaths::Narrow(stored);
    }
}

}  // namespace
