#pragma once
// Neighbours recounted from the live cells alone, independently of the
// map's own counts.
#include <cstdint>

#include "CellMap.h"

// Twice the number of live cells among the eight toroidal neighbours, counted
// from scratch (a one-wide grid wraps onto itself, so a cell can count itself).
inline unsigned RecountNeighbours(const CellMap& map, uint32_t x, uint32_t y) {
  unsigned count = 0;
  const int64_t cols = map.cols(), rows = map.rows();
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      if (dx == 0 && dy == 0) continue;
      const auto nx = static_cast<uint32_t>((int64_t{x} + dx + cols) % cols);
      const auto ny = static_cast<uint32_t>((int64_t{y} + dy + rows) % rows);
      if (map.IsAlive(nx, ny)) count += 2;
    }
  return count;
}
