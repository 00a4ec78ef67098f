#include "main/MenuLists.h"

namespace MenuLists {

namespace {

struct Range {
    List list;
    uint32_t first;
};

constexpr Range kRanges[] = {{List::Note, kFirstNoteId},
                             {List::Language, kFirstLanguageId},
                             {List::Skin, kFirstSkinId},
                             {List::ColorTheme, kFirstColorThemeId}};

static_assert(kFirstNoteId + kListCapacity <= kFirstLanguageId &&
                  kFirstLanguageId + kListCapacity <= kFirstSkinId &&
                  kFirstSkinId + kListCapacity <= kFirstColorThemeId,
              "the list ranges must not overlap");
// Below the fixed commands that live high up (32774 and the note menu's
// 32777, 32778) and above the low ones (up to 205, the note links from 1000).
static_assert(kFirstColorThemeId + kListCapacity <= 32774, "lists run into fixed commands");

}  // namespace

Item ItemOf(uint32_t id) {
    for (const Range& range : kRanges) {
        if (id >= range.first && id - range.first < kListCapacity) {
            return Item{range.list, id - range.first};
        }
    }
    return Item{};
}

uint32_t IdOf(List list, size_t index) {
    if (index >= kListCapacity) return 0;
    for (const Range& range : kRanges) {
        if (range.list == list) return range.first + static_cast<uint32_t>(index);
    }
    return 0;
}

}  // namespace MenuLists
