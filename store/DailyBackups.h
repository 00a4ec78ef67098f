#pragma once
// Backups of Notes.dat the user can go back to: once a day, before the first save
// of that day, the file as it stands is copied into the folder "Backups" beside it
// as "Notes-YYYY-MM-DD.dat". Restoring one first keeps the current file as
// "Notes-YYYY-MM-DD-HHMMSS.dat". The two kinds are counted apart: the newest
// kBackupsKept daily backups and the newest kRestoreCopiesKept copies made before
// a restore stay, so trying backups one after another never pushes out a day's
// history. Files of other names in the folder are never touched.
//
// Dates are the caller's local time, passed in, so tests can choose any day.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/NoteData.h"

inline constexpr size_t kBackupsKept = 14;
inline constexpr size_t kRestoreCopiesKept = 10;

struct BackupStamp {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    // Set for a backup made before a restore, which carries its time of day.
    bool timed = false;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
};

// Orders stamps by day; on one day the daily backup, made before anything else
// was saved that day, comes before the timed ones.
bool IsOlder(const BackupStamp& a, const BackupStamp& b);

std::wstring DailyBackupName(const SystemTimeData& localNow);
std::wstring TimedBackupName(const SystemTimeData& localNow);

// Reads a backup's name back; false for every other name (temporary files of an
// unfinished copy among them) and for impossible dates.
bool ParseBackupName(const std::wstring& name, BackupStamp& stamp);

// The folder "Backups" beside the notes file, with a trailing separator of the
// kind the notes path uses.
std::wstring BackupsFolderFor(const std::wstring& notesPath);

// The backup names among `names`, newest first.
std::vector<std::wstring> NewestBackupsFirst(const std::vector<std::wstring>& names);

// The backup names to remove: daily ones beyond the newest `keepDaily`, copies
// made before a restore beyond the newest `keepTimed`. `spare` (a name, or
// empty) is never among them, whatever its age: it is the backup being restored.
std::vector<std::wstring> BackupsToPrune(const std::vector<std::wstring>& names,
                                         size_t keepDaily = kBackupsKept,
                                         size_t keepTimed = kRestoreCopiesKept,
                                         const std::wstring& spare = std::wstring());

enum class BackupOutcome {
    Made,           // a copy was written
    AlreadyThere,   // today's copy exists from an earlier save or run
    NothingToCopy,  // there is no notes file yet
    Failed,         // the folder, the read or the write failed
};

// Makes today's copy unless it exists, then removes the backups beyond the
// newest kBackupsKept. The copy is written to a temporary file and renamed, so a
// backup of the day's name is always whole.
// `restoring` names the backup being restored (its path, or empty), which the
// pruning spares.
BackupOutcome MakeDailyBackup(const std::wstring& notesPath, const SystemTimeData& localNow,
                              const std::wstring& restoring = std::wstring());

// Copies the notes file as a timed backup (made before a restore), then prunes,
// sparing the backup about to be restored (its path, or empty). True when the
// copy exists afterwards, or when there is no notes file to keep.
bool MakeTimedBackup(const std::wstring& notesPath, const SystemTimeData& localNow,
                     const std::wstring& restoring = std::wstring());

struct BackupInfo {
    std::wstring path;
    BackupStamp stamp;
    size_t noteCount = 0;
    // A notes file that could not be read at a start, kept beside the notes
    // file as "<name>.YYYY-MM-DD-HHMMSS.bak" before anything replaced it.
    bool keptOriginal = false;
};

// The backups beside the notes file and the kept originals of it, newest first,
// with the number of notes each holds (as far as it can be read).
std::vector<BackupInfo> ListBackups(const std::wstring& notesPath);
