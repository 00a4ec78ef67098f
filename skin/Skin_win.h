#pragma once
// The loaded skin of one run: its Skin.ini values, its bitmaps, the note font
// and the text background brush.

#include <windows.h>

#include <string>
#include <vector>

#include "base/Handles_win.h"
#include "skin/SkinBitmap_win.h"
#include "skin/SkinDefinition.h"

class ValueStore;

struct Skin : SkinDefinition {
    Skin() = default;
    ~Skin();
    Skin(const Skin&) = delete;
    Skin& operator=(const Skin&) = delete;

    OwnedFont noteFont;
    LOGFONTW noteLogFont = {};
    OwnedBrush textBackgroundBrush;

    // The main window's parts, kept here for the application to take.
    SkinBitmapRef mainWindowBackground;
    ButtonBitmaps mainWindowButton;

    // Lets go of every bitmap, the font and the brush.
    void Clear();

    // The bitmaps this skin loaded and still holds, each once; windows that
    // show them share the same objects.
    std::vector<SkinBitmap*> Bitmaps() const;
    // Tints every bitmap of Bitmaps() over its present tint.
    void TintBitmaps(HDC dc, SkinColor color) const;
};

struct SkinLoadOptions {
    std::wstring folder;         // the skin folder, with a trailing separator
    HWND window = nullptr;       // gives the pixels per inch of the note font
    bool layeredWindows = true;  // the mask is loaded only for layered notes
    bool systemDark = false;     // Windows' apps are dark (SystemAppsDark)
};

// Fills skin from Skin.ini (read through skinIni) and the folder's bitmaps.
// themeIndex is read from settings ("/SkinColorThemeIndex") and falls back to 0
// when not below the number of themes; the stored value is not rewritten.
// Without a stored index (or with an empty one) the user has chosen no theme
// and the theme follows Windows (SystemThemeIndex). Returns whether a theme
// was chosen.
bool LoadSkin(Skin& skin, ValueStore& skinIni, ValueStore& settings, const SkinLoadOptions& options,
              uint32_t& themeIndex);

// Whether Windows shows apps dark: AppsUseLightTheme = 0 under
// HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize.
// Light when the value is missing (older Windows).
bool SystemAppsDark();

// The LOGFONTW of a skin font at the device's pixels per inch.
LOGFONTW MakeNoteLogFont(const SkinFontInfo& font, int pixelsPerInchY);

// Recomputes the themed colours and the text background brush for a theme.
void ApplyThemeToSkinColors(Skin& skin, uint32_t themeIndex);

// The display name of a skin for the skin menu: Skin/Name of the Skin.ini at
// iniPath, or "(((Name)))" when it is empty or missing.
std::wstring SkinDisplayName(const std::wstring& iniPath);
