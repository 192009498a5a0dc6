#pragma once
#include "FacePainter.h"
#include "RgbImage.h"

// Faces for 8x8 frames, laid out pixel by pixel: at this size sampled
// shapes blur, so each character's head and each expression are drawn as
// small pixel patterns instead. The pose's scale picks the head size (8, 6,
// 4 or 2 pixels); its eyes, look and mouth pick the features; fade and grey
// apply as for the larger faces.
RgbImage PaintPixelFace(const FaceStyle& style, const FacePose& pose);
