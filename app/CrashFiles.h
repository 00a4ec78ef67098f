#pragma once
// The files a crash leaves in the folder "Crashes" beside Notes.dat: for each
// crash a minidump "Crash-YYYYMMDD-HHMMSS-PID.dmp" and a text file of the same
// name ending in ".txt" holding one line: when, which exception, where. The
// last kKeptCrashes crashes are kept.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr size_t kKeptCrashes = 10;

struct CrashStamp {
    uint16_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    uint32_t processId = 0;
};

// Both write into the caller's buffer, since a crashed process may have no
// usable heap, and return the length written (without the terminating zero),
// 0 when the buffer is too small.
// "Crash-20261207-183012-4242" (without extension).
size_t FormatCrashStem(const CrashStamp& stamp, wchar_t* out, size_t size);
// The line of the text file, ended by CR LF, e.g.
// "2026-12-07 18:30:12 process 4242: exception 0xC0000005 at 0x00000001400012AB".
size_t FormatCrashLine(const CrashStamp& stamp, uint32_t exceptionCode, uint64_t address, char* out,
                       size_t size);

// Of the names in the folder, those to delete so that the files of only the
// newest `keep` crashes stay. Names that are not a crash's files are never
// chosen; the stamp in the name orders them, not the file times.
std::vector<std::wstring> CrashFilesToPrune(const std::vector<std::wstring>& names,
                                            size_t keep = kKeptCrashes);
