#pragma once
// One note on the desktop: a skinned, borderless, optionally translucent window
// that draws its frame, text, priority icon and buttons itself, edits its text
// in place with an edit child that exists only while editing, and holds the
// note's persistent fields as one NoteData record.
//
// An idle note is a single window with no children and no GDI objects of its
// own (unless it has a font of its own): with thousands of notes the process
// stays far from the system's per-process quotas of window and GDI handles.
// Its text stays readable from outside: WM_GETTEXT on the note answers it.
//
// For the application, which owns its notes (NoteCollection_win.h):
//   auto note = std::make_unique<NoteWindow>(host, layered, startEditing);
//     creates the window, hidden, one skin background high and one (three when
//     startEditing) background widths wide. The host takes it into its list;
//     the caller places and shows it: CreateNote calls SetText,
//     ResizeToContent, FitRectToGrid, shows it and calls BeginEdit(true).
//   auto note = std::make_unique<NoteWindow>(host, layered, record);
//     a loaded note: the window is made hidden at the record's rectangle with
//     all of its state; ShowLoadedNotes (NoteLoader_win.h) shows it. The record
//     has been through the load rules of NotesFile.h (moved into the virtual
//     screen, due alarm settled).
//   note->Record() is the note's record as the note keeps it; note->Data()
//   gives it as a save takes it, with the text being typed.
// Handle() is null when the system would not make the window (quotas); such
// a note is dropped at once. A note never deletes itself: its delete command,
// a blank new note and WM_CLOSE ask host.CloseNote, and the note goes on
// existing, hidden and deaf to the user, until the host destroys it once no
// handler of the note (or of its editor) is running any more.
// Files: NoteWindow_win.cpp (life cycle and state), NotePaint_win.cpp (drawing,
// measuring, layout), NoteInput_win.cpp (messages, mask, sizing, buttons),
// NoteEdit_win.cpp (editor, undo), NoteMenu_win.cpp (the note menu, its
// commands, deleting, fonts), NoteLinks_win.cpp (the Links submenu),
// NoteTitle_win.cpp (title commands), NoteAlarm_win.cpp (alarm commands and
// check), NoteExport_win.cpp (save as, e-mail), NoteFrames_win.cpp (composed
// frames shared between notes), NoteLoader_win.cpp (showing loaded notes).

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "arrange/Rect.h"
#include "base/Handles_win.h"
#include "notes/EditLayout_win.h"
#include "notes/NoteFrames_win.h"
#include "notes/NoteHost_win.h"
#include "notes/NoteLayout.h"
#include "notes/NoteMetrics.h"
#include "notes/UndoStack.h"
#include "store/NoteData.h"
#include "store/NoteData_win.h"
#include "ui/SmallWindow_win.h"

class SkinBitmap;
class NoteWindow;

// The editable edit child that exists while a note is being edited. Escape and
// the loss of the focus to any window but its own note end the edit through
// kEndNoteEditMessage to the note (a late activation focuses the note's frame,
// which hands the focus straight back).
class NoteEditor : public Window {
public:
    explicit NoteEditor(NoteWindow& owner) : note(owner) {}
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    NoteWindow& note;
};

class NoteWindow : public SmallWindow {
public:
    static constexpr int kEditorId = 4567;
    static constexpr UINT kHoverInterval = 50;
    static constexpr UINT kAlarmInterval = 60000;
    // While the user types, the text reaches Notes.dat this long after the
    // first keystroke that is not saved yet.
    static constexpr UINT kTypingSaveDelay = 1500;
    // A fired alarm's pulse: the alpha swings from opaque down to the pulse's
    // low point and back in this many steps of this many milliseconds.
    static constexpr UINT kPulseInterval = 50;
    static constexpr int kPulseSteps = 24;
    // The snooze of "Remind me in 10 minutes".
    static constexpr int kRemindMinutes = 10;

    NoteWindow(NoteHost& host, bool layered, bool startEditing);
    NoteWindow(NoteHost& host, bool layered, const NoteData& record);
    ~NoteWindow() override;

    // --- the persistent record ---
    // The note's record: its rect follows the window, its text is the text
    // the note has taken (not what an open editor holds yet), its font is
    // zero unless hasCustomFont.
    const NoteData& Record() const { return record; }
    // The record as a save takes it: while the note is edited, with the
    // editor's text as ending the edit would take it (without touching the
    // text history), so a save at any moment keeps what was typed.
    NoteData Data() const;
    // A new note whose editor is open and still blank: ending the edit would
    // throw it away, so it is not saved either.
    bool BlankNewNote() const;
    // Typed text that the host has not been told of yet (it will be, after the
    // typing save delay); a save that took Data() meanwhile calls TypingWritten.
    bool TypingUnsaved() const { return typingSaveDue; }
    void TypingWritten();
    // Takes a record into a live note: font, alarm timer, text, always on top,
    // lock, rectangle; shows the note without activating it unless hidden, and
    // puts it at the bottom of the Z order unless it stays on top. The move asks
    // the host to save: it ignores that while it is loading.
    void ApplyData(const NoteData& data);
    // Takes the fields another PC changed (text, title, priority, font, lock,
    // alarm) and keeps this window's place, size, hidden and on-top state.
    void TakeSyncedFields(const NoteData& data);
    // A number no other note of this process ever carries.
    uint64_t Serial() const { return serial; }

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

    // --- text and editing ---
    void SetText(const std::wstring& s);
    const std::wstring& Text() const { return record.text; }
    void BeginEdit(bool newNote);
    // Takes the editor's text; a new note left blank is closed.
    void EndEdit(bool resizeToContent, bool keepIfEmpty);
    void Undo();
    void Redo();
    void PasteText();
    // Sizes the note to its text, keeping the top-left corner; saves when the
    // size changed.
    void ResizeToContent();
    // Measures s word-wrapped in rect (in and out) with the note's font.
    // overflow: the text needs more height than rect offered.
    void MeasureText(RECT& rect, const std::wstring& s, bool& overflow) const;
    void SizeToLayout(RECT& rect, const EditLayout& layout) const;
    // Shows or hides the frame and buttons behind the skin's mask.
    void UpdateMask();
    void ShowNoteMenu();
    // Sets the default item and the greyed and checked states of the note menu's
    // popup from this note's state.
    void PrepareNoteMenu(HMENU popup) const;
    // Asks first when the note has visible text and alwaysConfirm or the
    // ConfirmDelete setting says so; puts the text into the recycle bin, and
    // keeps the note when that fails. Closes the note through its host.
    void DeleteNote(bool alwaysConfirm);
    // Its own title, else its first line (NoTitle when it has no text), and
    // with withDate and the ShowDateInTitle setting its creation date.
    std::wstring TitleText(bool withDate) const;
    // Scans the text for links and lists them in the note menu's Links submenu.
    void FillLinksMenu(HMENU popup);
    // Runs when the alarm timer fires: the note comes forward once its alarm
    // time has come, else the timer is set for the next look.
    void CheckAlarm();
    // The alarm has fired and the user has neither set an alarm again nor
    // snoozed it since: the note menu offers the two reminders.
    bool AlarmJustFired() const { return alarmJustFired; }
    // The note pulses until the user clicks or types in it, snoozes, edits,
    // hides or closes it.
    bool Pulsing() const { return pulsing; }
    // Without layering the pulse is a frame around the text: drawn now.
    bool PulseFrameShown() const { return pulseFrameShown; }
    void StopPulse();
    // The alpha of a pulse step (0 is opaque) for a see-through level `low`.
    static int PulseAlphaAt(int step, int low);

    // --- closing (for the host) ---
    // Hidden and out of the host's list, waiting to be destroyed. A dialog of
    // the note, or the note menu, may have been open when the host closed it
    // (exit, restore from a backup): what the dialog asked for is then dropped.
    bool Closing() const { return closing; }
    // A message handler of the note or of its editor is running: the object
    // must not be destroyed yet (a dialog or menu of it may be open).
    bool InHandler() const { return runningHandlers > 0; }
    // Called by the host as it closes the note: stops its timers and its edit
    // (the text typed is not taken) and makes the note deaf to the user. Not
    // shown again; the host hides it.
    void BeginClosing();

    // --- read-only views of the run-time state ---
    const std::wstring& Title() const { return record.title; }
    int Priority() const { return record.priority; }
    bool Locked() const { return record.locked; }
    bool AlwaysOnTop() const { return record.alwaysOnTop; }
    bool Hidden() const { return record.hidden; }
    bool Masked() const { return masked; }
    bool MoreText() const { return moreText; }
    bool FrameForced() const { return frameForced; }
    bool HoverTimerRunning() const { return hoverTimerRunning; }
    bool Editing() const { return editor != nullptr; }
    HWND EditorHandle() const;
    // Where the idle note draws the lines of its text (as its editor would
    // place them), relative to its text area; null when it falls back to
    // DrawTextW.
    const EditLayout* IdleTextLayout();
    // The skin button under a client point; none while the frame is masked.
    NoteGeometry::NoteButton ButtonAt(Point client) const;
    // The button drawn hot (cursor on it) and the one pressed, if any.
    NoteGeometry::NoteButton HotButton() const { return hotButton; }
    NoteGeometry::NoteButton PressedButton() const { return pressedButton; }
    // A user's move or resize is under way and has not been saved yet.
    bool MoveUnsaved() const { return moveUnsaved; }
    Point PriorityIconPos() const { return priorityIconPos; }
    const UndoStack& History() const { return history; }
    const std::vector<std::wstring>& Links() const { return links; }
    bool HasAlarm() const { return record.hasAlarm; }
    bool AlarmEnabled() const { return record.alarmEnabled; }
    SYSTEMTIME AlarmTimeUtc() const { return ToSystemTime(record.alarmTime); }
    bool TitleDialogOpen() const { return titleDialogOpen; }
    // The note's own font when it has one, else the skin's (borrowed).
    HFONT CurrentFont() const;
    bool HasCustomFont() const { return customFont.Get() != nullptr; }

    // --- SmallWindow ---
    // Counts the running handlers (InHandler) around HandleNoteMessage; a
    // closing note gets default processing only.
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD notification, WORD id, HWND control) override;
    void Paint(HDC dc) override;
    Insets SnapInsets() const override;
    bool SnapToGrid() const override;
    bool SnapToNotes() const override;
    int32_t SnapGap() const override;
    int32_t SnapBorder() const override;

    // The margins an edit control keeps inside its text area with this font;
    // the text is drawn with them, so it stays in place when the editor opens.
    struct TextMargins {
        int left = 0;
        int right = 0;
    };
    static TextMargins EditMarginsOf(HFONT font);

private:
    friend class NoteEditor;
    // Counts one running handler; the last one to end on a closing note asks
    // the host again, which can now destroy it.
    class HandlerScope {
    public:
        explicit HandlerScope(NoteWindow& owner) : note(owner) { ++note.runningHandlers; }
        ~HandlerScope();
        HandlerScope(const HandlerScope&) = delete;
        HandlerScope& operator=(const HandlerScope&) = delete;

    private:
        NoteWindow& note;
    };
    LRESULT HandleNoteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    const Skin& NoteSkin() const;
    NoteGeometry::GridOptions Grid() const;
    bool HasMask() const;
    bool Layered() const { return host.LayeredWindows(); }
    NoteGeometry::MeasureFn Measurer(const std::wstring& s) const;
    void InitFields();
    void TakeRecord(const NoteData& d);
    void LayoutForSize(int cx, int cy);
    void Relayout();
    // Without layering, the window region cuts out what the colour key would.
    void UpdateShape();
    // While editing, a layered note too (the caller sets the key back).
    void ShapeForTyping(bool typing);
    // The parts of Paint, in drawing order.
    FrameState CurrentFrame(const RECT& client) const;
    void PaintFrame(HDC dc, HDC memoryDc, const RECT& client);
    void PaintText(HDC dc, const RECT& area);
    void PaintButtons(HDC dc, HDC memoryDc, const RECT& client);
    // Laid out again only when the text, the font or the size changed; the
    // note's fitting and its painting share it.
    const EditLayout* TextLayout(int width, int height) const;
    // Where the text is drawn, in client coordinates.
    RECT TextArea(const RECT& client) const;
    RECT ButtonRect(NoteGeometry::NoteButton button, const RECT& client) const;
    void InvalidateButton(NoteGeometry::NoteButton button);
    void SetHotButton(NoteGeometry::NoteButton button);
    // Mouse messages on the skin buttons; true when the message was theirs.
    bool OnButtonMouse(UINT message, LPARAM lParam);
    void OnButtonClick(NoteGeometry::NoteButton button);
    void OnPositionChanged(const WINDOWPOS& pos);
    void SaveFinishedMove();
    LRESULT OnGetText(WPARAM size, LPARAM buffer) const;
    void GrowWithEditor();
    // The editor's text changed: the host hears of it once the typing save
    // delay has passed, so typing is saved without ending the edit.
    void KeepTypingSafe();
    // The editor's text as ending the edit would commit it.
    std::wstring LiveText() const;
    // Takes `custom`, made from `described`, as the note's own font; null
    // goes back to the skin's.
    void SetNoteFont(OwnedFont custom, const LOGFONTW& described = LOGFONTW{});
    void SetClickThrough(bool on);
    void OnActivate(WPARAM wParam);
    void OnKeyDown(WPARAM key);
    void SelectCustomFont();
    void UseCustomDefaultFont();
    void UseSkinDefaultFont();
    void ApplyFont();
    void OpenLink(size_t index);
    void ChangeTitle();
    void RemoveTitle();
    void ChangeAlarm();
    void ToggleAlarm();
    void StartAlarmTimer();
    void StartPulse();
    void PulseStep();
    // Arms the alarm for `utc`, as the alarm dialog's OK does.
    void RemindAt(const SYSTEMTIME& utc);
    void RemindLater(bool tomorrow);
    // Puts the two reminders at the top of the shared note menu, or takes
    // them out; returns how many items stand above the resource's own.
    int ShowReminders(HMENU popup, bool show) const;
    void SaveAs();
    void EmailNote();
    // A message box of the note, captioned in the host's language.
    int ShowNoteMessage(const std::wstring& message, UINT type) const;
    void OnSizing(RECT& proposed);
    LRESULT OnControlColor(HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    bool InResizeGrip(POINT clientPoint) const;
    void InvalidateAll();

    NoteHost& host;
    NoteGeometry::NoteMetrics metrics;
    // Composed frames shared with the other notes of this skin.
    std::shared_ptr<NoteFrames> frames;
    // What Notes.dat keeps of the note.
    NoteData record;
    std::wstring editBuffer;
    UndoStack history;
    Point priorityIconPos;
    std::unique_ptr<NoteEditor> editor;
    bool openingEditor = false;
    bool closingEditor = false;  // EndEdit is moving the focus off the editor
    bool editingNewNote = false;
    // The note's own font, made from record.font; empty when it uses the skin's.
    OwnedFont customFont;
    TextMargins textMargins;
    // The idle text's layout (EditLayout_win.h), for the text, font and area
    // it was made for: a cache, kept by const measuring too.
    mutable EditLayout textLayout;
    mutable size_t layoutHash = 0;
    mutable size_t layoutLength = 0;
    mutable HFONT layoutFont = nullptr;
    mutable int layoutWidth = 0;
    mutable int layoutHeight = 0;
    mutable bool layoutValid = false;
    bool masked = false;
    bool hoverTimerRunning = false;
    bool frameForced = false;
    bool moreText = false;
    // The size the window region was made for.
    SIZE shapedSize = {};
    bool shapedForTyping = false;
    NoteGeometry::NoteButton hotButton = NoteGeometry::NoteButton::None;
    NoteGeometry::NoteButton pressedButton = NoteGeometry::NoteButton::None;
    // TrackMouseEvent asked for a WM_MOUSELEAVE that has not come yet.
    bool trackingLeave = false;
    // Between WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE: the user moves or sizes.
    bool inMoveLoop = false;
    bool moveUnsaved = false;
    // The window rectangle at the last position change that counted.
    RECT lastRect = {};
    std::vector<std::wstring> links;
    bool alarmJustFired = false;
    bool pulsing = false;
    int pulseStep = 0;
    // Without layering the pulse is a frame drawn around the text, every
    // other half swing.
    bool pulseFrameShown = false;
    bool titleDialogOpen = false;
    bool typingSaveDue = false;
    int runningHandlers = 0;
    bool closing = false;
    bool destroying = false;
    static inline uint64_t lastSerial = 0;
    const uint64_t serial = ++lastSerial;
};
