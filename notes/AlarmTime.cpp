#include "notes/AlarmTime.h"

#include <algorithm>

namespace AlarmTime {

namespace {

// Days from 1 January 1970 to the given date of the proleptic Gregorian
// calendar; months outside 1..12 roll into the neighbouring years.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    const int64_t monthIndex = month - 1;
    year += monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
    month = ((monthIndex % 12) + 12) % 12 + 1;
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// 1 January 1601 counted from 1 January 1970.
const int64_t kEpochDays = DaysFromCivil(1601, 1, 1);

}  // namespace

int64_t ToMilliseconds(const SystemTimeData& t) {
    const int64_t days = DaysFromCivil(t.wYear, t.wMonth, t.wDay) - kEpochDays;
    const int64_t seconds = ((days * 24 + t.wHour) * 60 + t.wMinute) * 60 + t.wSecond;
    return seconds * 1000 + t.wMilliseconds;
}

bool IsDue(const SystemTimeData& nowUtc, const SystemTimeData& alarmUtc) {
    return ToMilliseconds(nowUtc) >= ToMilliseconds(alarmUtc);
}

uint32_t NextCheckDelay(const SystemTimeData& nowUtc, const SystemTimeData& alarmUtc) {
    const int64_t left = ToMilliseconds(alarmUtc) - ToMilliseconds(nowUtc);
    return static_cast<uint32_t>(std::clamp<int64_t>(left, kMinCheckDelayMs, kMaxCheckDelayMs));
}

}  // namespace AlarmTime
