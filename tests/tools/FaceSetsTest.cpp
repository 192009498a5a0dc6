#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <cstdio>
#include <sstream>

#include "BmpFile.h"
#include "FaceIcon.h"
#include "FaceSets.h"
#include "IconFile.h"
#include "TestFiles.h"

namespace {
const std::vector<FaceSet>& Sets() {
  static const std::vector<FaceSet> sets = ShippedFaceSets();
  return sets;
}

const std::vector<RgbImage>& Sheets() {
  static const std::vector<RgbImage> sheets = [] {
    std::vector<RgbImage> all;
    for (const FaceSet& set : Sets()) all.push_back(PaintSheet(set));
    return all;
  }();
  return sheets;
}

std::vector<uint8_t> ReadAsset(const std::string& name) {
  return ReadFileBytes(std::string(LIFE_ASSETS_DIR) + "/" + name);
}

RgbImage Frame(size_t set, int row, int frame) {
  const FaceSet& s = Sets()[set];
  RgbImage out(s.frameWidth, s.frameHeight);
  for (int y = 0; y < s.frameHeight; ++y)
    for (int x = 0; x < s.frameWidth; ++x)
      out.at(x, y) = Sheets()[set].at(frame * s.frameWidth + x, row * s.frameHeight + y);
  return out;
}

double Brightness(const RgbImage& image) {
  double sum = 0;
  for (const Rgb p : image.pixels) sum += 0.3 * p.r + 0.59 * p.g + 0.11 * p.b;
  return sum / static_cast<double>(image.pixels.size());
}

double ShareDifferent(const RgbImage& a, const RgbImage& b) {
  size_t different = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) {
    const Rgb p = a.pixels[i], q = b.pixels[i];
    different += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) > 24;
  }
  return static_cast<double>(different) / static_cast<double>(a.pixels.size());
}
}  // namespace

TEST(FaceSets, DefaultSetComesFirstWithItsKnownGeometry) {
  ASSERT_GE(Sets().size(), 4u);
  const std::string catalogue = CatalogueText(Sets());
  EXPECT_EQ(catalogue.substr(0, catalogue.find('\n') + 1), "lifeface.bmp 16 16 25 6 5 12\r\n");
}

TEST(FaceSets, CatalogueRecordsScanAsTheSaverReadsThem) {
  const std::string catalogue = CatalogueText(Sets());
  std::istringstream in(catalogue);
  for (const FaceSet& set : Sets()) {
    std::string name;
    unsigned w, h, frames, rows, bornEnd, dieStart;
    ASSERT_TRUE(in >> name >> w >> h >> frames >> rows >> bornEnd >> dieStart);
    EXPECT_EQ(name, set.file);
    EXPECT_EQ(name.find_first_of(" \t"), std::string::npos);
    EXPECT_EQ(w, static_cast<unsigned>(set.frameWidth));
    EXPECT_EQ(h, static_cast<unsigned>(set.frameHeight));
    EXPECT_EQ(frames, static_cast<unsigned>(set.numFrames()));
    EXPECT_EQ(rows, static_cast<unsigned>(set.numRows()));
  }
  std::string extra;
  EXPECT_FALSE(in >> extra);
}

TEST(FaceSets, FrameRangesAreSensible) {
  for (const FaceSet& set : Sets()) {
    SCOPED_TRACE(set.file);
    EXPECT_GE(set.bornEnd, 1);
    EXPECT_GT(set.dieStart, set.bornEnd + 1);  // at least one idle frame
    EXPECT_LT(set.dieStart, set.numFrames());  // at least one death frame
    EXPECT_LE(set.numFrames(), 256);           // frames fit 8 bits
    EXPECT_GE(set.numRows(), 1);
    EXPECT_LE(set.numRows(), 256);
  }
}

TEST(FaceSets, FrameZeroIsBlackInEveryRow) {
  for (size_t s = 0; s < Sets().size(); ++s)
    for (int r = 0; r < Sets()[s].numRows(); ++r)
      for (const Rgb p : Frame(s, r, 0).pixels)
        ASSERT_EQ(p, (Rgb{0, 0, 0})) << Sets()[s].file << " row " << r;
}

TEST(FaceSets, LivingFramesShowAClearFace) {
  for (size_t s = 0; s < Sets().size(); ++s) {
    const FaceSet& set = Sets()[s];
    for (int r = 0; r < set.numRows(); ++r) {
      // Every birth frame shows something; every idle frame a bright face.
      for (int f = 1; f <= set.bornEnd; ++f)
        EXPECT_GT(Brightness(Frame(s, r, f)), 1.0) << set.file << " row " << r << " frame " << f;
      for (int f = set.bornEnd + 1; f < set.dieStart; ++f)
        EXPECT_GT(Brightness(Frame(s, r, f)), 40.0) << set.file << " row " << r << " frame " << f;
    }
  }
}

TEST(FaceSets, IdleFramesDifferOnlyInDetails) {
  // A random idle frame shows each generation: a big change between any
  // two of them would make living cells flicker.
  for (size_t s = 0; s < Sets().size(); ++s) {
    const FaceSet& set = Sets()[s];
    for (int r = 0; r < set.numRows(); ++r)
      for (int a = set.bornEnd + 1; a < set.dieStart; ++a)
        for (int b = a + 1; b < set.dieStart; ++b)
          EXPECT_LT(ShareDifferent(Frame(s, r, a), Frame(s, r, b)), 0.25)
              << set.file << " row " << r << " frames " << a << " and " << b;
  }
}

TEST(FaceSets, DyingFacesFadeAwayToAlmostNothing) {
  for (size_t s = 0; s < Sets().size(); ++s) {
    const FaceSet& set = Sets()[s];
    for (int r = 0; r < set.numRows(); ++r) {
      const double first = Brightness(Frame(s, r, set.dieStart));
      const double last = Brightness(Frame(s, r, set.numFrames() - 1));
      EXPECT_LT(last, first * 0.1) << set.file << " row " << r;
      // The first death frame (a surprised face with dark open eyes) may
      // be a little darker than the next; from there on it only fades.
      double previous = Brightness(Frame(s, r, set.dieStart + 1));
      for (int f = set.dieStart + 1; f < set.numFrames(); ++f) {
        const double now = Brightness(Frame(s, r, f));
        EXPECT_LE(now, previous) << set.file << " row " << r << " frame " << f;
        previous = now;
      }
    }
  }
}

TEST(FaceSets, RowsAreDistinctCharacters) {
  for (size_t s = 0; s < Sets().size(); ++s) {
    const FaceSet& set = Sets()[s];
    const int idle = set.bornEnd + 1;
    for (int a = 0; a < set.numRows(); ++a)
      for (int b = a + 1; b < set.numRows(); ++b)
        EXPECT_GT(ShareDifferent(Frame(s, a, idle), Frame(s, b, idle)), 0.2)
            << set.file << " rows " << a << " and " << b;
  }
}

TEST(FaceSets, PaintingIsDeterministic) {
  for (size_t s = 0; s < Sets().size(); ++s)
    EXPECT_TRUE(PaintSheet(Sets()[s]).pixels == Sheets()[s].pixels) << Sets()[s].file;
}

// The committed files are what make-faces writes today.
TEST(ShippedAssets, MatchTheGeneratedArtwork) {
  for (size_t s = 0; s < Sets().size(); ++s)
    EXPECT_TRUE(ReadAsset(Sets()[s].file) == EncodeBmp24(Sheets()[s]))
        << Sets()[s].file << " is out of date: run make-faces assets";
  const std::string catalogue = CatalogueText(Sets());
  EXPECT_TRUE(ReadAsset("life.nfo") == std::vector<uint8_t>(catalogue.begin(), catalogue.end()))
      << "life.nfo is out of date: run make-faces assets";
  EXPECT_TRUE(ReadAsset("life.ico") == EncodeIcon({PaintIconImage(16), PaintIconImage(32)}))
      << "life.ico is out of date: run make-faces assets";
}

TEST(ShippedAssets, EverySheetInTheCatalogueLoadsAtItsListedSize) {
  const std::vector<uint8_t> text = ReadAsset("life.nfo");
  std::istringstream in(std::string(text.begin(), text.end()));
  std::string name;
  unsigned w, h, frames, rows, bornEnd, dieStart;
  int records = 0;
  while (in >> name >> w >> h >> frames >> rows >> bornEnd >> dieStart) {
    ++records;
    int width = 0, height = 0, channels = 0;
    const std::string path = std::string(LIFE_ASSETS_DIR) + "/" + name;
    ASSERT_EQ(stbi_info(path.c_str(), &width, &height, &channels), 1) << path;
    EXPECT_EQ(static_cast<unsigned>(width), w * frames) << name;
    EXPECT_EQ(static_cast<unsigned>(height), h * rows) << name;
  }
  EXPECT_EQ(records, static_cast<int>(Sets().size()));
}
