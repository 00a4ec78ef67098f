#pragma once
// The update check: asks the vendor's web server for the newest published
// version on a worker thread and, when it is newer than the running one,
// offers the installer's download. The user-interface thread never waits on the
// network: the worker's requests have time-outs, and stopping a check waits a
// second at most before leaving the worker to end on its own.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/Handles_win.h"
#include "store/AppSettings.h"
#include "store/ValueStore.h"
#include "ui/PrivateMessages_win.h"
#include "update/UpdateRules.h"

// Where the checks of this process go and how long one request may take.
struct UpdateNetwork {
    Update::Server server;
    DWORD timeoutMs = 15000;  // connect, send and receive, each
};

// The build's server (VN_UPDATE_SERVER, "host" or "host:port"), unless a test
// has set another one.
UpdateNetwork CurrentUpdateNetwork();
// For tests only: every check that starts afterwards uses this.
void OverrideUpdateNetwork(const UpdateNetwork& network);

// The record one check shares between the user-interface thread and its
// worker. Each side holds it by shared_ptr and the last to let go frees it,
// so a worker that the user-interface thread stopped waiting for never
// touches freed memory. The worker writes gotVersion, major and minor before
// it signals doneEvent and touches nothing of the user-interface thread.
struct UpdateCheckJob {
    UpdateCheckJob();
    ~UpdateCheckJob();
    UpdateCheckJob(const UpdateCheckJob&) = delete;
    UpdateCheckJob& operator=(const UpdateCheckJob&) = delete;

    HWND targetWindow = nullptr;
    bool silent = false;
    bool gotVersion = false;
    // Manual reset: the worker looks at it at every step, and an auto-reset
    // event would be cleared by the first look.
    KernelHandle cancelEvent;
    KernelHandle doneEvent;  // auto reset
    int32_t major = 0;
    int32_t minor = 0;
    UpdateNetwork network;
    std::wstring userAgent;
};

// The thread procedure; arg is a heap-allocated std::shared_ptr<UpdateCheckJob>
// that the worker deletes.
unsigned __stdcall UpdateCheckWorker(void* arg);

// Workers of this process that have not ended yet, abandoned ones included.
int UpdateCheckWorkersAlive();

class LanguageTable;

class UpdateCheck {
public:
    static constexpr UINT kDoneMessage = kUpdateCheckDoneMessage;
    // The longest the user-interface thread waits for a stopped worker.
    static constexpr DWORD kStopWaitMs = 1000;

    // running is the program's own version; userAgent names it to the server.
    UpdateCheck(Update::Version running, std::wstring userAgent);
    ~UpdateCheck();
    UpdateCheck(const UpdateCheck&) = delete;
    UpdateCheck& operator=(const UpdateCheck&) = delete;

    // StartUpdateCheck: nothing when a check exists or the system reports no
    // connection; otherwise the worker starts and posts kDoneMessage to the
    // target window when it has an answer.
    bool Start(HWND target, bool silent);
    // StopUpdateCheck: cancels the check and forgets it.
    void Stop();
    // OnUpdateCheckDone, for kDoneMessage: reports the result and records the
    // time of the check in the settings and the store. A message from a check
    // that was stopped, or that arrives before this check's worker is done,
    // is ignored. The language gives the texts of the messages.
    void OnDone(AppSettings& settings, ValueStore& store, const LanguageTable& language);

    bool Exists() const { return job != nullptr; }
    bool Running() const { return running; }

    // Opens the installer's address; ShellExecuteW unless a test replaces it.
    void SetLauncher(std::function<void(const std::wstring& url)> open) {
        launcher = std::move(open);
    }
    // For tests: the current job, to see when the worker lets go of it.
    std::weak_ptr<UpdateCheckJob> CurrentJob() const { return job; }

private:
    const Update::Version runningVersion;
    const std::wstring userAgent;
    std::shared_ptr<UpdateCheckJob> job;
    bool running = false;
    std::function<void(const std::wstring&)> launcher;
};
