// Writes a few demo notes to the Notes.dat named on the command line, for
// screenshots and for trying the program out.

#include <windows.h>

#include <string>

#include "store/NoteData_win.h"
#include "store/NotesFile.h"

namespace {

NoteData Note(int left, int top, int width, int height, const wchar_t* text, int priority,
              const wchar_t* title = L"") {
    NoteData note;
    note.rect = RectData{left, top, left + width, top + height};
    note.text = text;
    note.title = title;
    note.priority = priority;
    SYSTEMTIME now;
    GetLocalTime(&now);
    note.created = FromSystemTime(now);
    return note;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    NotesFileData data;
    data.notes.push_back(Note(80, 90, 220, 150,
                              L"Welcome!\r\nDouble-click a note to write in it, "
                              L"drag it by its body.",
                              kPriorityHigh, L"Getting started"));
    data.notes.push_back(
        Note(330, 110, 200, 130, L"Shopping:\r\n- bread\r\n- apples\r\n- coffee", kPriorityNormal));
    data.notes.push_back(
        Note(140, 300, 220, 120, L"Call the dentist before Friday at 10:30", kPriorityVeryHigh));
    data.notes.push_back(
        Note(420, 320, 200, 110, L"Ideas for the weekend: a walk by the lake", kPriorityLow));
    SYSTEMTIME now;
    GetLocalTime(&now);
    bool keepOriginal = false;
    return SaveNotesFile(argv[1], data, FromSystemTime(now), keepOriginal) ? 0 : 1;
}
