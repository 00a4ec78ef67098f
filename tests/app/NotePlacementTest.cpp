#include "app/NotePlacement.h"

#include <gtest/gtest.h>

namespace {

NotePlacement Base() {
    NotePlacement p;
    p.workArea = Rect{0, 0, 1280, 994};  // taskbar of 30 pixels at the bottom
    p.width = 200;
    p.height = 150;
    p.snapGap = 15;
    p.mainWindow = Rect{600, 24, 700, 64};
    p.mainVisible = true;
    return p;
}

TEST(NotePlacementTest, TrayCornerKeepsThreeGridStepsFromBothEdges) {
    NotePlacement p = Base();
    p.nearTray = p.nearMain = true;
    EXPECT_EQ(PlaceNewNote(p), (Point{1280 - 200 - 45, 994 - 150 - 45}));
    p.snapGap = 0;  // no grid step: a fixed margin
    EXPECT_EQ(PlaceNewNote(p), (Point{1280 - 200 - 10, 994 - 150 - 10}));
    // The tray flag alone does not place the note there.
    p.nearMain = false;
    EXPECT_EQ(PlaceNewNote(p), (Point{540, 422}));
}

TEST(NotePlacementTest, UnderTheMainWindowMovedUpAtTheBottom) {
    NotePlacement p = Base();
    p.nearMain = true;
    EXPECT_EQ(PlaceNewNote(p), (Point{600, 64 + 45}));
    p.mainWindow = Rect{1200, 900, 1300, 940};  // near the bottom-right corner
    EXPECT_EQ(PlaceNewNote(p), (Point{1280 - 200, 994 - 150}));
    p.mainWindow = Rect{-300, 10, -200, 50};  // mostly off the left edge
    EXPECT_EQ(PlaceNewNote(p).x, 0);
}

TEST(NotePlacementTest, CentredInTheWorkAreaWhereverItLies) {
    NotePlacement p = Base();
    p.nearMain = true;
    p.mainVisible = false;
    // A second monitor left of and below the primary one.
    p.workArea = Rect{-1024, 100, 0, 868};
    EXPECT_EQ(PlaceNewNote(p), (Point{-1024 + (1024 - 200) / 2, 100 + (768 - 150) / 2}));
    p.workArea = Rect{1280, -600, 2080, 0};
    EXPECT_EQ(PlaceNewNote(p), (Point{1280 + 300, -600 + 225}));
}

TEST(NotePlacementTest, NoteLargerThanTheWorkAreaKeepsItsTopLeftInside) {
    NotePlacement p = Base();
    p.workArea = Rect{100, 50, 300, 150};
    p.nearTray = p.nearMain = true;
    EXPECT_EQ(PlaceNewNote(p), (Point{100, 50}));
}

}  // namespace
