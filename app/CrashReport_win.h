#pragma once
// What an unhandled exception leaves behind: a minidump and one line naming
// the time and the exception, in the folder "Crashes" beside Notes.dat
// (CrashFiles.h). The process then ends as the system ends it.

#include <string>

// Sets the process's unhandled-exception filter. dataFolder ends in a
// separator. Everything the filter needs (the folder's name, the dump
// function) is prepared here; the filter itself only writes the two files.
// Also removes the files of older crashes, so that with the next one the
// newest kKeptCrashes are left.
void InstallCrashReport(const std::wstring& dataFolder);
