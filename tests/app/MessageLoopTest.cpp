#include "app/MessageLoop_win.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ui/TestWindow.h"

// A key for a child is offered to the child and then its top-level window; the
// first that consumes it ends the walk, and a consumed message is neither
// translated nor dispatched. Other messages are offered to no one, and windows
// off the key's way are never asked.
TEST(MessageLoop, KeysGoUpToTheTopLevelWindowAndConsumedOnesAreNeitherTranslatedNorDispatched) {
    constexpr UINT kPrivate = WM_APP + 17;
    for (bool consume : {false, true}) {
        RecordingWindow top, child, elsewhere;
        ASSERT_TRUE(top.Create() && child.Create(top.Handle()) && elsewhere.Create());
        top.preTranslateResult = !consume;
        PostMessageW(child.Handle(), WM_KEYDOWN, 'A', 1);
        PostMessageW(child.Handle(), kPrivate, 0, 0);
        PostQuitMessage(7);
        EXPECT_EQ(RunMessageLoop(), 7u);
        // The WM_CHAR that translation makes of a key passes the same way.
        const std::vector<UINT> keys =
            consume ? std::vector<UINT>{WM_KEYDOWN} : std::vector<UINT>{WM_KEYDOWN, WM_CHAR};
        EXPECT_EQ(child.preTranslated, keys);
        EXPECT_EQ(top.preTranslated, keys);
        EXPECT_EQ(elsewhere.preTranslateCalls, 0);
        EXPECT_EQ(child.Saw(WM_KEYDOWN), !consume);
        EXPECT_EQ(child.Saw(WM_CHAR), !consume);  // made by TranslateMessage
        EXPECT_TRUE(child.Saw(kPrivate));
    }
}
