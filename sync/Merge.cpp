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

std::wstring FirstLine(const std::wstring& text) {
    size_t start = text.find_first_not_of(L" \t\r\n");
    if (start == std::wstring::npos) return std::wstring();
    size_t end = text.find_first_of(L"\r\n", start);
    std::wstring line = text.substr(start, end == std::wstring::npos ? end : end - start);
    constexpr size_t kMaxTitle = 60;
    if (line.size() > kMaxTitle) line.resize(kMaxTitle);
    return line;
}

// Merges b into a (same id). A conflict note, when one is due, goes to `spawned`.
SyncNote MergeNote(const SyncNote& a, const SyncNote& b, const MergeOptions& options,
                   std::vector<SyncNote>& spawned) {
    SyncNote out = a;
    if (CompareTimes(b.created, a.created) < 0) out.created = b.created;
    if (AttributesBefore(a.attributes, b.attributes)) out.attributes = b.attributes;

    const Content& x = a.content;
    const Content& y = b.content;
    switch (Compare(x.versions, y.versions)) {
        case Order::Same:
            out.content = ContentBefore(x, y) ? y : x;
            break;
        case Order::Older:
            out.content = y;
            break;
        case Order::Newer:
            out.content = x;
            break;
        case Order::Apart: {
            const VersionVector joined = Join(x.versions, y.versions);
            const Content* winner = ContentBefore(x, y) ? &y : &x;
            const Content* loser = winner == &x ? &y : &x;
            if (x.deleted != y.deleted) {
                // The edit the deleting PC had not seen stays.
                winner = x.deleted ? &y : &x;
            } else if (!x.deleted && !SameContent(x, y)) {
                SyncNote kept;
                kept.id = ConflictNoteId(a.id, loser->stamp);
                kept.created = out.created;
                kept.content.text = loser->text;
                kept.content.title =
                    ConflictTitle(options.conflictPrefix, loser->title, loser->text);
                kept.content.stamp = loser->stamp;
                kept.attributes = out.attributes;
                kept.rect = a.rect;
                spawned.push_back(std::move(kept));
            }
            out.content = *winner;
            out.content.versions = joined;
            break;
        }
    }
    return out;
}

struct Before {
    bool live = false;
    std::wstring text;
    std::wstring title;
    Attributes attributes;
};

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

MergeResult Merge(const std::vector<SyncNote>& mine, const std::vector<SyncNote>& theirs,
                  const MergeOptions& options) {
    MergeResult result;
    std::map<NoteId, SyncNote> merged;
    std::map<NoteId, Before> before;
    std::vector<SyncNote> spawned;

    for (const SyncNote& note : mine) {
        auto at = merged.find(note.id);
        if (at == merged.end()) {
            merged.emplace(note.id, note);
        } else {
            at->second = MergeNote(at->second, note, options, spawned);
        }
    }
    for (const auto& [id, note] : merged) {
        Before b;
        b.live = !note.content.deleted;
        b.text = note.content.text;
        b.title = note.content.title;
        b.attributes = note.attributes;
        before.emplace(id, std::move(b));
    }

    const auto take = [&](const SyncNote& note) {
        if (Expired(note, options.nowMs)) return;
        auto at = merged.find(note.id);
        if (at == merged.end()) {
            merged.emplace(note.id, note);
        } else {
            at->second = MergeNote(at->second, note, options, spawned);
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
            if (merged.find(note.id) == merged.end()) ++result.conflicts;
            take(note);
        }
    }

    result.notes.reserve(merged.size());
    for (auto& [id, note] : merged) {
        if (Expired(note, options.nowMs)) continue;
        const bool live = !note.content.deleted;
        auto was = before.find(id);
        if (was == before.end() || !was->second.live) {
            if (live) result.effects.push_back({EffectKind::Added, id, {}});
        } else if (!live) {
            result.effects.push_back({EffectKind::Removed, id, was->second.text});
        } else if (was->second.text != note.content.text ||
                   was->second.title != note.content.title ||
                   !SameValues(was->second.attributes, note.attributes)) {
            result.effects.push_back({EffectKind::Changed, id, {}});
        }
        result.notes.push_back(std::move(note));
    }
    return result;
}

}  // namespace Sync
