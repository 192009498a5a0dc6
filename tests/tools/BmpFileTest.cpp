#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <cstring>

#include "BmpFile.h"

namespace {
uint32_t ReadU32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
         uint32_t{b[at + 3]} << 24;
}
uint16_t ReadU16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

RgbImage Gradient(int w, int h) {
  RgbImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      image.at(x, y) = {static_cast<uint8_t>(x * 40), static_cast<uint8_t>(y * 70),
                        static_cast<uint8_t>(x + y * 10 + 1)};
  return image;
}
}  // namespace

TEST(BmpFile, HeadersDescribeAnUncompressedBottomUp24BitBitmap) {
  const std::vector<uint8_t> bmp = EncodeBmp24(Gradient(5, 3));
  ASSERT_GE(bmp.size(), 54u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  // Five pixels are 15 bytes, padded to 16 a row.
  EXPECT_EQ(BmpRowStride(5), 16u);
  EXPECT_EQ(bmp.size(), 54u + 16u * 3u);
  EXPECT_EQ(ReadU32(bmp, 2), bmp.size());  // file size
  EXPECT_EQ(ReadU32(bmp, 10), 54u);        // pixel data offset
  EXPECT_EQ(ReadU32(bmp, 14), 40u);        // BITMAPINFOHEADER
  EXPECT_EQ(ReadU32(bmp, 18), 5u);         // width
  EXPECT_EQ(ReadU32(bmp, 22), 3u);         // positive height: bottom-up
  EXPECT_EQ(ReadU16(bmp, 26), 1u);         // planes
  EXPECT_EQ(ReadU16(bmp, 28), 24u);        // bits per pixel
  EXPECT_EQ(ReadU32(bmp, 30), 0u);         // BI_RGB
  EXPECT_EQ(ReadU32(bmp, 34), 48u);        // image size
}

TEST(BmpFile, FirstStoredRowIsTheBottomRowInBlueGreenRedOrder) {
  const RgbImage image = Gradient(5, 3);
  const std::vector<uint8_t> bmp = EncodeBmp24(image);
  const Rgb bottomLeft = image.at(0, 2);
  EXPECT_EQ(bmp[54], bottomLeft.b);
  EXPECT_EQ(bmp[55], bottomLeft.g);
  EXPECT_EQ(bmp[56], bottomLeft.r);
  EXPECT_EQ(bmp[54 + 15], 0);  // padding
}

TEST(BmpFile, DecodesToTheSamePixelsForEveryRowPadding) {
  for (int w = 1; w <= 5; ++w) {
    const RgbImage image = Gradient(w, 4);
    const std::vector<uint8_t> bmp = EncodeBmp24(image);
    int width = 0, height = 0, channels = 0;
    unsigned char* decoded = stbi_load_from_memory(bmp.data(), static_cast<int>(bmp.size()), &width,
                                                   &height, &channels, 3);
    ASSERT_NE(decoded, nullptr) << "width " << w;
    EXPECT_EQ(width, w);
    EXPECT_EQ(height, 4);
    EXPECT_EQ(std::memcmp(decoded, image.pixels.data(), image.pixels.size() * 3), 0)
        << "width " << w;
    stbi_image_free(decoded);
  }
}
