#include "sync/FolderScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "store/FileIo.h"
#include "store/SettingsStore.h"
#include "support/TestPaths.h"
#include "sync/DeviceFile.h"
#include "sync/SyncSettings.h"

namespace {

using namespace Sync;

std::vector<std::wstring> Sorted(std::vector<std::wstring> v) {
    std::sort(v.begin(), v.end());
    return v;
}

TEST(FolderScan, ReadsWhatIsNewOrChangedAndWhatWasIncomplete) {
    const std::wstring own = DeviceFileName(L"DESK", 1);
    const std::wstring laptop = DeviceFileName(L"LAPTOP", 2);
    const std::wstring office = DeviceFileName(L"OFFICE", 3);
    FolderScan scan;
    std::vector<FolderEntry> listing = {{own, 100, 5},
                                        {laptop, 300, 7},
                                        {office, 20, 9},
                                        {L"desktop.ini", 10, 1},
                                        {laptop + L".tmp-4410", 300, 8}};
    EXPECT_EQ(Sorted({laptop, office}), Sorted(scan.ToRead(listing, own)));
    scan.Done(laptop, true);
    scan.Done(office, false);  // still arriving

    // Nothing changed: only the incomplete file is read again.
    EXPECT_EQ(std::vector<std::wstring>{office}, scan.ToRead(listing, own));
    scan.Done(office, true);
    EXPECT_TRUE(scan.ToRead(listing, own).empty());

    // A new time or a new size, and a service's copy, are read.
    listing[1].modified = 8;
    listing[2].size = 21;
    const std::wstring copy = L"LAPTOP-0000000000000002 (DESK's conflicted copy).vnsync";
    listing.push_back({copy, 290, 6});
    EXPECT_EQ(Sorted({laptop, office, copy}), Sorted(scan.ToRead(listing, own)));
    for (const auto& name : {laptop, office, copy}) scan.Done(name, true);

    // A file that went away and came back with the same size and time is read again.
    listing.erase(listing.begin() + 1);
    EXPECT_TRUE(scan.ToRead(listing, own).empty());
    listing.push_back({laptop, 300, 8});
    EXPECT_EQ(std::vector<std::wstring>{laptop}, scan.ToRead(listing, own));
    scan.Done(laptop, true);
    scan.Reset();
    EXPECT_EQ(3u, scan.ToRead(listing, own).size());
}

TEST(FolderScan, RolesOfFilesReadWhole) {
    const std::wstring own = DeviceFileName(L"DESK", 0xAA);
    EXPECT_EQ(FileRole::Own, RoleOf(own, 0xAA, 0xAA, own));
    EXPECT_EQ(FileRole::OwnCopy, RoleOf(DeviceFileName(L"OLDNAME", 0xAA), 0xAA, 0xAA, own));
    EXPECT_EQ(FileRole::OwnCopy, RoleOf(L"DESK-00000000000000aa-LAPTOP.vnsync", 0xAA, 0xAA, own));
    EXPECT_EQ(FileRole::Other, RoleOf(DeviceFileName(L"LAPTOP", 0xBB), 0xBB, 0xAA, own));
    EXPECT_EQ(FileRole::OtherCopy, RoleOf(L"LAPTOP-00000000000000bb (1).vnsync", 0xBB, 0xAA, own));
    // A file named for one PC holding another's state is a copy too.
    EXPECT_EQ(FileRole::OtherCopy, RoleOf(DeviceFileName(L"LAPTOP", 0xBB), 0xCC, 0xAA, own));
}

TEST(SyncSettings, OffByDefaultAndKeptInSettingsIni) {
    const auto fields = [](const SyncSettings& s) {
        return std::make_tuple(s.enabled, s.folder, s.computerName, s.placement, SyncActive(s));
    };
    const std::wstring path = TestPaths::MakeScratchDir() + L"Settings.ini";
    {
        SettingsStore store(path);
        EXPECT_EQ(fields(ReadSyncSettings(store)), std::make_tuple(false, L"", L"", false, false));
        EXPECT_FALSE(FileIo::FileExists(path));  // reading writes nothing
    }
    SyncSettings s;
    s.enabled = true;
    s.folder = L"Z:\\home\\ana\\OneDrive\\Notes \x00E9";
    s.computerName = L"Ana's laptop";
    s.placement = true;
    {
        SettingsStore store(path);
        ASSERT_TRUE(WriteSyncSettings(store, s));
    }
    SettingsStore store(path);
    EXPECT_EQ(fields(ReadSyncSettings(store)), fields(s));
    EXPECT_TRUE(SyncActive(s));
    s.folder.clear();
    EXPECT_FALSE(SyncActive(s));  // on, but nowhere to sync through
}

}  // namespace
