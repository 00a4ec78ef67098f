#pragma once
// The program's own window messages and timer ids, each in one enumeration so
// that no two of them meet by accident.
//
// Some numbers are known outside this program (scripts and helper programs
// post them, and its own worker threads do): those keep their values. The
// rest follow on from WM_APP, which no system control uses. Two messages
// share 5809; they go to windows of different classes (the main window and a
// note) and never meet. A timer id only has to be unique per window; these
// are unique for the whole program all the same.

#include <windows.h>

enum PrivateMessage : UINT {
    // --- fixed numbers ---
    // To the main window: the tray icon's mouse events (lParam: the mouse message).
    kTrayMessage = 5260,
    // To the main window: the settings dialog has closed with its result.
    kSettingsResultMessage = 3399,
    // To the main window: an update check in the background has finished.
    kUpdateCheckDoneMessage = 5809,
    // To a note, posted by its editor when the edit is to end: wParam non-zero
    // fits the note to its text afterwards, lParam non-zero keeps a new note
    // even when it was left blank.
    kEndNoteEditMessage = 5809,

    // --- from WM_APP on ---
    // To the notes document's message window (NotesDocument_win.h): writes
    // Notes.dat when a change has not been written yet.
    kSaveNotesMessage = WM_APP,
    // To the same: a file could not be written; the waiting explanations are
    // shown to the user.
    kSaveProblemMessage,
    // To the same: loading the notes left some without a window (wParam: how many).
    kNotesNotShownMessage,
    // To the message window of a host's notes (NoteCollection_win.h): destroys
    // the notes that were closed, once none of their handlers runs.
    kFinishClosingNotesMessage,
    // To the main window (app/NoteSync_win.h): something changed in the sync folder.
    kSyncFolderMessage,
    // To the notes document's message window: a write of Notes.dat in the
    // background has ended; its outcome waits to be taken.
    kNotesWrittenMessage,
};

enum TimerId : UINT_PTR {
    // --- fixed numbers ---
    // Every skinned window (the main window and the notes): one step of
    // fading in or out, every 50 ms.
    kFadeTimer = 213,
    // The main window: tells a single click on the tray icon from a double.
    kTrayClickTimer = 445,
    // A note: polls the cursor over a masked note.
    kNoteHoverTimer = 556,
    // A note: checks the alarm once a minute.
    kNoteAlarmTimer = 557,
    // A skinned button: polls the cursor while it is on the button.
    kButtonHoverTimer = 123,

    // --- the rest ---
    // A note: the typed text is due in Notes.dat.
    kNoteTypingTimer = 1000,
    // A note: one step of a fired alarm's pulse.
    kNotePulseTimer,
    // The notes document's window: writes again what could not be written.
    kSaveRetryTimer,
    // The main window: the monitors have settled after a change.
    kDisplayChangeTimer,
    // The main window: the notes' modal loops have had time to return.
    kCloseTimer,
    // The main window: looks again whether the theme may follow Windows.
    kColorModeTimer,
    // The main window, for sync through a folder: this PC's device file is due.
    kSyncWriteTimer,
    // The same: looks at the folder every 30 s.
    kSyncPollTimer,
    // The same: reads the folder once a burst has settled.
    kSyncReadTimer,
};

// How long the main window waits before it looks again whether the colour
// theme may follow Windows.
inline constexpr UINT kColorModeRetryMs = 2000;

// The numbers that others know are a promise.
static_assert(kTrayMessage == 5260 && kSettingsResultMessage == 3399 &&
                  kUpdateCheckDoneMessage == 5809 && kEndNoteEditMessage == 5809,
              "messages known outside the program keep their numbers");
static_assert(kFadeTimer == 213 && kTrayClickTimer == 445 && kNoteHoverTimer == 556 &&
                  kNoteAlarmTimer == 557 && kButtonHoverTimer == 123,
              "timer numbers kept");
static_assert(kNotesWrittenMessage < 0xC000, "the WM_APP range ends at 0xBFFF");
