// The note menu's title commands.

#include "notes/NoteWindow_win.h"
#include "notes/TitleDialog_win.h"

void NoteWindow::ChangeTitle() {
    MakeOpaque();
    titleDialogOpen = true;
    std::wstring edited = record.title;
    const bool confirmed = RunTitleDialog(Handle(), host.Language(), edited);
    titleDialogOpen = false;
    // Closed by the host meanwhile: the new title has no note to go to.
    if (closing) return;
    if (confirmed && edited != record.title) {
        record.title = edited;
        host.NotesChanged();
    }
    // An edit going on keeps the note opaque until it ends.
    if (!editor) RestoreTranslucency();
}

void NoteWindow::RemoveTitle() {
    if (record.title.empty()) return;
    record.title.clear();
    host.NotesChanged();
}
