#include "app/MessageLoop_win.h"

#include <gtest/gtest.h>

#include "ui/TestWindow.h"

// Each window gets to pre-translate every message; the first that consumes one
// ends the walk, and a consumed message is neither translated nor dispatched.
TEST(MessageLoop, ConsumedMessagesAreNeitherTranslatedNorDispatched) {
    constexpr UINT kPrivate = WM_APP + 17;
    for (bool consume : {false, true}) {
        RecordingWindow first, later;
        ASSERT_TRUE(first.Create() && later.Create());
        first.preTranslateResult = !consume;
        PostMessageW(later.Handle(), WM_KEYDOWN, 'A', 1);
        PostMessageW(later.Handle(), kPrivate, 0, 0);
        PostQuitMessage(7);
        EXPECT_EQ(RunMessageLoop(), 7u);
        EXPECT_GE(first.preTranslateCalls, 2);
        EXPECT_EQ(later.preTranslateCalls > 0, !consume);
        EXPECT_EQ(later.Saw(WM_KEYDOWN), !consume);
        EXPECT_EQ(later.Saw(WM_CHAR), !consume);  // made by TranslateMessage
        EXPECT_EQ(later.Saw(kPrivate), !consume);
    }
}
