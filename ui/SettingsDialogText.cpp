#include "ui/SettingsDialogText.h"

std::wstring HotKeyText(uint16_t modifiers, const std::wstring& keyName,
                        const ModifierNames& names) {
    std::wstring text;
    if (modifiers & 2) text += names.ctrl + L"+";
    if (modifiers & 1) text += names.shift + L"+";
    if (modifiers & 4) text += names.alt + L"+";
    return text + keyName;
}

std::wstring PlainLabel(const std::wstring& label) {
    std::wstring text;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == L'&') {
            if (i + 1 < label.size() && label[i + 1] == L'&') text += L'&';
            ++i;
            if (i < label.size() && label[i] != L'&') text += label[i];
            continue;
        }
        text += label[i];
    }
    while (!text.empty() && (text.back() == L':' || text.back() == L' ')) text.pop_back();
    return text;
}
