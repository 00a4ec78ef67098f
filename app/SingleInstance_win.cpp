#include "app/SingleInstance_win.h"

#include <vector>

#include "app/CommandLine.h"

namespace {

// Long enough for opening a large text file as a note; a running instance that
// does not answer within it is hung and would otherwise hold this process forever.
constexpr UINT kHandOverTimeoutMs = 30000;

}  // namespace

std::wstring CurrentUserName() {
    // User names are at most 256 characters (UNLEN) plus the terminator.
    wchar_t buffer[257] = {};
    DWORD size = static_cast<DWORD>(sizeof(buffer) / sizeof(buffer[0]));
    if (!GetUserNameW(buffer, &size)) return std::wstring();
    return std::wstring(buffer);
}

std::wstring InstanceMutexName(const std::wstring& userName) {
    return L"Zephyn3_" + userName + L"_SingleInstance";
}

InstanceLock::InstanceLock(const std::wstring& mutexName) {
    SetLastError(ERROR_SUCCESS);
    mutex.Reset(CreateMutexW(nullptr, FALSE, mutexName.c_str()));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        first = false;
        mutex.Close();
    }
}

HWND FindRunningMainWindow() {
    return FindWindowW(kMainWindowClass, kMainWindowTitle);
}

bool SendCopyData(HWND target, ULONG_PTR marker, std::vector<unsigned char>& payload) {
    if (!target) return false;
    COPYDATASTRUCT data = {};
    data.dwData = marker;
    data.cbData = static_cast<DWORD>(payload.size());
    data.lpData = payload.data();
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG, kHandOverTimeoutMs, &result) != 0;
}

bool SendHandOver(HWND target, const std::wstring& commandLine) {
    std::vector<unsigned char> payload = EncodeHandOverPayload(commandLine);
    return SendCopyData(target, kHandOverMarker, payload);
}

void HandOverCommandLine(const std::wstring& commandLine) {
    SendHandOver(FindRunningMainWindow(), commandLine);
}

std::optional<std::wstring> HandleCopyData(const COPYDATASTRUCT* data) {
    if (!data || data->dwData != kHandOverMarker) return std::nullopt;
    return DecodeHandOverPayload(data->lpData, data->cbData);
}
