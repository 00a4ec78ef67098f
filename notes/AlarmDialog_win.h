#pragma once
// The alarm dialog (resource IDD_ALARM): a date picker and a time picker, OK
// and Cancel. Alarm times are kept in UTC; the pickers show and take the
// user's local time, since that is what a clock on the wall says. Each open
// dialog keeps its time in its own state.

#include <windows.h>

class LanguageTable;

// Runs the dialog modally over `owner`, showing `utc` in local time. On OK,
// `utc` receives the picked date and time converted back to UTC and the result
// is true; Cancel or the close button leave it unchanged and give false.
bool RunAlarmDialog(HWND owner, const LanguageTable& language, SYSTEMTIME& utc);

// The conversions the dialog uses, for the time zone in force (daylight saving
// time as it applies on that date). False when the system cannot convert.
bool UtcToLocal(const SYSTEMTIME& utc, SYSTEMTIME& local);
bool LocalToUtc(const SYSTEMTIME& local, SYSTEMTIME& utc);
