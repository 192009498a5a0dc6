#pragma once
// The worlds of the saver window: one per monitor, each sized to its
// monitor and seeded apart from the others, or one spanning them all.
#include <cstdint>
#include <vector>

#include "MonitorLayout.h"

struct WorldPlace {
  ScreenRect area;  // relative to the client area
  uint32_t seed;    // handed to the world's first seeding
  // The parts of the client area that show the world: its monitors. What
  // of the area lies outside them lives on unseen.
  std::vector<ScreenRect> views;
  // Where the overlays go, relative to the area.
  ScreenRect overlays;
  // Each seeding's cells, as a share of the start population setting.
  double initpopScale = 1.0;
};

// The seed of world k (0: the primary monitor's) for the seed setting: a
// fixed seed S gives S + k, so that a layout can be watched again; seed 0
// gives clock + k, so that no two monitors show the same world.
uint32_t WorldSeed(uint32_t seedSetting, uint32_t clock, uint32_t k);

// One world per monitor of the layout, in the layout's order.
std::vector<WorldPlace> PlaceWorlds(const MonitorLayout& layout, uint32_t seedSetting,
                                    uint32_t clock);

// A spanned world may cover at most this many times the pixels its
// monitors show; monitors further apart get a world each.
inline constexpr int64_t kMaxSpanHiddenFactor = 4;

// One world on the bounding box of the monitors, shown on each of them,
// its overlays on the primary, and seeded with as many cells per primary's
// worth of area as the primary alone would get. With one monitor, or with
// monitors so far apart that the box would be mostly hidden, PlaceWorlds.
std::vector<WorldPlace> PlaceSpannedWorld(const MonitorLayout& layout, uint32_t seedSetting,
                                          uint32_t clock);

// The cells a seeding of a world placed with initpopScale makes from the
// start population setting, rounded, at most UINT32_MAX.
uint32_t ScaledInitpop(uint32_t initpop, double initpopScale);
