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

#include "Acquisition.h"
#include "FastModulo.h"

namespace {
constexpr int32_t kStallTolerance = 25;
constexpr uint32_t kMaxFaceIndex = 256;  // frames and rows fit 8 bits

template <typename T>
std::unique_ptr<T[]> AllocateCleared(size_t count) {
  if (!MayAcquire(Acquisition::kWorldArray)) return nullptr;
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

CreateResult CellMap::Create(const WorldConfig& config) {
  config_ = config;
  seed_ = config.seed;
  cellCount_ = config.cols * config.rows;

  cells_ = AllocateCleared<uint8_t>(cellCount_);
  prevCells_ = AllocateCleared<uint8_t>(cellCount_);
  faceState_ = AllocateCleared<uint16_t>(cellCount_);
  for (auto* bits : {&livelyBits_, &animatingBits_, &birthBits_, &deathBits_, &redrawBits_})
    *bits = AllocateCleared<uint64_t>(BitWords());
  if (!cells_ || !prevCells_ || !faceState_ || !livelyBits_ || !animatingBits_ ||
      !birthBits_ || !deathBits_ || !redrawBits_)
    return CreateResult::kOutOfMemory;

  if (config_.liveSpan == 0) config_.liveSpan = 1;
  if (config_.initpop == 0) config_.initpop = 1;
  if (config_.initpop > cellCount_) config_.initpop = cellCount_;
  Seed(0);
  return CreateResult::kCreated;
}

void CellMap::AddListener(CellListener* listener) { listeners_.push_back(listener); }

void CellMap::RemoveListener(CellListener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener),
                   listeners_.end());
}

void CellMap::TellPlaced(uint32_t x, uint32_t y, bool alive) {
  for (CellListener* listener : listeners_) listener->CellPlaced(x, y, alive);
}

void CellMap::TellRow(uint32_t y) {
  if (listeners_.empty()) return;
  const uint32_t words = BitWords();
  for (uint32_t w = 0; w < words; ++w) redrawBits_[w] = livelyBits_[w] | animatingBits_[w];
  const RowChanges row = {y,
                          words,
                          redrawBits_.get(),
                          birthBits_.get(),
                          deathBits_.get(),
                          faceState_.get() + size_t{y} * config_.cols};
  for (CellListener* listener : listeners_) listener->RowStepped(row);
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
  const uint32_t cols = config_.cols;
  return y == 0 ? cellCount_ - cols : size_t{0} - cols;
}

size_t CellMap::DownOffset(uint32_t y) const {
  const uint32_t cols = config_.cols;
  return y == config_.rows - 1 ? size_t{0} - (cellCount_ - cols) : cols;
}

void CellMap::AddToNeighbours(size_t i, uint32_t x, uint32_t y, uint8_t delta) {
  // Per-cell offsets resolve the wrap-around. On a one-row or one-column
  // grid some offsets are 0 and the cell counts itself: the eight updates
  // still stay inside the array.
  const uint32_t cols = config_.cols;
  const size_t left = x == 0 ? cols - 1 : size_t{0} - 1;
  const size_t right = x == cols - 1 ? size_t{0} - (cols - 1) : 1;
  AddAround(cells_.get() + i, UpOffset(y), DownOffset(y), left, right, delta);
}

uint32_t CellMap::RowLimit() const { return std::clamp(config_.numRows, 1u, kMaxFaceIndex); }

void CellMap::Seed(uint32_t value) {
  if (value != 0)
    seed_ = value;
  else if (seed_ == 0)
    seed_ = static_cast<uint32_t>(std::time(nullptr));
  random_.Seed(seed_);

  if (cellCount_ != 0) {
    const uint32_t rowLimit = RowLimit();
    for (uint32_t attempt = 0; attempt < config_.initpop; ++attempt) {
      const uint32_t x = random_.Draw() % config_.cols;
      const uint32_t y = random_.Draw() % config_.rows;
      const size_t i = Index(x, y);
      if (cells_[i] & 1) continue;
      cells_[i] |= 1;
      AddToNeighbours(i, x, y, 2);
      faceState_[i] = static_cast<uint16_t>((random_.Draw() % rowLimit) | (1u << 8));
      TellPlaced(x, y, true);
      ++population_;
    }
  }
  generation_ = 0;
  seed_ = random_.Draw();
  populationHistory_[0] = populationHistory_[1] = populationHistory_[2] = -1;
}

void CellMap::Clear() {
  for (uint32_t y = 0; y < config_.rows; ++y)
    for (uint32_t x = 0; x < config_.cols; ++x)
      if (IsAlive(x, y)) TellPlaced(x, y, false);
  if (cellCount_ != 0) {
    std::memset(cells_.get(), 0, cellCount_);
    std::memset(faceState_.get(), 0, cellCount_ * sizeof(uint16_t));
  }
  population_ = 0;
}

void CellMap::SetCell(uint32_t x, uint32_t y, bool alive, uint32_t faceRow, uint32_t frame) {
  const size_t i = Index(x, y);
  faceState_[i] = static_cast<uint16_t>((faceRow & 0xFFu) | ((frame & 0xFFu) << 8));
  if (IsAlive(x, y) == alive) return;
  cells_[i] ^= 1;
  AddToNeighbours(i, x, y, alive ? 2 : static_cast<uint8_t>(0xFE));
  population_ += alive ? 1 : -1;
  TellPlaced(x, y, alive);
}

void CellMap::StepDeadCells(uint32_t y, uint32_t frameLimit) {
  const uint32_t cols = config_.cols;
  const size_t rowStart = size_t{y} * cols;
  const uint8_t* prev = prevCells_.get() + rowStart;
  uint16_t* faces = faceState_.get() + rowStart;
  std::memset(livelyBits_.get(), 0, BitWords() * sizeof(uint64_t));
  std::memset(animatingBits_.get(), 0, BitWords() * sizeof(uint64_t));
  for (uint32_t blockX = 0; blockX < cols; blockX += 8) {
    const uint32_t count = std::min(8u, cols - blockX);
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

void CellMap::StepLivelyCells(uint32_t y, uint32_t frameLimit) {
  // Fields are read into locals once: every byte written through the cell
  // array could otherwise alias them and force reloads.
  const uint32_t cols = config_.cols;
  const size_t rowStart = size_t{y} * cols;
  uint8_t* const cells = cells_.get() + rowStart;
  const uint8_t* const prev = prevCells_.get() + rowStart;
  uint16_t* const faces = faceState_.get() + rowStart;
  const uint64_t* const marksOfRow = livelyBits_.get();
  uint64_t* const births = birthBits_.get();
  uint64_t* const deaths = deathBits_.get();
  const uint32_t lastCol = cols - 1;
  const size_t up = UpOffset(y), down = DownOffset(y);
  const uint32_t firstIdle = config_.bornEnd + 1;
  const FastModulo faceRowOf(RowLimit());
  const FastModulo idleFrameOf(config_.liveSpan);
  Random random = random_;
  int32_t populationChange = 0;
  for (uint32_t word = 0, words = BitWords(); word < words; ++word) {
    uint64_t bornWord = 0, diedWord = 0;
    for (uint64_t marks = marksOfRow[word]; marks != 0; marks &= marks - 1) {
      const uint32_t bit = static_cast<uint32_t>(__builtin_ctzll(marks));
      const uint32_t x = word * 64 + bit;
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
      const uint32_t draw = random.DrawIf((born | idles) != 0);

      // A survivor adds 0: the neighbour update needs no branch either.
      cells[x] ^= static_cast<uint8_t>(born | dies);
      const size_t left = x == 0 ? lastCol : size_t{0} - 1;
      const size_t right = x == lastCol ? size_t{0} - lastCol : 1;
      AddAround(cells + x, up, down, left, right,
                static_cast<uint8_t>((born << 1) | (dies * 0xFEu)));
      populationChange += static_cast<int32_t>(born) - static_cast<int32_t>(dies);
      bornWord |= uint64_t{born} << bit;
      diedWord |= uint64_t{dies} << bit;

      // New face: a newborn takes a random row at frame 1; a survivor past
      // its birth a random idle frame; any other steps one frame on.
      const uint32_t bornMask = 0u - born, idleMask = 0u - idles;
      uint32_t newRow = (faceRowOf(draw) & bornMask) | (row & ~bornMask);
      const uint32_t stepped =
          ((firstIdle + idleFrameOf(draw)) & idleMask) | ((frame + 1) & ~idleMask);
      uint32_t newFrame = (1u & bornMask) | (stepped & ~bornMask);
      if (newFrame >= frameLimit) newRow = newFrame = 0;
      faces[x] = static_cast<uint16_t>(newRow | (newFrame << 8));
    }
    births[word] = bornWord;
    deaths[word] = diedWord;
  }
  random_ = random;
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
  const uint32_t frameLimit = std::min(config_.numFrames, kMaxFaceIndex);
  for (uint32_t y = 0; y < config_.rows; ++y) {
    StepDeadCells(y, frameLimit);
    StepLivelyCells(y, frameLimit);
    TellRow(y);
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
