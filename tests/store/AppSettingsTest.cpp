#include "store/AppSettings.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "TestPaths.h"
#include "store/FileIo.h"
#include "store/SettingsStore.h"
#include "store/TextCodec.h"

namespace {

using Calls = std::vector<std::wstring>;

// Records which operation touched which path, and serves values from a map of texts.
class RecordingStore : public ValueStore {
public:
    Calls calls;
    std::map<std::wstring, std::wstring> values;

    using P = const std::wstring&;
    bool ReadUInt8(P p, uint8_t& v) override { return Get(L"ReadUInt8", p, v); }
    bool ReadUInt16(P p, uint16_t& v) override { return Get(L"ReadUInt16", p, v); }
    bool ReadUInt32(P p, uint32_t& v) override { return Get(L"ReadUInt32", p, v); }
    bool ReadInt(P p, int32_t& v) override { return Get(L"ReadInt", p, v); }
    bool ReadLong(P p, int32_t& v) override { return Get(L"ReadLong", p, v); }
    bool ReadFloat(P p, float& v) override { return Get(L"ReadFloat", p, v); }
    bool ReadBool(P p, bool& v) override { return Get(L"ReadBool", p, v); }
    bool ReadString(P p, std::wstring& v) override { return Get(L"ReadString", p, v); }
    bool WriteUInt8(P p, uint8_t v) override { return Put(L"WriteUInt8", p, std::to_wstring(v)); }
    bool WriteUInt16(P p, uint16_t v) override {
        return Put(L"WriteUInt16", p, std::to_wstring(v));
    }
    bool WriteUInt32(P p, uint32_t v) override {
        return Put(L"WriteUInt32", p, std::to_wstring(v));
    }
    bool WriteInt(P p, int32_t v) override { return Put(L"WriteInt", p, std::to_wstring(v)); }
    bool WriteFloat(P p, float v) override { return Put(L"WriteFloat", p, std::to_wstring(v)); }
    bool WriteBool(P p, bool v) override { return Put(L"WriteBool", p, std::to_wstring(v)); }
    bool WriteString(P p, const std::wstring& v) override { return Put(L"WriteString", p, v); }

private:
    static void Parse(const std::wstring& text, std::wstring& v) { v = text; }
    template <typename T>
    static void Parse(const std::wstring& text, T& v) {
        v = static_cast<T>(std::stoll(text));
    }
    template <typename T>
    bool Get(const wchar_t* op, const std::wstring& p, T& v) {
        calls.push_back(op + std::wstring(L" ") + p);
        auto it = values.find(p);
        if (it == values.end()) return false;
        Parse(it->second, v);
        return true;
    }
    bool Put(const wchar_t* op, P p, const std::wstring& text) {
        calls.push_back(op + std::wstring(L" ") + p);
        values[p] = text;
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
    ReadSkinColorThemeIndex(store, settings, 3);
    ReadMainWindowVisible(store, settings);
    const Calls expected = {
        // clang-format off
        L"ReadString /LanguageFile", L"ReadUInt8 /Settings/NoteAlpha",
        L"ReadBool /Settings/LayeredWindowEnabled", L"ReadBool /Settings/SnapNotes",
        L"ReadBool /Settings/UseNoteGrid", L"ReadBool /Settings/ConfirmDelete",
        L"ReadBool /Settings/ResizeAfterEdit", L"registry",
        L"ReadLong /Settings/SnapGap", L"ReadLong /Settings/SnapBorder",
        L"ReadUInt16 /Settings/HotKeyNewNote", L"ReadUInt16 /Settings/HotKeyNewNoteMod",
        L"ReadUInt16 /Settings/HotKeyShowNotes", L"ReadUInt16 /Settings/HotKeyShowNotesMod",
        L"ReadUInt16 /Settings/HotKeyBringNotesToTop",
        L"ReadUInt16 /Settings/HotKeyBringNotesToTopMod",
        L"ReadUInt16 /Settings/HotKeyNewNoteFromClipboard",
        L"ReadUInt16 /Settings/HotKeyNewNoteFromClipboardMod",
        L"ReadBool /Settings/CheckForUpdatesAtStartup", L"ReadBool /Settings/ShowDateInTitle",
        L"ReadUInt32 /Settings/LastUpdateCheckDayCount",
        L"ReadUInt32 /Settings/LastUpdateCheck_Low", L"ReadUInt32 /Settings/LastUpdateCheck_High",
        L"ReadBool /ShowNotes", L"ReadBool /MainWindow/AlwaysOnTop",
        L"ReadInt /MainWindow/PositionX", L"ReadInt /MainWindow/PositionY",
        L"ReadString /SkinName", L"ReadUInt32 /SkinColorThemeIndex", L"ReadBool /MainWindow/Visible",
        // clang-format on
    };
    EXPECT_EQ(store.calls, expected);
}

TEST(AppSettingsRead, AnEmptyStoreGivesEveryDefaultAndWritesNothing) {
    RecordingStore empty, stale, fresh;
    AppSettings settings;
    settings.noteAlpha = 1;  // stale values are replaced by defaults
    settings.skinName = L"Old";
    settings.hotKeys[kHotKeyShowNotes] = {1, 1};
    settings.mainWindowVisible = false;
    ReadAppSettings(empty, settings);
    ReadSkinColorThemeIndex(empty, settings, 1);
    ReadMainWindowVisible(empty, settings);
    for (const std::wstring& call : empty.calls) EXPECT_EQ(call.rfind(L"Read", 0), 0u);

    size_t count = 0;
    const SettingKey* keys = SettingKeys(count);
    for (size_t i = 0; i < count; ++i) {
        WriteSetting(stale, settings, keys[i].path);
        WriteSetting(fresh, AppSettings(), keys[i].path);
    }
    EXPECT_EQ(stale.values, fresh.values);
    EXPECT_EQ(fresh.values[L"/LanguageFile"], L"English.ini");
    EXPECT_EQ(fresh.values[L"/Settings/NoteAlpha"], L"128");
    EXPECT_EQ(fresh.values[L"/Settings/SnapGap"], L"15");
    EXPECT_EQ(fresh.values[L"/Settings/HotKeyNewNoteFromClipboard"], L"67");  // Ctrl+Shift+C
    EXPECT_EQ(fresh.values[L"/Settings/HotKeyNewNoteFromClipboardMod"], L"3");
    EXPECT_EQ(fresh.values[L"/MainWindow/PositionX"], L"600");
    EXPECT_EQ(fresh.values[L"/MainWindow/PositionY"], L"24");
    EXPECT_EQ(fresh.values[L"/SkinName"], L"Default");
    EXPECT_EQ(settings.updateCheckDayCount, 7);
}

TEST(AppSettingsRead, StoredValuesAreBroughtIntoRange) {
    RecordingStore store;
    store.values = {{L"/LanguageFile", L""},
                    {L"/SkinName", L""},
                    {L"/Settings/NoteAlpha", L"300"},
                    {L"/Settings/SnapBorder", L"-5"},
                    {L"/MainWindow/PositionX", L"-1200"}};
    AppSettings settings;
    ReadAppSettings(store, settings, [] { return true; });
    EXPECT_EQ(settings.languageFile, L"English.ini");  // empty names fall back
    EXPECT_EQ(settings.skinName, L"Default");
    EXPECT_EQ(settings.noteAlpha, 44);
    EXPECT_EQ(settings.snapBorder, -5);
    EXPECT_EQ(settings.mainWindowX, -1200);
    EXPECT_TRUE(settings.runAtLogOn);

    // The note grid divides by the snap gap, and new notes are placed at three times it.
    const struct {
        const wchar_t* stored;
        int32_t expected;
    } gaps[] = {{L"0", 1}, {L"-7", 1}, {L"100", 100}, {L"2000000000", kMaxSnapGap}};
    for (const auto& c : gaps) {
        store.values[L"/Settings/SnapGap"] = c.stored;
        ReadAppSettings(store, settings);
        EXPECT_EQ(settings.snapGap, c.expected) << TestPaths::Narrow(c.stored);
    }
    // The colour theme must be one the skin has.
    const struct {
        const wchar_t* stored;
        uint32_t count, expected;
    } themes[] = {{L"2", 3, 2}, {L"3", 3, 0}, {L"-1", 3, 0}, {L"0", 0, 0}};
    for (const auto& c : themes) {
        store.values[L"/SkinColorThemeIndex"] = c.stored;
        ReadSkinColorThemeIndex(store, settings, c.count);
        EXPECT_EQ(settings.skinColorThemeIndex, c.expected) << TestPaths::Narrow(c.stored);
    }
}

TEST(AppSettingsWrite, DialogWritesItsEighteenKeysInOrder) {
    RecordingStore store;
    EXPECT_TRUE(WriteDialogSettings(store, AppSettings()));
    const Calls expected = {
        // clang-format off
        L"WriteUInt8 /Settings/NoteAlpha", L"WriteBool /Settings/LayeredWindowEnabled",
        L"WriteBool /Settings/SnapNotes", L"WriteBool /Settings/UseNoteGrid",
        L"WriteBool /Settings/ConfirmDelete", L"WriteBool /Settings/ResizeAfterEdit",
        L"WriteInt /Settings/SnapGap", L"WriteInt /Settings/SnapBorder",
        L"WriteUInt16 /Settings/HotKeyNewNote", L"WriteUInt16 /Settings/HotKeyNewNoteMod",
        L"WriteUInt16 /Settings/HotKeyShowNotes", L"WriteUInt16 /Settings/HotKeyShowNotesMod",
        L"WriteUInt16 /Settings/HotKeyBringNotesToTop",
        L"WriteUInt16 /Settings/HotKeyBringNotesToTopMod",
        L"WriteUInt16 /Settings/HotKeyNewNoteFromClipboard",
        L"WriteUInt16 /Settings/HotKeyNewNoteFromClipboardMod",
        L"WriteBool /Settings/CheckForUpdatesAtStartup", L"WriteBool /Settings/ShowDateInTitle",
        // clang-format on
    };
    EXPECT_EQ(store.calls, expected);

    store.calls.clear();
    EXPECT_TRUE(WriteSetting(store, AppSettings(), L"/MainWindow/PositionX"));
    EXPECT_FALSE(WriteSetting(store, AppSettings(), L"/Settings/LastUpdateCheckDayCount"));
    EXPECT_FALSE(WriteSetting(store, AppSettings(), L"/Settings/Unknown"));
    EXPECT_TRUE(WriteLastUpdateCheck(store, 1, 2));
    EXPECT_EQ(store.calls, (Calls{L"WriteInt /MainWindow/PositionX",
                                  L"WriteUInt32 /Settings/LastUpdateCheck_Low",
                                  L"WriteUInt32 /Settings/LastUpdateCheck_High"}));
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
    AppSettings changed;
    ReadAppSettings(store, changed);
    EXPECT_FALSE(FileIo::FileExists(file));  // a fresh installation writes nothing

    changed.noteAlpha = 255;
    changed.useNoteGrid = true;
    changed.snapBorder = 0;
    changed.hotKeys[kHotKeyShowNotes] = {0x70, 4};
    ASSERT_TRUE(WriteDialogSettings(store, changed));
    ASSERT_TRUE(WriteSetting(store, changed, L"/Settings/LastUpdateCheck_Low"));
    AppSettings back;
    ReadAppSettings(store, back);
    EXPECT_EQ(back.noteAlpha, 255);
    EXPECT_TRUE(back.useNoteGrid);
    EXPECT_EQ(back.snapBorder, 0);
    EXPECT_EQ(back.hotKeys[kHotKeyShowNotes].virtualKey, 0x70);
    EXPECT_EQ(back.hotKeys[kHotKeyShowNotes].modifiers, 4);
    std::string bytes;
    ASSERT_TRUE(FileIo::ReadFile(file, bytes));
    EXPECT_EQ(TextCodec::Decode(bytes).find(L"LastUpdateCheckDayCount"), std::wstring::npos);
}

}  // namespace
