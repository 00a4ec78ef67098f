#pragma once
// Clears the temporary files that killed writers left in a folder
// (TempFiles.h).

#include <cstddef>
#include <string>

// Removes the stale "<name>.tmp-<process id>" files of `folder`; returns how
// many went. Files it cannot remove (open elsewhere) stay for the next start.
size_t RemoveStaleTempFiles(const std::wstring& folder);
