#pragma once
#include <cstdint>

// The saver's pseudo-random generator: a 32-bit linear congruential
// generator. Each world holds one, so several worlds in one process draw
// independently; a fixed seed reproduces the same run.
class Random {
 public:
  // Sets the state.
  void Seed(uint32_t seed) { state_ = seed; }

  // Advances the state and returns a value in 0..32767.
  uint32_t Draw() {
    state_ = state_ * 214013u + 2531011u;
    return (state_ >> 16) & 0x7FFFu;
  }

  // A draw when `take` is set, else the state stays and the value is of no
  // use; written without a branch for hot loops whose cells draw or not.
  uint32_t DrawIf(bool take) {
    const uint32_t advanced = state_ * 214013u + 2531011u;
    const uint32_t keep = 0u - static_cast<uint32_t>(take);  // all ones when taken
    state_ ^= (advanced ^ state_) & keep;
    return (advanced >> 16) & 0x7FFFu;
  }

 private:
  uint32_t state_ = 1;  // 1 until the first seeding
};
