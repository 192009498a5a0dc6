#include <gtest/gtest.h>

#include "Random.h"

namespace {

TEST(RandomTest, FollowsTheLinearCongruentialSequence) {
  // state = state * 214013 + 2531011; yield (state >> 16) & 0x7FFF.
  SeedRandom(1);
  EXPECT_EQ(DrawRandom(), 41u);
  EXPECT_EQ(DrawRandom(), 18467u);
  EXPECT_EQ(DrawRandom(), 6334u);
  EXPECT_EQ(DrawRandom(), 26500u);
}

TEST(RandomTest, SameSeedSameSequenceAndValuesStayInRange) {
  SeedRandom(12345);
  uint32_t first[100];
  for (uint32_t& v : first) v = DrawRandom();
  SeedRandom(12345);
  for (uint32_t v : first) EXPECT_EQ(DrawRandom(), v);
  SeedRandom(0xFFFFFFFFu);
  for (int i = 0; i < 100000; ++i) ASSERT_LE(DrawRandom(), 32767u);
}

}  // namespace
