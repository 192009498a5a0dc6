#pragma once
#include <cstdint>

// The one pseudo-random generator of the saver: a 32-bit linear
// congruential generator. A fixed seed reproduces the same run.

// Sets the generator's state.
void SeedRandom(uint32_t seed);

// Advances the state and returns a value in 0..32767.
uint32_t DrawRandom();
