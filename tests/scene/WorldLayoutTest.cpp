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

// One world on the bounding box: each monitor a view of it, the overlays
// on the primary (relative to the box), a seeding as dense as the primary's.
TEST(PlaceSpannedWorld, OneWorldOnTheBoundingBoxWithOverlaysOnThePrimary) {
  const struct {
    std::vector<ScreenRect> monitors;  // virtual-screen coordinates, primary first
    ScreenRect area;
    ScreenRect overlays;
    double initpopScale;
  } kCases[] = {
      // Side by side, the second lower: the strip under the primary is hidden.
      {{{0, 0, 800, 600}, {800, 0, 1440, 480}}, {0, 0, 1440, 600}, {0, 0, 800, 600}, 1.8},
      // The primary right of the other, with a gap between them.
      {{{0, 0, 400, 300}, {-500, 0, -100, 300}}, {0, 0, 900, 300}, {500, 0, 900, 300}, 2.25},
  };
  for (const auto& c : kCases) {
    const MonitorLayout layout = LayOutMonitors({}, c.monitors);
    const std::vector<WorldPlace> places = PlaceSpannedWorld(layout, 42, 1700000000);
    ASSERT_EQ(places.size(), 1u);
    EXPECT_EQ(places[0].area, c.area);
    EXPECT_EQ(places[0].overlays, c.overlays);
    EXPECT_EQ(places[0].views, layout.monitors);
    EXPECT_DOUBLE_EQ(places[0].initpopScale, c.initpopScale);
    EXPECT_EQ(places[0].seed, 42u);
  }
}

// With one monitor, or monitors so far apart that the box would be mostly
// hidden, each monitor keeps a world of its own, exactly as without spanning.
TEST(PlaceSpannedWorld, OneMonitorOrFarApartMonitorsGetAWorldEach) {
  for (const std::vector<ScreenRect>& monitors :
       {std::vector<ScreenRect>{{0, 0, 800, 600}},
        std::vector<ScreenRect>{{0, 0, 800, 600}, {3000, 2000, 3800, 2600}}}) {
    const MonitorLayout layout = LayOutMonitors({}, monitors);
    const std::vector<WorldPlace> spanned = PlaceSpannedWorld(layout, 0, 99);
    const std::vector<WorldPlace> apart = PlaceWorlds(layout, 0, 99);
    ASSERT_EQ(spanned.size(), apart.size());
    for (size_t i = 0; i < apart.size(); ++i) {
      EXPECT_EQ(spanned[i].area, apart[i].area);
      EXPECT_EQ(spanned[i].views, (std::vector<ScreenRect>{apart[i].area}));
      EXPECT_EQ(spanned[i].overlays, (ScreenRect{0, 0, apart[i].area.width(), apart[i].area.height()}));
      EXPECT_EQ(spanned[i].seed, apart[i].seed);
      EXPECT_EQ(ScaledInitpop(150, spanned[i].initpopScale), 150u);
    }
  }
  EXPECT_EQ(ScaledInitpop(9999, 1.8), 17998u);
  EXPECT_EQ(ScaledInitpop(4000000000u, 2.25), UINT32_MAX);
}

}  // namespace
