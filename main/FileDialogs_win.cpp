#include "main/FileDialogs_win.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "lang/LanguageTable.h"
#include "store/Folders_win.h"

namespace {

// Room for long paths: the dialogs give back nothing when the buffer is short.
constexpr size_t kPathCapacity = 32768;

bool Ask(HWND owner, const LanguageTable& language, const std::wstring& title, DWORD flags,
         bool save, std::wstring& path, const std::wstring& suggestedName = L"") {
    // The language writes the filter as description;pattern;...; the dialogs
    // want NULs between the parts and two at the end.
    const std::wstring filter = language.TextWithNuls(kTextFilesFilter, L';');
    std::vector<wchar_t> buffer(kPathCapacity, L'\0');
    const std::wstring folder = save ? SaveDialogFolder() : std::wstring();
    const std::wstring start = folder.empty() ? suggestedName : InFolder(folder, suggestedName);
    start.copy(buffer.data(), std::min(start.size(), kPathCapacity - 1));
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrTitle = title.c_str();
    if (!folder.empty()) ofn.lpstrInitialDir = folder.c_str();
    // The process's current folder is no business of a dialog.
    ofn.Flags = flags | OFN_NOCHANGEDIR;
    ofn.lpstrDefExt = L"txt";
    const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!chosen) return false;
    path = buffer.data();
    if (save && !path.empty()) RememberSaveDialogFolder(path);
    return !path.empty();
}

}  // namespace

bool AskOpenTextFile(HWND owner, const LanguageTable& language, const std::wstring& title,
                     std::wstring& path) {
    return Ask(owner, language, title, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, false, path);
}

bool AskSaveTextFile(HWND owner, const LanguageTable& language, const std::wstring& title,
                     const std::wstring& suggestedName, std::wstring& path) {
    return Ask(owner, language, title, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY, true, path,
               suggestedName);
}
