#pragma once
// A small cache that keeps the most recently used values: a lookup marks its
// entry used, an insertion into a full cache replaces the least recently used
// entry (the value's destructor frees what it holds). Meant for a few dozen
// entries: lookups walk the entries.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

template <class Key, class Value>
class LruCache {
public:
    explicit LruCache(size_t capacity) : capacity(capacity == 0 ? 1 : capacity) {}

    Value* Find(const Key& key) {
        for (Entry& e : entries) {
            if (e.key == key) {
                e.used = ++clock;
                return &e.value;
            }
        }
        return nullptr;
    }

    Value& Insert(const Key& key, Value value) {
        if (Value* existing = Find(key)) {
            *existing = std::move(value);
            return *existing;
        }
        if (entries.size() < capacity) {
            entries.push_back({key, std::move(value), ++clock});
            return entries.back().value;
        }
        Entry* oldest = &entries.front();
        for (Entry& e : entries) {
            if (e.used < oldest->used) oldest = &e;
        }
        oldest->key = key;
        oldest->value = std::move(value);
        oldest->used = ++clock;
        return oldest->value;
    }

    size_t Size() const { return entries.size(); }
    size_t Capacity() const { return capacity; }

private:
    struct Entry {
        Key key;
        Value value;
        uint64_t used;
    };
    std::vector<Entry> entries;
    uint64_t clock = 0;
    size_t capacity;
};
