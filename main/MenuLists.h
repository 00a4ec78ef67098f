#pragma once
// Command identifiers of the main menu's four filled lists: notes, languages,
// skins and colour themes. Each list owns a range of its own below the fixed
// commands' 32774 and capped at kListCapacity entries, so no long list can run
// into the next range and every identifier fits the 16 bits of WM_COMMAND.

#include <cstddef>
#include <cstdint>

namespace MenuLists {

enum class List { None, Note, Language, Skin, ColorTheme };

inline constexpr uint32_t kFirstNoteId = 2000;
inline constexpr uint32_t kFirstLanguageId = 3000;
inline constexpr uint32_t kFirstSkinId = 4000;
inline constexpr uint32_t kFirstColorThemeId = 5000;
inline constexpr size_t kListCapacity = 1000;

// The notes list shows this many notes per level; the rest hang below a last
// "More..." item, level by level, up to kListCapacity notes in all.
inline constexpr size_t kNotesPerLevel = 250;

struct Item {
    List list = List::None;
    size_t index = 0;
};

// The list and index an identifier stands for; List::None for every identifier
// outside the four ranges (the fixed commands, 0).
Item ItemOf(uint32_t id);

// The identifier of a list's entry; 0 (no command) for an index past the cap
// or for List::None.
uint32_t IdOf(List list, size_t index);

// How many entries of a list of `count` the menu shows.
inline size_t ShownCount(size_t count) {
    return count < kListCapacity ? count : kListCapacity;
}

}  // namespace MenuLists
