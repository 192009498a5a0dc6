#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "Fatal.h"
#include "LifeRender.h"
#include "TestFiles.h"

namespace {
std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() /
          ("life-render-test-" + std::to_string(getpid()) + "-" + name))
      .string();
}

struct Result {
  int code;
  std::string out;
  std::string err;
};

std::string ReadAll(FILE* file) {
  std::string text;
  std::rewind(file);
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  std::fclose(file);
  return text;
}

Result RunTool(std::vector<std::string> args) {
  FILE* out = std::tmpfile();
  FILE* err = std::tmpfile();
  const int code = LifeRenderMain(args, out, err);
  return {code, ReadAll(out), ReadAll(err)};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0, end;
  while ((end = text.find('\n', start)) != std::string::npos) {
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// Restores the working directory that --dir changes.
class LifeRender : public ::testing::Test {
 protected:
  void SetUp() override { start_ = std::filesystem::current_path(); }
  void TearDown() override { std::filesystem::current_path(start_); }
  std::filesystem::path start_;
};

[[noreturn]] void ThrowFatal(const std::string& text, const char* caption) {
  throw std::runtime_error(std::string(caption) + ": " + text);
}
}  // namespace

TEST_F(LifeRender, StatsFollowALoneCellThroughTheStallToTheReseed) {
  // 4 x 4 cells seeded with one: it dies in step 1; the empty world is
  // stagnant from step 2, and its 26th stagnant step, step 27, seeds one
  // cell again, counting generations from 0.
  const Result run =
      RunTool({"--seed", "42", "--ticks", "29", "--stats", "--size", "64x64", "--initpop", "1"});
  ASSERT_EQ(run.code, 0) << run.err;
  std::string expected = "0 0 1\n";
  for (int step = 1; step <= 26; ++step) expected += std::to_string(step) + " 1 0\n";
  EXPECT_EQ(run.out, expected + "27 0 1\n28 1 0\n29 1 0\n");
}

TEST_F(LifeRender, PicturesDoNotChangeTheCourseOfTheWorld) {
  const std::string png = TempPath("course.png");
  const Result headless = RunTool({"--seed", "7", "--ticks", "30", "--stats", "--size", "400x300"});
  const Result drawn = RunTool({"--seed", "7", "--ticks", "30", "--stats", "--size", "400x300",
                                "--dir", LIFE_ASSETS_DIR, "--out", png});
  ASSERT_EQ(drawn.code, 0) << drawn.err;
  EXPECT_EQ(headless.out, drawn.out);
  std::filesystem::remove(png);
}

TEST_F(LifeRender, PngHasTheClientSizeWithBlackStripsBeyondThePicture) {
  const std::string png = TempPath("size.png");
  // 250 / 16 = 15 columns (240 pixels); 130 / 16 = 8 rows (128 pixels).
  const Result run =
      RunTool({"--seed", "3", "--ticks", "5", "--size", "250x130", "--dir", LIFE_ASSETS_DIR,
               "--out", png, "--no-mini-display", "--no-activity-bar", "--color", "0x00FF80"});
  ASSERT_EQ(run.code, 0) << run.err;
  int width = 0, height = 0, channels = 0;
  unsigned char* pixels = stbi_load(png.c_str(), &width, &height, &channels, 3);
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(width, 250);
  EXPECT_EQ(height, 130);
  auto at = [&](int x, int y) {
    const unsigned char* p = pixels + (y * width + x) * 3;
    return (p[0] << 16) | (p[1] << 8) | p[2];
  };
  // The screen frame lies along the picture's edge in the display colour
  // (0xBBGGRR 0x00FF80 is RGB 80 FF 00), and nothing lies beyond it.
  EXPECT_EQ(at(0, 0), 0x80FF00);
  EXPECT_EQ(at(239, 127), 0x80FF00);
  for (int y = 0; y < height; ++y)
    for (int x = 240; x < width; ++x) ASSERT_EQ(at(x, y), 0) << x << "," << y;
  for (int y = 128; y < height; ++y)
    for (int x = 0; x < width; ++x) ASSERT_EQ(at(x, y), 0) << x << "," << y;
  stbi_image_free(pixels);
  std::filesystem::remove(png);
}

TEST_F(LifeRender, OutputPathsAreRelativeToTheStartingDirectory) {
  const std::filesystem::path work = TempPath("work");
  std::filesystem::create_directories(work);
  std::filesystem::current_path(work);
  const Result run = RunTool({"--seed", "3", "--ticks", "2", "--size", "64x64", "--dir",
                              LIFE_ASSETS_DIR, "--out", "here.png", "--dump-state", "here.bin"});
  std::filesystem::current_path(start_);
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(std::filesystem::exists(work / "here.png"));
  EXPECT_TRUE(std::filesystem::exists(work / "here.bin"));
  std::filesystem::remove_all(work);
}

TEST_F(LifeRender, DumpHoldsOneLittleEndianStateForEveryCell) {
  const std::string dump = TempPath("state.bin");
  const Result run = RunTool({"--seed", "11", "--ticks", "12", "--size", "200x100", "--initpop",
                              "300", "--dump-state", dump});
  ASSERT_EQ(run.code, 0) << run.err;
  const std::vector<uint8_t> bytes = ReadFileBytes(dump);
  ASSERT_EQ(bytes.size(), 12u * 6u * 2u);  // 12 x 6 cells
  int showing = 0;
  for (size_t i = 0; i < bytes.size(); i += 2) {
    const unsigned row = bytes[i], frame = bytes[i + 1];
    EXPECT_LT(row, 6u);
    EXPECT_LT(frame, 25u);
    if (frame == 0) {
      EXPECT_EQ(row, 0u);  // a blank cell keeps row 0
    }
    showing += frame != 0;
  }
  EXPECT_GT(showing, 0);
  std::filesystem::remove(dump);
}

TEST_F(LifeRender, GifHasOneFramePerTickAtTheClientSize) {
  const std::string gif = TempPath("ticks.gif");
  const Result run = RunTool(
      {"--seed", "5", "--ticks", "4", "--size", "100x60", "--dir", LIFE_ASSETS_DIR, "--out", gif});
  ASSERT_EQ(run.code, 0) << run.err;
  int width = 0, height = 0, channels = 0;
  ASSERT_EQ(stbi_info(gif.c_str(), &width, &height, &channels), 1);
  EXPECT_EQ(width, 100);
  EXPECT_EQ(height, 60);
  const std::vector<uint8_t> data = ReadFileBytes(gif);
  const std::string bytes(data.begin(), data.end());
  size_t frames = 0;
  // Each frame starts with a graphic control extension: 21 F9 04.
  for (size_t at = 0; (at = bytes.find("\x21\xF9\x04", at)) != std::string::npos; ++at) ++frames;
  EXPECT_EQ(frames, 4u);
  std::filesystem::remove(gif);
}

TEST_F(LifeRender, AWindowSmallerThanTwoCellsShowsBlack) {
  const std::string png = TempPath("tiny.png");
  const Result run = RunTool({"--seed", "1", "--ticks", "3", "--size", "20x100", "--stats", "--dir",
                              LIFE_ASSETS_DIR, "--out", png});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Lines(run.out).front(), "0 0 0");
  int width = 0, height = 0, channels = 0;
  unsigned char* pixels = stbi_load(png.c_str(), &width, &height, &channels, 3);
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(width, 20);
  for (int i = 0; i < width * height * 3; ++i) ASSERT_EQ(pixels[i], 0);
  stbi_image_free(pixels);
  std::filesystem::remove(png);
}

TEST_F(LifeRender, BadArgumentsExitWithCodeTwoAndOneLine) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--size", "0x10"},
                                             {"--ticks", "many"},
                                             {"--bogus"},
                                             {"--out", "x.jpg"},
                                             {"--dir", "/nonexistent/folder", "--stats"}}) {
    const Result run = RunTool(args);
    EXPECT_EQ(run.code, 2) << args[0];
    EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    EXPECT_TRUE(run.out.empty());
  }
}

TEST_F(LifeRender, HelpPrintsUsage) {
  const Result run = RunTool({"--help"});
  EXPECT_EQ(run.code, 0);
  EXPECT_NE(run.out.find("--dump-state"), std::string::npos);
}

TEST_F(LifeRender, FaceProblemsEndWithTheSaversOwnMessages) {
  SetFatalHook(ThrowFatal);
  try {
    RunTool({"--face", "odd.bmp,0,16,25,6,5,12", "--stats"});
    ADD_FAILURE() << "no fatal exit";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Bad Frame: Bad frame dimensions, odd.bmp");
  }
  try {
    RunTool({"--face", "missing.bmp,16,16,25,6,5,12", "--dir", LIFE_ASSETS_DIR, "--out",
             TempPath("never.png")});
    ADD_FAILURE() << "no fatal exit";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "No Faces: Unable to find, missing.bmp");
  }
  SetFatalHook(nullptr);
}

namespace {
// A PNG as 0xRRGGBB pixels; empty when it cannot be read.
struct Png {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

Png ReadPng(const std::string& path) {
  Png png;
  int channels = 0;
  unsigned char* data = stbi_load(path.c_str(), &png.width, &png.height, &channels, 3);
  if (data == nullptr) return png;
  for (int i = 0; i < png.width * png.height; ++i)
    png.pixels.push_back(
        static_cast<uint32_t>(data[i * 3] << 16 | data[i * 3 + 1] << 8 | data[i * 3 + 2]));
  stbi_image_free(data);
  return png;
}
}  // namespace

// The primary 320 x 240 at 0,0 and a second monitor 160 x 128 above and left
// of it: a picture of 480 x 368 with the primary at (160, 128). Each monitor
// shows the world a single screen of its size shows with its seed (S for
// the primary, S + 1 for the other), framed at its own edges; the rest of
// the bounding box stays black.
TEST_F(LifeRender, MonitorsShowEachTheWorldOfItsOwnSizeAndSeedAtItsPlace) {
  const std::vector<std::string> common = {
      "--ticks", "25", "--dir", LIFE_ASSETS_DIR, "--no-activity-bar", "--color", "0x00FF80"};
  auto render = [&](const std::string& name, std::vector<std::string> args) {
    const std::string png = TempPath(name);
    args.insert(args.end(), common.begin(), common.end());
    args.insert(args.end(), {"--out", png});
    const Result run = RunTool(args);
    EXPECT_EQ(run.code, 0) << run.err;
    Png picture = ReadPng(png);
    std::filesystem::remove(png);
    return picture;
  };
  const Png both = render("both.png", {"--monitors", "320x240+0+0,160x128-160-128", "--seed", "5"});
  const Png primary = render("primary.png", {"--size", "320x240", "--seed", "5"});
  const Png other = render("other.png", {"--size", "160x128", "--seed", "6"});
  ASSERT_EQ(both.width, 480);
  ASSERT_EQ(both.height, 368);
  ASSERT_EQ(primary.width, 320);
  ASSERT_EQ(other.width, 160);

  int differing = 0;
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) differing += both.at(160 + x, 128 + y) != primary.at(x, y);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 160; ++x) differing += both.at(x, y) != other.at(x, y);
  EXPECT_EQ(differing, 0);
  // Frames at each monitor's own edges; the mini display at each one's top right.
  EXPECT_EQ(both.at(160, 128), 0x80FF00u);
  EXPECT_EQ(both.at(159, 127), 0x80FF00u);
  for (int y = 0; y < 128; ++y)
    for (int x = 160; x < 480; ++x) ASSERT_EQ(both.at(x, y), 0u) << x << "," << y;
  for (int y = 128; y < 368; ++y)
    for (int x = 0; x < 160; ++x) ASSERT_EQ(both.at(x, y), 0u) << x << "," << y;

  // Statistics: generation and population of each world, in layout order.
  const Result stats = RunTool(
      {"--monitors", "320x240+0+0,160x128-160-128", "--seed", "5", "--ticks", "10", "--stats"});
  const Result single = RunTool({"--size", "320x240", "--seed", "5", "--ticks", "10", "--stats"});
  const std::vector<std::string> lines = Lines(stats.out), singleLines = Lines(single.out);
  ASSERT_EQ(lines.size(), 11u);
  for (size_t t = 0; t < lines.size(); ++t)
    EXPECT_EQ(lines[t].substr(0, singleLines[t].size() + 1), singleLines[t] + " ");
}

namespace {
Png RenderPng(const std::string& name, std::vector<std::string> args) {
  const std::string png = TempPath(name);
  args.insert(args.end(), {"--dir", LIFE_ASSETS_DIR, "--color", "0x00FF80", "--out", png});
  const Result run = RunTool(args);
  EXPECT_EQ(run.code, 0) << run.err;
  Png picture = ReadPng(png);
  std::filesystem::remove(png);
  return picture;
}

bool TileShowsAFace(const Png& png, int col, int row) {
  for (int y = row * 16; y < row * 16 + 16; ++y)
    for (int x = col * 16; x < col * 16 + 16; ++x)
      if (png.at(x, y) != 0) return true;
  return false;
}
}  // namespace

// The primary 320 x 240 and a 160 x 128 monitor right of it, spanned: one
// world of 30 x 15 cells. Each monitor shows its part of the one picture,
// framed only at the world's edges; the strip under the smaller monitor
// stays black; the mini display and the activity line are on the primary
// alone; a glider walks over the seam.
TEST_F(LifeRender, SpannedMonitorsShowOneWorldWithItsOverlaysOnThePrimary) {
  const std::string monitors = "320x240+0+0,160x128+320+0";
  const uint32_t kColor = 0x80FF00u;
  const Png span = RenderPng("span.png", {"--monitors", monitors, "--span", "--seed", "3",
                                         "--ticks", "16", "--initpop", "1", "--glider", "16,8"});
  ASSERT_EQ(span.width, 480);
  ASSERT_EQ(span.height, 240);
  for (int y = 128; y < 240; ++y)
    for (int x = 320; x < 480; ++x) ASSERT_EQ(span.at(x, y), 0u) << x << "," << y;
  int seamFramed = 0;
  for (int y = 0; y < 128; ++y) {
    EXPECT_EQ(span.at(479, y), kColor) << y;
    seamFramed += span.at(319, y) == kColor;
  }
  EXPECT_LT(seamFramed, 20) << "no frame between the monitors";
  for (int x = 0; x < 320; ++x) EXPECT_EQ(span.at(x, 239), kColor) << x;
  // The mini display, 34 x 19 pixels, ends 2 pixels short of the primary's
  // right edge; the activity line's text keeps to the primary too.
  EXPECT_EQ(span.at(284, 2), kColor);
  EXPECT_EQ(span.at(317, 20), kColor);
  for (int y = 2; y < 24; ++y)
    for (int x = 322; x < 478; ++x) ASSERT_NE(span.at(x, y), kColor) << x << "," << y;
  // The glider from (16, 8) is at (20, 4) after 16 steps: past the seam at
  // column 20, on the second monitor, whole.
  for (const auto& cell : {std::pair{20, 4}, {21, 4}, {22, 4}, {22, 5}, {21, 6}})
    EXPECT_TRUE(TileShowsAFace(span, cell.first, cell.second)) << cell.first << "," << cell.second;

  // One monitor spanned is the picture of that screen alone, pixel for pixel.
  const Png one = RenderPng("one.png", {"--monitors", "320x240+0+0", "--span", "--seed", "9"});
  const Png plain = RenderPng("plain.png", {"--size", "320x240", "--seed", "9"});
  EXPECT_EQ(one.pixels, plain.pixels);
}

// Every tick's picture, overlays on and off, across a reseed, on one and on
// two monitors, and on two spanned: fingerprints (FNV-1a of the animation) of the pictures as
// they were drawn when each world had a grid picture and a composed copy.
TEST_F(LifeRender, EveryTickShowsTheKnownPictures) {
  const struct {
    std::vector<std::string> args;
    uint64_t fingerprint;
  } cases[] = {
      {{"--seed", "3", "--initpop", "30", "--size", "640x480", "--ticks", "60"},
       0x55c2c80cb74e2cf5},
      {{"--seed", "3", "--initpop", "30", "--size", "640x480", "--ticks", "60",
        "--no-mini-display", "--no-activity-bar", "--no-frame-screen"},
       0x8d03916394f7f576},
      {{"--seed", "4", "--initpop", "60", "--size", "500x340", "--face",
        "tinyface.bmp,8,8,13,6,2,7", "--ticks", "60", "--no-mini-display", "--color", "0x40E0D0"},
       0x54b60784894bcd51},
      {{"--seed", "9", "--initpop", "200", "--monitors", "320x240+0+0,400x300+320+0", "--ticks",
        "40", "--no-frame-screen"},
       0x11a9f4fbe68f838d},
      {{"--seed", "9", "--initpop", "200", "--monitors", "320x240+0+0,400x300+320+0", "--ticks",
        "40", "--span"},
       0x7d2c5e701ac91678},
  };
  const std::string gif = TempPath("known.gif");
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--dir", LIFE_ASSETS_DIR, "--out", gif});
    const Result run = RunTool(args);
    ASSERT_EQ(run.code, 0) << run.err;
    uint64_t hash = 0xcbf29ce484222325;
    for (const uint8_t byte : ReadFileBytes(gif)) hash = (hash ^ byte) * 0x100000001b3;
    EXPECT_EQ(hash, c.fingerprint) << c.args[1] << " " << c.args.back();
  }
  std::filesystem::remove(gif);
}
