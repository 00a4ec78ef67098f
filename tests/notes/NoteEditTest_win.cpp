// In-place editing through the real edit controls, Tab cycling, and a note's
// record going in and coming back out.

#include <gtest/gtest.h>

#include "NoteTestHost_win.h"
#include "notes/Clipboard_win.h"

using namespace NoteTest;

namespace {

// Types into the open editor the way the keyboard does (EM_REPLACESEL sends
// EN_CHANGE, which WM_SETTEXT on a multi-line edit does not).
void Type(NoteWindow& note, const std::wstring& s) {
    HWND editor = note.EditorHandle();
    ASSERT_NE(nullptr, editor);
    SendMessageW(editor, EM_SETSEL, 0, -1);
    SendMessageW(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(s.c_str()));
}

void PressEscape(NoteWindow& note) {
    SendMessageW(note.EditorHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
    Pump();
}

void Edit(NoteWindow& note, const std::wstring& s) {
    note.BeginEdit(false);
    Type(note, s);
    PressEscape(note);
}

// A plain top-level window of this thread to take the focus away.
HWND MakeOtherWindow() {
    return CreateWindowExW(0, L"Static", L"other", WS_POPUP | WS_VISIBLE, 600, 600, 50, 50, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TEST(NoteEditTest, EscapeCommitsWithTheFixedReplacementsOnlyWhenTheTextChanged) {
    FakeHost host;
    auto* note = host.LoadNote(DataAt(100, 100, 300, 250, L"start"));
    Edit(*note, L"aLL yOUR bASE");
    EXPECT_FALSE(note->Editing());
    EXPECT_EQ(L"aLL yOUR bASE aRE bELONG tO uS", note->Text());
    Edit(*note, L"universal greeting");
    EXPECT_EQ(L"Bah weep granah weep ninni bong", note->Text());
    Edit(*note, L"Universal greeting ");
    EXPECT_EQ(L"Universal greeting ", note->Text());

    // A pasted trigger text survives an edit that changes nothing.
    ASSERT_TRUE(CopyTextToClipboard(note->Handle(), L"aLL yOUR bASE"));
    note->PasteText();
    EXPECT_EQ(L"aLL yOUR bASE", note->Text());
    const size_t levels = note->History().UndoTexts().size();
    note->BeginEdit(false);
    PressEscape(*note);
    EXPECT_EQ(L"aLL yOUR bASE", note->Text());
    EXPECT_EQ(levels, note->History().UndoTexts().size());
    std::wstring shown(64, L'\0');
    shown.resize(GetWindowTextW(note->TextViewHandle(), &shown[0], 64));
    EXPECT_EQ(note->Text(), shown);
}

TEST(NoteEditTest, FourUndoLevelsAndANewChangeClearsRedo) {
    FakeHost host;
    auto* note = host.LoadNote(DataAt(100, 100, 300, 250, L"t0"));
    for (int i = 1; i <= 5; ++i) Edit(*note, L"t" + std::to_wstring(i));
    for (int i = 0; i < 4; ++i) note->Undo();
    EXPECT_EQ(L"t1", note->Text());  // the text before the second edit
    note->Undo();
    EXPECT_EQ(L"t1", note->Text());
    note->Redo();
    EXPECT_EQ(L"t2", note->Text());
    note->Undo();
    EXPECT_EQ(L"t1", note->Text());

    // Ctrl+Z / Ctrl+Y reach the same operations only with Ctrl down; an edit
    // after an undo forgets what could be redone.
    note->Redo();
    note->Undo();
    Edit(*note, L"fresh");
    EXPECT_FALSE(note->History().CanRedo());
    const int saves = host.saves;
    note->Redo();
    EXPECT_EQ(L"fresh", note->Text());
    EXPECT_EQ(saves, host.saves);
}

TEST(NoteEditTest, BlankNewNoteGoesOnEscapeButStaysWhenTheFocusLeaves) {
    FakeHost host;
    auto* doomed = new NoteWindow(host, true, true);
    ShowWindow(doomed->Handle(), SW_SHOW);
    doomed->BeginEdit(true);
    Type(*doomed, L" \t\r\n ");
    const int saves = host.saves;
    PressEscape(*doomed);
    EXPECT_TRUE(host.notes.empty());
    EXPECT_GT(host.saves, saves);

    auto* kept = new NoteWindow(host, true, true);
    ShowWindow(kept->Handle(), SW_SHOW);
    kept->BeginEdit(true);
    EXPECT_EQ(kept->EditorHandle(), GetFocus());
    EXPECT_FALSE(kept->IsIdle());
    HWND other = MakeOtherWindow();
    SetFocus(other);
    Pump();
    EXPECT_FALSE(kept->Editing());
    ASSERT_EQ(1u, host.notes.size());
    EXPECT_TRUE(kept->History().UndoTexts().empty());
    DestroyWindow(other);

    // The first text of a new note is not an undo level.
    kept->BeginEdit(true);
    Type(*kept, L"first");
    PressEscape(*kept);
    EXPECT_EQ(L"first", kept->Text());
    EXPECT_FALSE(kept->History().CanUndo());
}

TEST(NoteEditTest, TypingGrowsTheNoteButNotPastTheVirtualScreen) {
    FakeHost host;
    RECT screen = VirtualScreenRect();
    auto* note = host.LoadNote(
        DataAt(screen.left + 10, screen.bottom - 160, screen.left + 210, screen.bottom - 60, L""));
    note->BeginEdit(false);
    std::wstring lines = L"one";
    Type(*note, lines);
    RECT before = note->WindowRect();
    for (int i = 0; i < 8; ++i) lines += L"\r\nmore";
    Type(*note, lines);
    RECT grown = note->WindowRect();
    EXPECT_GT(grown.bottom, before.bottom);
    EXPECT_EQ(before.top, grown.top);
    for (int i = 0; i < 40; ++i) lines += L"\r\nmore";
    Type(*note, lines);
    RECT clamped = note->WindowRect();
    EXPECT_EQ(screen.bottom, clamped.bottom);
    // Deleting text never shrinks the note while typing.
    Type(*note, L"x");
    EXPECT_EQ(clamped.bottom, note->WindowRect().bottom);
    RECT editor;
    GetWindowRect(note->EditorHandle(), &editor);
    EXPECT_EQ(clamped.bottom - 16, editor.bottom);
}

TEST(NoteEditTest, FixedSizeSkinNeverGrows) {
    FakeHost host({true, false});
    auto* note = host.LoadNote(DataAt(100, 100, 200, 200, L""));
    note->BeginEdit(false);
    std::wstring lines;
    for (int i = 0; i < 30; ++i) lines += L"line\r\n";
    Type(*note, lines);
    EXPECT_EQ(200, note->WindowRect().bottom);
}

TEST(NoteEditTest, TabAsksTheHostForTheNextNoteInItsList) {
    FakeHost host;
    NoteWindow* notes[3];
    for (int i = 0; i < 3; ++i)
        notes[i] = host.LoadNote(DataAt(i * 150, 0, i * 150 + 120, 120, L"n"));
    notes[0]->Send(WM_KEYDOWN, VK_TAB, 0);
    notes[2]->Send(WM_KEYDOWN, VK_TAB, 0);
    ASSERT_EQ(2u, host.activated.size());
    EXPECT_EQ(notes[0], host.activated[0]);
    EXPECT_EQ(notes[2], host.activated[1]);
    Pump();
    EXPECT_EQ(notes[0]->Handle(), GetForegroundWindow());  // wrapped to the first
}

TEST(NoteEditTest, RecordsRoundTripThroughLiveNotes) {
    FakeHost host;
    NoteData a = DataAt(10, 10, 160, 160, L"alpha\r\nline");
    a.title = L"A";
    a.priority = kPriorityLow;
    a.created = {2021, 3, 0, 4, 5, 6, 0, 0};
    NoteData b = DataAt(300, 10, 450, 160, L"beta");
    b.alwaysOnTop = true;
    b.locked = true;
    b.hasCustomFont = true;
    b.font.lfHeight = -20;
    b.font.lfWeight = FW_BOLD;
    const wchar_t face[] = L"Arial";
    for (int i = 0; face[i]; ++i) b.font.lfFaceName[i] = face[i];
    NoteData c = DataAt(600, 10, 750, 160, L"gamma");
    c.hidden = true;
    c.hasAlarm = true;
    c.alarmTime = {2030, 1, 0, 1, 0, 0, 0, 0};

    NoteWindow* na = host.LoadNote(a);
    NoteWindow* nb = host.LoadNote(b);
    NoteWindow* nc = host.LoadNote(c);
    EXPECT_EQ(a, na->Data());
    EXPECT_EQ(b, nb->Data());
    EXPECT_EQ(c, nc->Data());
    EXPECT_FALSE(IsWindowVisible(nc->Handle()));
    EXPECT_TRUE(GetWindowLongPtrW(nb->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);

    const int saves = host.saves;
    SetWindowPos(na->Handle(), nullptr, 40, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_GT(host.saves, saves);
    Edit(*nb, L"beta edited");
    NoteData movedA = a;
    RECT r = na->WindowRect();
    movedA.rect = {r.left, r.top, r.right, r.bottom};
    EXPECT_EQ(150, r.right - r.left);
    EXPECT_EQ(movedA, na->Data());
    NoteData editedB = b;
    editedB.text = L"beta edited";
    // Escape fitted the note to its text from the same top-left corner.
    RECT fitted = nb->WindowRect();
    EXPECT_EQ(b.rect.left, fitted.left);
    EXPECT_EQ(b.rect.top, fitted.top);
    editedB.rect = {fitted.left, fitted.top, fitted.right, fitted.bottom};
    EXPECT_EQ(editedB, nb->Data());
}
