#include <gtest/gtest.h>

#include "ui/Window_win.h"

// Runs with a 1280x1024 primary monitor and a 1024x768 one to its left.
TEST(VirtualScreenTwoMonitors, MonitorLeftOfThePrimaryGivesANegativeLeftEdge) {
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    RECT rect = VirtualScreenRect();
    EXPECT_EQ(rect.left, -1024);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 1280);
    EXPECT_EQ(rect.bottom, 1024);
}
