#include "app/HotKeys_win.h"

unsigned HotKeys::Register(HWND target, const HotKeySetting (&keys)[kHotKeyCount]) {
    Unregister();
    window = target;
    unsigned failed = 0;
    for (int i = 0; i < kHotKeyCount; ++i) {
        // A cleared field in the settings dialog means no hot key.
        if (keys[i].virtualKey == 0) continue;
        if (!RegisterHotKey(window, kFirstId + i, Modifiers(keys[i].modifiers), keys[i].virtualKey))
            failed |= 1u << i;
    }
    return failed;
}

void HotKeys::Unregister() {
    if (!window) return;
    for (int i = 0; i < kHotKeyCount; ++i) UnregisterHotKey(window, kFirstId + i);
    window = nullptr;
}

int HotKeys::IndexOf(WPARAM id) {
    if (id < static_cast<WPARAM>(kFirstId) || id >= static_cast<WPARAM>(kFirstId + kHotKeyCount))
        return -1;
    return static_cast<int>(id) - kFirstId;
}

UINT HotKeys::Modifiers(uint16_t stored) {
    UINT modifiers = 0;
    if (stored & 1) modifiers |= MOD_SHIFT;
    if (stored & 2) modifiers |= MOD_CONTROL;
    if (stored & 4) modifiers |= MOD_ALT;
    return modifiers;
}
