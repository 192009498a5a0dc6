#include <gtest/gtest.h>

#include "EngineSetup.h"

namespace {

FaceInfo Face(uint32_t numFrames, uint32_t numRows, uint32_t bornEnd, uint32_t dieStart) {
  return {"faces.bmp", 16, 16, numFrames, numRows, bornEnd, dieStart};
}

TEST(EngineSetupTest, GridIsTheClientAreaInWholeFrames) {
  WorldConfig exact = MakeWorldConfig(kDefaultFace, 1024, 768);
  EXPECT_EQ(exact.cols, 64u);
  EXPECT_EQ(exact.rows, 48u);
  WorldConfig remainder = MakeWorldConfig(kDefaultFace, 1000, 700);
  EXPECT_EQ(remainder.cols, 62u);
  EXPECT_EQ(remainder.rows, 43u);
}

TEST(EngineSetupTest, WindowsSmallerThanTwoFramesGetNoCells) {
  for (auto [w, h] : {std::pair{0u, 0u}, {15u, 768u}, {31u, 768u}, {1024u, 31u}, {16u, 16u}}) {
    WorldConfig setup = MakeWorldConfig(kDefaultFace, w, h);
    EXPECT_EQ(setup.cols * setup.rows, 0u) << w << "x" << h;
  }
  WorldConfig smallest = MakeWorldConfig(kDefaultFace, 32, 32);
  EXPECT_EQ(smallest.cols, 2u);
  EXPECT_EQ(smallest.rows, 2u);
}

TEST(EngineSetupTest, FrameRangesOfTheDefaultFaces) {
  WorldConfig setup = MakeWorldConfig(Face(25, 6, 5, 12), 640, 480);
  EXPECT_EQ(setup.frameWidth, 16u);
  EXPECT_EQ(setup.frameHeight, 16u);
  EXPECT_EQ(setup.numFrames, 25u);
  EXPECT_EQ(setup.liveEnd, 11u);
  EXPECT_EQ(setup.bornEnd, 5u);
  EXPECT_EQ(setup.liveSpan, 6u);
  EXPECT_EQ(setup.numRows, 6u);
}

TEST(EngineSetupTest, FrameRangesClipAgainstEachOther) {
  // dieStart 0 wraps: liveEnd is numFrames.
  EXPECT_EQ(MakeWorldConfig(Face(25, 6, 5, 0), 640, 480).liveEnd, 25u);
  // dieStart 1: nothing idles.
  WorldConfig one = MakeWorldConfig(Face(25, 6, 5, 1), 640, 480);
  EXPECT_EQ(one.liveEnd, 0u);
  EXPECT_EQ(one.bornEnd, 0u);
  EXPECT_EQ(one.liveSpan, 1u);
  // bornEnd at or past liveEnd.
  WorldConfig late = MakeWorldConfig(Face(25, 6, 11, 12), 640, 480);
  EXPECT_EQ(late.bornEnd, 11u);
  EXPECT_EQ(late.liveSpan, 1u);
  EXPECT_EQ(MakeWorldConfig(Face(25, 6, 40, 12), 640, 480).bornEnd, 11u);
  // No rows at all still gives one face row.
  EXPECT_EQ(MakeWorldConfig(Face(25, 0, 5, 12), 640, 480).numRows, 1u);
}

}  // namespace
