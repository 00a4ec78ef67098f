#pragma once
// The sync settings of Settings.ini: "/Sync/Enabled", "/Sync/Folder",
// "/Sync/ComputerName" and "/Sync/Placement" (also sync where notes lie,
// their size, hidden and on top). Off by default; a user who never turns it
// on never has any of them written.

#include <string>

#include "store/ValueStore.h"

namespace Sync {

struct SyncSettings {
    bool enabled = false;
    std::wstring folder;
    std::wstring computerName;  // empty: the PC's own name
    bool placement = false;
};

// Reads each key over its default; an empty text counts as missing.
SyncSettings ReadSyncSettings(ValueStore& store);
// Writes all four; true when every write succeeded.
bool WriteSyncSettings(ValueStore& store, const SyncSettings& settings);

// On only with a folder to sync through.
inline bool SyncActive(const SyncSettings& s) {
    return s.enabled && !s.folder.empty();
}

}  // namespace Sync
