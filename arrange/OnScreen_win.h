#pragma once
// Where the monitors are, behind an interface, so that a monitor change can be
// played to the program without changing the machine's displays.

#include <vector>

#include "arrange/Snapping.h"

namespace Arrange {

class MonitorSource {
public:
    virtual ~MonitorSource() = default;
    virtual std::vector<Monitor> Monitors() const = 0;
};

// The monitors as the system reports them now.
const MonitorSource& SystemMonitors();

}  // namespace Arrange
