#include "WorldLayout.h"

#include <algorithm>
#include <cmath>

namespace {
int64_t Pixels(const ScreenRect& r) { return int64_t{r.width()} * r.height(); }
}  // namespace

uint32_t WorldSeed(uint32_t seedSetting, uint32_t clock, uint32_t k) {
  return (seedSetting != 0 ? seedSetting : clock) + k;
}

std::vector<WorldPlace> PlaceWorlds(const MonitorLayout& layout, uint32_t seedSetting,
                                    uint32_t clock) {
  std::vector<WorldPlace> worlds;
  for (const ScreenRect& monitor : layout.monitors) {
    const auto k = static_cast<uint32_t>(worlds.size());
    worlds.push_back({monitor,
                      WorldSeed(seedSetting, clock, k),
                      {monitor},
                      {0, 0, monitor.width(), monitor.height()}});
  }
  return worlds;
}

std::vector<WorldPlace> PlaceSpannedWorld(const MonitorLayout& layout, uint32_t seedSetting,
                                          uint32_t clock) {
  if (layout.monitors.size() < 2) return PlaceWorlds(layout, seedSetting, clock);
  ScreenRect box = layout.monitors.front();
  int64_t shown = 0;
  for (const ScreenRect& monitor : layout.monitors) {
    box.left = std::min(box.left, monitor.left);
    box.top = std::min(box.top, monitor.top);
    box.right = std::max(box.right, monitor.right);
    box.bottom = std::max(box.bottom, monitor.bottom);
    shown += Pixels(monitor);  // overlaps counted twice: a generous measure
  }
  if (Pixels(box) > kMaxSpanHiddenFactor * shown) return PlaceWorlds(layout, seedSetting, clock);

  const ScreenRect& primary = layout.monitors.front();
  WorldPlace place{box,
                   WorldSeed(seedSetting, clock, 0),
                   layout.monitors,
                   {primary.left - box.left, primary.top - box.top, primary.right - box.left,
                    primary.bottom - box.top},
                   static_cast<double>(Pixels(box)) / static_cast<double>(Pixels(primary))};
  return {place};
}

uint32_t ScaledInitpop(uint32_t initpop, double initpopScale) {
  const double cells = std::round(initpop * initpopScale);
  return cells >= 4294967295.0 ? UINT32_MAX : static_cast<uint32_t>(cells);
}
