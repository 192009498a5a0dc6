#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "CellMap.h"
#include "EngineSetup.h"
#include "Fatal.h"
#include "TestSheet.h"

namespace {

struct FatalReport {
  std::string text;
  std::string caption;
};

void ThrowFatal(const std::string& text, const char* caption) {
  throw FatalReport{text, caption};
}

constexpr uint32_t kGreen = 0x0000FF00;  // 0x00BBGGRR

class ComposeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFatalHook(ThrowFatal);
    folder_ = ScratchFolder("compose");
    sheetPath_ = (std::filesystem::path(folder_) / "faces.bmp").string();
    WriteTestSheet(sheetPath_, 16, 16, 25, 6);
  }
  void TearDown() override {
    SetFatalHook(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // Sets the map up as the saver does for a client area of width x height.
  void Setup(CellMap& map, uint32_t width, uint32_t height, uint32_t seed = 321,
             uint32_t initpop = 200) {
    FaceInfo face = kDefaultFace;
    const EngineSetup setup = DeriveEngineSetup(face, width, height);
    map.seed = seed;
    map.initpop = initpop;
    map.displayColor = kGreen;
    ApplyFaceSetup(map, face, setup);
    map.SetFaceName(sheetPath_.c_str());
    cols_ = setup.cols;
    rows_ = setup.rows;
  }

  // Every cell's tile shows the sheet frame its face state names.
  void ExpectTilesMatchState(const CellMap& map, const Picture& picture) {
    for (uint32_t y = 0; y < map.rows(); ++y)
      for (uint32_t x = 0; x < map.cols(); ++x) {
        const uint16_t s = map.faceState(x, y);
        const Pixel expected = TileColour(s >> 8u, s & 0xFFu);
        // The tile's centre: clear of the frame and of the overlays' corner.
        const int px = static_cast<int>(x * 16 + 8), py = static_cast<int>(y * 16 + 8);
        ASSERT_EQ(picture.pixel(px, py), expected) << "cell " << x << "," << y;
      }
  }

  std::string folder_;
  std::string sheetPath_;
  uint32_t cols_ = 0, rows_ = 0;
};

TEST_F(ComposeTest, RightAfterCreateTilesAreBlankButTheMiniDisplayShowsTheSeed) {
  CellMap map;
  Setup(map, 640, 480);
  map.bMiniDisplay = 1;
  map.Create(TestWindow(), cols_, rows_);
  const Picture& grid = map.gridPicture();
  ASSERT_EQ(grid.width(), 640);
  ASSERT_EQ(grid.height(), 480);
  for (int y = 0; y < grid.height(); ++y)
    for (int x = 0; x < grid.width(); ++x) ASSERT_EQ(grid.pixel(x, y), 0u);
  const Picture& mini = map.miniPicture();
  ASSERT_EQ(mini.width(), 44);
  ASSERT_EQ(mini.height(), 34);
  const Pixel green = PixelFromColor(kGreen);
  int lit = 0;
  for (uint32_t y = 0; y < rows_; ++y)
    for (uint32_t x = 0; x < cols_; ++x) {
      const Pixel p = mini.pixel(static_cast<int>(x) + 2, static_cast<int>(y) + 2);
      ASSERT_EQ(p, map.IsAlive(x, y) ? green : 0u);
      lit += p != 0;
    }
  EXPECT_EQ(lit, map.population());
  // Border of the colour, one black pixel of margin inside it.
  for (int x = 0; x < 44; ++x) {
    EXPECT_EQ(mini.pixel(x, 0), green);
    EXPECT_EQ(mini.pixel(x, 33), green);
    if (x > 0 && x < 43) {
      EXPECT_EQ(mini.pixel(x, 1), 0u);
    }
  }
  EXPECT_EQ(mini.pixel(0, 17), green);
  EXPECT_EQ(mini.pixel(1, 17), 0u);
}

TEST_F(ComposeTest, OverlaysOffGivesTheGridPictureUntouched) {
  CellMap map;
  Setup(map, 320, 240);
  map.Create(TestWindow(), cols_, rows_);
  map.NextGeneration();
  map.NextGeneration();
  const Picture* shown = map.Compose();
  ASSERT_EQ(shown, &map.gridPicture());
  ExpectTilesMatchState(map, *shown);
  EXPECT_EQ(shown->pixel(0, 0), TileColour(map.faceState(0, 0) >> 8, map.faceState(0, 0) & 0xFF));
}

TEST_F(ComposeTest, FrameIsDrawnIntoTheGridPicture) {
  CellMap map;
  Setup(map, 320, 240);
  map.bFrameScreen = 1;
  map.Create(TestWindow(), cols_, rows_);
  const Picture* shown = map.Compose();
  ASSERT_EQ(shown, &map.gridPicture());
  const Pixel green = PixelFromColor(kGreen);
  for (int x = 0; x < 320; ++x) {
    EXPECT_EQ(shown->pixel(x, 0), green);
    EXPECT_EQ(shown->pixel(x, 239), green);
  }
  for (int y = 0; y < 240; ++y) {
    EXPECT_EQ(shown->pixel(0, y), green);
    EXPECT_EQ(shown->pixel(319, y), green);
  }
  EXPECT_EQ(shown->pixel(1, 1), 0u);
}

TEST_F(ComposeTest, MiniDisplayIsOredTwoPixelsInsideTheTopRightCorner) {
  // 40 columns of 16 pixels: a 640-pixel picture, mini display at x 594..637.
  CellMap map;
  Setup(map, 640, 480);
  map.bMiniDisplay = 1;
  map.Create(TestWindow(), cols_, rows_);
  EXPECT_EQ(map.miniDisplayX(), 594);
  EXPECT_EQ(map.miniDisplayY(), 2);
  for (int step = 0; step < 3; ++step) map.NextGeneration();
  const Picture* shown = map.Compose();
  ASSERT_NE(shown, &map.gridPicture());
  const Picture& grid = map.gridPicture();
  const Picture& mini = map.miniPicture();
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const bool covered = x >= 594 && x < 638 && y >= 2 && y < 36;
      const Pixel expected =
          covered ? grid.pixel(x, y) | mini.pixel(x - 594, y - 2) : grid.pixel(x, y);
      ASSERT_EQ(shown->pixel(x, y), expected) << x << "," << y;
    }
}

TEST_F(ComposeTest, EachTickShowsExactlyAFreshCompositionOfItsState) {
  // 64 x 48 cells: the mini display (68 x 52 pixels at 954, 2) reaches below
  // the activity line's band, and a short face name keeps the numbers in view.
  const std::filesystem::path start = std::filesystem::current_path();
  std::filesystem::current_path(folder_);
  std::filesystem::copy_file(sheetPath_, "lf.bmp");
  CellMap map;
  Setup(map, 1024, 768, 99, 900);
  map.SetFaceName("lf.bmp");
  map.bMiniDisplay = map.bActivityBar = map.bFrameScreen = 1;
  map.Create(TestWindow(), cols_, rows_);
  std::filesystem::current_path(start);
  ASSERT_EQ(map.miniDisplayX(), 954);
  const Pixel green = PixelFromColor(kGreen);
  Picture mini, expected;
  ASSERT_TRUE(mini.Create(TestWindow(), 68, 52));
  ASSERT_TRUE(expected.Create(TestWindow(), 1024, 768));
  expected.PrepareText(nullptr, kGreen);
  for (int tick = 0; tick < 12; ++tick) {
    const Picture* shown = map.Compose();
    ASSERT_NE(shown, nullptr);
    // The framed grid picture, a mini display of the live cells ORed on,
    // and the activity line on top: nothing left over from earlier ticks.
    mini.Fill({0, 0, 68, 52}, green);
    mini.Fill({1, 1, 67, 51}, 0);
    for (uint32_t y = 0; y < rows_; ++y)
      for (uint32_t x = 0; x < cols_; ++x)
        if (map.IsAlive(x, y))
          mini.SetPixel(static_cast<int>(x) + 2, static_cast<int>(y) + 2, green);
    expected.CopyFrom(map.gridPicture());
    expected.OrCopyFrom(mini, 954, 2);
    char line[64];
    const int length = std::snprintf(line, sizeof line, " Lf - Population: %d Generation: %d ",
                                     map.population(), map.generation());
    expected.WriteText(2, 2, line, length);
    for (int y = 0; y < 768; ++y)
      for (int x = 0; x < 1024; ++x)
        ASSERT_EQ(shown->pixel(x, y), expected.pixel(x, y)) << "tick " << tick << " at " << x
                                                            << "," << y;
    map.NextGeneration();
  }
}

TEST_F(ComposeTest, MiniDisplayLeftOfThePictureIsClipped) {
  // Frames one pixel wide: the mini display starts at x = -6.
  FaceInfo thin = {"thin.bmp", 1, 16, 25, 6, 5, 12};
  const std::string path = (std::filesystem::path(folder_) / "thin.bmp").string();
  WriteTestSheet(path, 1, 16, 25, 6);
  CellMap map;
  const EngineSetup setup = DeriveEngineSetup(thin, 50, 160);
  map.seed = 5;
  map.initpop = 100;
  map.bMiniDisplay = 1;
  map.displayColor = kGreen;
  ApplyFaceSetup(map, thin, setup);
  map.SetFaceName(path.c_str());
  map.Create(TestWindow(), setup.cols, setup.rows);
  EXPECT_EQ(map.miniDisplayX(), -6);
  const Picture* shown = map.Compose();
  ASSERT_NE(shown, nullptr);
  const Picture& mini = map.miniPicture();
  for (int y = 2; y < 2 + mini.height() && y < shown->height(); ++y)
    for (int x = 0; x < mini.width() - 6 && x < shown->width(); ++x)
      ASSERT_EQ(shown->pixel(x, y), map.gridPicture().pixel(x, y) | mini.pixel(x + 6, y - 2));
}

TEST_F(ComposeTest, TilesFollowTheWorldAcrossGenerations) {
  CellMap map;
  Setup(map, 1000, 700);  // 62 x 43 cells, strips beyond the picture
  map.bMiniDisplay = 1;
  map.Create(TestWindow(), cols_, rows_);
  ASSERT_EQ(map.gridPicture().width(), 992);
  ASSERT_EQ(map.gridPicture().height(), 688);
  for (int step = 0; step < 60; ++step) map.NextGeneration();
  ExpectTilesMatchState(map, map.gridPicture());
  const Pixel green = PixelFromColor(kGreen);
  for (uint32_t y = 0; y < rows_; ++y)
    for (uint32_t x = 0; x < cols_; ++x)
      ASSERT_EQ(map.miniPicture().pixel(static_cast<int>(x) + 2, static_cast<int>(y) + 2),
                map.IsAlive(x, y) ? green : 0u);
}

TEST_F(ComposeTest, MiniDisplayOffIsNeverTouched) {
  CellMap map;
  Setup(map, 320, 240);
  map.Create(TestWindow(), cols_, rows_);
  for (int step = 0; step < 20; ++step) map.NextGeneration();
  const Picture& mini = map.miniPicture();
  for (int y = 2; y < mini.height() - 2; ++y)
    for (int x = 2; x < mini.width() - 2; ++x) ASSERT_EQ(mini.pixel(x, y), 0u);
}

TEST_F(ComposeTest, SheetOfAnySizeIsScaledToTheFaceGeometry) {
  // The file holds tiles of 32 x 24; the face set asks for 16 x 16.
  WriteTestSheet(sheetPath_, 32, 24, 25, 6);
  CellMap map;
  Setup(map, 320, 240);
  map.Create(TestWindow(), cols_, rows_);
  const Picture& sheet = map.sheetPicture();
  ASSERT_EQ(sheet.width(), 400);
  ASSERT_EQ(sheet.height(), 96);
  for (uint32_t row = 0; row < 6; ++row)
    for (uint32_t frame = 0; frame < 25; ++frame)
      ASSERT_EQ(sheet.pixel(static_cast<int>(frame * 16 + 8), static_cast<int>(row * 16 + 8)),
                TileColour(frame, row));
}

TEST_F(ComposeTest, ActivityLineIsDrawnInTheColourNearTheTopLeft) {
  CellMap map;
  Setup(map, 640, 480);
  map.bActivityBar = 1;
  map.font = nullptr;
  map.Create(TestWindow(), cols_, rows_);
  const Picture* shown = map.Compose();
  ASSERT_NE(shown, nullptr);
  int inked = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 400; ++x) inked += shown->pixel(x, y) == PixelFromColor(kGreen);
  EXPECT_GT(inked, 50);
  // Below the line the picture is the grid picture.
  for (int x = 0; x < 640; ++x) ASSERT_EQ(shown->pixel(x, 100), map.gridPicture().pixel(x, 100));
}

TEST_F(ComposeTest, EmptyGridShowsNothingAndDrawsNowhere) {
  CellMap map;
  Setup(map, 20, 700);  // narrower than two frames
  map.bMiniDisplay = map.bActivityBar = map.bFrameScreen = 1;
  map.Create(TestWindow(), cols_, rows_);
  for (int step = 0; step < 5; ++step) map.NextGeneration();
  EXPECT_EQ(map.Compose(), nullptr);
}

TEST(DisplayNameTest, NameIsCutAtTheFirstDotAndRaised) {
  SetFatalHook(ThrowFatal);
  const std::string folder = ScratchFolder("names");
  const std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  struct Case {
    const char* file;
    const char* shown;
  };
  for (const Case& c : {Case{"lifeface.bmp", "Lifeface"}, Case{"my.faces.bmp", "My"},
                        Case{"noextension", "noextension"}, Case{".hidden", ""},
                        Case{"Zed.bmp", "Zed"}, Case{"1up.bmp", "1up"}, Case{"apt.bmp", "Apt"},
                        Case{"zap.bmp", "Zap"}, Case{"`q.bmp", "`q"}, Case{"{q.bmp", "{q"}}) {
    WriteTestSheet(c.file, 16, 16, 25, 6);
    CellMap map;
    map.numFrames = 25;
    map.numRows = 6;
    map.frameWidth = map.frameHeight = 16;
    map.SetFaceName(c.file);
    map.Create(TestWindow(), 4, 4);
    EXPECT_STREQ(map.faceName(), c.shown);
  }
  std::filesystem::current_path(cwd);
  std::filesystem::remove_all(folder);
  SetFatalHook(nullptr);
}

TEST(ActivityLineTest, FormatsTheLineAndCutsLongNames) {
  char line[CellMap::kActivityLineSize];
  CellMap::FormatActivityLine(line, "Lifeface", 150, 0);
  EXPECT_STREQ(line, " Lifeface - Population: 150 Generation: 0 ");
  EXPECT_EQ(std::strlen(line), 42u);
  CellMap::FormatActivityLine(line, "", 7, 3);
  EXPECT_STREQ(line, "  - Population: 7 Generation: 3 ");

  const std::string longName(300, 'x');
  CellMap::FormatActivityLine(line, longName.c_str(), -1, 2147483647);
  EXPECT_EQ(std::strlen(line), CellMap::kActivityLineSize - 1);
  EXPECT_NE(std::strstr(line, " - Population: 4294967295 Generation: 2147483647 "), nullptr);
  EXPECT_EQ(line[0], ' ');
  EXPECT_EQ(line[1], 'x');
}

class FatalTest : public ComposeTest {
 protected:
  FatalReport CreateExpectingFatal(CellMap& map) {
    try {
      map.Create(TestWindow(), 20, 15);
    } catch (const FatalReport& report) {
      return report;
    }
    ADD_FAILURE() << "Create went on";
    return {};
  }
};

TEST_F(FatalTest, MissingNameComesFirst) {
  CellMap map;
  Setup(map, 320, 240);
  map.SetFaceName(nullptr);
  map.numFrames = 0;
  const FatalReport report = CreateExpectingFatal(map);
  EXPECT_EQ(report.text, "No target filename specified.");
  EXPECT_EQ(report.caption, "No filename");
}

TEST_F(FatalTest, BadFrameDimensionsBeforeTheFileIsLookedFor) {
  for (int which = 0; which < 3; ++which) {
    CellMap map;
    Setup(map, 320, 240);
    map.SetFaceName("missing-faces.bmp");
    if (which == 0) map.numFrames = 0;
    if (which == 1) map.frameWidth = 0;
    if (which == 2) map.frameHeight = 0;
    const FatalReport report = CreateExpectingFatal(map);
    EXPECT_EQ(report.text, "Bad frame dimensions, missing-faces.bmp");
    EXPECT_EQ(report.caption, "Bad Frame");
  }
}

TEST_F(FatalTest, MissingFileQuotesTheWholeName) {
  CellMap map;
  Setup(map, 320, 240);
  const std::string name = std::string(250, 'q') + ".bmp";
  map.SetFaceName(name.c_str());
  const FatalReport report = CreateExpectingFatal(map);
  EXPECT_EQ(report.text, "Unable to find, " + name);
  EXPECT_EQ(report.caption, "No Faces");
}

TEST_F(FatalTest, EmptyNameCannotBeLoaded) {
  CellMap map;
  Setup(map, 320, 240);
  map.SetFaceName("");
  const FatalReport report = CreateExpectingFatal(map);
  EXPECT_EQ(report.text, "Unable to find, ");
  EXPECT_EQ(report.caption, "No Faces");
}

}  // namespace
