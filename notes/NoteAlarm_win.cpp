// A note's alarm: the menu's alarm commands, the check that brings the note
// forward when its time has come, and what follows a fired alarm: the pulse
// and the two reminders of the note menu.

#include <algorithm>
#include <cstdlib>

#include "notes/AlarmDialog_win.h"
#include "notes/AlarmTime.h"
#include "notes/LocalZone_win.h"
#include "notes/NoteWindow_win.h"
#include "store/AlarmRule.h"
#include "store/NoteData_win.h"
#include "ui/PrivateMessages_win.h"

void NoteWindow::StartAlarmTimer() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    // Setting the timer again replaces the running one.
    SetTimer(Handle(), kNoteAlarmTimer,
             AlarmTime::NextCheckDelay(FromSystemTime(now), record.alarmTime), nullptr);
}

void NoteWindow::ChangeAlarm() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    // A time already past would fire at once: the next full quarter hour instead
    // (a quarter of an hour in UTC is one on every local clock too).
    SYSTEMTIME picked = ToSystemTime(
        AlarmTime::DialogStart(FromSystemTime(now), record.hasAlarm, record.alarmTime));
    // The note stays opaque behind its dialog, as behind its other questions.
    SkipNextDeactivationFade();
    const bool confirmed = RunAlarmDialog(Handle(), host.Language(), picked);
    // Closed by the host meanwhile: no timer may start on it.
    if (!confirmed || closing) return;
    RemindAt(picked);
}

void NoteWindow::RemindAt(const SYSTEMTIME& utc) {
    record.hasAlarm = true;
    record.alarmTime = FromSystemTime(utc);
    record.alarmEnabled = true;
    // A new alarm is the answer to the one that fired.
    alarmJustFired = false;
    StopPulse();
    // Also when it was armed already: the next check follows the new time.
    StartAlarmTimer();
    host.NotesChanged();
}

void NoteWindow::RemindLater(bool tomorrow) {
    if (!alarmJustFired) return;
    SYSTEMTIME now;
    GetSystemTime(&now);
    const SystemTimeData at =
        tomorrow ? AlarmTime::RemindTomorrow(FromSystemTime(now),
                                             [](int64_t utc) { return LocalZoneOffset(utc); })
                 : AlarmTime::RemindIn(FromSystemTime(now), kRemindMinutes);
    RemindAt(ToSystemTime(at));
}

int NoteWindow::PulseAlphaAt(int step, int low) {
    // A triangle: opaque at step 0, `low` half way, opaque again at the end.
    const int half = kPulseSteps / 2;
    const int distance = std::abs(half - ((step % kPulseSteps) + kPulseSteps) % kPulseSteps);
    return low + (255 - low) * distance / half;
}

void NoteWindow::StartPulse() {
    // An open editor keeps the note opaque; typing in it is the user's answer.
    if (editor || closing) return;
    pulsing = SetTimer(Handle(), kNotePulseTimer, kPulseInterval, nullptr) != 0;
    pulseStep = 0;
}

void NoteWindow::PulseStep() {
    if (!pulsing) {
        KillTimer(Handle(), kNotePulseTimer);
        return;
    }
    ++pulseStep;
    if (Layered()) {
        // Deeper than the see-through level when that is nearly opaque, so
        // the swing shows on every setting.
        ShowPulseAlpha(PulseAlphaAt(pulseStep, std::min<int>(Skinned().Alpha(), 96)));
        return;
    }
    // Opaque windows cannot swing: a frame comes and goes instead.
    const bool frame = (pulseStep % kPulseSteps) >= kPulseSteps / 2;
    if (frame != pulseFrameShown) {
        pulseFrameShown = frame;
        InvalidateRect(Handle(), nullptr, FALSE);
    }
}

void NoteWindow::StopPulse() {
    if (!pulsing) return;
    pulsing = false;
    if (Handle()) KillTimer(Handle(), kNotePulseTimer);
    EndPulse();
    if (pulseFrameShown) {
        pulseFrameShown = false;
        if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
    }
}

void NoteWindow::ToggleAlarm() {
    if (!record.hasAlarm) return;
    record.alarmEnabled = !record.alarmEnabled;
    if (record.alarmEnabled)
        StartAlarmTimer();
    else
        KillTimer(Handle(), kNoteAlarmTimer);
    host.NotesChanged();
}

void NoteWindow::CheckAlarm() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    const bool wasOnTop = record.alwaysOnTop;
    switch (AlarmRule::Settle(record, FromSystemTime(now))) {
        case AlarmRule::Outcome::Waiting:
            StartAlarmTimer();
            return;
        case AlarmRule::Outcome::Unarmed:
            KillTimer(Handle(), kNoteAlarmTimer);
            return;
        case AlarmRule::Outcome::Disarmed:
            KillTimer(Handle(), kNoteAlarmTimer);
            host.NotesChanged();
            return;
        case AlarmRule::Outcome::Rang:
            break;
    }
    KillTimer(Handle(), kNoteAlarmTimer);
    // Also when all notes are hidden by the show-or-hide command: the alarm is
    // what the user asked to see.
    if (!IsWindowVisible(Handle())) ShowWindow(Handle(), SW_SHOWNA);
    host.NotesChanged();
    BringToForeground(true);
    if (!wasOnTop) SetTopmost(true);
    MessageBeep(MB_ICONASTERISK);
    alarmJustFired = true;
    StartPulse();
    host.OnAlarmFired(*this);
}
