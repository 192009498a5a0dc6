#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "RgbImage.h"

// An uncompressed 24-bit Windows bitmap file: BITMAPFILEHEADER (14 bytes),
// BITMAPINFOHEADER (40 bytes), then the rows bottom-up in B, G, R order,
// each padded to a multiple of 4 bytes.
std::vector<uint8_t> EncodeBmp24(const RgbImage& image);

// Bytes of one stored row: three a pixel, padded to 4.
size_t BmpRowStride(int width);

bool WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes);
