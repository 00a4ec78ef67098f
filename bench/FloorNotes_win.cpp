// The floor of the note start-up benchmark: the least any program must do to
// put N notes on the screen as top-level windows. It makes, shows and paints N
// layered tool-window popups (a fill and one line of text each) at the places
// of the benchmark's notes, and nothing else: no files, no skin, no settings.
// A double click gives a window a bare edit control, the floor of the key-press
// benchmark.
// The start-up benchmark times it beside the real program in the same run.
//
//   vn_floor_notes N      runs until its main window (titled "VN Floor") closes

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

#include "NotesBenchData.h"

namespace {

constexpr wchar_t kClassName[] = L"VN Floor";
constexpr wchar_t kMainTitle[] = L"VN Floor";

HBRUSH fill = nullptr;

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT client;
            GetClientRect(window, &client);
            FillRect(dc, &client, fill);
            const auto* line =
                reinterpret_cast<const std::wstring*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (line) {
                SetBkMode(dc, TRANSPARENT);
                TextOutW(dc, 8, 8, line->c_str(), static_cast<int>(line->size()));
            }
            EndPaint(window, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDBLCLK: {
            // The least editor a note can have: a multi-line edit control over
            // the window, for the key-press benchmark's floor.
            if (FindWindowExW(window, nullptr, L"Edit", nullptr)) return 0;
            // Without its colour key while edited, as the program's notes: a
            // colour-keyed window is shaped anew from its pixels at every key.
            SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);
            RECT client;
            GetClientRect(window, &client);
            const auto* line =
                reinterpret_cast<const std::wstring*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            HWND edit = CreateWindowExW(0, L"Edit", line ? line->c_str() : L"",
                                        WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 8, 8,
                                        client.right - 16, client.bottom - 16, window, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
            if (edit) SetFocus(edit);
            return 0;
        }
        case WM_CLOSE:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const int count = argv && argc > 1 ? static_cast<int>(wcstol(argv[1], nullptr, 10)) : 0;
    HINSTANCE module = GetModuleHandleW(nullptr);
    fill = CreateSolidBrush(RGB(250, 236, 140));

    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = &FloorProc;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass)) return 1;

    HWND main = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, kMainTitle, WS_POPUP, 600, 24, 120,
                                30, nullptr, nullptr, module, nullptr);
    ShowWindow(main, SW_SHOWNA);

    const NotesFileData data = Bench::MakeNotes(count);
    std::vector<std::wstring> lines;
    lines.reserve(data.notes.size());
    for (const NoteData& note : data.notes)
        lines.push_back(note.text.substr(0, note.text.find_first_of(L"\r\n")));
    for (size_t i = 0; i < data.notes.size(); ++i) {
        const auto& r = data.notes[i].rect;
        HWND note = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_LAYERED, kClassName, nullptr,
                                    WS_POPUP | WS_CLIPSIBLINGS, r.left, r.top, r.right - r.left,
                                    r.bottom - r.top, nullptr, nullptr, module, nullptr);
        if (!note) continue;
        SetWindowLongPtrW(note, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&lines[i]));
        SetLayeredWindowAttributes(note, RGB(255, 0, 255), 128, LWA_COLORKEY | LWA_ALPHA);
        ShowWindow(note, SW_SHOWNA);
    }

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DeleteObject(fill);
    return 0;
}
