#include "MonitorLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Rects = std::vector<ScreenRect>;

TEST(LayOutMonitors, OneMonitorGivesTheScreenAsToday) {
  const MonitorLayout layout = LayOutMonitors({0, 0, 1920, 1080}, {{0, 0, 1920, 1080}});
  EXPECT_EQ(layout.window, (ScreenRect{0, 0, 1920, 1080}));
  EXPECT_EQ(layout.monitors, (Rects{{0, 0, 1920, 1080}}));
  // A system without monitor enumeration reports none: the screen is one.
  EXPECT_EQ(LayOutMonitors({0, 0, 640, 480}, {}).monitors, (Rects{{0, 0, 640, 480}}));
  EXPECT_EQ(SingleMonitorLayout(152, 112).monitors, (Rects{{0, 0, 152, 112}}));
}

TEST(LayOutMonitors, SideBySideMonitorsOfDifferentSizesLeaveTheGapUncovered) {
  const MonitorLayout layout =
      LayOutMonitors({0, 0, 4480, 1440}, {{0, 0, 2560, 1440}, {2560, 0, 4480, 1080}});
  EXPECT_EQ(layout.window, (ScreenRect{0, 0, 4480, 1440}));
  EXPECT_EQ(layout.monitors, (Rects{{0, 0, 2560, 1440}, {2560, 0, 4480, 1080}}));
}

TEST(LayOutMonitors, AMonitorAboveAndLeftOfThePrimaryShiftsEverything) {
  const MonitorLayout layout =
      LayOutMonitors({-1920, -1080, 2560, 1440}, {{0, 0, 2560, 1440}, {-1920, -1080, 0, 0}});
  EXPECT_EQ(layout.window, (ScreenRect{-1920, -1080, 2560, 1440}));
  EXPECT_EQ(layout.window.width(), 4480);
  EXPECT_EQ(layout.monitors, (Rects{{1920, 1080, 4480, 2520}, {0, 0, 1920, 1080}}));
}

TEST(LayOutMonitors, PrimaryFirstThenTheOthersByTopThenLeft) {
  const Rects given = {{0, 0, 100, 100},   {300, 0, 400, 100}, {-100, 100, 0, 200},
                       {100, 0, 200, 100}, {0, -100, 100, 0},  {0, 0, 0, 0}};
  const MonitorLayout layout = LayOutMonitors({}, given);
  // No virtual-screen metrics: the bounding box; the empty monitor is dropped.
  EXPECT_EQ(layout.window, (ScreenRect{-100, -100, 400, 200}));
  EXPECT_EQ(layout.monitors, (Rects{{100, 100, 200, 200},
                                    {100, 0, 200, 100},
                                    {200, 100, 300, 200},
                                    {400, 100, 500, 200},
                                    {0, 200, 100, 300}}));
}

TEST(LayOutMonitors, MonitorsStackedAtTheOriginKeepTheirCount) {
  // What Wine on a two-screen Xvfb reports: both heads at 0,0.
  const MonitorLayout layout =
      LayOutMonitors({0, 0, 1024, 768}, {{0, 0, 1024, 768}, {0, 0, 800, 600}});
  EXPECT_EQ(layout.monitors, (Rects{{0, 0, 1024, 768}, {0, 0, 800, 600}}));
}

}  // namespace
