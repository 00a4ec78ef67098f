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

    LruCache<int, int> one(0);  // a capacity of 0 still keeps one entry
    one.Insert(1, 10);
    one.Insert(2, 20);
    EXPECT_EQ(nullptr, one.Find(1));
    EXPECT_EQ(20, *one.Find(2));
}

}  // namespace
