#include <gtest/gtest.h>

#include "FaceIcon.h"
#include "IconFile.h"

namespace {
uint32_t ReadU32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
         uint32_t{b[at + 3]} << 24;
}
uint16_t ReadU16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

IconImage Solid(int size, uint8_t index) {
  IconImage image;
  image.size = size;
  image.indices.assign(static_cast<size_t>(size * size), index);
  image.transparent.assign(static_cast<size_t>(size * size), false);
  return image;
}
}  // namespace

TEST(IconFile, DirectoryListsBothImagesWithTheirOffsets) {
  const std::vector<uint8_t> ico = EncodeIcon({Solid(16, 11), Solid(32, 11)});
  // 16x16: header 40, palette 64, colour rows 8 x 16, mask rows 4 x 16.
  // 32x32: header 40, palette 64, colour rows 16 x 32, mask rows 4 x 32.
  ASSERT_EQ(ico.size(), 6u + 2 * 16u + 296u + 744u);
  EXPECT_EQ(ReadU16(ico, 0), 0u);
  EXPECT_EQ(ReadU16(ico, 2), 1u);  // icon
  EXPECT_EQ(ReadU16(ico, 4), 2u);
  for (size_t e = 0; e < 2; ++e) {
    const size_t entry = 6 + 16 * e;
    const uint32_t size = e == 0 ? 16 : 32;
    EXPECT_EQ(ico[entry], size);
    EXPECT_EQ(ico[entry + 1], size);
    EXPECT_EQ(ico[entry + 2], 16u);          // colours
    EXPECT_EQ(ReadU16(ico, entry + 6), 4u);  // bits per pixel
    const uint32_t bytes = ReadU32(ico, entry + 8);
    const uint32_t offset = ReadU32(ico, entry + 12);
    EXPECT_EQ(bytes, e == 0 ? 296u : 744u);
    EXPECT_EQ(offset, e == 0 ? 38u : 38u + 296u);
    EXPECT_EQ(ReadU32(ico, offset), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(ReadU32(ico, offset + 4), size);
    EXPECT_EQ(ReadU32(ico, offset + 8), size * 2);  // colour and mask rows
    EXPECT_EQ(ReadU16(ico, offset + 14), 4u);
  }
}

TEST(IconFile, TransparentPixelsAreBlackWithTheirMaskBitSet) {
  IconImage image = Solid(16, 11);
  image.transparent[0] = true;  // top-left
  const std::vector<uint8_t> ico = EncodeIcon({image});
  const size_t pixels = 6 + 16 + 40 + 64;
  const size_t mask = pixels + 8 * 16;
  // Rows are stored bottom-up: the top row comes last.
  EXPECT_EQ(ico[pixels + 8 * 15], 0x0B);  // transparent black, then yellow
  EXPECT_EQ(ico[pixels + 8 * 15 + 1], 0xBB);
  EXPECT_EQ(ico[pixels], 0xBB);
  EXPECT_EQ(ico[mask + 4 * 15], 0x80);
  EXPECT_EQ(ico[mask], 0x00);
}

TEST(IconFile, PaletteIsTheStandardSixteenColours) {
  const std::vector<uint8_t> ico = EncodeIcon({Solid(16, 0)});
  const size_t palette = 6 + 16 + 40;
  EXPECT_EQ(ico[palette + 4 * 11 + 0], 0x00);  // yellow: blue byte first
  EXPECT_EQ(ico[palette + 4 * 11 + 1], 0xFF);
  EXPECT_EQ(ico[palette + 4 * 11 + 2], 0xFF);
  EXPECT_EQ(NearestPaletteIndex({250, 240, 10}, {0, 3, 11, 15}), 11);
  EXPECT_EQ(NearestPaletteIndex({20, 20, 20}, {0, 3, 11, 15}), 0);
}

TEST(FaceIcon, IsAFaceOnATransparentBackground) {
  for (const int size : {16, 32}) {
    const IconImage icon = PaintIconImage(size);
    ASSERT_EQ(icon.indices.size(), static_cast<size_t>(size * size));
    // Corners show the desktop; the middle is the face.
    EXPECT_TRUE(icon.transparent.front());
    EXPECT_TRUE(icon.transparent.back());
    const size_t middle = static_cast<size_t>(size / 2 * size + size / 2);
    EXPECT_FALSE(icon.transparent[middle]);
    // Yellow covers much of it, and dark features are there.
    size_t yellow = 0, black = 0;
    for (size_t i = 0; i < icon.indices.size(); ++i) {
      if (icon.transparent[i]) continue;
      yellow += icon.indices[i] == 11;
      black += icon.indices[i] == 0;
    }
    EXPECT_GT(yellow, icon.indices.size() / 3);
    EXPECT_GT(black, 3u);
  }
}
