#pragma once
// Which files of the sync folder to read, and what each one is.
//
// A sync service changes the folder behind the program's back: files arrive
// late and in pieces, twice, or as copies named after a conflict of the
// service ("name (PC's conflicted copy).vnsync", "name-PC.vnsync",
// "name.sync-conflict-....vnsync"). A device file read whole is not read
// again until its size or time changes; one that was incomplete is read at
// every scan until it is whole.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Sync {

struct FolderEntry {
    std::wstring name;
    uint64_t size = 0;
    uint64_t modified = 0;  // the file system's time, in any unit
};

// What a device file read whole is, from its name and the device in it.
enum class FileRole {
    Own,        // this PC's own file: never merged, never removed
    OwnCopy,    // this PC's state under another name (a copy, or an old PC name): removed
    Other,      // another PC's file: merged
    OtherCopy,  // a service's copy of another PC's file: merged, then removed
};

FileRole RoleOf(const std::wstring& name, uint64_t deviceInFile, uint64_t ownDevice,
                const std::wstring& ownName);

class FolderScan {
public:
    // The device files of the listing, other than ownName, to read now.
    std::vector<std::wstring> ToRead(const std::vector<FolderEntry>& listing,
                                     const std::wstring& ownName);
    // A file of the last ToRead was read whole (it is left alone until it
    // changes) or not (it is read again at the next scan).
    void Done(const std::wstring& name, bool whole);
    // Everything is read again at the next scan (a new folder, a new start).
    void Reset() { known_.clear(); }

private:
    struct Seen {
        uint64_t size = 0;
        uint64_t modified = 0;
        bool whole = false;
    };
    std::map<std::wstring, Seen> listed_;  // as the last ToRead found them
    std::map<std::wstring, Seen> known_;   // as they were when read whole
};

}  // namespace Sync
