#pragma once
// A local stand-in for the vendor's web server (tests/update/update_server.py),
// started for a test under Wine as a Unix process through start.exe /unix. It
// serves on 127.0.0.1 at a free port and answers the version file as the test
// says, or accepts the request and never answers.

#include <windows.h>
#include <wininet.h>

#include <string>
#include <vector>

#include "support/TestPaths.h"
#include "store/FileIo.h"
#include "update/UpdateCheck_win.h"

// The system's time now, as the update check records it.
inline uint64_t FileTimeNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return Update::JoinFileTime(now.dwLowDateTime, now.dwHighDateTime);
}

class LocalUpdateServer {
public:
    LocalUpdateServer() {
        static int count = 0;
        // Wine reuses process ids soon: the tick count keeps folders apart.
        const std::string name = "vn-update-" + std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(GetTickCount()) + "-" + std::to_string(++count);
        unixFolder = "/tmp/" + name;
        folder = L"Z:\\tmp\\" + TestPaths::Widen(name.c_str());
        CreateDirectoryW(folder.c_str(), nullptr);
        // The source tree is seen through drive Z:; the Unix process wants its own path.
        std::wstring source = TestPaths::SourceDir();
        if (source.rfind(L"Z:", 0) == 0) source = source.substr(2);
        std::wstring command = L"start.exe /unix /usr/bin/python3 " + source +
                               L"/tests/update/update_server.py " +
                               TestPaths::Widen(unixFolder.c_str());
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                           nullptr, &startup, &process)) {
            CloseHandle(process.hThread);
            WaitForSingleObject(process.hProcess, 10000);
            CloseHandle(process.hProcess);
        }
        for (int i = 0; i < 300 && port == 0; ++i) {
            std::string text;
            if (FileIo::ReadFile(File(L"port"), text) && !text.empty()) {
                port = std::stoi(text);
            } else {
                Sleep(50);
            }
        }
    }

    ~LocalUpdateServer() {
        if (port) Get(L"/quit");
        for (const wchar_t* name : {L"port", L"answer", L"requests"})
            DeleteFileW(File(name).c_str());
        RemoveDirectoryW(folder.c_str());
    }

    LocalUpdateServer(const LocalUpdateServer&) = delete;
    LocalUpdateServer& operator=(const LocalUpdateServer&) = delete;

    uint16_t Port() const { return static_cast<uint16_t>(port); }
    std::wstring Address() const { return L"127.0.0.1:" + std::to_wstring(port); }
    // The address a test build takes from VN_TEST_UPDATE_SERVER: plain HTTP.
    std::wstring Url() const { return L"http://" + Address(); }
    // Where an update check reaches this server, giving up after timeoutMs.
    UpdateNetwork Network(DWORD timeoutMs) const {
        UpdateNetwork network;
        network.server = {L"127.0.0.1", Port(), false};
        network.timeoutMs = timeoutMs;
        return network;
    }

    // The answer to the next requests of the version file.
    void Answer(int status, const std::string& body) {
        Write(std::to_string(status) + "\n" + body);
    }
    // A redirect of the next requests to `location`.
    void Redirect(int status, const std::string& location) {
        Write(std::to_string(status) + " " + location + "\n");
    }
    void Stall() { Write("stall\n"); }

    // The paths requested so far, oldest first.
    std::vector<std::string> Requests() const {
        std::vector<std::string> paths;
        std::string text;
        FileIo::ReadFile(File(L"requests"), text);
        for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
             start = end + 1) {
            paths.push_back(text.substr(start, end - start));
        }
        return paths;
    }

    // Waits until the server has seen count requests; false after the time-out.
    bool WaitForRequests(size_t count, DWORD timeoutMs = 10000) const {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20)) {
            if (Requests().size() >= count) return true;
        }
        return false;
    }

private:
    std::wstring File(const wchar_t* name) const { return folder + L"\\" + name; }

    void Write(const std::string& text) { FileIo::WriteFileAtomically(File(L"answer"), text); }

    void Get(const std::wstring& path) {
        HINTERNET session = InternetOpenW(L"test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
        if (!session) return;
        const std::wstring url = L"http://" + Address() + path;
        HINTERNET request =
            InternetOpenUrlW(session, url.c_str(), nullptr, 0,
                             INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
        if (request) InternetCloseHandle(request);
        InternetCloseHandle(session);
    }

    std::string unixFolder;
    std::wstring folder;
    int port = 0;
};
