#pragma once
// The frame of a note (background, more-text marker, priority icon and, while
// masked, the mask) composed once per size and state into a bitmap that every
// note of that size and state then copies with one BitBlt. Drawing it from the
// skin takes a transparent blit per nine-slice tile, which under load costs
// more than making the window; the frame is composed from the skin's pixels in
// memory instead, and a thousand notes of a few sizes share a few frames.
//
// One NoteFrames serves the notes of one loaded skin; NoteFramesFor hands the
// notes a shared one and drops it with the last of them, so a restart with a
// new skin starts afresh.

#include <windows.h>

#include <cstdint>
#include <memory>

#include "base/Handles_win.h"
#include "notes/LruCache.h"
#include "notes/NoteMetrics.h"

struct Skin;
struct PixelImage;

struct FrameState {
    int32_t width = 0;
    int32_t height = 0;
    int priority = 0;
    bool moreText = false;
    bool masked = false;  // the mask is drawn (masked, with a mask bitmap, layered)

    friend bool operator==(const FrameState& a, const FrameState& b) {
        return a.width == b.width && a.height == b.height && a.priority == b.priority &&
               a.moreText == b.moreText && a.masked == b.masked;
    }
};

class NoteFrames {
public:
    static constexpr size_t kCapacity = 48;
    // Frames of more pixels (16 MB of them) are composed with the system's blits.
    static constexpr int64_t kMaxComposedPixels = int64_t{1} << 22;

    NoteFrames(const Skin& skin, const NoteGeometry::NoteMetrics& metrics);

    // Draws the frame of a note in `state` at the top left of `dc`. memoryDc is
    // a scratch memory DC compatible with dc.
    void Draw(HDC dc, HDC memoryDc, const FrameState& state);
    // The same, straight from the skin bitmaps, without composing.
    void DrawDirect(HDC dc, HDC memoryDc, const FrameState& state) const;

    size_t Composed() const { return cache.Size(); }

    // Composes the frame of `state` as Draw caches it: in memory, or with the
    // system's blits (ComposeWithBlits) when the skin's pixels cannot be read.
    OwnedBitmap Compose(HDC dc, const FrameState& state);
    OwnedBitmap ComposeWithBlits(HDC dc, const FrameState& state) const;

    // The window region of a note of this size that is not layered: the
    // frame's pixels without its holes. Shared: a window takes a copy
    // (ApplyWindowShape). Null when the skin's pixels cannot be had.
    HRGN Shape(int32_t width, int32_t height);

private:
    const Skin& skin;
    NoteGeometry::NoteMetrics metrics;
    bool ComposePixels(const FrameState& state, PixelImage& frame) const;

    LruCache<FrameState, OwnedBitmap> cache{kCapacity};
    LruCache<FrameState, OwnedRegion> shapes{kCapacity};
};

std::shared_ptr<NoteFrames> NoteFramesFor(const Skin& skin,
                                          const NoteGeometry::NoteMetrics& metrics);
