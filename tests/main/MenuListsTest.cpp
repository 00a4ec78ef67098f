#include "main/MenuLists.h"

#include <gtest/gtest.h>

using namespace MenuLists;

namespace {

// The edges of every range: its first and last identifier, and one past each
// side, which must belong to the neighbour or to nothing.
TEST(MenuLists, RangeBoundaries) {
    const struct {
        uint32_t id;
        List list;
        size_t index;
    } cases[] = {
        {0, List::None, 0},
        {1999, List::None, 0},
        {2000, List::Note, 0},
        {2999, List::Note, 999},
        {3000, List::Language, 0},
        {3999, List::Language, 999},
        {4000, List::Skin, 0},
        {4999, List::Skin, 999},
        {5000, List::ColorTheme, 0},
        {5999, List::ColorTheme, 999},
        {6000, List::None, 0},
        {32774, List::None, 0},
        {65535, List::None, 0},
        {0x10000 + 2000, List::None, 0},
        // Fixed commands of both menus stay outside every range.
        {132, List::None, 0},
        {205, List::None, 0},
        {1000, List::None, 0},
    };
    for (const auto& c : cases) {
        const Item item = ItemOf(c.id);
        EXPECT_EQ(item.list, c.list) << c.id;
        if (c.list != List::None) {
            EXPECT_EQ(item.index, c.index) << c.id;
        }
    }
}

TEST(MenuLists, IdentifiersRoundTripUpToTheCap) {
    for (List list : {List::Note, List::Language, List::Skin, List::ColorTheme}) {
        for (size_t index : {size_t{0}, size_t{1}, kListCapacity - 1}) {
            const uint32_t id = IdOf(list, index);
            EXPECT_LE(id, 0xFFFFu);
            const Item item = ItemOf(id);
            EXPECT_EQ(item.list, list);
            EXPECT_EQ(item.index, index);
        }
        // The 1,001st entry has no identifier rather than the next list's first.
        EXPECT_EQ(IdOf(list, kListCapacity), 0u);
        EXPECT_EQ(IdOf(list, size_t{1} << 40), 0u);
    }
    EXPECT_EQ(IdOf(List::None, 0), 0u);
    EXPECT_EQ(ShownCount(0), 0u);
    EXPECT_EQ(ShownCount(999), 999u);
    EXPECT_EQ(ShownCount(5000), kListCapacity);
}

}  // namespace
