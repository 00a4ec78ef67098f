// Skin.ini and language files as the program reads them, through the same
// readers, from a file: any bytes must give a skin within its limits and a
// language table whose every text stays within its cap, in time.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "lang/IniText.h"
#include "lang/LanguageKeys.h"
#include "lang/LanguageTable.h"
#include "skin/SkinDefinition.h"
#include "store/FileIo.h"
#include "store/SettingsStore.h"

namespace {

const std::wstring& ScratchFile() {
    static const std::wstring path = [] {
        const char* tmp = std::getenv("TMPDIR");
        const std::string name = std::string(tmp && *tmp ? tmp : "/tmp") + "/vn-fuzz-skin-" +
                                 std::to_string(getpid()) + ".ini";
        return std::wstring(name.begin(), name.end());
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring& path = ScratchFile();
    if (!FileIo::WriteFileAtomically(path, std::string(reinterpret_cast<const char*>(data), size)))
        return 0;

    LanguageTable table;
    table.Load(path);
    for (size_t n = 0; n < kLanguageKeyCount; ++n) {
        const std::wstring& text = table.TextOf(static_cast<int>(n));
        if (text.empty()) abort();
        // Escapes only shorten a text; a missing key reads as the key in brackets.
        if (text.size() > kIniTextMaxLength && text != MissingText(kLanguageKeys[n])) abort();
    }

    SettingsStore store(path);
    SkinDefinition skin;
    {
        SettingsStore::ReadBurst burst(store);
        ReadSkinDefinition(store, skin);
    }
    if (skin.colorThemes.empty() || skin.colorThemes.size() > kMaxColorThemes) abort();
    if (skin.font.face != FitFaceName(skin.font.face)) abort();
    return 0;
}
