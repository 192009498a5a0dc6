#include "DismissRules.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(MovedFarEnough, FourPixelsInAllDoNotDismiss) {
  EXPECT_FALSE(MovedFarEnough(100, 100, 100, 100));
  EXPECT_FALSE(MovedFarEnough(100, 100, 102, 102));
  EXPECT_FALSE(MovedFarEnough(100, 100, 96, 100));
  EXPECT_FALSE(MovedFarEnough(100, 100, 99, 97));
}

TEST(MovedFarEnough, FivePixelsInAllDismissInEveryDirection) {
  EXPECT_TRUE(MovedFarEnough(100, 100, 103, 102));
  EXPECT_TRUE(MovedFarEnough(100, 100, 97, 98));
  EXPECT_TRUE(MovedFarEnough(100, 100, 100, 105));
  EXPECT_TRUE(MovedFarEnough(100, 100, 95, 100));
}

TEST(MovedFarEnough, NegativeScreenCoordinatesOfOtherMonitors) {
  EXPECT_FALSE(MovedFarEnough(-10, -10, -8, -12));
  EXPECT_TRUE(MovedFarEnough(-2, 0, 3, 0));
}

TEST(MovedFarEnough, ExtremeCoordinatesDoNotOverflowIntoAStandStill) {
  EXPECT_TRUE(MovedFarEnough(INT32_MIN, 0, INT32_MAX, 0));
  EXPECT_FALSE(MovedFarEnough(INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN));
}

TEST(WithinPasswordHoldOff, NeverAskedHoldsNothingOff) {
  EXPECT_FALSE(WithinPasswordHoldOff(0, kNeverAsked));
  EXPECT_FALSE(WithinPasswordHoldOff(kNeverAsked, kNeverAsked));
}

TEST(WithinPasswordHoldOff, TwoHundredMillisecondsFromTheEndOfTheQuestion) {
  EXPECT_TRUE(WithinPasswordHoldOff(5000, 5000));
  EXPECT_TRUE(WithinPasswordHoldOff(5199, 5000));
  EXPECT_FALSE(WithinPasswordHoldOff(5200, 5000));
  EXPECT_FALSE(WithinPasswordHoldOff(90000, 5000));
}

TEST(WithinPasswordHoldOff, TickCounterWrapDoesNoHarm) {
  EXPECT_TRUE(WithinPasswordHoldOff(50, 0xFFFFFFF0u));
  EXPECT_FALSE(WithinPasswordHoldOff(300, 0xFFFFFFF0u));
}

}  // namespace
