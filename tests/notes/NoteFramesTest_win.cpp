// Frames composed in memory against the same frames drawn with the system's
// transparent blits, pixel for pixel, with the skins the program installs.
#include "notes/NoteFrames_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notes/NoteMetrics.h"
#include "skin/Skin_win.h"
#include "support/Bitmaps_win.h"
#include "support/TestPaths.h"

namespace {

TEST(NoteFrames, ComposedInMemoryAsTheSystemsBlitsDrawThem) {
    struct Case {
        const wchar_t* skin;
        int theme;
    };
    for (const Case& c : {Case{L"Default", 0}, Case{L"Default", 2}, Case{L"Classic", 1}}) {
        Skin skin;
        LoadShippedSkin(skin, c.skin, c.theme, true);
        ASSERT_TRUE(skin.background) << TestPaths::Narrow(c.skin);
        NoteFrames frames(skin, NoteGeometry::NoteMetricsOf(skin));
        HDC screen = GetDC(nullptr);
        int compared = 0;
        // Sizes below, at and above the bitmap's; tiles that reach past the edge.
        for (const SIZE size : {SIZE{180, 150}, SIZE{40, 30}, SIZE{333, 211}, SIZE{7, 500}}) {
            for (int priority : {0, 2, 4, 9}) {
                for (int flags = 0; flags < 4; ++flags) {
                    FrameState state;
                    state.width = size.cx;
                    state.height = size.cy;
                    state.priority = priority;
                    state.moreText = (flags & 1) != 0;
                    state.masked = (flags & 2) != 0;
                    const OwnedBitmap composed = frames.Compose(screen, state);
                    const OwnedBitmap blitted = frames.ComposeWithBlits(screen, state);
                    ASSERT_TRUE(composed && blitted);
                    const auto want = ReadPixels(blitted.Get(), size.cx, size.cy);
                    const auto got = ReadPixels(composed.Get(), size.cx, size.cy);
                    size_t first = 0;
                    while (first < want.size() && want[first] == got[first]) ++first;
                    EXPECT_EQ(first, want.size())
                        << TestPaths::Narrow(c.skin) << " theme " << c.theme << " " << size.cx
                        << "x" << size.cy << " priority " << priority << " flags " << flags
                        << ": first difference at (" << first % size.cx << ", " << first / size.cx
                        << ")";
                    ++compared;
                }
            }
        }
        // A note larger than any screen, as a skin's absurd borders can make:
        // left to the system, which refuses a bitmap of gigabytes.
        FrameState giant;
        giant.width = giant.height = 40000;
        EXPECT_FALSE(frames.Compose(screen, giant));
        ReleaseDC(nullptr, screen);
        EXPECT_EQ(compared, 64);
    }
}

}  // namespace
