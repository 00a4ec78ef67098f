#pragma once
// The user's settings as the program holds them in memory, the keys of
// Settings.ini they come from, and the order in which they are read at start-up.
// Each setting is written at the moment it changes; there is no "save all".

#include <cstdint>
#include <functional>
#include <string>
#include <variant>

#include "store/NoteData.h"
#include "store/ValueStore.h"

// A hot key as the hot-key control reports it: a virtual-key code and the
// control's modifier bits (1 Shift, 2 Ctrl, 4 Alt, 8 extended key).
struct HotKeySetting {
    uint16_t virtualKey = 0;
    uint16_t modifiers = 0;
};

enum HotKeyIndex : int {
    kHotKeyNewNote = 0,
    kHotKeyShowNotes = 1,
    kHotKeyBringNotesToTop = 2,
    kHotKeyNewNoteFromClipboard = 3,
    kHotKeyFindNotes = 4,
    kHotKeyCount = 5,
};

// Default-constructed, the record holds every default.
struct AppSettings {
    // Owned by the settings dialog: a copy goes to the dialog, and its result
    // comes back through ApplyDialogSettings.
    uint8_t noteAlpha = 128;
    bool layeredWindowEnabled = true;
    bool snapNotes = true;
    bool useNoteGrid = false;
    bool confirmDelete = true;
    bool resizeAfterEdit = true;
    bool runAtLogOn = false;  // the per-user Run key, not Settings.ini
    int32_t snapGap = 15;
    int32_t snapBorder = 15;
    HotKeySetting hotKeys[kHotKeyCount] = {
        {78, 3},
        {83, 3},
        {84, 3},
        {67, 3},   // Ctrl+Shift+N/S/T/C
        {70, 7}};  // Ctrl+Shift+Alt+F: Ctrl+Shift+F is find-in-files in many editors
    bool checkForUpdatesAtStartup = true;
    bool showDateInTitle = true;

    std::wstring skinName = L"Default";
    bool hasCustomDefaultFont = false;  // kept in Notes.dat, not Settings.ini
    LogFontData customDefaultFont;
    // FILETIME of the last recorded update check, UTC.
    uint32_t lastUpdateCheckLow = 0;
    uint32_t lastUpdateCheckHigh = 0;
    int32_t updateCheckDayCount = 7;  // edited by hand only, never written

    // Start-up and window state kept in Settings.ini.
    std::wstring languageFile = L"English.ini";
    bool showNotes = true;
    bool mainWindowAlwaysOnTop = true;
    int32_t mainWindowX = 600;
    int32_t mainWindowY = 24;
    uint32_t skinColorThemeIndex = 0;
    bool mainWindowVisible = true;
};

// The store operation a key is read and written with.
enum class SettingType { Bool, UInt8, UInt16, UInt32, Int, Long, String };

using SettingField = std::variant<bool*, uint8_t*, uint16_t*, uint32_t*, int32_t*, std::wstring*>;

struct SettingKey {
    const wchar_t* path;
    SettingType type;
    SettingField (*field)(AppSettings&);  // the default is the field of AppSettings{}
    bool dialog;                          // one of the keys the settings dialog writes
};

// Every key of Settings.ini in start-up read order, "/SkinColorThemeIndex" and
// "/MainWindow/Visible" last; those two are read only after the skin is loaded.
const SettingKey* SettingKeys(size_t& count);
const SettingKey* FindSettingKey(const std::wstring& path);

// The values a hand-edited file can hold that the program cannot work with are
// brought into range: a snap gap below 1 becomes 1 (the note grid divides by it),
// above kMaxSnapGap becomes kMaxSnapGap (new notes are placed at 3 × the gap).
constexpr int32_t kMaxSnapGap = 1000;

// Sets each default and reads each key from "/LanguageFile" to "/SkinName" in
// start-up order. The run-at-log-on state is asked of readRunAtLogOn right after
// "/Settings/ResizeAfterEdit"; without it the field keeps its value.
void ReadAppSettings(ValueStore& store, AppSettings& settings,
                     const std::function<bool()>& readRunAtLogOn = nullptr);

// After the skin is loaded: the colour theme (0 unless below themeCount) ...
void ReadSkinColorThemeIndex(ValueStore& store, AppSettings& settings, uint32_t themeCount);
// ... and, last, whether the main window is shown.
void ReadMainWindowVisible(ValueStore& store, AppSettings& settings);

// Writes one key from the record; false for a path that is not a settings key or
// "/Settings/LastUpdateCheckDayCount", which the program never writes.
bool WriteSetting(ValueStore& store, const AppSettings& settings, const std::wstring& path);

// Writes the eighteen keys of the settings dialog, all of them, in table order;
// true when every write succeeded.
bool WriteDialogSettings(ValueStore& store, const AppSettings& settings);

// Copies the fields the settings dialog owns, leaving state that may have changed
// while the dialog was open (shown notes, window position, ...) alone.
void ApplyDialogSettings(const AppSettings& fromDialog, AppSettings& settings);

// Writers for the keys that change outside the settings dialog.
bool WriteLanguageFile(ValueStore& store, const std::wstring& fileName);
bool WriteSkinName(ValueStore& store, const std::wstring& skinName);
bool WriteSkinColorThemeIndex(ValueStore& store, uint32_t index);
bool WriteShowNotes(ValueStore& store, bool show);
bool WriteMainWindowAlwaysOnTop(ValueStore& store, bool onTop);
bool WriteMainWindowVisible(ValueStore& store, bool visible);
bool WriteMainWindowPosition(ValueStore& store, int32_t x, int32_t y);
bool WriteLastUpdateCheck(ValueStore& store, uint32_t low, uint32_t high);
