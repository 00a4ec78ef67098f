#include "notes/NoteMetrics.h"

#include "skin/SkinDefinition.h"

namespace NoteGeometry {

namespace {

Rect ToRect(const SkinRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}
Point ToPoint(const SkinPoint& p) {
    return {p.x, p.y};
}
ButtonPlace ToPlace(const ButtonDef& def) {
    return {def.visible, {def.x, def.y}};
}

}  // namespace

NoteMetrics NoteMetricsOf(const SkinDefinition& skin) {
    NoteMetrics m;
    m.hasBackgroundBitmap = skin.background != nullptr;
    m.backgroundWidth = skin.backgroundWidth;
    m.backgroundHeight = skin.backgroundHeight;
    m.fixedSize = skin.fixedSize;
    m.backgroundBorders = ToRect(skin.backgroundBorders);
    m.maskInsets = ToRect(skin.maskInsets);
    m.editInsets = ToRect(skin.editInsets);
    m.resizeRect = ToRect(skin.resizeRect);
    m.priorityPos = ToPoint(skin.priorityPos);
    m.moreTextPos = ToPoint(skin.moreTextPos);
    m.menuButton = ToPlace(skin.menuButton);
    m.deleteButton = ToPlace(skin.deleteButton);
    return m;
}

}  // namespace NoteGeometry
