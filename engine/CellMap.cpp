#include "CellMap.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <new>
#include <string>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "ActivityFont.h"
#include "Fatal.h"
#include "FastModulo.h"
#include "Random.h"

namespace {
constexpr int32_t kStallTolerance = 25;
constexpr uint32_t kMaxFaceIndex = 256;  // frames and rows fit 8 bits
// Where the activity line may draw: from (2, 2), a line of a font of at most
// a few dozen pixels, across the whole picture.
constexpr PixelRect kActivityBand = {0, 0, INT32_MAX, 48};

template <typename T>
std::unique_ptr<T[]> AllocateCleared(size_t count) {
  return std::unique_ptr<T[]>(new (std::nothrow) T[count == 0 ? 1 : count]());
}

// One cell's step when it is dead and not born (the common case): a running
// death animation steps on and turns blank past the last frame; a blank cell
// stays blank. Written without branches. A live or newborn cell is left for
// the caller and only marked lively.
inline void StepDeadCell(uint8_t b, uint16_t& face, uint32_t frameLimit, uint8_t& lively,
                         uint8_t& animating) {
  const uint32_t s = face;
  const uint32_t isLively = (b & 1u) | static_cast<uint32_t>(b == 6);
  const uint32_t runsOn =
      static_cast<uint32_t>(s != 0) & static_cast<uint32_t>((s >> 8) + 1 < frameLimit);
  const uint32_t animated = (s + 256u) & (0u - runsOn);
  const uint32_t keep = 0u - isLively;
  face = static_cast<uint16_t>((s & keep) | (animated & ~keep));
  lively = static_cast<uint8_t>(isLively);
  animating = static_cast<uint8_t>(static_cast<uint32_t>(s != 0) & (isLively ^ 1u));
}

// The same for a block of eight cells at once; the marks come back as bit
// masks (bit j: cell j).
inline void StepDeadBlock(const uint8_t* prev, uint16_t* faces, uint32_t frameLimit,
                          uint32_t& lively, uint32_t& animating) {
#ifdef __SSE2__
  const __m128i zero = _mm_setzero_si128();
  const __m128i b =
      _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(prev)), zero);
  const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(faces));
  const __m128i one = _mm_set1_epi16(1);
  const __m128i isLively = _mm_or_si128(_mm_cmpeq_epi16(_mm_and_si128(b, one), one),
                                        _mm_cmpeq_epi16(b, _mm_set1_epi16(6)));
  const __m128i isBlank = _mm_cmpeq_epi16(s, zero);
  const __m128i nextFrame = _mm_add_epi16(_mm_srli_epi16(s, 8), one);
  const __m128i inRow = _mm_cmplt_epi16(nextFrame, _mm_set1_epi16(static_cast<short>(frameLimit)));
  const __m128i runsOn = _mm_andnot_si128(isBlank, inRow);
  const __m128i animated = _mm_and_si128(_mm_add_epi16(s, _mm_set1_epi16(0x100)), runsOn);
  const __m128i result =
      _mm_or_si128(_mm_and_si128(isLively, s), _mm_andnot_si128(isLively, animated));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(faces), result);
  lively = static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(isLively, zero)));
  const __m128i isAnimating = _mm_andnot_si128(_mm_or_si128(isLively, isBlank), _mm_set1_epi16(-1));
  animating = static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(isAnimating, zero)));
#else
  lively = animating = 0;
  for (uint32_t j = 0; j < 8; ++j) {
    uint8_t isLively = 0, isAnimating = 0;
    StepDeadCell(prev[j], faces[j], frameLimit, isLively, isAnimating);
    lively |= uint32_t{isLively} << j;
    animating |= uint32_t{isAnimating} << j;
  }
#endif
}
}  // namespace

CellMap::~CellMap() {
  // The pictures go first: the font may still be selected into one.
  grid_.Release();
  compose_.Release();
  mini_.Release();
  sheet_.Release();
  DeleteActivityFont(font);
}

void CellMap::SetFaceName(const char* name) {
  faceName_.reset();
  if (name == nullptr) return;
  const size_t size = std::strlen(name) + 1;
  faceName_.reset(new (std::nothrow) char[size]);
  if (faceName_) std::memcpy(faceName_.get(), name, size);
}

void CellMap::Create(WindowHandle window, uint32_t cols, uint32_t rows) {
  frameBrush_ = PixelFromColor(displayColor);
  cols_ = cols;
  rows_ = rows;
  cellCount_ = cols * rows;
  frameRect_ = {0, 0, static_cast<int>(cols) + 4, static_cast<int>(rows) + 4};

  cells_ = AllocateCleared<uint8_t>(cellCount_);
  prevCells_ = AllocateCleared<uint8_t>(cellCount_);
  faceState_ = AllocateCleared<uint16_t>(cellCount_);
  livelyBits_ = AllocateCleared<uint64_t>(BitWords());
  animatingBits_ = AllocateCleared<uint64_t>(BitWords());
  if (!cells_ || !prevCells_ || !faceState_ || !livelyBits_ || !animatingBits_)
    FatalExit("Out of memory.", "No Memory");

  if (liveSpan == 0) liveSpan = 1;

  if (window != nullptr) {
    BuildPictures(window);
    for (uint32_t y = 0; y < rows_; ++y)
      for (uint32_t x = 0; x < cols_; ++x) DrawCell(x, y, 0, 0);
  }

  if (initpop == 0) initpop = 1;
  if (initpop > cellCount_) initpop = cellCount_;
  Seed(0);
}

void CellMap::BuildPictures(WindowHandle window) {
  const int pictureWidth = static_cast<int>(cols_ * frameWidth);
  const int pictureHeight = static_cast<int>(rows_ * frameHeight);
  const bool emptyGrid = cellCount_ == 0;
  if (!emptyGrid) {
    grid_.Create(window, pictureWidth, pictureHeight);
    compose_.Create(window, pictureWidth, pictureHeight);
    mini_.Create(window, static_cast<int>(cols_) + 4, static_cast<int>(rows_) + 4);
  }

  if (!faceName_) FatalExit("No target filename specified.", "No filename");
  const std::string name = faceName_.get();
  if (numFrames == 0 || frameWidth == 0 || frameHeight == 0)
    FatalExit("Bad frame dimensions, " + name, "Bad Frame");

  const uint64_t sheetWidth = uint64_t{numFrames} * frameWidth;
  const uint64_t sheetHeight = uint64_t{numRows} * frameHeight;
  Picture::LoadResult loaded = Picture::LoadResult::kUnreadable;
  if (sheetWidth <= INT32_MAX && sheetHeight <= INT32_MAX)
    loaded = sheet_.LoadScaled(window, name.c_str(), static_cast<int>(sheetWidth),
                               static_cast<int>(sheetHeight));
  if (loaded == Picture::LoadResult::kUnreadable)
    FatalExit("Unable to find, " + name, "No Faces");
  if (!sheet_.valid() || (!emptyGrid && (!grid_.valid() || !mini_.valid())))
    FatalExit("Can`t create cellmap.", "???");

  compose_.PrepareText(font, displayColor);
  miniDisplayX_ = static_cast<int32_t>((frameWidth - 1) * cols_ - 6);
  miniDisplayY_ = 2;

  mini_.Fill(frameRect_, frameBrush_);
  frameRect_ = {1, 1, static_cast<int>(cols_) + 3, static_cast<int>(rows_) + 3};
  mini_.Fill(frameRect_, 0);
  frameRect_ = {0, 0, pictureWidth, pictureHeight};
  grid_.Fill(frameRect_, 0);

  ApplyDisplayName();
  drawing_ = !emptyGrid;
}

void CellMap::ApplyDisplayName() {
  char* name = faceName_.get();
  char* dot = std::strchr(name, '.');
  if (dot == nullptr) return;
  *dot = '\0';
  if (name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 'a' + 'A');
}

void CellMap::DrawCell(uint32_t x, uint32_t y, uint32_t row, uint32_t frame) {
  if (!drawing_) return;
  const int sx = static_cast<int>(frame * frameWidth), sy = static_cast<int>(row * frameHeight);
  const int w = static_cast<int>(frameWidth), h = static_cast<int>(frameHeight);
  const int dx = static_cast<int>(x * frameWidth), dy = static_cast<int>(y * frameHeight);
  grid_.CopyTile(sheet_, sx, sy, w, h, dx, dy);
  if (composeCurrent_) compose_.CopyTile(sheet_, sx, sy, w, h, dx, dy);
}

void CellMap::SetMiniCell(uint32_t x, uint32_t y, bool alive) {
  if (!drawing_ || bMiniDisplay == 0) return;
  mini_.SetPixel(static_cast<int>(x) + 2, static_cast<int>(y) + 2,
                 alive ? frameBrush_ : 0);
}

namespace {
// Adds delta to the eight neighbours of the cell at `cell`, given the
// offsets of the rows above and below and of the columns left and right.
// Negative offsets are unsigned values that wrap; they are indexed as the
// signed steps they stand for, since a pointer may not wrap around.
inline void AddAround(uint8_t* cell, size_t up, size_t down, size_t left, size_t right,
                      uint8_t delta) {
  const auto add = [&](size_t offset) {
    uint8_t& neighbour = cell[static_cast<std::ptrdiff_t>(offset)];
    neighbour = static_cast<uint8_t>(neighbour + delta);
  };
  add(up + left);
  add(up);
  add(up + right);
  add(left);
  add(right);
  add(down + left);
  add(down);
  add(down + right);
}
}  // namespace

size_t CellMap::UpOffset(uint32_t y) const {
  return y == 0 ? cellCount_ - cols_ : size_t{0} - cols_;
}

size_t CellMap::DownOffset(uint32_t y) const {
  return y == rows_ - 1 ? size_t{0} - (cellCount_ - cols_) : cols_;
}

void CellMap::AddToNeighbours(size_t i, uint32_t x, uint32_t y, uint8_t delta) {
  // Per-cell offsets resolve the wrap-around. On a one-row or one-column
  // grid some offsets are 0 and the cell counts itself: the eight updates
  // still stay inside the array.
  const size_t left = x == 0 ? cols_ - 1 : size_t{0} - 1;
  const size_t right = x == cols_ - 1 ? size_t{0} - (cols_ - 1) : 1;
  AddAround(cells_.get() + i, UpOffset(y), DownOffset(y), left, right, delta);
}

uint32_t CellMap::RowLimit() const { return std::clamp(numRows, 1u, kMaxFaceIndex); }

void CellMap::Seed(uint32_t value) {
  if (value != 0)
    seed = value;
  else if (seed == 0)
    seed = static_cast<uint32_t>(std::time(nullptr));
  SeedRandom(seed);

  if (cellCount_ != 0) {
    const uint32_t rowLimit = RowLimit();
    for (uint32_t attempt = 0; attempt < initpop; ++attempt) {
      const uint32_t x = DrawRandom() % cols_;
      const uint32_t y = DrawRandom() % rows_;
      const size_t i = Index(x, y);
      if (cells_[i] & 1) continue;
      cells_[i] |= 1;
      AddToNeighbours(i, x, y, 2);
      faceState_[i] = static_cast<uint16_t>((DrawRandom() % rowLimit) | (1u << 8));
      SetMiniCell(x, y, true);
      ++population_;
    }
  }
  generation_ = 0;
  seed = DrawRandom();
  populationHistory_[0] = populationHistory_[1] = populationHistory_[2] = -1;
}

void CellMap::StepDeadCells(uint32_t y, uint32_t frameLimit) {
  const size_t rowStart = size_t{y} * cols_;
  const uint8_t* prev = prevCells_.get() + rowStart;
  uint16_t* faces = faceState_.get() + rowStart;
  std::memset(livelyBits_.get(), 0, BitWords() * sizeof(uint64_t));
  std::memset(animatingBits_.get(), 0, BitWords() * sizeof(uint64_t));
  for (uint32_t blockX = 0; blockX < cols_; blockX += 8) {
    const uint32_t count = std::min(8u, cols_ - blockX);
    uint32_t lively = 0, animating = 0;
    if (count == 8) {
      // A block of dead, blank cells with no live neighbours (most of a
      // sparse world) is skipped whole.
      uint64_t cellWord, faceWords[2];
      std::memcpy(&cellWord, prev + blockX, sizeof cellWord);
      std::memcpy(faceWords, faces + blockX, sizeof faceWords);
      if ((cellWord | faceWords[0] | faceWords[1]) == 0) continue;
      StepDeadBlock(prev + blockX, faces + blockX, frameLimit, lively, animating);
    } else {
      for (uint32_t j = 0; j < count; ++j) {
        uint8_t isLively = 0, isAnimating = 0;
        StepDeadCell(prev[blockX + j], faces[blockX + j], frameLimit, isLively, isAnimating);
        lively |= uint32_t{isLively} << j;
        animating |= uint32_t{isAnimating} << j;
      }
    }
    livelyBits_[blockX / 64] |= uint64_t{lively} << (blockX % 64);
    animatingBits_[blockX / 64] |= uint64_t{animating} << (blockX % 64);
  }
}

void CellMap::DrawMarkedCells(uint32_t y, const uint64_t* bits) {
  const uint16_t* faces = faceState_.get() + size_t{y} * cols_;
  for (uint32_t word = 0; word < BitWords(); ++word)
    for (uint64_t marks = bits[word]; marks != 0; marks &= marks - 1) {
      const uint32_t x = word * 64 + static_cast<uint32_t>(__builtin_ctzll(marks));
      DrawCell(x, y, faces[x] & 0xFFu, faces[x] >> 8u);
    }
}

void CellMap::StepLivelyCells(uint32_t y, uint32_t frameLimit) {
  // Fields are read into locals once: every byte written through the cell
  // array could otherwise alias them and force reloads.
  const size_t rowStart = size_t{y} * cols_;
  uint8_t* const cells = cells_.get() + rowStart;
  const uint8_t* const prev = prevCells_.get() + rowStart;
  uint16_t* const faces = faceState_.get() + rowStart;
  const uint64_t* const marksOfRow = livelyBits_.get();
  const uint32_t lastCol = cols_ - 1;
  const size_t up = UpOffset(y), down = DownOffset(y);
  const uint32_t firstIdle = bornEnd + 1;
  const FastModulo faceRowOf(RowLimit());
  const FastModulo idleFrameOf(liveSpan);
  const bool drawing = drawing_;
  int32_t populationChange = 0;
  for (uint32_t word = 0, words = BitWords(); word < words; ++word)
    for (uint64_t marks = marksOfRow[word]; marks != 0; marks &= marks - 1) {
      const uint32_t x = word * 64 + static_cast<uint32_t>(__builtin_ctzll(marks));
      const uint32_t b = prev[x];
      const uint32_t row = faces[x] & 0xFFu;
      const uint32_t frame = faces[x] >> 8u;
      // Alive with two or three live neighbours survives; otherwise alive
      // dies; dead here means three live neighbours: born. The outcomes
      // are selected rather than branched to, as they are hard to predict.
      // (Bitwise operators on the flags keep the compiler from branching.)
      const uint32_t born = (b & 1u) ^ 1u;
      const uint32_t survives = static_cast<uint32_t>(b == 5) | static_cast<uint32_t>(b == 7);
      const uint32_t dies = (born | survives) ^ 1u;
      const uint32_t idles = survives & static_cast<uint32_t>(frame >= firstIdle);
      const uint32_t draw = DrawRandomIf((born | idles) != 0);

      // A survivor adds 0: the neighbour update needs no branch either.
      cells[x] ^= static_cast<uint8_t>(born | dies);
      const size_t left = x == 0 ? lastCol : size_t{0} - 1;
      const size_t right = x == lastCol ? size_t{0} - lastCol : 1;
      AddAround(cells + x, up, down, left, right,
                static_cast<uint8_t>((born << 1) | (dies * 0xFEu)));
      populationChange += static_cast<int32_t>(born) - static_cast<int32_t>(dies);

      // New face: a newborn takes a random row at frame 1; a survivor past
      // its birth a random idle frame; any other steps one frame on.
      const uint32_t bornMask = 0u - born, idleMask = 0u - idles;
      uint32_t newRow = (faceRowOf(draw) & bornMask) | (row & ~bornMask);
      const uint32_t stepped =
          ((firstIdle + idleFrameOf(draw)) & idleMask) | ((frame + 1) & ~idleMask);
      uint32_t newFrame = (1u & bornMask) | (stepped & ~bornMask);
      if (newFrame >= frameLimit) newRow = newFrame = 0;
      faces[x] = static_cast<uint16_t>(newRow | (newFrame << 8));
      if (drawing) {
        if ((born | dies) != 0) SetMiniCell(x, y, born != 0);
        DrawCell(x, y, newRow, newFrame);
      }
    }
  population_ += populationChange;
}

void CellMap::NextGeneration() {
  populationHistory_[2] = populationHistory_[1];
  populationHistory_[1] = populationHistory_[0];
  populationHistory_[0] = population_;
  if (cellCount_ != 0) std::memcpy(prevCells_.get(), cells_.get(), cellCount_);

  // Each row in two sweeps: first every dead cell that is not born, eight at
  // a time and without branches, marking the live and newborn ("lively")
  // cells; then the lively cells one by one, in visiting order, which is
  // the order of their random draws. Both read the snapshot only.
  const uint32_t frameLimit = std::min(numFrames, kMaxFaceIndex);
  for (uint32_t y = 0; y < rows_; ++y) {
    StepDeadCells(y, frameLimit);
    if (drawing_) DrawMarkedCells(y, animatingBits_.get());
    StepLivelyCells(y, frameLimit);
  }

  const bool stagnant = population_ == populationHistory_[0] ||
                        population_ == populationHistory_[1] ||
                        population_ == populationHistory_[2];
  if (!stagnant) {
    stallCountdown_ = kStallTolerance;
    ++generation_;
  } else if (stallCountdown_-- == 0) {
    Seed(0);
  }
}

void CellMap::FormatActivityLine(char (&line)[kActivityLineSize], const char* name,
                                 int32_t population, int32_t generation) {
  char tail[kActivityLineSize];
  const int tailLength =
      std::snprintf(tail, sizeof tail, " - Population: %u Generation: %u ",
                    static_cast<unsigned>(population), static_cast<unsigned>(generation));
  // Whatever room the numbers leave goes to the name, cut if need be.
  const size_t room = kActivityLineSize - 2 - static_cast<size_t>(tailLength);
  const size_t nameLength = strnlen(name, room);
  line[0] = ' ';
  std::memcpy(line + 1, name, nameLength);
  std::memcpy(line + 1 + nameLength, tail, static_cast<size_t>(tailLength) + 1);
}

const Picture* CellMap::Compose() {
  if (!drawing_) return nullptr;
  if (bFrameScreen != 0) grid_.Frame(frameRect_, frameBrush_);
  if (bMiniDisplay == 0 && bActivityBar == 0) {
    composeCurrent_ = false;
    return &grid_;
  }

  if (!composeCurrent_) {
    compose_.CopyFrom(grid_);
    composeCurrent_ = compose_.valid();
  } else {
    // Tiles were mirrored as they were drawn: only the frame and what the
    // overlays covered last time need the grid picture again.
    if (bFrameScreen != 0) compose_.Frame(frameRect_, frameBrush_);
    compose_.CopyRectFrom(grid_, kActivityBand);
    compose_.CopyRectFrom(grid_, {miniDisplayX_, miniDisplayY_,
                                  miniDisplayX_ + mini_.width(),
                                  miniDisplayY_ + mini_.height()});
  }
  if (bMiniDisplay != 0) compose_.OrCopyFrom(mini_, miniDisplayX_, miniDisplayY_);
  if (bActivityBar != 0) {
    char line[kActivityLineSize];
    FormatActivityLine(line, faceName_.get(), population_, generation_);
    compose_.WriteText(2, 2, line, static_cast<int>(std::strlen(line)));
  }
  return &compose_;
}
