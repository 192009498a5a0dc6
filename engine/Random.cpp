#include "Random.h"

namespace {
uint32_t randomState = 1;
}

void SeedRandom(uint32_t seed) { randomState = seed; }

uint32_t DrawRandom() {
  randomState = randomState * 214013u + 2531011u;
  return (randomState >> 16) & 0x7FFFu;
}
