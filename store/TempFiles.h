#pragma once
// The temporary files that FileIo::WriteFileAtomically leaves behind on
// Windows when its process is killed between writing and renaming:
// "<name>.tmp-<process id>" beside the file it was replacing. Nothing else
// ever removes them, so the program clears the stale ones at start-up.

#include <cstdint>
#include <string>

namespace TempFiles {

// True when `name` is such a temporary file: `target` receives the name of
// the file being written and `processId` the writer's id. The id is decimal
// digits only and fits 32 bits ("Notes.dat.tmp-", "x.tmp-12a" and
// "x.tmp-99999999999" are not temporary files).
bool Parse(const std::wstring& name, std::wstring& target, uint32_t& processId);

// Whether a temporary file may be removed. A write in progress belongs to a
// running process and is never older than the start of the process looking
// (which is starting itself): anything else was left by a killed writer, also
// when its process id has since been given to another process.
// Times are in any one unit that grows with time (FILETIME ticks).
bool IsStale(bool writerRunning, uint64_t writtenAt, uint64_t thisProcessStart);

}  // namespace TempFiles
