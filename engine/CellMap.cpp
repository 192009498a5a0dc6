#include "CellMap.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <new>

#if defined(__SSE2__) && !defined(LIFE_PORTABLE_STEP)
#include <emmintrin.h>
#define LIFE_SSE2_STEP 1
#endif

#include "Acquisition.h"
#include "FastModulo.h"

namespace {
constexpr uint32_t kMaxFaceIndex = 256;  // frames and rows fit 8 bits
constexpr uint32_t kDrawRange = 32768;   // a draw is 0..32767
// Frames are padded by a word of cells, so that the last row's last word
// may be read and written whole past its last column.
constexpr size_t kFacePadding = 64;

template <typename T>
std::unique_ptr<T[]> AllocateCleared(size_t count) {
  if (!MayAcquire(Acquisition::kWorldArray)) return nullptr;
  return std::unique_ptr<T[]>(new (std::nothrow) T[count == 0 ? 1 : count]());
}

// Set bits of a word, without relying on a population-count instruction.
inline int32_t Count(uint64_t bits) {
  bits -= (bits >> 1) & 0x5555555555555555u;
  bits = (bits & 0x3333333333333333u) + ((bits >> 2) & 0x3333333333333333u);
  bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<int32_t>((bits * 0x0101010101010101u) >> 56);
}

#ifdef LIFE_SSE2_STEP
// Byte b as eight byte lanes: lane j all ones when bit j of b is set.
struct LaneMasks {
  uint64_t lanes[256];
};
constexpr LaneMasks MakeLaneMasks() {
  LaneMasks masks{};
  for (int b = 0; b < 256; ++b)
    for (int j = 0; j < 8; ++j)
      if (((b >> j) & 1) != 0) masks.lanes[b] |= uint64_t{0xFF} << (8 * j);
  return masks;
}
constexpr LaneMasks kLaneMasks = MakeLaneMasks();

// Bits shift..shift+15 of bits as sixteen byte lanes.
inline __m128i LanesOf(uint64_t bits, uint32_t shift) {
  return _mm_set_epi64x(static_cast<long long>(kLaneMasks.lanes[(bits >> (shift + 8)) & 0xFFu]),
                        static_cast<long long>(kLaneMasks.lanes[(bits >> shift) & 0xFFu]));
}

inline uint64_t MaskOf(__m128i lanes) {
  return static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(lanes)));
}
#endif

// The frame rules of a step: frames run below frameLimit, idle frames
// start at firstIdle. The vector step keeps them as byte lanes.
struct FrameRules {
  FrameRules(uint32_t first, uint32_t limit) : firstIdle(first), frameLimit(limit) {}
  uint32_t firstIdle;
  uint32_t frameLimit;
#ifdef LIFE_SSE2_STEP
  // Frame f stays in the row while f + 1 < frameLimit, that is while
  // end - f > 0 with end = frameLimit - 1 (saturating); it is idle from
  // firstIdle on, when firstIdle - f = 0 (saturating), if firstIdle fits.
  __m128i rowEnd = _mm_set1_epi8(static_cast<char>(frameLimit == 0 ? 0 : frameLimit - 1));
  __m128i idleFrom = _mm_set1_epi8(static_cast<char>(std::min(firstIdle, 255u)));
  uint64_t idleFits = firstIdle <= 255 ? ~uint64_t{0} : 0;
#endif
};

// Steps the frames of a word's visited cells that draw nothing, each one
// frame on and blank past the row: the dying (dead, face still running),
// the cells dying now and the survivors within their birth animation.
// Returns the cells that draw instead (the newborn, and the survivors past
// their birth animation), whose frames are left for the caller. `shown`
// follows the frames that turn blank or not; `blanked` gets the cells that
// turned blank. kLiveBlanks says that some live cell of the word has a
// blank face. The vector step writes all 64 frames from `frames` on, even
// past the row's end: the caller puts those back.
template <bool kLiveBlanks>
inline uint64_t StepPlainFaces(uint8_t* frames, uint64_t visit, uint64_t was, uint64_t born,
                               uint64_t survives, const FrameRules& rules, uint64_t& shown,
                               uint64_t& blanked) {
#ifdef LIFE_SSE2_STEP
  // All sixteen-cell groups of the word, a fixed four: a fixed count costs
  // less than choosing the visited groups and mispredicting the loop. A
  // lane that was dead and blank stays blank, which leaves unvisited cells
  // as they are. Frames compare as unsigned bytes through their maximum.
  const __m128i zero = _mm_setzero_si128();
  const __m128i one = _mm_set1_epi8(1);
  uint64_t idle = 0, blank = 0;
  for (uint32_t shift = 0; shift < 64; shift += 16) {
    __m128i* const at = reinterpret_cast<__m128i*>(frames + shift);
    const __m128i f = _mm_loadu_si128(at);
    const __m128i ends = _mm_cmpeq_epi8(_mm_subs_epu8(rules.rowEnd, f), zero);
    const __m128i stepped = _mm_andnot_si128(ends, _mm_add_epi8(f, one));
    // Blank lanes stay blank unless the cell was alive. With no live cell
    // blank, a blank lane is unvisited or newborn, and a newborn draws.
    __m128i stays = _mm_cmpeq_epi8(f, zero);
    if (kLiveBlanks) stays = _mm_andnot_si128(LanesOf(was, shift), stays);
    const __m128i result = _mm_andnot_si128(stays, stepped);
    _mm_storeu_si128(at, result);
    idle |= MaskOf(_mm_cmpeq_epi8(_mm_subs_epu8(rules.idleFrom, f), zero)) << shift;
    blank |= MaskOf(_mm_cmpeq_epi8(result, zero)) << shift;
  }
  const uint64_t drawing = born | (survives & idle & rules.idleFits);
  blanked = visit & blank & ~drawing;
  shown = visit & ~blank;
  return drawing;
#else
  static_cast<void>(was);
  uint64_t drawing = 0;
  blanked = 0;
  for (uint64_t marks = visit; marks != 0; marks &= marks - 1) {
    const auto bit = static_cast<uint32_t>(__builtin_ctzll(marks));
    const uint64_t mark = uint64_t{1} << bit;
    const uint32_t f = frames[bit];
    if ((born & mark) != 0 || ((survives & mark) != 0 && f >= rules.firstIdle)) {
      drawing |= mark;
      continue;
    }
    const bool inRow = f + 1 < rules.frameLimit;
    frames[bit] = static_cast<uint8_t>(inRow ? f + 1 : 0);
    shown = inRow ? shown | mark : shown & ~mark;
    if (!inRow) blanked |= mark;
  }
  return drawing;
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
  frames_ = AllocateCleared<uint8_t>(size_t{cellCount_} + kFacePadding);
  faceRows_ = AllocateCleared<uint8_t>(cellCount_);
  rowFaces_ = AllocateCleared<uint16_t>(config.cols);
  if (!alive_ || !next_ || !showing_ || !tripleOnes_ || !tripleTwos_ || !visitedBits_ ||
      !birthBits_ || !deathBits_ || !frames_ || !faceRows_ || !rowFaces_)
    return CreateResult::kOutOfMemory;

  if (config_.liveSpan == 0) config_.liveSpan = 1;
  if (config_.initpop == 0) config_.initpop = 1;
  if (config_.initpop > cellCount_) config_.initpop = cellCount_;
  frameLimit_ = std::min(config_.numFrames, kMaxFaceIndex);
  firstIdle_ = config_.bornEnd + 1;
  faceRowOf_ = FastModulo(RowLimit());
  idleFrameOf_ = FastModulo(config_.liveSpan);
  // Birth frame 1 and every idle frame lie in the row (the common case).
  drawnFacesFit_ =
      frameLimit_ > 1 && uint64_t{firstIdle_} + std::min(config_.liveSpan, 32768u) <= frameLimit_;
  if (drawnFacesFit_) {
    idleFrameOfDraw_ = AllocateCleared<uint8_t>(kDrawRange);
    faceRowOfDraw_ = AllocateCleared<uint8_t>(kDrawRange);
    if (!idleFrameOfDraw_ || !faceRowOfDraw_) return CreateResult::kOutOfMemory;
    for (uint32_t draw = 0; draw < kDrawRange; ++draw) {
      idleFrameOfDraw_[draw] = static_cast<uint8_t>(firstIdle_ + idleFrameOf_(draw));
      faceRowOfDraw_[draw] = static_cast<uint8_t>(faceRowOf_(draw));
    }
  }
  Seed(0);
  return CreateResult::kCreated;
}

void CellMap::AddListener(CellListener* listener) { listeners_.push_back(listener); }

void CellMap::RemoveListener(CellListener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void CellMap::TellPlaced(uint32_t x, uint32_t y, bool alive) {
  for (CellListener* listener : listeners_) listener->CellPlaced(x, y, alive);
}

const uint16_t* CellMap::faceStates() const {
  if (faceStateCopyChange_ != changes_) {
    faceStateCopy_.resize(cellCount_);
    for (size_t i = 0; i < cellCount_; ++i) faceStateCopy_[i] = FaceState(i);
    faceStateCopyChange_ = changes_;
  }
  return faceStateCopy_.data();
}

void CellMap::TellRow(uint32_t y) {
  if (listeners_.empty()) return;
  const size_t start = size_t{y} * config_.cols;
  for (uint32_t x = 0; x < config_.cols; ++x) rowFaces_[x] = FaceState(start + x);
  const RowChanges row = {
      y, words_, visitedBits_.get(), birthBits_.get(), deathBits_.get(), rowFaces_.get()};
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
      frames_[Index(x, y)] = 1;
      faceRows_[Index(x, y)] = static_cast<uint8_t>(random_.Draw() % rowLimit);
      TellPlaced(x, y, true);
      ++population_;
    }
  }
  generation_ = 0;
  seed_ = random_.Draw();
  ++changes_;
  populationHistory_[0] = populationHistory_[1] = populationHistory_[2] = -1;
}

void CellMap::Clear() {
  for (uint32_t y = 0; y < config_.rows; ++y)
    for (uint32_t x = 0; x < config_.cols; ++x)
      if (IsAlive(x, y)) TellPlaced(x, y, false);
  const size_t boardWords = size_t{words_} * config_.rows;
  std::fill(alive_.get(), alive_.get() + boardWords, 0);
  std::fill(showing_.get(), showing_.get() + boardWords, 0);
  std::fill(frames_.get(), frames_.get() + cellCount_, 0);
  std::fill(faceRows_.get(), faceRows_.get() + cellCount_, 0);
  population_ = 0;
  ++changes_;
}

void CellMap::SetCell(uint32_t x, uint32_t y, bool alive, uint32_t faceRow, uint32_t frame) {
  ++changes_;
  // A blank face has face row 0.
  frames_[Index(x, y)] = static_cast<uint8_t>(frame);
  faceRows_[Index(x, y)] = static_cast<uint8_t>((frame & 0xFFu) == 0 ? 0 : faceRow);
  SetBit(ShowingRow(y), x, (frame & 0xFFu) != 0);
  if (IsAlive(x, y) == alive) return;
  SetBit(AliveRow(y), x, alive);
  population_ += alive ? 1 : -1;
  TellPlaced(x, y, alive);
}

namespace {
// One word's cells with their left and right neighbours, the neighbours'
// bits shifted in from the words around it.
inline void SumTriple(uint64_t c, uint64_t fromLeft, uint64_t fromRight, uint64_t mask,
                      uint64_t& ones, uint64_t& twos) {
  const uint64_t w = ((c << 1) | fromLeft) & mask;
  const uint64_t e = (c >> 1) | fromRight;
  ones = w ^ c ^ e;
  twos = (w & c) | (e & (w ^ c));
}
}  // namespace

void CellMap::SumRowTriples() {
  // Each cell with its left and right neighbours (wrapping round the row),
  // added bit-parallel: ones = W ^ C ^ E, twos = at least two of them. The
  // first and last words of a row wrap; the words between do not.
  const uint32_t words = words_, last = words - 1;
  const uint32_t lastBit = (config_.cols - 1) % 64;
  const uint64_t all = ~uint64_t{0};
  for (uint32_t y = 0; y < config_.rows; ++y) {
    const uint64_t* row = alive_.get() + size_t{y} * words;
    uint64_t* ones = tripleOnes_.get() + size_t{y} * words;
    uint64_t* twos = tripleTwos_.get() + size_t{y} * words;
    const uint64_t wrapsLeft = (row[last] >> lastBit) & 1u;
    const uint64_t wrapsRight = (row[0] & 1u) << lastBit;
    if (words == 1) {
      SumTriple(row[0], wrapsLeft, wrapsRight, lastWordMask_, ones[0], twos[0]);
      continue;
    }
    SumTriple(row[0], wrapsLeft, row[1] << 63, all, ones[0], twos[0]);
    for (uint32_t i = 1; i < last; ++i)
      SumTriple(row[i], row[i - 1] >> 63, row[i + 1] << 63, all, ones[i], twos[i]);
    SumTriple(row[last], row[last - 1] >> 63, wrapsRight, lastWordMask_, ones[last], twos[last]);
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
    const uint64_t c0 = ones[here + i] ^ c;                      // left ^ right
    const uint64_t c1 = twos[here + i] & (~c | ones[here + i]);  // left & right
    const uint64_t s0 = a0 ^ b0 ^ c0;
    const uint64_t carry = (a0 & b0) | (c0 & (a0 ^ b0));
    const uint64_t p = a1 ^ b1, q = c1 ^ carry;
    const uint64_t s1 = p ^ q;
    const uint64_t s2 = (a1 & b1) ^ (c1 & carry) ^ (p & q);
    next[i] = s1 & ~s2 & (s0 | c);  // three, or two and alive
  }
}

template <bool kDrawnFacesFit>
void CellMap::StepFaces(uint32_t y, const uint64_t* next) {
  // Fields are read into locals once: writes through the face arrays could
  // otherwise alias them and force reloads.
  const uint64_t* const prev = alive_.get() + size_t{y} * words_;
  uint64_t* const showing = ShowingRow(y);
  uint8_t* const frames = frames_.get() + size_t{y} * config_.cols;
  uint8_t* const faceRows = faceRows_.get() + size_t{y} * config_.cols;
  uint64_t* const visited = visitedBits_.get();
  uint64_t* const births = birthBits_.get();
  uint64_t* const deaths = deathBits_.get();
  const uint32_t frameLimit = frameLimit_;
  const uint32_t firstIdle = firstIdle_;
  const FastModulo faceRowOf = faceRowOf_;
  const FastModulo idleFrameOf = idleFrameOf_;
  const uint8_t* const idleFrameOfDraw = idleFrameOfDraw_.get();
  const uint8_t* const faceRowOfDraw = faceRowOfDraw_.get();
  uint8_t unusedRow = 0;
  const bool telling = !listeners_.empty();  // the row's marks are for listeners
  Random random = random_;
  int32_t populationChange = 0;
  const FrameRules rules(firstIdle, frameLimit);
#ifdef LIFE_SSE2_STEP
  // A row's last word may reach past its end, into the next row's frames
  // (or the padding): they are put back after the row.
  uint8_t pastRow[64];
  const bool partWord = config_.cols % 64 != 0;
  if (partWord) std::memcpy(pastRow, frames + config_.cols, sizeof pastRow);
#endif
  const uint32_t words = words_;
  if (telling) {
    for (uint32_t word = 0; word < words; ++word) {
      const uint64_t was = prev[word], is = next[word];
      visited[word] = was | is | showing[word];
      births[word] = is & ~was;
      deaths[word] = was & ~is;
    }
  }
  const auto stepWord = [&](uint32_t word) {
    const uint64_t was = prev[word], is = next[word];
    const uint64_t visit = was | is | showing[word];
    const uint64_t born = is & ~was, died = was & ~is;
    // Births are counted as they draw. Counting every time costs less than
    // a branch that often mispredicts.
    populationChange -= Count(died);
    uint8_t* const wordFrames = frames + size_t{word} * 64;
    uint8_t* const wordRows = faceRows + size_t{word} * 64;
    uint64_t shown = showing[word], blanked = 0;
    const uint64_t drawing =
        (was & ~shown) != 0
            ? StepPlainFaces<true>(wordFrames, visit, was, born, was & is, rules, shown, blanked)
            : StepPlainFaces<false>(wordFrames, visit, was, born, was & is, rules, shown, blanked);
    // A live cell that turned blank shows face row 0 when it steps on.
    for (uint64_t marks = blanked & is; marks != 0; marks &= marks - 1)
      wordRows[__builtin_ctzll(marks)] = 0;

    // The cells that draw, in visiting order, which is the order of their
    // random draws: a newborn takes a random face row at frame 1, a
    // survivor past its birth a random idle frame. The k-th of them takes
    // the k-th draw from here.
    uint32_t rank = 0;
    if constexpr (kDrawnFacesFit) {
      // Every chosen frame lies in the row: no face turns blank here. Both
      // choices are made and one is kept: newborn or not is hard to
      // predict, so bit masks select rather than branches. An idle face
      // keeps its face row.
      for (uint64_t marks = drawing; marks != 0; marks &= marks - 1) {
        const auto bit = static_cast<uint32_t>(__builtin_ctzll(marks));
        const uint32_t draw = random.Peek(++rank);
        const auto isBorn = static_cast<uint32_t>((born >> bit) & 1u);
        const uint32_t bornMask = 0u - isBorn;
        populationChange += static_cast<int32_t>(isBorn);
        const uint32_t idleFrame = idleFrameOfDraw[draw];
        wordFrames[bit] = static_cast<uint8_t>(idleFrame ^ ((idleFrame ^ 1u) & bornMask));
        const uint32_t oldRow = wordRows[bit];
        wordRows[bit] = static_cast<uint8_t>(oldRow ^ ((oldRow ^ faceRowOfDraw[draw]) & bornMask));
      }
      shown |= drawing;
    } else {
      for (uint64_t marks = drawing; marks != 0; marks &= marks - 1) {
        // Selected without branches: newborn or not is hard to predict.
        const auto bit = static_cast<uint32_t>(__builtin_ctzll(marks));
        const uint32_t draw = random.Peek(++rank);
        const auto isBorn = static_cast<uint32_t>((born >> bit) & 1u);
        const uint32_t bornMask = 0u - isBorn;
        populationChange += static_cast<int32_t>(isBorn);
        const uint32_t chosen = (faceRowOf(draw) & bornMask) | (idleFrameOf(draw) & ~bornMask);
        const uint32_t frame = (1u & bornMask) | ((firstIdle + chosen) & ~bornMask);
        const uint32_t inRow = 0u - static_cast<uint32_t>(frame < frameLimit);
        wordFrames[bit] = static_cast<uint8_t>(frame & inRow);
        // Only a newborn or a blank face has a new face row.
        uint8_t* const row = (bornMask | ~inRow) != 0 ? wordRows + bit : &unusedRow;
        *row = static_cast<uint8_t>(chosen & bornMask & inRow);
        const uint64_t mark = uint64_t{1} << bit;
        shown = (shown & ~mark) | (mark & (0 - uint64_t{inRow & 1u}));
      }
    }
    if (rank != 0) random.Skip(rank);
    showing[word] = shown;
  };
  // The row goes in spans of up to 64 words. A span mostly visited goes
  // word by word. In a sparser one a test of each word would often
  // mispredict: its visited words are listed first, without a branch.
  constexpr uint32_t kSpan = 64;
  uint32_t visitedWords[kSpan];
  for (uint32_t start = 0; start < words; start += kSpan) {
    const uint32_t end = std::min(words, start + kSpan);
    uint32_t visitedCount = 0;
    for (uint32_t word = start; word < end; ++word) {
      visitedWords[visitedCount] = word;
      visitedCount += (prev[word] | next[word] | showing[word]) != 0;
    }
    if (visitedCount * 4 >= (end - start) * 3) {
      for (uint32_t word = start; word < end; ++word)
        if ((prev[word] | next[word] | showing[word]) != 0) stepWord(word);
    } else {
      for (uint32_t i = 0; i < visitedCount; ++i) stepWord(visitedWords[i]);
    }
  }
#ifdef LIFE_SSE2_STEP
  if (partWord) std::memcpy(frames + config_.cols, pastRow, sizeof pastRow);
#endif
  random_ = random;
  population_ += populationChange;
}

void CellMap::NextGeneration() {
  populationHistory_[2] = populationHistory_[1];
  populationHistory_[1] = populationHistory_[0];
  populationHistory_[0] = population_;

  // Every row's next generation is decided from the live cells before the
  // step, 64 cells a word; the faces follow row by row.
  SumRowTriples();
  for (uint32_t y = 0; y < config_.rows; ++y) {
    uint64_t* const next = next_.get() + size_t{y} * words_;
    NextRow(y, next);
    if (drawnFacesFit_)
      StepFaces<true>(y, next);
    else
      StepFaces<false>(y, next);
    TellRow(y);
  }
  alive_.swap(next_);
  ++changes_;

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
