#include "store/DamagedFile.h"

#include "store/FileIo.h"
#include "store/IniFile.h"
#include "store/NotesFile.h"

bool SetFileAside(const std::wstring& path, const SystemTimeData& localNow) {
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const std::wstring backup = BackupPathFor(path, localNow, attempt);
        if (FileIo::FileExists(backup)) continue;
        if (!FileIo::CopyNewFile(path, backup)) return false;
        if (FileIo::RemoveFile(path)) return true;
        // The copy stays: a second one would only pile up on the next start.
        return false;
    }
    return false;
}

bool SetAsideDamagedIni(const std::wstring& path, const SystemTimeData& localNow) {
    const IniFileHealth health = CheckIniFile(path);
    if (health != IniFileHealth::TooLarge && health != IniFileHealth::NotText) return false;
    return SetFileAside(path, localNow);
}
