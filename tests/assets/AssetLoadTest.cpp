// Loads every sprite sheet of the shipped catalogue and the icon through
// the same Windows calls the saver and its resources use.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "TestFiles.h"

namespace {
// The assets folder as a Windows path (Wine shows the Linux root as Z:).
std::string AssetPath(const std::string& name) {
  std::string path = std::string("Z:") + LIFE_ASSETS_DIR + "/" + name;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

uint32_t ReadU32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
         uint32_t{b[at + 3]} << 24;
}

struct Record {
  std::string name;
  unsigned w, h, frames, rows, bornEnd, dieStart;
};

std::vector<Record> ReadCatalogue() {
  std::vector<Record> records;
  FILE* file = std::fopen(AssetPath("life.nfo").c_str(), "r");
  if (file == nullptr) return records;
  char name[260];
  Record r;
  while (std::fscanf(file, "%259s %u %u %u %u %u %u", name, &r.w, &r.h, &r.frames, &r.rows,
                     &r.bornEnd, &r.dieStart) == 7) {
    r.name = name;
    records.push_back(r);
  }
  std::fclose(file);
  return records;
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  return {info.bmWidth, info.bmHeight};
}
}  // namespace

TEST(ShippedSheets, LoadAtTheSizeTheCatalogueGives) {
  const std::vector<Record> records = ReadCatalogue();
  ASSERT_GE(records.size(), 4u);
  EXPECT_EQ(records[0].name, "lifeface.bmp");
  for (const Record& r : records) {
    SCOPED_TRACE(r.name);
    const int width = static_cast<int>(r.frames * r.w), height = static_cast<int>(r.rows * r.h);
    // As the saver loads it: scaled to the catalogue's size.
    auto* bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, AssetPath(r.name).c_str(), IMAGE_BITMAP,
                                                   width, height, LR_LOADFROMFILE));
    ASSERT_NE(bitmap, nullptr);
    const SIZE size = BitmapSize(bitmap);
    EXPECT_EQ(size.cx, width);
    EXPECT_EQ(size.cy, height);
    DeleteObject(bitmap);
  }
}

TEST(ShippedSheets, WindowsReadsTheSamePixelsTheFileHolds) {
  for (const Record& r : ReadCatalogue()) {
    SCOPED_TRACE(r.name);
    const std::vector<uint8_t> file = ReadFileBytes(AssetPath(r.name));
    ASSERT_GT(file.size(), 54u);
    const uint32_t offset = ReadU32(file, 10);
    auto* bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, AssetPath(r.name).c_str(), IMAGE_BITMAP,
                                                   0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    const SIZE size = BitmapSize(bitmap);
    // Read back as a bottom-up 24-bit DIB: the layout of the file's rows.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const size_t stride = (static_cast<size_t>(size.cx) * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> pixels(stride * static_cast<size_t>(size.cy));
    HDC screen = GetDC(nullptr);
    const int lines = GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.cy), pixels.data(), &info,
                                DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    ASSERT_EQ(lines, size.cy);
    ASSERT_EQ(file.size(), offset + pixels.size());
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(),
                           file.begin() + static_cast<std::ptrdiff_t>(offset)));
  }
}

TEST(ShippedIcon, LoadsInBothSizes) {
  for (const int size : {16, 32}) {
    auto* icon = static_cast<HICON>(LoadImageA(nullptr, AssetPath("life.ico").c_str(), IMAGE_ICON,
                                               size, size, LR_LOADFROMFILE));
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_EQ(BitmapSize(info.hbmMask).cx, size);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}
