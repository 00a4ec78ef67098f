#pragma once
// The program's own window messages and timer ids, all in one place so that no
// two of them meet at one window.
//
// Messages from WM_USER up are each window class's own, so windows of
// different classes may share a number (5809 below); one window never may.
// A timer id only has to be unique per window as well.

#include <windows.h>

// Messages to the main window.
// The tray icon's mouse events (lParam: the mouse message).
inline constexpr UINT kTrayMessage = 5260;
// The settings dialog has closed with its result.
inline constexpr UINT kSettingsResultMessage = 3399;
// An update check in the background has finished.
inline constexpr UINT kUpdateCheckDoneMessage = 5809;

// Messages to the message-only window of the notes document (NotesDocument_win.h).
// Writes Notes.dat when a change has not been written yet.
inline constexpr UINT kSaveNotesMessage = 5273;
// A file could not be written: the waiting explanations are shown to the user.
inline constexpr UINT kSaveProblemMessage = 5270;
// Loading the notes left some without a window (wParam: how many).
inline constexpr UINT kNotesNotShownMessage = 5271;

// Messages to the message-only window of a host's notes (NoteCollection_win.h).
// Destroys the notes that were closed, once none of their handlers runs.
inline constexpr UINT kFinishClosingNotesMessage = 5272;

// Messages to a note.
// Posted by the note's editor when the edit is to end: wParam non-zero fits
// the note to its text afterwards, lParam non-zero keeps a new note even when
// it was left blank.
inline constexpr UINT kEndNoteEditMessage = 5809;

// Timers of every skinned window (the main window and the notes).
inline constexpr UINT_PTR kFadeTimer = 213;  // one step of fading in or out
// Timers of the main window.
inline constexpr UINT_PTR kTrayClickTimer = 445;       // tells a single click from a double
inline constexpr UINT_PTR kDisplayChangeTimer = 7302;  // the monitors have settled after a change
inline constexpr UINT_PTR kCloseTimer = 7303;  // the notes' modal loops have had time to return
inline constexpr UINT_PTR kColorModeTimer =
    7304;  // looks again whether the theme may follow Windows
inline constexpr UINT kColorModeRetryMs = 2000;
// Timers of the notes document's window.
inline constexpr UINT_PTR kSaveRetryTimer = 7301;  // writes again what could not be written
// Timers of a note.
inline constexpr UINT_PTR kNoteHoverTimer = 556;   // polls the cursor over a masked note
inline constexpr UINT_PTR kNoteAlarmTimer = 557;   // checks the alarm once a minute
inline constexpr UINT_PTR kNoteTypingTimer = 558;  // the typed text is due in Notes.dat
inline constexpr UINT_PTR kNotePulseTimer = 559;   // one step of a fired alarm's pulse
// Timers of a skinned button.
inline constexpr UINT_PTR kButtonHoverTimer = 123;  // polls the cursor while it is on the button

static_assert(kTrayMessage != kSettingsResultMessage && kTrayMessage != kUpdateCheckDoneMessage &&
                  kSettingsResultMessage != kUpdateCheckDoneMessage,
              "main window messages collide");
static_assert(kSaveNotesMessage != kSaveProblemMessage &&
                  kSaveNotesMessage != kNotesNotShownMessage &&
                  kSaveProblemMessage != kNotesNotShownMessage,
              "notes document messages collide");
static_assert(kFadeTimer != kTrayClickTimer, "main window timers collide");
static_assert(kColorModeTimer != kCloseTimer && kColorModeTimer != kDisplayChangeTimer &&
                  kColorModeTimer != kFadeTimer && kColorModeTimer != kTrayClickTimer,
              "main window timers collide");
static_assert(kCloseTimer != kDisplayChangeTimer && kCloseTimer != kFadeTimer &&
                  kCloseTimer != kTrayClickTimer && kDisplayChangeTimer != kFadeTimer &&
                  kDisplayChangeTimer != kTrayClickTimer,
              "main window timers collide");
static_assert(kFadeTimer != kNoteHoverTimer && kFadeTimer != kNoteAlarmTimer &&
                  kFadeTimer != kNoteTypingTimer && kNoteHoverTimer != kNoteAlarmTimer &&
                  kNoteHoverTimer != kNoteTypingTimer && kNoteAlarmTimer != kNoteTypingTimer,
              "note timers collide");
static_assert(kNotePulseTimer != kFadeTimer && kNotePulseTimer != kNoteHoverTimer &&
                  kNotePulseTimer != kNoteAlarmTimer && kNotePulseTimer != kNoteTypingTimer,
              "note timers collide");

// Sync through a folder (app/NoteSync_win.h), at the main window.
// Something changed in the sync folder.
inline constexpr UINT kSyncFolderMessage = 5290;
inline constexpr UINT_PTR kSyncWriteTimer = 7310;  // this PC's device file is due
inline constexpr UINT_PTR kSyncPollTimer = 7311;   // looks at the folder every 30 s
inline constexpr UINT_PTR kSyncReadTimer = 7312;   // reads the folder once a burst has settled
static_assert(kSyncFolderMessage != kTrayMessage && kSyncFolderMessage != kSettingsResultMessage &&
                  kSyncFolderMessage != kUpdateCheckDoneMessage &&
                  kSyncFolderMessage != kSaveProblemMessage &&
                  kSyncFolderMessage != kNotesNotShownMessage,
              "main window messages collide");
static_assert(kSyncWriteTimer != kSaveRetryTimer && kSyncWriteTimer != kDisplayChangeTimer &&
                  kSyncPollTimer != kSaveRetryTimer && kSyncPollTimer != kDisplayChangeTimer &&
                  kSyncReadTimer != kSaveRetryTimer && kSyncReadTimer != kDisplayChangeTimer &&
                  kSyncWriteTimer != kFadeTimer && kSyncPollTimer != kTrayClickTimer,
              "main window timers collide");
