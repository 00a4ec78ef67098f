#pragma once
// The skin as Skin.ini describes it: slice borders, insets, positions, the note
// font, the colours and the colour themes. Bitmap slots share SkinBitmap
// objects that the Windows half of the skin loads; here they are only carried.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "arrange/Rect.h"

class ValueStore;
class SkinBitmap;

// A skin bitmap is shared by the skin and the windows that show it, and goes
// away with its last holder.
using SkinBitmapRef = std::shared_ptr<SkinBitmap>;

// A Windows colour value: red in the low byte, then green, then blue.
using SkinColor = uint32_t;

inline constexpr SkinColor MakeSkinColor(uint32_t r, uint32_t g, uint32_t b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
inline constexpr uint32_t RedOf(SkinColor c) {
    return c & 0xFF;
}
inline constexpr uint32_t GreenOf(SkinColor c) {
    return (c >> 8) & 0xFF;
}
inline constexpr uint32_t BlueOf(SkinColor c) {
    return (c >> 16) & 0xFF;
}

inline constexpr SkinColor kWhite = 0xFFFFFF;
// Reserved colours that themes never tint: the layered windows' colour key and
// the transparent colour of bitmaps drawn over other bitmaps.
inline constexpr SkinColor kMagenta = 0xFF00FF;
inline constexpr SkinColor kCyan = 0xFFFF00;

// Skin.ini is user-editable; a bound keeps a hostile Count from allocating
// without limit, and keeps theme menu identifiers (5000 + index) below 6000.
inline constexpr uint32_t kMaxColorThemes = 1000;
// LOGFONTW holds a face name of 31 code units and its terminator.
inline constexpr size_t kMaxFaceNameLength = 31;

// Background size of a skin without "Note/Background.bmp".
inline constexpr int32_t kDefaultBackgroundWidth = 40;
inline constexpr int32_t kDefaultBackgroundHeight = 50;

using SkinPoint = Point;
using SkinRect = Rect;

struct ColorTheme {
    SkinColor color = kWhite;  // white leaves bitmaps and colours unchanged
    std::wstring name;
    // A dark theme (key Dark) is the one taken while Windows' apps are dark
    // and the user has chosen no theme.
    bool dark = false;
    // A theme's own text colour (keys TextR, TextG, TextB), used as it is: a
    // tint can only darken, and dark paper needs light text.
    bool ownTextColor = false;
    SkinColor textColor = 0;
};

// Four bitmap slots of a push button; any of them may be empty.
struct ButtonBitmaps {
    SkinBitmapRef normal;
    SkinBitmapRef hover;
    SkinBitmapRef down;
    SkinBitmapRef disabled;

    void Clear() { *this = ButtonBitmaps(); }
};

struct ButtonDef {
    bool visible = false;
    ButtonBitmaps bitmaps;
    int32_t x = 0;
    int32_t y = 0;
};

struct SkinFontInfo {
    std::wstring face = L"Arial";
    int32_t pointSize = 10;
    bool bold = false;
    bool italic = false;
};

// Everything of a skin that needs no window system. The Windows `Skin` adds the
// font, the brush and the main window's parts.
struct SkinDefinition {
    std::wstring name;
    SkinBitmapRef background;
    SkinBitmapRef mask;
    int32_t backgroundWidth = kDefaultBackgroundWidth;
    int32_t backgroundHeight = kDefaultBackgroundHeight;
    SkinBitmapRef moreTextBitmap;
    SkinPoint moreTextPos;
    std::array<SkinBitmapRef, 5> priorityBitmaps;  // very high .. very low
    SkinPoint priorityPos;
    bool fixedSize = true;
    SkinRect backgroundBorders;
    SkinRect maskInsets;
    SkinRect editInsets;
    SkinRect resizeRect;
    SkinFontInfo font;
    SkinColor textColor = 0;
    SkinColor textBackgroundColor = 0;
    SkinColor themedTextColor = 0;
    SkinColor themedTextBackgroundColor = 0;
    std::vector<ColorTheme> colorThemes;  // never empty after ReadSkinDefinition
    ButtonDef menuButton;
    ButtonDef deleteButton;
    SkinPoint mainButtonPos;
};

// Relative names of the skin's bitmap files, as they lie in the skin folder.
namespace SkinFiles {
inline constexpr const wchar_t* kBackground = L"Note/Background.bmp";
inline constexpr const wchar_t* kMask = L"Note/Mask.bmp";
inline constexpr const wchar_t* kMoreText = L"Note/MoreText.bmp";
inline constexpr const wchar_t* kPriority[5] = {
    L"Note/Priority/VeryHigh.bmp", L"Note/Priority/High.bmp", L"Note/Priority/Normal.bmp",
    L"Note/Priority/Low.bmp", L"Note/Priority/VeryLow.bmp"};
inline constexpr const wchar_t* kMainBackground = L"MainWindow/Background.bmp";
inline constexpr const wchar_t* kButtonStates[4] = {L"/Normal.bmp", L"/Hover.bmp", L"/Down.bmp",
                                                    L"/Disabled.bmp"};
}  // namespace SkinFiles

// "Skins\" + name + "\" under the program folder (which ends in a separator);
// an empty name means "Default".
std::wstring SkinFolderPath(const std::wstring& programFolder, const std::wstring& skinName);

// Three keys R, G, B of a section, each defaulting to 0, low 8 bits each.
SkinColor ReadColor(ValueStore& store, const std::wstring& section);

// LeftBorder, TopBorder, RightBorder, BottomBorder of a section, each defaulting to 0.
SkinRect ReadBorders(ValueStore& store, const std::wstring& section);

// Visible, and X and Y only when visible. Bitmaps are not touched here.
void ReadButtonPlacement(ValueStore& store, const std::wstring& name, ButtonDef& def);

// A face name cut to what LOGFONTW can hold, never splitting a surrogate pair.
std::wstring FitFaceName(const std::wstring& face);

// Reads every key of Skin.ini into def, in the order the skin format defines,
// starting from the defaults. Bitmap slots are left as they are.
void ReadSkinDefinition(ValueStore& store, SkinDefinition& def);

// A stored theme index that is not below the number of themes falls back to 0.
uint32_t ResolveThemeIndex(uint32_t stored, size_t themeCount);

// The tint colour of a theme index, white when the index is out of range.
SkinColor ThemeColor(const SkinDefinition& def, uint32_t themeIndex);

// Recomputes themedTextColor and themedTextBackgroundColor for a tint colour.
void ApplyThemeToColors(SkinDefinition& def, SkinColor tint);

// The same for a theme: its tint, and its own text colour when it has one.
void ApplyThemeColors(SkinDefinition& def, uint32_t themeIndex);

// The theme for a user who has chosen none: the first dark theme while Windows'
// apps are dark, else the first light one; 0 when the skin has no such theme.
uint32_t SystemThemeIndex(const SkinDefinition& def, bool systemDark);
