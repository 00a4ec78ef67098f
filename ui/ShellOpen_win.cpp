#include "ui/ShellOpen_win.h"

#include <objbase.h>
#include <shellapi.h>

#include "lang/LanguageTable.h"
#include "lang/SafeFormat.h"
#include "ui/SystemError_win.h"

DWORD ShellExecuteError(INT_PTR result) {
    switch (result) {
        case 0:
        case SE_ERR_OOM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case SE_ERR_FNF:
            return ERROR_FILE_NOT_FOUND;
        case SE_ERR_PNF:
            return ERROR_PATH_NOT_FOUND;
        case SE_ERR_ACCESSDENIED:
            return ERROR_ACCESS_DENIED;
        case SE_ERR_SHARE:
            return ERROR_SHARING_VIOLATION;
        case SE_ERR_NOASSOC:
        case SE_ERR_ASSOCINCOMPLETE:
            return ERROR_NO_ASSOCIATION;
        case SE_ERR_DDETIMEOUT:
        case SE_ERR_DDEFAIL:
        case SE_ERR_DDEBUSY:
            return ERROR_DDE_FAIL;
        case SE_ERR_DLLNOTFOUND:
            return ERROR_DLL_NOT_FOUND;
        case ERROR_BAD_FORMAT:
            return ERROR_BAD_FORMAT;
        default:
            return result > 32 ? ERROR_SUCCESS : ERROR_GEN_FAILURE;
    }
}

DWORD ShellOpen(const std::wstring& target, const std::wstring& program) {
    // Some browsers' shell handlers are COM objects; the shell wants COM set
    // up on the calling thread for them.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INT_PTR result = 0;
    if (program.empty()) {
        result = reinterpret_cast<INT_PTR>(
            ShellExecuteW(nullptr, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWDEFAULT));
    } else {
        const std::wstring argument = L"\"" + target + L"\"";
        result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", program.c_str(),
                                                         argument.c_str(), nullptr, SW_SHOWNORMAL));
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return ShellExecuteError(result);
}

std::wstring ShellOpenFailureText(const LanguageTable& language, const std::wstring& target,
                                  DWORD error) {
    std::wstring reason = SystemErrorText(error);
    if (reason.empty()) reason = L"(" + std::to_wstring(error) + L")";
    return SafeFormat(language.TextOf(kShellOpen_Failed), {target, reason});
}
