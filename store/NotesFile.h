#pragma once
// Notes.dat: the binary file that holds every note and the custom default font.
//
// Layout (little-endian, no padding): int32 version (4), uint32 note count,
// uint8 custom-default-font flag, [92-byte LOGFONTW], then one record per note:
// rect (4 x int32), text and title (uint32 length in UTF-16 units + units),
// alwaysOnTop, created year/month/day/hour/minute (uint16 each), locked,
// hasCustomFont, [LOGFONTW], priority, hidden, alarmEnabled, hasAlarm,
// [SYSTEMTIME]. Flags are one byte each; any non-zero byte reads as true.
//
// Nothing here asks the system for the clock or the screen: the caller passes
// them in, so the rules are the same in tests and in the program.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "store/NoteData.h"

inline constexpr int32_t kNotesFileVersion = 4;

struct NotesFileData {
    bool hasCustomDefaultFont = false;
    LogFontData customDefaultFont;
    std::vector<NoteData> notes;
};

// How far a file could be taken in.
enum class NotesFileState {
    Missing,        // no file: a first start
    Whole,          // every byte understood
    NewerVersion,   // written by a later version: nothing was read
    CutShort,       // ended inside the header or before the last note was complete
    TrailingBytes,  // every note read, but more bytes follow them
    Unreadable,     // the file exists but could not be read
};

struct LoadResult {
    NotesFileData data;
    NotesFileState state = NotesFileState::Missing;
    // The file on disk holds something this load could not take in. The caller
    // hands this flag to SaveNotesFile, which keeps the original as a dated
    // backup before the first save replaces it, and then clears the flag.
    bool keepOriginal = false;
    // Where the original of a file that could not be read at all (Unreadable,
    // NewerVersion) is kept: copied there during the load, or, when even that
    // failed (a file locked against reading), by the first save that can. The
    // user must be told this path before anything replaces the file.
    std::wstring keptOriginalPath;
    bool keptOriginalCopied = false;
};

// What the program knows about its surroundings when it loads the notes.
struct LoadEnvironment {
    RectData virtualScreen;  // bounding rectangle of all monitors
    SystemTimeData nowUtc;
    SystemTimeData localNow;  // names the kept original
    // A file that exists but cannot be read (a backup or sync program holding
    // it at log-on) is tried this often in all, with `wait` between tries.
    int readAttempts = 1;
    std::function<void()> wait;
};

std::string SerializeNotes(const NotesFileData& data);

// Reads as much as the bytes hold. Fields past the end keep their defaults;
// no count or length in the file can make this allocate more than the bytes
// could hold, nor create records past their end.
NotesFileState ParseNotes(const std::string& bytes, NotesFileData& data);

// A rectangle lying wholly outside the virtual screen is shifted, size kept, until
// the edge that faced the screen meets the screen's nearest edge. A rectangle that
// overlaps the screen at all stays where it is.
RectData MoveIntoVirtualScreen(const RectData& rect, const RectData& virtualScreen);

// Orders calendar times by year, month, day, hour, minute, second, milliseconds.
int CompareTimes(const SystemTimeData& a, const SystemTimeData& b);

// Applies to every note the rule above and the alarm rule (AlarmRule.h): an
// alarm that fell due while the program was not running rings as it loads.
void ApplyLoadRules(NotesFileData& data, const LoadEnvironment& environment);

LoadResult LoadNotesFile(const std::wstring& path, const LoadEnvironment& environment);

// Replaces the file in one durable step. When keepOriginal is set and a file is in
// place, that file is first copied beside itself as keepAs when given (the path
// the user was told), else as "<name>.YYYY-MM-DD-HHMMSS.bak" (localNow), never
// over an earlier backup; when no copy can be made the file is
// renamed to that name instead. If neither works nothing is written, so the unread
// notes survive, and keepOriginal stays set for the next attempt; it is cleared
// once it has been honoured.
bool SaveNotesFile(const std::wstring& path, const NotesFileData& data,
                   const SystemTimeData& localNow, bool& keepOriginal,
                   const std::wstring& keepAs = std::wstring());

// The kept originals of the notes file at `path` ("<name>.YYYY-MM-DD-HHMMSS
// [-n].bak" beside it), as names, and the stamp each carries.
bool ParseKeptOriginalName(const std::wstring& notesFileName, const std::wstring& name,
                           SystemTimeData& stamp);

// The name the backup of path takes at localNow; attempt 1 is the plain name,
// later attempts add "-2", "-3", ... before ".bak".
std::wstring BackupPathFor(const std::wstring& path, const SystemTimeData& localNow, int attempt);
