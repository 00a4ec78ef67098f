#include "store/Folders_win.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "base/Handles_win.h"
#include "base/ProgramInfo.h"
#include "store/RunAtLogOn.h"

std::wstring ExecutablePath() {
    // GetModuleFileNameW truncates silently when the buffer is short, so grow it
    // until the answer fits; paths may pass MAX_PATH on systems with long paths on.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::wstring();
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        if (buffer.size() >= 32768) return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring AppDataFolder() {
    static const std::wstring folder = [] {
        wchar_t base[MAX_PATH] = {};
        SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base);
        std::wstring dir = std::wstring(base) + L"\\" + ProgramInfo::kProductName;
        // An existing folder or a failure shows later as files that cannot be written.
        CreateDirectoryW(dir.c_str(), nullptr);
        return dir + L"\\";
    }();
    return folder;
}

std::wstring ProgramFolder() {
    static const std::wstring folder = [] {
        std::wstring path = ExecutablePath();
        size_t slash = path.find_last_of(L"\\/");
        if (slash == std::wstring::npos) return std::wstring();
        return path.substr(0, slash + 1);
    }();
    return folder;
}

namespace {

bool WriteRunCommand(HKEY runKey) {
    const std::wstring path = ExecutablePath();
    if (path.empty()) return false;
    const std::wstring command = RunAtLogOnCommand(path);
    const DWORD size = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(runKey, ProgramInfo::kProductName, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(command.c_str()), size) == ERROR_SUCCESS;
}

}  // namespace

bool IsRunAtLogOn() {
    RegistryKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                      key.Receive()) != ERROR_SUCCESS &&
        RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_QUERY_VALUE, key.Receive()) !=
            ERROR_SUCCESS) {
        return false;
    }
    // Any data means "on", a stale path too. The unquoted path of this very
    // program, as older versions wrote it, is the same setting: it is written
    // again with quotes, so that the next log-on starts the program cleanly.
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    const LSTATUS read = RegQueryValueExW(key.Get(), ProgramInfo::kProductName, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &size);
    if (read != ERROR_SUCCESS && read != ERROR_MORE_DATA) return false;
    if (read == ERROR_SUCCESS && type == REG_SZ && IsUnquotedRunCommandOf(data, ExecutablePath())) {
        WriteRunCommand(key.Get());
    }
    return true;
}

bool SetRunAtLogOn(bool on) {
    RegistryKey key;
    if (on) {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            key.Receive(), nullptr) != ERROR_SUCCESS) {
            return false;
        }
        return WriteRunCommand(key.Get());
    }
    LSTATUS opened = RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_SET_VALUE, key.Receive());
    if (opened == ERROR_FILE_NOT_FOUND) return true;  // no key, so no value either
    if (opened != ERROR_SUCCESS) return false;
    LSTATUS deleted = RegDeleteValueW(key.Get(), ProgramInfo::kProductName);
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

namespace {

std::wstring& LastSaveFolder() {
    static std::wstring folder;
    return folder;
}

}  // namespace

std::wstring SaveDialogFolder() {
    if (!LastSaveFolder().empty()) return LastSaveFolder();
    wchar_t documents[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, documents)))
        return L"";
    return documents;
}

std::wstring InFolder(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || folder.back() == L'\\' || folder.back() == L'/') return folder + name;
    return folder + L"\\" + name;
}

void RememberSaveDialogFolder(const std::wstring& path) {
    if (path.empty()) {
        LastSaveFolder().clear();
        return;
    }
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos || slash == 0) return;
    // A drive's root keeps its backslash: "C:" alone means that drive's
    // current folder.
    LastSaveFolder() = path.substr(0, path[slash - 1] == L':' ? slash + 1 : slash);
}
