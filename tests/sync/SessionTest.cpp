#include "sync/SyncSession.h"

#include <gtest/gtest.h>

#include <random>

#include "SyncTestData.h"

namespace {

using namespace Sync;
using namespace SyncTest;

std::function<uint64_t()> Random(uint64_t seed) {
    auto engine = std::make_shared<std::mt19937_64>(seed);
    return [engine] { return (*engine)(); };
}

LocalNote Local(uint64_t key, const std::wstring& text, uint16_t day, uint16_t minute = 30) {
    LocalNote n;
    n.key = key;
    n.data.text = text;
    n.data.created = At(2026, 12, day, 8, minute, 59);  // Notes.dat does not keep the seconds
    n.data.rect = {100 + static_cast<int32_t>(key), -60, 330, 10};
    return n;
}

NoteId IdOf(const SyncSession& s, uint64_t key) {
    NoteId id;
    EXPECT_TRUE(s.IdOf(key, id)) << key;
    return id;
}

const SyncNote* Find(const SyncSession& s, const NoteId& id) {
    for (const SyncNote& n : s.Notes()) {
        if (n.id == id) return &n;
    }
    return nullptr;
}

TEST(SyncSession, SavesStampOnlyWhatChangedAndDeletesLeaveTombstones) {
    SyncSession s(Random(1));
    std::vector<LocalNote> list = {Local(11, L"a", 1), Local(12, L"b", 2), Local(13, L"c", 3)};
    s.Start(list, "", kNow);
    ASSERT_NE(0u, s.Device());
    const NoteId a = IdOf(s, 11);
    const NoteId b = IdOf(s, 12);
    const NoteId c = IdOf(s, 13);
    EXPECT_TRUE(a != b && b != c && a != c);
    const Stamp aText = Find(s, a)->content.stamp;

    // Same notes again (a move only): nothing for other PCs.
    list[0].data.rect.left += 40;
    list[0].data.hidden = true;
    EXPECT_FALSE(s.Saved(list, kNow + 5));
    EXPECT_EQ(list[0].data.rect, Find(s, a)->rect);
    EXPECT_EQ(aText, Find(s, a)->content.stamp);

    // A text edit stamps the text group only; a lock the other group only.
    list[1].data.text = L"b2";
    list[2].data.locked = true;
    EXPECT_TRUE(s.Saved(list, kNow + 10));
    EXPECT_EQ(Versions({{s.Device(), 2}}), Find(s, b)->content.versions);
    EXPECT_EQ(kNow + 10, Find(s, b)->content.stamp.wallMs);
    EXPECT_EQ(Versions({{s.Device(), 1}}), Find(s, c)->content.versions);
    EXPECT_TRUE(Find(s, c)->attributes.locked);
    EXPECT_EQ(kNow + 10, Find(s, c)->attributes.stamp.wallMs);
    NoteId unused;

    // A new note left blank so far is no one else's business yet.
    list.push_back(Local(14, L" \r\n", 4));
    EXPECT_FALSE(s.Saved(list, kNow + 15));
    EXPECT_FALSE(s.IdOf(14, unused));
    list.back().data.text = L" \r\nd";
    EXPECT_TRUE(s.Saved(list, kNow + 16));
    EXPECT_TRUE(s.IdOf(14, unused));
    list.pop_back();

    // A note gone from the list is a delete: a tombstone with no text.
    list.erase(list.begin() + 1);
    EXPECT_TRUE(s.Saved(list, kNow + 20));
    ASSERT_NE(nullptr, Find(s, b));
    EXPECT_TRUE(Find(s, b)->content.deleted);
    EXPECT_EQ(L"", Find(s, b)->content.text);
    EXPECT_FALSE(s.IdOf(12, unused));
    // ...which goes 90 days later.
    EXPECT_TRUE(s.Saved(list, kNow + 91 * kDay));
    EXPECT_EQ(nullptr, Find(s, b));
    EXPECT_EQ(2u, s.Notes().size());
}

TEST(SyncSession, TheFileBesideTheNotesGivesTheSameIdsAtTheNextStart) {
    SyncSession first(Random(2));
    std::vector<LocalNote> list = {Local(1, L"x", 1), Local(2, L"y", 2), Local(3, L"x", 1)};
    first.Start(list, "", kNow);
    list.erase(list.begin() + 1);
    first.Saved(list, kNow + 1);
    const std::string sidecar = first.StateBytes();

    // Same notes in the same order (new keys: a new run): ids by position,
    // nothing changed, the clock goes on from where it was.
    SyncSession next(Random(3));
    std::vector<LocalNote> again = {Local(101, L"x", 1), Local(102, L"x", 1)};
    next.Start(again, sidecar, kNow - kDay);  // the clock was set back meanwhile
    EXPECT_EQ(first.Device(), next.Device());
    EXPECT_EQ(IdOf(first, 1), IdOf(next, 101));
    EXPECT_EQ(IdOf(first, 3), IdOf(next, 102));
    EXPECT_EQ(3u, next.Notes().size());  // the tombstone came along
    EXPECT_FALSE(first.Clock() < next.Clock() || next.Clock() < first.Clock());
    EXPECT_FALSE(next.Saved(again, kNow - kDay));
}

// Notes.dat written by a program that knows nothing of sync: a note added
// at the front, one removed, one edited. Ids follow text and creation time.
TEST(SyncSession, CountsThatDifferAreMatchedAgainByTextAndCreationTime) {
    SyncSession first(Random(4));
    std::vector<LocalNote> list = {Local(1, L"keep", 1), Local(2, L"edit me", 2),
                                   Local(3, L"removed", 3), Local(4, L"twin", 4, 10),
                                   Local(5, L"twin", 4, 10)};
    first.Start(list, "", kNow);
    const std::string sidecar = first.StateBytes();

    std::vector<LocalNote> other = {Local(50, L"new", 9), Local(51, L"twin", 4, 10),
                                    Local(52, L"keep", 1), Local(53, L"edited", 2),
                                    Local(54, L"twin", 4, 10)};
    SyncSession next(Random(5));
    next.Start(other, sidecar, kNow + kHour);
    EXPECT_EQ(IdOf(first, 1), IdOf(next, 52));
    // The only unmatched note of that creation minute keeps its id; its
    // new text is this PC's change.
    EXPECT_EQ(IdOf(first, 2), IdOf(next, 53));
    const SyncNote* edited = Find(next, IdOf(next, 53));
    EXPECT_EQ(L"edited", edited->content.text);
    EXPECT_EQ(kNow + kHour, edited->content.stamp.wallMs);
    // Twins of the same text and minute each take one of the two ids.
    const NoteId t1 = IdOf(next, 51);
    const NoteId t2 = IdOf(next, 54);
    EXPECT_TRUE((t1 == IdOf(first, 4) && t2 == IdOf(first, 5)) ||
                (t1 == IdOf(first, 5) && t2 == IdOf(first, 4)));
    // A new note gets a new id; the one that matched nothing is forgotten,
    // not deleted: another PC that has it brings it back.
    const NoteId fresh = IdOf(next, 50);
    for (uint64_t key : {1, 2, 3, 4, 5}) EXPECT_NE(IdOf(first, key), fresh);
    EXPECT_EQ(nullptr, Find(next, IdOf(first, 3)));
    EXPECT_EQ(5u, next.Notes().size());

    // A damaged file beside the notes counts as none: new ids, a new device.
    SyncSession damaged(Random(6));
    std::string cut = sidecar;
    cut.resize(cut.size() - 1);
    damaged.Start(other, cut, kNow);
    EXPECT_NE(first.Device(), damaged.Device());
    EXPECT_EQ(5u, damaged.Notes().size());
}

// A backup restored replaces the list: notes found in it keep their ids, the
// ones it lacks are deleted on every PC, its own are new.
TEST(SyncSession, AReplacedListKeepsTheIdsOfTheNotesItStillHas) {
    SyncSession s(Random(9));
    std::vector<LocalNote> list = {Local(1, L"a", 1), Local(2, L"b", 2), Local(3, L"c", 3)};
    s.Start(list, "", kNow);
    const NoteId a = IdOf(s, 1), b = IdOf(s, 2), c = IdOf(s, 3);
    std::vector<LocalNote> backup = {Local(20, L"d", 9), Local(21, L"c, older", 3),
                                     Local(22, L"a", 1)};
    EXPECT_TRUE(s.Replaced(backup, kNow + kHour));
    EXPECT_EQ(a, IdOf(s, 22));
    EXPECT_EQ(c, IdOf(s, 21));
    EXPECT_EQ(L"c, older", Find(s, c)->content.text);
    EXPECT_EQ(kNow + kHour, Find(s, c)->content.stamp.wallMs);
    EXPECT_TRUE(Find(s, b)->content.deleted);
    const NoteId d = IdOf(s, 20);
    EXPECT_TRUE(d != a && d != b && d != c);
    EXPECT_EQ(kNow, Find(s, a)->content.stamp.wallMs);  // unchanged, not stamped again
    EXPECT_FALSE(s.Saved(backup, kNow + 2 * kHour));
}

TEST(SyncSession, MergeTellsTheListWhatToChange) {
    SyncSession desk(Random(7));
    SyncSession laptop(Random(8));
    std::vector<LocalNote> deskList = {Local(1, L"shared", 1), Local(2, L"to delete", 2)};
    desk.Start(deskList, "", kNow);
    laptop.Start({}, "", kNow);
    DeviceState deskFile;
    ASSERT_EQ(ParseState::Whole, ParseDevice(desk.StateBytes(), deskFile));

    ListChanges c = laptop.MergeFrom(deskFile, MergeOptions{kNow, L"C: "});
    ASSERT_EQ(2u, c.added.size());
    EXPECT_TRUE(c.changed.empty() && c.removed.empty());
    std::vector<LocalNote> laptopList;
    uint64_t key = 100;
    for (const auto& added : c.added) {
        laptop.Bind(added.id, ++key);
        laptopList.push_back({key, added.data});
    }
    EXPECT_FALSE(laptop.Saved(laptopList, kNow + 1));  // taking them in is no change

    // The desk deletes one and edits the other; the laptop is told.
    deskList.erase(deskList.begin() + 1);
    deskList[0].data.text = L"shared, edited";
    deskList[0].data.priority = kPriorityHigh;
    desk.Saved(deskList, kNow + 60000);
    ASSERT_EQ(ParseState::Whole, ParseDevice(desk.StateBytes(), deskFile));
    c = laptop.MergeFrom(deskFile, MergeOptions{kNow, L"C: "});
    ASSERT_EQ(1u, c.changed.size());
    ASSERT_EQ(1u, c.removed.size());
    EXPECT_TRUE(c.added.empty());
    const uint64_t sharedKey =
        laptopList[0].data.text == L"shared" ? laptopList[0].key : laptopList[1].key;
    EXPECT_EQ(sharedKey, c.changed[0].key);
    EXPECT_EQ(L"shared, edited", c.changed[0].data.text);
    EXPECT_EQ(kPriorityHigh, c.changed[0].data.priority);
    EXPECT_EQ(L"to delete", c.removed[0].text);
    NoteId unused;
    EXPECT_FALSE(laptop.IdOf(c.removed[0].key, unused));
    // The laptop's clock has seen the desk's stamps.
    EXPECT_GE(laptop.Clock().wallMs, deskFile.clock.wallMs);
    EXPECT_EQ(laptop.Device(), laptop.Clock().device);
}

// Places go out and come in only while the option is on: a move made while
// off is not sent (but a placement other PCs sent is carried on), one made
// while on is; a placement that wins is handed to the list, and where the list
// put the note (on this PC's screen) is not sent back as a change.
TEST(SyncSession, PlacesTravelOnlyWhenAskedFor) {
    SyncSession desk(Random(3)), laptop(Random(4));
    std::vector<LocalNote> deskList = {Local(1, L"plan", 3)};
    desk.Start(deskList, "", kNow);
    laptop.Start({}, "", kNow);
    DeviceState deskState;
    ASSERT_EQ(ParseState::Whole, ParseDevice(desk.StateBytes(), deskState));
    ListChanges arrived = laptop.MergeFrom(deskState, MergeOptions{kNow, L"C: "});
    ASSERT_EQ(1u, arrived.added.size());
    EXPECT_FALSE(arrived.added[0].placed);
    laptop.Bind(arrived.added[0].id, 70);
    std::vector<LocalNote> laptopList = {{70, arrived.added[0].data}};
    laptopList[0].data.rect = {40, 40, 270, 110};
    laptop.Saved(laptopList, kNow + 1);

    // Off: a move is this PC's own.
    deskList[0].data.rect = {-900, 10, -670, 80};
    EXPECT_FALSE(desk.Saved(deskList, kNow + 2));
    EXPECT_FALSE(desk.Notes()[0].placement.Sent());

    // On: the next move is stamped and sent; the laptop, still off, carries it
    // without moving its note.
    desk.SetPlacementSync(true);
    EXPECT_FALSE(desk.Saved(deskList, kNow + 3)) << "turning it on sends nothing by itself";
    deskList[0].data.rect = {-800, 10, -570, 80};
    deskList[0].data.alwaysOnTop = true;
    EXPECT_TRUE(desk.Saved(deskList, kNow + 4));
    ASSERT_EQ(ParseState::Whole, ParseDevice(desk.StateBytes(), deskState));
    EXPECT_EQ(2, desk.StateBytes()[8]);
    ListChanges moved = laptop.MergeFrom(deskState, MergeOptions{kNow + 5, L"C: "});
    EXPECT_TRUE(moved.Empty());
    EXPECT_TRUE(laptop.Notes()[0].placement.Sent());
    laptop.Saved(laptopList, kNow + 6);
    EXPECT_EQ(2, laptop.StateBytes()[8]) << "carried on for the others";

    // The laptop turns it on: the next placement from the desk comes in, and
    // where the laptop shows it (its screen has no room left of 0) stays here.
    laptop.SetPlacementSync(true);
    deskList[0].data.rect = {-700, 10, -470, 80};
    desk.Saved(deskList, kNow + 7);
    ASSERT_EQ(ParseState::Whole, ParseDevice(desk.StateBytes(), deskState));
    moved = laptop.MergeFrom(deskState, MergeOptions{kNow + 8, L"C: "});
    ASSERT_EQ(1u, moved.changed.size());
    EXPECT_TRUE(moved.changed[0].placed);
    EXPECT_EQ((RectData{-700, 10, -470, 80}), moved.changed[0].data.rect);
    EXPECT_TRUE(moved.changed[0].data.alwaysOnTop);
    laptopList[0].data.rect = {0, 10, 230, 80};
    laptopList[0].data.alwaysOnTop = true;
    laptop.Shown(70, laptopList[0].data.rect, false, true);
    EXPECT_FALSE(laptop.Saved(laptopList, kNow + 9));
    // A move by the laptop's user goes back to the desk.
    laptopList[0].data.rect = {5, 10, 235, 80};
    EXPECT_TRUE(laptop.Saved(laptopList, kNow + 10));
    DeviceState laptopState;
    ASSERT_EQ(ParseState::Whole, ParseDevice(laptop.StateBytes(), laptopState));
    moved = desk.MergeFrom(laptopState, MergeOptions{kNow + 11, L"C: "});
    ASSERT_EQ(1u, moved.changed.size());
    EXPECT_EQ((RectData{5, 10, 235, 80}), moved.changed[0].data.rect);
}

}  // namespace
