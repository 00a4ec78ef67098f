#pragma once
// Whole-file reading and durable, atomic replacement of files.
// Paths are UTF-16; on POSIX systems they are converted to UTF-8.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// On Windows a function that fails leaves the system's error code of the step
// that failed (GetLastError), so that the caller can tell the user why.

namespace FileIo {

// Reads the whole file into bytes. False when the file cannot be opened or read.
bool ReadFile(const std::wstring& path, std::string& bytes);

// Reads at most maxBytes from the start of the file and tells its whole size, so
// that a caller can refuse a file without taking in more of it than it needs.
bool ReadFilePrefix(const std::wstring& path, size_t maxBytes, std::string& bytes,
                    uint64_t& fileSize);

// Replaces the file's contents in one step: the bytes go to a temporary file in
// the same folder, are flushed to the disk, and the temporary file then takes the
// place of the old one. A crash at any moment leaves either the old file or the
// new one. False when any step fails; the old file is then untouched. A process
// killed between the two steps leaves its temporary file behind (on Windows
// "<name>.tmp-<process id>"; TempFiles.h says when one may go).
bool WriteFileAtomically(const std::wstring& path, const std::string& bytes);

bool FileExists(const std::wstring& path);

// Copies a file, failing if the destination already exists.
bool CopyNewFile(const std::wstring& from, const std::wstring& to);

bool RemoveFile(const std::wstring& path);

// Renames a file, failing if the destination already exists. Needs no room on
// the disk, so it can keep a file where a copy could not be made.
bool RenameNewFile(const std::wstring& from, const std::wstring& to);

// Creates the folder unless it exists; its parent must exist. True when the
// folder is there afterwards.
bool MakeFolder(const std::wstring& path);

// The names (not paths) of the plain files in the folder, in no particular order;
// empty when the folder cannot be listed.
std::vector<std::wstring> ListFiles(const std::wstring& folder);

// Appends bytes to the end of the file, creating it when missing.
bool AppendToFile(const std::wstring& path, const std::string& bytes);

}  // namespace FileIo
