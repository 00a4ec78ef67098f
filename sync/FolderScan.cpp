#include "sync/FolderScan.h"

#include "sync/DeviceFile.h"

namespace Sync {

FileRole RoleOf(const std::wstring& name, uint64_t deviceInFile, uint64_t ownDevice,
                const std::wstring& ownName) {
    if (deviceInFile == ownDevice) return name == ownName ? FileRole::Own : FileRole::OwnCopy;
    return IsOwnName(name, deviceInFile) ? FileRole::Other : FileRole::OtherCopy;
}

std::vector<std::wstring> FolderScan::ToRead(const std::vector<FolderEntry>& listing,
                                             const std::wstring& ownName) {
    std::vector<std::wstring> out;
    std::map<std::wstring, Seen> listed;
    for (const FolderEntry& e : listing) {
        if (!IsDeviceFileName(e.name) || e.name == ownName) continue;
        listed[e.name] = Seen{e.size, e.modified, false};
        auto at = known_.find(e.name);
        if (at != known_.end() && at->second.size == e.size && at->second.modified == e.modified) {
            continue;
        }
        out.push_back(e.name);
    }
    // A file gone from the folder is forgotten: its notes stay, and a file
    // of the same name coming back is read again.
    for (auto at = known_.begin(); at != known_.end();) {
        at = listed.count(at->first) ? std::next(at) : known_.erase(at);
    }
    listed_ = std::move(listed);
    return out;
}

void FolderScan::Done(const std::wstring& name, bool whole) {
    auto at = listed_.find(name);
    if (whole && at != listed_.end()) {
        known_[name] = at->second;
    } else {
        known_.erase(name);
    }
}

}  // namespace Sync
