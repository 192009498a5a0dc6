#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "CellListener.h"
#include "CreateResult.h"
#include "Random.h"
#include "WorldConfig.h"

// The Game of Life world of the saver: a toroidal grid of cells, each with
// an animated face. It keeps no pictures: canvases (FaceCanvas) follow it
// through the CellListener seam and draw it.
//
// Each cell has a byte whose bit 0 says alive and whose bits 1-7 hold twice
// the number of its live neighbours, kept up to date at every birth and
// death, and a 16-bit face state: low byte the face row, high byte the
// animation frame (0 = blank).
class CellMap {
 public:
  CellMap() = default;
  CellMap(const CellMap&) = delete;
  CellMap& operator=(const CellMap&) = delete;

  // Allocates and clears the grid for config and seeds the world. Called
  // once. kOutOfMemory when the grid cannot be allocated.
  CreateResult Create(const WorldConfig& config);

  // Adds up to initpop random live cells; value 0 keeps the stored seed.
  void Seed(uint32_t value);

  // Advances one generation, animates the visited cells, tells the
  // listeners row by row, and reseeds after the population has stalled for
  // 26 steps.
  void NextGeneration();

  // Listeners are told of every later change; each must stay alive until it
  // is removed or the world is gone.
  void AddListener(CellListener* listener);
  void RemoveListener(CellListener* listener);

  // Exact patterns for tests and tools: Clear kills every cell without
  // animation; SetCell makes the cell alive or dead (as a birth or death,
  // neighbour counts included) and sets its face state. Neither counts as a
  // generation; listeners hear of each cell set.
  void Clear();
  void SetCell(uint32_t x, uint32_t y, bool alive, uint32_t faceRow, uint32_t frame);

  bool IsAlive(uint32_t x, uint32_t y) const { return (cells_[Index(x, y)] & 1) != 0; }

  // Read-only views of the world.
  const WorldConfig& config() const { return config_; }
  uint32_t seed() const { return seed_; }  // the next seeding's seed
  uint32_t cols() const { return config_.cols; }
  uint32_t rows() const { return config_.rows; }
  uint32_t cellCount() const { return cellCount_; }
  int32_t population() const { return population_; }
  int32_t generation() const { return generation_; }
  int32_t stallCountdown() const { return stallCountdown_; }
  int32_t populationHistory(int i) const { return populationHistory_[i]; }
  uint8_t cellByte(uint32_t x, uint32_t y) const { return cells_[Index(x, y)]; }
  uint16_t faceState(uint32_t x, uint32_t y) const { return faceState_[Index(x, y)]; }
  const uint16_t* faceStates() const { return faceState_.get(); }

 private:
  size_t Index(uint32_t x, uint32_t y) const { return size_t{y} * config_.cols + x; }
  // Frames and face rows are stored in 8 bits: a face set with more than 256
  // of either uses its first 256.
  uint32_t RowLimit() const;
  uint32_t BitWords() const { return (config_.cols + 63) / 64; }
  void StepDeadCells(uint32_t y, uint32_t frameLimit);
  void StepLivelyCells(uint32_t y, uint32_t frameLimit);
  void TellRow(uint32_t y);
  void TellPlaced(uint32_t x, uint32_t y, bool alive);
  // Offsets from a cell in row y to the cell above and below it.
  size_t UpOffset(uint32_t y) const;
  size_t DownOffset(uint32_t y) const;
  // Birth (+2) or death (-2) seen by the eight toroidal neighbours of (x, y).
  void AddToNeighbours(size_t i, uint32_t x, uint32_t y, uint8_t delta);

  WorldConfig config_;
  Random random_;
  uint32_t seed_ = 0;
  uint32_t cellCount_ = 0;
  int32_t population_ = 0;
  int32_t populationHistory_[3] = {0, 0, 0};
  int32_t generation_ = 0;
  int32_t stallCountdown_ = 25;

  std::unique_ptr<uint8_t[]> cells_;
  std::unique_ptr<uint8_t[]> prevCells_;
  std::unique_ptr<uint16_t[]> faceState_;
  // One row's marks, a bit a cell: live or newborn cells, dead cells whose
  // death animation ran on, and the row's births and deaths.
  std::unique_ptr<uint64_t[]> livelyBits_;
  std::unique_ptr<uint64_t[]> animatingBits_;
  std::unique_ptr<uint64_t[]> birthBits_;
  std::unique_ptr<uint64_t[]> deathBits_;
  std::unique_ptr<uint64_t[]> redrawBits_;

  std::vector<CellListener*> listeners_;
};
