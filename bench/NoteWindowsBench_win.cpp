// The cost of many live note windows in one process: what making and showing
// them takes (as the program loads them), the window, GDI and memory cost of
// each, one save of Notes.dat from the live notes, and one step of a drag
// (snapping over every other note; the file is written when the move ends).
//
//   bench_notewindows_win [skin-folder]     the figures for 10, 100, 1000 and 5000 notes
//   bench_notewindows_win write-notes N FILE
//                                           writes N benchmark notes to FILE (for
//                                           timing the start-up of the program)
//   bench_notewindows_win phases N MODE     where loading N notes spends its time: making,
//                                           showing (one deferred batch each), painting;
//                                           MODE program (as the loader does), bare (floor
//                                           windows instead), nozorder (no move to the
//                                           bottom), nopaint (the queue paints), nokey (no
//                                           colour key), layout (only each text laid out as
//                                           the editor does). One mode per process: the system
//                                           keeps what a previous load left.

#include <windows.h>
// After windows.h: GetProcessMemoryInfo and its counters.
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "NotesBenchData.h"
#include "arrange/Snapping_win.h"
#include "base/Handles_win.h"
#include "notes/EditLayout_win.h"
#include "notes/NoteLoader_win.h"
#include "store/FileIo.h"
#include "store/NoteData_win.h"
#include "store/NotesFile.h"
#include "store/SettingsStore.h"
#include "support/MessagePump_win.h"
#include "support/NoteTestHost_win.h"

namespace {

SystemTimeData LocalNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return FromSystemTime(now);
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

double Now() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The application's side of the notes, reduced to what loading, saving and
// snapping touch: the real skin, the default settings and Notes.dat in a
// scratch folder.
class BenchHost : public NoteTest::HostBase {
public:
    BenchHost(const std::wstring& skinFolder, const std::wstring& scratch)
        : notesFile(scratch + L"Notes.dat"), skinSettings(scratch + L"Settings.ini") {
        SettingsStore skinIni(skinFolder + L"Skin.ini");
        SkinLoadOptions options;
        options.folder = skinFolder;
        options.layeredWindows = settings.layeredWindowEnabled;
        uint32_t theme = 0;
        LoadSkin(skin, skinIni, skinSettings, options, theme);
    }

    bool SkinLoaded() const { return skin.background != nullptr; }

    // As the application saves: every live note's record, in list order.
    void NotesChanged() override { SaveNotes(); }
    void SaveNotes() {
        if (loading) return;
        NotesFileData data = Collect();
        bool keepOriginal = false;
        if (SaveNotesFile(notesFile, data, LocalNow(), keepOriginal))
            ++saves;
        else
            ++failures;
    }
    NotesFileData Collect() const {
        NotesFileData data;
        data.notes.reserve(notes.List().size());
        for (const auto& note : notes.List()) data.notes.push_back(note->Data());
        return data;
    }

    // Makes, shows and paints the notes as the application loads them.
    void Load(const NotesFileData& data) {
        loading = true;
        const bool layered = settings.layeredWindowEnabled;
        LoadedNotes loaded = ShowLoadedNotes(data.notes, [this, layered](const NoteData& record) {
            return std::make_unique<NoteWindow>(*this, layered, record);
        });
        for (auto& note : loaded.shown) notes.Add(std::move(note));
        failures += static_cast<int>(loaded.unshown.size());
        loading = false;
    }

    const std::wstring notesFile;
    int saves = 0;
    int failures = 0;
    bool loading = false;

private:
    SettingsStore skinSettings;
};

struct Resources {
    long gdi = 0;
    long user = 0;
    long windows = 0;
    double privateKb = 0;
    double workingSetKb = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM data) {
    ++*reinterpret_cast<long*>(data);
    return TRUE;
}

BOOL CALLBACK CountThreadWindow(HWND hwnd, LPARAM data) {
    ++*reinterpret_cast<long*>(data);
    EnumChildWindows(hwnd, CountChild, data);
    return TRUE;
}

// Wine answers GetGuiResources with 0 for GDI objects; there the live GDI
// handles are counted by probing the handle table (small indices, which its
// GetObjectType accepts without the generation bits). That counts every GDI
// object of the process, the ones the program creates included.
long CountGdiHandles() {
    long count = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++count;
    }
    return count;
}

Resources Measure() {
    Resources r;
    HANDLE self = GetCurrentProcess();
    r.gdi = static_cast<long>(GetGuiResources(self, GR_GDIOBJECTS));
    if (r.gdi == 0) r.gdi = CountGdiHandles();
    r.user = static_cast<long>(GetGuiResources(self, GR_USEROBJECTS));
    EnumThreadWindows(GetCurrentThreadId(), CountThreadWindow,
                      reinterpret_cast<LPARAM>(&r.windows));
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    // Wine leaves PrivateUsage at 0; its PagefileUsage holds the private bytes.
    const SIZE_T privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    r.privateKb = static_cast<double>(privateBytes) / 1024.0;
    r.workingSetKb = static_cast<double>(memory.WorkingSetSize) / 1024.0;
    return r;
}

struct Row {
    int notes = 0;
    double loadMs = 0;  // making, showing and painting in batches
    double pumpMs = 0;  // what was left in the queue after that
    double gdiPerNote = 0, userPerNote = 0, windowsPerNote = 0, privateKbPerNote = 0;
    double collectMs = 0, writeMs = 0, saveMs = 0, snapMs = 0, dragMs = 0;
    double bareStepMs = 0;  // the same step of a bare window: what the system takes
    // A drag writes Notes.dat once, when the move ends, and never during it.
    bool savedOnceAtTheEnd = true;
    bool dragMoved = true;
};

double Ms(const Bench::Timing& t) {
    return t.microsPerRun / 1000.0;
}

// Progress on stderr, so that a slow stage shows where it is.
void Stage(int count, const char* what) {
    static double last = Now();
    const double now = Now();
    std::fprintf(stderr, "[%d notes] %s (%.0f ms after the previous stage)\n", count, what,
                 now - last);
    last = now;
    std::fflush(stderr);
}

// A window that does what the floor program's do: a fill and a line of text.
LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        TextOutW(dc, 8, 8, L"bare", 4);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_ERASEBKGND) return 1;
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterBareClass() {
    WNDCLASSEXW c = {};
    c.cbSize = sizeof c;
    c.lpfnWndProc = &BareProc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = L"VN Bare";
    RegisterClassExW(&c);
}

Row Run(BenchHost& host, int count) {
    Row row;
    row.notes = count;
    const NotesFileData data = Bench::MakeNotes(count);
    PumpMessages(1);  // no waits: they would be timed
    const Resources before = Measure();

    LARGE_INTEGER start, end, frequency;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    Stage(count, "loading");
    host.Load(data);
    QueryPerformanceCounter(&end);
    row.loadMs = static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
                 static_cast<double>(frequency.QuadPart);
    Stage(count, "pumping");
    const double pumpStart = Now();
    PumpMessages(1);
    row.pumpMs = Now() - pumpStart;

    Stage(count, "counting");
    const Resources after = Measure();
    row.gdiPerNote = static_cast<double>(after.gdi - before.gdi) / count;
    row.userPerNote = static_cast<double>(after.user - before.user) / count;
    row.windowsPerNote = static_cast<double>(after.windows - before.windows) / count;
    row.privateKbPerNote = (after.privateKb - before.privateKb) / count;

    Stage(count, "saving");
    row.collectMs = Ms(Bench::Measure([&] { host.Collect(); }));
    const NotesFileData live = host.Collect();
    row.writeMs = Ms(Bench::Measure([&] {
        bool keepOriginal = false;
        SaveNotesFile(host.notesFile, live, LocalNow(), keepOriginal);
    }));
    row.saveMs = Ms(Bench::Measure([&] { host.NotesChanged(); }));

    // The dragged note goes to free space right of the others (they end near
    // x = 860), far enough from them and the screen edges that snapping lets
    // both positions of the step stand.
    NoteWindow& dragged = *host.Notes().back();
    const RECT r = dragged.WindowRect();
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const int xs[2] = {1000, 1060};
    const int y = 700;
    // On top, as a note the user takes hold of comes up; the bare window below
    // is made last, on top too.
    SetWindowPos(dragged.Handle(), HWND_TOP, xs[0], y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    PumpMessages(1);

    Stage(count, "dragging");
    // A drag holds the work areas and the other notes' places for its whole
    // move loop.
    host.windows.Hold();
    int step = 0;
    row.snapMs = Ms(Bench::Measure([&] {
        WINDOWPOS pos = {};
        pos.hwnd = dragged.Handle();
        pos.x = xs[++step % 2];
        pos.y = y;
        pos.cx = width;
        pos.cy = height;
        pos.flags = SWP_NOZORDER | SWP_NOACTIVATE;
        host.windows.Snap(dragged, pos);
    }));
    // The steps of the system's move loop, which the note is told of.
    const int savesBefore = host.saves;
    dragged.Send(WM_ENTERSIZEMOVE);
    step = 0;
    row.dragMs = Ms(Bench::Measure([&] {
        SetWindowPos(dragged.Handle(), nullptr, xs[++step % 2], y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }));
    const int savesDuring = host.saves - savesBefore;
    dragged.Send(WM_EXITSIZEMOVE);
    host.windows.Release();
    row.savedOnceAtTheEnd = savesDuring == 0 && host.saves - savesBefore == 1;
    const RECT last = dragged.WindowRect();
    row.dragMoved = last.left == xs[step % 2] && last.top == y;

    // The floor of a step: a bare layered popup of the same size, among the
    // same notes, moved the same way.
    HWND bare = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_LAYERED, L"VN Bare", nullptr,
                                WS_POPUP | WS_CLIPSIBLINGS, xs[0], y, width, height, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    if (bare) {
        SetLayeredWindowAttributes(bare, RGB(255, 0, 255), 128, LWA_COLORKEY | LWA_ALPHA);
        ShowWindow(bare, SW_SHOWNA);
        PumpMessages(1);
        step = 0;
        row.bareStepMs = Ms(Bench::Measure([&] {
            SetWindowPos(bare, nullptr, xs[++step % 2], y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }));
        DestroyWindow(bare);
    }

    host.notes.CloseAll();
    PumpMessages(1);
    return row;
}

int Phases(BenchHost& host, int count, const std::wstring& mode) {
    const NotesFileData data = Bench::MakeNotes(count);
    PumpMessages(1);
    if (mode == L"layout") {
        // Each text laid out in the text area of a note of the benchmark's size.
        LOGFONTW lf = ToLogFontW(data.customDefaultFont);
        OwnedFont font(CreateFontIndirectW(&lf));
        const double start = Now();
        size_t lines = 0;
        for (const NoteData& n : data.notes) {
            EditLayout layout;
            LayOutAsEditor(n.text, font.Get(), 196, 130, layout);
            lines += layout.lines.size();
        }
        std::printf("layout %d: %.0f ms, %zu lines\n", count, Now() - start, lines);
        return 0;
    }
    double make = 0, show = 0, paint = 0;
    const double start = Now();
    std::vector<HWND> windows;
    std::vector<NoteWindow*> notes;
    const bool bare = mode == L"bare";
    const UINT zorder = mode == L"nozorder" || bare ? SWP_NOZORDER : 0;
    const bool doPaint = mode != L"nopaint";
    size_t from = 0;
    for (size_t i = 0; i < data.notes.size(); ++i) {
        double t = Now();
        if (bare) {
            const auto& r = data.notes[i].rect;
            HWND w = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_LAYERED, L"VN Bare", nullptr,
                                     WS_POPUP | WS_CLIPSIBLINGS, r.left, r.top, r.right - r.left,
                                     r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
            SetLayeredWindowAttributes(w, RGB(255, 0, 255), 128, LWA_COLORKEY | LWA_ALPHA);
            windows.push_back(w);
        } else {
            NoteWindow* note = host.Add(std::make_unique<NoteWindow>(host, true, data.notes[i]));
            if (!note) continue;
            notes.push_back(note);
            windows.push_back(note->Handle());
            // Without the colour key: what the holes of the skin cost.
            if (mode == L"nokey") SetLayeredWindowAttributes(windows.back(), 0, 128, LWA_ALPHA);
        }
        make += Now() - t;
        if (windows.size() - from >= kLoadBatchSize || i + 1 == data.notes.size()) {
            t = Now();
            HDWP defer = BeginDeferWindowPos(static_cast<int>(windows.size() - from));
            for (size_t k = from; k < windows.size(); ++k)
                defer = DeferWindowPos(
                    defer, windows[k], HWND_BOTTOM, 0, 0, 0, 0,
                    SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW | zorder);
            EndDeferWindowPos(defer);
            show += Now() - t;
            t = Now();
            if (doPaint)
                for (size_t k = from; k < windows.size(); ++k) UpdateWindow(windows[k]);
            paint += Now() - t;
            from = windows.size();
        }
    }
    const double loaded = Now();
    PumpMessages(1);
    const double pumped = Now();
    int visible = 0;
    for (HWND w : windows) visible += IsWindowVisible(w) ? 1 : 0;
    std::printf("%ls %d: make %.0f show %.0f paint %.0f | load %.0f pump %.0f ms, %d visible\n",
                mode.c_str(), count, make, show, paint, loaded - start, pumped - loaded, visible);
    host.notes.CloseAll();
    for (size_t k = 0; bare && k < windows.size(); ++k) DestroyWindow(windows[k]);
    return 0;
}

int WriteNotes(int count, const wchar_t* path) {
    bool keepOriginal = false;
    return SaveNotesFile(path, Bench::MakeNotes(count), LocalNow(), keepOriginal) ? 0 : 1;
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return 2;
    if (argc >= 4 && std::wstring(argv[1]) == L"write-notes")
        return WriteNotes(static_cast<int>(wcstol(argv[2], nullptr, 10)), argv[3]);
    const bool phases = argc >= 4 && std::wstring(argv[1]) == L"phases";

    const std::wstring skinFolder =
        argc >= 2 && !phases ? argv[1] : SkinFolderPath(ProgramFolder(), AppSettings().skinName);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring scratch =
        std::wstring(temp) + L"vn-bench-notes-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(scratch.c_str(), nullptr);

    RegisterBareClass();
    int status = 0;
    {
        BenchHost host(skinFolder, scratch);
        if (!host.SkinLoaded()) {
            std::fwprintf(stderr, L"no skin at %ls\n", skinFolder.c_str());
            return 1;
        }
        if (phases) return Phases(host, static_cast<int>(wcstol(argv[2], nullptr, 10)), argv[3]);
        std::vector<Row> rows;
        // VN_BENCH_COUNTS, as "10 1000", picks the counts.
        std::vector<int> counts = {10, 100, 1000, 5000};
        wchar_t picked[256] = {};
        if (GetEnvironmentVariableW(L"VN_BENCH_COUNTS", picked, 256) > 0) {
            counts.clear();
            for (wchar_t* at = picked; *at;) {
                wchar_t* end = nullptr;
                const long n = wcstol(at, &end, 10);
                if (end == at) break;
                if (n > 0) counts.push_back(static_cast<int>(n));
                at = end;
            }
        }
        for (int count : counts) rows.push_back(Run(host, count));

        std::printf("Live note windows in one process (layered, skin from the program folder)\n");
        std::printf("%6s %9s %9s | per note: %6s %6s %7s %8s\n", "notes", "load ms", "rest ms",
                    "GDI", "USER", "windows", "KB priv");
        for (const Row& r : rows)
            std::printf("%6d %9.0f %9.0f |           %6.2f %6.2f %7.2f %8.1f\n", r.notes, r.loadMs,
                        r.pumpMs, r.gdiPerNote, r.userPerNote, r.windowsPerNote,
                        r.privateKbPerNote);
        std::printf(
            "load = making, showing and painting in batches; rest = the queue after that\n"
            "(USER 0: not counted by the system; GDI counted by probing where it is not;\n"
            " a quarter of the notes have a font of their own, one GDI object each)\n");
        std::printf("\n%6s %10s %10s %10s | %10s %12s %12s\n", "notes", "Data() ms", "write ms",
                    "save ms", "snap ms", "drag step ms", "bare step ms");
        for (const Row& r : rows) {
            std::printf("%6d %10.3f %10.3f %10.3f | %10.3f %12.3f %12.3f%s\n", r.notes, r.collectMs,
                        r.writeMs, r.saveMs, r.snapMs, r.dragMs, r.bareStepMs,
                        r.savedOnceAtTheEnd && r.dragMoved
                            ? ""
                            : "  (the drag did not move, or did not save once at its end)");
            if (!r.savedOnceAtTheEnd || !r.dragMoved) status = 1;
        }
        std::printf(
            "save = Data() of every note + durable write; drag step = one SetWindowPos in a\n"
            "move loop (snapping; the save comes once, when the move ends)\n");
        if (host.failures) {
            std::printf("%d failed operations\n", host.failures);
            status = 1;
        }
        FileIo::RemoveFile(host.notesFile);
    }
    RemoveDirectoryW(scratch.c_str());
    return status;
}
