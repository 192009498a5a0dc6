#pragma once
// The pieces of a generation's face step, for CellMap: the frames of a
// word's cells stepped on (sixteen at a time with SSE2), the faces the
// drawing cells choose from their random draws, and the order in which a
// row's words are visited.
#include <algorithm>
#include <cstdint>

#if defined(__SSE2__) && !defined(LIFE_PORTABLE_STEP)
#include <emmintrin.h>
#define LIFE_SSE2_STEP 1
#endif

#include "FastModulo.h"
#include "Random.h"

namespace face_step {

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
// blank face. The vector step reads and writes all 64 frames of the word:
// past a row's last column they are dead and blank, and stay so.
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

// A drawn face: its frame (0 when it turned blank, past the row), the face
// row a newborn takes, and all ones in `blank` when the face turned blank.
struct DrawnFace {
  uint32_t frame;
  uint32_t faceRow;
  uint32_t blank;
};

// The faces of the draws when every drawn frame lies in the row: each
// draw's idle frame and face row, looked up. Newborn or not is hard to
// predict, so both choices are made and bit masks select one.
struct LookedUpDraws {
  const uint8_t* idleFrameOfDraw;
  const uint8_t* faceRowOfDraw;
  DrawnFace Face(uint32_t draw, uint32_t bornMask) const {
    const uint32_t idle = idleFrameOfDraw[draw];
    return {idle ^ ((idle ^ 1u) & bornMask), faceRowOfDraw[draw], 0};
  }
};

// The faces of the draws, computed: a frame past the row makes the face
// blank, with face row 0.
struct ComputedDraws {
  FastModulo faceRowOf;
  FastModulo idleFrameOf;
  uint32_t firstIdle;
  uint32_t frameLimit;
  DrawnFace Face(uint32_t draw, uint32_t bornMask) const {
    const uint32_t chosen = (faceRowOf(draw) & bornMask) | (idleFrameOf(draw) & ~bornMask);
    const uint32_t frame = (1u & bornMask) | ((firstIdle + chosen) & ~bornMask);
    const uint32_t inRow = 0u - static_cast<uint32_t>(frame < frameLimit);
    return {frame & inRow, chosen & bornMask & inRow, ~inRow};
  }
};

// Gives the cells of `drawing` their faces from the next random draws, in
// visiting order, which is the order of their draws: the k-th of them takes
// the k-th draw from here. A newborn takes a random face row at frame 1, a
// survivor past its birth animation a random idle frame and keeps its face
// row. Adds the newborn to `births`; returns the cells whose face turned
// blank.
template <class Draws>
inline uint64_t DrawFaces(uint8_t* frames, uint8_t* faceRows, uint64_t drawing, uint64_t born,
                          const Draws& draws, Random& random, int32_t& births) {
  uint32_t rank = 0;
  uint64_t blanked = 0;
  for (uint64_t marks = drawing; marks != 0; marks &= marks - 1) {
    const auto bit = static_cast<uint32_t>(__builtin_ctzll(marks));
    const auto isBorn = static_cast<uint32_t>((born >> bit) & 1u);
    const uint32_t bornMask = 0u - isBorn;
    births += static_cast<int32_t>(isBorn);
    const DrawnFace face = draws.Face(random.Peek(++rank), bornMask);
    frames[bit] = static_cast<uint8_t>(face.frame);
    const uint32_t oldRow = faceRows[bit];
    faceRows[bit] =
        static_cast<uint8_t>(oldRow ^ ((oldRow ^ face.faceRow) & (bornMask | face.blank)));
    blanked |= uint64_t{face.blank & 1u} << bit;
  }
  if (rank != 0) random.Skip(rank);
  return blanked;
}

// Calls stepWord for each visited word of a row (one with a cell alive
// before or after, or a face showing), in order. The row goes in spans of
// up to 64 words. A span mostly visited goes word by word; in a sparser one
// a test of each word would often mispredict, so its visited words are
// listed first, without a branch.
template <class StepWord>
inline void ForEachVisitedWord(const uint64_t* was, const uint64_t* is, const uint64_t* showing,
                               uint32_t words, StepWord&& stepWord) {
  constexpr uint32_t kSpan = 64;
  uint32_t visitedWords[kSpan];
  for (uint32_t start = 0; start < words; start += kSpan) {
    const uint32_t end = std::min(words, start + kSpan);
    uint32_t visitedCount = 0;
    for (uint32_t word = start; word < end; ++word) {
      visitedWords[visitedCount] = word;
      visitedCount += (was[word] | is[word] | showing[word]) != 0;
    }
    if (visitedCount * 4 >= (end - start) * 3) {
      for (uint32_t word = start; word < end; ++word)
        if ((was[word] | is[word] | showing[word]) != 0) stepWord(word);
    } else {
      for (uint32_t i = 0; i < visitedCount; ++i) stepWord(visitedWords[i]);
    }
  }
}
}  // namespace face_step
