// vn_driver: a small helper that end-to-end tests use to look at and drive the
// running program from a second Win32 process in the same Wine prefix.
//
//   vn_driver wait-main [ms]          wait for the main window; prints "hwnd l t r b"
//   vn_driver wait-ready [ms]         wait until the main window is on screen, enabled
//                                     (no box of the program open) and its thread takes
//                                     messages (the notes are loaded): what a click on
//                                     it needs; prints "hwnd l t r b"
//   vn_driver notes [CLASS TITLE]     one line per note window: "hwnd visible l t r b"
//   vn_driver send|post HWND MSG WPARAM LPARAM
//   vn_driver copydata TEXT           hand a path over as a second instance would
//   vn_driver message NAME            the number of a registered window message
//   vn_driver click X Y | dblclick X Y | rclick X Y
//   vn_driver drag X1 Y1 X2 Y2 [ctrl] press, move in steps, release
//   vn_driver press X Y | moveto X Y | release
//                                     the parts of a drag, so that something
//                                     can happen while the button is held
//   vn_driver type TEXT               Unicode characters through SendInput
//   vn_driver key VK [ctrl] [shift] [alt]
//   vn_driver children HWND           "hwnd class visible text" of each child
//   vn_driver text HWND               the window's text as WM_GETTEXT answers it
//                                     (line breaks as | and /)
//   vn_driver close-main
//   vn_driver quit [ms] [CLASS TITLE] close the main window and wait for its process to end
//   vn_driver launch-wait EXE N [ms] [CLASS TITLE]
//                                     start EXE, wait until it shows N note windows;
//                                     prints "main_ms first_ms notes_ms idle_ms painted_ms"
//                                     from the start (main window, first note visible,
//                                     all notes visible, the window thread answering,
//                                     no visible note left to paint)
//   vn_driver box [ms]                wait for a message box or dialog; prints "hwnd text"
//   vn_driver confirm [ms]            wait for a dialog and post it OK
//   vn_driver menu [ms]               wait for an open popup menu
//   vn_driver wait-text TEXT [ms]     wait until a note's text (WM_GETTEXT) holds TEXT
//                                     (its static texts joined, line breaks as "/")
//   vn_driver keytime HWND [count]    opens the note's editor with a double click and
//                                     types `count` characters into it; prints the
//                                     milliseconds from each key press until the caret
//                                     has moved and nothing of the note is left to
//                                     paint, one figure a line; names on stderr the
//                                     keys that grew the note
//   vn_driver stats [CLASS TITLE]     resources of the process that owns the main window:
//                                     "gdi user windows notes working_set_kb private_kb"
// CLASS and TITLE name another program's windows (a benchmark's floor program):
// its notes are the windows of CLASS other than the main window, titled TITLE;
// launch-wait then hands N to that program as its argument.
#include <windows.h>
// After windows.h: GetProcessMemoryInfo and its counters.
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const wchar_t* kClassName = L"Zephyn3 SmallWindow";
const wchar_t* kMainTitle = L"Vellomar Notes 3";
constexpr ULONG_PTR kHandOverMarker = 1102217;

HWND ParseHwnd(const wchar_t* text) {
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(wcstoull(text, nullptr, 0)));
}

void PrintRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    wprintf(L"%ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
}

// A note is a window of the program's class that is not the main window. The
// caption is asked of the system: a note answers WM_GETTEXT with its text.
bool IsNote(HWND hwnd) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (wcscmp(cls, kClassName) != 0) return false;
    wchar_t caption[64] = {};
    InternalGetWindowText(hwnd, caption, 64);
    return wcscmp(caption, kMainTitle) != 0;
}

BOOL CALLBACK ListNote(HWND hwnd, LPARAM) {
    if (!IsNote(hwnd)) return TRUE;
    wprintf(L"%llu %d ", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(hwnd)),
            IsWindowVisible(hwnd) ? 1 : 0);
    PrintRect(hwnd);
    wprintf(L"\n");
    return TRUE;
}

BOOL CALLBACK ListChild(HWND hwnd, LPARAM) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size()));
    text.resize(wcslen(text.c_str()));
    for (auto& c : text) {
        if (c == L'\r') c = L'|';
        if (c == L'\n') c = L'/';
    }
    wprintf(L"%llu %ls %d %ls\n",
            static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(hwnd)), cls,
            IsWindowVisible(hwnd) ? 1 : 0, text.c_str());
    return TRUE;
}

struct WindowCount {
    DWORD process = 0;
    int windows = 0;       // top-level windows and their descendants
    int visibleNotes = 0;  // visible note windows
};

BOOL CALLBACK CountChild(HWND, LPARAM data) {
    ++reinterpret_cast<WindowCount*>(data)->windows;
    return TRUE;
}

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM data) {
    auto* count = reinterpret_cast<WindowCount*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != count->process) return TRUE;
    ++count->windows;
    EnumChildWindows(hwnd, CountChild, data);
    if (IsWindowVisible(hwnd) && IsNote(hwnd)) ++count->visibleNotes;
    return TRUE;
}

BOOL CALLBACK CountUnpainted(HWND hwnd, LPARAM data) {
    auto* count = reinterpret_cast<WindowCount*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != count->process || !IsWindowVisible(hwnd) || !IsNote(hwnd)) return TRUE;
    // A window waiting for WM_PAINT has a non-empty update region.
    if (GetUpdateRect(hwnd, nullptr, FALSE)) ++count->windows;
    return TRUE;
}

// Visible notes of the process that still wait to be painted.
int CountUnpaintedNotes(DWORD process) {
    WindowCount count;
    count.process = process;
    EnumWindows(CountUnpainted, reinterpret_cast<LPARAM>(&count));
    return count.windows;
}

WindowCount CountWindows(DWORD process) {
    WindowCount count;
    count.process = process;
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

double MillisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

// Starts the program and times it until `notes` note windows are visible, its
// window thread then answers a message, and no visible note waits to be
// painted. A thread answers a sent message before it paints, so only the last
// tells when the notes show what they hold.
int LaunchAndWait(const wchar_t* exe, int notes, DWORD limit, bool passCount) {
    std::wstring commandLine = L"\"" + std::wstring(exe) + L"\"";
    if (passCount) commandLine += L" " + std::to_wstring(notes);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(exe, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return 1;
    CloseHandle(process.hThread);
    double mainMs = -1;
    double firstMs = -1;
    double notesMs = -1;
    HWND main = nullptr;
    int seen = 0;
    for (;;) {
        if (!main) {
            main = FindWindowW(kClassName, kMainTitle);
            if (main) mainMs = MillisecondsSince(start);
        }
        const double before = MillisecondsSince(start);
        seen = CountWindows(process.dwProcessId).visibleNotes;
        const double counted = MillisecondsSince(start);
        if (seen > 0 && firstMs < 0) firstMs = counted;
        if (main && seen >= notes) {
            notesMs = MillisecondsSince(start);
            break;
        }
        if (MillisecondsSince(start) > limit ||
            WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break;
        // Every window asked about is a trip to the Wine server that the program
        // under test shares: counting thousands of them must not take more
        // than a third of the time.
        const double cost = counted - before;
        Sleep(static_cast<DWORD>(cost * 2 > 10 ? cost * 2 : 10));
    }
    double idleMs = -1;
    DWORD_PTR ignored = 0;
    if (notesMs >= 0 && SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, limit, &ignored))
        idleMs = MillisecondsSince(start);
    double paintedMs = -1;
    while (idleMs >= 0) {
        const double before = MillisecondsSince(start);
        const int unpainted = CountUnpaintedNotes(process.dwProcessId);
        const double counted = MillisecondsSince(start);
        if (unpainted == 0) {
            paintedMs = counted;
            break;
        }
        if (counted > limit || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) break;
        const double cost = counted - before;
        Sleep(static_cast<DWORD>(cost * 2 > 10 ? cost * 2 : 10));
    }
    CloseHandle(process.hProcess);
    if (firstMs < 0 || notes == 0) firstMs = notesMs;
    wprintf(L"%.1f %.1f %.1f %.1f %.1f\n", mainMs, firstMs, notesMs, idleMs, paintedMs);
    if (notesMs < 0) fwprintf(stderr, L"only %d of %d notes shown\n", seen, notes);
    return notesMs >= 0 ? 0 : 1;
}

int PrintStats() {
    HWND main = FindWindowW(kClassName, kMainTitle);
    if (!main) return 1;
    DWORD id = 0;
    GetWindowThreadProcessId(main, &id);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
    if (!process) return 1;
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof memory);
    // Wine leaves PrivateUsage at 0; its PagefileUsage holds the private bytes.
    const SIZE_T privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    CloseHandle(process);
    const WindowCount windows = CountWindows(id);
    wprintf(L"%lu %lu %d %d %llu %llu\n", gdi, user, windows.windows, windows.visibleNotes,
            static_cast<unsigned long long>(memory.WorkingSetSize / 1024),
            static_cast<unsigned long long>(privateBytes / 1024));
    return 0;
}

struct DialogSearch {
    HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM data) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    reinterpret_cast<DialogSearch*>(data)->found = hwnd;
    return FALSE;
}

BOOL CALLBACK AppendStatic(HWND hwnd, LPARAM data) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (_wcsicmp(cls, L"Static") != 0) return TRUE;
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size()));
    text.resize(wcslen(text.c_str()));
    auto* out = reinterpret_cast<std::wstring*>(data);
    if (!text.empty() && !out->empty()) *out += L"/";
    *out += text;
    return TRUE;
}

int WaitDialog(DWORD limit) {
    const DWORD start = GetTickCount();
    DialogSearch search;
    while (EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search)), !search.found) {
        if (GetTickCount() - start > limit) return 1;
        Sleep(100);
    }
    std::wstring text;
    EnumChildWindows(search.found, AppendStatic, reinterpret_cast<LPARAM>(&text));
    for (auto& c : text) {
        if (c == L'\r') c = L' ';
        if (c == L'\n') c = L'/';
    }
    wprintf(L"%llu %ls\n",
            static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(search.found)),
            text.c_str());
    return 0;
}

BOOL CALLBACK FindMenu(HWND hwnd, LPARAM data) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (wcscmp(cls, L"#32768") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(data) = hwnd;
    return FALSE;
}

// Waits for a visible window of the given search; false after `limit` ms.
bool WaitFor(WNDENUMPROC find, HWND& found, DWORD limit) {
    const DWORD start = GetTickCount();
    found = nullptr;
    while (EnumWindows(find, reinterpret_cast<LPARAM>(&found)), !found) {
        if (GetTickCount() - start > limit) return false;
        Sleep(100);
    }
    return true;
}

int Quit(DWORD limit) {
    HWND main = FindWindowW(kClassName, kMainTitle);
    if (!main) return 0;
    DWORD id = 0;
    GetWindowThreadProcessId(main, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    PostMessageW(main, WM_CLOSE, 0, 0);
    if (!process) return 1;
    const bool ended = WaitForSingleObject(process, limit) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended ? 0 : 1;
}

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void SendKey(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

// The presses and releases go in one batch, each stamped 20 ms after the one
// before: the system tells a double click by the events' times, so a busy
// machine that delays this process or the program cannot split it in two.
void Click(int x, int y, DWORD down, DWORD up, int count) {
    SetCursorPos(x, y);
    Sleep(50);
    std::vector<INPUT> inputs;
    const DWORD start = GetTickCount();
    for (int i = 0; i < 2 * count; ++i) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = i % 2 ? up : down;
        input.mi.time = start + 20 * static_cast<DWORD>(i);
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(40 * static_cast<DWORD>(count));
}

// Neither the note nor its editor waits to be painted.
bool Painted(HWND note, HWND edit) {
    return !GetUpdateRect(note, nullptr, FALSE) && !GetUpdateRect(edit, nullptr, FALSE);
}

LRESULT TextLength(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &length))
        return -1;
    return static_cast<LRESULT>(length);
}

// Where the caret of the thread that owns `window` stands, as the system keeps
// it: asking does not wake that thread.
bool CaretOf(HWND window, RECT& caret) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return false;
    caret = info.rcCaret;
    return info.hwndCaret == window;
}

// A key is taken when the editor's caret has moved and painted when neither
// the note nor the editor waits to be painted. Both are read from the system
// without sending the program anything: a message to its thread while it
// works on the key would wake it once more and add its idle work to the time.
// The text is asked for only between keys, to check each key reached it.
int KeyTimes(HWND note, int count) {
    RECT r{};
    if (!GetWindowRect(note, &r)) return 1;
    Click((r.left + r.right) / 2, (r.top + r.bottom) / 2, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP,
          2);
    HWND edit = nullptr;
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(20)) {
        edit = FindWindowExW(note, nullptr, L"Edit", nullptr);
        if (edit && IsWindowVisible(edit)) break;
        edit = nullptr;
    }
    if (!edit) {
        fwprintf(stderr, L"no editor opened\n");
        return 1;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    LRESULT length = TextLength(edit);
    for (int i = 0; i < count; ++i) {
        // Let the note settle between keys, as between a typist's strokes.
        Sleep(80);
        while (!Painted(note, edit)) Sleep(1);
        RECT caret{};
        if (!CaretOf(edit, caret)) {
            fwprintf(stderr, L"the editor has no caret before key %d\n", i);
            return 1;
        }
        INPUT input[2] = {};
        for (int k = 0; k < 2; ++k) {
            input[k].type = INPUT_KEYBOARD;
            input[k].ki.wScan = L'a' + i % 26;
            input[k].ki.dwFlags = KEYEVENTF_UNICODE | (k ? KEYEVENTF_KEYUP : 0);
        }
        RECT before{};
        GetWindowRect(note, &before);
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        SendInput(1, input, sizeof(INPUT));
        const DWORD began = GetTickCount();
        for (;;) {
            RECT now{};
            if (CaretOf(edit, now) && !EqualRect(&now, &caret) && Painted(note, edit)) break;
            if (GetTickCount() - began > 10000) {
                fwprintf(stderr, L"key %d was not taken\n", i);
                return 1;
            }
            YieldProcessor();
            Sleep(0);
        }
        LARGE_INTEGER end;
        QueryPerformanceCounter(&end);
        SendInput(1, input + 1, sizeof(INPUT));
        const LRESULT after = TextLength(edit);
        if (after != length + 1) {
            fwprintf(stderr, L"key %d: the editor holds %ld characters, not %ld\n", i,
                     static_cast<long>(after), static_cast<long>(length + 1));
            return 1;
        }
        length = after;
        // Keys that grew the note are told apart: they resize a window.
        RECT now{};
        GetWindowRect(note, &now);
        if (!EqualRect(&now, &before)) fwprintf(stderr, L"key %d grew the note\n", i);
        wprintf(L"%.2f\n", static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
                               static_cast<double>(frequency.QuadPart));
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring command = argv[1];
    auto arg = [&](int i) { return i < argc ? argv[i] : L"0"; };
    auto num = [&](int i) { return static_cast<int>(wcstol(arg(i), nullptr, 0)); };

    if (command == L"wait-main") {
        const DWORD limit = argc > 2 ? static_cast<DWORD>(num(2)) : 20000;
        const DWORD start = GetTickCount();
        for (;;) {
            HWND main = FindWindowW(kClassName, kMainTitle);
            if (main) {
                wprintf(L"%llu ",
                        static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(main)));
                PrintRect(main);
                wprintf(L"\n");
                return 0;
            }
            if (GetTickCount() - start > limit) return 1;
            Sleep(100);
        }
    }
    if (command == L"wait-ready") {
        // The main window exists, hidden, from its creation on, and the program
        // shows it only later, while its thread still loads the notes. Input
        // goes to the window under the cursor when it is queued: a click
        // before the window shows reaches whatever lies below it.
        const DWORD limit = argc > 2 ? static_cast<DWORD>(num(2)) : 20000;
        const DWORD start = GetTickCount();
        for (;;) {
            HWND main = FindWindowW(kClassName, kMainTitle);
            DWORD_PTR ignored = 0;
            // A message box or dialog of the program disables the main window:
            // a click on it is lost until the box is answered.
            if (main && IsWindowVisible(main) && IsWindowEnabled(main) &&
                SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, limit, &ignored)) {
                wprintf(L"%llu ",
                        static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(main)));
                PrintRect(main);
                wprintf(L"\n");
                return 0;
            }
            if (GetTickCount() - start > limit) {
                fwprintf(stderr, L"main window: %ls\n",
                         !main                    ? L"none"
                         : !IsWindowVisible(main) ? L"hidden"
                         : !IsWindowEnabled(main) ? L"disabled (a message box or dialog is open)"
                                                  : L"not answering");
                return 1;
            }
            Sleep(50);
        }
    }
    if (command == L"notes") {
        if (argc > 3) kClassName = argv[2], kMainTitle = argv[3];
        EnumWindows(ListNote, 0);
        return 0;
    }
    if (command == L"text") {
        wchar_t buffer[4096] = {};
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutW(ParseHwnd(arg(2)), WM_GETTEXT, 4096,
                                 reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, &length))
            return 1;
        for (wchar_t* c = buffer; *c; ++c) {
            if (*c == L'\r') *c = L'|';
            if (*c == L'\n') *c = L'/';
        }
        wprintf(L"%ls\n", buffer);
        return 0;
    }
    if (command == L"children") {
        EnumChildWindows(ParseHwnd(arg(2)), ListChild, 0);
        return 0;
    }
    if (command == L"send" || command == L"post") {
        HWND hwnd = ParseHwnd(arg(2));
        UINT msg = static_cast<UINT>(wcstoul(arg(3), nullptr, 0));
        WPARAM wp = static_cast<WPARAM>(wcstoull(arg(4), nullptr, 0));
        LPARAM lp = static_cast<LPARAM>(wcstoll(arg(5), nullptr, 0));
        if (command == L"post") return PostMessageW(hwnd, msg, wp, lp) ? 0 : 1;
        wprintf(L"%lld\n", static_cast<long long>(SendMessageW(hwnd, msg, wp, lp)));
        return 0;
    }
    if (command == L"copydata") {
        HWND main = FindWindowW(kClassName, kMainTitle);
        if (!main) return 1;
        std::wstring text = arg(2);
        COPYDATASTRUCT data{};
        data.dwData = kHandOverMarker;
        data.cbData = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
        data.lpData = &text[0];
        SendMessageW(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        return 0;
    }
    if (command == L"message") {
        wprintf(L"%u\n", RegisterWindowMessageW(arg(2)));
        return 0;
    }
    if (command == L"click") {
        Click(num(2), num(3), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 1);
        return 0;
    }
    if (command == L"dblclick") {
        Click(num(2), num(3), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2);
        return 0;
    }
    if (command == L"rclick") {
        Click(num(2), num(3), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 1);
        return 0;
    }
    if (command == L"drag") {
        const int x1 = num(2), y1 = num(3), x2 = num(4), y2 = num(5);
        const bool ctrl = argc > 6 && std::wstring(argv[6]) == L"ctrl";
        SetCursorPos(x1, y1);
        Sleep(50);
        if (ctrl) SendKey(VK_CONTROL, false);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        Sleep(100);
        const int steps = 10;
        for (int i = 1; i <= steps; ++i) {
            SetCursorPos(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps);
            SendMouse(MOUSEEVENTF_MOVE);
            Sleep(40);
        }
        SendMouse(MOUSEEVENTF_LEFTUP);
        if (ctrl) SendKey(VK_CONTROL, true);
        Sleep(100);
        return 0;
    }
    if (command == L"press") {
        SetCursorPos(num(2), num(3));
        Sleep(50);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        Sleep(100);
        return 0;
    }
    if (command == L"moveto") {
        // In steps from where the cursor is, as a hand moves it.
        POINT from{};
        GetCursorPos(&from);
        for (int i = 1; i <= 5; ++i) {
            SetCursorPos(from.x + (num(2) - from.x) * i / 5, from.y + (num(3) - from.y) * i / 5);
            SendMouse(MOUSEEVENTF_MOVE);
            Sleep(40);
        }
        return 0;
    }
    if (command == L"release") {
        SendMouse(MOUSEEVENTF_LEFTUP);
        Sleep(50);
        return 0;
    }
    if (command == L"type") {
        for (const wchar_t* p = arg(2); *p; ++p) {
            INPUT input[2] = {};
            for (int i = 0; i < 2; ++i) {
                input[i].type = INPUT_KEYBOARD;
                input[i].ki.wScan = *p;
                input[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
            }
            SendInput(2, input, sizeof(INPUT));
            Sleep(15);
        }
        return 0;
    }
    if (command == L"key") {
        std::vector<WORD> mods;
        for (int i = 3; i < argc; ++i) {
            std::wstring m = argv[i];
            if (m == L"ctrl") mods.push_back(VK_CONTROL);
            if (m == L"shift") mods.push_back(VK_SHIFT);
            if (m == L"alt") mods.push_back(VK_MENU);
        }
        for (WORD m : mods) SendKey(m, false);
        SendKey(static_cast<WORD>(num(2)), false);
        SendKey(static_cast<WORD>(num(2)), true);
        for (auto it = mods.rbegin(); it != mods.rend(); ++it) SendKey(*it, true);
        Sleep(50);
        return 0;
    }
    if (command == L"dialog") {
        // dialog CAPTION TIMEOUT [ID=TEXT ...]: waits for a dialog box of the
        // program with that caption, sets the texts of its controls and
        // confirms it with OK.
        HWND dialog = nullptr;
        const DWORD start = GetTickCount();
        while (!(dialog = FindWindowW(L"#32770", arg(2)))) {
            if (GetTickCount() - start > static_cast<DWORD>(num(3))) return 1;
            Sleep(100);
        }
        for (int i = 4; i < argc; ++i) {
            const std::wstring field = argv[i];
            const size_t eq = field.find(L'=');
            if (eq == std::wstring::npos) continue;
            const int id = static_cast<int>(wcstol(field.substr(0, eq).c_str(), nullptr, 0));
            SetDlgItemTextW(dialog, id, field.substr(eq + 1).c_str());
        }
        Sleep(100);
        return PostMessageW(dialog, WM_COMMAND, IDOK, 0) ? 0 : 1;
    }
    if (command == L"launch-wait") {
        const bool other = argc > 6;
        if (other) kClassName = argv[5], kMainTitle = argv[6];
        return LaunchAndWait(arg(2), num(3), argc > 4 ? static_cast<DWORD>(num(4)) : 60000, other);
    }
    if (command == L"keytime") return KeyTimes(ParseHwnd(arg(2)), argc > 3 ? num(3) : 15);
    if (command == L"stats") {
        if (argc > 3) kClassName = argv[2], kMainTitle = argv[3];
        return PrintStats();
    }
    if (command == L"quit") {
        if (argc > 4) kClassName = argv[3], kMainTitle = argv[4];
        return Quit(argc > 2 ? static_cast<DWORD>(num(2)) : 20000);
    }
    if (command == L"box") return WaitDialog(argc > 2 ? static_cast<DWORD>(num(2)) : 10000);
    if (command == L"wait-text") {
        const std::wstring wanted = arg(2);
        const DWORD limit = argc > 3 ? static_cast<DWORD>(num(3)) : 5000;
        const DWORD start = GetTickCount();
        for (;;) {
            std::vector<HWND> notes;
            EnumWindows(
                [](HWND hwnd, LPARAM list) {
                    if (IsNote(hwnd)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&notes));
            for (HWND note : notes) {
                wchar_t buffer[4096] = {};
                DWORD_PTR length = 0;
                if (SendMessageTimeoutW(note, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer),
                                        SMTO_ABORTIFHUNG, 2000, &length) &&
                    std::wstring(buffer).find(wanted) != std::wstring::npos)
                    return 0;
            }
            if (GetTickCount() - start > limit) return 1;
            Sleep(50);
        }
    }
    if (command == L"menu") {
        HWND menu = nullptr;
        return WaitFor(FindMenu, menu, argc > 2 ? static_cast<DWORD>(num(2)) : 5000) ? 0 : 1;
    }
    if (command == L"confirm") {
        const DWORD limit = argc > 2 ? static_cast<DWORD>(num(2)) : 5000;
        const DWORD start = GetTickCount();
        DialogSearch search;
        while (EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search)), !search.found) {
            if (GetTickCount() - start > limit) return 1;
            Sleep(100);
        }
        return PostMessageW(search.found, WM_COMMAND, IDOK, 0) ? 0 : 1;
    }
    if (command == L"close-main") {
        HWND main = FindWindowW(kClassName, kMainTitle);
        return main && PostMessageW(main, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    return 2;
}
