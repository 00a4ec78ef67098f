#include "sync/Merge.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "store/NotesFile.h"

namespace Sync {

namespace {

uint64_t Mix(uint64_t x) {
    // splitmix64's finaliser: every input bit reaches every output bit.
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

// A total order on contents that differ only where stamps cannot tell them
// apart (copies of one conflict note titled in two languages, or damaged
// files): every PC picks the same one.
bool ContentBefore(const Content& a, const Content& b) {
    if (a.stamp != b.stamp) return a.stamp < b.stamp;
    return std::tie(a.deleted, a.text, a.title) < std::tie(b.deleted, b.text, b.title);
}

bool SameContent(const Content& a, const Content& b) {
    return a.deleted == b.deleted && a.text == b.text && a.title == b.title;
}

std::wstring FontKey(const LogFontData& f) {
    std::wstring key(f.lfFaceName, f.lfFaceName + LogFontData::kFaceSize);
    for (int32_t v : {f.lfHeight, f.lfWidth, f.lfEscapement, f.lfOrientation, f.lfWeight}) {
        key += static_cast<wchar_t>(v & 0xFFFF);
        key += static_cast<wchar_t>((v >> 16) & 0xFFFF);
    }
    for (uint8_t v : {f.lfItalic, f.lfUnderline, f.lfStrikeOut, f.lfCharSet, f.lfOutPrecision,
                      f.lfClipPrecision, f.lfQuality, f.lfPitchAndFamily}) {
        key += static_cast<wchar_t>(v);
    }
    return key;
}

bool AttributesBefore(const Attributes& a, const Attributes& b) {
    if (a.stamp != b.stamp) return a.stamp < b.stamp;
    const auto alarmKey = [](const Attributes& x) {
        const SystemTimeData& t = x.alarmTime;
        return std::make_tuple(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond,
                               t.wMilliseconds, t.wDayOfWeek);
    };
    return std::make_tuple(a.priority, a.locked, a.hasCustomFont, a.alarmEnabled, a.hasAlarm,
                           alarmKey(a), FontKey(a.font)) <
           std::make_tuple(b.priority, b.locked, b.hasCustomFont, b.alarmEnabled, b.hasAlarm,
                           alarmKey(b), FontKey(b.font));
}

bool PlacementBefore(const Placement& a, const Placement& b) {
    if (a.stamp != b.stamp) return a.stamp < b.stamp;
    const auto key = [](const Placement& p) {
        return std::make_tuple(p.rect.left, p.rect.top, p.rect.right, p.rect.bottom, p.hidden,
                               p.alwaysOnTop);
    };
    return key(a) < key(b);
}

std::wstring FirstLine(const std::wstring& text) {
    size_t start = text.find_first_not_of(L" \t\r\n");
    if (start == std::wstring::npos) return std::wstring();
    size_t end = text.find_first_of(L"\r\n", start);
    std::wstring line = text.substr(start, end == std::wstring::npos ? end : end - start);
    constexpr size_t kMaxTitle = 60;
    if (line.size() > kMaxTitle) line.resize(kMaxTitle);
    return line;
}

// Merges b into a (same id), in place; touch() runs once before the first
// change to a. A conflict note, when one is due, goes to `spawned`.
template <class Touch>
void MergeInto(SyncNote& a, const SyncNote& b, const MergeOptions& options,
               std::vector<SyncNote>& spawned, Touch touch) {
    if (CompareTimes(b.created, a.created) < 0) {
        touch();
        a.created = b.created;
    }
    if (AttributesBefore(a.attributes, b.attributes)) {
        touch();
        a.attributes = b.attributes;
    }
    if (PlacementBefore(a.placement, b.placement)) {
        touch();
        a.placement = b.placement;
    }
    const Content& x = a.content;
    const Content& y = b.content;
    switch (Compare(x.versions, y.versions)) {
        case Order::Same:
            if (ContentBefore(x, y)) {
                touch();
                a.content = y;
            }
            break;
        case Order::Older:
            touch();
            a.content = y;
            break;
        case Order::Newer:
            break;
        case Order::Apart: {
            touch();
            VersionVector joined = Join(x.versions, y.versions);
            const bool theirsWins = x.deleted != y.deleted
                                        ? x.deleted  // the edit the deleter had not seen stays
                                        : ContentBefore(x, y);
            if (!x.deleted && !y.deleted && !SameContent(x, y)) {
                const Content& loser = theirsWins ? x : y;
                SyncNote kept;
                kept.id = ConflictNoteId(a.id, loser.stamp);
                kept.created = a.created;
                kept.content.text = loser.text;
                kept.content.title = ConflictTitle(options.conflictPrefix, loser.title, loser.text);
                kept.content.stamp = loser.stamp;
                kept.attributes = a.attributes;
                kept.rect = a.rect;
                spawned.push_back(std::move(kept));
            }
            if (theirsWins) a.content = y;
            a.content.versions = std::move(joined);
            break;
        }
    }
}

struct Before {
    bool live = false;
    std::wstring text;
    std::wstring title;
    Attributes attributes;
    Placement placement;
};

Before BeforeOf(const SyncNote& note) {
    return Before{!note.content.deleted, note.content.text, note.content.title, note.attributes,
                  note.placement};
}

bool IdLess(const SyncNote& a, const SyncNote& b) {
    return a.id < b.id;
}

}  // namespace

NoteId ConflictNoteId(const NoteId& id, const Stamp& losing) {
    const uint64_t s = Mix(static_cast<uint64_t>(losing.wallMs) ^ Mix(losing.counter) ^
                           Mix(losing.device ^ 0x5A5A5A5A5A5A5A5AULL));
    return NoteId{Mix(id.hi ^ s), Mix(id.lo ^ Mix(s))};
}

std::wstring ConflictTitle(const std::wstring& prefix, const std::wstring& title,
                           const std::wstring& text) {
    const std::wstring base = title.empty() ? FirstLine(text) : title;
    // A conflict of a conflict note keeps one prefix.
    if (!prefix.empty() && base.compare(0, prefix.size(), prefix) == 0) return base;
    return prefix + base;
}

MergeResult Merge(std::vector<SyncNote> mine, const std::vector<SyncNote>& theirs,
                  const MergeOptions& options) {
    MergeResult result;
    std::vector<SyncNote> spawned;
    const auto ignore = [] {};

    // This PC's notes, sorted by id and once each (a damaged file may list
    // one twice).
    if (!std::is_sorted(mine.begin(), mine.end(), IdLess)) {
        std::stable_sort(mine.begin(), mine.end(), IdLess);
    }
    std::vector<SyncNote>& notes = result.notes;
    notes.reserve(mine.size());
    for (SyncNote& note : mine) {
        if (!notes.empty() && notes.back().id == note.id) {
            MergeInto(notes.back(), note, options, spawned, ignore);
        } else {
            notes.push_back(std::move(note));
        }
    }

    // What the notes this merge changes were before it, and the notes new to
    // this PC.
    std::map<NoteId, Before> before;
    std::map<NoteId, SyncNote> fresh;
    const auto take = [&](const SyncNote& note) {
        if (Expired(note, options.nowMs)) return;
        auto at = std::lower_bound(notes.begin(), notes.end(), note, IdLess);
        if (at != notes.end() && at->id == note.id) {
            SyncNote& mineNote = *at;
            bool touched = false;
            MergeInto(mineNote, note, options, spawned, [&] {
                if (touched) return;
                touched = true;
                before.emplace(mineNote.id, BeforeOf(mineNote));
            });
            return;
        }
        auto known = fresh.find(note.id);
        if (known == fresh.end()) {
            fresh.emplace(note.id, note);
        } else {
            MergeInto(known->second, note, options, spawned, ignore);
        }
    };
    for (const SyncNote& note : theirs) {
        if (result.newest < note.content.stamp) result.newest = note.content.stamp;
        if (result.newest < note.attributes.stamp) result.newest = note.attributes.stamp;
        take(note);
    }
    // A conflict note merged into an existing one can make no further
    // conflict note (its versions are empty), so this ends.
    while (!spawned.empty()) {
        std::vector<SyncNote> next;
        next.swap(spawned);
        for (const SyncNote& note : next) {
            const bool known = fresh.count(note.id) != 0 ||
                               std::binary_search(notes.begin(), notes.end(), note, IdLess);
            if (!known) ++result.conflicts;
            take(note);
        }
    }

    for (const auto& [id, was] : before) {
        const SyncNote& note =
            *std::lower_bound(notes.begin(), notes.end(), id,
                              [](const SyncNote& n, const NoteId& i) { return n.id < i; });
        if (Expired(note, options.nowMs)) continue;
        const bool live = !note.content.deleted;
        if (!was.live) {
            if (live) result.effects.push_back({EffectKind::Added, id, {}});
        } else if (!live) {
            result.effects.push_back({EffectKind::Removed, id, was.text});
        } else {
            const bool placed = !SameValues(was.placement, note.placement);
            const bool fields = was.text != note.content.text || was.title != note.content.title ||
                                !SameValues(was.attributes, note.attributes);
            if (placed || fields) {
                result.effects.push_back({EffectKind::Changed, id, {}, placed, fields});
            }
        }
    }
    for (auto& [id, note] : fresh) {
        if (!note.content.deleted) result.effects.push_back({EffectKind::Added, id, {}});
        notes.push_back(std::move(note));
    }
    if (!fresh.empty()) std::sort(notes.begin(), notes.end(), IdLess);
    notes.erase(std::remove_if(notes.begin(), notes.end(),
                               [&](const SyncNote& n) { return Expired(n, options.nowMs); }),
                notes.end());
    return result;
}

}  // namespace Sync
