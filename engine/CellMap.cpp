#include "CellMap.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <new>

#if defined(__SSE2__) && !defined(LIFE_PORTABLE_STEP)
#include <emmintrin.h>
#define LIFE_SSE2_STEP 1
#endif

#include "FastModulo.h"

namespace {
constexpr int32_t kStallTolerance = 25;
constexpr uint32_t kMaxFaceIndex = 256;  // frames and rows fit 8 bits
// Face states are padded by a word of cells, so that the last row's faces
// may be read and written eight at a time past its last column.
constexpr size_t kFacePadding = 64;

template <typename T>
std::unique_ptr<T[]> AllocateCleared(size_t count) {
  return std::unique_ptr<T[]>(new (std::nothrow) T[count == 0 ? 1 : count]());
}

inline int Count(uint64_t bits) { return __builtin_popcountll(bits); }

// Dead cells whose faces still play their death animation: one frame on,
// blank past the row. They draw nothing, so their order does not matter.
// `marks` picks them among the 64 faces from `faces`; `showing` loses the
// cells that turn blank.
inline void StepDyingFaces(uint16_t* faces, uint64_t marks, uint32_t frameLimit,
                           uint64_t& showing) {
#ifdef LIFE_SSE2_STEP
  // Eight at a time: lanes outside the marks are written back unchanged.
  const __m128i laneBits = _mm_setr_epi16(1, 2, 4, 8, 16, 32, 64, 128);
  const __m128i limit = _mm_set1_epi16(static_cast<short>(frameLimit));
  const __m128i one = _mm_set1_epi16(1);
  for (uint32_t group = 0; marks != 0; ++group, marks >>= 8) {
    const uint32_t byte = static_cast<uint32_t>(marks & 0xFFu);
    if (byte == 0) continue;
    __m128i* at = reinterpret_cast<__m128i*>(faces + group * 8);
    const __m128i lanes = _mm_cmpeq_epi16(
        _mm_and_si128(_mm_set1_epi16(static_cast<short>(byte)), laneBits), laneBits);
    const __m128i s = _mm_loadu_si128(at);
    const __m128i inRow = _mm_cmplt_epi16(_mm_add_epi16(_mm_srli_epi16(s, 8), one), limit);
    const __m128i stepped = _mm_and_si128(_mm_add_epi16(s, _mm_set1_epi16(0x100)), inRow);
    _mm_storeu_si128(at, _mm_or_si128(_mm_and_si128(lanes, stepped), _mm_andnot_si128(lanes, s)));
    const __m128i blank = _mm_andnot_si128(inRow, lanes);
    const auto blanked =
        static_cast<uint64_t>(_mm_movemask_epi8(_mm_packs_epi16(blank, _mm_setzero_si128())));
    showing &= ~(blanked << (group * 8));
  }
#else
  for (; marks != 0; marks &= marks - 1) {
    const auto bit = static_cast<uint32_t>(__builtin_ctzll(marks));
    const uint32_t s = faces[bit];
    const bool inRow = (s >> 8) + 1 < frameLimit;
    faces[bit] = static_cast<uint16_t>(inRow ? s + 0x100 : 0);
    if (!inRow) showing &= ~(uint64_t{1} << bit);
  }
#endif
}
}  // namespace

CreateResult CellMap::Create(const WorldConfig& config) {
  config_ = config;
  seed_ = config.seed;
  cellCount_ = config.cols * config.rows;
  words_ = (config.cols + 63) / 64;
  const uint32_t lastColumns = config.cols % 64;
  lastWordMask_ = lastColumns == 0 ? ~uint64_t{0} : (uint64_t{1} << lastColumns) - 1;

  const size_t boardWords = size_t{words_} * config.rows;
  for (auto* board : {&alive_, &next_, &showing_, &tripleOnes_, &tripleTwos_})
    *board = AllocateCleared<uint64_t>(boardWords);
  for (auto* bits : {&visitedBits_, &birthBits_, &deathBits_})
    *bits = AllocateCleared<uint64_t>(words_);
  faceState_ = AllocateCleared<uint16_t>(size_t{cellCount_} + kFacePadding);
  if (!alive_ || !next_ || !showing_ || !tripleOnes_ || !tripleTwos_ || !visitedBits_ ||
      !birthBits_ || !deathBits_ || !faceState_)
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

void CellMap::TellRow(uint32_t y, const uint64_t*) {
  if (listeners_.empty()) return;
  const RowChanges row = {y,
                          words_,
                          visitedBits_.get(),
                          birthBits_.get(),
                          deathBits_.get(),
                          faceState_.get() + size_t{y} * config_.cols};
  for (CellListener* listener : listeners_) listener->RowStepped(row);
}

void CellMap::SetBit(uint64_t* row, uint32_t x, bool on) {
  const uint64_t bit = uint64_t{1} << (x % 64);
  row[x / 64] = on ? row[x / 64] | bit : row[x / 64] & ~bit;
}

uint8_t CellMap::cellByte(uint32_t x, uint32_t y) const {
  // The neighbours as the toroidal offsets name them; on a grid one wide or
  // high an offset of 0 names the cell itself.
  const uint32_t cols = config_.cols, rows = config_.rows;
  const uint32_t left = x == 0 ? cols - 1 : x - 1, right = x == cols - 1 ? 0 : x + 1;
  const uint32_t up = y == 0 ? rows - 1 : y - 1, down = y == rows - 1 ? 0 : y + 1;
  const auto at = [this](uint32_t cx, uint32_t cy) { return IsAlive(cx, cy) ? 2 : 0; };
  const int count = at(left, up) + at(x, up) + at(right, up) + at(left, y) + at(right, y) +
                    at(left, down) + at(x, down) + at(right, down);
  return static_cast<uint8_t>(count | (IsAlive(x, y) ? 1 : 0));
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
      if (IsAlive(x, y)) continue;
      SetBit(AliveRow(y), x, true);
      SetBit(ShowingRow(y), x, true);
      faceState_[Index(x, y)] = static_cast<uint16_t>((random_.Draw() % rowLimit) | (1u << 8));
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
  const size_t boardWords = size_t{words_} * config_.rows;
  std::fill(alive_.get(), alive_.get() + boardWords, 0);
  std::fill(showing_.get(), showing_.get() + boardWords, 0);
  std::fill(faceState_.get(), faceState_.get() + cellCount_, 0);
  population_ = 0;
}

void CellMap::SetCell(uint32_t x, uint32_t y, bool alive, uint32_t faceRow, uint32_t frame) {
  const auto face = static_cast<uint16_t>((faceRow & 0xFFu) | ((frame & 0xFFu) << 8));
  faceState_[Index(x, y)] = face;
  SetBit(ShowingRow(y), x, face != 0);
  if (IsAlive(x, y) == alive) return;
  SetBit(AliveRow(y), x, alive);
  population_ += alive ? 1 : -1;
  TellPlaced(x, y, alive);
}

void CellMap::SumRowTriples() {
  // Each cell with its left and right neighbours (wrapping round the row),
  // added bit-parallel: ones = W ^ C ^ E, twos = at least two of them.
  const uint32_t words = words_, last = words - 1;
  const uint32_t lastBit = (config_.cols - 1) % 64;
  for (uint32_t y = 0; y < config_.rows; ++y) {
    const uint64_t* row = alive_.get() + size_t{y} * words;
    uint64_t* ones = tripleOnes_.get() + size_t{y} * words;
    uint64_t* twos = tripleTwos_.get() + size_t{y} * words;
    for (uint32_t i = 0; i < words; ++i) {
      const uint64_t c = row[i];
      const uint64_t fromLeft = i == 0 ? (row[last] >> lastBit) & 1u : row[i - 1] >> 63;
      const uint64_t fromRight = i == last ? (row[0] & 1u) << lastBit : row[i + 1] << 63;
      const uint64_t w = ((c << 1) | fromLeft) & (i == last ? lastWordMask_ : ~uint64_t{0});
      const uint64_t e = (c >> 1) | fromRight;
      ones[i] = w ^ c ^ e;
      twos[i] = (w & c) | (e & (w ^ c));
    }
  }
}

void CellMap::NextRow(uint32_t y, uint64_t* next) const {
  // The eight neighbours: the triples above and below, and the left and
  // right neighbours in the row (its triple less the cell). Sums modulo 8
  // suffice: eight neighbours look like none, and both mean no life.
  const uint32_t rows = config_.rows, words = words_;
  const size_t above = size_t{y == 0 ? rows - 1 : y - 1} * words;
  const size_t here = size_t{y} * words;
  const size_t below = size_t{y == rows - 1 ? 0 : y + 1} * words;
  const uint64_t* const ones = tripleOnes_.get();
  const uint64_t* const twos = tripleTwos_.get();
  const uint64_t* const alive = alive_.get() + here;
  for (uint32_t i = 0; i < words; ++i) {
    const uint64_t a0 = ones[above + i], a1 = twos[above + i];
    const uint64_t b0 = ones[below + i], b1 = twos[below + i];
    const uint64_t c = alive[i];
    const uint64_t c0 = ones[here + i] ^ c;               // left ^ right
    const uint64_t c1 = twos[here + i] & (~c | ones[here + i]);  // left & right
    const uint64_t s0 = a0 ^ b0 ^ c0;
    const uint64_t carry = (a0 & b0) | (c0 & (a0 ^ b0));
    const uint64_t p = a1 ^ b1, q = c1 ^ carry;
    const uint64_t s1 = p ^ q;
    const uint64_t s2 = (a1 & b1) ^ (c1 & carry) ^ (p & q);
    next[i] = s1 & ~s2 & (s0 | c);  // three, or two and alive
  }
}

void CellMap::StepFaces(uint32_t y, const uint64_t* next, uint32_t frameLimit) {
  // Fields are read into locals once: writes through the face array could
  // otherwise alias them and force reloads.
  const uint64_t* const prev = alive_.get() + size_t{y} * words_;
  uint64_t* const showing = ShowingRow(y);
  uint16_t* const faces = faceState_.get() + size_t{y} * config_.cols;
  uint64_t* const visited = visitedBits_.get();
  uint64_t* const births = birthBits_.get();
  uint64_t* const deaths = deathBits_.get();
  const uint32_t firstIdle = config_.bornEnd + 1;
  const FastModulo faceRowOf(RowLimit());
  const FastModulo idleFrameOf(config_.liveSpan);
  Random random = random_;
  int32_t populationChange = 0;
  for (uint32_t word = 0, words = words_; word < words; ++word) {
    const uint64_t was = prev[word], is = next[word];
    const uint64_t lively = was | is;
    const uint64_t dying = showing[word] & ~lively;
    visited[word] = lively | dying;
    births[word] = is & ~was;
    deaths[word] = was & ~is;
    if ((lively | dying) == 0) continue;
    populationChange += Count(is) - Count(was);
    uint16_t* const wordFaces = faces + size_t{word} * 64;
    uint64_t shown = showing[word];
    if (dying != 0) StepDyingFaces(wordFaces, dying, frameLimit, shown);

    // Live, newborn and dying-now cells one by one, in visiting order, which
    // is the order of their random draws. The outcomes are selected rather
    // than branched to, as they are hard to predict.
    for (uint64_t marks = lively; marks != 0; marks &= marks - 1) {
      const auto bit = static_cast<uint32_t>(__builtin_ctzll(marks));
      const auto wasAlive = static_cast<uint32_t>((was >> bit) & 1u);
      const auto isAlive = static_cast<uint32_t>((is >> bit) & 1u);
      const uint32_t born = isAlive & (wasAlive ^ 1u);
      const uint32_t s = wordFaces[bit];
      const uint32_t row = s & 0xFFu, frame = s >> 8u;
      const uint32_t idles = wasAlive & isAlive & static_cast<uint32_t>(frame >= firstIdle);
      const uint32_t draw = random.DrawIf((born | idles) != 0);

      // New face: a newborn takes a random row at frame 1; a survivor past
      // its birth a random idle frame; any other steps one frame on.
      const uint32_t bornMask = 0u - born, idleMask = 0u - idles;
      uint32_t newRow = (faceRowOf(draw) & bornMask) | (row & ~bornMask);
      const uint32_t stepped =
          ((firstIdle + idleFrameOf(draw)) & idleMask) | ((frame + 1) & ~idleMask);
      uint32_t newFrame = (1u & bornMask) | (stepped & ~bornMask);
      if (newFrame >= frameLimit) newRow = newFrame = 0;
      wordFaces[bit] = static_cast<uint16_t>(newRow | (newFrame << 8));
      const uint64_t mark = uint64_t{1} << bit;
      shown = (shown & ~mark) | (mark & (0 - uint64_t{newFrame != 0 || newRow != 0}));
    }
    showing[word] = shown;
  }
  random_ = random;
  population_ += populationChange;
}

void CellMap::NextGeneration() {
  populationHistory_[2] = populationHistory_[1];
  populationHistory_[1] = populationHistory_[0];
  populationHistory_[0] = population_;

  // Every row's next generation is decided from the live cells before the
  // step, 64 cells a word; the faces follow row by row.
  const uint32_t frameLimit = std::min(config_.numFrames, kMaxFaceIndex);
  SumRowTriples();
  for (uint32_t y = 0; y < config_.rows; ++y) {
    uint64_t* const next = next_.get() + size_t{y} * words_;
    NextRow(y, next);
    StepFaces(y, next, frameLimit);
    TellRow(y, next);
  }
  alive_.swap(next_);

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
