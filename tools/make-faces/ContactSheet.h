#pragma once
#include <vector>

#include "FaceSets.h"
#include "RgbImage.h"

// Every set's sheet, one under the other, each frame enlarged and framed by
// a thin grey grid so that frame boundaries and black frames can be seen. A
// bar over each frame gives its range: grey blank, green birth, blue idle,
// red death. Frames are enlarged to about zoom x 16 pixels high, so sets of
// every size show alike.
RgbImage MakeContactSheet(const std::vector<FaceSet>& sets, const std::vector<RgbImage>& sheets,
                          int zoom);
