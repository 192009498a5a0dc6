#pragma once
#include <cstdint>

#include "FaceInfo.h"
#include "WorldConfig.h"

// The world a face set gives for a client area: the grid in whole frames,
// the face geometry and its frame ranges; seed and initpop are left for the
// caller. A client area less than two frames wide or high, or a frame size
// of 0 (which the caller refuses first), gives a grid of no cells: such a
// window shows black.
WorldConfig MakeWorldConfig(const FaceInfo& face, uint32_t clientWidth, uint32_t clientHeight);
