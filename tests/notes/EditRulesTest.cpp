#include "notes/EditRules.h"

#include <gtest/gtest.h>

using namespace EditRules;

namespace {

CommitResult Commit(std::wstring& text, const std::wstring& edited, UndoStack& history,
                    EditEnd cause = EditEnd::Escape, bool newNote = false,
                    bool resizeAfterEdit = true) {
    return CommitEdit(text, edited, newNote, RequestFor(cause), resizeAfterEdit, history);
}

TEST(EditRules, FixedReplacementsOnlyForTheExactText) {
    struct {
        const wchar_t* typed;
        const wchar_t* committed;
    } cases[] = {
        {L"aLL yOUR bASE", L"aLL yOUR bASE aRE bELONG tO uS"},
        {L"universal greeting", L"Bah weep granah weep ninni bong"},
        {L"All your base", L"All your base"},
        {L"aLL yOUR bASE ", L"aLL yOUR bASE "},
        {L"universal greeting\r\n", L"universal greeting\r\n"},
    };
    for (const auto& c : cases) {
        std::wstring text = L"before";
        UndoStack history;
        Commit(text, c.typed, history);
        EXPECT_EQ(c.committed, text);
    }
}

TEST(EditRules, UnchangedTextIsNeitherReplacedNorRecorded) {
    std::wstring text = L"aLL yOUR bASE";  // as pasted
    UndoStack history;
    const CommitResult r = Commit(text, L"aLL yOUR bASE", history);
    EXPECT_FALSE(r.textChanged);
    EXPECT_EQ(L"aLL yOUR bASE", text);
    EXPECT_FALSE(history.CanUndo());
}

TEST(EditRules, FourUndoLevels) {
    std::wstring text = L"t0";
    UndoStack history;
    for (const wchar_t* next : {L"t1", L"t2", L"t3", L"t4", L"t5"}) Commit(text, next, history);
    EXPECT_EQ((std::vector<std::wstring>{L"t1", L"t2", L"t3", L"t4"}), history.UndoTexts());
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(history.Undo(text));
    EXPECT_EQ(L"t1", text);
    EXPECT_FALSE(history.Undo(text));
    EXPECT_EQ(L"t1", text);

    for (int i = 0; i < 4; ++i) EXPECT_TRUE(history.Redo(text));
    EXPECT_EQ(L"t5", text);
    EXPECT_FALSE(history.Redo(text));
}

TEST(EditRules, ANewChangeClearsRedo) {
    std::wstring text = L"a";
    UndoStack history;
    Commit(text, L"b", history);
    ASSERT_TRUE(history.Undo(text));
    ASSERT_TRUE(history.Redo(text));
    EXPECT_EQ(L"b", text);  // undo then redo returns to the same text

    ASSERT_TRUE(history.Undo(text));
    Commit(text, L"c", history);
    EXPECT_FALSE(history.CanRedo());

    ASSERT_TRUE(history.Undo(text));
    EXPECT_TRUE(ApplyPaste(text, L"pasted", history));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(L"pasted", text);
    EXPECT_FALSE(ApplyPaste(text, L"pasted", history));
    EXPECT_EQ((std::vector<std::wstring>{L"a"}), history.UndoTexts());
}

TEST(EditRules, NewNoteKeptOrDeletedByHowTheEditEnded) {
    struct {
        const char* name;
        const wchar_t* typed;
        EditEnd cause;
        bool deleted;
    } cases[] = {
        {"blank, Escape", L"", EditEnd::Escape, true},
        {"whitespace only, Escape", L" \t\r\n ", EditEnd::Escape, true},
        {"blank, focus left", L"", EditEnd::FocusLost, false},
        {"blank, clicked", L"  ", EditEnd::MouseDown, false},
        {"written, Escape", L" x ", EditEnd::Escape, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring text;
        UndoStack history;
        bool newNote = true;
        const CommitResult r =
            CommitEdit(text, c.typed, newNote, RequestFor(c.cause), true, history);
        EXPECT_EQ(c.deleted, r.deleteNote);
        EXPECT_FALSE(newNote);
        EXPECT_FALSE(history.CanUndo());  // a new note's first text is not a change
        EXPECT_FALSE(r.deleteNote && r.resizeToContent);
    }
    // Only a new note is ever deleted.
    std::wstring text = L"old";
    UndoStack history;
    EXPECT_FALSE(Commit(text, L"", history, EditEnd::Escape).deleteNote);
}

TEST(EditRules, OnlyEscapeWithTheSettingResizes) {
    std::wstring text = L"a";
    UndoStack history;
    EXPECT_TRUE(Commit(text, L"b", history, EditEnd::Escape, false, true).resizeToContent);
    EXPECT_FALSE(Commit(text, L"c", history, EditEnd::Escape, false, false).resizeToContent);
    EXPECT_FALSE(Commit(text, L"d", history, EditEnd::FocusLost).resizeToContent);
    EXPECT_FALSE(Commit(text, L"e", history, EditEnd::MouseDown).resizeToContent);
}

TEST(EditRules, BlankMeansNoCodeUnitAboveTheSpace) {
    EXPECT_TRUE(IsBlank(L""));
    EXPECT_TRUE(IsBlank(L" \t\r\n\x01"));
    EXPECT_FALSE(IsBlank(L"!"));
    EXPECT_FALSE(IsBlank(L"\x00A0"));  // a no-break space is text
}

}  // namespace
