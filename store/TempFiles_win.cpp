#include "store/TempFiles_win.h"

#include <windows.h>

#include "base/Handles_win.h"
#include "store/FileIo.h"
#include "store/TempFiles.h"

namespace {

uint64_t Ticks(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool ProcessRunning(uint32_t id) {
    KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process) {
        // A process of another user may refuse the query; it exists all the same.
        return GetLastError() == ERROR_ACCESS_DENIED;
    }
    DWORD code = 0;
    return GetExitCodeProcess(process.Get(), &code) && code == STILL_ACTIVE;
}

}  // namespace

size_t RemoveStaleTempFiles(const std::wstring& folder) {
    FILETIME created = {}, exited = {}, kernel = {}, user = {};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    std::wstring prefix = folder;
    if (!prefix.empty() && prefix.back() != L'\\' && prefix.back() != L'/') prefix += L'\\';
    size_t removed = 0;
    for (const std::wstring& name : FileIo::ListFiles(folder)) {
        std::wstring target;
        uint32_t writer = 0;
        if (!TempFiles::Parse(name, target, writer)) continue;
        const std::wstring path = prefix + name;
        WIN32_FILE_ATTRIBUTE_DATA info = {};
        if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info)) continue;
        if (!TempFiles::IsStale(ProcessRunning(writer), Ticks(info.ftLastWriteTime),
                                Ticks(created)))
            continue;
        if (FileIo::RemoveFile(path)) ++removed;
    }
    return removed;
}
