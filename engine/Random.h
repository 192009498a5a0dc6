#pragma once
#include <cstdint>

namespace random_detail {
constexpr uint32_t kFactor = 214013u;
constexpr uint32_t kIncrement = 2531011u;
constexpr uint32_t kMaxLeap = 64;

// The state k draws on is mul[k] * state + add[k] (modulo 2^32).
struct Leaps {
  uint32_t mul[kMaxLeap + 1];
  uint32_t add[kMaxLeap + 1];
};
constexpr Leaps MakeLeaps() {
  Leaps leaps{};
  leaps.mul[0] = 1;
  for (uint32_t k = 1; k <= kMaxLeap; ++k) {
    leaps.mul[k] = leaps.mul[k - 1] * kFactor;
    leaps.add[k] = leaps.add[k - 1] * kFactor + kIncrement;
  }
  return leaps;
}
constexpr Leaps kLeaps = MakeLeaps();
}  // namespace random_detail

// The saver's pseudo-random generator: a 32-bit linear congruential
// generator. Each world holds one, so several worlds in one process draw
// independently; a fixed seed reproduces the same run.
class Random {
 public:
  // Sets the state.
  void Seed(uint32_t seed) { state_ = seed; }

  // Advances the state and returns a value in 0..32767.
  uint32_t Draw() {
    state_ = state_ * random_detail::kFactor + random_detail::kIncrement;
    return (state_ >> 16) & 0x7FFFu;
  }

  // The k-th draw from now (k in 1..64) without advancing, and the advance
  // past k draws: loops that know how many draws they take need not wait
  // for one draw before the next.
  uint32_t Peek(uint32_t k) const { return (Leap(k) >> 16) & 0x7FFFu; }
  void Skip(uint32_t k) { state_ = Leap(k); }

 private:
  uint32_t Leap(uint32_t k) const {
    return random_detail::kLeaps.mul[k] * state_ + random_detail::kLeaps.add[k];
  }

  uint32_t state_ = 1;  // 1 until the first seeding
};
