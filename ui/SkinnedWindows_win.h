#pragma once
// What the skinned windows of one program share: the live windows, the
// see-through level of the inactive ones, the snapping rules that every
// position change passes, and the monitor work areas and other windows'
// places held for the whole of a drag. The code that puts the program
// together owns one and outlives every window made with it; tests make one
// each. Nothing here is shared between two of them.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "arrange/Rect.h"
#include "arrange/Snapping.h"

class SmallWindow;

class SkinnedWindows {
public:
    // Adjusts the position and size that the system is about to apply to a
    // window of this set.
    using SnapPolicy = std::function<void(SmallWindow& window, WINDOWPOS& pos)>;
    // The monitors' work areas, read at the first hold of a drag.
    using WorkAreaSource = std::function<std::vector<Rect>()>;

    static constexpr uint8_t kDefaultAlpha = 128;

    SkinnedWindows();
    SkinnedWindows(const SkinnedWindows&) = delete;
    SkinnedWindows& operator=(const SkinnedWindows&) = delete;

    // The live windows in the order their windows were made. SmallWindow
    // keeps it: in at Create, out when its window or the object goes.
    const std::vector<SmallWindow*>& Live() const { return live; }
    // Each window is added once and removed once; SmallWindow sees to it.
    void Add(SmallWindow& window);
    void Remove(const SmallWindow& window);

    // The see-through level of inactive layered windows. Windows made later
    // start there; changing it fades every inactive window to the new level,
    // and active ones take it when they next lose activation.
    void SetAlpha(uint8_t value);
    uint8_t Alpha() const { return alpha; }

    // The snapping of one position change of `window`. The standard rules
    // unless a policy replaces them (empty: the standard rules again).
    void Snap(SmallWindow& window, WINDOWPOS& pos);
    void SetSnapPolicy(SnapPolicy policy) { snapPolicy = std::move(policy); }
    // The standard rules: a no-op unless the window's snapping is enabled,
    // Ctrl is up, it is not being sized and the change moves or sizes; then
    // to the grid, or to the other visible windows of this set and the work
    // areas, as the window's settings say.
    void SnapByRules(SmallWindow& window, WINDOWPOS& pos);

    // The work areas and the other windows' places, held from the first hold
    // until the last release: a mouse move or resize gathers them once.
    void Hold();
    void Release();
    int Holds() const { return holds; }
    // The held work areas; read afresh when nothing holds them.
    const std::vector<Rect>& WorkAreas();
    // For tests: where the work areas come from (empty: the system's monitors).
    void SetWorkAreaSource(WorkAreaSource source) { workAreaSource = std::move(source); }

private:
    const std::vector<Arrange::SnapBody>& BodiesFor(const SmallWindow& window);
    std::vector<Rect> ReadAreas() const;

    std::vector<SmallWindow*> live;
    uint8_t alpha = kDefaultAlpha;
    SnapPolicy snapPolicy;
    WorkAreaSource workAreaSource;
    int holds = 0;
    bool areasValid = false;
    std::vector<Rect> areas;
    // The other windows' bodies, gathered at the first snap of a hold for the
    // window that moves, and dropped with the last hold.
    const SmallWindow* mover = nullptr;
    bool bodiesValid = false;
    std::vector<Arrange::SnapBody> bodies;
};
