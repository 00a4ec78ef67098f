#pragma once
// A realistic set of notes for the benchmarks: about 200 characters of text each,
// a few lines, some titles, fonts and alarms.

#include <string>

#include "store/NotesFile.h"

namespace Bench {

inline NotesFileData MakeNotes(int count) {
    static const wchar_t kWords[][12] = {L"milk",    L"meeting", L"call",   L"Anna",
                                         L"Tuesday", L"report",  L"ticket", L"d\u00e9j\u00e0",
                                         L"review",  L"garden",  L"budget", L"\u2192 later"};
    NotesFileData data;
    data.hasCustomDefaultFont = true;
    data.customDefaultFont.lfHeight = -13;
    data.customDefaultFont.lfWeight = 400;
    for (int i = 0; i < count; ++i) {
        NoteData n;
        n.rect = {40 + i % 30 * 20, 40 + i % 25 * 20, 260 + i % 30 * 20, 200 + i % 25 * 20};
        unsigned seed = static_cast<unsigned>(i) * 2654435761u;
        while (n.text.size() < 200) {
            seed = seed * 1103515245u + 12345u;
            n.text += kWords[(seed >> 16) % 12];
            n.text += (seed >> 8) % 7 == 0 ? L"\r\n" : L" ";
        }
        if (i % 3 == 0) n.title = L"Note " + std::to_wstring(i);
        n.created = {2026, 12, 0, 6, 20, 41, 0, 0};
        if (i % 4 == 0) {
            n.hasCustomFont = true;
            n.font = data.customDefaultFont;
            n.font.lfWeight = 700;
        }
        if (i % 5 == 0) {
            n.alarmEnabled = n.hasAlarm = true;
            n.alarmTime = {2027, 1, 5, 1, 9, 0, 0, 0};
        }
        n.priority = i % 5;
        data.notes.push_back(n);
    }
    return data;
}

}  // namespace Bench
