#include "sync/SyncSession.h"

#include <algorithm>
#include <unordered_map>

namespace Sync {

namespace {

bool SameCreated(const SystemTimeData& a, const SystemTimeData& b) {
    // Notes.dat keeps the creation time to the minute.
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute;
}

bool HasVisible(const std::wstring& text) {
    for (wchar_t c : text) {
        if (c > L' ') return true;
    }
    return false;
}

uint64_t CreatedKey(const SystemTimeData& t) {
    return ((((uint64_t{t.wYear} * 13 + t.wMonth) * 32 + t.wDay) * 24 + t.wHour) * 60) + t.wMinute;
}

// For each note of the list, the note of `known` it is: by position when the
// counts and creation times agree; else by text and creation time, then by a
// creation time that only one note left unmatched has. Null: none.
std::vector<const SyncNote*> MatchNotes(const std::vector<LocalNote>& list,
                                        const std::vector<const SyncNote*>& known) {
    std::vector<const SyncNote*> match(list.size(), nullptr);
    bool byPosition = known.size() == list.size();
    for (size_t i = 0; byPosition && i < list.size(); ++i) {
        byPosition = SameCreated(known[i]->created, list[i].data.created);
    }
    if (byPosition) {
        for (size_t i = 0; i < list.size(); ++i) match[i] = known[i];
        return match;
    }
    std::vector<bool> used(known.size(), false);
    std::unordered_map<std::wstring, std::vector<size_t>> byText;
    std::unordered_map<uint64_t, std::vector<size_t>> byCreated;
    for (size_t j = 0; j < known.size(); ++j) {
        byText[known[j]->content.text].push_back(j);
        byCreated[CreatedKey(known[j]->created)].push_back(j);
    }
    for (size_t i = 0; i < list.size(); ++i) {
        auto same = byText.find(list[i].data.text);
        if (same == byText.end()) continue;
        for (size_t j : same->second) {
            if (!used[j] && SameCreated(known[j]->created, list[i].data.created)) {
                used[j] = true;
                match[i] = known[j];
                break;
            }
        }
    }
    for (size_t i = 0; i < list.size(); ++i) {
        if (match[i]) continue;
        auto same = byCreated.find(CreatedKey(list[i].data.created));
        if (same == byCreated.end()) continue;
        size_t found = 0;
        int candidates = 0;
        for (size_t j : same->second) {
            if (!used[j]) {
                found = j;
                ++candidates;
            }
        }
        if (candidates == 1) {
            used[found] = true;
            match[i] = known[found];
        }
    }
    return match;
}

bool IdLess(const SyncNote& a, const SyncNote& b) {
    return a.id < b.id;
}

}  // namespace

SyncSession::SyncSession(std::function<uint64_t()> random) : random_(std::move(random)) {}

SyncNote* SyncSession::Find(const NoteId& id) {
    auto at = std::lower_bound(state_.notes.begin(), state_.notes.end(), id,
                               [](const SyncNote& n, const NoteId& i) { return n.id < i; });
    return at != state_.notes.end() && at->id == id ? &*at : nullptr;
}

NoteId SyncSession::NewId() {
    for (;;) {
        NoteId id{random_(), random_()};
        if ((id.hi | id.lo) != 0 && !Find(id)) return id;
    }
}

void SyncSession::SortNotes() {
    std::sort(state_.notes.begin(), state_.notes.end(), IdLess);
}

void SyncSession::Bind(const NoteId& id, uint64_t key) {
    Unbind(key);
    auto old = keyOfId_.find(id);
    if (old != keyOfId_.end()) idOfKey_.erase(old->second);
    idOfKey_[key] = id;
    keyOfId_[id] = key;
}

void SyncSession::Unbind(uint64_t key) {
    auto at = idOfKey_.find(key);
    if (at == idOfKey_.end()) return;
    keyOfId_.erase(at->second);
    idOfKey_.erase(at);
}

bool SyncSession::IdOf(uint64_t key, NoteId& id) const {
    auto at = idOfKey_.find(key);
    if (at == idOfKey_.end()) return false;
    id = at->second;
    return true;
}

void SyncSession::Start(const std::vector<LocalNote>& loaded, const std::string& sidecar,
                        int64_t nowMs) {
    DeviceState kept;
    const bool haveSidecar =
        !sidecar.empty() && ParseDevice(sidecar, kept) == ParseState::Whole && kept.device != 0;
    state_ = DeviceState();
    idOfKey_.clear();
    keyOfId_.clear();
    order_.clear();
    if (haveSidecar) {
        state_.device = kept.device;
        state_.deviceName = kept.deviceName;
    } else {
        while (state_.device == 0) state_.device = random_();
    }
    clock_ = HybridClock(state_.device);
    if (haveSidecar) clock_.Restore(kept.clock);

    // The live notes of the file, in the order they were saved.
    std::vector<const SyncNote*> live;
    for (const SyncNote& note : kept.notes) {
        if (!note.content.deleted) {
            live.push_back(&note);
        } else if (!Expired(note, nowMs)) {
            state_.notes.push_back(note);
        }
    }

    const std::vector<const SyncNote*> match = MatchNotes(loaded, live);

    for (size_t i = 0; i < loaded.size(); ++i) {
        if (!match[i]) continue;
        // A tombstone of the same id (a damaged file) gives way to the live note.
        state_.notes.erase(std::remove_if(state_.notes.begin(), state_.notes.end(),
                                          [&](const SyncNote& n) { return n.id == match[i]->id; }),
                           state_.notes.end());
        state_.notes.push_back(*match[i]);
    }
    SortNotes();
    state_.notes.erase(
        std::unique(state_.notes.begin(), state_.notes.end(),
                    [](const SyncNote& a, const SyncNote& b) { return a.id == b.id; }),
        state_.notes.end());
    for (size_t i = 0; i < loaded.size(); ++i) {
        if (match[i] && Find(match[i]->id) && !keyOfId_.count(match[i]->id)) {
            Bind(match[i]->id, loaded[i].key);
        }
    }
    Saved(loaded, nowMs);
}

bool SyncSession::Replaced(const std::vector<LocalNote>& notes, int64_t nowMs) {
    std::vector<const SyncNote*> live;
    std::vector<char> listed(state_.notes.size(), 0);
    for (const NoteId& id : order_) {
        const SyncNote* note = Find(id);
        if (!note || note->content.deleted) continue;
        const size_t at = static_cast<size_t>(note - state_.notes.data());
        if (listed[at]) continue;
        listed[at] = 1;
        live.push_back(note);
    }
    for (size_t i = 0; i < state_.notes.size(); ++i) {
        if (!listed[i] && !state_.notes[i].content.deleted) live.push_back(&state_.notes[i]);
    }
    // The notes matched take their ids to their new keys; those left keep the
    // keys of notes that are gone, so the save below deletes them.
    const std::vector<const SyncNote*> match = MatchNotes(notes, live);
    for (size_t i = 0; i < notes.size(); ++i) {
        if (match[i]) Bind(match[i]->id, notes[i].key);
    }
    return Saved(notes, nowMs);
}

bool SyncSession::Saved(const std::vector<LocalNote>& notes, int64_t nowMs) {
    bool changed = false;
    // Which notes of the state the list still shows, by their place in it.
    std::vector<char> seen(state_.notes.size(), 0);
    std::vector<NoteId> order;
    order.reserve(notes.size());
    std::vector<SyncNote> made;

    for (const LocalNote& local : notes) {
        NoteId id;
        SyncNote* note = nullptr;
        if (IdOf(local.key, id)) note = Find(id);
        const size_t at = note ? static_cast<size_t>(note - state_.notes.data()) : 0;
        if (!note || seen[at]) {
            // A new note still blank (the user is about to type into it) goes
            // to no other PC until it holds something.
            if (!HasVisible(local.data.text) && !HasVisible(local.data.title)) continue;
            // New to sync: a note made on this PC, or one whose id is taken.
            SyncNote fresh;
            fresh.id = NewId();
            fresh.created = local.data.created;
            fresh.content.text = local.data.text;
            fresh.content.title = local.data.title;
            fresh.content.stamp = clock_.Next(nowMs);
            Bump(fresh.content.versions, state_.device);
            TakeAttributes(local.data, fresh.attributes);
            fresh.attributes.stamp = clock_.Next(nowMs);
            fresh.rect = local.data.rect;
            fresh.hidden = local.data.hidden;
            fresh.alwaysOnTop = local.data.alwaysOnTop;
            if (syncPlacement_) {
                fresh.placement = {fresh.rect, fresh.hidden, fresh.alwaysOnTop, clock_.Next(nowMs)};
            }
            Bind(fresh.id, local.key);
            order.push_back(fresh.id);
            made.push_back(std::move(fresh));
            changed = true;
            continue;
        }
        seen[at] = 1;
        order.push_back(id);
        Content& c = note->content;
        if (c.deleted || c.text != local.data.text || c.title != local.data.title) {
            c.deleted = false;
            c.text = local.data.text;
            c.title = local.data.title;
            c.stamp = clock_.Next(nowMs);
            Bump(c.versions, state_.device);
            changed = true;
        }
        Attributes a = note->attributes;
        TakeAttributes(local.data, a);
        if (!SameValues(a, note->attributes)) {
            a.stamp = clock_.Next(nowMs);
            note->attributes = a;
            changed = true;
        }
        const Placement here{local.data.rect, local.data.hidden, local.data.alwaysOnTop, {}};
        const Placement before{note->rect, note->hidden, note->alwaysOnTop, {}};
        if (syncPlacement_ && !SameValues(here, before) &&
            !(note->placement.Sent() && SameValues(here, note->placement))) {
            note->placement = here;
            note->placement.stamp = clock_.Next(nowMs);
            changed = true;
        }
        note->rect = local.data.rect;
        note->hidden = local.data.hidden;
        note->alwaysOnTop = local.data.alwaysOnTop;
    }

    // A note that carried a key and is gone from the list was deleted here.
    std::vector<uint64_t> gone;
    for (const auto& [key, id] : idOfKey_) {
        const SyncNote* note = Find(id);
        if (note && !seen[static_cast<size_t>(note - state_.notes.data())]) gone.push_back(key);
    }
    for (uint64_t key : gone) {
        SyncNote* note = Find(idOfKey_[key]);
        Unbind(key);
        if (note->content.deleted) continue;
        note->content.deleted = true;
        note->content.text.clear();
        note->content.title.clear();
        note->content.stamp = clock_.Next(nowMs);
        Bump(note->content.versions, state_.device);
        changed = true;
    }

    // Tombstones past their time go.
    const size_t before = state_.notes.size();
    state_.notes.erase(std::remove_if(state_.notes.begin(), state_.notes.end(),
                                      [&](const SyncNote& n) { return Expired(n, nowMs); }),
                       state_.notes.end());
    if (state_.notes.size() != before) changed = true;

    if (!made.empty()) {
        for (SyncNote& m : made) state_.notes.push_back(std::move(m));
        SortNotes();
    }
    order_ = std::move(order);
    state_.clock = clock_.Last();
    return changed;
}

ListChanges SyncSession::MergeFrom(const DeviceState& other, const MergeOptions& options) {
    MergeResult merged = Merge(std::move(state_.notes), other.notes, options);
    clock_.Observe(merged.newest);
    clock_.Observe(other.clock);
    state_.notes = std::move(merged.notes);
    state_.clock = clock_.Last();

    ListChanges changes;
    changes.conflicts = merged.conflicts;
    for (const MergeEffect& effect : merged.effects) {
        const SyncNote* note = Find(effect.id);
        auto bound = keyOfId_.find(effect.id);
        switch (effect.kind) {
            case EffectKind::Added:
                if (note && bound == keyOfId_.end()) {
                    ListChanges::Added add{effect.id, ToNoteData(*note), false};
                    if (syncPlacement_ && note->placement.Sent()) {
                        add.placed = true;
                        add.data.rect = note->placement.rect;
                        add.data.hidden = note->placement.hidden;
                        add.data.alwaysOnTop = note->placement.alwaysOnTop;
                    }
                    changes.added.push_back(std::move(add));
                } else if (note) {
                    changes.changed.push_back({bound->second, ToNoteData(*note)});
                }
                break;
            case EffectKind::Changed:
                // A placement this PC does not take changes nothing here.
                if (!effect.fields && !syncPlacement_) {
                    changes.carried = true;
                    break;
                }
                if (note && bound != keyOfId_.end()) {
                    ListChanges::Changed change{bound->second, ToNoteData(*note), false};
                    if (effect.placed && syncPlacement_ && note->placement.Sent()) {
                        change.placed = true;
                        change.data.rect = note->placement.rect;
                        change.data.hidden = note->placement.hidden;
                        change.data.alwaysOnTop = note->placement.alwaysOnTop;
                    }
                    changes.changed.push_back(std::move(change));
                }
                break;
            case EffectKind::Removed:
                if (bound != keyOfId_.end()) {
                    changes.removed.push_back({bound->second, effect.removedText});
                    Unbind(bound->second);
                }
                break;
        }
    }
    return changes;
}

void SyncSession::Shown(uint64_t key, const RectData& rect, bool hidden, bool alwaysOnTop) {
    NoteId id;
    SyncNote* note = IdOf(key, id) ? Find(id) : nullptr;
    if (!note) return;
    note->rect = rect;
    note->hidden = hidden;
    note->alwaysOnTop = alwaysOnTop;
}

std::string SyncSession::StateBytes() const {
    DeviceState head;
    head.device = state_.device;
    head.deviceName = state_.deviceName;
    head.clock = clock_.Last();
    std::vector<const SyncNote*> out;
    out.reserve(state_.notes.size());
    std::vector<char> listed(state_.notes.size(), 0);
    for (const NoteId& id : order_) {
        auto at = std::lower_bound(state_.notes.begin(), state_.notes.end(), id,
                                   [](const SyncNote& n, const NoteId& i) { return n.id < i; });
        if (at == state_.notes.end() || at->id != id || at->content.deleted) continue;
        const size_t index = static_cast<size_t>(at - state_.notes.begin());
        if (listed[index]) continue;
        listed[index] = 1;
        out.push_back(&*at);
    }
    for (size_t i = 0; i < state_.notes.size(); ++i) {
        if (!listed[i]) out.push_back(&state_.notes[i]);
    }
    return SerializeDevice(head, out);
}

}  // namespace Sync
