#pragma once
// Popup menu items drawn by their owner: icon, check mark, text and the
// keyboard underline, in the system's menu colours and font.
//
// The system's own menu text is not used: under Wine it draws the underline of
// an item's keyboard letter one letter or more to its right (detached after
// the word when the letter is the last one), because Wine draws text narrower
// than it measures it and places the underline by the measure. The owner
// places each letter and the underline by one measure.

#include <windows.h>

#include <string>

// What an owner-drawn item shows. The item data of every prepared item points
// at one, owned here until its popup is prepared again.
struct MenuItemLook {
    std::wstring text;  // as the menu holds it: '&' before the keyboard letter
    UINT icon = 0;      // identifier of the icon to draw (MenuIcons_win.h), 0 for none
    bool isDefault = false;
};

// Prepares an opening popup: every item but separators is drawn by the owner
// (MFT_OWNERDRAW; the menu keeps its text, so GetMenuStringW still reads it)
// and its item data points at its look. A command item whose identifier has
// an icon (hasIcon) shows it; submenu items never do (their identifier is
// their handle cut to a number, which may equal a command's).
void PrepareMenuItems(HMENU menu, bool (*hasIcon)(UINT id));

// The look that a prepared item's data points at; null for any other data.
const MenuItemLook* LookOfMenuItem(ULONG_PTR itemData);

// The text as shown without the keyboard underline: each '&' marking a letter
// removed, "&&" shown as one '&'.
std::wstring WithoutMenuPrefixes(const std::wstring& text);

// The letter after the first single '&', or 0.
wchar_t MenuMnemonic(const std::wstring& text);

// Answers WM_MEASUREITEM and WM_DRAWITEM for a prepared item; false for any
// other item. The underline lies under its letter; it is left out when the
// system says keyboard cues are hidden (ODS_NOACCEL).
bool MeasureMenuItem(MEASUREITEMSTRUCT& item);
bool DrawMenuItem(const DRAWITEMSTRUCT& item);

// The answer to WM_MENUCHAR (the system does not look into the text of
// owner-drawn items on Windows): the item whose keyboard letter is `key`,
// chosen when it is the only one, otherwise selected (the next one after the
// highlighted item, round the end); MNC_IGNORE when none has it.
LRESULT MenuCharAnswer(HMENU menu, wchar_t key);
