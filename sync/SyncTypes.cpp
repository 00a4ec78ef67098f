#include "sync/SyncTypes.h"

#include <algorithm>

namespace Sync {

Order Compare(const VersionVector& a, const VersionVector& b) {
    bool aAhead = false;  // a counts a change b does not know
    bool bAhead = false;
    size_t i = 0;
    size_t j = 0;
    while (i < a.counts.size() || j < b.counts.size()) {
        if (j == b.counts.size() ||
            (i < a.counts.size() && a.counts[i].first < b.counts[j].first)) {
            aAhead = true;
            ++i;
        } else if (i == a.counts.size() || b.counts[j].first < a.counts[i].first) {
            bAhead = true;
            ++j;
        } else {
            if (a.counts[i].second > b.counts[j].second) aAhead = true;
            if (b.counts[j].second > a.counts[i].second) bAhead = true;
            ++i;
            ++j;
        }
    }
    if (aAhead && bAhead) return Order::Apart;
    if (aAhead) return Order::Newer;
    if (bAhead) return Order::Older;
    return Order::Same;
}

VersionVector Join(const VersionVector& a, const VersionVector& b) {
    VersionVector out;
    out.counts.reserve(std::max(a.counts.size(), b.counts.size()));
    size_t i = 0;
    size_t j = 0;
    while (i < a.counts.size() || j < b.counts.size()) {
        if (j == b.counts.size() ||
            (i < a.counts.size() && a.counts[i].first < b.counts[j].first)) {
            out.counts.push_back(a.counts[i++]);
        } else if (i == a.counts.size() || b.counts[j].first < a.counts[i].first) {
            out.counts.push_back(b.counts[j++]);
        } else {
            out.counts.emplace_back(a.counts[i].first,
                                    std::max(a.counts[i].second, b.counts[j].second));
            ++i;
            ++j;
        }
    }
    return out;
}

void Bump(VersionVector& v, uint64_t device) {
    auto at = std::lower_bound(
        v.counts.begin(), v.counts.end(), device,
        [](const std::pair<uint64_t, uint32_t>& e, uint64_t d) { return e.first < d; });
    if (at != v.counts.end() && at->first == device) {
        if (at->second != UINT32_MAX) ++at->second;
    } else {
        v.counts.insert(at, {device, 1});
    }
}

bool SameValues(const Attributes& a, const Attributes& b) {
    if (a.priority != b.priority || a.locked != b.locked || a.hasCustomFont != b.hasCustomFont ||
        a.alarmEnabled != b.alarmEnabled || a.hasAlarm != b.hasAlarm) {
        return false;
    }
    if (a.hasCustomFont && a.font != b.font) return false;
    if (a.hasAlarm && a.alarmTime != b.alarmTime) return false;
    return true;
}

bool SameValues(const Placement& a, const Placement& b) {
    return a.rect == b.rect && a.hidden == b.hidden && a.alwaysOnTop == b.alwaysOnTop;
}

NoteData ToNoteData(const SyncNote& note) {
    NoteData d;
    d.rect = note.rect;
    d.text = note.content.text;
    d.title = note.content.title;
    d.alwaysOnTop = note.alwaysOnTop;
    d.created = note.created;
    d.locked = note.attributes.locked;
    d.hasCustomFont = note.attributes.hasCustomFont;
    if (d.hasCustomFont) d.font = note.attributes.font;
    d.priority = note.attributes.priority;
    d.hidden = note.hidden;
    d.alarmEnabled = note.attributes.alarmEnabled;
    d.hasAlarm = note.attributes.hasAlarm;
    if (d.hasAlarm) d.alarmTime = note.attributes.alarmTime;
    return d;
}

void TakeAttributes(const NoteData& data, Attributes& a) {
    a.priority = data.priority;
    a.locked = data.locked;
    a.hasCustomFont = data.hasCustomFont;
    a.font = data.hasCustomFont ? data.font : LogFontData{};
    a.alarmEnabled = data.alarmEnabled;
    a.hasAlarm = data.hasAlarm;
    a.alarmTime = data.hasAlarm ? data.alarmTime : SystemTimeData{};
}

}  // namespace Sync
