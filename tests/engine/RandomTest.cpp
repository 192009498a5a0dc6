#include <gtest/gtest.h>

#include <vector>

#include "FastModulo.h"
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

namespace {

TEST(RandomTest, ConditionalDrawAdvancesOnlyWhenTaken) {
  SeedRandom(777);
  const uint32_t first = DrawRandom();
  const uint32_t second = DrawRandom();
  SeedRandom(777);
  EXPECT_EQ(DrawRandomIf(true), first);
  DrawRandomIf(false);
  DrawRandomIf(false);
  EXPECT_EQ(DrawRandomIf(true), second);
}

TEST(FastModuloTest, EqualsTheRemainderForEveryDrawAndDivisor) {
  std::vector<uint32_t> divisors;
  for (uint32_t divisor = 1; divisor <= 300; ++divisor) divisors.push_back(divisor);
  for (uint32_t divisor : {1000u, 4097u, 32767u, 32768u, 32769u, 65535u, 65536u, 100000u,
                           0xFFFFFFFFu})
    divisors.push_back(divisor);
  for (uint32_t divisor : divisors) {
    const FastModulo modulo(divisor);
    for (uint32_t draw = 0; draw < 32768; ++draw)
      ASSERT_EQ(modulo(draw), draw % divisor) << draw << " % " << divisor;
  }
}

}  // namespace
