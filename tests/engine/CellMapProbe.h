#pragma once
// Test access to a CellMap: clear the world and place exact patterns, and
// recount neighbours independently of the map's incremental counts.
#include <cstring>
#include <vector>

#include "CellMap.h"

struct CellMapProbe {
  // Kills every cell without animation: an empty, blank world.
  static void Clear(CellMap& map) {
    std::memset(map.cells_.get(), 0, map.cellCount_);
    std::memset(map.faceState_.get(), 0, map.cellCount_ * sizeof(uint16_t));
    map.population_ = 0;
  }

  // Brings (x, y) to life as seeding does, with the given face row and frame.
  static void Place(CellMap& map, uint32_t x, uint32_t y, uint32_t row = 0,
                    uint32_t frame = 1) {
    const size_t i = map.Index(x, y);
    if (map.cells_[i] & 1) return;
    map.cells_[i] |= 1;
    map.AddToNeighbours(i, x, y, 2);
    map.faceState_[i] = static_cast<uint16_t>(row | (frame << 8));
    ++map.population_;
  }

  static void SetFace(CellMap& map, uint32_t x, uint32_t y, uint32_t row, uint32_t frame) {
    map.faceState_[map.Index(x, y)] = static_cast<uint16_t>(row | (frame << 8));
  }
};

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
