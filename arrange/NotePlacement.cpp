#include "arrange/NotePlacement.h"

#include <algorithm>

int32_t NewNoteMargin(int32_t snapGap) {
    return snapGap == 0 ? 10 : 3 * snapGap;
}

Point PlaceNewNote(const NotePlacement& p) {
    const Rect& work = p.workArea;
    const int32_t margin = NewNoteMargin(p.snapGap);
    Point at;
    if (p.nearTray && p.nearMain) {
        // The notification area usually sits in the bottom-right corner.
        at.x = work.right - p.width - margin;
        at.y = work.bottom - p.height - margin;
    } else if (p.mainVisible && p.nearMain) {
        at.x = p.mainWindow.left;
        at.y = p.mainWindow.bottom + margin;
    } else {
        at.x = work.left + (work.Width() - p.width) / 2;
        at.y = work.top + (work.Height() - p.height) / 2;
    }
    // The left and top edges win over the right and bottom ones when the note
    // is larger than the work area, so its title and menu stay reachable.
    if (at.x + p.width > work.right) at.x = work.right - p.width;
    at.x = std::max(at.x, work.left);
    if (at.y + p.height > work.bottom) at.y = work.bottom - p.height;
    at.y = std::max(at.y, work.top);
    return at;
}
