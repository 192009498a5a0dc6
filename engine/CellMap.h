#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "CellListener.h"
#include "CreateResult.h"
#include "FastModulo.h"
#include "Random.h"
#include "WorldConfig.h"

// The Game of Life world of the saver: a toroidal grid of cells, each with
// an animated face. It keeps no pictures: canvases (FaceCanvas) follow it
// through the CellListener seam and draw it.
//
// The cells are kept as bits, 64 to a word, each row starting a new word;
// a step decides the births and deaths of 64 cells at once from bit-sliced
// neighbour sums. Each cell also has a face state: its animation frame
// (0 = blank) and its face row, shown as one 16-bit value, low byte the face
// row, high byte the frame (a blank face is 0). The step animates only the
// cells that need it (alive, born, dying or still animating), in row-major
// order, which is the order of their random draws.
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

  // Stagnant generations tolerated before the world is reseeded.
  static constexpr int32_t kStallTolerance = 25;

  // Advances one generation, animates the visited cells, tells the
  // listeners row by row, and reseeds on the first stagnant generation past
  // the kStallTolerance tolerated ones.
  void NextGeneration();

  // Listeners are told of every later change; each must stay alive until it
  // is removed or the world is gone.
  void AddListener(CellListener* listener);
  void RemoveListener(CellListener* listener);

  // Exact patterns for tests and tools: Clear kills every cell without
  // animation; SetCell makes the cell alive or dead and sets its face (a
  // frame of 0 is the blank face, whatever the face row). Neither counts as
  // a generation; listeners hear of each cell set.
  void Clear();
  void SetCell(uint32_t x, uint32_t y, bool alive, uint32_t faceRow, uint32_t frame);

  bool IsAlive(uint32_t x, uint32_t y) const {
    return ((alive_[size_t{y} * words_ + x / 64] >> (x % 64)) & 1u) != 0;
  }

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
  // Bit 0 alive, bits 1-7 twice the number of live cells among the eight
  // toroidal neighbours (on a grid one cell wide or high the cell itself
  // and its neighbours count as often as they appear around it).
  uint8_t cellByte(uint32_t x, uint32_t y) const;
  uint16_t faceState(uint32_t x, uint32_t y) const { return FaceState(FaceIndex(x, y)); }
  // Every cell's face state, row-major; valid until the world changes.
  const uint16_t* faceStates() const;

 private:
  size_t FaceIndex(uint32_t x, uint32_t y) const { return size_t{y} * faceStride_ + x; }
  uint16_t FaceState(size_t i) const {
    return static_cast<uint16_t>(frames_[i] == 0 ? 0 : faceRows_[i] | (frames_[i] << 8));
  }
  uint64_t* AliveRow(uint32_t y) { return alive_.get() + size_t{y} * words_; }
  uint64_t* ShowingRow(uint32_t y) { return showing_.get() + size_t{y} * words_; }
  void SetBit(uint64_t* row, uint32_t x, bool on);
  // Frames and face rows are stored in 8 bits: a face set with more than 256
  // of either uses its first 256.
  uint32_t RowLimit() const;
  // Sums of each row's cells with their left and right neighbours, as two
  // bit planes: ones and twos.
  void SumRowTriples();
  void NextRow(uint32_t y, uint64_t* next) const;
  // Row y's marks for the listeners: the cells visited, born and died.
  void MarkRow(uint32_t y, const uint64_t* next);
  // Animates row y's visited cells, their drawn faces chosen by draws.
  template <class Draws>
  void StepFaces(uint32_t y, const uint64_t* next, Draws draws);
  void TellRow(uint32_t y);
  void TellPlaced(uint32_t x, uint32_t y, bool alive);

  WorldConfig config_;
  Random random_;
  uint32_t seed_ = 0;
  uint32_t cellCount_ = 0;
  uint32_t words_ = 0;         // 64-bit words per row
  size_t faceStride_ = 0;      // bytes per row of a face plane
  uint64_t lastWordMask_ = 0;  // the columns of a row's last word
  int32_t population_ = 0;
  int32_t populationHistory_[3] = {0, 0, 0};
  int32_t generation_ = 0;
  int32_t stallCountdown_ = kStallTolerance;

  // The face rules, fixed at creation: frames run below frameLimit_ (at
  // most 256), idle frames start at firstIdle_; a newborn's face row and a
  // survivor's idle frame are draws modulo these; drawnFacesFit_ says that
  // every such frame lies in the row.
  uint32_t frameLimit_ = 0;
  uint32_t firstIdle_ = 1;
  FastModulo faceRowOf_{1};
  FastModulo idleFrameOf_{1};
  bool drawnFacesFit_ = false;
  // When they fit: each draw's idle frame and face row, looked up.
  std::unique_ptr<uint8_t[]> idleFrameOfDraw_;
  std::unique_ptr<uint8_t[]> faceRowOfDraw_;

  // Bit boards, rows x words_: the live cells, the next generation's while
  // a step runs, and the cells whose face is not blank.
  std::unique_ptr<uint64_t[]> alive_;
  std::unique_ptr<uint64_t[]> next_;
  std::unique_ptr<uint64_t[]> showing_;
  std::unique_ptr<uint64_t[]> tripleOnes_;
  std::unique_ptr<uint64_t[]> tripleTwos_;
  // Faces as two planes: the frame of each cell, and its face row, which
  // means something only while the frame is not 0 or the cell is alive (a
  // live cell of frame 0 has face row 0). Rows are faceStride_ bytes apart,
  // whole words of cells, so that a word of frames never leaves its row;
  // the cells past the last column stay blank.
  std::unique_ptr<uint8_t[]> frames_;
  std::unique_ptr<uint8_t[]> faceRows_;
  std::unique_ptr<uint16_t[]> rowFaces_;  // one row's face states for listeners
  // faceStates() as last made, and the change it was made after.
  mutable std::vector<uint16_t> faceStateCopy_;
  mutable uint64_t faceStateCopyChange_ = 0;
  uint64_t changes_ = 1;  // counts the steps, seedings and cells set
  // One row's marks for the listeners: the cells visited, born and died.
  std::unique_ptr<uint64_t[]> visitedBits_;
  std::unique_ptr<uint64_t[]> birthBits_;
  std::unique_ptr<uint64_t[]> deathBits_;

  std::vector<CellListener*> listeners_;
};
