#pragma once
#include <string>

#include "RgbImage.h"

// Writes an 8-bit RGB PNG. On failure returns false with a one-line reason.
bool WritePng(const std::string& path, const RgbImage& image, std::string& error);
