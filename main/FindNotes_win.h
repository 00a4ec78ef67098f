#pragma once
// The "Find notes" window: every note in a list (title or first line, priority,
// alarm, hidden and locked state, creation date), filtered as the user types.
// The list is a virtual report view, so that thousands of notes cost only the
// rows on screen. The window knows notes only as records with an id; the host
// shows or deletes a note by its id.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class LanguageTable;

#include "main/NoteSearch.h"
#include "store/NoteData.h"
#include "ui/DialogWindow_win.h"

class FindNotesHost {
public:
    struct Note {
        uintptr_t id = 0;
        NoteData data;
        std::wstring shownTitle;  // the note's title, or its first line
    };
    virtual ~FindNotesHost() = default;
    virtual std::vector<Note> FindNotesList() = 0;
    // Unhides the note, brings it to the front and flashes it.
    virtual void ShowFoundNote(uintptr_t id) = 0;
    // Moves the note to the recycle bin after the usual question.
    virtual void DeleteFoundNote(uintptr_t id) = 0;
};

// The system's folding for the search: lower case, compatibility decomposition,
// nonspacing marks dropped.
std::wstring SystemSearchFolding(const std::wstring& character);

class FindNotesWindow : public DialogWindow {
public:
    // The language gives the window's texts; it outlives the window.
    FindNotesWindow(FindNotesHost& host, const LanguageTable& language)
        : host(host), language(language) {}

    // Creates the window or brings it to the front; with words, they replace
    // the search box's text.
    bool Open(HWND owner, const std::wstring* words);
    // Reads the notes from the host again and filters them.
    void Reload();
    void SetSearchText(const std::wstring& text);
    // Filters the notes by the search box's words and shows the result.
    void Filter();
    // Only the matching part of Filter: Shown() afterwards, the list untouched.
    void Match();

    // What the list shows: indexes into Notes(), in list order.
    const std::vector<size_t>& Shown() const { return shown; }
    const std::vector<FindNotesHost::Note>& Notes() const { return notes; }
    // The text of a cell of the list and the ranges of the first column that are
    // highlighted.
    std::wstring CellText(size_t row, int column) const;
    std::vector<std::pair<size_t, size_t>> Highlights(size_t row) const;
    HWND List() const;

    bool OnCommand(WORD notification, WORD id, HWND control) override;
    bool PreTranslate(MSG& message) override;
    INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Row {
        NoteSearch::Folded title, text, shown;
        std::wstring cells[5];
    };
    void OnInitDialog();
    void Layout();
    LRESULT OnNotify(NMHDR& header);
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw);
    int SelectedRow() const;
    void ShowSelected();
    void DeleteSelected();

    FindNotesHost& host;
    const LanguageTable& language;
    NoteSearch::Folder folder{SystemSearchFolding};
    std::vector<FindNotesHost::Note> notes;
    std::vector<Row> rows;
    std::vector<size_t> shown;
    std::vector<std::wstring> words;
};
