#pragma once
#include <cstdint>
#include <memory>

#include "Picture.h"
#include "Platform.h"

// The Game of Life world of the saver: a toroidal grid of cells drawn as
// animated faces.
//
// Each cell has a byte whose bit 0 says alive and whose bits 1-7 hold twice
// the number of its live neighbours, kept up to date at every birth and
// death, and a 16-bit face state: low byte the face row, high byte the
// animation frame (0 = blank). When created for a window, the map also keeps
// the pictures the saver shows: the grid picture (one sheet tile per cell),
// the sprite sheet, the mini display (one pixel per cell) and the composed
// picture with the overlays.
class CellMap {
 public:
  // Settings, set by the caller before Create.
  uint32_t seed = 0;                  // next seeding's seed; 0: the clock
  uint32_t displayColor = 0x000000FF; // 0x00BBGGRR: frame, mini display, text
  FontHandle font = nullptr;          // activity-line font, owned by the map
  uint32_t bMiniDisplay = 0;
  uint32_t bActivityBar = 0;
  uint32_t bFrameScreen = 0;
  uint32_t initpop = 0;               // placement attempts per seeding
  uint32_t numRows = 1;               // face rows in the sheet
  uint32_t frameWidth = 0;
  uint32_t frameHeight = 0;
  uint32_t numFrames = 0;
  uint32_t bornEnd = 0;               // last birth frame
  uint32_t liveEnd = 0;               // last idle frame
  uint32_t liveSpan = 1;              // number of idle frames

  CellMap() = default;
  ~CellMap();
  CellMap(const CellMap&) = delete;
  CellMap& operator=(const CellMap&) = delete;

  // Allocates and clears the grid, builds the pictures when a window is
  // given (without one the map runs headless and draws nothing), draws every
  // cell blank and seeds the world. Called once. Failures end the process.
  void Create(WindowHandle window, uint32_t cols, uint32_t rows);

  // Adds up to initpop random live cells; value 0 keeps the stored seed.
  void Seed(uint32_t value);

  // Advances one generation, animates and redraws the visited cells, and
  // reseeds after the population has stalled for 26 steps.
  void NextGeneration();

  // The picture to show: the grid picture, framed if asked, or a copy of it
  // with the mini display and the activity line. Null when the map has no
  // pictures (headless, or a grid of no cells).
  const Picture* Compose();

  // Keeps a copy of the sprite-sheet file name; after Create it is shortened
  // to the face set's display name.
  void SetFaceName(const char* name);

  bool IsAlive(uint32_t x, uint32_t y) const { return (cells_[Index(x, y)] & 1) != 0; }

  // Read-only views of the world, for the saver's tools and tests.
  uint32_t cols() const { return cols_; }
  uint32_t rows() const { return rows_; }
  uint32_t cellCount() const { return cellCount_; }
  int32_t population() const { return population_; }
  int32_t generation() const { return generation_; }
  int32_t stallCountdown() const { return stallCountdown_; }
  int32_t populationHistory(int i) const { return populationHistory_[i]; }
  uint8_t cellByte(uint32_t x, uint32_t y) const { return cells_[Index(x, y)]; }
  uint16_t faceState(uint32_t x, uint32_t y) const { return faceState_[Index(x, y)]; }
  const uint16_t* faceStates() const { return faceState_.get(); }
  const char* faceName() const { return faceName_.get(); }
  int32_t miniDisplayX() const { return miniDisplayX_; }
  int32_t miniDisplayY() const { return miniDisplayY_; }
  const PixelRect& frameRect() const { return frameRect_; }
  const Picture& gridPicture() const { return grid_; }
  const Picture& miniPicture() const { return mini_; }
  const Picture& sheetPicture() const { return sheet_; }

  // Room for the activity line, its end mark included.
  static constexpr size_t kActivityLineSize = 100;
  // Formats " NAME - Population: P Generation: G " into line, cutting a
  // long name so that the line always fits.
  static void FormatActivityLine(char (&line)[kActivityLineSize], const char* name,
                                 int32_t population, int32_t generation);

 private:
  friend struct CellMapProbe;  // tests set up exact patterns through it

  size_t Index(uint32_t x, uint32_t y) const { return size_t{y} * cols_ + x; }
  void BuildPictures(WindowHandle window);
  void ApplyDisplayName();
  void DrawCell(uint32_t x, uint32_t y, uint32_t row, uint32_t frame);
  // Frames and face rows are stored in 8 bits: a face set with more than 256
  // of either uses its first 256.
  uint32_t RowLimit() const;
  void SetMiniCell(uint32_t x, uint32_t y, bool alive);
  uint32_t BitWords() const { return (cols_ + 63) / 64; }
  void StepDeadCells(uint32_t y, uint32_t frameLimit);
  void DrawMarkedCells(uint32_t y, const uint64_t* bits);
  void StepLivelyCells(uint32_t y, uint32_t frameLimit);
  // Offsets from a cell in row y to the cell above and below it.
  size_t UpOffset(uint32_t y) const;
  size_t DownOffset(uint32_t y) const;
  // Birth (+2) or death (-2) seen by the eight toroidal neighbours of (x, y).
  void AddToNeighbours(size_t i, uint32_t x, uint32_t y, uint8_t delta);

  uint32_t cols_ = 0;
  uint32_t rows_ = 0;
  uint32_t cellCount_ = 0;
  int32_t population_ = 0;
  int32_t populationHistory_[3] = {0, 0, 0};
  int32_t generation_ = 0;
  int32_t stallCountdown_ = 25;

  std::unique_ptr<uint8_t[]> cells_;
  std::unique_ptr<uint8_t[]> prevCells_;
  std::unique_ptr<uint16_t[]> faceState_;
  // One row's marks, a bit a cell: live or newborn cells, and dead cells
  // whose death animation ran on (their tiles change).
  std::unique_ptr<uint64_t[]> livelyBits_;
  std::unique_ptr<uint64_t[]> animatingBits_;

  bool drawing_ = false;  // the grid has pictures to draw into
  // The composed picture is kept up to date tile by tile, so that Compose
  // only restores and redraws the overlays instead of copying the whole
  // picture each tick. False until Compose has filled it once.
  bool composeCurrent_ = false;
  Pixel frameBrush_ = 0;  // colour of the frame and mini-display border
  Picture grid_;
  Picture compose_;
  Picture mini_;
  Picture sheet_;
  PixelRect frameRect_ = {0, 0, 0, 0};
  int32_t miniDisplayX_ = 0;
  int32_t miniDisplayY_ = 0;
  std::unique_ptr<char[]> faceName_;
};
