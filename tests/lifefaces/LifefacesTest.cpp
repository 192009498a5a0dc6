// The lifefaces hack on a private Xvfb server per test: what it shows, how
// it follows its window and how it ends.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

#include "X11Session.h"

using namespace x11test;

namespace {
std::string Hex(unsigned long id) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", id);
  return text;
}

bool AnyLight(const std::vector<uint32_t>& pixels) {
  for (const uint32_t p : pixels)
    if (p != 0) return true;
  return false;
}

// Waits until the window shows exactly `expected`; reports the differences.
::testing::AssertionResult Shows(XServer& x, Window window, int width, int height,
                                 const std::vector<uint32_t>& expected) {
  if (expected.empty()) return ::testing::AssertionFailure() << "life-render gave no picture";
  size_t differ = 0;
  if (WaitUntil(
          [&] { return (differ = Differences(x.Grab(window, width, height), expected)) == 0; }, 20))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differ << " pixels differ from life-render's";
}
}  // namespace

// Fixed seed and -stop-after N: the window shows exactly the picture
// life-render computes for the same size, seed, settings and ticks, with
// the strips beyond the grid black, on a window whose own background is
// white. Here on a server without MIT-SHM (the hack falls back to
// XPutImage), with MIT-SHM on the root.
TEST(Lifefaces, WindowIdShowsWhatLifeRenderComputes) {
  XServer x(800, 600, {"-extension", "MIT-SHM"});
  ASSERT_TRUE(x.ok());
  // 410 x 300: 25 x 18 cells of 16 pixels leave strips right and below.
  const Window window = x.MakeWindow(410, 300, 0xFFFFFF);
  Child hack({LIFEFACES_BIN, "-window-id", Hex(window), "-seed", "11", "-stop-after", "12",
              "-delay", "1000", "-color", "#40E0D0"},
             {x.env()});
  EXPECT_TRUE(
      Shows(x, window, 410, 300,
            LifeRenderPicture(410, 300, {"--seed", "11", "--ticks", "12", "--color", "0xD0E040"})));
  EXPECT_TRUE(hack.Running()) << hack.Stderr();
  EXPECT_EQ(SegmentsCreatedBy(hack.pid()), 0);
}

TEST(Lifefaces, RootShowsWhatLifeRenderComputesWithOtherSettings) {
  XServer x(500, 340);
  ASSERT_TRUE(x.ok());
  Child hack({LIFEFACES_BIN, "-root", "-seed", "5", "-stop-after", "30", "-delay", "0", "--faces",
              "tinyface", "-initpop", "400", "-no-frame", "-no-mini-display"},
             {x.env(), "XSCREENSAVER_WINDOW="});
  EXPECT_TRUE(Shows(
      x, DefaultRootWindow(x.display()), 500, 340,
      LifeRenderPicture(500, 340,
                        {"--seed", "5", "--ticks", "30", "--face", "tinyface.bmp,8,8,13,6,2,7",
                         "--initpop", "400", "--no-frame-screen", "--no-mini-display"})));
  EXPECT_GT(SegmentsCreatedBy(hack.pid()), 0) << "MIT-SHM is not in use";
}

// A resized window gets a world built for its new size, whether both sides
// change or only one.
TEST(Lifefaces, ResizeRebuildsTheWorldForTheNewSize) {
  XServer x(800, 600);
  ASSERT_TRUE(x.ok());
  const Window window = x.MakeWindow(320, 240);
  Child hack({LIFEFACES_BIN, "-window-id", std::to_string(window), "-seed", "4", "-stop-after", "6",
              "-delay", "1000"},
             {x.env()});
  EXPECT_TRUE(
      Shows(x, window, 320, 240, LifeRenderPicture(320, 240, {"--seed", "4", "--ticks", "6"})));
  const std::pair<int, int> sizes[] = {{488, 352}, {488, 400}, {352, 400}};
  for (const auto& [width, height] : sizes) {
    XResizeWindow(x.display(), window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(x.display(), False);
    EXPECT_TRUE(Shows(x, window, width, height,
                      LifeRenderPicture(width, height, {"--seed", "4", "--ticks", "6"})))
        << width << "x" << height;
  }
}

// SIGTERM and SIGINT end the hack with 0, and its shared-memory segment
// goes with it.
TEST(Lifefaces, QuitSignalsEndItCleanly) {
  XServer x(640, 480);
  ASSERT_TRUE(x.ok());
  const Window window = x.MakeWindow(640, 480);
  for (const int signal : {SIGTERM, SIGINT}) {
    XClearWindow(x.display(), window);
    Child hack({LIFEFACES_BIN, "-window-id", Hex(window), "-delay", "20000"}, {x.env()});
    // Drawing, through a shared segment.
    ASSERT_TRUE(WaitUntil([&] { return AnyLight(x.Grab(window, 640, 480)); }, 20)) << hack.Stderr();
    EXPECT_GT(SegmentsCreatedBy(hack.pid()), 0) << "MIT-SHM is not in use";
    hack.Signal(signal);
    EXPECT_EQ(hack.WaitForExit(10), 0) << "signal " << signal << ": " << hack.Stderr();
    EXPECT_TRUE(WaitUntil([&] { return SegmentsCreatedBy(hack.pid()) == 0; }, 10))
        << "a shared-memory segment was left behind";
  }
}

TEST(Lifefaces, DestroyedWindowEndsIt) {
  XServer x(640, 480);
  ASSERT_TRUE(x.ok());
  const Window window = x.MakeWindow(300, 200);
  Child hack({LIFEFACES_BIN, "-window-id", Hex(window), "-delay", "5000"}, {x.env()});
  ASSERT_TRUE(WaitUntil([&] { return AnyLight(x.Grab(window, 300, 200)); }, 20)) << hack.Stderr();
  XDestroyWindow(x.display(), window);
  XSync(x.display(), False);
  EXPECT_EQ(hack.WaitForExit(10), 0) << hack.Stderr();
  EXPECT_TRUE(WaitUntil([&] { return SegmentsCreatedBy(hack.pid()) == 0; }, 10));
}

// A bad option: one line naming it, the usage, exit code 2. A face set whose
// sheet is missing: the saver's own message, exit code 1.
TEST(Lifefaces, RefusesBadOptionsAndMissingFaces) {
  Child bad({LIFEFACES_BIN, "-root", "-delay", "soon"});
  EXPECT_EQ(bad.WaitForExit(10), 2);
  const std::string said = bad.Stderr();
  EXPECT_EQ(said.substr(0, said.find('\n')), "lifefaces: bad value for option -delay: 'soon'");
  EXPECT_NE(said.find("usage: lifefaces"), std::string::npos);

  Child unknown({LIFEFACES_BIN, "-faces", "nosuchface"});
  EXPECT_EQ(unknown.WaitForExit(10), 2);
  EXPECT_NE(unknown.Stderr().find("-faces"), std::string::npos);

  TempDir data;
  std::FILE* catalogue = std::fopen((data.path() + "/life.nfo").c_str(), "w");
  ASSERT_NE(catalogue, nullptr);
  std::fputs("gone.bmp 16 16 25 6 5 12\n", catalogue);
  std::fclose(catalogue);
  XServer x(320, 240);
  ASSERT_TRUE(x.ok());
  Child missing({LIFEFACES_BIN, "-root", "-faces", "gone.bmp"},
                {x.env(), "LIFEFACES_DATA=" + data.path()});
  EXPECT_EQ(missing.WaitForExit(10), 1);
  EXPECT_EQ(missing.Stderr(), "No Faces: Unable to find, gone.bmp\n");
}
