#include "notes/NoteFrames_win.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "arrange/Rect_win.h"
#include "base/MemoryDc_win.h"
#include "notes/NineSlice.h"
#include "notes/NoteLayout.h"
#include "skin/PixelImage.h"
#include "skin/Skin_win.h"
#include "skin/WindowShape_win.h"

namespace {

// Draws one skin bitmap over `dest`: once at its own size, or nine-sliced.
void PaintSkinnedBitmap(HDC dc, HDC memoryDc, const SkinBitmapRef& bitmap, const RECT& dest,
                        const Insets& borders, bool fixed) {
    if (!bitmap || !bitmap->Handle()) return;
    bitmap->Select(memoryDc);
    for (const NoteGeometry::Blit& b : NoteGeometry::NineSliceBlits(
             ToPortable(dest), bitmap->Width(), bitmap->Height(), borders, fixed)) {
        bitmap->DrawTransparent(dc, b.dstX, b.dstY, b.srcX, b.srcY, b.width, b.height);
    }
    bitmap->Deselect();
}

void DrawWhole(HDC dc, HDC memoryDc, const SkinBitmapRef& bitmap, Point at) {
    if (!bitmap || !bitmap->Handle()) return;
    bitmap->Select(memoryDc);
    bitmap->DrawTransparent(dc, at.x, at.y);
    bitmap->Deselect();
}

constexpr uint32_t kTransparentPixel = PixelOf(kCyan);

// The same two operations on pixels in memory; false when the bitmap's pixels
// cannot be had (the frame is then drawn with the system's blits).
bool CopySkinned(PixelImage& frame, const SkinBitmapRef& bitmap, const RECT& dest,
                 const Insets& borders, bool fixed) {
    if (!bitmap || !bitmap->Handle()) return true;
    const PixelImage* source = bitmap->Pixels();
    if (!source) return false;
    for (const NoteGeometry::Blit& b : NoteGeometry::NineSliceBlits(
             ToPortable(dest), bitmap->Width(), bitmap->Height(), borders, fixed)) {
        // As DrawTransparent: a size beyond the bitmap means the bitmap's own.
        const int32_t width = b.width == 0 || b.width > source->width ? source->width : b.width;
        const int32_t height =
            b.height == 0 || b.height > source->height ? source->height : b.height;
        CopyKeyed(frame, b.dstX, b.dstY, *source, b.srcX, b.srcY, width, height, kTransparentPixel);
    }
    return true;
}

bool CopyWhole(PixelImage& frame, const SkinBitmapRef& bitmap, Point at) {
    if (!bitmap || !bitmap->Handle()) return true;
    const PixelImage* source = bitmap->Pixels();
    if (!source) return false;
    CopyKeyed(frame, at.x, at.y, *source, 0, 0, source->width, source->height, kTransparentPixel);
    return true;
}

// A bitmap of the composed pixels that blits to any device context.
OwnedBitmap ToBitmap(const PixelImage& frame) {
    const BITMAPINFO format = TopDown32(frame.width, frame.height);
    void* bits = nullptr;
    OwnedBitmap bitmap(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    std::copy(frame.pixels.begin(), frame.pixels.end(), static_cast<uint32_t*>(bits));
    return bitmap;
}

}  // namespace

NoteFrames::NoteFrames(const Skin& s, const NoteGeometry::NoteMetrics& m) : skin(s), metrics(m) {}

void NoteFrames::DrawDirect(HDC dc, HDC memoryDc, const FrameState& state) const {
    const RECT client = {0, 0, state.width, state.height};
    PaintSkinnedBitmap(dc, memoryDc, skin.background, client, metrics.backgroundBorders,
                       metrics.fixedSize);
    if (state.moreText && skin.moreTextBitmap) {
        DrawWhole(
            dc, memoryDc, skin.moreTextBitmap,
            NoteGeometry::ResolveSkinPosition(metrics.moreTextPos, state.width, state.height));
    }
    if (state.priority >= 0 && state.priority < static_cast<int>(skin.priorityBitmaps.size())) {
        DrawWhole(
            dc, memoryDc, skin.priorityBitmaps[static_cast<size_t>(state.priority)],
            NoteGeometry::ResolveSkinPosition(metrics.priorityPos, state.width, state.height));
    }
    if (state.masked && skin.mask)
        PaintSkinnedBitmap(dc, memoryDc, skin.mask, client, metrics.backgroundBorders,
                           metrics.fixedSize);
}

// Where the skin leaves pixels out (its transparent colour, or beyond a fixed
// background), the composed frame holds magenta: a hole in a layered note. The
// layers are those of DrawDirect, copied in memory: a transparent blit per tile
// costs the system a mask and several blits each.
bool NoteFrames::ComposePixels(const FrameState& state, PixelImage& frame) const {
    // A note larger than any screen (a skin's absurd numbers can make one) is
    // left to the system, which refuses its bitmap rather than run out of memory.
    if (state.width <= 0 || state.height <= 0 ||
        int64_t{state.width} * state.height > kMaxComposedPixels)
        return false;
    frame = PixelImage(state.width, state.height, PixelOf(kMagenta));
    const RECT all = {0, 0, state.width, state.height};
    bool copied =
        CopySkinned(frame, skin.background, all, metrics.backgroundBorders, metrics.fixedSize);
    if (copied && state.moreText && skin.moreTextBitmap) {
        copied = CopyWhole(
            frame, skin.moreTextBitmap,
            NoteGeometry::ResolveSkinPosition(metrics.moreTextPos, state.width, state.height));
    }
    if (copied && state.priority >= 0 &&
        state.priority < static_cast<int>(skin.priorityBitmaps.size())) {
        copied = CopyWhole(
            frame, skin.priorityBitmaps[static_cast<size_t>(state.priority)],
            NoteGeometry::ResolveSkinPosition(metrics.priorityPos, state.width, state.height));
    }
    if (copied && state.masked && skin.mask)
        copied = CopySkinned(frame, skin.mask, all, metrics.backgroundBorders, metrics.fixedSize);
    return copied;
}

OwnedBitmap NoteFrames::Compose(HDC dc, const FrameState& state) {
    PixelImage frame;
    if (ComposePixels(state, frame)) {
        if (OwnedBitmap bitmap = ToBitmap(frame)) return bitmap;
    }
    return ComposeWithBlits(dc, state);
}

// The shape of the background alone: the icons and the mask lie inside it.
HRGN NoteFrames::Shape(int32_t width, int32_t height) {
    FrameState state;
    state.width = width;
    state.height = height;
    state.priority = -1;
    if (OwnedRegion* known = shapes.Find(state)) return known->Get();
    PixelImage frame;
    if (!ComposePixels(state, frame)) return nullptr;
    OwnedRegion made = ShapeRegion(frame);
    if (!made) return nullptr;
    return shapes.Insert(state, std::move(made)).Get();
}

OwnedBitmap NoteFrames::ComposeWithBlits(HDC dc, const FrameState& state) const {
    OwnedBitmap bitmap(CreateCompatibleBitmap(dc, state.width, state.height));
    MemoryDc target(dc);
    MemoryDc source(dc);
    if (!bitmap || !target || !source) return {};
    SelectedObject into(target.Get(), bitmap.Get());
    const RECT all = {0, 0, state.width, state.height};
    if (const OwnedBrush hole{CreateSolidBrush(RGB(255, 0, 255))})
        FillRect(target.Get(), &all, hole.Get());
    DrawDirect(target.Get(), source.Get(), state);
    return bitmap;
}

void NoteFrames::Draw(HDC dc, HDC memoryDc, const FrameState& state) {
    if (state.width <= 0 || state.height <= 0) return;
    HBITMAP frame = nullptr;
    if (OwnedBitmap* known = cache.Find(state)) {
        frame = known->Get();
    } else if (OwnedBitmap made = Compose(dc, state)) {
        frame = cache.Insert(state, std::move(made)).Get();
    }
    if (!frame) {
        // Out of GDI memory for a composed frame: the note still draws.
        DrawDirect(dc, memoryDc, state);
        return;
    }
    SelectedObject from(memoryDc, frame);
    BitBlt(dc, 0, 0, state.width, state.height, memoryDc, 0, 0, SRCCOPY);
}

std::shared_ptr<NoteFrames> NoteFramesFor(const Skin& skin,
                                          const NoteGeometry::NoteMetrics& metrics) {
    static std::vector<std::pair<const Skin*, std::weak_ptr<NoteFrames>>> live;
    for (auto it = live.begin(); it != live.end();) {
        if (it->second.expired()) {
            it = live.erase(it);
            continue;
        }
        if (it->first == &skin) return it->second.lock();
        ++it;
    }
    auto frames = std::make_shared<NoteFrames>(skin, metrics);
    live.push_back({&skin, frames});
    return frames;
}
