#include "notes/LruCache.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Values that count their own destruction, as the cached bitmaps free theirs.
struct Counted {
    std::shared_ptr<int> freed;
    int id = 0;
    Counted() = default;
    Counted(std::shared_ptr<int> f, int i) : freed(std::move(f)), id(i) {}
    Counted(Counted&&) = default;
    Counted& operator=(Counted&& other) {
        Release();
        freed = std::move(other.freed);
        id = other.id;
        return *this;
    }
    ~Counted() { Release(); }
    void Release() {
        if (freed) ++*freed;
        freed.reset();
    }
};

TEST(LruCache, KeepsTheRecentlyUsedAndFreesWhatItEvicts) {
    auto freed = std::make_shared<int>(0);
    LruCache<std::string, Counted> cache(2);
    cache.Insert("a", Counted(freed, 1));
    cache.Insert("b", Counted(freed, 2));
    ASSERT_NE(cache.Find("a"), nullptr);  // "b" is now the least recently used
    cache.Insert("c", Counted(freed, 3));
    EXPECT_EQ(1, *freed);
    EXPECT_EQ(nullptr, cache.Find("b"));
    EXPECT_EQ(1, cache.Find("a")->id);
    EXPECT_EQ(3, cache.Find("c")->id);
    EXPECT_EQ(2u, cache.Size());

    // Inserting a key that is there replaces its value in place.
    cache.Insert("a", Counted(freed, 4));
    EXPECT_EQ(2, *freed);
    EXPECT_EQ(4, cache.Find("a")->id);
    EXPECT_EQ(2u, cache.Size());

    // Later evictions go on in order of use: the slot just refilled is the newest,
    // and an entry found again outlives those inserted after it.
    LruCache<int, int> three(3);
    for (int key : {1, 2, 3}) three.Insert(key, key * 10);
    ASSERT_NE(three.Find(1), nullptr);
    three.Insert(4, 40);  // evicts 2
    three.Insert(5, 50);  // evicts 3, not 4 in 2's old slot
    EXPECT_EQ(nullptr, three.Find(2));
    EXPECT_EQ(nullptr, three.Find(3));
    ASSERT_NE(three.Find(4), nullptr);
    three.Insert(6, 60);  // evicts 1: 4 and 5 were used after it
    EXPECT_EQ(nullptr, three.Find(1));
    EXPECT_EQ(40, *three.Find(4));
    EXPECT_EQ(50, *three.Find(5));
    EXPECT_EQ(60, *three.Find(6));
    EXPECT_EQ(3u, three.Capacity());

    LruCache<int, int> one(0);  // a capacity of 0 still keeps one entry
    one.Insert(1, 10);
    one.Insert(2, 20);
    EXPECT_EQ(nullptr, one.Find(1));
    EXPECT_EQ(20, *one.Find(2));
}

}  // namespace
