#pragma once
// The worlds of the saver window: one per monitor, each sized to its
// monitor and seeded apart from the others.
#include <cstdint>
#include <vector>

#include "MonitorLayout.h"

struct WorldPlace {
  ScreenRect area;  // relative to the client area
  uint32_t seed;    // handed to the world's first seeding
};

// The seed of world k (0: the primary monitor's) for the seed setting: a
// fixed seed S gives S + k, so that a layout can be watched again; seed 0
// gives clock + k, so that no two monitors show the same world.
uint32_t WorldSeed(uint32_t seedSetting, uint32_t clock, uint32_t k);

// One world per monitor of the layout, in the layout's order.
std::vector<WorldPlace> PlaceWorlds(const MonitorLayout& layout, uint32_t seedSetting,
                                    uint32_t clock);
