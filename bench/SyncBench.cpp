// Merging the device files of three other PCs into a PC's 5,000 notes: reading
// each file, merging it, and writing this PC's file afterwards. Beside it, in
// the same run, the reference: writing and reading Notes.dat of the same notes,
// which every start and every save of the program does anyway.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "NotesBenchData.h"
#include "store/NotesFile.h"
#include "sync/SyncSession.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int64_t kNow = 1796644800000LL;

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Pc {
    explicit Pc(uint64_t seed) : session([e = std::mt19937_64(seed)]() mutable { return e(); }) {}
    Sync::SyncSession session;
    std::vector<Sync::LocalNote> list;
    uint64_t nextKey = 1;

    void Take(const std::string& bytes, int64_t now) {
        Sync::DeviceState other;
        Sync::ParseDevice(bytes, other);
        const Sync::ListChanges c = session.MergeFrom(other, {now, L"Conflict: "});
        for (const auto& a : c.added) {
            session.Bind(a.id, nextKey);
            list.push_back({nextKey++, a.data});
        }
        session.Saved(list, now);
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5000;
    const int runs = 7;
    const NotesFileData notes = Bench::MakeNotes(count);

    // The desk made every note; three other PCs took them in and then each
    // changed a tenth of them (some the same notes as another PC: conflicts),
    // deleted a fiftieth and made a hundred of their own.
    Pc desk(1);
    for (const NoteData& n : notes.notes) desk.list.push_back({desk.nextKey++, n});
    desk.session.Start(desk.list, "", kNow);
    const std::string deskFile = desk.session.StateBytes();
    std::vector<std::string> files;
    for (int p = 0; p < 3; ++p) {
        Pc other(100 + p);
        other.session.Start({}, "", kNow + 1000);
        other.Take(deskFile, kNow + 1000);
        std::mt19937 rng(7 + p);
        for (auto& n : other.list) {
            const unsigned dice = rng() % 100;
            if (dice < 10) n.data.text += L" (changed on PC " + std::to_wstring(p) + L")";
            if (dice == 10) n.data.priority = (n.data.priority + 1) % 5;
        }
        other.list.erase(std::remove_if(other.list.begin(), other.list.end(),
                                        [&](const Sync::LocalNote&) { return rng() % 50 == 0; }),
                         other.list.end());
        for (int i = 0; i < 100; ++i) {
            NoteData n = notes.notes[static_cast<size_t>(i % count)];
            n.text = L"new on PC " + std::to_wstring(p) + L": " + n.text;
            other.list.push_back({other.nextKey++, n});
        }
        other.session.Saved(other.list, kNow + 60000 + p);
        files.push_back(other.session.StateBytes());
    }

    std::vector<double> merge;
    size_t notesAfter = 0;
    size_t sink = 0;
    for (int r = 0; r < runs; ++r) {
        Pc pc = desk;  // a fresh copy each run, made outside the timing
        const auto start = Clock::now();
        for (const std::string& f : files) pc.Take(f, kNow + 120000);
        sink += pc.session.StateBytes().size();
        merge.push_back(Seconds(start));
        notesAfter = pc.list.size();
    }

    std::vector<double> reference;
    for (int r = 0; r < runs; ++r) {
        const auto start = Clock::now();
        const std::string bytes = SerializeNotes(notes);
        NotesFileData back;
        ParseNotes(bytes, back);
        sink += back.notes.size();
        reference.push_back(Seconds(start));
    }

    size_t fileBytes = 0;
    for (const auto& f : files) fileBytes += f.size();
    const double m = Median(merge);
    const double ref = Median(reference);
    std::printf("sync merge: %d notes, files of 3 PCs (%zu bytes in all), %zu notes after\n", count,
                fileBytes, notesAfter);
    std::printf("  read + merge 3 files + write own file: %8.1f ms (median of %d)\n", m * 1e3,
                runs);
    std::printf("  reference, write + read Notes.dat:      %8.1f ms (median of %d)\n", ref * 1e3,
                runs);
    std::printf("  ratio merge / reference:                %8.1f\n", m / ref);
    std::printf("  budget of 1 s: %s\n", m < 1.0 ? "met" : "MISSED");
    return sink == 0 || m >= 1.0 ? 1 : 0;
}
