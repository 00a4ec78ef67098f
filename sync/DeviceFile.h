#pragma once
// The device file: everything one PC knows, written by that PC alone as
// "<PC name>-<device id>.vnsync" in the sync folder and read by the others.
// The same layout, under another name, is the file beside Notes.dat that
// keeps the ids and stamps of this PC's notes.
//
// Layout (little-endian):
//   0   8  magic "VNSYNC\r\n" (a copy that changed line ends fails here)
//   8   4  format version (1, or 2 when a note carries a placement sent by a
//          PC that syncs places; a file without one is written as 1, so PCs
//          of the first version go on reading it)
//   12  4  payload length in bytes
//   16  4  CRC-32 of the payload
//   20     payload: device id (u64), device name (u32 length + UTF-16 units),
//          clock (stamp), note count (u32), notes.
//   stamp: wall ms (i64), counter (u32), device (u64)
//   note: id (2 x u64), created year/month/day/hour/minute (u16 each),
//         deleted (u8), content stamp, version count (u32) + (device u64,
//         count u32) each, text, title, attribute stamp, priority, locked,
//         has font [LOGFONTW, 92 bytes], alarm enabled, has alarm
//         [SYSTEMTIME, 16 bytes], rect (4 x i32), hidden, always on top.
//   version 2 only, after the notes, for each note in the same order: its
//         placement: stamp, rect (4 x i32), hidden, always on top. At least
//         one of them has a stamp (otherwise the file would be version 1).
//
// A sync service delivers files late and in pieces: a file whose length or
// checksum does not match its header is incomplete and is read again later,
// never merged in part.

#include <cstdint>
#include <string>
#include <vector>

#include "sync/SyncTypes.h"

namespace Sync {

inline constexpr uint32_t kDeviceFileVersion = 2;
inline constexpr size_t kDeviceFileHeaderSize = 20;
inline constexpr const wchar_t* kDeviceFileExtension = L".vnsync";

enum class ParseState {
    Whole,         // every byte checked and read
    Incomplete,    // shorter or longer than its header says, or its checksum fails
    NotOurs,       // no magic: not a device file at all
    NewerVersion,  // written by a later version of the format: left alone
    Damaged,       // checksum right but the contents do not hold together
};

std::string SerializeDevice(const DeviceState& state);
// The same with the notes given apart, in the order given; state.notes is not read.
std::string SerializeDevice(const DeviceState& state, const std::vector<const SyncNote*>& notes);
// Fills state only when the answer is Whole.
ParseState ParseDevice(const std::string& bytes, DeviceState& state);

uint32_t Crc32(const char* data, size_t size);

// "<name>-<16 hex digits>.vnsync"; the name made safe for every file system
// the services copy to (no \ / : * ? " < > | or control characters, at most 40
// units, no trailing dot or blank), "PC" when nothing is left.
std::wstring DeviceFileName(const std::wstring& pcName, uint64_t device);
std::wstring DeviceIdText(uint64_t device);
// Any name ending in ".vnsync", whatever a service added before it.
bool IsDeviceFileName(const std::wstring& fileName);
// The name this device writes under some PC name: "...-<its id>.vnsync".
// Anything else holding its state is a copy made by a service.
bool IsOwnName(const std::wstring& fileName, uint64_t device);

}  // namespace Sync
