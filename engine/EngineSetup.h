#pragma once
#include <cstdint>

#include "CellMap.h"
#include "FaceInfo.h"

// What the saver hands the engine for a face set and a client area.
struct EngineSetup {
  uint32_t cols;      // client width / frameWidth
  uint32_t rows;      // client height / frameHeight
  uint32_t liveEnd;   // last idle frame: min(numFrames, dieStart - 1)
  uint32_t bornEnd;   // min(face bornEnd, liveEnd)
  uint32_t liveSpan;  // number of idle frames, at least 1
  uint32_t numRows;   // face rows, at least 1
};

// Derives the engine's frame ranges and grid size. frameWidth and
// frameHeight must be non-zero. A client area less than two frames wide or
// high gives a grid of no cells: such a window shows black.
EngineSetup DeriveEngineSetup(const FaceInfo& face, uint32_t clientWidth,
                              uint32_t clientHeight);

// Gives the map the face set's geometry and the derived frame ranges.
void ApplyFaceSetup(CellMap& map, const FaceInfo& face, const EngineSetup& setup);
