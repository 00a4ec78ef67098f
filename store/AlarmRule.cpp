#include "store/AlarmRule.h"

#include "store/NotesFile.h"

namespace AlarmRule {

namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

bool IsValidTime(const SystemTimeData& t) {
    if (t.wYear < 1601 || t.wYear > 30827 || t.wMonth < 1 || t.wMonth > 12) return false;
    return t.wDay >= 1 && t.wDay <= DaysInMonth(t.wYear, t.wMonth) && t.wHour <= 23 &&
           t.wMinute <= 59 && t.wSecond <= 59 && t.wMilliseconds <= 999;
}

bool HasCome(const SystemTimeData& nowUtc, const SystemTimeData& alarmUtc) {
    // With every field in range, the order of the fields is the order of time.
    return !IsValidTime(alarmUtc) || CompareTimes(alarmUtc, nowUtc) <= 0;
}

Outcome Settle(NoteData& note, const SystemTimeData& nowUtc) {
    if (!note.alarmEnabled) return Outcome::Unarmed;
    if (!note.hasAlarm) {
        note.alarmEnabled = false;
        return Outcome::Disarmed;
    }
    if (!HasCome(nowUtc, note.alarmTime)) return Outcome::Waiting;
    note.alarmEnabled = false;
    note.hasAlarm = false;
    note.hidden = false;
    note.alwaysOnTop = true;
    return Outcome::Rang;
}

}  // namespace AlarmRule
