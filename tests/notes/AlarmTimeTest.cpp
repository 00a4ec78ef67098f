#include "notes/AlarmTime.h"

#include <gtest/gtest.h>

#include "support/CalendarTimes.h"

namespace {

using AlarmTime::ToMilliseconds;

// Whether the alarm has come is AlarmRule's (tests/store/AlarmRuleTest.cpp).
TEST(AlarmTimeTest, TheNextCheckComesWhenTheAlarmFallsDue) {
    const SystemTimeData alarm = At(2026, 12, 7, 10, 30);
    struct {
        SystemTimeData now;
        uint32_t delay;
    } cases[] = {
        {At(2026, 12, 7, 10, 30), AlarmTime::kMinCheckDelayMs},
        {At(2027, 1, 1, 0, 0), AlarmTime::kMinCheckDelayMs},
        {At(2026, 12, 7, 10, 29, 59, 999), AlarmTime::kMinCheckDelayMs},
        {At(2026, 12, 7, 10, 29, 55), 5000},
        {At(2026, 12, 7, 10, 29, 0, 500), 59500},
        {At(2026, 12, 7, 10, 29), 60000},
        {At(2026, 12, 7, 9, 0), AlarmTime::kMaxCheckDelayMs},
        {At(2025, 12, 7, 10, 31), AlarmTime::kMaxCheckDelayMs},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.delay, AlarmTime::NextCheckDelay(c.now, alarm)) << c.now.wYear << c.now.wSecond;
    // A damaged alarm time has come: the check follows at once, not a minute on.
    EXPECT_EQ(AlarmTime::kMinCheckDelayMs,
              AlarmTime::NextCheckDelay(At(2026, 12, 7, 10, 0), At(2026, 12, 7, 10, 60)));
}

TEST(AlarmTimeTest, MillisecondsFollowTheCalendar) {
    constexpr int64_t kDay = 86400000;
    EXPECT_EQ(0, ToMilliseconds(At(1601, 1, 1, 0, 0)));
    // 1970-01-01 is 11644473600 seconds after the FILETIME epoch.
    EXPECT_EQ(11644473600000, ToMilliseconds(At(1970, 1, 1, 0, 0)));
    EXPECT_EQ(kDay, ToMilliseconds(At(2024, 3, 1, 0, 0)) - ToMilliseconds(At(2024, 2, 29, 0, 0)));
    EXPECT_EQ(kDay, ToMilliseconds(At(2023, 3, 1, 0, 0)) - ToMilliseconds(At(2023, 2, 28, 0, 0)));
    EXPECT_EQ(kDay, ToMilliseconds(At(2027, 1, 1, 0, 0)) - ToMilliseconds(At(2026, 12, 31, 0, 0)));
    // A damaged record with month 13 or day 0 carries over instead of failing.
    EXPECT_EQ(ToMilliseconds(At(2027, 1, 5, 0, 0)), ToMilliseconds(At(2026, 13, 5, 0, 0)));
    EXPECT_EQ(ToMilliseconds(At(2026, 11, 30, 0, 0)), ToMilliseconds(At(2026, 12, 0, 0, 0)));
    // Month 0 goes back across the year; century years leap only every 400 years.
    EXPECT_EQ(ToMilliseconds(At(2026, 12, 5, 7, 0)), ToMilliseconds(At(2027, 0, 5, 7, 0)));
    EXPECT_EQ(kDay, ToMilliseconds(At(1900, 3, 1, 0, 0)) - ToMilliseconds(At(1900, 2, 28, 0, 0)));
    EXPECT_EQ(kDay, ToMilliseconds(At(2000, 2, 29, 0, 0)) - ToMilliseconds(At(2000, 2, 28, 0, 0)));
    EXPECT_EQ(366 * kDay,
              ToMilliseconds(At(2001, 1, 1, 0, 0)) - ToMilliseconds(At(2000, 1, 1, 0, 0)));
    // The ends of the 16-bit fields: 30 November of the year -1 (four 400-year eras
    // and 397 days before the epoch), and year 65535 carried on by every field.
    EXPECT_EQ(-50525510400000, ToMilliseconds(At(0, 0, 0, 0, 0)));
    EXPECT_EQ(2195801904500535,
              ToMilliseconds(At(65535, 65535, 65535, 65535, 65535, 65535, 65535)));
}

// Central European time: UTC+1, and UTC+2 from 29 March 2026 01:00 UTC until
// 25 October 2026 01:00 UTC.
int64_t Berlin(int64_t utc) {
    const int64_t summer = ToMilliseconds(At(2026, 3, 29, 1, 0)),
                  winter = ToMilliseconds(At(2026, 10, 25, 1, 0));
    return (utc >= summer && utc < winter ? 2 : 1) * 3600000;
}

TEST(AlarmTimeTest, CalendarTimesComeBackFromMilliseconds) {
    for (const SystemTimeData& t :
         {At(1601, 1, 1, 0, 0), At(2024, 2, 29, 23, 59, 59, 999), At(2026, 12, 31, 12, 0),
          At(2100, 3, 1, 0, 0), At(30827, 12, 31, 23, 59, 59, 999)}) {
        const SystemTimeData back = AlarmTime::FromMilliseconds(ToMilliseconds(t));
        EXPECT_EQ(ToMilliseconds(back), ToMilliseconds(t)) << Text(t);
        EXPECT_EQ(Text(back), Text(t));
    }
    EXPECT_EQ(AlarmTime::FromMilliseconds(ToMilliseconds(At(1601, 1, 1, 0, 0))).wDayOfWeek, 1);
    EXPECT_EQ(AlarmTime::FromMilliseconds(ToMilliseconds(At(2026, 12, 7, 9, 0))).wDayOfWeek, 1);
    EXPECT_EQ(AlarmTime::FromMilliseconds(ToMilliseconds(At(2026, 12, 6, 9, 0))).wDayOfWeek, 0);
}

TEST(AlarmTimeTest, TheDialogStartsAtTheNextQuarterHourNeverInThePast) {
    const struct {
        SystemTimeData now;
        SystemTimeData start;
    } cases[] = {
        {At(2026, 12, 7, 10, 0), At(2026, 12, 7, 10, 15)},  // a full quarter is past already
        {At(2026, 12, 7, 10, 0, 0, 1), At(2026, 12, 7, 10, 15)},
        {At(2026, 12, 7, 10, 14, 59, 999), At(2026, 12, 7, 10, 15)},
        {At(2026, 12, 7, 10, 15), At(2026, 12, 7, 10, 30)},
        {At(2026, 12, 7, 10, 46, 30), At(2026, 12, 7, 11, 0)},
        {At(2026, 12, 31, 23, 50), At(2027, 1, 1, 0, 0)},
        {At(2028, 2, 28, 23, 59), At(2028, 2, 29, 0, 0)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text(AlarmTime::NextQuarterHour(c.now)), Text(c.start)) << Text(c.now);
        EXPECT_EQ(Text(AlarmTime::DialogStart(c.now, false, At(2030, 1, 1, 0, 0))), Text(c.start));
    }
    const SystemTimeData now = At(2026, 12, 7, 10, 7), ahead = At(2026, 12, 7, 10, 8);
    EXPECT_EQ(Text(AlarmTime::DialogStart(now, true, ahead)), Text(ahead));
    EXPECT_EQ(Text(AlarmTime::DialogStart(now, true, At(2026, 12, 7, 10, 7))),
              Text(At(2026, 12, 7, 10, 15)))
        << "an alarm at this very moment is past";
    EXPECT_EQ(Text(AlarmTime::DialogStart(now, true, At(2025, 1, 1, 0, 0))),
              Text(At(2026, 12, 7, 10, 15)));
    EXPECT_EQ(Text(AlarmTime::DialogStart(now, true, At(2027, 13, 1, 0, 0))),
              Text(At(2026, 12, 7, 10, 15)))
        << "a damaged time is never offered to the pickers";
}

TEST(AlarmTimeTest, SnoozeAcrossDaysAndDaylightSavingChanges) {
    EXPECT_EQ(Text(AlarmTime::RemindIn(At(2026, 12, 31, 23, 55, 12, 5), 10)),
              Text(At(2027, 1, 1, 0, 5, 12, 5)));
    EXPECT_EQ(Text(AlarmTime::RemindIn(At(2028, 2, 28, 23, 58), 10)), Text(At(2028, 2, 29, 0, 8)));
    const struct {
        const char* what;
        SystemTimeData now, due;
    } cases[] = {
        {"same offset", At(2026, 12, 7, 9, 30), At(2026, 12, 8, 9, 30)},
        {"into the new year", At(2026, 12, 31, 22, 50), At(2027, 1, 1, 22, 50)},
        {"local midnight passes at 23:00 UTC", At(2026, 12, 7, 23, 30), At(2026, 12, 8, 23, 30)},
        // 09:00 local on 28 March (UTC+1) is 09:00 local on 29 March (UTC+2): an hour less of UTC.
        {"clocks go forward", At(2026, 3, 28, 8, 0), At(2026, 3, 29, 7, 0)},
        // 09:00 local on 24 October (UTC+2) is 09:00 local on 25 October (UTC+1).
        {"clocks go back", At(2026, 10, 24, 7, 0), At(2026, 10, 25, 8, 0)},
        // 02:30 local does not exist on 29 March: the clocks show 03:30 then.
        {"a skipped local time", At(2026, 3, 28, 1, 30), At(2026, 3, 29, 1, 30)},
        // 02:30 local comes twice on 25 October: the first one.
        {"a repeated local time", At(2026, 10, 24, 0, 30), At(2026, 10, 25, 0, 30)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text(AlarmTime::RemindTomorrow(c.now, Berlin)), Text(c.due)) << c.what;
    }
}

}  // namespace
