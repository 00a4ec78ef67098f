#include "sync/SyncFolder_win.h"

#include <process.h>

namespace Sync {

bool ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    if (folder.empty()) return false;
    std::wstring pattern = folder;
    if (pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found;
    FindHandle find(FindFirstFileW(pattern.c_str(), &found));
    if (!find) {
        // An empty folder still lists "." and ".."; no answer at all is a folder
        // that is not there.
        return false;
    }
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        FolderEntry e;
        e.name = found.cFileName;
        e.size = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        e.modified = (static_cast<uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                     found.ftLastWriteTime.dwLowDateTime;
        entries.push_back(std::move(e));
    } while (FindNextFileW(find.Get(), &found));
    return true;
}

bool FolderWatch::Start(const std::wstring& folder, HWND window, UINT message) {
    Stop();
    change = FindFirstChangeNotificationW(
        folder.c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
    if (change == INVALID_HANDLE_VALUE) return false;
    stop.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    target = window;
    targetMessage = message;
    posted = false;
    if (stop) {
        thread.Reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Run, this, 0, nullptr)));
    }
    if (!thread) {
        Stop();
        return false;
    }
    return true;
}

void FolderWatch::Stop() {
    if (thread) {
        SetEvent(stop.Get());
        WaitForSingleObject(thread.Get(), INFINITE);
        thread.Reset();
    }
    stop.Reset();
    if (change != INVALID_HANDLE_VALUE) {
        FindCloseChangeNotification(change);
        change = INVALID_HANDLE_VALUE;
    }
}

unsigned __stdcall FolderWatch::Run(void* self) {
    auto* watch = static_cast<FolderWatch*>(self);
    const HANDLE waits[2] = {watch->stop.Get(), watch->change};
    for (;;) {
        const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (woke != WAIT_OBJECT_0 + 1) break;
        if (!watch->posted.exchange(true)) {
            PostMessageW(watch->target, watch->targetMessage, 0, 0);
        }
        // A folder that went away ends the watch; the poll goes on.
        if (!FindNextChangeNotification(watch->change)) break;
    }
    return 0;
}

}  // namespace Sync
