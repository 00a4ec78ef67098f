#include "main/NotesExport.h"

#include "store/RecycleBin.h"

std::wstring ExportText(const std::vector<ExportedNote>& notes) {
    std::wstring text;
    for (const ExportedNote& note : notes) {
        if (!note.title.empty()) text += note.title + L"\r\n";
        text += note.text;
        text += RecycleBin::Separator();
    }
    return text;
}
