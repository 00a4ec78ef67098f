#pragma once
// Where the note's editor puts each line of a text. An idle note draws its
// text from this layout, line by line, so that opening the editor moves no
// line and no letter: the same margins, word breaks and tab stops, because
// they come from an edit control set up as the editor is. (DrawTextW's rules
// differ: its tab stops, and its breaks around tabs, are its own.)

#include <windows.h>

#include <string>
#include <vector>

struct EditLine {
    int start = 0;   // index of the line's first character in the text
    int length = 0;  // characters, without the line break
    POINT at = {};   // where the line starts, relative to the text area
};

struct EditLayout {
    std::vector<EditLine> lines;
    int lineHeight = 0;
    // The editor's tab stops: every tabWidth pixels from a line's start.
    int tabWidth = 0;
    // The rightmost end of a line, relative to the text area, and the
    // bottom of the last line.
    int right = 0;
    int bottom = 0;
};

// Lays `text` out in a text area of width x height with `font`, as the note's
// editor does. False when the system gives no edit control to ask (the
// caller falls back to its own measuring).
bool LayOutAsEditor(const std::wstring& text, HFONT font, int width, int height, EditLayout& out);

// The layout of the text that `edit`, a live edit control set up as the
// editor is (LayOutAsEditor's set-up at its client size), holds: read from the
// control's own lines, counted from the top however far it is scrolled, with
// no laying out again. The same lines as LayOutAsEditor gives for that text at
// that size, the whole text however long. `text` is what the control holds.
// False when the control holds more than `mostLines` lines (reading costs a
// little per line; the caller lays such a text out instead).
bool ReadEditorLayout(HWND edit, HFONT font, const std::wstring& text, EditLayout& out,
                      int mostLines);

// Draws the laid-out text at the text area's top-left corner (x, y), with the
// editor's tab stops, in the colours and font selected into dc.
void DrawEditLayout(HDC dc, int x, int y, const std::wstring& text, const EditLayout& layout);
