#include "notes/EditRules.h"

namespace EditRules {

EndEditRequest RequestFor(EditEnd cause) {
    switch (cause) {
        case EditEnd::Escape:
            return {true, false};
        case EditEnd::FocusLost:
        case EditEnd::MouseDown:
            break;
    }
    return {false, true};
}

std::wstring ApplyFixedReplacements(const std::wstring& typed) {
    if (typed == L"aLL yOUR bASE") return typed + L" aRE bELONG tO uS";
    if (typed == L"universal greeting") return L"Bah weep granah weep ninni bong";
    return typed;
}

bool IsBlank(const std::wstring& text) {
    for (wchar_t c : text) {
        if (static_cast<unsigned long>(c) > 32) return false;
    }
    return true;
}

bool ShouldDeleteNewNote(bool editingNewNote, bool keepIfEmpty, const std::wstring& text) {
    return editingNewNote && !keepIfEmpty && IsBlank(text);
}

CommitResult CommitEdit(std::wstring& text, const std::wstring& edited, bool& editingNewNote,
                        const EndEditRequest& request, bool resizeAfterEdit, UndoStack& history) {
    CommitResult result;
    if (edited != text) {
        std::wstring committed = ApplyFixedReplacements(edited);
        // The first text of a new note is its creation, not a change to undo.
        if (!editingNewNote) history.Record(text);
        text = std::move(committed);
        result.textChanged = true;
    }
    const bool wasNew = editingNewNote;
    editingNewNote = false;
    if (ShouldDeleteNewNote(wasNew, request.keepIfEmpty, text)) {
        result.deleteNote = true;
        return result;
    }
    result.resizeToContent = request.resizeToContent && resizeAfterEdit;
    return result;
}

bool ApplyPaste(std::wstring& text, const std::wstring& clipboard, UndoStack& history) {
    if (clipboard == text) return false;
    history.Record(text);
    text = clipboard;
    return true;
}

}  // namespace EditRules
