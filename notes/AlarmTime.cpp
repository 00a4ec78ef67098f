#include "notes/AlarmTime.h"

#include <algorithm>

#include "store/AlarmRule.h"

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

uint32_t NextCheckDelay(const SystemTimeData& nowUtc, const SystemTimeData& alarmUtc) {
    if (AlarmRule::HasCome(nowUtc, alarmUtc)) return kMinCheckDelayMs;
    const int64_t left = ToMilliseconds(alarmUtc) - ToMilliseconds(nowUtc);
    return static_cast<uint32_t>(std::clamp<int64_t>(left, kMinCheckDelayMs, kMaxCheckDelayMs));
}

SystemTimeData FromMilliseconds(int64_t milliseconds) {
    constexpr int64_t kDay = 86400000;
    int64_t days = milliseconds / kDay, rest = milliseconds % kDay;
    if (rest < 0) rest += kDay, --days;
    // Civil date from days since 1970 (the inverse of DaysFromCivil).
    const int64_t z = days + kEpochDays + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    const int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    SystemTimeData t;
    t.wYear = static_cast<uint16_t>(year);
    t.wMonth = static_cast<uint16_t>(month);
    t.wDay = static_cast<uint16_t>(day);
    // 1 January 1601 was a Monday.
    t.wDayOfWeek = static_cast<uint16_t>((days % 7 + 7 + 1) % 7);
    t.wHour = static_cast<uint16_t>(rest / 3600000);
    t.wMinute = static_cast<uint16_t>(rest / 60000 % 60);
    t.wSecond = static_cast<uint16_t>(rest / 1000 % 60);
    t.wMilliseconds = static_cast<uint16_t>(rest % 1000);
    return t;
}

SystemTimeData NextQuarterHour(const SystemTimeData& nowUtc) {
    constexpr int64_t kQuarter = 15 * 60000;
    const int64_t now = ToMilliseconds(nowUtc);
    return FromMilliseconds((now / kQuarter + 1) * kQuarter);
}

SystemTimeData DialogStart(const SystemTimeData& nowUtc, bool hasAlarm,
                           const SystemTimeData& alarmUtc) {
    if (hasAlarm && !AlarmRule::HasCome(nowUtc, alarmUtc)) return alarmUtc;
    return NextQuarterHour(nowUtc);
}

SystemTimeData RemindIn(const SystemTimeData& nowUtc, int minutes) {
    return FromMilliseconds(ToMilliseconds(nowUtc) + int64_t{minutes} * 60000);
}

SystemTimeData RemindTomorrow(const SystemTimeData& nowUtc, const ZoneOffset& offset) {
    constexpr int64_t kDay = 86400000;
    const int64_t now = ToMilliseconds(nowUtc);
    const int64_t wantedLocal = now + offset(now) + kDay;
    // The wanted local time under today's offset and under the offset that holds
    // then. When both show it (the hour the clocks repeat), the earlier one;
    // when neither does (the hour they skip), the one whose clocks are ahead.
    const int64_t a = offset(now), b = offset(wantedLocal - a);
    const auto shows = [&](int64_t o) {
        return wantedLocal - o + offset(wantedLocal - o) == wantedLocal;
    };
    const bool showsA = shows(a), showsB = shows(b);
    int64_t utc;
    if (showsA && showsB) {
        utc = wantedLocal - std::max(a, b);
    } else if (showsA || showsB) {
        utc = wantedLocal - (showsA ? a : b);
    } else {
        utc = wantedLocal - std::min(a, b);
    }
    return FromMilliseconds(utc);
}

}  // namespace AlarmTime
