#include "store/AppSettings.h"

#include <type_traits>

namespace {

template <auto Member>
SettingField Field(AppSettings& s) {
    return &(s.*Member);
}

template <int Index>
SettingField HotKeyCode(AppSettings& s) {
    return &s.hotKeys[Index].virtualKey;
}

template <int Index>
SettingField HotKeyModifiers(AppSettings& s) {
    return &s.hotKeys[Index].modifiers;
}

using T = SettingType;
using S = AppSettings;

const SettingKey kKeys[] = {
    // The language comes first: the recycle bin's file name is one of its texts.
    {L"/LanguageFile", T::String, Field<&S::languageFile>, false},
    {L"/Settings/NoteAlpha", T::UInt8, Field<&S::noteAlpha>, true},
    {L"/Settings/LayeredWindowEnabled", T::Bool, Field<&S::layeredWindowEnabled>, true},
    {L"/Settings/SnapNotes", T::Bool, Field<&S::snapNotes>, true},
    {L"/Settings/UseNoteGrid", T::Bool, Field<&S::useNoteGrid>, true},
    {L"/Settings/ConfirmDelete", T::Bool, Field<&S::confirmDelete>, true},
    {L"/Settings/ResizeAfterEdit", T::Bool, Field<&S::resizeAfterEdit>, true},
    {L"/Settings/SnapGap", T::Long, Field<&S::snapGap>, true},
    {L"/Settings/SnapBorder", T::Long, Field<&S::snapBorder>, true},
    {L"/Settings/HotKeyNewNote", T::UInt16, HotKeyCode<kHotKeyNewNote>, true},
    {L"/Settings/HotKeyNewNoteMod", T::UInt16, HotKeyModifiers<kHotKeyNewNote>, true},
    {L"/Settings/HotKeyShowNotes", T::UInt16, HotKeyCode<kHotKeyShowNotes>, true},
    {L"/Settings/HotKeyShowNotesMod", T::UInt16, HotKeyModifiers<kHotKeyShowNotes>, true},
    {L"/Settings/HotKeyBringNotesToTop", T::UInt16, HotKeyCode<kHotKeyBringNotesToTop>, true},
    {L"/Settings/HotKeyBringNotesToTopMod", T::UInt16, HotKeyModifiers<kHotKeyBringNotesToTop>,
     true},
    {L"/Settings/HotKeyNewNoteFromClipboard", T::UInt16, HotKeyCode<kHotKeyNewNoteFromClipboard>,
     true},
    {L"/Settings/HotKeyNewNoteFromClipboardMod", T::UInt16,
     HotKeyModifiers<kHotKeyNewNoteFromClipboard>, true},
    {L"/Settings/HotKeyFindNotes", T::UInt16, HotKeyCode<kHotKeyFindNotes>, true},
    {L"/Settings/HotKeyFindNotesMod", T::UInt16, HotKeyModifiers<kHotKeyFindNotes>, true},
    {L"/Settings/CheckForUpdatesAtStartup", T::Bool, Field<&S::checkForUpdatesAtStartup>, true},
    {L"/Settings/ShowDateInTitle", T::Bool, Field<&S::showDateInTitle>, true},
    {L"/Settings/LastUpdateCheckDayCount", T::UInt32, Field<&S::updateCheckDayCount>, false},
    {L"/Settings/LastUpdateCheck_Low", T::UInt32, Field<&S::lastUpdateCheckLow>, false},
    {L"/Settings/LastUpdateCheck_High", T::UInt32, Field<&S::lastUpdateCheckHigh>, false},
    {L"/ShowNotes", T::Bool, Field<&S::showNotes>, false},
    {L"/MainWindow/AlwaysOnTop", T::Bool, Field<&S::mainWindowAlwaysOnTop>, false},
    {L"/MainWindow/PositionX", T::Int, Field<&S::mainWindowX>, false},
    {L"/MainWindow/PositionY", T::Int, Field<&S::mainWindowY>, false},
    {L"/SkinName", T::String, Field<&S::skinName>, false},
    // Read after the skin is loaded.
    {L"/SkinColorThemeIndex", T::UInt32, Field<&S::skinColorThemeIndex>, false},
    {L"/MainWindow/Visible", T::Bool, Field<&S::mainWindowVisible>, false},
};

constexpr size_t kKeyCount = sizeof(kKeys) / sizeof(kKeys[0]);
constexpr size_t kStartupKeyCount = kKeyCount - 2;

const wchar_t kDayCountPath[] = L"/Settings/LastUpdateCheckDayCount";

// Sets the field to its default, then reads the key over it.
void ReadKey(ValueStore& store, const SettingKey& key, AppSettings& settings) {
    static const AppSettings kDefaults;
    SettingField field = key.field(settings);
    SettingField fallback = key.field(const_cast<AppSettings&>(kDefaults));
    std::visit(
        [&](auto* target) {
            using V = std::remove_pointer_t<decltype(target)>;
            *target = *std::get<V*>(fallback);
            switch (key.type) {
                case T::Bool:
                    if constexpr (std::is_same_v<V, bool>) store.ReadBool(key.path, *target);
                    break;
                case T::UInt8:
                    if constexpr (std::is_same_v<V, uint8_t>) store.ReadUInt8(key.path, *target);
                    break;
                case T::UInt16:
                    if constexpr (std::is_same_v<V, uint16_t>) store.ReadUInt16(key.path, *target);
                    break;
                case T::UInt32:
                    if constexpr (std::is_same_v<V, uint32_t>) {
                        store.ReadUInt32(key.path, *target);
                    } else if constexpr (std::is_same_v<V, int32_t>) {
                        // The day count is signed but read with the unsigned reader.
                        uint32_t v = static_cast<uint32_t>(*target);
                        if (store.ReadUInt32(key.path, v)) *target = static_cast<int32_t>(v);
                    }
                    break;
                case T::Int:
                    if constexpr (std::is_same_v<V, int32_t>) store.ReadInt(key.path, *target);
                    break;
                case T::Long:
                    if constexpr (std::is_same_v<V, int32_t>) store.ReadLong(key.path, *target);
                    break;
                case T::String:
                    if constexpr (std::is_same_v<V, std::wstring>) {
                        store.ReadString(key.path, *target);
                        // An empty text counts as missing.
                        if (target->empty()) *target = *std::get<V*>(fallback);
                    }
                    break;
            }
        },
        field);
}

bool WriteKey(ValueStore& store, const SettingKey& key, const AppSettings& settings) {
    SettingField field = key.field(const_cast<AppSettings&>(settings));
    return std::visit(
        [&](auto* source) -> bool {
            using V = std::remove_pointer_t<decltype(source)>;
            if constexpr (std::is_same_v<V, bool>) {
                return store.WriteBool(key.path, *source);
            } else if constexpr (std::is_same_v<V, uint8_t>) {
                return store.WriteUInt8(key.path, *source);
            } else if constexpr (std::is_same_v<V, uint16_t>) {
                return store.WriteUInt16(key.path, *source);
            } else if constexpr (std::is_same_v<V, uint32_t>) {
                return store.WriteUInt32(key.path, *source);
            } else if constexpr (std::is_same_v<V, int32_t>) {
                return store.WriteInt(key.path, *source);
            } else {
                return store.WriteString(key.path, *source);
            }
        },
        field);
}

}  // namespace

const SettingKey* SettingKeys(size_t& count) {
    count = kKeyCount;
    return kKeys;
}

const SettingKey* FindSettingKey(const std::wstring& path) {
    for (const SettingKey& key : kKeys) {
        if (path == key.path) return &key;
    }
    return nullptr;
}

void ReadAppSettings(ValueStore& store, AppSettings& settings,
                     const std::function<bool()>& readRunAtLogOn) {
    for (size_t i = 0; i < kStartupKeyCount; ++i) {
        ReadKey(store, kKeys[i], settings);
        if (readRunAtLogOn && std::wstring(kKeys[i].path) == L"/Settings/ResizeAfterEdit") {
            settings.runAtLogOn = readRunAtLogOn();
        }
    }
    if (settings.snapGap < 1) settings.snapGap = 1;
    if (settings.snapGap > kMaxSnapGap) settings.snapGap = kMaxSnapGap;
}

void ReadSkinColorThemeIndex(ValueStore& store, AppSettings& settings, uint32_t themeCount) {
    ReadKey(store, *FindSettingKey(L"/SkinColorThemeIndex"), settings);
    if (settings.skinColorThemeIndex >= themeCount) settings.skinColorThemeIndex = 0;
}

void ReadMainWindowVisible(ValueStore& store, AppSettings& settings) {
    ReadKey(store, *FindSettingKey(L"/MainWindow/Visible"), settings);
}

bool WriteSetting(ValueStore& store, const AppSettings& settings, const std::wstring& path) {
    const SettingKey* key = FindSettingKey(path);
    if (!key || path == kDayCountPath) return false;
    return WriteKey(store, *key, settings);
}

bool WriteDialogSettings(ValueStore& store, const AppSettings& settings) {
    bool ok = true;
    for (const SettingKey& key : kKeys) {
        if (key.dialog) ok = WriteKey(store, key, settings) && ok;
    }
    return ok;
}

void ApplyDialogSettings(const AppSettings& fromDialog, AppSettings& settings) {
    for (const SettingKey& key : kKeys) {
        if (!key.dialog) continue;
        SettingField to = key.field(settings);
        SettingField from = key.field(const_cast<AppSettings&>(fromDialog));
        std::visit(
            [&](auto* target) {
                using V = std::remove_pointer_t<decltype(target)>;
                *target = *std::get<V*>(from);
            },
            to);
    }
    // Not a key of Settings.ini, but the dialog's to set.
    settings.runAtLogOn = fromDialog.runAtLogOn;
}

bool WriteLanguageFile(ValueStore& store, const std::wstring& fileName) {
    return store.WriteString(L"/LanguageFile", fileName);
}

bool WriteSkinName(ValueStore& store, const std::wstring& skinName) {
    return store.WriteString(L"/SkinName", skinName);
}

bool WriteSkinColorThemeIndex(ValueStore& store, uint32_t index) {
    return store.WriteUInt32(L"/SkinColorThemeIndex", index);
}

bool WriteShowNotes(ValueStore& store, bool show) {
    return store.WriteBool(L"/ShowNotes", show);
}

bool WriteMainWindowAlwaysOnTop(ValueStore& store, bool onTop) {
    return store.WriteBool(L"/MainWindow/AlwaysOnTop", onTop);
}

bool WriteMainWindowVisible(ValueStore& store, bool visible) {
    return store.WriteBool(L"/MainWindow/Visible", visible);
}

bool WriteMainWindowPosition(ValueStore& store, int32_t x, int32_t y) {
    const bool okX = store.WriteInt(L"/MainWindow/PositionX", x);
    const bool okY = store.WriteInt(L"/MainWindow/PositionY", y);
    return okX && okY;
}

bool WriteLastUpdateCheck(ValueStore& store, uint32_t low, uint32_t high) {
    const bool okLow = store.WriteUInt32(L"/Settings/LastUpdateCheck_Low", low);
    const bool okHigh = store.WriteUInt32(L"/Settings/LastUpdateCheck_High", high);
    return okLow && okHigh;
}
