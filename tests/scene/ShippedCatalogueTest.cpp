// The catalogue shipped in assets/: every record parses and names a bitmap
// in assets/ whose size is what the record implies.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "FaceCatalogue.h"

namespace {

const std::string kAssets = LIFE_ASSETS_DIR;

unsigned AssetsDirectory(char* buffer, unsigned size) {
  const char directory[] = "ASSETS";
  if (size < sizeof directory) return sizeof directory;
  std::snprintf(buffer, size, "%s", directory);
  return sizeof directory - 1;
}

FILE* OpenInAssets(const char* path) {
  const std::string name(path);
  if (name != "ASSETS\\life.nfo") return nullptr;
  return std::fopen((kAssets + "/life.nfo").c_str(), "r");
}

std::string lastMessage;
void RecordMessage(const char* text, const char*) { lastMessage = text; }

const CatalogueSeam kAssetsSeam = {AssetsDirectory, OpenInAssets, RecordMessage, std::malloc};

uint32_t Little32(const unsigned char* bytes) {
  return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
         uint32_t{bytes[3]} << 24;
}

// Width and height of a Windows bitmap file (height as an absolute value:
// top-down bitmaps store it negated).
bool BitmapSize(const std::string& path, uint32_t* width, uint32_t* height) {
  std::ifstream file(path, std::ios::binary);
  unsigned char header[26] = {};
  if (!file.read(reinterpret_cast<char*>(header), sizeof header)) return false;
  if (header[0] != 'B' || header[1] != 'M') return false;
  if (Little32(header + 14) < 40) return false;  // BITMAPINFOHEADER or later
  *width = Little32(header + 18);
  const auto rawHeight = static_cast<int32_t>(Little32(header + 22));
  *height = static_cast<uint32_t>(rawHeight < 0 ? -int64_t{rawHeight} : int64_t{rawHeight});
  return true;
}

TEST(ShippedCatalogue, EveryRecordNamesABitmapOfTheImpliedSize) {
  SetCatalogueSeam(&kAssetsSeam);
  FaceInfo table[kMaxFaces] = {};
  const unsigned count = ReadFaceCatalogue("life.nfo", table, kMaxFaces);
  SetCatalogueSeam(nullptr);
  EXPECT_EQ(lastMessage, "");
  ASSERT_GT(count, 0u);

  // Every record of the file is read: nothing malformed stops the reading.
  std::ifstream text(kAssets + "/life.nfo");
  unsigned fields = 0;
  for (std::string word; text >> word;) ++fields;
  EXPECT_EQ(fields, count * 7) << "a record of life.nfo is malformed or too many";

  for (unsigned i = 0; i < count; ++i) {
    const FaceInfo& face = table[i];
    SCOPED_TRACE(face.loadImage);
    EXPECT_GT(face.frameWidth, 0u);
    EXPECT_GT(face.frameHeight, 0u);
    EXPECT_GT(face.numRows, 0u);
    EXPECT_LT(face.bornEnd, face.dieStart);
    EXPECT_LE(face.dieStart, face.numFrames);
    uint32_t width = 0;
    uint32_t height = 0;
    ASSERT_TRUE(BitmapSize(kAssets + "/" + face.loadImage, &width, &height))
        << "missing or not a bitmap";
    EXPECT_EQ(width, face.numFrames * face.frameWidth);
    EXPECT_EQ(height, face.numRows * face.frameHeight);
  }
  FreeFaceCatalogue(table, count);
}

TEST(ShippedCatalogue, DefaultFaceBitmapIsShippedWithItsSize) {
  uint32_t width = 0;
  uint32_t height = 0;
  ASSERT_TRUE(BitmapSize(kAssets + "/" + kDefaultFace.loadImage, &width, &height));
  EXPECT_EQ(width, kDefaultFace.numFrames * kDefaultFace.frameWidth);
  EXPECT_EQ(height, kDefaultFace.numRows * kDefaultFace.frameHeight);
}

}  // namespace
