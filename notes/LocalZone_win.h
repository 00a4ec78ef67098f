#pragma once
// The local time's offset from UTC as Windows' time-zone rules give it, for the
// alarm arithmetic of AlarmTime.h.

#include <windows.h>

#include <cstdint>

// The offset in milliseconds at a UTC instant (milliseconds since 1601), by the
// rules of `zone`, or of the system's own time zone when it is null. 0 when the
// system cannot convert the instant.
int64_t LocalZoneOffset(int64_t utcMilliseconds, const TIME_ZONE_INFORMATION* zone = nullptr);
