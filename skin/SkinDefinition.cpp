#include "skin/SkinDefinition.h"

#include <algorithm>

#include "skin/SkinTint.h"
#include "store/ValueStore.h"

std::wstring SkinFolderPath(const std::wstring& programFolder, const std::wstring& skinName) {
    return programFolder + L"Skins\\" + (skinName.empty() ? L"Default" : skinName) + L"\\";
}

SkinColor ReadColor(ValueStore& store, const std::wstring& section) {
    int32_t r = 0, g = 0, b = 0;
    store.ReadLong(section + L"/R", r);
    store.ReadLong(section + L"/G", g);
    store.ReadLong(section + L"/B", b);
    return MakeSkinColor(static_cast<uint32_t>(r), static_cast<uint32_t>(g),
                         static_cast<uint32_t>(b));
}

SkinRect ReadBorders(ValueStore& store, const std::wstring& section) {
    SkinRect r;
    store.ReadLong(section + L"/LeftBorder", r.left);
    store.ReadLong(section + L"/TopBorder", r.top);
    store.ReadLong(section + L"/RightBorder", r.right);
    store.ReadLong(section + L"/BottomBorder", r.bottom);
    return r;
}

void ReadButtonPlacement(ValueStore& store, const std::wstring& name, ButtonDef& def) {
    def.visible = false;
    store.ReadBool(L"/" + name + L"/Visible", def.visible);
    if (!def.visible) return;
    store.ReadInt(L"/" + name + L"/X", def.x);
    store.ReadInt(L"/" + name + L"/Y", def.y);
}

std::wstring FitFaceName(const std::wstring& face) {
    if (face.size() <= kMaxFaceNameLength) return face;
    size_t length = kMaxFaceNameLength;
    const wchar_t last = face[length - 1];
    if (last >= 0xD800 && last <= 0xDBFF) --length;  // keep the pair whole or drop it
    return face.substr(0, length);
}

void ReadSkinDefinition(ValueStore& store, SkinDefinition& def) {
    {
        SkinDefinition fresh;
        fresh.background = def.background;
        fresh.mask = def.mask;
        fresh.moreTextBitmap = def.moreTextBitmap;
        fresh.priorityBitmaps = def.priorityBitmaps;
        fresh.menuButton.bitmaps = def.menuButton.bitmaps;
        fresh.deleteButton.bitmaps = def.deleteButton.bitmaps;
        fresh.backgroundWidth = def.backgroundWidth;
        fresh.backgroundHeight = def.backgroundHeight;
        def = std::move(fresh);
    }
    store.ReadString(L"/Skin/Name", def.name);
    store.ReadBool(L"/NoteBackground/FixedSize", def.fixedSize);
    def.backgroundBorders = ReadBorders(store, L"/NoteBackground");
    def.maskInsets = ReadBorders(store, L"/NoteMask");

    int32_t x = 0, y = 0, width = 0, height = 0;
    store.ReadInt(L"/NoteResize/PositionX", x);
    store.ReadInt(L"/NoteResize/PositionY", y);
    store.ReadLong(L"/NoteResize/Width", width);
    store.ReadLong(L"/NoteResize/Height", height);
    def.resizeRect = SkinRect{x, y, SaturatedSum(x, width), SaturatedSum(y, height)};

    def.editInsets = ReadBorders(store, L"/NoteEdit");

    // Only a missing key gives the defaults; an empty face or a size of 0 is kept.
    store.ReadString(L"/NoteFont/Face", def.font.face);
    def.font.face = FitFaceName(def.font.face);
    store.ReadLong(L"/NoteFont/PointSize", def.font.pointSize);
    store.ReadBool(L"/NoteFont/Bold", def.font.bold);
    store.ReadBool(L"/NoteFont/Italic", def.font.italic);

    store.ReadInt(L"/MoreText/PositionX", def.moreTextPos.x);
    store.ReadInt(L"/MoreText/PositionY", def.moreTextPos.y);

    uint32_t count = 0;
    store.ReadUInt32(L"/ColorThemes/Count", count);
    if (count > kMaxColorThemes) count = kMaxColorThemes;
    def.colorThemes.clear();
    for (uint32_t i = 0; i < count; ++i) {
        const std::wstring section = L"/ColorTheme" + std::to_wstring(i);
        ColorTheme theme;
        theme.color = ReadColor(store, section);
        store.ReadString(section + L"/Name", theme.name);
        if (theme.name.empty()) theme.name = def.name;
        store.ReadBool(section + L"/Dark", theme.dark);
        int32_t text[3] = {-1, -1, -1};
        store.ReadLong(section + L"/TextR", text[0]);
        store.ReadLong(section + L"/TextG", text[1]);
        store.ReadLong(section + L"/TextB", text[2]);
        if (text[0] >= 0 || text[1] >= 0 || text[2] >= 0) {
            theme.ownTextColor = true;
            // A missing channel is 0, as in ReadColor.
            theme.textColor =
                MakeSkinColor(std::max(text[0], 0), std::max(text[1], 0), std::max(text[2], 0));
        }
        def.colorThemes.push_back(std::move(theme));
    }
    if (def.colorThemes.empty()) def.colorThemes.push_back(ColorTheme{kWhite, def.name});

    def.textColor = ReadColor(store, L"/TextColor");
    def.textBackgroundColor = ReadColor(store, L"/TextBackgroundColor");

    ReadButtonPlacement(store, L"MenuButton", def.menuButton);
    ReadButtonPlacement(store, L"DeleteButton", def.deleteButton);

    store.ReadInt(L"/NotePriority/X", def.priorityPos.x);
    store.ReadInt(L"/NotePriority/Y", def.priorityPos.y);
    store.ReadLong(L"/MainWindow/ButtonX", def.mainButtonPos.x);
    store.ReadLong(L"/MainWindow/ButtonY", def.mainButtonPos.y);
}

uint32_t ResolveThemeIndex(uint32_t stored, size_t themeCount) {
    return stored < themeCount ? stored : 0;
}

SkinColor ThemeColor(const SkinDefinition& def, uint32_t themeIndex) {
    return themeIndex < def.colorThemes.size() ? def.colorThemes[themeIndex].color : kWhite;
}

void ApplyThemeToColors(SkinDefinition& def, SkinColor tint) {
    def.themedTextColor = Multiply(def.textColor, tint);
    def.themedTextBackgroundColor = Multiply(def.textBackgroundColor, tint);
}

void ApplyThemeColors(SkinDefinition& def, uint32_t themeIndex) {
    ApplyThemeToColors(def, ThemeColor(def, themeIndex));
    if (themeIndex < def.colorThemes.size() && def.colorThemes[themeIndex].ownTextColor)
        def.themedTextColor = def.colorThemes[themeIndex].textColor;
}

uint32_t SystemThemeIndex(const SkinDefinition& def, bool systemDark) {
    for (size_t i = 0; i < def.colorThemes.size(); ++i)
        if (def.colorThemes[i].dark == systemDark) return static_cast<uint32_t>(i);
    return 0;
}
