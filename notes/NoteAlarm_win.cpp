// A note's alarm: the menu's alarm commands and the check that brings the
// note forward when its time has come.

#include "notes/AlarmDialog_win.h"
#include "notes/AlarmTime.h"
#include "notes/NoteWindow_win.h"
#include "store/NoteData_win.h"
#include "ui/PrivateMessages_win.h"

void NoteWindow::StartAlarmTimer() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    // Setting the timer again replaces the running one.
    SetTimer(Handle(), kNoteAlarmTimer,
             AlarmTime::NextCheckDelay(FromSystemTime(now), FromSystemTime(alarmTime)), nullptr);
}

void NoteWindow::ChangeAlarm() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    // A time already past would fire at once: the next full quarter hour instead
    // (a quarter of an hour in UTC is one on every local clock too).
    SYSTEMTIME picked = ToSystemTime(
        AlarmTime::DialogStart(FromSystemTime(now), hasAlarm, FromSystemTime(alarmTime)));
    // The note stays opaque behind its dialog, as behind its other questions.
    SkipNextDeactivationFade();
    const bool confirmed = RunAlarmDialog(Handle(), host.Language(), picked);
    // Closed by the host meanwhile: no timer may start on it.
    if (!confirmed || closing) return;
    hasAlarm = true;
    alarmTime = picked;
    alarmEnabled = true;
    // Also when it was armed already: the next check follows the new time.
    StartAlarmTimer();
    host.NotesChanged();
}

void NoteWindow::ToggleAlarm() {
    if (!hasAlarm) return;
    alarmEnabled = !alarmEnabled;
    if (alarmEnabled)
        StartAlarmTimer();
    else
        KillTimer(Handle(), kNoteAlarmTimer);
    host.NotesChanged();
}

void NoteWindow::CheckAlarm() {
    if (!alarmEnabled) {
        KillTimer(Handle(), kNoteAlarmTimer);
        return;
    }
    SYSTEMTIME now;
    GetSystemTime(&now);
    if (!AlarmTime::IsDue(FromSystemTime(now), FromSystemTime(alarmTime))) {
        StartAlarmTimer();
        return;
    }
    alarmEnabled = false;
    hasAlarm = false;
    KillTimer(Handle(), kNoteAlarmTimer);
    hidden = false;
    // Also when all notes are hidden by the show-or-hide command: the alarm is
    // what the user asked to see.
    if (!IsWindowVisible(Handle())) ShowWindow(Handle(), SW_SHOWNA);
    host.NotesChanged();
    BringToForeground(true);
    if (!alwaysOnTop) ToggleAlwaysOnTop();
    MessageBeep(MB_ICONASTERISK);
    host.OnAlarmFired(*this);
}
