#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "RgbImage.h"

// Windows icon files (.ico) of 16-colour images.

// The standard 16-colour palette of Windows, in index order.
const std::array<Rgb, 16>& StandardPalette();

// Index of the palette colour nearest to c among the allowed indices.
uint8_t NearestPaletteIndex(Rgb c, const std::vector<uint8_t>& allowed);

// One icon image: palette indices (row-major, top-down) and which pixels are
// transparent.
struct IconImage {
  int size = 0;  // width and height
  std::vector<uint8_t> indices;
  std::vector<bool> transparent;
};

// The icon file: ICONDIR, one ICONDIRENTRY per image, then per image a
// BITMAPINFOHEADER (height doubled for the two masks), the palette, the
// 4-bit colour rows and the 1-bit transparency mask, rows bottom-up and
// padded to 4 bytes.
std::vector<uint8_t> EncodeIcon(const std::vector<IconImage>& images);
