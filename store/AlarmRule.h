#pragma once
// When a note's alarm rings, and what ringing leaves of the note: the one rule
// for an alarm that fell due while the program was not running (applied as
// the notes are loaded) and for the check of a running note.
//
// Alarm times are calendar times in UTC, as the system clock gives them and
// Notes.dat keeps them, to the millisecond; the day of the week plays no part.
// An alarm rings once and is gone: there is no repetition.

#include "store/NoteData.h"

namespace AlarmRule {

// Every field within its calendar range: year 1601 to 30827 (what the system's
// calendar times cover), month 1 to 12, a day the month has (29 February only in
// leap years), hour up to 23, minute and second up to 59, milliseconds up to
// 999. The day of the week is not looked at.
bool IsValidTime(const SystemTimeData& t);

// Whether an alarm set for `alarmUtc` has come at `nowUtc`: at its time or later.
// A time with a field out of range (a damaged record) has come: the note comes
// forward now rather than wait for a date that never comes.
bool HasCome(const SystemTimeData& nowUtc, const SystemTimeData& alarmUtc);

enum class Outcome {
    Unarmed,   // no armed alarm: nothing to do
    Waiting,   // armed, its time still ahead: look again later
    Rang,      // armed and its time has come: the record is as ringing leaves it
    Disarmed,  // armed without a time (only a damaged file has that): disarmed
};

// Decides the note's alarm at `nowUtc` and changes the record accordingly. A
// ringing alarm is gone (alarmEnabled and hasAlarm cleared, its time kept but
// no longer saved) and the note is shown and kept on top; a disarmed one only
// loses alarmEnabled. Waiting and unarmed alarms leave the record alone.
Outcome Settle(NoteData& note, const SystemTimeData& nowUtc);

}  // namespace AlarmRule
