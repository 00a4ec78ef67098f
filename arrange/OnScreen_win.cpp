#include "arrange/OnScreen_win.h"

#include "arrange/Snapping_win.h"

namespace Arrange {

namespace {

class SystemMonitorSource : public MonitorSource {
public:
    std::vector<Monitor> Monitors() const override { return EnumerateMonitors(); }
};

}  // namespace

const MonitorSource& SystemMonitors() {
    static const SystemMonitorSource source;
    return source;
}

}  // namespace Arrange
