#include "update/UpdateCheck_win.h"

#include <process.h>
#include <shellapi.h>
#include <wininet.h>

#include <string>

#include "lang/LanguageTable.h"
#include "ui/Window_win.h"

#ifndef VN_UPDATE_SERVER
#define VN_UPDATE_SERVER "www.vellomar.example"
#endif

namespace {

std::atomic<int> workersAlive{0};

UpdateNetwork& NetworkSetting() {
    static UpdateNetwork network = [] {
        UpdateNetwork n;
        std::wstring server = L"" VN_UPDATE_SERVER;
#ifdef VN_TEST_BUILD
        wchar_t value[256] = {};
        const DWORD length = GetEnvironmentVariableW(L"VN_TEST_UPDATE_SERVER", value, 256);
        server = length > 0 && length < 256 ? value : L"127.0.0.1:1";
#endif
        n.server = Update::ParseServer(server).value_or(Update::Server{});
        return n;
    }();
    return network;
}

// Closes a WinINet handle when it goes out of scope.
class InternetHandle {
public:
    explicit InternetHandle(HINTERNET h) : handle(h) {}
    ~InternetHandle() {
        if (handle) InternetCloseHandle(handle);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET Get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }

private:
    HINTERNET handle;
};

bool Cancelled(const UpdateCheckJob& job) {
    return WaitForSingleObject(job.cancelEvent.Get(), 0) == WAIT_OBJECT_0;
}

void SetTimeouts(HINTERNET handle, DWORD ms) {
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        InternetSetOptionW(handle, option, &ms, sizeof(ms));
    }
}

// Only the leading number of the file counts; a server that sends more is not
// read to its end.
constexpr size_t kMaxBody = 4096;

// The version file's body when the server answers 200; false for anything
// else, a cancel included.
bool FetchVersionFile(const UpdateCheckJob& job, std::string& body) {
    InternetHandle session(
        InternetOpenW(job.userAgent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session || Cancelled(job)) return false;
    // Without time-outs a server that accepts the connection and never answers
    // holds the worker for as long as the connection lives.
    SetTimeouts(session.Get(), job.network.timeoutMs);
    InternetHandle connection(InternetConnectW(session.Get(), job.network.server.host.c_str(),
                                               job.network.server.port, nullptr, nullptr,
                                               INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return false;
    const wchar_t* accept[] = {L"text/plain", L"*/*", nullptr};
    // HTTPS, as the download: the answer decides what the user is offered to
    // run. No redirect is followed: another host could answer in the vendor's
    // name, and the version file has one place.
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                  INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (job.network.server.secure) flags |= INTERNET_FLAG_SECURE;
    InternetHandle request(HttpOpenRequestW(connection.Get(), L"GET", Update::kVersionFilePath,
                                            nullptr, nullptr, accept, flags, 0));
    if (!request) return false;
    // Wine takes the receive time-out from the request handle only.
    SetTimeouts(request.Get(), job.network.timeoutMs);
    if (!HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0) || Cancelled(job)) return false;

    // An error page is no version, even when it starts with a number.
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!HttpQueryInfoW(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &size, nullptr) ||
        status != HTTP_STATUS_OK) {
        return false;
    }
    char buffer[512];
    DWORD read = 0;
    while (body.size() < kMaxBody &&
           InternetReadFile(request.Get(), buffer, sizeof(buffer), &read) && read > 0) {
        if (Cancelled(job)) {
            body.clear();
            return false;
        }
        body.append(buffer, read);
    }
    return !Cancelled(job);
}

uint64_t NowAsFileTime() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    FILETIME file = {};
    SystemTimeToFileTime(&now, &file);
    return Update::JoinFileTime(file.dwLowDateTime, file.dwHighDateTime);
}

void RecordCheck(AppSettings& settings, ValueStore& store, uint64_t time) {
    settings.lastUpdateCheckLow = static_cast<uint32_t>(time);
    settings.lastUpdateCheckHigh = static_cast<uint32_t>(time >> 32);
    WriteLastUpdateCheck(store, settings.lastUpdateCheckLow, settings.lastUpdateCheckHigh);
}

}  // namespace

UpdateNetwork CurrentUpdateNetwork() {
    return NetworkSetting();
}

void OverrideUpdateNetwork(const UpdateNetwork& network) {
    NetworkSetting() = network;
}

UpdateCheckJob::UpdateCheckJob()
    : cancelEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      doneEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

UpdateCheckJob::~UpdateCheckJob() = default;

int UpdateCheckWorkersAlive() {
    return workersAlive.load();
}

unsigned __stdcall UpdateCheckWorker(void* arg) {
    std::unique_ptr<std::shared_ptr<UpdateCheckJob>> hold(
        static_cast<std::shared_ptr<UpdateCheckJob>*>(arg));
    UpdateCheckJob& job = **hold;

    std::string body;
    if (FetchVersionFile(job, body)) {
        if (const auto version = Update::ParseVersionFile(body)) {
            job.gotVersion = true;
            job.major = version->major;
            job.minor = version->minor;
        }
    }
    // Nobody waits for the answer of a cancelled check, and its message could
    // reach a check started after it.
    const bool cancelled = Cancelled(job);
    const HWND target = job.targetWindow;
    SetEvent(job.doneEvent.Get());
    if (!cancelled) PostMessageW(target, UpdateCheck::kDoneMessage, 0, 0);
    hold.reset();
    --workersAlive;
    return 0;
}

UpdateCheck::UpdateCheck(Update::Version running, std::wstring userAgent)
    : runningVersion(running),
      userAgent(std::move(userAgent)),
      launcher([](const std::wstring& url) {
          ShellExecuteW(nullptr, nullptr, url.c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
      }) {}

UpdateCheck::~UpdateCheck() {
    if (job) Stop();
}

bool UpdateCheck::Start(HWND target, bool silent) {
    if (job) return false;
    DWORD flags = 0;
    if (!InternetGetConnectedState(&flags, 0) || (flags & INTERNET_CONNECTION_OFFLINE)) {
        return false;
    }
    auto made = std::make_shared<UpdateCheckJob>();
    if (!made->cancelEvent || !made->doneEvent) return false;
    made->targetWindow = target;
    made->silent = silent;
    made->network = CurrentUpdateNetwork();
    made->userAgent = userAgent;

    auto* arg = new std::shared_ptr<UpdateCheckJob>(made);
    ++workersAlive;
    const uintptr_t thread = _beginthreadex(nullptr, 0, &UpdateCheckWorker, arg, 0, nullptr);
    if (!thread) {
        --workersAlive;
        delete arg;
        return false;
    }
    CloseHandle(reinterpret_cast<HANDLE>(thread));
    job = std::move(made);
    running = true;
    return true;
}

void UpdateCheck::Stop() {
    running = false;
    if (!job) return;
    SetEvent(job->cancelEvent.Get());
    // A worker inside a network call ends when the call returns or times out;
    // it frees the job itself if it is still holding it.
    WaitForSingleObject(job->doneEvent.Get(), kStopWaitMs);
    job.reset();
}

void UpdateCheck::OnDone(AppSettings& settings, ValueStore& store, const LanguageTable& language) {
    if (!job || WaitForSingleObject(job->doneEvent.Get(), 0) != WAIT_OBJECT_0) return;
    const std::shared_ptr<UpdateCheckJob> finished = std::move(job);
    running = false;
    const uint64_t now = NowAsFileTime();
    const uint64_t last =
        Update::JoinFileTime(settings.lastUpdateCheckLow, settings.lastUpdateCheckHigh);

    if (!finished->gotVersion) {
        if (Update::RecordFailedCheck(finished->silent, last, now, settings.updateCheckDayCount)) {
            RecordCheck(settings, store, now);
        }
        // A check the user asked for is answered, also when it failed.
        if (!finished->silent) {
            ShowMessage(nullptr, language.TextOf(kNewVersion_CheckFailed).c_str(), nullptr,
                        MB_OK | MB_ICONWARNING);
        }
        return;
    }
    // Recorded before the question, which may stay open for a long time.
    RecordCheck(settings, store, now);
    const Update::Version published{finished->major, finished->minor};
    if (Update::IsNewer(published, runningVersion)) {
        const std::wstring url = Update::InstallerUrl(finished->network.server);
        if (ShowMessage(nullptr, language.TextOf(kNewVersion_DownloadPrompt).c_str(), nullptr,
                        MB_YESNO | MB_ICONQUESTION) == IDYES &&
            launcher) {
            launcher(url);
        }
    } else if (!finished->silent) {
        ShowMessage(nullptr, language.TextOf(kNewVersion_NoNewVersion).c_str(), nullptr,
                    MB_OK | MB_ICONINFORMATION);
    }
}
