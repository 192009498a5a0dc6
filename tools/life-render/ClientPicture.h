#pragma once
#include <cstdint>

#include "Picture.h"
#include "RgbImage.h"

// What the saver window shows: the picture at (0, 0) of a client area of
// the given size, the strips beyond it black. A missing picture (a grid of
// no cells) leaves the whole client area black.
RgbImage ClientPicture(const Picture* picture, uint32_t width, uint32_t height);
