#include "EngineSetup.h"

#include <algorithm>

WorldConfig MakeWorldConfig(const FaceInfo& face, uint32_t clientWidth, uint32_t clientHeight) {
  WorldConfig config;
  if (face.frameWidth != 0 && face.frameHeight != 0) {
    config.cols = clientWidth / face.frameWidth;
    config.rows = clientHeight / face.frameHeight;
  }
  // The toroidal neighbourhood needs two cells each way; a smaller grid
  // is left empty rather than wrapped onto itself.
  if (config.cols < 2 || config.rows < 2) config.cols = config.rows = 0;

  config.frameWidth = face.frameWidth;
  config.frameHeight = face.frameHeight;
  config.numFrames = face.numFrames;
  // dieStart 0 wraps to the largest number: liveEnd is then numFrames.
  config.liveEnd = std::min(face.numFrames, face.dieStart - 1u);
  config.bornEnd = std::min(face.bornEnd, config.liveEnd);
  config.liveSpan = config.liveEnd - config.bornEnd;
  if (config.liveSpan == 0) config.liveSpan = 1;
  config.numRows = face.numRows == 0 ? 1 : face.numRows;
  return config;
}
