#pragma once
// Times a piece of work by running it until enough wall time has passed, so that
// short operations are measured over many runs and long ones over a few.

#include <chrono>
#include <cstdio>

namespace Bench {

struct Timing {
    double microsPerRun = 0;
    long runs = 0;
};

template <class Work>
Timing Measure(Work work, double minSeconds = 0.3, long minRuns = 3) {
    using Clock = std::chrono::steady_clock;
    work();  // warm caches and the allocator
    Timing t;
    const auto start = Clock::now();
    double elapsed = 0;
    while (t.runs < minRuns || elapsed < minSeconds) {
        work();
        ++t.runs;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    t.microsPerRun = elapsed * 1e6 / static_cast<double>(t.runs);
    return t;
}

inline void PrintRow(const char* what, int notes, size_t bytes, const Timing& t) {
    std::printf("%-28s notes=%-5d bytes=%-8zu %12.2f us/op  (%ld runs)\n", what, notes, bytes,
                t.microsPerRun, t.runs);
}

}  // namespace Bench
