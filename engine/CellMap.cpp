#include "CellMap.h"

#include <algorithm>
#include <ctime>
#include <new>

#include "Acquisition.h"
#include "FaceStep.h"
#include "FastModulo.h"

using namespace face_step;

namespace {
constexpr uint32_t kMaxFaceIndex = 256;  // frames and rows fit 8 bits
constexpr uint32_t kDrawRange = 32768;   // a draw is 0..32767

template <typename T>
std::unique_ptr<T[]> AllocateCleared(size_t count) {
  if (!MayAcquire(Acquisition::kWorldArray)) return nullptr;
  return std::unique_ptr<T[]>(new (std::nothrow) T[count == 0 ? 1 : count]());
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
  faceStride_ = size_t{words_} * 64;
  frames_ = AllocateCleared<uint8_t>(faceStride_ * config.rows);
  faceRows_ = AllocateCleared<uint8_t>(faceStride_ * config.rows);
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
    uint16_t* to = faceStateCopy_.data();
    for (uint32_t y = 0; y < config_.rows; ++y)
      for (uint32_t x = 0; x < config_.cols; ++x) *to++ = FaceState(FaceIndex(x, y));
    faceStateCopyChange_ = changes_;
  }
  return faceStateCopy_.data();
}

void CellMap::TellRow(uint32_t y) {
  if (listeners_.empty()) return;
  const size_t start = FaceIndex(0, y);
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
      frames_[FaceIndex(x, y)] = 1;
      faceRows_[FaceIndex(x, y)] = static_cast<uint8_t>(random_.Draw() % rowLimit);
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
  const size_t faceBytes = faceStride_ * config_.rows;
  std::fill(frames_.get(), frames_.get() + faceBytes, 0);
  std::fill(faceRows_.get(), faceRows_.get() + faceBytes, 0);
  population_ = 0;
  ++changes_;
}

void CellMap::SetCell(uint32_t x, uint32_t y, bool alive, uint32_t faceRow, uint32_t frame) {
  ++changes_;
  // A blank face has face row 0.
  frames_[FaceIndex(x, y)] = static_cast<uint8_t>(frame);
  faceRows_[FaceIndex(x, y)] = static_cast<uint8_t>((frame & 0xFFu) == 0 ? 0 : faceRow);
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

void CellMap::MarkRow(uint32_t y, const uint64_t* next) {
  const uint64_t* const prev = alive_.get() + size_t{y} * words_;
  const uint64_t* const showing = ShowingRow(y);
  for (uint32_t word = 0; word < words_; ++word) {
    const uint64_t was = prev[word], is = next[word];
    visitedBits_[word] = was | is | showing[word];
    birthBits_[word] = is & ~was;
    deathBits_[word] = was & ~is;
  }
}

template <class Draws>
void CellMap::StepFaces(uint32_t y, const uint64_t* next, const Draws draws) {
  // Fields are read into locals once: writes through the face arrays could
  // otherwise alias them and force reloads.
  const uint64_t* const prev = alive_.get() + size_t{y} * words_;
  uint64_t* const showing = ShowingRow(y);
  uint8_t* const frames = frames_.get() + FaceIndex(0, y);
  uint8_t* const faceRows = faceRows_.get() + FaceIndex(0, y);
  const FrameRules rules(firstIdle_, frameLimit_);
  Random random = random_;
  int32_t populationChange = 0;
  ForEachVisitedWord(prev, next, showing, words_, [&](uint32_t word) {
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
    const uint64_t drawnBlank =
        DrawFaces(wordFrames, wordRows, drawing, born, draws, random, populationChange);
    showing[word] = (shown | drawing) & ~drawnBlank;
  });
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
    if (!listeners_.empty()) MarkRow(y, next);
    if (drawnFacesFit_)
      StepFaces(y, next, LookedUpDraws{idleFrameOfDraw_.get(), faceRowOfDraw_.get()});
    else
      StepFaces(y, next, ComputedDraws{faceRowOf_, idleFrameOf_, firstIdle_, frameLimit_});
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
