// The note's editor, starting and ending an in-place edit, growth while
// typing, and the text history. The editor is the note's only child window,
// and it exists only while the user edits.

#include "arrange/Rect_win.h"
#include "notes/EditLayout_win.h"
#include "notes/EditRules.h"
#include "notes/NoteLayout.h"
#include "notes/NoteWindow_win.h"
#include "ui/Clipboard_win.h"
#include "ui/PrivateMessages_win.h"

namespace {

constexpr DWORD kEditorStyle = WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;

// The most lines of the editor that typing reads to decide the note's growth.
constexpr int kMostLinesRead = 1000;

void SetFormatRect(HWND edit, int width, int height) {
    RECT format = {0, 0, width, height};
    SendMessageW(edit, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&format));
}

// Caret after the text, the note's font, the formatting rectangle and default
// tab stops.
void PrepareEdit(HWND edit, HFONT font, int width, int height) {
    const LRESULT length = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(length), length);
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetFormatRect(edit, width, height);
    SendMessageW(edit, EM_SETTABSTOPS, 0, 0);
}

}  // namespace

LRESULT NoteEditor::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The edit control runs modal loops of its own (its context menu), during
    // which the note may be closed: the note waits for them too.
    NoteWindow::HandlerScope running(note);
    HWND parent = GetParent(window);
    // The focus going to the note itself (its activation) comes straight back.
    const bool toTheNote = reinterpret_cast<HWND>(wParam) == parent && !note.closingEditor;
    if (message == WM_KILLFOCUS && reinterpret_cast<HWND>(wParam) != window && parent && !toTheNote)
        PostMessageW(parent, kEndNoteEditMessage, 0, 1);
    else if (message == WM_KEYDOWN && wParam == VK_ESCAPE && parent)
        PostMessageW(parent, kEndNoteEditMessage, 1, 0);
    return Window::HandleMessage(window, message, wParam, lParam);
}

void NoteWindow::SetText(const std::wstring& s) {
    record.text = s;
    InvalidateAll();
}

void NoteWindow::BeginEdit(bool newNote) {
    if (editor) return;
    StopPulse();
    openingEditor = true;
    RECT c = ClientRect();
    Rect a = NoteGeometry::TextRect(ToPortable(c), metrics.editInsets);
    MakeOpaque();
    ShapeForTyping(true);
    editingNewNote = newNote;
    editor = std::make_unique<NoteEditor>(*this);
    HWND created = CreateWindowExW(WS_EX_TRANSPARENT, L"Edit", record.text.c_str(), kEditorStyle,
                                   a.left, a.top, a.Width(), a.Height(), Handle(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorId)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (created && !editor->Subclass(created)) DestroyWindow(created);
    HWND edit = editor->Handle();
    if (edit) {
        SetFocus(edit);
        PrepareEdit(edit, CurrentFont(), a.Width(), a.Height());
    }
    if (edit) ShowWindow(edit, SW_SHOW);
    openingEditor = false;
    // The frame shows while the text is edited.
    UpdateMask();
}

void NoteWindow::EndEdit(bool resizeToContent, bool keepIfEmpty) {
    if (openingEditor || !editor) return;
    HWND edit = editor->Handle();
    editBuffer.clear();
    editor->GetText(editBuffer);
    // Destroying the focused editor would leave the focus nowhere; the note
    // keeps it, so its keys (Tab, Enter) go on working.
    if (edit && GetFocus() == edit) {
        closingEditor = true;
        SetFocus(Handle());
        closingEditor = false;
    }
    editor.reset();
    if (typingSaveDue) KillTimer(Handle(), kNoteTypingTimer);
    typingSaveDue = false;

    EditRules::EndEditRequest request;
    request.resizeToContent = resizeToContent;
    request.keepIfEmpty = keepIfEmpty;
    EditRules::CommitResult result = EditRules::CommitEdit(
        record.text, editBuffer, editingNewNote, request, host.Settings().resizeAfterEdit, history);

    ShapeForTyping(false);
    RestoreTranslucency();
    if (GetFocus() != Handle()) FadeToTranslucent();

    if (result.deleteNote) {
        host.CloseNote(*this);
        host.NotesChanged();
        return;
    }
    if (result.resizeToContent) ResizeToContent();
    InvalidateAll();
    host.NotesChanged();
    UpdateMask();
}

void NoteWindow::GrowWithEditor() {
    if (!editor || !editor->Handle()) return;
    editBuffer.clear();
    editor->GetText(editBuffer);
    // The editor holds the text laid out at the very area measured: its lines
    // are read from it instead of laying the whole text out again at every key.
    // Reading costs a little per line, laying out as much as fills the screen
    // twice: a text of more lines than that is laid out again.
    HWND edit = editor->Handle();
    const NoteGeometry::MeasureFn laidOutAgain = Measurer(editBuffer);
    const NoteGeometry::MeasureFn measure = [&](const Rect& area) {
        RECT client = {};
        EditLayout live;
        if (!GetClientRect(edit, &client) || client.right != area.Width() ||
            !ReadEditorLayout(edit, CurrentFont(), editBuffer, live, kMostLinesRead))
            return laidOutAgain(area);
        RECT r = ToWin32(area);
        SizeToLayout(r, live);
        return ToPortable(r);
    };
    NoteGeometry::Growth growth = NoteGeometry::GrowWhileTyping(
        ToPortable(WindowRect()), metrics, Grid(), ToPortable(VirtualScreenRect()), measure);
    if (!growth.grow) return;
    editor->SetRect(ToWin32(growth.editor), false);
    SetFormatRect(editor->Handle(), growth.editor.Width(), growth.editor.Height());
    InvalidateRect(editor->Handle(), nullptr, TRUE);
    SetRect(ToWin32(growth.window), true);
}

void NoteWindow::KeepTypingSafe() {
    if (typingSaveDue || closing) return;
    typingSaveDue = SetTimer(Handle(), kNoteTypingTimer, kTypingSaveDelay, nullptr) != 0;
    // Without a timer the host hears of every keystroke instead.
    if (!typingSaveDue) host.NotesChanged();
}

void NoteWindow::TypingWritten() {
    if (!typingSaveDue) return;
    KillTimer(Handle(), kNoteTypingTimer);
    typingSaveDue = false;
}

void NoteWindow::PasteText() {
    std::wstring pasted;
    if (!ReadClipboardText(Handle(), pasted)) return;
    std::wstring next = record.text;
    if (!EditRules::ApplyPaste(next, pasted, history)) return;
    SetText(next);
    host.NotesChanged();
}

void NoteWindow::Undo() {
    std::wstring next = record.text;
    if (!history.Undo(next)) return;
    SetText(next);
    host.NotesChanged();
}

void NoteWindow::Redo() {
    std::wstring next = record.text;
    if (!history.Redo(next)) return;
    SetText(next);
    host.NotesChanged();
}
