// Size of Notes.dat and the cost of turning notes into bytes and back.

#include <cstdio>
#include <string>

#include "BenchTimer.h"
#include "NotesBenchData.h"
#include "store/NotesFile.h"

int main() {
    std::printf("Notes.dat in memory (~200 characters per note)\n");
    for (int count : {10, 100, 1000}) {
        const NotesFileData data = Bench::MakeNotes(count);
        const std::string bytes = SerializeNotes(data);
        size_t sink = 0;
        Bench::Timing write = Bench::Measure([&] { sink += SerializeNotes(data).size(); });
        Bench::Timing read = Bench::Measure([&] {
            NotesFileData back;
            ParseNotes(bytes, back);
            sink += back.notes.size();
        });
        Bench::PrintRow("serialise", count, bytes.size(), write);
        Bench::PrintRow("parse", count, bytes.size(), read);
        if (sink == 0) return 1;
    }
    return 0;
}
