#include "notes/NoteMetrics.h"

#include "skin/SkinDefinition.h"

namespace NoteGeometry {

namespace {

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
    m.backgroundBorders = skin.backgroundBorders;
    m.maskInsets = skin.maskInsets;
    m.editInsets = skin.editInsets;
    m.resizeRect = skin.resizeRect;
    m.priorityPos = skin.priorityPos;
    m.moreTextPos = skin.moreTextPos;
    m.menuButton = ToPlace(skin.menuButton);
    m.deleteButton = ToPlace(skin.deleteButton);
    return m;
}

}  // namespace NoteGeometry
