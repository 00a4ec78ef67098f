#include "sync/SyncSettings.h"

namespace Sync {

namespace {

const wchar_t kEnabled[] = L"/Sync/Enabled";
const wchar_t kFolder[] = L"/Sync/Folder";
const wchar_t kComputerName[] = L"/Sync/ComputerName";
const wchar_t kPlacement[] = L"/Sync/Placement";

}  // namespace

SyncSettings ReadSyncSettings(ValueStore& store) {
    SyncSettings s;
    store.ReadBool(kEnabled, s.enabled);
    store.ReadString(kFolder, s.folder);
    store.ReadString(kComputerName, s.computerName);
    store.ReadBool(kPlacement, s.placement);
    return s;
}

bool WriteSyncSettings(ValueStore& store, const SyncSettings& s) {
    const bool a = store.WriteBool(kEnabled, s.enabled);
    const bool b = store.WriteString(kFolder, s.folder);
    const bool c = store.WriteString(kComputerName, s.computerName);
    const bool d = store.WriteBool(kPlacement, s.placement);
    return a && b && c && d;
}

}  // namespace Sync
