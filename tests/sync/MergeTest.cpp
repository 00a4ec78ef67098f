#include "sync/Merge.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "sync/HybridClock.h"
#include "SyncTestData.h"

namespace {

using namespace Sync;
using namespace SyncTest;

constexpr uint64_t kDesk = 0xD35C;
constexpr uint64_t kLaptop = 0x1A97;
constexpr uint64_t kOffice = 0x0FF1;

MergeOptions Options(int64_t now = kNow) {
    MergeOptions o;
    o.nowMs = now;
    o.conflictPrefix = L"Conflict: ";
    return o;
}

const SyncNote* Find(const MergeResult& r, const NoteId& id) {
    for (const SyncNote& n : r.notes) {
        if (n.id == id) return &n;
    }
    return nullptr;
}

TEST(VersionVectors, OrderAndJoin) {
    const VersionVector a = Versions({{kDesk, 2}, {kLaptop, 1}});
    EXPECT_EQ(Order::Same, Compare(a, a));
    EXPECT_EQ(Order::Older, Compare(Versions({{kDesk, 2}}), a));
    EXPECT_EQ(Order::Newer, Compare(a, Versions({{kLaptop, 1}})));
    EXPECT_EQ(Order::Newer, Compare(a, VersionVector{}));
    EXPECT_EQ(Order::Apart, Compare(a, Versions({{kDesk, 1}, {kLaptop, 2}})));
    EXPECT_EQ(Order::Apart, Compare(Versions({{kDesk, 1}}), Versions({{kOffice, 1}})));
    const VersionVector j = Join(a, Versions({{kOffice, 4}, {kLaptop, 3}}));
    EXPECT_EQ(Versions({{kDesk, 2}, {kLaptop, 3}, {kOffice, 4}}), j);
    EXPECT_EQ(Order::Older, Compare(a, j));

    VersionVector b;
    Bump(b, kLaptop);
    Bump(b, kDesk);
    Bump(b, kLaptop);
    EXPECT_EQ(Versions({{kDesk, 1}, {kLaptop, 2}}), b);
    VersionVector full = Versions({{kDesk, UINT32_MAX}});
    Bump(full, kDesk);  // stays at the top rather than wrapping to 0
    EXPECT_EQ(Versions({{kDesk, UINT32_MAX}}), full);
}

TEST(HybridClock, StampsRiseEvenWhenTheWallClockStandsOrGoesBack) {
    HybridClock clock(kDesk);
    const Stamp a = clock.Next(kNow);
    const Stamp b = clock.Next(kNow);              // same millisecond
    const Stamp c = clock.Next(kNow - 2 * kHour);  // clock set back
    const Stamp d = clock.Next(kNow + 1);
    EXPECT_TRUE(a < b && b < c && c < d);
    EXPECT_EQ(kNow, c.wallMs);
    EXPECT_EQ(2u, c.counter);
    EXPECT_EQ(0u, d.counter);
    EXPECT_EQ(kDesk, d.device);

    // A stamp seen from a PC five hours ahead: the next change here still
    // comes after it, though this PC's clock is right.
    clock.Observe(At(kNow + 5 * kHour, kLaptop, 7));
    const Stamp e = clock.Next(kNow + 2);
    EXPECT_TRUE(At(kNow + 5 * kHour, kLaptop, 7) < e);
    EXPECT_EQ(kDesk, e.device);
    EXPECT_EQ(8u, e.counter);
    clock.Observe(At(kNow, kOffice, 99));  // an older stamp changes nothing
    EXPECT_EQ(9u, clock.Next(kNow).counter);
}

// One merge per row: what this PC has, what the other PC's file says, and
// what must be in the note afterwards.
TEST(Merge, TextAndTitleByVersions) {
    const SyncNote base = Note(1, L"milk", At(kNow - kDay, kDesk), Versions({{kDesk, 1}}));
    SyncNote edited = base;
    edited.content.text = L"milk, eggs";
    edited.content.stamp = At(kNow - 3 * kHour, kLaptop);
    edited.content.versions = Versions({{kDesk, 1}, {kLaptop, 1}});
    // Made knowing `base`, so it wins even with the older stamp of a slow clock.
    SyncNote slowClock = edited;
    slowClock.content.text = L"milk, bread";
    slowClock.content.stamp = At(kNow - 20 * kDay, kOffice);
    slowClock.content.versions = Versions({{kDesk, 1}, {kOffice, 1}});

    const struct {
        const char* name;
        SyncNote mine, theirs;
        std::wstring text;
        size_t conflicts;
    } rows[] = {
        {"their newer version", base, edited, L"milk, eggs", 0},
        {"my newer version", edited, base, L"milk, eggs", 0},
        {"same version twice", edited, edited, L"milk, eggs", 0},
        {"newer version with an older clock", base, slowClock, L"milk, bread", 0},
        {"apart: the later stamp stays", edited, slowClock, L"milk, eggs", 1},
        {"apart, other way round", slowClock, edited, L"milk, eggs", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const MergeResult r = Merge({row.mine}, {row.theirs}, Options());
        const SyncNote* note = Find(r, base.id);
        ASSERT_NE(nullptr, note);
        EXPECT_EQ(row.text, note->content.text);
        EXPECT_EQ(row.conflicts, r.conflicts);
        EXPECT_EQ(1 + row.conflicts, r.notes.size());
        EXPECT_EQ(Order::Same, Compare(note->content.versions, Join(row.mine.content.versions,
                                                                    row.theirs.content.versions)));
    }
}

TEST(Merge, ConcurrentEditsKeepBothTextsTheSameWayOnEveryPc) {
    const SyncNote base = Note(2, L"call Ana", At(kNow - kDay, kDesk), Versions({{kDesk, 1}}));
    SyncNote desk = base;
    desk.content.text = L"call Ana at 5";
    desk.content.title = L"Calls";
    desk.content.stamp = At(kNow - 2 * kHour, kDesk);
    desk.content.versions = Versions({{kDesk, 2}});
    SyncNote laptop = base;
    laptop.content.text = L"call Ana and Bo";
    laptop.content.stamp = At(kNow - 1 * kHour, kLaptop);
    laptop.content.versions = Versions({{kDesk, 1}, {kLaptop, 1}});
    laptop.rect = {5, 5, 205, 105};

    const MergeResult onDesk = Merge({desk}, {laptop}, Options());
    const MergeResult onLaptop = Merge({laptop}, {desk}, Options());
    ASSERT_EQ(2u, onDesk.notes.size());
    EXPECT_EQ(1u, onDesk.conflicts);
    EXPECT_EQ(L"call Ana and Bo", Find(onDesk, base.id)->content.text);  // later stamp
    const NoteId kept = ConflictNoteId(base.id, desk.content.stamp);
    const SyncNote* conflict = Find(onDesk, kept);
    ASSERT_NE(nullptr, conflict);
    EXPECT_EQ(L"call Ana at 5", conflict->content.text);
    EXPECT_EQ(L"Conflict: Calls", conflict->content.title);
    EXPECT_EQ(desk.rect, Find(onDesk, base.id)->rect);  // each PC keeps its place

    // The laptop makes the very same conflict note, so the next exchange adds
    // nothing and makes no further one.
    ASSERT_EQ(2u, onLaptop.notes.size());
    const SyncNote* other = Find(onLaptop, kept);
    ASSERT_NE(nullptr, other);
    EXPECT_EQ(conflict->content.text, other->content.text);
    EXPECT_EQ(conflict->content.title, other->content.title);
    const MergeResult again = Merge(onDesk.notes, onLaptop.notes, Options());
    EXPECT_EQ(0u, again.conflicts);
    EXPECT_TRUE(again.effects.empty());
    EXPECT_EQ(2u, again.notes.size());

    // The effects tell the notes list what to do: change one, add one.
    using Effects = std::multiset<std::pair<EffectKind, NoteId>>;
    Effects effects;
    for (const MergeEffect& e : onDesk.effects) effects.insert({e.kind, e.id});
    EXPECT_EQ(effects, (Effects{{EffectKind::Added, kept}, {EffectKind::Changed, base.id}}));
}

TEST(Merge, ConflictTitlesComeFromTitleOrFirstLine) {
    EXPECT_EQ(L"Conflict: Shopping", ConflictTitle(L"Conflict: ", L"Shopping", L"x"));
    EXPECT_EQ(L"Conflict: first line", ConflictTitle(L"Conflict: ", L"", L"\r\n  first line\r\nb"));
    EXPECT_EQ(L"Conflict: ", ConflictTitle(L"Conflict: ", L"", L" \r\n\t"));
    EXPECT_EQ(L"Conflict: Shopping", ConflictTitle(L"Conflict: ", L"Conflict: Shopping", L""));
    EXPECT_EQ(L"Conflict: " + std::wstring(60, L'w'),
              ConflictTitle(L"Conflict: ", L"", std::wstring(200, L'w')));
}

TEST(Merge, DeleteAgainstEdit) {
    const SyncNote base = Note(3, L"dentist", At(kNow - kDay, kDesk), Versions({{kDesk, 1}}));
    const SyncNote deleted = Tombstone(base, At(kNow - kHour, kLaptop));
    SyncNote edited = base;
    edited.content.text = L"dentist tuesday";
    edited.content.stamp = At(kNow - 2 * kHour, kOffice);
    edited.content.versions = Versions({{kDesk, 1}, {kOffice, 1}});
    SyncNote deletedAfterEdit = Tombstone(edited, At(kNow - kHour, kLaptop));

    const struct {
        const char* name;
        SyncNote mine, theirs;
        bool deleted;
        EffectKind effect;
        std::wstring binText;
    } rows[] = {
        {"a delete reaches a PC that has the note", base, deleted, true, EffectKind::Removed,
         L"dentist"},
        {"an edit the deleter had not seen brings the note back", deleted, edited, false,
         EffectKind::Added, L""},
        {"...and survives a delete arriving later", edited, deleted, false, EffectKind::Changed,
         L""},
        {"a delete made after seeing the edit wins", edited, deletedAfterEdit, true,
         EffectKind::Removed, L"dentist tuesday"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const MergeResult r = Merge({row.mine}, {row.theirs}, Options());
        ASSERT_EQ(1u, r.notes.size());
        EXPECT_EQ(row.deleted, r.notes[0].content.deleted);
        EXPECT_EQ(0u, r.conflicts);
        if (row.deleted) {
            EXPECT_EQ(L"", r.notes[0].content.text);
        } else {
            EXPECT_EQ(L"dentist tuesday", r.notes[0].content.text);
        }
        if (row.mine.content.text == edited.content.text && !row.deleted) {
            EXPECT_TRUE(r.effects.empty());  // the edited note stays as it is
            continue;
        }
        ASSERT_EQ(1u, r.effects.size());
        EXPECT_EQ(row.effect, r.effects[0].kind);
        EXPECT_EQ(row.binText, r.effects[0].removedText);
    }
}

TEST(Merge, ClockSkewOfHoursDecidesOnlyBetweenVersionsMadeApart) {
    // The laptop's clock runs 6 hours fast. It changes the priority first;
    // the desk, on time, changes it afterwards, having read the laptop's
    // change: the desk's stamp must still win.
    HybridClock desk(kDesk);
    HybridClock laptop(kLaptop);
    SyncNote note = Note(4, L"plan", desk.Next(kNow - kDay), Versions({{kDesk, 1}}));
    SyncNote onLaptop = note;
    onLaptop.attributes.priority = kPriorityVeryHigh;
    onLaptop.attributes.stamp = laptop.Next(kNow + 6 * kHour);
    MergeResult r = Merge({note}, {onLaptop}, Options());
    desk.Observe(r.newest);
    ASSERT_EQ(kPriorityVeryHigh, r.notes[0].attributes.priority);
    SyncNote onDesk = r.notes[0];
    onDesk.attributes.priority = kPriorityLow;
    onDesk.attributes.stamp = desk.Next(kNow + 60000);
    r = Merge({onLaptop}, {onDesk}, Options());
    EXPECT_EQ(kPriorityLow, r.notes[0].attributes.priority);
    EXPECT_EQ(1u, r.effects.size());

    // Without having seen it, a change on time loses the field group to the
    // fast clock (the newer stamp wins), but no text is ever lost that way:
    // texts made apart are both kept.
    SyncNote fast = note;
    fast.content.text = L"plan A";
    fast.content.stamp = At(kNow + 6 * kHour, kLaptop);
    fast.content.versions = Versions({{kDesk, 1}, {kLaptop, 1}});
    SyncNote onTime = note;
    onTime.content.text = L"plan B";
    onTime.content.stamp = At(kNow + 1000, kDesk);
    onTime.content.versions = Versions({{kDesk, 2}});
    r = Merge({onTime}, {fast}, Options());
    ASSERT_EQ(2u, r.notes.size());
    EXPECT_EQ(L"plan A", Find(r, note.id)->content.text);
    EXPECT_EQ(L"plan B", Find(r, ConflictNoteId(note.id, onTime.content.stamp))->content.text);
}

TEST(Merge, DuplicatesAndRepeatsChangeNothing) {
    const SyncNote a = Note(5, L"one", At(kNow - kDay, kDesk), Versions({{kDesk, 1}}));
    const SyncNote b = Note(6, L"two", At(kNow - kDay, kLaptop), Versions({{kLaptop, 1}}));
    SyncNote bLater = b;
    bLater.content.text = L"two!";
    bLater.content.stamp = At(kNow - kHour, kLaptop);
    bLater.content.versions = Versions({{kLaptop, 2}});

    // The same file twice, a file listing a note twice, and a conflicted
    // copy holding an older version of the same PC's state.
    const MergeResult first = Merge({a}, {b, bLater, b}, Options());
    ASSERT_EQ(2u, first.notes.size());
    EXPECT_EQ(L"two!", Find(first, b.id)->content.text);
    EXPECT_EQ(0u, first.conflicts);
    const MergeResult second = Merge(first.notes, {bLater, b}, Options());
    EXPECT_TRUE(second.effects.empty());
    EXPECT_EQ(first.notes.size(), second.notes.size());
    // This PC's own list with a note twice (a damaged file) comes out once.
    const MergeResult folded = Merge({a, a, b}, {}, Options());
    EXPECT_EQ(2u, folded.notes.size());
    EXPECT_TRUE(folded.effects.empty());
}

TEST(Merge, TombstonesExpireAfterNinetyDays) {
    const SyncNote live = Note(7, L"old", At(kNow - 200 * kDay, kDesk), Versions({{kDesk, 1}}));
    const SyncNote fresh = Tombstone(live, At(kNow - 89 * kDay, kLaptop));
    const SyncNote old = Tombstone(live, At(kNow - 91 * kDay, kLaptop));
    const SyncNote edge = Tombstone(live, At(kNow - kTombstoneLifetimeMs, kLaptop));

    // An 89-day tombstone still deletes; a 91-day one is dropped, so a PC
    // that was off for longer brings its note back rather than losing it.
    EXPECT_EQ(EffectKind::Removed, Merge({live}, {fresh}, Options()).effects.at(0).kind);
    const MergeResult late = Merge({live}, {old}, Options());
    EXPECT_TRUE(late.effects.empty());
    EXPECT_FALSE(late.notes.at(0).content.deleted);
    EXPECT_EQ(1u, Merge({}, {edge}, Options()).notes.size());  // exactly 90 days: kept
    EXPECT_EQ(0u, Merge({}, {edge}, Options(kNow + 1)).notes.size());
    // This PC's own tombstones go the same way, silently.
    const MergeResult own = Merge({old, fresh}, {}, Options());
    EXPECT_TRUE(own.effects.empty());
    ASSERT_EQ(1u, own.notes.size());
    EXPECT_TRUE(own.notes[0].content.deleted);
    EXPECT_TRUE(Merge({old}, {}, Options()).notes.empty());
}

TEST(Merge, AttributesByLaterStampWhateverTheText) {
    SyncNote mine = Note(8, L"x", At(kNow - kDay, kDesk), Versions({{kDesk, 1}}));
    SyncNote theirs = mine;
    theirs.attributes.locked = true;
    theirs.attributes.hasAlarm = theirs.attributes.alarmEnabled = true;
    theirs.attributes.alarmTime.wYear = 2027;
    theirs.attributes.hasCustomFont = true;
    theirs.attributes.font.lfHeight = -19;
    theirs.attributes.font.lfFaceName[0] = L'T';
    theirs.attributes.stamp = At(kNow - kHour, kLaptop);
    theirs.hidden = true;
    theirs.alwaysOnTop = true;
    theirs.rect = {900, -40, 1100, 90};
    // My text is newer; their attributes are.
    mine.content.text = L"x y";
    mine.content.stamp = At(kNow - 2 * kHour, kDesk);
    mine.content.versions = Versions({{kDesk, 2}});

    const MergeResult r = Merge({mine}, {theirs}, Options());
    ASSERT_EQ(1u, r.notes.size());
    const SyncNote& n = r.notes[0];
    EXPECT_EQ(L"x y", n.content.text);
    EXPECT_TRUE(n.attributes.locked);
    EXPECT_EQ(2027, n.attributes.alarmTime.wYear);
    EXPECT_EQ(-19, n.attributes.font.lfHeight);
    // Place, hidden and on top stay this PC's.
    EXPECT_FALSE(n.hidden);
    EXPECT_FALSE(n.alwaysOnTop);
    EXPECT_EQ(mine.rect, n.rect);
    ASSERT_EQ(1u, r.effects.size());
    EXPECT_EQ(EffectKind::Changed, r.effects[0].kind);
    // A note new to this PC comes with the other PC's place and state.
    const MergeResult fresh = Merge({}, {theirs}, Options());
    EXPECT_EQ(theirs.rect, fresh.notes.at(0).rect);
    EXPECT_EQ(EffectKind::Added, fresh.effects.at(0).kind);
}

// Place, size, hidden and on top as a group of their own: the later stamp
// wins them as one, whatever the text and attributes do, and the same answer
// comes out whichever PC merges, however often.
TEST(Merge, PlacementByLaterStampAsAGroupOfItsOwn) {
    SyncNote base = Note(9, L"p", At(kNow - kDay, kDesk), Versions({{kDesk, 1}}));
    base.rect = {10, 20, 210, 170};
    const Placement none;
    const Placement left{{-1280, 5, -1000, 305}, false, true, At(kNow - kHour, kLaptop)};
    const Placement right{{1900, -30, 2100, 90}, true, false, At(kNow - kHour + 1, kDesk)};
    const Placement rightSameStamp{{1901, -30, 2100, 90}, true, false, left.stamp};
    const Placement leftAgain{left.rect, left.hidden, left.alwaysOnTop, At(kNow, kOffice)};
    const struct {
        const char* row;
        Placement mine, theirs, after;
        bool placed;  // a Changed effect that says the placement moved
    } rows[] = {
        {"sent by them only", none, left, left, true},
        {"mine later", right, left, right, false},
        {"theirs later", left, right, right, true},
        {"same stamp, values decide", left, rightSameStamp, rightSameStamp, true},
        {"same stamp the other way", rightSameStamp, left, rightSameStamp, false},
        {"later stamp, same values: nothing to move", left, leftAgain, leftAgain, false},
        {"none on either side", none, none, none, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.row);
        SyncNote mine = base, theirs = base;
        mine.placement = r.mine;
        theirs.placement = r.theirs;
        theirs.rect = {500, 500, 600, 600};  // the other PC's own place never comes
        const MergeResult m = Merge({mine}, {theirs}, Options());
        ASSERT_EQ(1u, m.notes.size());
        EXPECT_TRUE(SameValues(r.after, m.notes[0].placement));
        EXPECT_EQ(r.after.stamp, m.notes[0].placement.stamp);
        EXPECT_EQ(base.rect, m.notes[0].rect);
        EXPECT_EQ(r.placed ? 1u : 0u, m.effects.size());
        if (!m.effects.empty()) {
            EXPECT_EQ(EffectKind::Changed, m.effects[0].kind);
            EXPECT_TRUE(m.effects[0].placed);
        }
        // Commutative and idempotent.
        const MergeResult back = Merge({theirs}, {mine}, Options());
        EXPECT_TRUE(SameValues(m.notes[0].placement, back.notes[0].placement));
        EXPECT_EQ(m.notes[0].placement.stamp, back.notes[0].placement.stamp);
        EXPECT_TRUE(Merge(m.notes, {theirs}, Options()).effects.empty());
        EXPECT_TRUE(Merge(m.notes, m.notes, Options()).effects.empty());
    }
    // Associative over three PCs' placements.
    auto with = [&](const Placement& p) {
        SyncNote n = base;
        n.placement = p;
        return n;
    };
    const MergeResult ab = Merge({with(left)}, {with(right)}, Options());
    const MergeResult abc = Merge(ab.notes, {with(rightSameStamp)}, Options());
    const MergeResult bc = Merge({with(right)}, {with(rightSameStamp)}, Options());
    const MergeResult aBc = Merge({with(left)}, bc.notes, Options());
    EXPECT_TRUE(SameValues(abc.notes[0].placement, aBc.notes[0].placement));
    EXPECT_EQ(abc.notes[0].placement.stamp, aBc.notes[0].placement.stamp);
    // A text change and a placement change in one merge: one effect saying both.
    SyncNote theirs = with(left);
    theirs.content.text = L"p q";
    theirs.content.stamp = At(kNow - kHour, kLaptop);
    theirs.content.versions = Versions({{kDesk, 1}, {kLaptop, 1}});
    const MergeResult both = Merge({base}, {theirs}, Options());
    ASSERT_EQ(1u, both.effects.size());
    EXPECT_TRUE(both.effects[0].placed);
    EXPECT_EQ(L"p q", both.notes[0].content.text);
}

}  // namespace
