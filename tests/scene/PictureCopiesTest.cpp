#include "PictureCopies.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

auto Fields(const PixelRect& r) { return std::make_tuple(r.left, r.top, r.right, r.bottom); }

TEST(JoinChangedAreas, JoinsNeighboursOnABandWithinTheGapAndClipsToThePicture) {
  // On a 100 x 50 picture with a gap of 16: 16 apart on a band join, 17 do
  // not, nor does the next band; areas are clipped, or dropped outside.
  const std::vector<PixelRect> changed = {{0, 0, 16, 16},   {32, 0, 48, 16},   {65, 0, 80, 16},
                                          {80, 16, 96, 32}, {90, 40, 120, 60}, {100, 0, 120, 10}};
  const std::vector<PixelRect> expected = {
      {0, 0, 48, 16}, {65, 0, 80, 16}, {80, 16, 96, 32}, {90, 40, 100, 50}};
  std::vector<PixelRect> joined;
  JoinChangedAreas(changed, 100, 50, 16, joined);
  ASSERT_EQ(joined.size(), expected.size());
  for (size_t i = 0; i < joined.size(); ++i) EXPECT_EQ(Fields(joined[i]), Fields(expected[i]));
}

TEST(AreasToCopy, TheChangedAreasUnlessMostOfThePictureChangedOrAllIsAskedFor) {
  const std::vector<PixelRect> few = {{0, 0, 16, 16}, {64, 32, 80, 48}};
  const std::vector<PixelRect> most = {{0, 0, 960, 16}, {0, 16, 960, 32}, {0, 32, 960, 48}};
  std::vector<PixelRect> areas;
  AreasToCopy(false, few, 960, 64, 16, areas);
  EXPECT_EQ(areas.size(), 2u);
  for (const auto& [whole, changed] : {std::pair{true, &few}, std::pair{false, &most}}) {
    AreasToCopy(whole, *changed, 960, 64, 16, areas);
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(Fields(areas[0]), std::make_tuple(0, 0, 960, 64));
  }
}

// A spanned picture on two monitors: an area across their edge is split
// between them; what lies beyond the picture or off every monitor is not
// copied. Monitors that overlap make every copy whole.
TEST(PlanCopies, EachAreaOnEachMonitorClippedToItAndToThePicture) {
  WorldPlace place{};
  place.area = {10, 0, 1610, 600};
  place.views = {{0, 0, 800, 600}, {800, 0, 1440, 480}};
  std::vector<PictureCopy> copies;
  PlanCopies(place.area, place.views, 1600, 592, {{780, 470, 800, 490}, {1500, 0, 1700, 16}},
             copies);
  ASSERT_EQ(copies.size(), 2u);
  const auto fields = [](const PictureCopy& c) {
    return std::make_tuple(c.x, c.y, c.width, c.height, c.sourceX, c.sourceY);
  };
  EXPECT_EQ(fields(copies[0]), std::make_tuple(790, 470, 10, 20, 780, 470));
  EXPECT_EQ(fields(copies[1]), std::make_tuple(800, 470, 10, 10, 790, 470));

  WorldPlace mirrored{};
  mirrored.views = {{0, 0, 640, 480}};
  EXPECT_FALSE(ViewsOverlap({place}));
  EXPECT_TRUE(ViewsOverlap({place, mirrored}));
}

}  // namespace
