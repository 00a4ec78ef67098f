#include "notes/NoteLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "../arrange/RectPrinting.h"
#include "notes/NineSlice.h"

using namespace NoteGeometry;

namespace {

// A text of `chars` characters, each 8 pixels wide, wrapped at the area's width
// into lines 16 pixels high. Records the widths it was asked to measure in.
MeasureFn FakeText(int chars, std::vector<int32_t>* widthsAsked = nullptr) {
    return [chars, widthsAsked](const Rect& area) {
        if (widthsAsked) widthsAsked->push_back(area.Width());
        const int perLine = std::max(1, area.Width() / 8);
        const int lines = std::max(1, (chars + perLine - 1) / perLine);
        return Rect{area.left, area.top, area.left + std::min(chars, perLine) * 8,
                    area.top + lines * 16};
    };
}

NoteMetrics Resizable(bool fixedSize = false) {
    NoteMetrics m;
    m.hasBackgroundBitmap = true;
    m.backgroundWidth = 60;
    m.backgroundHeight = 40;
    m.fixedSize = fixedSize;
    m.editInsets = {4, 9, 7, 12};
    return m;
}

TEST(NoteLayout, GripFromTheFarEdgeAndFinalLineBreakMeasured) {
    const Rect corner{-20, -14, -4, -2};
    EXPECT_EQ((Rect{330, 386, 346, 398}), ResizeGripRect({100, 200, 350, 400}, corner));
    EXPECT_EQ((Rect{150, 0, 166, 16}), ResizeGripRect({0, 0, 250, 100}, {-600, 0, -584, 16}));
    EXPECT_EQ((Rect{30, 36, 46, 48}), ResizeGripRect({50, 50, 50, 50}, corner));  // empty: ends
    // A note one pixel wide and high brings the grip in one pixel at a time.
    EXPECT_EQ((Rect{10, 20, 12, 22}), ResizeGripRect({10, 20, 11, 21}, {-3, -2, -1, 0}));
    // Exactly one width or height out: one step in, no more.
    EXPECT_EQ((Rect{0, 0, 16, 16}), ResizeGripRect({0, 0, 250, 100}, {-250, -100, -234, -84}));

    // A final line break is measured as a line.
    EXPECT_EQ(L"a\r\n.", MeasuringText(L"a\r\n"));
    EXPECT_EQ(L"a", MeasuringText(L"a"));
    EXPECT_TRUE(TextOverflows({0, 0, 40, 16}, FakeText(6)));
    EXPECT_FALSE(TextOverflows({0, 0, 40, 16}, FakeText(5)));
}

// Menu 16 x 16 at (4, 4); delete 16 x 16 at (-20, 4), overlapping the menu
// button on narrow notes; a hidden or faceless button is never hit.
TEST(NoteLayout, ButtonsAreHitWhereTheyAreDrawnAndDeleteWinsAnOverlap) {
    NoteMetrics m;
    m.menuButton = {true, {4, 4}, 16, 16};
    m.deleteButton = {true, {-20, 4}, 16, 16};
    const struct {
        Point p;
        int32_t cx;
        NoteButton expected;
    } cases[] = {
        {{4, 4}, 200, NoteButton::Menu},     {{19, 19}, 200, NoteButton::Menu},
        {{20, 4}, 200, NoteButton::None},    {{4, 20}, 200, NoteButton::None},
        {{180, 4}, 200, NoteButton::Delete}, {{195, 19}, 200, NoteButton::Delete},
        {{179, 4}, 200, NoteButton::None},   {{196, 4}, 200, NoteButton::None},
        {{12, 10}, 30, NoteButton::Delete},  // delete at 10..26 covers the menu
        {{5, 10}, 30, NoteButton::Menu},     {{100, 100}, 200, NoteButton::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, ButtonAt(c.p, c.cx, 100, m)) << c.p.x << "," << c.p.y << " " << c.cx;
    EXPECT_EQ((Rect{180, 4, 196, 20}), ButtonRect(NoteButton::Delete, 200, 100, m));

    // Only a negative position counts from the far edge; 0 is the near edge.
    EXPECT_EQ((Point{0, 0}), ResolveSkinPosition({0, 0}, 200, 100));
    EXPECT_EQ((Point{199, 99}), ResolveSkinPosition({-1, -1}, 200, 100));

    m.menuButton.visible = false;
    m.deleteButton.width = 0;
    EXPECT_EQ(NoteButton::None, ButtonAt({5, 5}, 200, 100, m));
    EXPECT_EQ(NoteButton::None, ButtonAt({185, 5}, 200, 100, m));
    EXPECT_EQ(Rect{}, ButtonRect(NoteButton::None, 200, 100, m));
}

TEST(NoteLayout, AbsurdSkinNumbersStopAtTheEndsOfTheRange) {
    NoteMetrics m = Resizable();
    m.editInsets = {INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN};
    EXPECT_EQ((Rect{INT32_MAX, INT32_MIN, 200 - INT32_MAX, INT32_MAX}),
              LayoutNote(200, 100, m).textRect);
    EXPECT_EQ((Rect{INT32_MAX, 100, INT32_MAX, 116}),
              ResizeGripRect({100, 100, 300, 300}, {INT32_MAX - 10, 0, INT32_MAX, 16}));
}

// A work area not at the origin, wider than high.
const Rect kWorkArea{-1024, 40, 176, 840};

TEST(ResizeToContent, ShortTextShrinksToTheBackgroundAtLeast) {
    ContentFit fit = ResizeToContent({100, 100, 400, 400}, Resizable(), {}, kWorkArea, FakeText(5));
    EXPECT_EQ((Rect{100, 100, 160, 140}), fit.window);  // 50 x 36 raised to 60 x 40
    EXPECT_TRUE(fit.textFits);
    GridOptions grid;
    grid.useGrid = true;
    fit = ResizeToContent({100, 100, 400, 400}, Resizable(), grid, kWorkArea, FakeText(5));
    EXPECT_EQ((Rect{100, 100, 160, 145}), fit.window);
}

TEST(ResizeToContent, LongTextWidensInBackgroundWidthsToItsLongestLineMeasuredOnce) {
    // 100 characters are 800 pixels: one line once 88 + 12 steps of 60 hold it.
    std::vector<int32_t> widths;
    ContentFit fit =
        ResizeToContent({0, 0, 100, 40}, Resizable(), {}, kWorkArea, FakeText(100, &widths));
    EXPECT_EQ((std::vector<int32_t>{89, 1189, 808}), widths);
    EXPECT_EQ((Rect{0, 0, 811, 40}), fit.window);
    EXPECT_TRUE(fit.textFits);
    EXPECT_FALSE(ResizeToContent(fit.window, Resizable(), {}, kWorkArea, FakeText(100)).changed);

    // A narrower work area: the widest text it allows is measured, and taken
    // as it is when the steps would pass it (390 holds 48 characters a line).
    widths.clear();
    const Rect narrow{500, -300, 900, 700};
    fit = ResizeToContent({510, 0, 610, 40}, Resizable(), {}, narrow, FakeText(100, &widths));
    EXPECT_EQ((std::vector<int32_t>{89, 389, 388}), widths);
    EXPECT_EQ((Rect{510, 0, 905, 69}), fit.window);
    GridOptions grid;
    grid.useGrid = true;
    grid.gap = 15;
    fit = ResizeToContent({510, 0, 610, 40}, Resizable(), grid, narrow, FakeText(100));
    EXPECT_EQ((Rect{510, 0, 900, 75}), fit.window) << "405 passes the area: one grid line less";

    // A text that no width shortens is not widened; nor is one when the
    // measure answers no text at all.
    widths.clear();
    EXPECT_EQ(ResizeToContent({0, 0, 100, 40}, Resizable(), {}, kWorkArea, FakeText(10, &widths))
                  .window.Width(),
              91);
    EXPECT_EQ(widths.size(), 2u) << "the widest saves no line: nothing more is measured";
    const MeasureFn nothing = [](const Rect& a) { return Rect{a.left, a.top, a.right, a.top - 1}; };
    EXPECT_EQ(ResizeToContent({0, 0, 100, 400}, Resizable(), {}, kWorkArea, nothing).window,
              (Rect{0, 0, 100, 40}));
}

// A megabyte of one line, or of many, is measured three times at most and the
// note stops at the work area's size, with the more-text marker.
TEST(ResizeToContent, HugeTextStopsAtTheWorkAreaAfterThreeMeasures) {
    for (int chars : {1 << 20, 100000}) {
        int asked = 0;
        const MeasureFn measure = [&asked, chars](const Rect& a) {
            ++asked;
            return FakeText(chars)(a);
        };
        const ContentFit fit =
            ResizeToContent({-1000, 100, -900, 140}, Resizable(), {}, kWorkArea, measure);
        EXPECT_LE(asked, 3);
        EXPECT_EQ(fit.window, (Rect{-1000, 100, 195, 900})) << chars;
        EXPECT_FALSE(fit.textFits);
    }
    // A long word measured wider than the area is cut at the work area too.
    const MeasureFn longWord = [](const Rect& a) {
        return Rect{a.left, a.top, a.left + 5000, a.top + 16};
    };
    const ContentFit fit = ResizeToContent({0, 0, 100, 40}, Resizable(), {}, kWorkArea, longWord);
    EXPECT_EQ(fit.window.Width(), kWorkArea.Width());
    EXPECT_FALSE(fit.textFits);
}

TEST(GrowWhileTyping, Table) {
    const Rect note{100, 80, 200, 150};  // text area 89 x 49 at (104, 89)
    const Rect screen{-1024, 0, 1280, 1024};
    GridOptions grid;
    grid.useGrid = true;
    struct {
        const char* name;
        Rect window, measured, virtualScreen;
        GridOptions grid;
        Rect expected;
    } cases[] = {
        // clang-format off
        {"a long word widens", note, {104, 89, 203, 138}, screen, {}, {100, 80, 210, 150}},
        {"a new line lowers", note, {104, 89, 193, 150}, screen, {}, {100, 80, 200, 162}},
        {"the same size: nothing", note, {104, 89, 193, 138}, screen, {}, note},
        {"stops at the virtual screen", note, {104, 89, 300, 300}, {0, 0, 250, 170}, {},
         {100, 80, 250, 170}},
        {"already past the screen: not cut back", {100, 80, 200, 180}, {104, 89, 193, 200},
         {0, 0, 1280, 170}, {}, {100, 80, 200, 180}},
        {"already past the right: not cut back", {100, 80, 300, 150}, {104, 89, 300, 160},
         {0, 0, 250, 1024}, {}, {100, 80, 300, 172}},
        {"grid raises both", note, {104, 89, 205, 172}, screen, grid, {100, 80, 220, 185}},
        {"below the background: raised to it", {100, 80, 150, 110}, {104, 89, 143, 120}, screen,
         {}, {100, 80, 160, 132}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Rect measured = c.measured;
        const Growth g = GrowWhileTyping(c.window, Resizable(), c.grid, c.virtualScreen,
                                         [&](const Rect&) { return measured; });
        EXPECT_EQ(c.expected != c.window, g.grow);
        EXPECT_EQ(c.expected, g.window);
        if (g.grow) {
            EXPECT_EQ((Rect{4, 9, c.expected.Width() - 7, c.expected.Height() - 12}), g.editor);
        }
    }
    EXPECT_FALSE(GrowWhileTyping(note, Resizable(true), {}, screen, FakeText(1000)).grow);
}

// Fitted notes stay on their monitor (here one left of the primary, below a
// bar at the top) and fixed-size notes keep their background's size.
TEST(PlaceFittedNote, Table) {
    const Rect left{-1024, 20, 0, 748};
    const Rect small{0, 0, 300, 200};
    struct {
        const char* name;
        Rect fitted, workArea;
        int chars;
        bool fixed;
        Rect expected;
        bool moreText;
    } cases[] = {
        // clang-format off
        {"inside: left alone", {-900, 100, -800, 200}, left, 5, false, {-900, 100, -800, 200}, false},
        {"past the bottom: moved up", {-500, 700, -400, 800}, left, 5, false,
         {-500, 648, -400, 748}, false},
        {"past the right: moved left", {-50, 100, 150, 140}, left, 5, false,
         {-200, 100, 0, 140}, false},
        {"above and left of it: moved in", {-1100, -30, -1000, 70}, left, 5, false,
         {-1024, 20, -924, 120}, false},
        {"wider: capped, wrapped anew, taller", {50, 50, 1050, 86}, small, 100, false,
         {0, 50, 300, 119}, false},
        {"taller too: capped with the marker", {0, 0, 1000, 500}, small, 1000, false,
         {0, 0, 300, 200}, true},
        {"fixed size: the background, marker for the rest", {10, 10, 500, 500}, small, 100, true,
         {10, 10, 70, 50}, true},
        {"fixed size near the corner: moved in, not cut", {280, 190, 400, 300}, small, 1, true,
         {240, 160, 300, 200}, false},
        {"no work area: as fitted", {5000, 5000, 5100, 5100}, {}, 5, false,
         {5000, 5000, 5100, 5100}, false},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FittedNote placed =
            PlaceFittedNote(c.fitted, Resizable(c.fixed), c.workArea, FakeText(c.chars));
        EXPECT_EQ(c.expected, placed.window);
        EXPECT_EQ(c.moreText, placed.moreText);
    }
}

TEST(PlaceFittedNote, FixedSizeOnlyWithABackground) {
    EXPECT_EQ((Rect{-7, 3, 53, 43}), FixedSizeWindow({-7, 3, 900, 11}, Resizable(true)));
    EXPECT_EQ((Rect{-7, 3, 900, 11}), FixedSizeWindow({-7, 3, 900, 11}, Resizable(false)));
    NoteMetrics noBackground = Resizable(true);
    noBackground.hasBackgroundBitmap = false;
    EXPECT_EQ((Rect{-7, 3, 900, 11}), FixedSizeWindow({-7, 3, 900, 11}, noBackground));
    // A fixed-size note far larger than its background is brought back to it by fitting.
    const ContentFit fit =
        ResizeToContent({0, 0, 800, 600}, Resizable(true), {}, {0, 0, 1280, 1024}, FakeText(3));
    EXPECT_EQ((Rect{0, 0, 60, 40}),
              PlaceFittedNote(fit.window, Resizable(true), {0, 0, 1280, 1024}, FakeText(3)).window);
}

const Insets kBorders{10, 20, 10, 20};

TEST(NineSlice, FrameOfA250WideNoteAndDegenerateBorders) {
    const std::vector<Blit> blits = NineSliceBlits({0, 0, 250, 100}, 100, 100, kBorders, false);
    const std::vector<Blit> topRow = {
        {0, 0, 10, 20, 0, 0},    {10, 0, 80, 20, 10, 0},  {10, 0, 80, 20, 90, 0},
        {10, 0, 80, 20, 170, 0}, {90, 0, 10, 20, 240, 0},
    };
    ASSERT_EQ(15u, blits.size());  // top row, one middle row, bottom row
    EXPECT_EQ(topRow, std::vector<Blit>(blits.begin(), blits.begin() + 5));
    EXPECT_EQ((Blit{10, 20, 80, 60, 170, 20}), blits[8]);
    EXPECT_EQ((Blit{90, 80, 10, 20, 240, 80}), blits[14]);

    // Unequal borders (10, 20, 30, 5) whose centre tiles exactly fill a 160 x 100 note
    // at a negative x: each side is taken from its own edge of the bitmap, and no
    // tile starts where the right or bottom border begins.
    const std::vector<Blit> unequal = {
        {0, 0, 10, 20, -40, 30},   {10, 0, 60, 20, -30, 30}, {10, 0, 60, 20, 30, 30},
        {70, 0, 30, 20, 90, 30},   {0, 20, 10, 75, -40, 50}, {10, 20, 60, 75, -30, 50},
        {10, 20, 60, 75, 30, 50},  {70, 20, 30, 75, 90, 50}, {0, 95, 10, 5, -40, 125},
        {10, 95, 60, 5, -30, 125}, {10, 95, 60, 5, 30, 125}, {70, 95, 30, 5, 90, 125},
    };
    EXPECT_EQ(unequal, NineSliceBlits({-40, 30, 120, 130}, 100, 100, {10, 20, 30, 5}, false));

    // Borders of one pixel (two at the bottom) around a centre of one pixel.
    const std::vector<Blit> thin = {
        {0, 0, 1, 1, -2, 5}, {1, 0, 1, 1, -1, 5}, {1, 0, 1, 1, 0, 5}, {2, 0, 1, 1, 1, 5},
        {0, 1, 1, 1, -2, 6}, {1, 1, 1, 1, -1, 6}, {1, 1, 1, 1, 0, 6}, {2, 1, 1, 1, 1, 6},
        {0, 2, 1, 2, -2, 7}, {1, 2, 1, 2, -1, 7}, {1, 2, 1, 2, 0, 7}, {2, 2, 1, 2, 1, 7},
    };
    EXPECT_EQ(thin, NineSliceBlits({-2, 5, 2, 9}, 3, 4, {1, 1, 1, 2}, false));

    // Borders that take the whole height or width leave no centre to tile.
    EXPECT_EQ((std::vector<Blit>{{0, 0, 100, 40, 0, 0}, {0, 40, 100, 60, 0, 190}}),
              NineSliceBlits({0, 0, 100, 250}, 100, 100, {0, 40, 0, 60}, false));
    EXPECT_EQ((std::vector<Blit>{{0, 0, 40, 100, 0, 0}, {40, 0, 60, 100, 190, 0}}),
              NineSliceBlits({0, 0, 250, 100}, 100, 100, {40, 0, 60, 0}, false));

    // Overlapping, negative, and past the bitmap: sides only, none, corners only.
    for (const Insets& borders :
         {Insets{60, 0, 60, 0}, Insets{-5, -5, -5, -5}, Insets{500, 500, 500, 500}}) {
        for (const Blit& b : NineSliceBlits({0, 0, 250, 150}, 100, 100, borders, false)) {
            // A zero size would draw the whole bitmap; the source stays inside it.
            EXPECT_TRUE(b.width >= 1 && b.height >= 1 && b.srcX >= 0 && b.srcY >= 0);
            EXPECT_TRUE(b.srcX + b.width <= 100 && b.srcY + b.height <= 100);
        }
    }
    // No borders: the centre tiles start at the window's edge.
    EXPECT_EQ((Blit{0, 0, 100, 100, 200, 100}),
              NineSliceBlits({0, 0, 250, 150}, 100, 100, {}, false).back());
    // Fixed size: once at the origin. No bitmap: nothing.
    EXPECT_EQ((std::vector<Blit>{{0, 0, 100, 100, 0, 0}}),
              NineSliceBlits({30, 40, 500, 500}, 100, 100, kBorders, true));
    EXPECT_TRUE(NineSliceBlits({0, 0, 250, 100}, 0, 0, kBorders, false).empty());
    EXPECT_TRUE(NineSliceBlits({0, 0, 250, 100}, 100, 0, kBorders, false).empty());
    EXPECT_EQ((std::vector<Blit>{{0, 0, 1, 1, 0, 0}}),
              NineSliceBlits({30, 40, 500, 500}, 1, 1, kBorders, true));
}

}  // namespace
