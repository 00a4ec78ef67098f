#include "arrange/OnScreen.h"

#include <gtest/gtest.h>

#include <climits>

#include "RectPrinting.h"

namespace {

using Arrange::Monitor;

// The layouts a user meets: one monitor with a taskbar at the bottom; a second
// monitor left of the primary, smaller, so that the virtual screen's bounding
// rectangle holds a gap below it; the same with the left monitor removed.
const std::vector<Monitor> kSingle = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}}};
const std::vector<Monitor> kTwo = {{{0, 0, 1280, 1024}, {0, 0, 1280, 984}},
                                   {{-1024, 0, 0, 768}, {-1024, 0, 0, 768}}};
const std::vector<Monitor> kLeftRemoved = {kTwo[0]};

TEST(BringOntoMonitors, LostWindowsComeToTheNearestWorkAreaAndOthersStay) {
    const struct {
        const char* what;
        const std::vector<Monitor>* monitors;
        Rect in, out;
    } cases[] = {
        // clang-format off
        {"wholly on a monitor", &kTwo, {-700, 300, -500, 450}, {-700, 300, -500, 450}},
        {"across both monitors", &kTwo, {-100, 300, 100, 450}, {-100, 300, 100, 450}},
        {"enough of it on screen to be grabbed", &kSingle, {1904, 10, 2104, 110}, {1904, 10, 2104, 110}},
        {"under the taskbar is still on the monitor", &kSingle, {10, 1050, 210, 1150}, {10, 1050, 210, 1150}},
        {"a sliver is not enough", &kSingle, {1910, 10, 2110, 110}, {1720, 10, 1920, 110}},
        {"one pixel short of enough", &kSingle, {1905, 10, 2105, 110}, {1720, 10, 1920, 110}},
        {"just enough below the top", &kSingle, {100, -84, 300, 16}, {100, -84, 300, 16}},
        {"one pixel short below the top", &kSingle, {100, -85, 300, 15}, {100, 0, 300, 100}},
        {"an empty window on a monitor stays", &kSingle, {500, 300, 500, 300}, {500, 300, 500, 300}},
        {"an inverted window off screen comes in empty", &kSingle, {-300, 200, -500, 100}, {0, 200, 0, 200}},
        {"in the gap below the left monitor: up onto it", &kTwo, {-700, 850, -500, 1000}, {-700, 618, -500, 768}},
        {"the gap near the primary: across onto it", &kTwo, {-150, 900, -10, 1000}, {0, 884, 140, 984}},
        {"the left monitor removed", &kLeftRemoved, {-700, 300, -500, 450}, {0, 300, 200, 450}},
        {"far off in a corner", &kSingle, {5000, -4000, 5200, -3900}, {1720, 0, 1920, 100}},
        {"too tall for the work area: cut to it", &kLeftRemoved, {-900, 0, -600, 2000}, {0, 0, 300, 984}},
        {"a small window counts when whole", &kSingle, {1910, 10, 1920, 20}, {1910, 10, 1920, 20}},
        {"absurd coordinates of a damaged file", &kSingle, {INT32_MIN, INT32_MIN, INT32_MIN + 200, INT32_MIN + 100}, {0, 0, 200, 100}},
        {"no monitor known: left alone", nullptr, {-700, 850, -500, 1000}, {-700, 850, -500, 1000}},
        // clang-format on
    };
    const std::vector<Monitor> none;
    for (const auto& c : cases) {
        const std::vector<Monitor>& monitors = c.monitors ? *c.monitors : none;
        const Rect out = Arrange::BringOntoMonitors(c.in, monitors);
        EXPECT_EQ(out, c.out) << c.what;
        // Whatever moved is on a monitor afterwards (an empty window, having no
        // pixels, never counts as on one), and moving again changes nothing.
        if (!monitors.empty()) {
            EXPECT_EQ(out.Width() > 0 && out.Height() > 0, Arrange::IsOnSomeMonitor(out, monitors))
                << c.what;
            EXPECT_EQ(Arrange::BringOntoMonitors(out, monitors), out) << c.what;
        }
    }
}

// Sizes from a damaged or hostile notes file: cut to the work area of the
// monitor under the top-left corner, which stays where it is.
TEST(CapToWorkArea, LoadedSizesStopAtTheirMonitorsWorkArea) {
    const struct {
        const char* what;
        Rect in, out;
    } cases[] = {
        // clang-format off
        {"fits: unchanged", {-700, 300, -500, 450}, {-700, 300, -500, 450}},
        {"32767 a side on the primary", {10, 20, 32777, 32787}, {10, 20, 1290, 1004}},
        {"100000 a side from the left monitor", {-1000, 5, 99000, 100005}, {-1000, 5, 24, 773}},
        {"only too tall", {-900, 0, -600, 2000}, {-900, 0, -600, 768}},
        {"only too wide, corner in the gap below the left one", {-500, 900, 2000, 950}, {-500, 900, 524, 950}},
        {"absurd extents", {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MIN, INT32_MIN + 1024, INT32_MIN + 768}},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Arrange::CapToWorkArea(c.in, kTwo), c.out) << c.what;
        // Brought on screen afterwards, a capped window fits whole.
        const Rect placed = Arrange::BringOntoMonitors(Arrange::CapToWorkArea(c.in, kTwo), kTwo);
        EXPECT_LE(int64_t{placed.right} - placed.left, 1280) << c.what;
        EXPECT_LE(int64_t{placed.bottom} - placed.top, 984) << c.what;
    }
    EXPECT_EQ(Arrange::CapToWorkArea({0, 0, 5000, 5000}, {}), (Rect{0, 0, 5000, 5000}));
}

}  // namespace
