#include "EngineSetup.h"

#include <algorithm>

EngineSetup DeriveEngineSetup(const FaceInfo& face, uint32_t clientWidth,
                              uint32_t clientHeight) {
  EngineSetup setup{};
  setup.cols = clientWidth / face.frameWidth;
  setup.rows = clientHeight / face.frameHeight;
  // The toroidal neighbourhood needs two cells each way; a smaller grid
  // is left empty rather than wrapped onto itself.
  if (setup.cols < 2 || setup.rows < 2) setup.cols = setup.rows = 0;

  // dieStart 0 wraps to the largest number: liveEnd is then numFrames.
  setup.liveEnd = std::min(face.numFrames, face.dieStart - 1u);
  setup.bornEnd = std::min(face.bornEnd, setup.liveEnd);
  setup.liveSpan = setup.liveEnd - setup.bornEnd;
  if (setup.liveSpan == 0) setup.liveSpan = 1;
  setup.numRows = face.numRows == 0 ? 1 : face.numRows;
  return setup;
}

void ApplyFaceSetup(CellMap& map, const FaceInfo& face, const EngineSetup& setup) {
  map.numFrames = face.numFrames;
  map.frameWidth = face.frameWidth;
  map.frameHeight = face.frameHeight;
  map.liveEnd = setup.liveEnd;
  map.bornEnd = setup.bornEnd;
  map.liveSpan = setup.liveSpan;
  map.numRows = setup.numRows;
}
