#include "store/RecycleBin_win.h"

#include <windows.h>
#include <shellapi.h>

namespace RecycleBin {

bool OpenAsTextFile(const std::wstring& path) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // The class names the association to use; the file's name plays no part.
    info.fMask = SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpClass = L".txt";
    info.lpVerb = L"open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info)) return true;

    // No program for text files is registered: Notepad comes with the system, and
    // is taken from the system folder, never from wherever the search path leads.
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    const std::wstring notepad = std::wstring(system) + L"\\notepad.exe";
    const std::wstring argument = L"\"" + path + L"\"";
    return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", notepad.c_str(),
                                                   argument.c_str(), nullptr, SW_SHOWNORMAL)) > 32;
}

}  // namespace RecycleBin
