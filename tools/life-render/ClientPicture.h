#pragma once
#include <climits>
#include <cstdint>

#include "Picture.h"
#include "RgbImage.h"

// What the saver window shows: the picture at (0, 0) of a client area of
// the given size, the strips beyond it black. A missing picture (a grid of
// no cells) leaves the whole client area black.
RgbImage ClientPicture(const Picture* picture, uint32_t width, uint32_t height);

// Copies the picture into the image with its top-left corner at (x, y), as
// the window's block copy does: what falls outside the image is cut off. A
// missing picture copies nothing. Only what falls inside `clip` (image
// pixels) is copied: a view of the picture, as a monitor shows it.
void PastePicture(RgbImage& image, const Picture* picture, int x, int y,
                  const PixelRect& clip = {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
