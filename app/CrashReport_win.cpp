#include "app/CrashReport_win.h"

#include <windows.h>
// After windows.h.
#include <dbghelp.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "app/CrashFiles.h"

namespace {

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                          PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION,
                                          PMINIDUMP_CALLBACK_INFORMATION);

// Fixed storage: a crashed process may have no usable heap.
wchar_t crashFolder[MAX_PATH + 16] = {};
MiniDumpWriteDumpFn writeDump = nullptr;

void WriteWhole(const wchar_t* path, const void* bytes, DWORD size) {
    HANDLE file =
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes, size, &written, nullptr);
    CloseHandle(file);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    CrashStamp stamp;
    stamp.year = now.wYear;
    stamp.month = now.wMonth;
    stamp.day = now.wDay;
    stamp.hour = now.wHour;
    stamp.minute = now.wMinute;
    stamp.second = now.wSecond;
    stamp.processId = GetCurrentProcessId();
    CreateDirectoryW(crashFolder, nullptr);

    wchar_t stem[64] = {};
    FormatCrashStem(stamp, stem, 64);
    wchar_t path[MAX_PATH + 96] = {};
    std::swprintf(path, MAX_PATH + 96, L"%ls%ls.txt", crashFolder, stem);
    const DWORD code = info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionCode : 0;
    const auto address = reinterpret_cast<uintptr_t>(
        info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionAddress : nullptr);
    char line[160] = {};
    const size_t length = FormatCrashLine(stamp, code, address, line, sizeof line);
    if (length > 0) WriteWhole(path, line, static_cast<DWORD>(length));

    if (writeDump) {
        std::swprintf(path, MAX_PATH + 96, L"%ls%ls.dmp", crashFolder, stem);
        HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            MINIDUMP_EXCEPTION_INFORMATION exception = {};
            exception.ThreadId = GetCurrentThreadId();
            exception.ExceptionPointers = info;
            exception.ClientPointers = FALSE;
            writeDump(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpNormal,
                      info ? &exception : nullptr, nullptr, nullptr);
            CloseHandle(file);
        }
    }
    // The system goes on as with any unhandled exception and ends the process.
    return EXCEPTION_CONTINUE_SEARCH;
}

void PruneOldCrashes(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((folder + L"Crash-*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    // Room for the next crash beside the ones kept.
    for (const std::wstring& name : CrashFilesToPrune(names, kKeptCrashes - 1))
        DeleteFileW((folder + name).c_str());
}

}  // namespace

void InstallCrashReport(const std::wstring& dataFolder) {
    const std::wstring folder = dataFolder + L"Crashes\\";
    if (folder.size() >= MAX_PATH) return;
    std::wcsncpy(crashFolder, folder.c_str(), MAX_PATH);
    // Loaded now from the system folder alone: in the filter, loading a
    // library could deadlock on the loader's lock.
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length > 0 && length < MAX_PATH - 16) {
        HMODULE help = LoadLibraryW((std::wstring(system) + L"\\dbghelp.dll").c_str());
        if (help)
            writeDump = reinterpret_cast<MiniDumpWriteDumpFn>(
                reinterpret_cast<void*>(GetProcAddress(help, "MiniDumpWriteDump")));
    }
    SetUnhandledExceptionFilter(OnUnhandledException);
    PruneOldCrashes(folder);
}
