#pragma once
// Sprite sheets for tests: every tile a solid colour that names its frame and
// face row, frame 0 of row 0 black; written as 24-bit BMP files.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "Picture.h"
#include "Platform.h"

#ifdef _WIN32
#include <windows.h>
#endif

// The pixel a test sheet shows for frame f of face row r.
inline Pixel TileColour(uint32_t frame, uint32_t row) {
  if (frame == 0 && row == 0) return 0;
  return (Pixel{0x10u + frame * 9u} << 16) | (Pixel{0x20u + row * 30u} << 8) | 0xC8u;
}

// Writes a sheet of frames x rows tiles of tileW x tileH pixels.
inline void WriteTestSheet(const std::string& path, int tileW, int tileH, int frames, int rows) {
  const int width = tileW * frames, height = tileH * rows;
  const int stride = (width * 3 + 3) & ~3;
  const uint32_t dataSize = static_cast<uint32_t>(stride * height);
  std::vector<uint8_t> file(54 + dataSize, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
      file[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  file[26] = 1;
  file[28] = 24;
  put32(34, dataSize);
  for (int y = 0; y < height; ++y) {
    uint8_t* out = file.data() + 54 + static_cast<size_t>((height - 1 - y) * stride);
    for (int x = 0; x < width; ++x) {
      const Pixel p =
          TileColour(static_cast<uint32_t>(x / tileW), static_cast<uint32_t>(y / tileH));
      out[x * 3 + 0] = static_cast<uint8_t>(p);
      out[x * 3 + 1] = static_cast<uint8_t>(p >> 8);
      out[x * 3 + 2] = static_cast<uint8_t>(p >> 16);
    }
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return;
  std::fwrite(file.data(), 1, file.size(), f);
  std::fclose(f);
}

// The window pictures are made for: the desktop on Windows, memory natively.
inline WindowHandle TestWindow() {
#ifdef _WIN32
  return GetDesktopWindow();
#else
  return OffscreenWindow();
#endif
}

// A scratch folder for sheet files, of this test alone: test cases may run
// in parallel processes.
inline std::string ScratchFolder(const std::string& name) {
  std::random_device random;
  const auto folder = std::filesystem::temp_directory_path() /
                      ("life-tests-" + name + "-" + std::to_string(random()));
  std::filesystem::create_directories(folder);
  return folder.string();
}
