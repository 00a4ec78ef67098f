#include "store/RecycleBin_win.h"

#include <windows.h>
#include <shellapi.h>

namespace RecycleBin {

DWORD OpenWithTextAssociation(const std::wstring& path) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // The class names the association to use; the file's name plays no part.
    info.fMask = SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpClass = L".txt";
    info.lpVerb = L"open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info)) return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? ERROR_NO_ASSOCIATION : error;
}

DWORD OpenInNotepad(const std::wstring& path) {
    // Notepad comes with the system, and is taken from the system folder, never
    // from wherever the search path leads.
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return ERROR_PATH_NOT_FOUND;
    const std::wstring notepad = std::wstring(system) + L"\\notepad.exe";
    const std::wstring argument = L"\"" + path + L"\"";
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", notepad.c_str(), argument.c_str(), nullptr, SW_SHOWNORMAL));
    if (result > 32) return ERROR_SUCCESS;
    return result == SE_ERR_NOASSOC ? ERROR_NO_ASSOCIATION : static_cast<DWORD>(result);
}

bool OpenAsTextFile(const std::wstring& path) {
    return OpenWithTextAssociation(path) == ERROR_SUCCESS || OpenInNotepad(path) == ERROR_SUCCESS;
}

}  // namespace RecycleBin
