#include <gtest/gtest.h>

#include <vector>

#include "FastModulo.h"
#include "Random.h"

namespace {

TEST(RandomTest, FollowsTheLinearCongruentialSequence) {
  // state = state * 214013 + 2531011; yield (state >> 16) & 0x7FFF.
  Random random;  // state 1 until seeded
  EXPECT_EQ(random.Draw(), 41u);
  EXPECT_EQ(random.Draw(), 18467u);
  random.Seed(1);
  EXPECT_EQ(random.Draw(), 41u);
  EXPECT_EQ(random.Draw(), 18467u);
  EXPECT_EQ(random.Draw(), 6334u);
  EXPECT_EQ(random.Draw(), 26500u);
}

TEST(RandomTest, SameSeedSameSequenceAndValuesStayInRange) {
  Random random;
  random.Seed(12345);
  uint32_t first[100];
  for (uint32_t& v : first) v = random.Draw();
  random.Seed(12345);
  for (uint32_t v : first) EXPECT_EQ(random.Draw(), v);
  random.Seed(0xFFFFFFFFu);
  for (int i = 0; i < 100000; ++i) ASSERT_LE(random.Draw(), 32767u);
}

}  // namespace

namespace {

TEST(FastModuloTest, EqualsTheRemainderForEveryDrawAndDivisor) {
  std::vector<uint32_t> divisors;
  for (uint32_t divisor = 1; divisor <= 300; ++divisor) divisors.push_back(divisor);
  for (uint32_t divisor :
       {1000u, 4097u, 32767u, 32768u, 32769u, 65535u, 65536u, 100000u, 0xFFFFFFFFu})
    divisors.push_back(divisor);
  for (uint32_t divisor : divisors) {
    const FastModulo modulo(divisor);
    for (uint32_t draw = 0; draw < 32768; ++draw)
      ASSERT_EQ(modulo(draw), draw % divisor) << draw << " % " << divisor;
  }
}

}  // namespace

namespace {

TEST(RandomTest, PeekAndSkipFollowTheSequence) {
  Random stepped, leaping;
  stepped.Seed(0xC0FFEEu);
  leaping.Seed(0xC0FFEEu);
  for (uint32_t leap : {1u, 7u, 64u, 33u}) {
    for (uint32_t k = 1; k <= leap; ++k) ASSERT_EQ(leaping.Peek(k), stepped.Draw()) << k;
    leaping.Skip(leap);
  }
  EXPECT_EQ(leaping.Draw(), stepped.Draw());
}

}  // namespace
