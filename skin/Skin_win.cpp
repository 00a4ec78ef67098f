#include "skin/Skin_win.h"

#include <algorithm>

#include "store/ValueStore.h"

namespace {

void LoadButtonBitmaps(const std::wstring& folder, const std::wstring& prefix, SkinColor tint,
                       ButtonBitmaps& set) {
    set.Clear();
    set.normal = LoadSkinBitmap(folder, prefix + SkinFiles::kButtonStates[0], tint);
    set.hover = LoadSkinBitmap(folder, prefix + SkinFiles::kButtonStates[1], tint);
    set.down = LoadSkinBitmap(folder, prefix + SkinFiles::kButtonStates[2], tint);
    set.disabled = LoadSkinBitmap(folder, prefix + SkinFiles::kButtonStates[3], tint);
}

void ReadButtonDef(ValueStore& store, const std::wstring& folder, const std::wstring& name,
                   SkinColor tint, ButtonDef& def) {
    ReadButtonPlacement(store, name, def);
    if (def.visible) LoadButtonBitmaps(folder, L"Note/" + name, tint, def.bitmaps);
}

}  // namespace

Skin::~Skin() {
    Clear();
}

void Skin::Clear() {
    background.reset();
    mask.reset();
    moreTextBitmap.reset();
    for (SkinBitmapRef& slot : priorityBitmaps) slot.reset();
    menuButton.bitmaps.Clear();
    deleteButton.bitmaps.Clear();
    mainWindowBackground.reset();
    mainWindowButton.Clear();
    noteFont.Reset();
    textBackgroundBrush.Reset();
}

std::vector<SkinBitmap*> Skin::Bitmaps() const {
    std::vector<SkinBitmap*> list;
    auto add = [&list](const SkinBitmapRef& bitmap) {
        if (bitmap && std::find(list.begin(), list.end(), bitmap.get()) == list.end())
            list.push_back(bitmap.get());
    };
    auto addSet = [&add](const ButtonBitmaps& set) {
        for (const SkinBitmapRef* state : {&set.normal, &set.hover, &set.down, &set.disabled})
            add(*state);
    };
    add(background);
    add(mask);
    add(moreTextBitmap);
    for (const SkinBitmapRef& slot : priorityBitmaps) add(slot);
    addSet(menuButton.bitmaps);
    addSet(deleteButton.bitmaps);
    add(mainWindowBackground);
    addSet(mainWindowButton);
    return list;
}

void Skin::TintBitmaps(HDC dc, SkinColor color) const {
    for (SkinBitmap* bitmap : Bitmaps()) {
        if (bitmap->Handle()) bitmap->Tint(dc, color);
    }
}

LOGFONTW MakeNoteLogFont(const SkinFontInfo& font, int pixelsPerInchY) {
    LOGFONTW logFont = {};
    logFont.lfHeight = -MulDiv(font.pointSize, pixelsPerInchY, 72);
    logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = font.italic ? 1 : 0;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = ANTIALIASED_QUALITY;
    // The face was cut to fit when it was read; copy no more than the array holds.
    const size_t length = std::min(font.face.size(), static_cast<size_t>(LF_FACESIZE - 1));
    for (size_t i = 0; i < length; ++i) logFont.lfFaceName[i] = font.face[i];
    return logFont;
}

void ApplyThemeToSkinColors(Skin& skin, uint32_t themeIndex) {
    ApplyThemeColors(skin, themeIndex);
    skin.textBackgroundBrush.Reset(CreateSolidBrush(skin.themedTextBackgroundColor));
}

bool LoadSkin(Skin& skin, ValueStore& skinIni, ValueStore& settings, const SkinLoadOptions& options,
              uint32_t& themeIndex) {
    skin.Clear();
    skin.backgroundWidth = kDefaultBackgroundWidth;
    skin.backgroundHeight = kDefaultBackgroundHeight;
    ReadSkinDefinition(skinIni, skin);

    const WindowDc dc(options.window);
    const int pixelsPerInch = dc ? GetDeviceCaps(dc.Get(), LOGPIXELSY) : 96;
    skin.noteLogFont = MakeNoteLogFont(skin.font, pixelsPerInch);
    skin.noteFont.Reset(CreateFontIndirectW(&skin.noteLogFont));

    std::wstring storedText;
    settings.ReadString(L"/SkinColorThemeIndex", storedText);
    const bool chosen = !storedText.empty();
    if (chosen) {
        uint32_t stored = 0;
        settings.ReadUInt32(L"/SkinColorThemeIndex", stored);
        themeIndex = ResolveThemeIndex(stored, skin.colorThemes.size());
    } else {
        themeIndex = SystemThemeIndex(skin, options.systemDark);
    }
    const SkinColor tint = ThemeColor(skin, themeIndex);
    ApplyThemeToSkinColors(skin, themeIndex);

    // Every bitmap is tinted as it loads, so the theme is known before any of them.
    const std::wstring& folder = options.folder;
    ReadButtonDef(skinIni, folder, L"MenuButton", tint, skin.menuButton);
    ReadButtonDef(skinIni, folder, L"DeleteButton", tint, skin.deleteButton);
    skin.background = LoadSkinBitmap(folder, SkinFiles::kBackground, tint);
    if (skin.background) {
        skin.backgroundWidth = skin.background->Width();
        skin.backgroundHeight = skin.background->Height();
    }
    if (options.layeredWindows) skin.mask = LoadSkinBitmap(folder, SkinFiles::kMask, tint);
    for (size_t i = 0; i < skin.priorityBitmaps.size(); ++i)
        skin.priorityBitmaps[i] = LoadSkinBitmap(folder, SkinFiles::kPriority[i], tint);
    skin.moreTextBitmap = LoadSkinBitmap(folder, SkinFiles::kMoreText, tint);
    skin.mainWindowBackground = LoadSkinBitmap(folder, SkinFiles::kMainBackground, tint);
    LoadButtonBitmaps(folder, L"MainWindow/Button", tint, skin.mainWindowButton);
    return chosen;
}

bool SystemAppsDark() {
    DWORD light = 1;
    DWORD size = sizeof(light);
    const LSTATUS status = RegGetValueW(
        HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
        L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &light, &size);
    return status == ERROR_SUCCESS && light == 0;
}

std::wstring SkinDisplayName(const std::wstring& iniPath) {
    wchar_t buffer[1024] = {};
    GetPrivateProfileStringW(L"Skin", L"Name", L"", buffer, 1024, iniPath.c_str());
    if (buffer[0] == L'\0') return L"(((Name)))";
    return buffer;
}
