// The node pool behind the live items and the key index: distinct nodes, freed ones reused,
// other sizes left to the heap, and a hash table through it keeping every entry it holds.
#include "model/NodePool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <unordered_map>

TEST(NodePool, HandsOutDistinctAlignedNodesReusesFreedOnesAndLeavesOtherSizesToTheHeap)
{
    CNodePool pool;
    std::set<void*> nodes;
    for (int i = 0; i < 200; ++i) { // more than one block
        void* const p = pool.Allocate(24, 8);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 8, 0u);
        std::memset(p, 0xAB, 24); // the whole node is the caller's
        nodes.insert(p);
    }
    EXPECT_EQ(nodes.size(), 200u) << "no node handed out twice";
    EXPECT_TRUE(pool.Serves(24));
    EXPECT_FALSE(pool.Serves(32));
    EXPECT_EQ(pool.Allocate(32, 8), nullptr) << "another size is the caller's to allocate";

    void* const freed = *nodes.begin();
    pool.Free(freed);
    EXPECT_EQ(pool.Allocate(24, 8), freed) << "a freed node is used again";
    for (void* p : nodes) pool.Free(p);
    EXPECT_NE(pool.Allocate(24, 8), nullptr) << "after the last node went, a new block";
}

TEST(NodePool, AHashTableThroughItKeepsEveryEntryItHolds)
{
    CNodePool pool;
    using Map = std::unordered_map<int, int, std::hash<int>, std::equal_to<int>, CPoolAllocator<std::pair<const int, int>>>;
    Map map(0, std::hash<int>(), std::equal_to<int>(), Map::allocator_type(pool));
    for (int i = 0; i < 1000; ++i) map.emplace(i, i * 3);
    for (int i = 0; i < 1000; i += 2) map.erase(i);
    for (int i = 1000; i < 1300; ++i) map.emplace(i, i * 3); // into the freed nodes and beyond
    ASSERT_EQ(map.size(), 800u);
    for (const auto& entry : map) EXPECT_EQ(entry.second, entry.first * 3);
    for (int i = 0; i < 1000; i += 2) EXPECT_EQ(map.count(i), 0u);
    map.clear();
    map.emplace(7, 21);
    EXPECT_EQ(map.at(7), 21);
}
