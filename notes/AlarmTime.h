#pragma once
// When a note's alarm falls due, and when the note should look again.
// Times are UTC calendar times as the notes file keeps them.

#include <cstdint>

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

// Whether an alarm set for `alarmUtc` has fallen due at `nowUtc`: at its time
// or later.
bool IsDue(const SystemTimeData& nowUtc, const SystemTimeData& alarmUtc);

// How long to wait before the next check: the time left until the alarm (so it
// fires on time rather than up to a minute late), within the two limits above.
uint32_t NextCheckDelay(const SystemTimeData& nowUtc, const SystemTimeData& alarmUtc);

}  // namespace AlarmTime
