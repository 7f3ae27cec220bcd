#include "model/GrowArray.h"

#include <gtest/gtest.h>

#include <cstdint>

using Array = CGrowArray<uint32_t>;

TEST(GrowArray, GrowthFactorIsClampedToOneAndTwo)
{
    EXPECT_FLOAT_EQ(Array(0, 0.5f).GetGrowthFactor(), 1.0f);
    EXPECT_FLOAT_EQ(Array(0, 3.0f).GetGrowthFactor(), 2.0f);
    EXPECT_FLOAT_EQ(Array(0, 1.5f).GetGrowthFactor(), 1.5f);
}

TEST(GrowArray, InitialCapacityIsZeroed)
{
    Array a(4, 2.0f);
    EXPECT_EQ(a.GetCapacity(), 4);
    EXPECT_EQ(a.GetCount(), 0);
    EXPECT_EQ(a.At(3), 0u);
    EXPECT_EQ(a.GetCount(), 4);
}

TEST(GrowArray, AppendsGrowByTheFactor)
{
    Array doubling;
    std::vector<int> capacities;
    for (uint32_t i = 0; i < 9; ++i) {
        doubling.Add(i);
        capacities.push_back(doubling.GetCapacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{1, 2, 4, 4, 8, 8, 8, 8, 16}));
    for (uint32_t i = 0; i < 9; ++i) EXPECT_EQ(doubling.GetData()[i], i);

    Array single(0, 1.0f);
    for (uint32_t i = 0; i < 5; ++i) {
        single.Add(i);
        EXPECT_EQ(single.GetCapacity(), static_cast<int>(i) + 1);
    }

    Array half(2, 1.5f); // 2 * 1.5 = 3, then 4.5 → 4
    half.Add(1); half.Add(2); half.Add(3);
    EXPECT_EQ(half.GetCapacity(), 3);
    half.Add(4);
    EXPECT_EQ(half.GetCapacity(), 4);
}

TEST(GrowArray, GrowToIndexExtendsWithZeros)
{
    Array a;
    EXPECT_EQ(a.GrowToIndex(5), 5);
    EXPECT_EQ(a.GetCount(), 6);
    EXPECT_EQ(a.GetCapacity(), 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(a.GetData()[i], 0u);

    EXPECT_EQ(a.GrowToIndex(-3), 0) << "negative index is taken as 0";
    EXPECT_EQ(a.GetCount(), 6);

    a.SetSize(2);
    a.At(0) = 7;
    a.At(1) = 8;
    a.GetData()[3] = 99; // stale element beyond the count inside the capacity
    EXPECT_EQ(a.GrowToIndex(4), 4);
    EXPECT_EQ(a.GetCount(), 5);
    EXPECT_EQ(a.GetData()[3], 0u) << "elements between old end and index are zeroed";
    EXPECT_EQ(a.GetCapacity(), 6) << "within capacity nothing is reallocated";

    EXPECT_EQ(a.GrowToIndex(20), 20);
    EXPECT_EQ(a.GetCapacity(), 21) << "max(capacity * 2 = 12, index + 1 = 21)";
    EXPECT_EQ(a.GetData()[0], 7u);
}

TEST(GrowArray, SetSizeAndFreeExtra)
{
    Array a;
    for (uint32_t i = 1; i <= 5; ++i) a.Add(i); // capacity 8
    a.SetSize(2);
    EXPECT_EQ(a.GetCount(), 2);
    EXPECT_EQ(a.GetCapacity(), 8) << "shrinking keeps the capacity";
    a.SetSize(4);
    EXPECT_EQ(a.GetData()[2], 0u);
    EXPECT_EQ(a.GetData()[3], 0u);
    a.SetSize(11);
    EXPECT_EQ(a.GetCapacity(), 11) << "beyond the capacity the block is exact";
    a.SetSize(-1);
    EXPECT_EQ(a.GetCount(), 0);
    a.Add(3);
    a.FreeExtra();
    EXPECT_EQ(a.GetCapacity(), 1);
    a.SetSize(0);
    a.FreeExtra();
    EXPECT_EQ(a.GetCapacity(), 0);
    EXPECT_EQ(a.GetData(), nullptr);
}

TEST(GrowArray, RemoveAtMovesCutsOrRefuses)
{
    Array a;
    for (uint32_t i = 0; i < 5; ++i) a.Add(i);
    EXPECT_TRUE(a.RemoveAt(1, 2));
    ASSERT_EQ(a.GetCount(), 3);
    EXPECT_EQ(a.GetData()[0], 0u);
    EXPECT_EQ(a.GetData()[1], 3u);
    EXPECT_EQ(a.GetData()[2], 4u);

    Array b;
    for (uint32_t i = 0; i < 5; ++i) b.Add(i);
    EXPECT_TRUE(b.RemoveAt(2, 100));
    EXPECT_EQ(b.GetCount(), 2);
    EXPECT_FALSE(b.RemoveAt(5, 1));
    EXPECT_FALSE(b.RemoveAt(-1, 1));
    EXPECT_EQ(b.GetCount(), 2);
    EXPECT_TRUE(b.RemoveAt(0, -1)) << "a negative run cuts the array";
    EXPECT_EQ(b.GetCount(), 0);
    EXPECT_EQ(b.GetCapacity(), 8) << "removal never reduces the capacity";
}

TEST(GrowArray, InsertAtFrontKeepsOrder)
{
    Array a;
    const uint32_t one = 1, two = 2, three[] = {7, 8};
    a.InsertAt(0, &one, 1);
    a.InsertAt(0, &two, 1);
    a.InsertAt(0, three, 2);
    ASSERT_EQ(a.GetCount(), 4);
    EXPECT_EQ(a.GetData()[0], 7u);
    EXPECT_EQ(a.GetData()[1], 8u);
    EXPECT_EQ(a.GetData()[2], 2u);
    EXPECT_EQ(a.GetData()[3], 1u);
}

TEST(GrowArray, ClampIndex)
{
    Array a;
    EXPECT_EQ(a.ClampIndex(3), 0);
    a.Add(1); a.Add(2); a.Add(3);
    EXPECT_EQ(a.ClampIndex(-4), 0);
    EXPECT_EQ(a.ClampIndex(1), 1);
    EXPECT_EQ(a.ClampIndex(9), 2);
}

TEST(GrowArray, CopyAndAssignment)
{
    Array src(0, 1.0f);
    for (uint32_t i = 0; i < 3; ++i) src.Add(i + 10);
    Array copy(src);
    EXPECT_EQ(copy.GetCount(), 3);
    EXPECT_EQ(copy.GetCapacity(), 3);
    EXPECT_FLOAT_EQ(copy.GetGrowthFactor(), 1.0f) << "copy construction copies the factor";

    Array target(0, 2.0f);
    target = src;
    EXPECT_EQ(target.GetCount(), 3);
    EXPECT_EQ(target.GetData()[2], 12u);
    EXPECT_FLOAT_EQ(target.GetGrowthFactor(), 2.0f) << "assignment keeps the target's factor";
    target = target;
    EXPECT_EQ(target.GetCount(), 3);

    Array empty;
    Array emptyCopy(empty);
    EXPECT_EQ(emptyCopy.GetCapacity(), 0);
}
