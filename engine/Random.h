#pragma once
#include <cstdint>

// The one pseudo-random generator of the saver: a 32-bit linear
// congruential generator. A fixed seed reproduces the same run.

namespace random_detail {
inline uint32_t state = 1;  // 1 until the first seeding
}

// Sets the generator's state.
inline void SeedRandom(uint32_t seed) { random_detail::state = seed; }

// Advances the state and returns a value in 0..32767.
inline uint32_t DrawRandom() {
  random_detail::state = random_detail::state * 214013u + 2531011u;
  return (random_detail::state >> 16) & 0x7FFFu;
}

// A draw when `take` is set, else the state stays and the value is of no
// use; written without a branch for hot loops whose cells draw or not.
inline uint32_t DrawRandomIf(bool take) {
  const uint32_t advanced = random_detail::state * 214013u + 2531011u;
  const uint32_t keep = 0u - static_cast<uint32_t>(take);  // all ones when taken
  random_detail::state ^= (advanced ^ random_detail::state) & keep;
  return (advanced >> 16) & 0x7FFFu;
}
