#pragma once
// Menu and dialog resources carry language keys as their texts; these replace the
// keys by the texts of a language table once the resource is loaded.

#include <windows.h>

class LanguageTable;

// Every string item of the menu and, depth first, of its submenus gets the key's
// text, or its own text in parentheses when that is no key. Only the item's string
// changes: identifiers, states, types, submenus, bitmaps and item data stay.
// Separators, bitmap and owner-drawn items carry no text and are left as they are.
void TranslateMenu(HMENU menu, const LanguageTable& table);

// The dialog's caption and the texts of its direct child windows are replaced when
// they are keys; any other text, such as "50%", stays, as do empty texts.
void TranslateDialog(HWND dialog, const LanguageTable& table);
