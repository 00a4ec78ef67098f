#include "main/MainMenuText.h"

std::wstring NoteMenuItemText(const std::wstring& title, bool locked, bool hidden,
                              const NoteMenuSuffixes& suffixes) {
    std::wstring text = title;
    if (locked) {
        text += hidden ? suffixes.lockedHidden : suffixes.locked;
    } else if (hidden) {
        text += suffixes.hidden;
    }
    const size_t last = text.find_last_not_of(L" \r\n\t");
    if (last != std::wstring::npos) text.erase(last + 1);
    return text;
}
