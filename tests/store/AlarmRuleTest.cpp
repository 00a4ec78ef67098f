// The alarm rule as one table: the time now, the alarm's fields, whether it
// rings, and what the record holds afterwards.

#include "store/AlarmRule.h"

#include <gtest/gtest.h>

#include <string>

#include "support/CalendarTimes.h"

namespace {

using Outcome = AlarmRule::Outcome;

SystemTimeData WithWeekday(SystemTimeData t, int weekday) {
    t.wDayOfWeek = static_cast<uint16_t>(weekday);
    return t;
}

TEST(AlarmRuleTest, EachAlarmRingsOnceAtItsTimeOrLaterAndLeavesTheNoteInFront) {
    const SystemTimeData now = At(2026, 12, 7, 10, 30);
    struct Row {
        const char* what;
        SystemTimeData now;
        bool armed, hasTime;
        SystemTimeData alarm;
        Outcome outcome;
    } rows[] = {
        {"disarmed, time past", now, false, true, At(2026, 12, 7, 10, 0), Outcome::Unarmed},
        {"disarmed, no time", now, false, false, At(0, 0, 0, 0, 0), Outcome::Unarmed},
        {"armed without a time", now, true, false, At(0, 0, 0, 0, 0), Outcome::Disarmed},
        {"armed without a time, a past one in the field", now, true, false, At(2026, 12, 7, 10, 0),
         Outcome::Disarmed},
        // Around the moment itself, to the millisecond.
        {"exactly now", now, true, true, now, Outcome::Rang},
        {"a millisecond ahead", now, true, true, At(2026, 12, 7, 10, 30, 0, 1), Outcome::Waiting},
        {"a millisecond past", now, true, true, At(2026, 12, 7, 10, 29, 59, 999), Outcome::Rang},
        {"a minute ahead", now, true, true, At(2026, 12, 7, 10, 31), Outcome::Waiting},
        {"a minute past", now, true, true, At(2026, 12, 7, 10, 29), Outcome::Rang},
        // The whole date counts, not the time of day.
        {"a past date, later in the day", now, true, true, At(2025, 12, 7, 10, 31), Outcome::Rang},
        {"a past month, later day", now, true, true, At(2026, 11, 30, 23, 59), Outcome::Rang},
        {"tomorrow, earlier in the day", now, true, true, At(2026, 12, 8, 9, 0), Outcome::Waiting},
        {"next year, earlier month", now, true, true, At(2027, 1, 1, 0, 0), Outcome::Waiting},
        {"before midnight, alarm at midnight", At(2026, 12, 7, 23, 59, 59, 999), true, true,
         At(2026, 12, 8, 0, 0), Outcome::Waiting},
        {"at midnight", At(2026, 12, 8, 0, 0), true, true, At(2026, 12, 8, 0, 0), Outcome::Rang},
        {"year's end", At(2026, 12, 31, 23, 59, 59, 999), true, true, At(2027, 1, 1, 0, 0),
         Outcome::Waiting},
        {"new year", At(2027, 1, 1, 0, 0), true, true, At(2026, 12, 31, 23, 59, 59, 999),
         Outcome::Rang},
        {"the day of the week plays no part", WithWeekday(now, 3), true, true,
         WithWeekday(At(2026, 12, 7, 10, 30, 0, 1), 0), Outcome::Waiting},
        {"the day of the week plays no part, due", WithWeekday(now, 0), true, true,
         WithWeekday(now, 6), Outcome::Rang},
        // Both ends of every field, on times ahead: in range the alarm waits,
        // out of range (a damaged record) it rings now.
        {"first year", At(1601, 1, 1, 0, 0), true, true, At(1601, 1, 1, 0, 0, 0, 1),
         Outcome::Waiting},
        {"last year", now, true, true, At(30827, 12, 31, 23, 59, 59, 999), Outcome::Waiting},
        {"year past the last", now, true, true, At(30828, 1, 1, 0, 0), Outcome::Rang},
        {"year zero", now, true, true, At(0, 1, 1, 0, 0), Outcome::Rang},
        {"all fields zero", now, true, true, At(0, 0, 0, 0, 0), Outcome::Rang},
        {"month 1", now, true, true, At(2027, 1, 15, 0, 0), Outcome::Waiting},
        {"month 12", now, true, true, At(2027, 12, 15, 0, 0), Outcome::Waiting},
        {"month 0", now, true, true, At(2027, 0, 15, 0, 0), Outcome::Rang},
        {"month 13", now, true, true, At(2027, 13, 15, 0, 0), Outcome::Rang},
        {"day 1", now, true, true, At(2027, 1, 1, 0, 0), Outcome::Waiting},
        {"day 0", now, true, true, At(2027, 1, 0, 0, 0), Outcome::Rang},
        {"day 31 of January", now, true, true, At(2027, 1, 31, 0, 0), Outcome::Waiting},
        {"day 32 of January", now, true, true, At(2027, 1, 32, 0, 0), Outcome::Rang},
        {"day 30 of April", now, true, true, At(2027, 4, 30, 0, 0), Outcome::Waiting},
        {"day 31 of April", now, true, true, At(2027, 4, 31, 0, 0), Outcome::Rang},
        {"28 February", now, true, true, At(2027, 2, 28, 0, 0), Outcome::Waiting},
        {"29 February of a common year", now, true, true, At(2027, 2, 29, 0, 0), Outcome::Rang},
        {"29 February of a leap year", now, true, true, At(2028, 2, 29, 0, 0), Outcome::Waiting},
        {"30 February of a leap year", now, true, true, At(2028, 2, 30, 0, 0), Outcome::Rang},
        {"29 February 2100, no leap year", now, true, true, At(2100, 2, 29, 0, 0), Outcome::Rang},
        {"29 February 2400, a leap year", now, true, true, At(2400, 2, 29, 0, 0), Outcome::Waiting},
        {"hour 23", now, true, true, At(2026, 12, 7, 23, 0), Outcome::Waiting},
        {"hour 24", now, true, true, At(2026, 12, 7, 24, 0), Outcome::Rang},
        {"minute 59", now, true, true, At(2026, 12, 7, 10, 59), Outcome::Waiting},
        {"minute 60", now, true, true, At(2026, 12, 7, 10, 60), Outcome::Rang},
        {"second 59", now, true, true, At(2026, 12, 7, 10, 30, 59), Outcome::Waiting},
        {"second 60", now, true, true, At(2026, 12, 7, 10, 30, 60), Outcome::Rang},
        {"millisecond 999", now, true, true, At(2026, 12, 7, 10, 30, 0, 999), Outcome::Waiting},
        {"millisecond 1000", now, true, true, At(2026, 12, 7, 10, 30, 0, 1000), Outcome::Rang},
        {"every field at its top", now, true, true,
         At(65535, 65535, 65535, 65535, 65535, 65535, 65535), Outcome::Rang},
    };
    for (const Row& row : rows) {
        NoteData note;
        note.alarmEnabled = row.armed;
        note.hasAlarm = row.hasTime;
        note.alarmTime = row.alarm;
        note.hidden = true;
        note.alwaysOnTop = false;
        note.text = L"kept";
        NoteData expected = note;
        if (row.outcome == Outcome::Rang) {
            // Gone, not only disarmed; shown and kept on top. The time stays in
            // the record but no longer in the file.
            expected.alarmEnabled = expected.hasAlarm = expected.hidden = false;
            expected.alwaysOnTop = true;
        } else if (row.outcome == Outcome::Disarmed) {
            expected.alarmEnabled = false;
        }
        const std::string where =
            std::string(row.what) + ": " + Text(row.now) + " / " + Text(row.alarm);
        EXPECT_EQ(row.outcome, AlarmRule::Settle(note, row.now)) << where;
        EXPECT_EQ(expected, note) << where;
        if (row.hasTime) {
            EXPECT_EQ(row.outcome != Outcome::Waiting, AlarmRule::HasCome(row.now, row.alarm))
                << where;
        }
        // A rung or disarmed alarm does not ring again.
        const Outcome again = AlarmRule::Settle(note, row.now);
        EXPECT_EQ(row.outcome == Outcome::Waiting ? Outcome::Waiting : Outcome::Unarmed, again)
            << where;
    }
}

}  // namespace
