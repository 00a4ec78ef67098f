#pragma once
// Portable pieces of the settings dialog: the encoding of its result message and
// the texts that name a hot key to the user.

#include <cstdint>
#include <string>

namespace SettingsResult {

// wParam of the result message: 1 when the dialog has closed, plus 65536 when
// the edited settings are to be applied. OK posts 65537, Apply 65536, Cancel
// and the close box 1. lParam is 1 when the user agreed to restart.
inline constexpr uint32_t kClosed = 1;
inline constexpr uint32_t kApply = 65536;

inline constexpr uint32_t Encode(bool closed, bool apply) {
    return (closed ? kClosed : 0) + (apply ? kApply : 0);
}

// The owner reads any bit of the high word as apply and any of the low word as
// closed.
inline constexpr bool Applies(uint64_t wParam) {
    return ((wParam >> 16) & 0xFFFF) != 0;
}
inline constexpr bool Closes(uint64_t wParam) {
    return (wParam & 0xFFFF) != 0;
}

}  // namespace SettingsResult

// The names of the modifier keys, as the system's keyboard layout gives them.
struct ModifierNames {
    std::wstring ctrl = L"Ctrl";
    std::wstring shift = L"Shift";
    std::wstring alt = L"Alt";
};

// "Ctrl+Shift+N": the modifiers of the hot-key control's flag byte (1 Shift,
// 2 Ctrl, 4 Alt; 8, the extended-key bit, names nothing) in the order the
// control shows them, then the key.
std::wstring HotKeyText(uint16_t modifiers, const std::wstring& keyName,
                        const ModifierNames& names = ModifierNames());

// A control's label as plain text for a message: mnemonic marks removed ("&&"
// stays one "&") and a trailing colon and spaces dropped.
std::wstring PlainLabel(const std::wstring& label);
