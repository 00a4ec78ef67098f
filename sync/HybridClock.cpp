#include "sync/HybridClock.h"

#include <limits>

namespace Sync {

Stamp HybridClock::Next(int64_t wallMs) {
    if (wallMs > last_.wallMs) {
        last_.wallMs = wallMs;
        last_.counter = 0;
    } else if (last_.counter == std::numeric_limits<uint32_t>::max()) {
        // Four billion changes within one millisecond of a clock held back:
        // the millisecond moves on rather than the counter wrapping.
        ++last_.wallMs;
        last_.counter = 0;
    } else {
        ++last_.counter;
    }
    last_.device = device_;
    return last_;
}

void HybridClock::Observe(const Stamp& seen) {
    if (seen.wallMs > last_.wallMs ||
        (seen.wallMs == last_.wallMs && seen.counter > last_.counter)) {
        last_.wallMs = seen.wallMs;
        last_.counter = seen.counter;
    }
    last_.device = device_;
}

void HybridClock::Restore(const Stamp& last) {
    Observe(last);
}

}  // namespace Sync
