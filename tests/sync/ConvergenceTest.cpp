// Three PCs edit, create and delete notes at random, with clocks hours apart,
// and exchange their device files through a simulated sync service that
// delivers late, out of order, twice, and sometimes in pieces first. Once all
// files have gone round, every PC must show the same notes, and every word
// ever typed must be in a note or in a recycle bin.
//
// Every edit appends a word never typed before to a note's text, so a word
// can only leave a note by a delete, which puts the note's text in the bin.
//
// Two of the PCs sync places, each keeping notes on a screen of its own size;
// the third does not. The places sent must end alike on all three (carried
// by the third), and each PC that syncs them shows every note there, as far
// as its screen allows.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "sync/SyncSession.h"
#include "SyncTestData.h"

namespace {

using namespace Sync;
using namespace SyncTest;

struct Pc {
    Pc(uint64_t seed, int64_t skew)
        : session([e = std::mt19937_64(seed)]() mutable { return e(); }), skewMs(skew) {}
    SyncSession session;
    std::vector<LocalNote> list;
    std::vector<std::wstring> bin;
    uint64_t nextKey = 1;
    int64_t skewMs;
    int32_t screenRight = 1 << 20;  // notes are kept left of it
};

// A note moved onto the PC's screen as loading does: its left edge no further
// right than the screen allows.
RectData OnScreen(const Pc& pc, RectData r) {
    const int32_t width = r.right - r.left;
    if (r.left > pc.screenRight - width) {
        r.left = pc.screenRight - width;
        r.right = pc.screenRight;
    }
    return r;
}

struct Delivery {
    size_t to;
    std::string bytes;
    int at;
};

class World {
public:
    explicit World(uint32_t seed) : rng(seed) {
        const int64_t skews[] = {0, 3 * kHour, -2 * kHour - 17};
        for (int i = 0; i < 3; ++i) {
            pcs.push_back(std::make_unique<Pc>(seed * 7919ULL + i, skews[i]));
            pcs.back()->session.Start({}, "", Now(*pcs.back()));
        }
        pcs[0]->session.SetPlacementSync(true);
        pcs[1]->session.SetPlacementSync(true);
        pcs[1]->screenRight = 1000;
    }

    int64_t Now(const Pc& pc) const { return kNow + tick * 1000LL + pc.skewMs; }

    std::wstring NewWord() { return L"w" + std::to_wstring(++words) + L" "; }

    void Act(Pc& pc) {
        std::uniform_int_distribution<int> pick(0, 9);
        const int what = pick(rng);
        if (what < 3 || pc.list.empty()) {
            LocalNote n;
            n.key = pc.nextKey++;
            n.data.text = NewWord();
            n.data.created.wYear = 2026;
            n.data.created.wMinute = static_cast<uint16_t>(tick % 60);
            typed.insert(n.data.text);
            pc.list.push_back(std::move(n));
        } else {
            LocalNote& n =
                pc.list[std::uniform_int_distribution<size_t>(0, pc.list.size() - 1)(rng)];
            if (what < 8) {
                const std::wstring word = NewWord();
                typed.insert(word);
                n.data.text += word;
                if (what == 7) n.data.title = L"t" + std::to_wstring(words);
            } else if (what == 8 && tick % 2) {
                n.data.priority = static_cast<int>(tick % 5);
                n.data.locked = !n.data.locked;
            } else if (what == 8) {
                const int32_t x = static_cast<int32_t>(tick * 37 % 1900) - 300;
                n.data.rect = OnScreen(pc, {x, -20 + tick % 7, x + 150 + tick % 3, 120});
                n.data.hidden = tick % 3 == 0;
                n.data.alwaysOnTop = tick % 4 == 0;
            } else {
                pc.bin.push_back(n.data.text);
                pc.list.erase(pc.list.begin() + (&n - pc.list.data()));
            }
        }
        pc.session.Saved(pc.list, Now(pc));
    }

    void Publish(size_t from) {
        const std::string bytes = pcs[from]->session.StateBytes();
        std::uniform_int_distribution<int> delay(0, 25);
        std::uniform_int_distribution<int> dice(0, 9);
        for (size_t to = 0; to < pcs.size(); ++to) {
            if (to == from && dice(rng) != 0) continue;  // sometimes a copy of its own file
            const int at = tick + delay(rng);
            if (dice(rng) < 2) {
                // The first pieces of the file arrive before the rest.
                const size_t cut = std::uniform_int_distribution<size_t>(0, bytes.size() - 1)(rng);
                pending.push_back({to, bytes.substr(0, cut), at});
            }
            pending.push_back({to, bytes, at + 1});
            if (dice(rng) == 0) pending.push_back({to, bytes, at + delay(rng)});  // twice
        }
    }

    void Receive(Pc& pc, const std::string& bytes) {
        DeviceState other;
        const ParseState state = ParseDevice(bytes, other);
        if (state != ParseState::Whole) {
            ASSERT_EQ(ParseState::Incomplete, state);
            return;
        }
        const ListChanges changes = pc.session.MergeFrom(other, MergeOptions{Now(pc), L"C: "});
        for (const auto& c : changes.changed) {
            auto at = std::find_if(pc.list.begin(), pc.list.end(),
                                   [&](const LocalNote& n) { return n.key == c.key; });
            ASSERT_NE(pc.list.end(), at);
            const NoteData before = at->data;
            at->data = c.data;
            if (c.placed) {
                at->data.rect = OnScreen(pc, c.data.rect);
                pc.session.Shown(c.key, at->data.rect, at->data.hidden, at->data.alwaysOnTop);
            } else {
                at->data.rect = before.rect;
                at->data.hidden = before.hidden;
                at->data.alwaysOnTop = before.alwaysOnTop;
            }
        }
        for (const auto& r : changes.removed) {
            auto at = std::find_if(pc.list.begin(), pc.list.end(),
                                   [&](const LocalNote& n) { return n.key == r.key; });
            ASSERT_NE(pc.list.end(), at);
            EXPECT_EQ(at->data.text, r.text);
            pc.bin.push_back(at->data.text);
            pc.list.erase(at);
        }
        for (const auto& a : changes.added) {
            pc.session.Bind(a.id, pc.nextKey);
            pc.list.push_back({pc.nextKey, a.data});
            pc.list.back().data.rect = OnScreen(pc, a.data.rect);
            if (a.placed) {
                const NoteData& d = pc.list.back().data;
                pc.session.Shown(pc.nextKey, d.rect, d.hidden, d.alwaysOnTop);
            }
            ++pc.nextKey;
        }
        pc.session.Saved(pc.list, Now(pc));
    }

    void Run(int ticks) {
        std::uniform_int_distribution<int> dice(0, 9);
        for (tick = 0; tick < ticks; ++tick) {
            for (size_t i = 0; i < pcs.size(); ++i) {
                if (dice(rng) < 3) Act(*pcs[i]);
                if (dice(rng) < 2) Publish(i);
            }
            std::shuffle(pending.begin(), pending.end(), rng);
            std::vector<Delivery> later;
            for (Delivery& d : pending) {
                if (d.at <= tick) {
                    Receive(*pcs[d.to], d.bytes);
                } else {
                    later.push_back(std::move(d));
                }
            }
            pending.swap(later);
        }
        // Everything still on its way arrives, then the PCs go on exchanging
        // until nothing changes any more.
        for (Delivery& d : pending) Receive(*pcs[d.to], d.bytes);
        pending.clear();
        for (int round = 0; round < 6; ++round) {
            ++tick;
            for (size_t from = 0; from < pcs.size(); ++from) {
                const std::string bytes = pcs[from]->session.StateBytes();
                for (size_t to = 0; to < pcs.size(); ++to) {
                    if (to != from) Receive(*pcs[to], bytes);
                }
            }
        }
    }

    // Id -> (text, title, priority, locked) of the notes a PC shows.
    std::map<NoteId, std::tuple<std::wstring, std::wstring, int, bool>> Shown(const Pc& pc) {
        std::map<NoteId, std::tuple<std::wstring, std::wstring, int, bool>> out;
        for (const LocalNote& n : pc.list) {
            NoteId id;
            EXPECT_TRUE(pc.session.IdOf(n.key, id));
            out[id] = {n.data.text, n.data.title, n.data.priority, n.data.locked};
        }
        return out;
    }

    std::mt19937 rng;
    std::vector<std::unique_ptr<Pc>> pcs;
    std::vector<Delivery> pending;
    std::set<std::wstring> typed;
    int tick = 0;
    int words = 0;
};

TEST(SyncConvergence, ThreePcsEndAlikeAndNoWordIsLost) {
    size_t conflictNotes = 0;
    size_t notesAtEnd = 0;
    size_t placedNotes = 0;
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(seed);
        World world(seed);
        world.Run(120);
        const auto shown = world.Shown(*world.pcs[0]);
        EXPECT_EQ(shown, world.Shown(*world.pcs[1]));
        EXPECT_EQ(shown, world.Shown(*world.pcs[2]));
        // The places sent: alike on all three, and where the PCs that take
        // them show their notes, on their own screens.
        const auto sentBy = [](const Pc& pc) {
            std::map<NoteId, std::tuple<RectData, bool, bool>> sent;
            for (const SyncNote& n : pc.session.Notes()) {
                if (n.placement.Sent() && !n.content.deleted)
                    sent[n.id] = {n.placement.rect, n.placement.hidden, n.placement.alwaysOnTop};
            }
            return sent;
        };
        const auto sent = sentBy(*world.pcs[0]);
        for (const auto& pc : world.pcs) EXPECT_EQ(sent, sentBy(*pc));
        for (size_t i : {0u, 1u}) {
            const Pc& pc = *world.pcs[i];
            for (const LocalNote& n : pc.list) {
                NoteId id;
                ASSERT_TRUE(pc.session.IdOf(n.key, id));
                auto at = sent.find(id);
                if (at == sent.end()) continue;
                ++placedNotes;
                EXPECT_EQ(OnScreen(pc, std::get<0>(at->second)), n.data.rect) << "PC " << i;
                EXPECT_EQ(std::get<1>(at->second), n.data.hidden) << "PC " << i;
                EXPECT_EQ(std::get<2>(at->second), n.data.alwaysOnTop) << "PC " << i;
            }
        }

        std::wstring everything;
        for (const auto& pc : world.pcs) {
            for (const LocalNote& n : pc->list) everything += n.data.text + L"|";
            for (const std::wstring& t : pc->bin) everything += t + L"|";
        }
        for (const std::wstring& word : world.typed) {
            EXPECT_NE(std::wstring::npos, everything.find(word)) << "lost: " << word.size();
        }
        for (const auto& [id, fields] : shown) {
            conflictNotes += std::get<1>(fields).rfind(L"C: ", 0) == 0;
        }
        notesAtEnd += shown.size();
    }
    // The runs must have met the cases they are about.
    EXPECT_GT(conflictNotes, 3u) << conflictNotes;
    EXPECT_GT(notesAtEnd, 60u) << notesAtEnd;
    EXPECT_GT(placedNotes, 20u) << placedNotes;
}

}  // namespace
