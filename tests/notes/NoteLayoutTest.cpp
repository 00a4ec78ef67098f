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

NoteMetrics Resizable() {
    NoteMetrics m;
    m.hasBackgroundBitmap = true;
    m.backgroundWidth = 60;
    m.backgroundHeight = 40;
    m.fixedSize = false;
    m.editInsets = {5, 10, 5, 10};
    return m;
}

TEST(NoteLayout, SkinPositionsCountFromTheFarEdgeWhenNegative) {
    NoteMetrics m = Resizable();
    m.menuButton = {true, {-40, 2}};
    m.priorityPos = {4, -20};
    const NoteLayout layout = LayoutNote(200, 150, m);
    EXPECT_EQ((Point{160, 2}), layout.menuButton);
    EXPECT_EQ((Point{4, 130}), layout.priorityIcon);
    EXPECT_EQ((Rect{5, 10, 195, 140}), layout.textRect);
}

TEST(NoteLayout, ResizeGripRect) {
    struct {
        const char* name;
        Rect grip, in, expected;
    } cases[] = {
        // clang-format off
        {"from the bottom-right corner", {-20, -20, -4, -4}, {100, 200, 350, 400}, {330, 380, 346, 396}},
        {"from the top-left corner", {10, 10, 26, 26}, {0, 0, 100, 100}, {10, 10, 26, 26}},
        {"more than one width back", {-600, 0, -584, 16}, {0, 0, 250, 100}, {150, 0, 166, 16}},
        {"empty rectangle: no endless loop", {-20, -20, -4, -4}, {50, 50, 50, 50}, {30, 30, 46, 46}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, ResizeGripRect(c.in, c.grip));
    }
    const Rect grip = ResizeGripRect({0, 0, 100, 100}, {-20, -20, -4, -4});
    EXPECT_TRUE(grip.Contains({80, 80}));
    EXPECT_FALSE(grip.Contains({96, 95}));
}

TEST(NoteLayout, FinalLineBreakIsMeasuredAsALine) {
    EXPECT_EQ(L"a\r\n.", MeasuringText(L"a\r\n"));
    EXPECT_EQ(L"a", MeasuringText(L"a"));
    EXPECT_EQ(L"", MeasuringText(L""));
    EXPECT_TRUE(TextOverflows({0, 0, 40, 16}, FakeText(6)));
    EXPECT_FALSE(TextOverflows({0, 0, 40, 16}, FakeText(5)));
}

TEST(ResizeToContent, ShortTextShrinksToTheBackgroundAtLeast) {
    ContentFit fit = ResizeToContent({100, 100, 400, 400}, Resizable(), {}, FakeText(5));
    EXPECT_TRUE(fit.changed);
    EXPECT_EQ((Rect{100, 100, 160, 140}), fit.window);  // 50 x 36 raised to 60 x 40

    GridOptions grid;
    grid.useGrid = true;
    fit = ResizeToContent({100, 100, 400, 400}, Resizable(), grid, FakeText(5));
    EXPECT_EQ((Rect{100, 100, 160, 145}), fit.window);
}

TEST(ResizeToContent, LongTextWidensByBackgroundWidthsWhileLinesAreSaved) {
    std::vector<int32_t> widths;
    const ContentFit fit =
        ResizeToContent({0, 0, 100, 40}, Resizable(), {}, FakeText(100, &widths));
    // 10 lines at 88, then 6 at 144, 4 at 200; 260 would still need 4 lines.
    EXPECT_EQ((std::vector<int32_t>{90, 148, 204, 260}), widths);
    EXPECT_EQ((Rect{0, 0, 210, 84}), fit.window);
    EXPECT_TRUE(fit.changed);

    EXPECT_FALSE(ResizeToContent(fit.window, Resizable(), {}, FakeText(100)).changed);
}

TEST(ResizeToContent, WithoutBackgroundBitmapWidensBy75) {
    NoteMetrics m = Resizable();
    m.hasBackgroundBitmap = false;
    std::vector<int32_t> widths;
    ResizeToContent({0, 0, 100, 40}, m, {}, FakeText(100, &widths));
    ASSERT_GE(widths.size(), 2u);
    EXPECT_EQ(88 + 75, widths[1]);
}

TEST(ResizeToContent, EndsWhateverTheMeasureAnswers) {
    const MeasureFn alwaysOneLineLess = [](const Rect& a) {
        return Rect{a.left, a.top, a.right, a.bottom - 16};
    };
    const ContentFit fit = ResizeToContent({0, 0, 100, 400}, Resizable(), {}, alwaysOneLineLess);
    EXPECT_EQ(0, fit.window.left);
}

TEST(GrowWhileTyping, Table) {
    const Rect note{100, 100, 200, 150};  // text area 90 x 30 at (105, 110)
    const Rect screen{-1024, 0, 1280, 1024};
    GridOptions grid;
    grid.useGrid = true;
    struct {
        const char* name;
        Rect window, measured, virtualScreen;
        GridOptions grid;
        bool grow;
        Rect expected;
    } cases[] = {
        // clang-format off
        {"text fits: no growth, no shrinking", note, {105, 110, 150, 126}, screen, {}, false, note},
        {"two more lines grow downwards", note, {105, 110, 195, 172}, screen, {}, true, {100, 100, 200, 182}},
        {"a long word widens", note, {105, 110, 205, 140}, screen, {}, true, {100, 100, 210, 150}},
        {"stops at the virtual screen", note, {105, 110, 295, 300}, {-1024, 0, 250, 170}, {}, true,
         {100, 100, 250, 170}},
        {"already past the screen: not cut back", {100, 100, 200, 180}, {105, 110, 195, 200},
         {-1024, 0, 1280, 170}, {}, false, {100, 100, 200, 180}},
        {"grid raises width and height", note, {105, 110, 205, 172}, screen, grid, true, {100, 100, 220, 190}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Rect measured = c.measured;
        const Growth g = GrowWhileTyping(c.window, Resizable(), c.grid, c.virtualScreen,
                                         [&](const Rect&) { return measured; });
        EXPECT_EQ(c.grow, g.grow);
        EXPECT_EQ(c.expected, g.window);
        if (g.grow) {
            EXPECT_EQ((Rect{5, 10, c.expected.Width() - 5, c.expected.Height() - 10}), g.editor);
        }
    }
}

TEST(GrowWhileTyping, FixedSizeSkinNeverGrows) {
    NoteMetrics m = Resizable();
    m.fixedSize = true;
    const Growth g = GrowWhileTyping({0, 0, 100, 50}, m, {}, {0, 0, 1280, 1024}, FakeText(1000));
    EXPECT_FALSE(g.grow);
}

// Nine-slice tiling.

const Insets kBorders{10, 20, 10, 20};

TEST(NineSlice, FrameOfA250WideNote) {
    const std::vector<Blit> blits = NineSliceBlits({0, 0, 250, 100}, 100, 100, kBorders, false);
    const std::vector<Blit> topRow = {
        {0, 0, 10, 20, 0, 0},    {10, 0, 80, 20, 10, 0},  {10, 0, 80, 20, 90, 0},
        {10, 0, 80, 20, 170, 0}, {90, 0, 10, 20, 240, 0},
    };
    ASSERT_EQ(15u, blits.size());  // top row, one middle row, bottom row
    EXPECT_EQ(topRow, std::vector<Blit>(blits.begin(), blits.begin() + 5));
    EXPECT_EQ((Blit{10, 20, 80, 60, 170, 20}), blits[8]);
    EXPECT_EQ((Blit{90, 80, 10, 20, 240, 80}), blits[14]);
}

TEST(NineSlice, DegenerateBordersStillEnd) {
    struct {
        const char* name;
        Insets borders;
        size_t count;
    } cases[] = {
        {"no borders: centre tiles from the edge", {0, 0, 0, 0}, 6},
        {"borders meet: corners only", {50, 50, 50, 50}, 4},
        {"borders overlap: sides only", {60, 0, 60, 0}, 4},
        {"negative borders count as none", {-5, -5, -5, -5}, 6},
        {"borders past the bitmap", {500, 500, 500, 500}, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Blit> blits =
            NineSliceBlits({0, 0, 250, 150}, 100, 100, c.borders, false);
        EXPECT_EQ(c.count, blits.size());
        for (const Blit& b : blits) {
            // A zero size would draw the whole bitmap; the source stays inside it.
            EXPECT_TRUE(b.width >= 1 && b.height >= 1 && b.srcX >= 0 && b.srcY >= 0);
            EXPECT_TRUE(b.srcX + b.width <= 100 && b.srcY + b.height <= 100);
        }
    }
    const std::vector<Blit> plain = NineSliceBlits({0, 0, 250, 150}, 100, 100, {}, false);
    EXPECT_EQ((Blit{0, 0, 100, 100, 200, 100}), plain.back());
}

TEST(NineSlice, FixedDrawsOnceAtTheOriginAndNoBitmapDrawsNothing) {
    EXPECT_EQ((std::vector<Blit>{{0, 0, 100, 100, 0, 0}}),
              NineSliceBlits({30, 40, 500, 500}, 100, 100, kBorders, true));
    EXPECT_TRUE(NineSliceBlits({0, 0, 250, 100}, 0, 0, kBorders, false).empty());
}

}  // namespace
