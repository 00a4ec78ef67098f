// Any bytes must parse without a fault, and what was read must write and read back
// to the same notes: the reader's repairs are stable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/NotesFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    NotesFileData first;
    ParseNotes(std::string(reinterpret_cast<const char*>(data), size), first);

    LoadEnvironment env;
    env.virtualScreen = {-1024, 0, 1280, 1024};
    env.nowUtc.wYear = 2026;
    ApplyLoadRules(first, env);

    const std::string written = SerializeNotes(first);
    NotesFileData second;
    if (ParseNotes(written, second) != NotesFileState::Whole) abort();
    if (SerializeNotes(second) != written) abort();
    if (second.notes.size() != first.notes.size()) abort();
    // Each record takes at least 41 bytes: a count alone never makes notes.
    if (first.notes.size() > size / 41 + 1) abort();
    return 0;
}
