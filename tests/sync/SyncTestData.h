#pragma once
// Notes and stamps for the sync tests, built in one line each.

#include <string>

#include "support/CalendarTimes.h"
#include "sync/SyncTypes.h"

namespace SyncTest {

constexpr int64_t kHour = 60LL * 60 * 1000;
constexpr int64_t kDay = 24 * kHour;
// 2026-12-07 12:00 UTC.
constexpr int64_t kNow = 1796644800000LL;

inline Sync::Stamp At(int64_t wallMs, uint64_t device, uint32_t counter = 0) {
    Sync::Stamp s;
    s.wallMs = wallMs;
    s.counter = counter;
    s.device = device;
    return s;
}

inline Sync::VersionVector Versions(std::initializer_list<std::pair<uint64_t, uint32_t>> counts) {
    Sync::VersionVector v;
    for (const auto& c : counts) v = Sync::Join(v, Sync::VersionVector{{c}});
    return v;
}

inline Sync::SyncNote Note(uint64_t id, const std::wstring& text, Sync::Stamp stamp,
                           Sync::VersionVector versions) {
    Sync::SyncNote n;
    n.id = Sync::NoteId{0x1000 + id, id};
    n.created = ::At(2026, 11, static_cast<int>(1 + id % 28), 9, 41);
    n.content.text = text;
    n.content.stamp = stamp;
    n.content.versions = std::move(versions);
    n.attributes.stamp = stamp;
    n.rect = {-1020 + static_cast<int32_t>(id), 33, -820, 251};
    return n;
}

inline Sync::SyncNote Tombstone(Sync::SyncNote n, Sync::Stamp stamp) {
    n.content.deleted = true;
    n.content.text.clear();
    n.content.title.clear();
    n.content.stamp = stamp;
    Sync::Bump(n.content.versions, stamp.device);
    return n;
}

}  // namespace SyncTest
