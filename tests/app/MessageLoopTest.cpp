#include "app/MessageLoop_win.h"

#include <gtest/gtest.h>

#include "ui/TestWindow.h"

namespace {

constexpr UINT kPrivate = WM_APP + 17;

void PostInput(HWND window) {
    PostMessageW(window, WM_KEYDOWN, 'A', 1);
    PostMessageW(window, kPrivate, 0, 0);
}

}  // namespace

TEST(MessageLoop, TranslatesAndDispatchesWhatNobodyConsumes) {
    RecordingWindow first, second;
    ASSERT_TRUE(first.Create());
    ASSERT_TRUE(second.Create());
    PostInput(first.Handle());
    PostQuitMessage(7);

    EXPECT_EQ(RunMessageLoop(), 7u);
    EXPECT_TRUE(first.Saw(WM_KEYDOWN));
    EXPECT_TRUE(first.Saw(WM_CHAR));  // made by TranslateMessage
    EXPECT_TRUE(first.Saw(kPrivate));
    EXPECT_GE(second.preTranslateCalls, 3);
}

TEST(MessageLoop, ConsumedMessagesAreNeitherTranslatedNorDispatched) {
    RecordingWindow consumer, later;
    ASSERT_TRUE(consumer.Create());
    ASSERT_TRUE(later.Create());
    consumer.preTranslateResult = false;
    PostInput(later.Handle());
    PostQuitMessage(9);

    EXPECT_EQ(RunMessageLoop(), 9u);
    EXPECT_GE(consumer.preTranslateCalls, 2);
    // The walk stopped at the consumer.
    EXPECT_EQ(later.preTranslateCalls, 0);
    EXPECT_FALSE(later.Saw(WM_KEYDOWN));
    EXPECT_FALSE(later.Saw(WM_CHAR));
    EXPECT_FALSE(later.Saw(kPrivate));
}
