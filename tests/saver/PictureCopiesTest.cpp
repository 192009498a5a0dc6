#include "PictureCopies.h"

#include <gtest/gtest.h>

namespace {

bool Same(const PixelRect& a, const PixelRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(JoinChangedAreas, JoinsNeighboursOnABandWithinTheGapAndClipsToThePicture) {
  const struct {
    std::vector<PixelRect> changed;
    std::vector<PixelRect> joined;
  } kCases[] = {
      // 16 pixels apart on one band: one area; 17 apart: two.
      {{{0, 0, 16, 16}, {32, 0, 48, 16}, {65, 0, 80, 16}}, {{0, 0, 48, 16}, {65, 0, 80, 16}}},
      // The next band is not joined, even where it touches.
      {{{0, 0, 16, 16}, {16, 16, 32, 16 + 16}}, {{0, 0, 16, 16}, {16, 16, 32, 32}}},
      // Clipped to the picture (100 x 50); outside it, dropped.
      {{{90, 40, 120, 60}, {-5, -5, 3, 3}, {100, 0, 120, 10}}, {{90, 40, 100, 50}, {0, 0, 3, 3}}},
  };
  for (const auto& c : kCases) {
    std::vector<PixelRect> joined;
    JoinChangedAreas(c.changed, 100, 50, 16, joined);
    ASSERT_EQ(joined.size(), c.joined.size());
    for (size_t i = 0; i < joined.size(); ++i) EXPECT_TRUE(Same(joined[i], c.joined[i])) << i;
  }
}

TEST(AreasToCopy, TheChangedAreasUnlessMostOfThePictureOrAllIsAskedFor) {
  const std::vector<PixelRect> few = {{0, 0, 16, 16}, {64, 32, 80, 48}};
  const std::vector<PixelRect> most = {{0, 0, 960, 16}, {0, 16, 960, 32}, {0, 32, 960, 48}};
  std::vector<PixelRect> areas;
  AreasToCopy(false, few, 960, 64, 16, areas);
  EXPECT_EQ(areas.size(), 2u);
  for (const auto& [whole, changed] : {std::pair{true, &few}, std::pair{false, &most}}) {
    AreasToCopy(whole, *changed, 960, 64, 16, areas);
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_TRUE(Same(areas[0], {0, 0, 960, 64}));
  }
}

// A spanned picture on two monitors: each area is copied to each monitor
// that shows it, split at the monitors' edges; what lies beyond the picture
// or off every monitor is not copied.
TEST(PlanCopies, EachAreaOnEachMonitorClippedToItAndToThePicture) {
  const ScreenRect area = {10, 0, 1610, 600};
  const std::vector<ScreenRect> views = {{0, 0, 800, 600}, {800, 0, 1440, 480}};
  const std::vector<PixelRect> areas = {{780, 470, 800, 490}, {1500, 0, 1700, 16}};
  std::vector<PictureCopy> copies;
  PlanCopies(area, views, 1600, 592, areas, copies);
  ASSERT_EQ(copies.size(), 2u);
  const PictureCopy expected[] = {{790, 470, 10, 20, 780, 470}, {800, 470, 10, 10, 790, 470}};
  for (size_t i = 0; i < 2; ++i) {
    const PictureCopy& c = copies[i];
    const PictureCopy& e = expected[i];
    EXPECT_EQ(std::vector<int>({c.x, c.y, c.width, c.height, c.sourceX, c.sourceY}),
              std::vector<int>({e.x, e.y, e.width, e.height, e.sourceX, e.sourceY}))
        << i;
  }
}

TEST(ViewsOverlap, OnlyWhenTwoWorldsShareAPartOfTheWindow) {
  WorldPlace left{}, right{}, mirrored{};
  left.views = {{0, 0, 800, 600}};
  right.views = {{800, 0, 1440, 480}};
  mirrored.views = {{0, 0, 640, 480}};
  EXPECT_FALSE(ViewsOverlap({left, right}));
  EXPECT_TRUE(ViewsOverlap({left, right, mirrored}));
  EXPECT_FALSE(ViewsOverlap({left}));
}

}  // namespace
