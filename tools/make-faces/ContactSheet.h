#pragma once
#include <vector>

#include "FaceSets.h"
#include "RgbImage.h"

// Every set's sheet, one under the other, each frame zoomed and framed by a
// thin grey grid so that frame boundaries and black frames can be seen.
RgbImage MakeContactSheet(const std::vector<FaceSet>& sets,
                          const std::vector<RgbImage>& sheets, int zoom);
