#pragma once
#include <cstdint>

// Everything a world and its canvases are made from: the grid, the seeding
// and the face geometry with its frame ranges. MakeWorldConfig builds it
// from a face set and a client area; the caller adds seed and initpop.
struct WorldConfig {
  uint32_t cols = 0;
  uint32_t rows = 0;
  uint32_t seed = 0;        // first seeding's seed; 0: the clock
  uint32_t initpop = 0;     // placement attempts per seeding (0 acts as 1)
  uint32_t frameWidth = 0;  // size of a cell's tile in pixels
  uint32_t frameHeight = 0;
  uint32_t numFrames = 0;  // frames in each sheet row
  uint32_t numRows = 1;    // face rows in the sheet
  uint32_t bornEnd = 0;    // last birth frame
  uint32_t liveEnd = 0;    // last idle frame
  uint32_t liveSpan = 1;   // number of idle frames (0 acts as 1)
};
