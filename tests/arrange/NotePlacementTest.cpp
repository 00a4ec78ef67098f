#include "arrange/NotePlacement.h"

#include <gtest/gtest.h>

#include <string>

TEST(NotePlacementTest, TrayCornerUnderTheMainWindowOrCentredInsideTheWorkArea) {
    const Rect screen{0, 0, 1280, 994};  // taskbar of 30 pixels at the bottom
    const Rect main{600, 24, 700, 64};
    // Flags: t near the tray, m near the main window (or tray), v main window visible.
    const struct {
        Rect workArea, mainWindow;
        std::string flags;
        int gap;
        Point expected;
    } cases[] = {
        {screen, main, "tmv", 15, {1280 - 200 - 45, 994 - 150 - 45}},  // three grid steps in
        {screen, main, "tmv", 0, {1280 - 200 - 10, 994 - 150 - 10}},   // a fixed margin
        {screen, main, "tv", 15, {540, 422}},  // the tray flag alone: centred
        {screen, main, "mv", 15, {600, 64 + 45}},
        {screen, {1200, 900, 1300, 940}, "mv", 15, {1080, 844}},  // moved up and left
        {screen, {-300, 10, -200, 50}, "mv", 15, {0, 95}},        // kept inside
        // The main window hidden: centred on its monitor, wherever that lies.
        {{-1024, 100, 0, 868}, main, "m", 15, {-1024 + 412, 100 + 309}},
        {{1280, -600, 2080, 0}, main, "m", 15, {1280 + 300, -600 + 225}},
        {{100, 50, 300, 150}, main, "tmv", 15, {100, 50}},  // larger than the work area
    };
    for (const auto& c : cases) {
        NotePlacement p;
        p.workArea = c.workArea;
        p.mainWindow = c.mainWindow;
        p.width = 200;
        p.height = 150;
        p.snapGap = c.gap;
        p.nearTray = c.flags.find('t') != std::string::npos;
        p.nearMain = c.flags.find('m') != std::string::npos;
        p.mainVisible = c.flags.find('v') != std::string::npos;
        EXPECT_EQ(PlaceNewNote(p), c.expected) << c.flags << " " << &c - cases;
    }
}
