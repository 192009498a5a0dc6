#include "WorldLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(PlaceWorlds, AWorldPerMonitorInLayoutOrderWithSeedsCountingUp) {
  const MonitorLayout layout =
      LayOutMonitors({}, {{0, 0, 800, 600}, {800, 0, 1600, 600}, {-640, -480, 0, 0}});
  const std::vector<WorldPlace> fixed = PlaceWorlds(layout, 42, 1700000000);
  ASSERT_EQ(fixed.size(), 3u);
  EXPECT_EQ(fixed[0].area, (ScreenRect{640, 480, 1440, 1080}));
  EXPECT_EQ(fixed[0].seed, 42u);
  EXPECT_EQ(fixed[1].area, (ScreenRect{0, 0, 640, 480}));
  EXPECT_EQ(fixed[1].seed, 43u);
  EXPECT_EQ(fixed[2].seed, 44u);

  // Seed 0: the clock for the primary, as on a single screen, plus k.
  const std::vector<WorldPlace> clocked = PlaceWorlds(layout, 0, 1700000000);
  EXPECT_EQ(clocked[0].seed, 1700000000u);
  EXPECT_EQ(clocked[2].seed, 1700000002u);
  EXPECT_EQ(PlaceWorlds(SingleMonitorLayout(640, 480), 7, 99).front().seed, 7u);
}

}  // namespace
