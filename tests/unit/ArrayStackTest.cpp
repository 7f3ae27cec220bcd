#include "model/ArrayStack.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>

TEST(ArrayStack, PushPopIsLastInFirstOut)
{
    CArrayStack<uint32_t> s;
    for (uint32_t v : {1u, 2u, 3u}) s.push(v);
    EXPECT_EQ(s.GetCount(), 3);
    EXPECT_EQ(s.pop(), 3u);
    EXPECT_EQ(s.pop(), 2u);
    EXPECT_EQ(s.pop(), 1u);
    EXPECT_EQ(s.GetCount(), 0);
}

TEST(ArrayStack, PoppingAnEmptyStackYieldsZeroAndStaysEmpty)
{
    CArrayStack<uint32_t> s;
    EXPECT_EQ(s.pop(), 0u);
    EXPECT_EQ(s.GetCount(), 0);
    EXPECT_EQ(s.Storage().GetCount(), 0);
    s.push(5);
    EXPECT_EQ(s.pop(), 5u);
}

TEST(ArrayStack, AtClampsToTheStack)
{
    CArrayStack<uint32_t> s;
    for (uint32_t v : {10u, 20u, 30u}) s.push(v);
    EXPECT_EQ(*s.At(0), 30u);
    EXPECT_EQ(*s.At(1), 20u);
    EXPECT_EQ(*s.At(7), 10u) << "beyond the bottom: the bottom element";
    EXPECT_EQ(*s.At(-1), 30u) << "negative: the top element";

    CArrayStack<uint32_t> one;
    one.push(4);
    EXPECT_EQ(*one.At(3), 4u);
}

TEST(ArrayStack, DumpListsFromTheTop)
{
    CArrayStack<uint32_t> s;
    s.push(1);
    s.push(4000000000u);
    std::ostringstream out;
    s.Dump(out);
    EXPECT_EQ(out.str(), "{ \n\t4000000000\n\t1\n}\n");
}

TEST(ArrayStack, ClearAndCopyFrom)
{
    CArrayStack<uint32_t> s;
    s.push(1);
    s.push(2);
    CArrayStack<uint32_t> copy;
    copy.CopyFrom(s);
    EXPECT_EQ(copy.GetCount(), 2);
    EXPECT_EQ(copy.pop(), 2u);
    s.Clear();
    EXPECT_EQ(s.GetCount(), 0);
    EXPECT_EQ(s.Storage().GetCapacity(), 0);
}
