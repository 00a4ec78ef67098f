// The Find notes window's filtering: notes of about 200 characters, the search
// text typed one letter at a time, each keystroke's filter timed from the new
// text in the box to the list's new row count (folding the words, matching
// every note, handing the count to the list view), and its matching part alone. Beside it, in the
// same run: a plain case-sensitive search of the same texts (the floor), and the system's
// FindNLSStringEx over the same notes, the comparison a search could ask of
// the system for every note and keystroke. Medians of several rounds.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "lang/LanguageTable.h"
#include "main/FindNotes_win.h"
#include "res/resource.h"

namespace {

using Clock = std::chrono::steady_clock;

double Millis(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::wstring NoteText(unsigned seed) {
    static const wchar_t* const words[] = {
        L"meeting",    L"Caf\u00E9", L"shopping", L"call",    L"na\u00EFve",  L"Budget",
        L"\u00C9cole", L"review",    L"tomorrow", L"Projekt", L"M\u00FCller", L"invoice",
        L"dentist",    L"ideas",     L"release",  L"garden",  L"birthday",    L"Stra\u00DFe"};
    std::wstring text;
    unsigned x = seed * 2654435761u + 1;
    while (text.size() < 200) {
        x = x * 1103515245u + 12345u;
        text += words[(x >> 16) % (sizeof(words) / sizeof(words[0]))];
        text += (x & 7) == 0 ? L"\r\n" : L" ";
    }
    text.resize(200);
    return text;
}

class BenchHost : public FindNotesHost {
public:
    explicit BenchHost(int count) {
        for (int i = 0; i < count; ++i) {
            Note n;
            n.id = static_cast<uintptr_t>(i + 1);
            n.data.text = NoteText(static_cast<unsigned>(i));
            n.shownTitle = n.data.text.substr(0, n.data.text.find(L' '));
            notes.push_back(n);
        }
    }
    std::vector<Note> FindNotesList() override { return notes; }
    void ShowFoundNote(uintptr_t) override {}
    void DeleteFoundNote(uintptr_t) override {}
    std::vector<Note> notes;
};

void Run(int count) {
    BenchHost host(count);
    // No language file: the window's texts are the keys' placeholders.
    const LanguageTable language;
    FindNotesWindow window(host, language);
    const std::wstring typed = L"meeting caf\u00E9";
    std::vector<double> opens, keystrokes, matches, floors, system;
    for (int round = 0; round < 5; ++round) {
        window.Destroy();
        const auto a = Clock::now();
        if (!window.Open(nullptr, nullptr)) {
            std::printf("the window could not be made\n");
            std::exit(1);
        }
        opens.push_back(Millis(Clock::now() - a));
        for (size_t n = 1; n <= typed.size(); ++n) {
            const std::wstring text = typed.substr(0, n);
            // The edit control takes the text (and filters once on its change
            // notification); the program's part of a keystroke is the filter.
            SetDlgItemTextW(window.Handle(), IDC_FIND_TEXT, text.c_str());
            const auto b = Clock::now();
            window.Filter();
            keystrokes.push_back(Millis(Clock::now() - b));
            const auto m = Clock::now();
            window.Match();
            matches.push_back(Millis(Clock::now() - m));
            // The floor: the last word found as it is, without folding.
            const std::wstring word = text.substr(text.rfind(L' ') + 1);
            size_t hits = 0;
            const auto c = Clock::now();
            for (const auto& note : host.notes)
                hits += note.data.text.find(word) != std::wstring::npos;
            floors.push_back(Millis(Clock::now() - c));
            if (hits > host.notes.size()) std::printf("?");
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    // The system's comparison for one word over at most 200 notes, scaled to all:
    // under Wine it takes milliseconds a note.
    const size_t asked = std::min<size_t>(host.notes.size(), 200);
    for (int round = 0; round < 3; ++round) {
        const auto d = Clock::now();
        for (size_t i = 0; i < asked; ++i) {
            int found = 0;
            FindNLSStringEx(
                LOCALE_NAME_USER_DEFAULT, FIND_FROMSTART | NORM_IGNORECASE | NORM_IGNORENONSPACE,
                host.notes[i].data.text.c_str(), -1, L"cafe", -1, &found, nullptr, nullptr, 0);
        }
        system.push_back(Millis(Clock::now() - d) * static_cast<double>(host.notes.size()) /
                         static_cast<double>(asked));
    }
    const double keystroke = Median(keystrokes), floor = Median(floors);
    std::printf(
        "find notes=%-5d open %8.2f ms | keystroke %7.3f ms (matching %7.3f ms, the list view "
        "the rest) | floor (plain find) %7.3f ms, matching/floor %6.1f | FindNLSStringEx for one "
        "word %9.1f ms%s | rows shown %zu\n",
        count, Median(opens), keystroke, Median(matches), floor,
        floor > 0 ? Median(matches) / floor : 0.0, Median(system),
        asked < host.notes.size() ? " (from 200 notes)" : "", window.Shown().size());
    window.Destroy();
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    std::vector<int> counts = {10, 1000, 5000};
    if (const char* env = std::getenv("VN_BENCH_COUNTS")) {
        counts.clear();
        for (const char* p = env; *p;) {
            char* end = nullptr;
            const long n = std::strtol(p, &end, 10);
            if (end == p) break;
            counts.push_back(static_cast<int>(n));
            p = end;
        }
    }
    for (int count : counts) Run(count);
    return 0;
}
