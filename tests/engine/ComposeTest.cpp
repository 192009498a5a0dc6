#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "CellMap.h"
#include "FaceCanvas.h"
#include "EngineSetup.h"
#include "Fatal.h"
#include "TestSheet.h"

namespace {

struct FatalReport {
  std::string text;
  std::string caption;
};

void ThrowFatal(const std::string& text, const char* caption) { throw FatalReport{text, caption}; }

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

  // The world and canvas options as the saver makes them for a client area
  // of width x height.
  WorldConfig Config(uint32_t width, uint32_t height, uint32_t seed = 321, uint32_t initpop = 200) {
    WorldConfig config = MakeWorldConfig(kDefaultFace, width, height);
    config.seed = seed;
    config.initpop = initpop;
    cols_ = config.cols;
    rows_ = config.rows;
    return config;
  }
  CanvasOptions Options() const {
    CanvasOptions options;
    options.displayColor = kGreen;
    options.faceFile = sheetPath_.c_str();
    return options;
  }
  static void Make(CellMap& map, FaceCanvas& canvas, const WorldConfig& config,
                   const CanvasOptions& options) {
    ASSERT_EQ(map.Create(config), CreateResult::kCreated);
    ASSERT_EQ(canvas.Create(TestWindow(), map, options), CreateResult::kCreated);
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
  FaceCanvas canvas;
  CanvasOptions options = Options();
  options.bMiniDisplay = 1;
  Make(map, canvas, Config(640, 480), options);
  const Picture& grid = canvas.gridPicture();
  ASSERT_EQ(grid.width(), 640);
  ASSERT_EQ(grid.height(), 480);
  for (int y = 0; y < grid.height(); ++y)
    for (int x = 0; x < grid.width(); ++x) ASSERT_EQ(grid.pixel(x, y), 0u);
  const Picture& mini = canvas.miniPicture();
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
  FaceCanvas canvas;
  CanvasOptions options = Options();
  Make(map, canvas, Config(320, 240), options);
  map.NextGeneration();
  map.NextGeneration();
  const Picture* shown = canvas.Compose();
  ASSERT_EQ(shown, &canvas.gridPicture());
  ExpectTilesMatchState(map, *shown);
  EXPECT_EQ(shown->pixel(0, 0), TileColour(map.faceState(0, 0) >> 8, map.faceState(0, 0) & 0xFF));
}

TEST_F(ComposeTest, FrameIsDrawnIntoTheGridPicture) {
  CellMap map;
  FaceCanvas canvas;
  CanvasOptions options = Options();
  options.bFrameScreen = 1;
  Make(map, canvas, Config(320, 240), options);
  const Picture* shown = canvas.Compose();
  ASSERT_EQ(shown, &canvas.gridPicture());
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
  FaceCanvas canvas;
  CanvasOptions options = Options();
  options.bMiniDisplay = 1;
  Make(map, canvas, Config(640, 480), options);
  EXPECT_EQ(canvas.miniDisplayX(), 594);
  EXPECT_EQ(canvas.miniDisplayY(), 2);
  for (int step = 0; step < 3; ++step) map.NextGeneration();
  // A twin world without overlays gives the tiles.
  CellMap twinMap;
  FaceCanvas twin;
  Make(twinMap, twin, Config(640, 480), Options());
  for (int step = 0; step < 3; ++step) twinMap.NextGeneration();
  const Picture* shown = canvas.Compose();
  const Picture& grid = *twin.Compose();
  const Picture& mini = canvas.miniPicture();
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const bool covered = x >= 594 && x < 638 && y >= 2 && y < 36;
      const Pixel expected =
          covered ? grid.pixel(x, y) | mini.pixel(x - 594, y - 2) : grid.pixel(x, y);
      ASSERT_EQ(shown->pixel(x, y), expected) << x << "," << y;
    }
}

TEST_F(ComposeTest, EachTickShowsExactlyAFreshCompositionOfItsStateAcrossAReseed) {
  // 64 x 48 cells: the mini display (68 x 52 pixels at 954, 2) reaches below
  // the activity line's band, and a short face name keeps the numbers in view.
  // A sparse start dies down and stalls, so the world reseeds on the way. A
  // twin world drawn without overlays gives the tiles each tick must show.
  struct Case {
    uint32_t mini, activity, frame;
    int padding;  // > 0: drawn into memory of ours, rows this much wider
  };
  const Case cases[] = {{1, 1, 1, 0}, {1, 1, 1, 8}, {0, 1, 0, 0}, {1, 0, 1, 3}, {0, 0, 0, 0}};
  const std::filesystem::path start = std::filesystem::current_path();
  std::filesystem::current_path(folder_);
  std::filesystem::copy_file(sheetPath_, "lf.bmp");
  const Pixel green = PixelFromColor(kGreen);
  constexpr Pixel kJunk = 0xABCDEF;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "mini " << c.mini << " activity " << c.activity
                                      << " frame " << c.frame << " padding " << c.padding);
#ifdef _WIN32
    if (c.padding > 0) continue;  // the saver's pictures are always its own DIB sections
#endif
    const int stride = 1024 + c.padding;
    std::vector<Pixel> memory(size_t(stride) * 768, kJunk);
    CellMap map, twinMap;
    FaceCanvas canvas, twin;
    CanvasOptions options = Options();
    options.faceFile = "lf.bmp";
    options.bMiniDisplay = c.mini;
    options.bActivityBar = c.activity;
    options.bFrameScreen = c.frame;
    if (c.padding > 0) {
      options.pixels = memory.data();
      options.stride = stride;
    }
    Make(map, canvas, Config(1024, 768, 99, 40), options);
    Make(twinMap, twin, Config(1024, 768, 99, 40), Options());
    ASSERT_EQ(canvas.miniDisplayX(), 954);
    Picture mini, expected;
    ASSERT_TRUE(mini.Create(TestWindow(), 68, 52));
    ASSERT_TRUE(expected.Create(TestWindow(), 1024, 768));
    expected.PrepareText(nullptr, kGreen);
    int ticksAfterReseed = -1;
    for (int tick = 0; ticksAfterReseed < 5; ++tick) {
      ASSERT_LT(tick, 200) << "no reseed";
      const Picture* shown = canvas.Compose();
      ASSERT_NE(shown, nullptr);
      ASSERT_TRUE(c.padding == 0 || shown->row(0) == memory.data());
      // The tiles, framed, a mini display of the live cells ORed on, and the
      // activity line on top: nothing left over from earlier ticks.
      expected.CopyFrom(*twin.Compose());
      if (c.frame != 0) expected.Frame({0, 0, 1024, 768}, green);
      if (c.mini != 0) {
        mini.Fill({0, 0, 68, 52}, green);
        mini.Fill({1, 1, 67, 51}, 0);
        for (uint32_t y = 0; y < rows_; ++y)
          for (uint32_t x = 0; x < cols_; ++x)
            if (map.IsAlive(x, y))
              mini.SetPixel(static_cast<int>(x) + 2, static_cast<int>(y) + 2, green);
        expected.OrCopyFrom(mini, 954, 2);
      }
      if (c.activity != 0) {
        char line[64];
        const int length = std::snprintf(line, sizeof line, " Lf - Population: %d Generation: %d ",
                                         map.population(), map.generation());
        expected.WriteText(2, 2, line, length);
      }
      for (int y = 0; y < 768; ++y)
        if (!std::equal(expected.row(y), expected.row(y) + 1024, shown->row(y)))
          FAIL() << "tick " << tick << " differs on row " << y;
      const int32_t generation = map.generation();
      map.NextGeneration();
      twinMap.NextGeneration();
      if (ticksAfterReseed >= 0 || map.generation() < generation) ++ticksAfterReseed;
    }
    // Our memory beyond each row is never written.
    for (int y = 0; y < 768 && c.padding > 0; ++y)
      for (int x = 1024; x < stride; ++x)
        ASSERT_EQ(memory[size_t(y) * size_t(stride) + size_t(x)], kJunk);
  }
  std::filesystem::current_path(start);
}

TEST_F(ComposeTest, ChangedAreasCoverEveryPixelThatChangedAndTwoCanvasesAgree) {
  // A presenter copying only the changed areas keeps an exact copy of the
  // picture, also when two generations pass between pictures; a second
  // canvas on the same world shows the same pictures. Rows of 80 tiles span
  // two words; the third world starts as a lone blinker just past the first
  // word of its row.
  constexpr int kWidth = 1280, kHeight = 480;
  for (const uint32_t world : {0u, 1u, 2u}) {
    CellMap map;
    FaceCanvas canvas, second;
    CanvasOptions options = Options();
    options.bFrameScreen = 1;
    options.bMiniDisplay = options.bActivityBar = world == 1 ? 1 : 0;
    ASSERT_EQ(map.Create(Config(kWidth, kHeight, 17, 500)), CreateResult::kCreated);
    if (world == 2) {
      map.Clear();
      for (uint32_t x = 64; x < 67; ++x) map.SetCell(x, 5, true, 0, 1);
    }
    ASSERT_EQ(canvas.Create(TestWindow(), map, options), CreateResult::kCreated);
    ASSERT_EQ(second.Create(TestWindow(), map, options), CreateResult::kCreated);
    std::vector<Pixel> presented(size_t{kWidth} * kHeight, 0xDEADBEEF);
    for (int tick = 0; tick < 40; ++tick) {
      const Picture* shown = canvas.Compose();
      const Picture* other = second.Compose();
      ASSERT_TRUE(shown != nullptr && other != nullptr);
      EXPECT_EQ(canvas.ChangedAll(), tick == 0);
      int changedTiles = 0;
      for (uint32_t y = 0; y < rows_; ++y)
        for (uint32_t word = 0; word < (cols_ + 63) / 64; ++word)
          changedTiles += __builtin_popcountll(canvas.ChangedTiles(y)[word]);
      if (tick > 1) {
        EXPECT_GT(changedTiles, 0);
      }
      for (const PixelRect& r : canvas.ChangedAreas())
        for (int y = std::max(r.top, 0); y < std::min(r.bottom, kHeight); ++y)
          for (int x = std::max(r.left, 0); x < std::min(r.right, kWidth); ++x)
            presented[static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)] =
                shown->pixel(x, y);
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
          ASSERT_EQ(presented[static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)],
                    shown->pixel(x, y))
              << "world " << world << " tick " << tick << " at " << x << "," << y;
          ASSERT_EQ(other->pixel(x, y), shown->pixel(x, y));
        }
      for (int step = 0; step <= tick % 2; ++step) map.NextGeneration();
    }
  }
}

TEST_F(ComposeTest, MiniDisplayLeftOfThePictureIsClipped) {
  // Frames one pixel wide: the mini display starts at x = -6.
  FaceInfo thin = {"thin.bmp", 1, 16, 25, 6, 5, 12};
  const std::string path = (std::filesystem::path(folder_) / "thin.bmp").string();
  WriteTestSheet(path, 1, 16, 25, 6);
  WorldConfig config = MakeWorldConfig(thin, 50, 160);
  config.seed = 5;
  config.initpop = 100;
  CanvasOptions options = Options();
  options.bMiniDisplay = 1;
  options.faceFile = path.c_str();
  CellMap map;
  FaceCanvas canvas;
  Make(map, canvas, config, options);
  EXPECT_EQ(canvas.miniDisplayX(), -6);
  const Picture* shown = canvas.Compose();
  ASSERT_NE(shown, nullptr);
  const Picture& mini = canvas.miniPicture();
  for (int y = 2; y < 2 + mini.height() && y < shown->height(); ++y)
    for (int x = 0; x < mini.width() - 6 && x < shown->width(); ++x)
      ASSERT_EQ(shown->pixel(x, y), canvas.gridPicture().pixel(x, y) | mini.pixel(x + 6, y - 2));
}

TEST_F(ComposeTest, TilesFollowTheWorldAcrossGenerations) {
  CellMap map;
  FaceCanvas canvas;
  CanvasOptions options = Options();
  options.bMiniDisplay = 1;
  Make(map, canvas, Config(1000, 700), options);  // 62 x 43 cells, strips beyond the picture
  ASSERT_EQ(canvas.gridPicture().width(), 992);
  ASSERT_EQ(canvas.gridPicture().height(), 688);
  for (int step = 0; step < 60; ++step) map.NextGeneration();
  ExpectTilesMatchState(map, canvas.gridPicture());
  const Pixel green = PixelFromColor(kGreen);
  for (uint32_t y = 0; y < rows_; ++y)
    for (uint32_t x = 0; x < cols_; ++x)
      ASSERT_EQ(canvas.miniPicture().pixel(static_cast<int>(x) + 2, static_cast<int>(y) + 2),
                map.IsAlive(x, y) ? green : 0u);
}

TEST_F(ComposeTest, MiniDisplayOffIsNeverTouched) {
  CellMap map;
  FaceCanvas canvas;
  CanvasOptions options = Options();
  Make(map, canvas, Config(320, 240), options);
  for (int step = 0; step < 20; ++step) map.NextGeneration();
  const Picture& mini = canvas.miniPicture();
  for (int y = 2; y < mini.height() - 2; ++y)
    for (int x = 2; x < mini.width() - 2; ++x) ASSERT_EQ(mini.pixel(x, y), 0u);
}

TEST_F(ComposeTest, SheetOfAnySizeIsScaledToTheFaceGeometry) {
  // The file holds tiles of 32 x 24; the face set asks for 16 x 16.
  WriteTestSheet(sheetPath_, 32, 24, 25, 6);
  CellMap map;
  FaceCanvas canvas;
  CanvasOptions options = Options();
  Make(map, canvas, Config(320, 240), options);
  const Picture& sheet = canvas.sheetPicture();
  ASSERT_EQ(sheet.width(), 400);
  ASSERT_EQ(sheet.height(), 96);
  for (uint32_t row = 0; row < 6; ++row)
    for (uint32_t frame = 0; frame < 25; ++frame)
      ASSERT_EQ(sheet.pixel(static_cast<int>(frame * 16 + 8), static_cast<int>(row * 16 + 8)),
                TileColour(frame, row));
}

TEST_F(ComposeTest, ActivityLineIsDrawnInTheColourNearTheTopLeft) {
  CellMap map;
  FaceCanvas canvas;
  CanvasOptions options = Options();
  options.bActivityBar = 1;
  options.font = nullptr;
  Make(map, canvas, Config(640, 480), options);
  const Picture* shown = canvas.Compose();
  ASSERT_NE(shown, nullptr);
  int inked = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 400; ++x) inked += shown->pixel(x, y) == PixelFromColor(kGreen);
  EXPECT_GT(inked, 50);
  // Below the line the picture is the grid picture.
  for (int x = 0; x < 640; ++x) ASSERT_EQ(shown->pixel(x, 100), canvas.gridPicture().pixel(x, 100));
}

TEST_F(ComposeTest, EmptyGridShowsNothingAndDrawsNowhere) {
  CellMap map;
  FaceCanvas canvas;
  CanvasOptions options = Options();
  options.bMiniDisplay = options.bActivityBar = options.bFrameScreen = 1;
  Make(map, canvas, Config(20, 700), options);  // narrower than two frames
  for (int step = 0; step < 5; ++step) map.NextGeneration();
  EXPECT_EQ(canvas.Compose(), nullptr);
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
    WorldConfig config = MakeWorldConfig(kDefaultFace, 64, 64);
    CanvasOptions options;
    options.faceFile = c.file;
    CellMap map;
    FaceCanvas canvas;
    ASSERT_EQ(map.Create(config), CreateResult::kCreated);
    ASSERT_EQ(canvas.Create(TestWindow(), map, options), CreateResult::kCreated);
    EXPECT_STREQ(canvas.faceName(), c.shown);
  }
  std::filesystem::current_path(cwd);
  std::filesystem::remove_all(folder);
  SetFatalHook(nullptr);
}

TEST(ActivityLineTest, FormatsTheLineAndCutsLongNames) {
  char line[FaceCanvas::kActivityLineSize];
  FaceCanvas::FormatActivityLine(line, "Lifeface", 150, 0);
  EXPECT_STREQ(line, " Lifeface - Population: 150 Generation: 0 ");
  EXPECT_EQ(std::strlen(line), 42u);
  FaceCanvas::FormatActivityLine(line, "", 7, 3);
  EXPECT_STREQ(line, "  - Population: 7 Generation: 3 ");

  const std::string longName(300, 'x');
  FaceCanvas::FormatActivityLine(line, longName.c_str(), -1, 2147483647);
  EXPECT_EQ(std::strlen(line), FaceCanvas::kActivityLineSize - 1);
  EXPECT_NE(std::strstr(line, " - Population: 4294967295 Generation: 2147483647 "), nullptr);
  EXPECT_EQ(line[0], ' ');
  EXPECT_EQ(line[1], 'x');
}

class FatalTest : public ComposeTest {
 protected:
  // Creates a world and a canvas and ends as the saver would on failure.
  FatalReport CreateExpectingFatal(const WorldConfig& config, const CanvasOptions& options) {
    const std::string name = options.faceFile != nullptr ? options.faceFile : "";
    try {
      CellMap map;
      FaceCanvas canvas;
      ExitIfNotCreated(map.Create(config), name);
      ExitIfNotCreated(canvas.Create(TestWindow(), map, options), name);
    } catch (const FatalReport& report) {
      return report;
    }
    ADD_FAILURE() << "Create went on";
    return {};
  }
};

TEST_F(FatalTest, MissingNameComesFirst) {
  WorldConfig config = Config(320, 240);
  config.numFrames = 0;
  CanvasOptions options = Options();
  options.faceFile = nullptr;
  const FatalReport report = CreateExpectingFatal(config, options);
  EXPECT_EQ(report.text, "No target filename specified.");
  EXPECT_EQ(report.caption, "No filename");
}

TEST_F(FatalTest, BadFrameDimensionsBeforeTheFileIsLookedFor) {
  for (int which = 0; which < 3; ++which) {
    WorldConfig config = Config(320, 240);
    if (which == 0) config.numFrames = 0;
    if (which == 1) config.frameWidth = 0;
    if (which == 2) config.frameHeight = 0;
    CanvasOptions options = Options();
    options.faceFile = "missing-faces.bmp";
    const FatalReport report = CreateExpectingFatal(config, options);
    EXPECT_EQ(report.text, "Bad frame dimensions, missing-faces.bmp");
    EXPECT_EQ(report.caption, "Bad Frame");
  }
}

TEST_F(FatalTest, MissingFileQuotesTheWholeName) {
  const std::string name = std::string(250, 'q') + ".bmp";
  CanvasOptions options = Options();
  options.faceFile = name.c_str();
  const FatalReport report = CreateExpectingFatal(Config(320, 240), options);
  EXPECT_EQ(report.text, "Unable to find, " + name);
  EXPECT_EQ(report.caption, "No Faces");

  options.faceFile = "";
  const FatalReport empty = CreateExpectingFatal(Config(320, 240), options);
  EXPECT_EQ(empty.text, "Unable to find, ");
  EXPECT_EQ(empty.caption, "No Faces");
}

TEST_F(FatalTest, OutOfMemoryAndMissingSurfacesHaveTheirMessages) {
  const auto report = [](CreateResult result) {
    try {
      ExitIfNotCreated(result, "x.bmp");
    } catch (const FatalReport& fatal) {
      return fatal;
    }
    return FatalReport{"went on", ""};
  };
  EXPECT_EQ(report(CreateResult::kOutOfMemory).text, "Out of memory.");
  EXPECT_EQ(report(CreateResult::kOutOfMemory).caption, "No Memory");
  EXPECT_EQ(report(CreateResult::kNoSurface).text, "Can`t create cellmap.");
  EXPECT_EQ(report(CreateResult::kNoSurface).caption, "???");
  EXPECT_EQ(report(CreateResult::kCreated).text, "went on");
}

}  // namespace
