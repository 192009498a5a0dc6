#include "WorldLayout.h"

uint32_t WorldSeed(uint32_t seedSetting, uint32_t clock, uint32_t k) {
  return (seedSetting != 0 ? seedSetting : clock) + k;
}

std::vector<WorldPlace> PlaceWorlds(const MonitorLayout& layout, uint32_t seedSetting,
                                    uint32_t clock) {
  std::vector<WorldPlace> worlds;
  for (const ScreenRect& monitor : layout.monitors) {
    const auto k = static_cast<uint32_t>(worlds.size());
    worlds.push_back({monitor, WorldSeed(seedSetting, clock, k)});
  }
  return worlds;
}
