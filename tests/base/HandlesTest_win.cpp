// The owners give each handle back exactly once, and only a real one.

#include <gtest/gtest.h>

#include <utility>

#include "base/Handles_win.h"

namespace {

bool IsOpen(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
}

TEST(Handles, KernelHandleClosesOnceAfterMovesAndTakesNeitherFailureValue) {
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, raw);
    {
        KernelHandle first(raw);
        KernelHandle second(std::move(first));
        EXPECT_FALSE(first);
        KernelHandle third;
        third = std::move(second);
        EXPECT_EQ(raw, third.Get());
        EXPECT_TRUE(IsOpen(raw));
    }
    EXPECT_FALSE(IsOpen(raw));

    // CreateFileW's failure value is no handle: nothing to close, no failure.
    KernelHandle failed(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(failed);
    EXPECT_TRUE(failed.Close());
    EXPECT_FALSE(FindHandle(INVALID_HANDLE_VALUE));

    // Release gives the handle up without closing it.
    HANDLE kept = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    { EXPECT_EQ(kept, KernelHandle(kept).Release()); }
    EXPECT_TRUE(IsOpen(kept));
    CloseHandle(kept);
}

TEST(Handles, SelectionPutsBackWhatItReplacedAndGdiObjectsAreDeleted) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(nullptr, dc);
    HGDIOBJ before = GetCurrentObject(dc, OBJ_BRUSH);
    HBRUSH raw = CreateSolidBrush(RGB(1, 2, 3));
    {
        OwnedBrush brush(raw);
        SelectedObject selected(dc, brush.Get());
        EXPECT_EQ(raw, GetCurrentObject(dc, OBJ_BRUSH));
    }
    EXPECT_EQ(before, GetCurrentObject(dc, OBJ_BRUSH));
    EXPECT_EQ(0, GetObjectType(raw));  // deleted after it was deselected
    DeleteDC(dc);

    WindowDc screen(nullptr);
    EXPECT_TRUE(screen);
}

}  // namespace
