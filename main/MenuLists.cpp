#include "main/MenuLists.h"

#include "res/resource.h"

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

static_assert(kFirstNoteId == IDM_FIRST_NOTE && kFirstLanguageId == IDM_FIRST_LANGUAGE &&
                  kFirstSkinId == IDM_FIRST_SKIN && kFirstColorThemeId == IDM_FIRST_COLOR_THEME,
              "the resource script's first identifiers and these must agree");
static_assert(kFirstNoteId + kListCapacity <= kFirstLanguageId &&
                  kFirstLanguageId + kListCapacity <= kFirstSkinId &&
                  kFirstSkinId + kListCapacity <= kFirstColorThemeId,
              "the list ranges must not overlap");
// Between the fixed commands numbered up to 205 and those from 32774 up.
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
