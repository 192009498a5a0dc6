#include <gtest/gtest.h>

#include "RenderOptions.h"

namespace {
RenderOptions Parse(const std::vector<std::string>& args) {
  RenderOptions options;
  std::string error;
  EXPECT_TRUE(ParseRenderOptions(args, options, error)) << error;
  return options;
}

std::string Refusal(const std::vector<std::string>& args) {
  RenderOptions options;
  std::string error;
  EXPECT_FALSE(ParseRenderOptions(args, options, error));
  EXPECT_EQ(error.find('\n'), std::string::npos);  // one line
  return error;
}
}  // namespace

TEST(RenderOptions, DefaultsAreTheSaversLoadTimeSettings) {
  const RenderOptions o = Parse({});
  EXPECT_EQ(o.width, 1024u);
  EXPECT_EQ(o.height, 768u);
  EXPECT_EQ(o.faceFile, "lifeface.bmp");
  EXPECT_EQ(o.frameWidth, 16u);
  EXPECT_EQ(o.frameHeight, 16u);
  EXPECT_EQ(o.numFrames, 25u);
  EXPECT_EQ(o.numRows, 6u);
  EXPECT_EQ(o.bornEnd, 5u);
  EXPECT_EQ(o.dieStart, 12u);
  EXPECT_EQ(o.seed, 0u);
  EXPECT_EQ(o.initpop, 150u);
  EXPECT_EQ(o.ticks, 100u);
  EXPECT_EQ(o.delayMs, 150u);
  EXPECT_TRUE(o.miniDisplay);
  EXPECT_TRUE(o.activityBar);
  EXPECT_TRUE(o.frameScreen);
  EXPECT_EQ(o.color, 0xC0C0C0u);
  EXPECT_EQ(o.font, "MS Sans Serif");
  EXPECT_FALSE(o.stats);
  EXPECT_TRUE(o.out.empty());
  EXPECT_TRUE(o.dumpState.empty());
  EXPECT_TRUE(o.dir.empty());
}

TEST(RenderOptions, ReadsEveryOption) {
  const RenderOptions o = Parse({"--size",
                                 "640x480",
                                 "--face",
                                 "fish.bmp,24,16,20,4,4,10",
                                 "--seed",
                                 "4294967295",
                                 "--initpop",
                                 "0",
                                 "--ticks",
                                 "7",
                                 "--dir",
                                 "assets",
                                 "--stats",
                                 "--dump-state",
                                 "s.bin",
                                 "--out",
                                 "x.GIF",
                                 "--delay",
                                 "80",
                                 "--no-mini-display",
                                 "--no-activity-bar",
                                 "--no-frame-screen",
                                 "--color",
                                 "0x0000ff",
                                 "--font",
                                 "Arial"});
  EXPECT_EQ(o.width, 640u);
  EXPECT_EQ(o.height, 480u);
  EXPECT_EQ(o.faceFile, "fish.bmp");
  EXPECT_EQ(o.frameWidth, 24u);
  EXPECT_EQ(o.frameHeight, 16u);
  EXPECT_EQ(o.numFrames, 20u);
  EXPECT_EQ(o.numRows, 4u);
  EXPECT_EQ(o.bornEnd, 4u);
  EXPECT_EQ(o.dieStart, 10u);
  EXPECT_EQ(o.seed, 4294967295u);
  EXPECT_EQ(o.initpop, 0u);
  EXPECT_EQ(o.ticks, 7u);
  EXPECT_EQ(o.dir, "assets");
  EXPECT_TRUE(o.stats);
  EXPECT_EQ(o.dumpState, "s.bin");
  EXPECT_TRUE(o.WantsGif());
  EXPECT_EQ(o.delayMs, 80u);
  EXPECT_FALSE(o.miniDisplay);
  EXPECT_FALSE(o.activityBar);
  EXPECT_FALSE(o.frameScreen);
  EXPECT_EQ(o.color, 0xFFu);
  EXPECT_EQ(o.font, "Arial");
}

TEST(RenderOptions, LaterFlagsWinAndValuesMayFollowAnEqualsSign) {
  const RenderOptions o =
      Parse({"--no-mini-display", "--mini-display", "--size=8x9", "--out=a.png"});
  EXPECT_TRUE(o.miniDisplay);
  EXPECT_EQ(o.width, 8u);
  EXPECT_EQ(o.height, 9u);
  EXPECT_FALSE(o.WantsGif());
  EXPECT_TRUE(o.WantsPicture());
}

TEST(RenderOptions, RefusesUnknownOptionsAndStrayWords) {
  EXPECT_NE(Refusal({"--frobnicate"}).find("unknown option --frobnicate"), std::string::npos);
  EXPECT_NE(Refusal({"stats"}).find("unexpected argument"), std::string::npos);
  EXPECT_NE(Refusal({"--stats=yes"}).find("takes no value"), std::string::npos);
  EXPECT_NE(Refusal({"--ticks"}).find("needs a value"), std::string::npos);
}

TEST(RenderOptions, RefusesMalformedNumbers) {
  for (const char* bad : {"", "-1", "+3", "12a", " 5", "4294967296", "99999999999", "0x10"}) {
    SCOPED_TRACE(bad);
    Refusal({"--ticks", bad});
    Refusal({"--seed", bad});
  }
}

TEST(RenderOptions, RefusesEmptyOrAbsurdSizes) {
  for (const char* bad : {"0x768", "1024x0", "0x0", "8193x100", "100x8193", "1024", "x768", "1024x",
                          "axb", "4294967296x1"}) {
    SCOPED_TRACE(bad);
    Refusal({"--size", bad});
  }
  EXPECT_EQ(Parse({"--size", "8192x8192"}).width, 8192u);
  EXPECT_EQ(Parse({"--size", "1X1"}).height, 1u);
}

TEST(RenderOptions, RefusesMalformedFaceSets) {
  for (const char* bad : {"a.bmp,16,16,25,6,5", "a.bmp,16,16,25,6,5,12,1", ",16,16,25,6,5,12",
                          "a.bmp,16,x,25,6,5,12", "a.bmp,16,16,25,6,5,"}) {
    SCOPED_TRACE(bad);
    Refusal({"--face", bad});
  }
  // A zero frame size is the saver's own "Bad Frame" case, not a usage error.
  EXPECT_EQ(Parse({"--face", "a.bmp,0,16,25,6,5,12"}).frameWidth, 0u);
}

TEST(RenderOptions, RefusesBadColoursDelaysAndOutputs) {
  Refusal({"--color", "0x1000000"});
  Refusal({"--color", "0xGG"});
  Refusal({"--color", "16777216"});
  EXPECT_EQ(Parse({"--color", "16777215"}).color, 0xFFFFFFu);
  Refusal({"--delay", "655351"});
  Refusal({"--out", "x.bmp"});
  Refusal({"--out", "x.gif", "--ticks", "0"});
  Refusal({"--dir", ""});
}

TEST(RenderOptions, MonitorsGiveTheirBoundingBoxWhichMayStartAtNegativeCoordinates) {
  const RenderOptions o = Parse({"--monitors", "1920x1080+0+0,1280x1024+-1280-200,800x600+1920+0"});
  ASSERT_EQ(o.monitors.size(), 3u);
  EXPECT_EQ(o.monitors[0], (ScreenRect{0, 0, 1920, 1080}));
  EXPECT_EQ(o.monitors[1], (ScreenRect{-1280, -200, 0, 824}));
  EXPECT_EQ(o.width, 3200u + 800u);
  EXPECT_EQ(o.height, 1280u);
  EXPECT_EQ(Parse({"--monitors=640x480+0+0"}).width, 640u);

  for (const char* bad :
       {"1920x1080", "1920x1080+0", "1920x1080+0+0+0", "0x10+0+0", "8193x10+0+0", "10x10+0+0,",
        "10x10+a+0", "10x10++0+0", "10x10+0--5", "8000x10+0+0,8000x10+9000+0"}) {
    SCOPED_TRACE(bad);
    Refusal({"--monitors", bad});
  }
  EXPECT_NE(Refusal({"--size", "640x480", "--monitors", "640x480+0+0"}).find("exclude"),
            std::string::npos);
}
