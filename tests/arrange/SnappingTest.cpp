#include "arrange/Snapping.h"

#include <gtest/gtest.h>

#include "RectPrinting.h"
#include "arrange/Grid.h"

using namespace Arrange;

namespace {

const Rect kPrimaryWork{0, 0, 1280, 994};
const Rect kLeftWork{-1024, 0, 0, 738};  // a monitor left of the primary one

struct SnapCase {
    const char* name;
    SnapOptions options;
    std::vector<SnapTarget> others;
    std::vector<Rect> workAreas;
    Point size;
    Point dropped;
    Point expected;
};

SnapOptions Edges(int32_t gap, int32_t border, Insets insets = {}) {
    SnapOptions o;
    o.toNotes = true;
    o.gap = gap;
    o.border = border;
    o.insets = insets;
    return o;
}

SnapOptions Grid(int32_t gap) {
    SnapOptions o;
    o.toGrid = true;
    o.toNotes = true;
    o.gap = gap;
    return o;
}

const SnapTarget kNeighbour{{100, 50, 300, 150}, {}, true};

TEST(SnapWindow, Table) {
    const SnapTarget hidden{kNeighbour.rect, {}, false};
    const Insets ten{10, 10, 10, 10};
    // clang-format off
    const SnapCase cases[] = {
        {"outer to the right, tops aligned", Edges(10, 5), {kNeighbour}, {kPrimaryWork},
         {200, 100}, {307, 52}, {305, 50}},
        {"hidden window attracts nothing", Edges(10, 5), {hidden}, {kPrimaryWork},
         {200, 100}, {307, 52}, {307, 52}},
        {"snapping off", SnapOptions{}, {kNeighbour}, {kPrimaryWork}, {200, 100}, {307, 52}, {307, 52}},
        {"grid truncates toward zero", Grid(10), {}, {}, {200, 100}, {37, -23}, {30, -20}},
        {"grid ignores windows and monitors", Grid(10), {kNeighbour}, {kPrimaryWork},
         {200, 100}, {307, 3}, {300, 0}},
        {"grid step 0 leaves the position", Grid(0), {}, {}, {200, 100}, {37, -23}, {37, -23}},
        {"negative grid step likewise", Grid(-10), {}, {}, {200, 100}, {37, -23}, {37, -23}},
        // Bodies (110, 60, 290, 140) and 200 by 100, each inside insets of 10.
        {"insets on both keep the spacing between bodies", Edges(10, 5, ten),
         {{kNeighbour.rect, ten, true}}, {}, {220, 120}, {287, 52}, {285, 50}},
        // The note would align the bottoms at 990; the work area's 994 is in reach too.
        {"monitor edge wins over a note edge", Edges(10, 5), {{{300, 800, 500, 990}, {}, true}},
         {kPrimaryWork}, {200, 100}, {507, 893}, {505, 894}},
        {"body bottom on the work area, insets outside", Edges(10, 5, {4, 3, 6, 8}), {},
         {kPrimaryWork}, {200, 100}, {500, 898}, {500, 902}},
        {"left edge of a monitor left of the primary", Edges(10, 5), {},
         {kPrimaryWork, kLeftWork}, {200, 100}, {-1019, 300}, {-1024, 300}},
        {"right edge of the left monitor", Edges(10, 5), {}, {kPrimaryWork, kLeftWork},
         {200, 100}, {-195, 300}, {-200, 300}},
        {"first work area that snaps ends the walk", Edges(10, 5), {},
         {kPrimaryWork, {0, -5, 2000, 994}}, {100, 100}, {500, 4}, {500, 0}},
        // 103 is out of the second window's reach until the first has moved it to 100.
        {"a later window moves the position again", Edges(10, 0),
         {{{0, 0, 100, 100}, {}, true}, {{0, 0, 92, 100}, {}, true}}, {}, {50, 50}, {103, 20}, {92, 20}},
    };
    // clang-format on
    for (const SnapCase& c : cases) {
        SCOPED_TRACE(c.name);
        Point p = c.dropped;
        SnapWindow(c.options, c.others, c.workAreas, p.x, p.y, c.size.x, c.size.y);
        EXPECT_EQ(c.expected, p);
    }
}

TEST(SnapToRect, StrictlyWithinHeightIsNotLeftAligned) {
    const Rect tall{100, 50, 300, 350};
    struct {
        const char* name;
        Point from, to;
    } cases[] = {
        {"within the height: left edge left alone", {104, 100}, {104, 100}},
        {"sticking out above: left edges align", {104, 44}, {100, 44}},
        {"within the height: right edges still align", {245, 100}, {250, 100}},
        {"within the height: still placed outside", {303, 100}, {300, 100}},
        {"out of vertical reach: nothing", {303, 400}, {303, 400}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Point p = c.from;
        const bool snapped = SnapToRect(10, tall, 50, 50, p.x, p.y);
        EXPECT_EQ(c.to, p);
        EXPECT_EQ(c.from != c.to, snapped);
    }
}

TEST(SnapWindow, AbsurdSettingsDoNotOverflow) {
    SnapOptions o = Edges(INT32_MAX, INT32_MAX, {INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN});
    int32_t x = INT32_MIN + 1, y = INT32_MAX - 1;
    SnapWindow(o, {{{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {}, true}}, {kPrimaryWork}, x, y,
               INT32_MAX, INT32_MAX);
    // Reaching here is the test: the sanitizers stop on a signed overflow.
}

TEST(Grid, RoundingFollowsSignedDivision) {
    struct {
        int32_t value, g, truncated, raised;
    } cases[] = {
        {37, 10, 30, 40},    {-23, 10, -20, -20}, {40, 10, 40, 40},
        {-40, 10, -40, -40}, {211, 15, 210, 225}, {-7, 15, 0, 0},
        {5, 0, 5, 5},        {5, -3, 5, 5},       {INT32_MAX, 10, 2147483640, INT32_MAX},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " on " << c.g);
        EXPECT_EQ(c.truncated, TruncateToGrid(c.value, c.g));
        EXPECT_EQ(c.raised, RaiseToGrid(c.value, c.g));
    }
}

TEST(WorkAreaOf, NearestMonitorRule) {
    const std::vector<Monitor> monitors = {
        {{0, 0, 1280, 1024}, kPrimaryWork},
        {{-1024, 0, 0, 768}, kLeftWork},
    };
    struct {
        const char* name;
        Rect window;
        int index;
    } cases[] = {
        {"inside the left monitor", {-900, 100, -700, 200}, 1},
        {"straddling, mostly left", {-150, 100, 50, 200}, 1},
        {"straddling, mostly primary", {-50, 100, 150, 200}, 0},
        {"below the left monitor", {-500, 900, -300, 950}, 1},
        {"below the left monitor, nearer the primary", {-100, 900, -50, 950}, 0},
        {"far right of everything", {5000, 10, 5100, 50}, 0},
        {"empty window on the left monitor", {-10, 10, -10, 10}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.index, NearestMonitor(c.window, monitors));
    }
    EXPECT_EQ(kLeftWork, WorkAreaOf({-900, 100, -700, 200}, monitors));
    EXPECT_EQ(-1, NearestMonitor({0, 0, 10, 10}, {}));
    EXPECT_EQ(Rect{}, WorkAreaOf({0, 0, 10, 10}, {}));
}

}  // namespace
