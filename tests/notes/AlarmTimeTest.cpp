#include "notes/AlarmTime.h"

#include <gtest/gtest.h>

namespace {

SystemTimeData At(int y, int mo, int d, int h, int mi, int s = 0, int ms = 0) {
    SystemTimeData t;
    t.wYear = static_cast<uint16_t>(y), t.wMonth = static_cast<uint16_t>(mo);
    t.wDay = static_cast<uint16_t>(d), t.wHour = static_cast<uint16_t>(h);
    t.wMinute = static_cast<uint16_t>(mi), t.wSecond = static_cast<uint16_t>(s);
    t.wMilliseconds = static_cast<uint16_t>(ms);
    return t;
}

TEST(AlarmTimeTest, DueAtItsTimeOrLaterAndTheNextCheckComesWhenItFallsDue) {
    const SystemTimeData alarm = At(2026, 12, 7, 10, 30);
    struct {
        SystemTimeData now;
        bool due;
        uint32_t delay;
    } cases[] = {
        {At(2026, 12, 7, 10, 30), true, AlarmTime::kMinCheckDelayMs},
        {At(2026, 12, 7, 10, 30, 0, 1), true, AlarmTime::kMinCheckDelayMs},
        {At(2027, 1, 1, 0, 0), true, AlarmTime::kMinCheckDelayMs},
        {At(2026, 12, 7, 10, 29, 59, 999), false, AlarmTime::kMinCheckDelayMs},
        {At(2026, 12, 7, 10, 29, 55), false, 5000},
        {At(2026, 12, 7, 10, 29, 0, 500), false, 59500},
        {At(2026, 12, 7, 10, 29), false, 60000},
        {At(2026, 12, 7, 9, 0), false, AlarmTime::kMaxCheckDelayMs},
        // The day of the week is not part of the time; the year is.
        {At(2025, 12, 7, 10, 31), false, AlarmTime::kMaxCheckDelayMs},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.due, AlarmTime::IsDue(c.now, alarm)) << c.now.wYear << " " << c.now.wSecond;
        EXPECT_EQ(c.delay, AlarmTime::NextCheckDelay(c.now, alarm));
    }
}

TEST(AlarmTimeTest, MillisecondsFollowTheCalendar) {
    using AlarmTime::ToMilliseconds;
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

}  // namespace
