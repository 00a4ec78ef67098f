#pragma once
// The stamps of one PC: wall time plus a counter. A stamp is always later than
// every stamp this PC made or saw before, so a change made after reading
// another PC's change wins over it even when that PC's clock runs hours ahead.

#include <cstdint>

#include "sync/SyncTypes.h"

namespace Sync {

class HybridClock {
public:
    explicit HybridClock(uint64_t device = 0) : device_(device) { last_.device = device; }

    // A new stamp for a change made now (wall time in ms since 1970, UTC).
    Stamp Next(int64_t wallMs);
    // Takes in a stamp read from elsewhere, so that later stamps come after it.
    void Observe(const Stamp& seen);

    const Stamp& Last() const { return last_; }
    // Continues from a stamp kept in a file; the device stays this PC's.
    void Restore(const Stamp& last);
    uint64_t Device() const { return device_; }

private:
    uint64_t device_;
    Stamp last_;
};

}  // namespace Sync
