// The cost of a durable save of Notes.dat (temporary file, flush, rename) and of a
// load, on the real file system.

#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchTimer.h"
#include "NotesBenchData.h"
#include "store/FileIo.h"
#include "store/NotesFile.h"

int main() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring dir =
        std::wstring(temp) + L"vn-bench-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring path = dir + L"Notes.dat";

    LoadEnvironment env;
    env.virtualScreen = {0, 0, 1600, 1200};
    env.nowUtc = {2026, 12, 0, 6, 20, 41, 0, 0};
    const SystemTimeData now = env.nowUtc;

    std::printf("Notes.dat on disk (~200 characters per note)\n");
    int failures = 0;
    for (int count : {10, 100, 1000}) {
        const NotesFileData data = Bench::MakeNotes(count);
        const size_t bytes = SerializeNotes(data).size();
        Bench::Timing save = Bench::Measure([&] {
            bool keep = false;
            if (!SaveNotesFile(path, data, now, keep)) ++failures;
        });
        Bench::Timing load = Bench::Measure([&] {
            LoadResult r = LoadNotesFile(path, env);
            if (r.data.notes.size() != static_cast<size_t>(count)) ++failures;
        });
        Bench::PrintRow("durable save", count, bytes, save);
        Bench::PrintRow("load", count, bytes, load);
    }
    FileIo::RemoveFile(path);
    RemoveDirectoryW(dir.c_str());
    if (failures) std::printf("%d failed operations\n", failures);
    return failures ? 1 : 0;
}
