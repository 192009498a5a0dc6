#include "TickTime.h"

#include <gtest/gtest.h>

#include <cstdint>

// The sub-second part of -delay counts in microseconds, and nanoseconds
// carry into seconds: a miscount would run the hack faster or slower.
TEST(TickTime, AddDelayCarriesMicrosecondsIntoSeconds) {
  struct Case {
    timespec from;
    uint32_t microseconds;
    timespec to;
  };
  const Case cases[] = {
      {{0, 0}, 150000, {0, 150000000}},
      {{0, 0}, 999999, {0, 999999000}},
      {{1, 900000000}, 150000, {2, 50000000}},
      {{5, 999999999}, 1, {6, 999}},
      {{7, 0}, 2500000, {9, 500000000}},
      {{3, 500000000}, UINT32_MAX, {4298, 467295000}},
  };
  for (const Case& c : cases) {
    timespec t = c.from;
    AddDelay(t, c.microseconds);
    EXPECT_EQ(t.tv_sec, c.to.tv_sec) << c.microseconds;
    EXPECT_EQ(t.tv_nsec, c.to.tv_nsec) << c.microseconds;
  }
}
