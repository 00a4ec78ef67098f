#pragma once
// One note on the desktop: a skinned, borderless, optionally translucent window
// that shows its text through a read-only edit child, edits it in place with a
// second edit child, and holds the note's persistent fields itself.
//
// For the application:
//   auto* note = new NoteWindow(host, layered, startEditing);
//     creates the window, hidden, one skin background high and one (three when
//     startEditing) background widths wide, and adds it to host.AddNote. The
//     caller places and shows it: CreateNote calls SetText, ResizeToContent,
//     FitRectToGrid, shows it and calls BeginEdit(true) when asked; LoadNotes
//     calls ApplyData with a record already passed through the load rules of
//     NotesFile.h (moved into the virtual screen, due alarm settled).
//   note->Data() gives the record to save; its rect is the window rectangle.
//   delete note (or WM_CLOSE) removes it from the host's list without saving.
// Files: NoteWindow_win.cpp (life cycle and state), NotePaint_win.cpp (drawing,
// measuring, layout), NoteInput_win.cpp (messages, mask, sizing),
// NoteEdit_win.cpp (text view, editor, undo), NoteMenu_win.cpp (the note menu,
// its commands, deleting, fonts), NoteLinks_win.cpp (the Links submenu),
// NoteTitle_win.cpp (title commands), NoteAlarm_win.cpp (alarm commands and
// check), NoteExport_win.cpp (save as, e-mail).

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "arrange/Rect.h"
#include "notes/NoteHost_win.h"
#include "notes/NoteLayout.h"
#include "notes/NoteMetrics.h"
#include "notes/UndoStack.h"
#include "store/NoteData.h"
#include "ui/SmallWindow_win.h"

class HotControl;
class SkinBitmap;
class NoteWindow;

// The read-only edit child that shows a note's text. The mouse passes through
// it to the note, keys are dropped, and no caret is ever shown.
class NoteTextView : public Window {
public:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The editable edit child that exists while a note is being edited. Escape and
// the loss of the focus end the edit through kEndNoteEditMessage to the note.
class NoteEditor : public Window {
public:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
};

class NoteWindow : public SmallWindow {
public:
    static constexpr int kTextViewId = 5678;
    static constexpr int kEditorId = 4567;
    static constexpr UINT kHoverInterval = 50;
    static constexpr UINT kAlarmInterval = 60000;

    NoteWindow(NoteHost& host, bool layered, bool startEditing);
    ~NoteWindow() override;

    // --- the persistent record ---
    NoteData Data() const;
    // Takes a loaded record: font, alarm timer, text, always on top, lock,
    // rectangle; shows the note without activating it unless hidden, and puts
    // it at the bottom of the Z order unless it stays on top. The move asks the
    // host to save: it ignores that while it is loading.
    void ApplyData(const NoteData& data);

    // --- state changes; each saves through the host ---
    void Hide();
    void Unhide(bool show);
    void ToggleAlwaysOnTop();
    void SetLocked(bool on);
    void SetPriority(int p);
    // No editor open and no title dialog open.
    bool IsIdle() const { return !editor && !titleDialogOpen; }
    // Places the note at `rect` after widening it to the background and fitting
    // it to the grid.
    void FitRectToGrid(const RECT& rect, bool redraw = true);
    void PlaceButtons(int width, int height);

    // --- text and editing ---
    void SetText(const std::wstring& s);
    const std::wstring& Text() const { return text; }
    void BeginEdit(bool newNote);
    // False when the note deleted itself (a blank new note): do not touch it.
    bool EndEdit(bool resizeToContent, bool keepIfEmpty);
    void Undo();
    void Redo();
    void PasteText();
    // Sizes the note to its text, keeping the top-left corner; saves when the
    // size changed.
    void ResizeToContent();
    // Measures s word-wrapped in rect (in and out) with the note's font.
    // overflow: the text needs more height than rect offered.
    void MeasureText(RECT& rect, const std::wstring& s, bool& overflow) const;
    // Shows or hides the frame and buttons behind the skin's mask.
    void UpdateMask();
    void ShowNoteMenu();
    // Sets the default item and the greyed and checked states of the note menu's
    // popup from this note's state.
    void PrepareNoteMenu(HMENU popup) const;
    // Asks first when the note has visible text and alwaysConfirm or the
    // ConfirmDelete setting says so; puts the text into the recycle bin, and
    // keeps the note when that fails. True when the note is gone: do not touch it.
    bool DeleteNote(bool alwaysConfirm);
    // Its own title, else its first line (NoTitle when it has no text), and
    // with withDate and the ShowDateInTitle setting its creation date.
    std::wstring TitleText(bool withDate) const;
    // Scans the text for links and lists them in the note menu's Links submenu.
    void FillLinksMenu(HMENU popup);
    // Runs when the alarm timer fires: the note comes forward once its alarm
    // time has come, else the timer is set for the next look.
    void CheckAlarm();
    // Whether the note's window and object still exist: a modal dialog's message
    // loop may have closed the note (tray Exit, a second instance) meanwhile.
    static bool StillExists(HWND window, const NoteWindow* note) {
        return IsWindow(window) && WindowFromHandle(window) == note;
    }

    // --- read-only views of the run-time state ---
    const std::wstring& Title() const { return title; }
    int Priority() const { return priority; }
    bool Locked() const { return locked; }
    bool AlwaysOnTop() const { return alwaysOnTop; }
    bool Hidden() const { return hidden; }
    bool Masked() const { return masked; }
    bool MoreText() const { return moreText; }
    bool FrameForced() const { return frameForced; }
    bool HoverTimerRunning() const { return hoverTimerRunning; }
    bool Editing() const { return editor != nullptr; }
    HWND TextViewHandle() const;
    HWND EditorHandle() const;
    HWND MenuButtonHandle() const;
    HWND DeleteButtonHandle() const;
    Point PriorityIconPos() const { return priorityIconPos; }
    const UndoStack& History() const { return history; }
    const std::vector<std::wstring>& Links() const { return links; }
    bool HasAlarm() const { return hasAlarm; }
    bool AlarmEnabled() const { return alarmEnabled; }
    const SYSTEMTIME& AlarmTimeUtc() const { return alarmTime; }
    bool TitleDialogOpen() const { return titleDialogOpen; }
    HFONT CurrentFont() const { return currentFont; }

    // --- SmallWindow ---
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD notification, WORD id, HWND control) override;
    void Paint(HDC dc) override;
    Insets SnapInsets() const override;
    bool SnapToGrid() const override;
    bool SnapToNotes() const override;
    int32_t SnapGap() const override;
    int32_t SnapBorder() const override;

private:
    const Skin& NoteSkin() const;
    NoteGeometry::GridOptions Grid() const;
    bool HasMask() const;
    bool Layered() const { return host.LayeredWindows(); }
    NoteGeometry::MeasureFn Measurer(const std::wstring& s) const;
    void CreateButtons(bool layeredWindow);
    void CreateTextView();
    void LayoutForSize(int cx, int cy);
    void GrowWithEditor();
    void SetUnderlyingFont(HFONT font);
    void SetClickThrough(bool on);
    void OnActivate(WPARAM wParam);
    // False when the key deleted the note.
    bool OnKeyDown(WPARAM key);
    void SelectCustomFont();
    void UseCustomDefaultFont();
    void UseSkinDefaultFont();
    void ApplyFont();
    // Each returns false when the note is gone: do not touch it then.
    bool OpenLink(size_t index);
    bool ChangeTitle();
    void RemoveTitle();
    bool ChangeAlarm();
    void ToggleAlarm();
    void StartAlarmTimer();
    bool SaveAs();
    void EmailNote();
    void OnSizing(RECT& proposed);
    LRESULT OnControlColor(HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    bool InResizeGrip(POINT clientPoint) const;
    void InvalidateAll();

    NoteHost& host;
    NoteGeometry::NoteMetrics metrics;
    std::wstring text;
    std::wstring editBuffer;
    UndoStack history;
    std::wstring title;
    int priority = kPriorityNormal;
    Point priorityIconPos;
    SYSTEMTIME created = {};
    std::unique_ptr<NoteEditor> editor;
    std::unique_ptr<NoteTextView> textView;
    bool openingEditor = false;
    bool editingNewNote = false;
    bool locked = false;
    bool alwaysOnTop = false;
    bool hidden = false;
    bool hasCustomFont = false;
    LOGFONTW font = {};
    HFONT currentFont = nullptr;
    bool masked = false;
    bool hoverTimerRunning = false;
    bool frameForced = false;
    bool moreText = false;
    std::unique_ptr<HotControl> menuButton;
    std::unique_ptr<HotControl> deleteButton;
    std::vector<std::wstring> links;
    SYSTEMTIME alarmTime = {};
    bool hasAlarm = false;
    bool alarmEnabled = false;
    bool titleDialogOpen = false;
};
