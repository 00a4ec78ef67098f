#pragma once
// When a note should look at its alarm again, where the alarm dialog starts,
// and the two reminders; whether an alarm has come is AlarmRule's
// (store/AlarmRule.h). Times are UTC calendar times as the notes file keeps them.

#include <cstdint>
#include <functional>

#include "store/NoteData.h"

namespace AlarmTime {

// The longest wait between two checks of an armed alarm. Looking at least this
// often also catches a change of the system clock.
constexpr uint32_t kMaxCheckDelayMs = 60000;
// The shortest wait, so that an alarm about to fall due does not spin.
constexpr uint32_t kMinCheckDelayMs = 100;

// Milliseconds since 1 January 1601 (the FILETIME epoch). Fields out of their
// range (as in a damaged record) carry over arithmetically instead of failing.
int64_t ToMilliseconds(const SystemTimeData& t);

// How long to wait before the next check: the time left until the alarm (so it
// fires on time rather than up to a minute late), within the two limits above;
// the shortest once the alarm has come (AlarmRule::HasCome).
uint32_t NextCheckDelay(const SystemTimeData& nowUtc, const SystemTimeData& alarmUtc);

// The calendar time of milliseconds since 1 January 1601; the day of the week
// is filled in.
SystemTimeData FromMilliseconds(int64_t milliseconds);

// The first full quarter hour after `nowUtc` (seconds and milliseconds zero).
SystemTimeData NextQuarterHour(const SystemTimeData& nowUtc);

// What the alarm dialog starts with: the note's alarm while it is still ahead,
// else the next full quarter hour, never a time already past.
SystemTimeData DialogStart(const SystemTimeData& nowUtc, bool hasAlarm,
                           const SystemTimeData& alarmUtc);

// The local time's offset from UTC, in milliseconds, at a UTC instant given in
// milliseconds since 1601 (the system's time-zone rules on Windows).
using ZoneOffset = std::function<int64_t(int64_t utcMilliseconds)>;

// "Remind me in N minutes": N minutes from now.
SystemTimeData RemindIn(const SystemTimeData& nowUtc, int minutes);

// "Remind me tomorrow": the same local clock time on the next local day, in UTC,
// also across a change of daylight-saving time. A local time the clock skips
// (spring forward) comes out as the time the clocks show an hour later.
SystemTimeData RemindTomorrow(const SystemTimeData& nowUtc, const ZoneOffset& offset);

}  // namespace AlarmTime
