#pragma once
// The export of all notes into one text file: for each note, in list order and
// hidden ones included, its title and a line break when it has one, its text,
// and the separator line that the recycle bin uses as well.

#include <string>
#include <vector>

struct ExportedNote {
    std::wstring title;  // the note's own title, without the date; may be empty
    std::wstring text;
};

// The whole file's text. Line breaks are written as the notes hold them.
std::wstring ExportText(const std::vector<ExportedNote>& notes);
