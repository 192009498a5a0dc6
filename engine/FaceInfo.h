#pragma once
#include <cstdint>

// One face set: a sprite-sheet bitmap and the geometry of its frames.
// Frame f of row r is the frameWidth x frameHeight tile at
// (f * frameWidth, r * frameHeight). Frames of a row: 0 blank,
// 1..bornEnd birth, then idle frames, dieStart..numFrames-1 death.
struct FaceInfo {
  const char* loadImage;  // bitmap file name, used as written
  uint32_t frameWidth;
  uint32_t frameHeight;
  uint32_t numFrames;
  uint32_t numRows;
  uint32_t bornEnd;
  uint32_t dieStart;
};

// The face set the saver carries itself.
inline constexpr FaceInfo kDefaultFace = {"lifeface.bmp", 16, 16, 25, 6, 5, 12};
