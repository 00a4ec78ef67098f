#include "notes/EditRules.h"

#include <gtest/gtest.h>

using namespace EditRules;

namespace {

CommitResult Commit(std::wstring& text, const std::wstring& edited, UndoStack& history) {
    bool newNote = false;
    return CommitEdit(text, edited, newNote, RequestFor(EditEnd::Escape), true, history);
}

TEST(EditRules, FixedReplacementsOnlyForTheExactChangedText) {
    struct {
        const wchar_t *before, *typed, *committed;
    } cases[] = {
        {L"x", L"aLL yOUR bASE", L"aLL yOUR bASE aRE bELONG tO uS"},
        {L"x", L"universal greeting", L"Bah weep granah weep ninni bong"},
        {L"x", L"All your base", L"All your base"},
        {L"x", L"aLL yOUR bASE ", L"aLL yOUR bASE "},
        {L"aLL yOUR bASE", L"aLL yOUR bASE", L"aLL yOUR bASE"},  // as pasted, left unchanged
    };
    for (const auto& c : cases) {
        std::wstring text = c.before;
        UndoStack history;
        EXPECT_EQ(std::wstring(c.before) != c.typed, Commit(text, c.typed, history).textChanged);
        EXPECT_EQ(c.committed, text);
        EXPECT_EQ(text != c.before, history.CanUndo());
    }
}

TEST(EditRules, FourUndoLevelsAndANewChangeClearsRedo) {
    std::wstring text = L"t0";
    UndoStack history;
    for (const wchar_t* next : {L"t1", L"t2", L"t3", L"t4", L"t5"}) Commit(text, next, history);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(history.Undo(text));
    EXPECT_FALSE(history.Undo(text));
    EXPECT_EQ(L"t1", text);  // the text before the second edit
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(history.Redo(text));
    EXPECT_EQ(L"t5", text);
    EXPECT_FALSE(history.Redo(text));

    ASSERT_TRUE(history.Undo(text));
    Commit(text, L"c", history);
    EXPECT_FALSE(history.CanRedo());
    ASSERT_TRUE(history.Undo(text));
    EXPECT_EQ(L"t4", text);
    EXPECT_TRUE(ApplyPaste(text, L"pasted", history));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(L"pasted", text);
    EXPECT_FALSE(ApplyPaste(text, L"pasted", history));
    // Undo right after a paste brings back the text it replaced, once.
    ASSERT_TRUE(history.Undo(text));
    EXPECT_EQ(L"t4", text);
    ASSERT_TRUE(history.Redo(text));
    EXPECT_EQ(L"pasted", text);
    EXPECT_EQ((std::vector<std::wstring>{L"t1", L"t2", L"t3", L"t4"}), history.UndoTexts());
}

TEST(EditRules, BlankNewNoteGoesOnlyOnEscapeAndOnlyEscapeResizes) {
    struct {
        const char* name;
        const wchar_t* typed;
        EditEnd cause;
        bool newNote, resizeSetting, deleted, resized;
    } cases[] = {
        {"blank, Escape", L"", EditEnd::Escape, true, true, true, false},
        {"blanks and breaks, Escape", L" \t\r\n\x01", EditEnd::Escape, true, true, true, false},
        {"blank, focus left", L"", EditEnd::FocusLost, true, true, false, false},
        {"no-break space is text", L"\x00A0", EditEnd::Escape, true, true, false, true},
        {"old note emptied", L"", EditEnd::Escape, false, true, false, true},
        {"Escape, setting off", L"e", EditEnd::Escape, false, false, false, false},
        {"focus left", L"e", EditEnd::FocusLost, false, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring text = c.newNote ? L"" : L"old";
        UndoStack history;
        bool newNote = c.newNote;
        const CommitResult r =
            CommitEdit(text, c.typed, newNote, RequestFor(c.cause), c.resizeSetting, history);
        EXPECT_EQ(c.deleted, r.deleteNote);
        EXPECT_EQ(c.resized, r.resizeToContent);
        EXPECT_FALSE(newNote);
        // A new note's first text is not a change that can be undone.
        EXPECT_EQ(!c.newNote, history.CanUndo());
    }
}

}  // namespace
