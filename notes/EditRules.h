#pragma once
// What happens to a note's text when an in-place edit ends or text is pasted.

#include <string>

#include "notes/UndoStack.h"

namespace EditRules {

// Why an edit ended; each cause decides whether the note is fitted to its text
// afterwards and whether a blank new note survives.
enum class EditEnd {
    Escape,     // Escape in the editor
    FocusLost,  // the editor lost the focus to another window
    MouseDown,  // a mouse button pressed on the note itself
};

struct EndEditRequest {
    bool resizeToContent = false;
    bool keepIfEmpty = false;
};

EndEditRequest RequestFor(EditEnd cause);

// The two fixed answers to a whole text typed exactly so; any other text is
// returned as it stands.
std::wstring ApplyFixedReplacements(const std::wstring& typed);

// True when no code unit is above the space: spaces, tabs and line breaks only.
bool IsBlank(const std::wstring& text);

// A note made for editing is thrown away when left blank, unless the edit ended
// in a way that keeps it.
bool ShouldDeleteNewNote(bool editingNewNote, bool keepIfEmpty, const std::wstring& text);

struct CommitResult {
    bool textChanged = false;      // `text` was replaced: update the text view
    bool deleteNote = false;       // a blank new note: delete it and save
    bool resizeToContent = false;  // fit the note to its text before repainting
};

// Commits the editor's text into `text`. A change is recorded in `history`
// unless the edit began on a new note; `editingNewNote` is cleared.
// `resizeAfterEdit` is "/Settings/ResizeAfterEdit".
CommitResult CommitEdit(std::wstring& text, const std::wstring& edited, bool& editingNewNote,
                        const EndEditRequest& request, bool resizeAfterEdit, UndoStack& history);

// Replaces the whole text by the clipboard's; false (nothing recorded) when the
// texts are equal.
bool ApplyPaste(std::wstring& text, const std::wstring& clipboard, UndoStack& history);

}  // namespace EditRules
