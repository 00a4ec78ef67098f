// The note menu's title commands.

#include "notes/NoteWindow_win.h"
#include "notes/TitleDialog_win.h"

bool NoteWindow::ChangeTitle() {
    MakeOpaque();
    titleDialogOpen = true;
    std::wstring edited = title;
    HWND self = Handle();
    const bool confirmed = RunTitleDialog(self, host.Language(), edited);
    if (!StillExists(self, this)) return false;
    titleDialogOpen = false;
    if (confirmed && edited != title) {
        title = edited;
        host.SaveNotes();
    }
    // An edit going on keeps the note opaque until it ends.
    if (!editor) RestoreTranslucency();
    return true;
}

void NoteWindow::RemoveTitle() {
    if (title.empty()) return;
    title.clear();
    host.SaveNotes();
}
