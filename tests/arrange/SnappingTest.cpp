#include "arrange/Snapping.h"

#include <gtest/gtest.h>

#include <tuple>

#include "RectPrinting.h"
#include "arrange/Grid.h"

using namespace Arrange;

namespace {

const Rect kPrimaryWork{0, 0, 1280, 994};
const Rect kLeftWork{-1024, 0, 0, 738};  // a monitor left of the primary one

SnapOptions Options(bool grid, int32_t gap, int32_t border = 5, Insets insets = {}) {
    SnapOptions o;
    o.toGrid = grid;
    o.toNotes = true;
    o.gap = gap;
    o.border = border;
    o.insets = insets;
    return o;
}

TEST(SnapWindow, Table) {
    const SnapTarget neighbour{{100, 50, 300, 150}, {}, true};
    const SnapTarget hidden{neighbour.rect, {}, false};
    const SnapTarget low{{300, 800, 500, 990}, {}, true};
    const std::vector<Rect> work{kPrimaryWork};
    const SnapOptions edges = Options(false, 10), grid = Options(true, 10);
    struct {
        const char* name;
        SnapOptions options;
        std::vector<SnapTarget> others;
        std::vector<Rect> workAreas;
        Point dropped, expected;  // of a 200 x 100 note
    } cases[] = {
        // clang-format off
        {"outer to the right, tops aligned", edges, {neighbour}, work, {307, 52}, {305, 50}},
        {"hidden window attracts nothing", edges, {hidden}, work, {307, 52}, {307, 52}},
        {"grid truncates toward zero", grid, {}, {}, {37, -23}, {30, -20}},
        {"grid ignores windows and monitors", grid, {neighbour}, work, {307, 3}, {300, 0}},
        {"grid step 0 leaves the position", Options(true, 0), {}, {}, {37, -23}, {37, -23}},
        // The note would align the bottoms at 990; the work area's 994 is in reach too.
        {"monitor edge wins over a note edge", edges, {low}, work, {507, 893}, {505, 894}},
        {"body bottom on the work area, insets outside", Options(false, 10, 5, {4, 3, 6, 8}), {},
         work, {500, 898}, {500, 902}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Point p = c.dropped;
        SnapWindow(c.options, c.others, c.workAreas, p.x, p.y, 200, 100);
        EXPECT_EQ(c.expected, p);
    }
}

TEST(SnapBodies, VisibleTargetsLessTheirInsetsInOrder) {
    const std::vector<SnapTarget> others{{{100, 50, 300, 150}, {4, 3, 6, 8}, true},
                                         {{0, 0, 10, 10}, {}, false},
                                         {{INT32_MIN, 0, INT32_MAX, 10}, {-5, 0, -5, 0}, true}};
    const std::vector<SnapBody> bodies = SnapBodies(others);
    const auto edges = [](const SnapBody& b) {
        return std::make_tuple(b.left, b.top, b.right, b.bottom);
    };
    ASSERT_EQ(bodies.size(), 2u);
    EXPECT_EQ(edges(bodies[0]), std::make_tuple(104, 53, 294, 142));
    // Past the 32-bit range, not wrapped.
    EXPECT_EQ(edges(bodies[1]),
              std::make_tuple(int64_t{INT32_MIN} - 5, 0, int64_t{INT32_MAX} + 5, 10));
}

// A drag gathers the bodies once and snaps every step against them: each step
// must land where snapping against the windows themselves puts it, whatever
// the spacing, insets and mode.
TEST(SnapWindow, BodiesGatheredOnceSnapEveryStepAsTheWindowsDo) {
    std::vector<SnapTarget> others;
    for (int i = 0; i < 40; ++i) {
        const int32_t x = 20 + i % 8 * 130, y = 30 + i / 8 * 170;
        others.push_back({{x, y, x + 120 + i % 3 * 7, y + 150 - i % 4 * 9},
                          {i % 5, i % 3, i % 4, i % 6},
                          i % 7 != 3});
    }
    const std::vector<SnapBody> bodies = SnapBodies(others);
    const std::vector<Rect> work{kPrimaryWork, kLeftWork};
    const SnapOptions options[] = {Options(false, 10), Options(false, 15, 0, {4, 3, 6, 8}),
                                   Options(false, 7, 12, {1, 2, 3, 4}), Options(true, 10)};
    int snappedSteps = 0;
    for (const SnapOptions& o : options) {
        for (int32_t step = 0; step < 400; ++step) {
            const int32_t x0 = -300 + step * 7 % 1700, y0 = -20 + step * 13 % 1030;
            Point direct{x0, y0}, gathered{x0, y0};
            const bool a = SnapWindow(o, others, work, direct.x, direct.y, 200, 100);
            const bool b = SnapWindow(o, bodies, work, gathered.x, gathered.y, 200, 100);
            SCOPED_TRACE(testing::Message() << "step " << step << " gap " << o.gap);
            ASSERT_EQ(direct, gathered);
            ASSERT_EQ(a, b);
            if (direct.x != x0 || direct.y != y0) ++snappedSteps;
        }
    }
    // The path passes near enough windows for the comparison to mean something.
    EXPECT_GT(snappedSteps, 400);
}

// Edges align only where the two overlap on the other axis, strictly: a note
// within the other's height keeps its left edge, within its width its top.
// Near means at most the snap distance (10) on every side.
TEST(SnapToRect, AlignsOnlyBesideStrictOverlapAndWithinTheDistance) {
    const Rect tall{100, 50, 300, 350}, wide{100, 50, 400, 250}, r{100, 50, 300, 150};
    struct {
        const char* name;
        Rect target;
        Point from, to;
    } cases[] = {
        // clang-format off
        {"within the height: left edge left alone", tall, {104, 100}, {104, 100}},
        {"sticking out above: left edges align", tall, {104, 44}, {100, 44}},
        {"within the height: right edges still align", tall, {245, 100}, {250, 100}},
        {"within the height: still placed outside", tall, {303, 100}, {300, 100}},
        {"bottoms level is not strictly within", tall, {104, 300}, {100, 300}},
        {"tops level is still within", tall, {104, 50}, {104, 50}},
        {"within the width: top edge left alone", wide, {150, 54}, {150, 54}},
        {"sticking out on the left: tops align", wide, {94, 54}, {94, 50}},
        {"within the width: bottoms still align", wide, {150, 195}, {150, 200}},
        {"within the width: still placed below", wide, {150, 253}, {150, 250}},
        {"right sides level is not strictly within", wide, {350, 54}, {350, 50}},
        {"left sides level is still within", wide, {100, 54}, {100, 54}},
        {"right of it, exactly 10 away", r, {310, 80}, {300, 80}},
        {"right of it, 11 away", r, {311, 80}, {311, 80}},
        {"left of it, exactly 10 away", r, {40, 80}, {50, 80}},
        {"left of it, 11 away", r, {39, 80}, {39, 80}},
        {"below it, exactly 10 away", r, {150, 160}, {150, 150}},
        {"below it, 11 away", r, {150, 161}, {150, 161}},
        {"above it, exactly 10 away", r, {150, -10}, {150, 0}},
        {"above it, 11 away", r, {150, -11}, {150, -11}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Point p = c.from;
        EXPECT_EQ(c.from != c.to, SnapToRect(10, c.target, 50, 50, p.x, p.y));
        EXPECT_EQ(c.to, p);
    }
}

TEST(SnapToMonitors, AnyEdgeCaughtIsReportedAndTheFirstAreaThatSnapsWins) {
    struct {
        const char* name;
        Point from, to;
        bool snapped;
    } cases[] = {
        // clang-format off
        {"top edge only", {500, 7}, {500, 0}, true},
        {"bottom edge only", {500, 937}, {500, 944}, true},
        {"left edge only", {-8, 500}, {0, 500}, true},
        {"right edge only", {1238, 500}, {1230, 500}, true},
        {"corner", {1234, 941}, {1230, 944}, true},
        {"nothing in reach", {500, 500}, {500, 500}, false},
        {"the left monitor's right edge first", {-45, 500}, {-50, 500}, true},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Point p = c.from;
        EXPECT_EQ(c.snapped, SnapToMonitors(10, 50, 50, p.x, p.y, {kLeftWork, kPrimaryWork}));
        EXPECT_EQ(c.to, p);
    }
}

TEST(Grid, BothSignsRoundTowardTheRightMultiple) {
    struct {
        int32_t value, step, truncated, raised;
    } cases[] = {
        {37, 10, 30, 40},
        {-23, 10, -20, -20},
        {40, 10, 40, 40},
        {-40, 10, -40, -40},
        {1, 10, 0, 10},
        {-1, 10, 0, 0},
        {0, 10, 0, 0},
        {-37, 15, -30, -30},
        {5, 0, 5, 5},
        {-5, -3, -5, -5},
        {INT32_MAX, 10, INT32_MAX - 7, INT32_MAX},
        {INT32_MIN, 10, INT32_MIN + 8, INT32_MIN + 8},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.truncated, TruncateToGrid(c.value, c.step)) << c.value << "/" << c.step;
        EXPECT_EQ(c.raised, RaiseToGrid(c.value, c.step)) << c.value << "/" << c.step;
    }
}

TEST(SnapWindow, AbsurdSettingsDoNotOverflow) {
    SnapOptions o =
        Options(false, INT32_MAX, INT32_MAX, {INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN});
    int32_t x = INT32_MIN + 1, y = INT32_MAX - 1;
    SnapWindow(o, {{{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {}, true}}, {kPrimaryWork}, x, y,
               INT32_MAX, INT32_MAX);
    // The sums stop at the ends of the range (the sanitizers stop on a signed
    // overflow): the window stays at the far left and goes to the very bottom,
    // where a wrapped sum would have thrown it to the other end.
    EXPECT_EQ(INT32_MIN + 1, x);
    EXPECT_EQ(INT32_MAX, y);
}

TEST(WorkAreaOf, NearestMonitorRule) {
    const std::vector<Monitor> monitors = {{{0, 0, 1280, 1024}, kPrimaryWork},
                                           {{-1024, 0, 0, 768}, kLeftWork}};
    EXPECT_EQ(kLeftWork, WorkAreaOf({-150, 100, 50, 200}, monitors));      // mostly on the left
    EXPECT_EQ(kLeftWork, WorkAreaOf({-500, 900, -300, 950}, monitors));    // below the left one
    EXPECT_EQ(kPrimaryWork, WorkAreaOf({-100, 900, -50, 950}, monitors));  // nearer the primary
    EXPECT_EQ(kLeftWork, WorkAreaOf({-10, 10, -10, 10}, monitors));        // empty
    EXPECT_EQ(Rect{}, WorkAreaOf({0, 0, 10, 10}, {}));

    // Ties go to the monitor listed first, by shared area and by distance alike.
    const Rect a{0, 0, 100, 100}, b{200, 0, 300, 100}, workA{0, 0, 100, 90}, workB{200, 0, 300, 90};
    for (const Rect& window :
         {Rect{50, 10, 250, 20}, Rect{140, 10, 160, 20}, Rect{101, 10, 199, 20}}) {
        EXPECT_EQ(workA, WorkAreaOf(window, {{a, workA}, {b, workB}})) << window.left;
        EXPECT_EQ(workB, WorkAreaOf(window, {{b, workB}, {a, workA}})) << window.left;
    }
    // Straight below one (10 down) and diagonally off the other (6 across, 8 down):
    // equally far, so the first listed.
    const Rect below{0, 0, 100, 100}, beside{100, 0, 200, 102};
    EXPECT_EQ(workA, WorkAreaOf({50, 110, 94, 120}, {{below, workA}, {beside, workB}}));
    EXPECT_EQ(workB, WorkAreaOf({50, 110, 94, 120}, {{beside, workB}, {below, workA}}));
}

TEST(Rect, HitTestsTakeLeftAndTopButNotRightAndBottom) {
    const Rect r{-10, 20, 30, 45};
    const struct {
        Point p;
        bool inside;
    } cases[] = {
        {{-10, 20}, true}, {{29, 44}, true}, {{-11, 30}, false},
        {{30, 30}, false}, {{0, 19}, false}, {{0, 45}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.inside, r.Contains(c.p)) << c.p.x << "," << c.p.y;
    EXPECT_EQ(40, r.Width());
    EXPECT_EQ(25, r.Height());
    // The rectangle that stands for none (no work area, no button) is empty at 0.
    const Rect none;
    EXPECT_TRUE(none.left == 0 && none.top == 0 && none.right == 0 && none.bottom == 0);
    // Sums stop at the ends of the 32-bit range.
    EXPECT_EQ((Rect{-7, 24, 25, 37}), Shrink(r, {3, 4, 5, 8}));
    EXPECT_EQ((Rect{-13, 16, 35, 53}), Grow(r, {3, 4, 5, 8}));
    EXPECT_EQ((Rect{INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN}),
              Shrink({INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN}, {-1, 1, -1, 1}));
    EXPECT_EQ((Rect{INT32_MIN, -80, INT32_MIN + 30, -55}), Offset(r, INT32_MIN, -100));
}

}  // namespace
