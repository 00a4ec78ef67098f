#include "notes/LocalZone_win.h"

#include "notes/AlarmTime.h"
#include "store/NoteData_win.h"

int64_t LocalZoneOffset(int64_t utcMilliseconds, const TIME_ZONE_INFORMATION* zone) {
    const SYSTEMTIME utc = ToSystemTime(AlarmTime::FromMilliseconds(utcMilliseconds));
    SYSTEMTIME local;
    // The rules in force in the instant's own year, daylight-saving time included.
    if (!SystemTimeToTzSpecificLocalTime(zone, &utc, &local)) return 0;
    return AlarmTime::ToMilliseconds(FromSystemTime(local)) - utcMilliseconds;
}
