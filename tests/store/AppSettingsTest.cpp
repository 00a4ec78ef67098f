#include "store/AppSettings.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "TestPaths.h"
#include "store/FileIo.h"
#include "store/SettingsStore.h"
#include "store/TextCodec.h"

namespace {

// Records which operation touched which path, and serves values from a map of texts.
class RecordingStore : public ValueStore {
public:
    std::vector<std::wstring> calls;
    std::map<std::wstring, std::wstring> values;

    bool ReadUInt16(const std::wstring& p, uint16_t& v) override {
        return Num(L"ReadUInt16", p, v);
    }
    bool ReadUInt32(const std::wstring& p, uint32_t& v) override {
        return Num(L"ReadUInt32", p, v);
    }
    bool ReadUInt8(const std::wstring& p, uint8_t& v) override { return Num(L"ReadUInt8", p, v); }
    bool ReadInt(const std::wstring& p, int32_t& v) override { return Num(L"ReadInt", p, v); }
    bool ReadLong(const std::wstring& p, int32_t& v) override { return Num(L"ReadLong", p, v); }
    bool ReadFloat(const std::wstring& p, float& v) override { return Num(L"ReadFloat", p, v); }
    bool ReadBool(const std::wstring& p, bool& v) override { return Num(L"ReadBool", p, v); }
    bool ReadString(const std::wstring& p, std::wstring& v) override {
        calls.push_back(L"ReadString " + p);
        auto it = values.find(p);
        if (it == values.end()) return false;
        v = it->second;
        return true;
    }
    bool WriteUInt16(const std::wstring& p, uint16_t v) override {
        return Put(L"WriteUInt16", p, v);
    }
    bool WriteUInt32(const std::wstring& p, uint32_t v) override {
        return Put(L"WriteUInt32", p, v);
    }
    bool WriteUInt8(const std::wstring& p, uint8_t v) override { return Put(L"WriteUInt8", p, v); }
    bool WriteInt(const std::wstring& p, int32_t v) override { return Put(L"WriteInt", p, v); }
    bool WriteFloat(const std::wstring& p, float v) override { return Put(L"WriteFloat", p, v); }
    bool WriteBool(const std::wstring& p, bool v) override { return Put(L"WriteBool", p, v); }
    bool WriteString(const std::wstring& p, const std::wstring& v) override {
        calls.push_back(L"WriteString " + p);
        values[p] = v;
        return true;
    }

private:
    template <typename T>
    bool Num(const wchar_t* op, const std::wstring& p, T& v) {
        calls.push_back(std::wstring(op) + L" " + p);
        auto it = values.find(p);
        if (it == values.end()) return false;
        v = static_cast<T>(std::stoll(it->second));
        return true;
    }
    template <typename T>
    bool Put(const wchar_t* op, const std::wstring& p, T v) {
        calls.push_back(std::wstring(op) + L" " + p);
        values[p] = std::to_wstring(v);
        return true;
    }
};

TEST(AppSettingsRead, FollowsTheStartupOrderWithTheRightOperations) {
    RecordingStore store;
    AppSettings settings;
    ReadAppSettings(store, settings, [&] {
        store.calls.push_back(L"registry");
        return false;
    });
    const std::vector<std::wstring> expected = {
        L"ReadString /LanguageFile",
        L"ReadUInt8 /Settings/NoteAlpha",
        L"ReadBool /Settings/LayeredWindowEnabled",
        L"ReadBool /Settings/SnapNotes",
        L"ReadBool /Settings/UseNoteGrid",
        L"ReadBool /Settings/ConfirmDelete",
        L"ReadBool /Settings/ResizeAfterEdit",
        L"registry",
        L"ReadLong /Settings/SnapGap",
        L"ReadLong /Settings/SnapBorder",
        L"ReadUInt16 /Settings/HotKeyNewNote",
        L"ReadUInt16 /Settings/HotKeyNewNoteMod",
        L"ReadUInt16 /Settings/HotKeyShowNotes",
        L"ReadUInt16 /Settings/HotKeyShowNotesMod",
        L"ReadUInt16 /Settings/HotKeyBringNotesToTop",
        L"ReadUInt16 /Settings/HotKeyBringNotesToTopMod",
        L"ReadUInt16 /Settings/HotKeyNewNoteFromClipboard",
        L"ReadUInt16 /Settings/HotKeyNewNoteFromClipboardMod",
        L"ReadBool /Settings/CheckForUpdatesAtStartup",
        L"ReadBool /Settings/ShowDateInTitle",
        L"ReadUInt32 /Settings/LastUpdateCheckDayCount",
        L"ReadUInt32 /Settings/LastUpdateCheck_Low",
        L"ReadUInt32 /Settings/LastUpdateCheck_High",
        L"ReadBool /ShowNotes",
        L"ReadBool /MainWindow/AlwaysOnTop",
        L"ReadInt /MainWindow/PositionX",
        L"ReadInt /MainWindow/PositionY",
        L"ReadString /SkinName",
    };
    EXPECT_EQ(store.calls, expected);

    store.calls.clear();
    ReadSkinColorThemeIndex(store, settings, 3);
    ReadMainWindowVisible(store, settings);
    EXPECT_EQ(store.calls, (std::vector<std::wstring>{L"ReadUInt32 /SkinColorThemeIndex",
                                                      L"ReadBool /MainWindow/Visible"}));
}

TEST(AppSettingsRead, AnEmptyFileGivesEveryDefault) {
    RecordingStore store;
    AppSettings settings;
    settings.noteAlpha = 1;  // stale values are replaced by defaults
    settings.skinName = L"Old";
    settings.hotKeys[kHotKeyShowNotes] = {1, 1};
    ReadAppSettings(store, settings);
    ReadSkinColorThemeIndex(store, settings, 1);
    ReadMainWindowVisible(store, settings);

    EXPECT_EQ(settings.languageFile, L"English.ini");
    EXPECT_EQ(settings.noteAlpha, 128);
    EXPECT_TRUE(settings.layeredWindowEnabled);
    EXPECT_TRUE(settings.snapNotes);
    EXPECT_FALSE(settings.useNoteGrid);
    EXPECT_TRUE(settings.confirmDelete);
    EXPECT_TRUE(settings.resizeAfterEdit);
    EXPECT_EQ(settings.snapGap, 15);
    EXPECT_EQ(settings.snapBorder, 15);
    const uint16_t keys[] = {78, 83, 84, 67};  // N, S, T, C
    for (int i = 0; i < kHotKeyCount; ++i) {
        EXPECT_EQ(settings.hotKeys[i].virtualKey, keys[i]);
        EXPECT_EQ(settings.hotKeys[i].modifiers, 3);  // Shift + Ctrl
    }
    EXPECT_TRUE(settings.checkForUpdatesAtStartup);
    EXPECT_TRUE(settings.showDateInTitle);
    EXPECT_EQ(settings.updateCheckDayCount, 7);
    EXPECT_EQ(settings.lastUpdateCheckLow, 0u);
    EXPECT_EQ(settings.lastUpdateCheckHigh, 0u);
    EXPECT_TRUE(settings.showNotes);
    EXPECT_TRUE(settings.mainWindowAlwaysOnTop);
    EXPECT_EQ(settings.mainWindowX, 600);
    EXPECT_EQ(settings.mainWindowY, 24);
    EXPECT_EQ(settings.skinName, L"Default");
    EXPECT_EQ(settings.skinColorThemeIndex, 0u);
    EXPECT_TRUE(settings.mainWindowVisible);
    // Reading writes nothing.
    for (const std::wstring& call : store.calls)
        EXPECT_EQ(call.rfind(L"Write", 0), std::wstring::npos);
}

TEST(AppSettingsRead, StoredValuesAndTheirOddities) {
    RecordingStore store;
    store.values = {
        {L"/LanguageFile", L""},
        {L"/SkinName", L""},
        {L"/Settings/NoteAlpha", L"300"},
        {L"/Settings/SnapBorder", L"-5"},
        {L"/MainWindow/PositionX", L"-1200"},
    };
    AppSettings settings;
    ReadAppSettings(store, settings, [] { return true; });
    EXPECT_EQ(settings.languageFile, L"English.ini");
    EXPECT_EQ(settings.skinName, L"Default");
    EXPECT_EQ(settings.noteAlpha, 44);
    EXPECT_EQ(settings.snapBorder, -5);
    EXPECT_EQ(settings.mainWindowX, -1200);
    EXPECT_TRUE(settings.runAtLogOn);
}

TEST(AppSettingsRead, SnapGapIsKeptWhereTheGridCanUseIt) {
    struct {
        const wchar_t* stored;
        int32_t expected;
    } cases[] = {{L"0", 1}, {L"-7", 1}, {L"1", 1}, {L"100", 100}, {L"2000000000", kMaxSnapGap}};
    for (const auto& c : cases) {
        RecordingStore store;
        store.values[L"/Settings/SnapGap"] = c.stored;
        AppSettings settings;
        ReadAppSettings(store, settings);
        EXPECT_EQ(settings.snapGap, c.expected) << TestPaths::Narrow(c.stored);
    }
}

TEST(AppSettingsRead, ColorThemeIndexMustBeBelowTheThemeCount) {
    struct {
        const wchar_t* stored;
        uint32_t count;
        uint32_t expected;
    } cases[] = {{L"2", 3, 2}, {L"3", 3, 0}, {L"-1", 3, 0}, {L"0", 0, 0}};
    for (const auto& c : cases) {
        RecordingStore store;
        store.values[L"/SkinColorThemeIndex"] = c.stored;
        AppSettings settings;
        ReadSkinColorThemeIndex(store, settings, c.count);
        EXPECT_EQ(settings.skinColorThemeIndex, c.expected);
    }
}

TEST(AppSettingsWrite, DialogWritesItsEighteenKeysInOrder) {
    RecordingStore store;
    AppSettings settings;
    EXPECT_TRUE(WriteDialogSettings(store, settings));
    const std::vector<std::wstring> expected = {
        L"WriteUInt8 /Settings/NoteAlpha",
        L"WriteBool /Settings/LayeredWindowEnabled",
        L"WriteBool /Settings/SnapNotes",
        L"WriteBool /Settings/UseNoteGrid",
        L"WriteBool /Settings/ConfirmDelete",
        L"WriteBool /Settings/ResizeAfterEdit",
        L"WriteInt /Settings/SnapGap",
        L"WriteInt /Settings/SnapBorder",
        L"WriteUInt16 /Settings/HotKeyNewNote",
        L"WriteUInt16 /Settings/HotKeyNewNoteMod",
        L"WriteUInt16 /Settings/HotKeyShowNotes",
        L"WriteUInt16 /Settings/HotKeyShowNotesMod",
        L"WriteUInt16 /Settings/HotKeyBringNotesToTop",
        L"WriteUInt16 /Settings/HotKeyBringNotesToTopMod",
        L"WriteUInt16 /Settings/HotKeyNewNoteFromClipboard",
        L"WriteUInt16 /Settings/HotKeyNewNoteFromClipboardMod",
        L"WriteBool /Settings/CheckForUpdatesAtStartup",
        L"WriteBool /Settings/ShowDateInTitle",
    };
    EXPECT_EQ(store.calls, expected);
}

TEST(AppSettingsWrite, SingleKeysAndTheKeyThatIsNeverWritten) {
    RecordingStore store;
    AppSettings settings;
    settings.mainWindowX = -20;
    EXPECT_TRUE(WriteSetting(store, settings, L"/MainWindow/PositionX"));
    EXPECT_FALSE(WriteSetting(store, settings, L"/Settings/LastUpdateCheckDayCount"));
    EXPECT_FALSE(WriteSetting(store, settings, L"/Settings/Unknown"));
    EXPECT_TRUE(WriteLastUpdateCheck(store, 1, 2));
    EXPECT_TRUE(WriteMainWindowPosition(store, 5, 6));
    EXPECT_EQ(store.calls, (std::vector<std::wstring>{
                               L"WriteInt /MainWindow/PositionX",
                               L"WriteUInt32 /Settings/LastUpdateCheck_Low",
                               L"WriteUInt32 /Settings/LastUpdateCheck_High",
                               L"WriteInt /MainWindow/PositionX",
                               L"WriteInt /MainWindow/PositionY",
                           }));
}

TEST(AppSettingsWrite, ApplyingTheDialogLeavesOtherStateAlone) {
    AppSettings app;
    AppSettings dialog = app;
    app.showNotes = false;  // hidden by the hot key while the dialog was open
    app.mainWindowX = 10;
    dialog.noteAlpha = 200;
    dialog.hotKeys[kHotKeyNewNoteFromClipboard] = {86, 6};
    dialog.runAtLogOn = true;
    dialog.skinName = L"Other";
    ApplyDialogSettings(dialog, app);
    EXPECT_EQ(app.noteAlpha, 200);
    EXPECT_EQ(app.hotKeys[kHotKeyNewNoteFromClipboard].virtualKey, 86);
    EXPECT_EQ(app.hotKeys[kHotKeyNewNoteFromClipboard].modifiers, 6);
    EXPECT_TRUE(app.runAtLogOn);
    EXPECT_FALSE(app.showNotes);
    EXPECT_EQ(app.mainWindowX, 10);
    EXPECT_EQ(app.skinName, L"Default");
}

TEST(AppSettingsFile, DialogKeysRoundTripAndTheDayCountNeverAppears) {
    const std::wstring file = TestPaths::MakeScratchDir() + L"Settings.ini";
    SettingsStore store(file);
    AppSettings read;
    ReadAppSettings(store, read);
    EXPECT_FALSE(FileIo::FileExists(file));  // a fresh installation writes nothing

    AppSettings changed;
    changed.noteAlpha = 255;
    changed.useNoteGrid = true;
    changed.snapGap = 40;
    changed.snapBorder = 0;
    changed.hotKeys[kHotKeyShowNotes] = {0x70, 4};
    changed.showDateInTitle = false;
    ASSERT_TRUE(WriteDialogSettings(store, changed));
    ASSERT_TRUE(WriteSetting(store, changed, L"/Settings/LastUpdateCheck_Low"));

    AppSettings back;
    ReadAppSettings(store, back);
    EXPECT_EQ(back.noteAlpha, 255);
    EXPECT_TRUE(back.useNoteGrid);
    EXPECT_EQ(back.snapGap, 40);
    EXPECT_EQ(back.snapBorder, 0);
    EXPECT_EQ(back.hotKeys[kHotKeyShowNotes].virtualKey, 0x70);
    EXPECT_EQ(back.hotKeys[kHotKeyShowNotes].modifiers, 4);
    EXPECT_FALSE(back.showDateInTitle);

    std::string bytes;
    ASSERT_TRUE(FileIo::ReadFile(file, bytes));
    EXPECT_EQ(TextCodec::Decode(bytes).find(L"LastUpdateCheckDayCount"), std::wstring::npos);
}

}  // namespace
