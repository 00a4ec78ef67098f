#pragma once
// The text of a note's item in the main menu's list of notes.

#include <string>

struct NoteMenuSuffixes {
    std::wstring locked;
    std::wstring hidden;
    std::wstring lockedHidden;
};

// The note's title (with its date part) followed by the suffix that fits its
// state, then cut after the last character that is not a space, CR, LF or tab.
// A text made only of those characters stays as it is.
std::wstring NoteMenuItemText(const std::wstring& title, bool locked, bool hidden,
                              const NoteMenuSuffixes& suffixes);
