#pragma once
// The program's global hot keys (new note, show or hide the notes, bring them
// to the top, new note from the clipboard), registered for the main window
// from the settings and unregistered with this object.

#include <windows.h>

#include <cstdint>

#include "store/AppSettings.h"

class HotKeys {
public:
    // WM_HOTKEY's wParam is kFirstId plus the HotKeyIndex.
    static constexpr int kFirstId = 123;

    HotKeys() = default;
    ~HotKeys() { Unregister(); }
    HotKeys(const HotKeys&) = delete;
    HotKeys& operator=(const HotKeys&) = delete;

    // Registers every key of `keys` for `window`; a key another program holds
    // stays unregistered. Any earlier registration is dropped first. Returns the
    // keys that could not be registered, bit i for HotKeyIndex i.
    unsigned Register(HWND window, const HotKeySetting (&keys)[kHotKeyCount]);
    void Unregister();

    // The HotKeyIndex of a WM_HOTKEY wParam; -1 when it is none of ours.
    static int IndexOf(WPARAM id);
    // The stored modifier bits (those of the hot-key control: 1 Shift, 2 Ctrl,
    // 4 Alt) as RegisterHotKey takes them.
    static UINT Modifiers(uint16_t stored);

private:
    HWND window = nullptr;
};
