#pragma once
// The sync folder as Windows shows it: its listing, and a watch that tells a
// window when something in it changes.

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "base/Handles_win.h"
#include "sync/FolderScan.h"

namespace Sync {

// The plain files of the folder with size and last write time; false when the
// folder cannot be listed (missing, offline, no access).
bool ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries);

// Posts `message` to `window` when a file in the folder is created, renamed,
// deleted or written, at most once until Acknowledge: a service writing a
// large file sends a burst of changes, and one scan answers them all. Shares
// that send no notifications are covered by the caller's poll.
class FolderWatch {
public:
    FolderWatch() = default;
    ~FolderWatch() { Stop(); }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // False when the folder cannot be watched; nothing runs then.
    bool Start(const std::wstring& folder, HWND window, UINT message);
    void Stop();
    bool Running() const { return static_cast<bool>(thread); }
    // The posted message has been handled; the next change posts again.
    void Acknowledge() { posted = false; }

private:
    static unsigned __stdcall Run(void* self);

    HANDLE change = INVALID_HANDLE_VALUE;
    KernelHandle stop;
    KernelHandle thread;
    HWND target = nullptr;
    UINT targetMessage = 0;
    std::atomic<bool> posted{false};
};

}  // namespace Sync
