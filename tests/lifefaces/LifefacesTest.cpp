// The lifefaces hack on a private Xvfb server per test: what it shows, how
// it follows its window and how it ends.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

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

namespace {
std::string ReadFile(const std::string& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}
}  // namespace

// Each problem with the face data names what is wrong with which file,
// before anything is drawn.
TEST(Lifefaces, FaceDataProblemsNameTheFile) {
  const std::string sheet = ReadFile(LIFE_ASSETS_DIR "/lifeface.bmp");
  ASSERT_GT(sheet.size(), 1000u);
  const std::string entry = "lifeface.bmp 16 16 25 6 5 12\n";
  // life.nfo ("/" makes it a folder; empty: none), the bytes of lifeface.bmp,
  // the message after "lifefaces: " with @ for the folder.
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"", sheet,
       "LIFEFACES_DATA names @, which has no catalogue: @/life.nfo: No such file or "
       "directory"},
      {"/", sheet, "cannot read @/life.nfo: Is a directory"},
      {"lifeface.bmp 16 sixteen 25 6 5 12\n", sheet,
       "cannot read @/life.nfo: entry 1 is not \"file frame-width frame-height frames rows "
       "born-end die-start\""},
      {"tinyface.bmp 8 8 13 6 2 7\n", sheet,
       "@/life.nfo does not list the face set lifeface.bmp: choose one with -faces"},
      {entry, "BM" + std::string(200, 'x'), "@/lifeface.bmp is not a BMP image"},
      {"lifeface.bmp 16 16 25 7 5 12\n", sheet,
       "@/lifeface.bmp is 400x96 pixels, too small for its face set: 25 frames of 16x16 in 7 "
       "rows need 400x112"},
      {entry, sheet.substr(0, sheet.size() - 1200),
       "@/lifeface.bmp is truncated: it has " + std::to_string(sheet.size() - 1200) + " of the " +
           std::to_string(sheet.size()) + " bytes its header announces"},
  };
  for (const auto& [catalogue, bmp, message] : cases) {
    TempDir data;
    if (catalogue == "/")
      std::filesystem::create_directory(data.path() + "/life.nfo");
    else if (!catalogue.empty())
      std::ofstream(data.path() + "/life.nfo") << catalogue;
    std::ofstream(data.path() + "/lifeface.bmp", std::ios::binary) << bmp;
    Child hack({LIFEFACES_BIN, "-root"}, {"DISPLAY=:nowhere", "LIFEFACES_DATA=" + data.path()});
    EXPECT_EQ(hack.WaitForExit(10), 1) << message;
    std::string said = hack.Stderr();
    for (size_t at; (at = said.find(data.path())) != std::string::npos;)
      said.replace(at, data.path().size(), "@");
    EXPECT_EQ(said, "lifefaces: " + message + "\n");
  }
}

// -fps: the rate in the overlays' colour in a small box in the bottom left
// corner, drawn anew each tick over the areas sent; the rest of the
// picture is life-render's, to the pixel.
TEST(Lifefaces, FpsShowsOnThePicture) {
  XServer x(640, 480);
  ASSERT_TRUE(x.ok());
  const Window window = x.MakeWindow(410, 300);
  // 16 ticks of 0.1 s: the rate appears after the first second.
  Child hack(
      {LIFEFACES_BIN, "-window-id", Hex(window), "-seed", "11", "-stop-after", "16", "-delay",
       "100000", "-fps", "-color", "#FF00FF", "-no-frame", "-no-mini-display", "-no-activity-bar"},
      {x.env()});
  const std::vector<uint32_t> expected =
      LifeRenderPicture(410, 300,
                        {"--seed", "11", "--ticks", "16", "--no-frame-screen", "--no-mini-display",
                         "--no-activity-bar"});
  int left = 410, top = 300, right = 0, bottom = 0, text = 0;
  ASSERT_TRUE(WaitUntil(
      [&] {
        // Stopped first, then the picture: the last one.
        if (hack.Stderr().find("stopped after 16") == std::string::npos) return false;
        const std::vector<uint32_t> shown = x.Grab(window, 410, 300);
        if (shown.size() != expected.size()) return false;
        left = 410, top = 300, right = 0, bottom = 0, text = 0;
        for (int y = 0; y < 300; ++y)
          for (int px = 0; px < 410; ++px) {
            const size_t i = static_cast<size_t>(y * 410 + px);
            if (shown[i] == expected[i]) continue;
            left = std::min(left, px), top = std::min(top, y);
            right = std::max(right, px + 1), bottom = std::max(bottom, y + 1);
            text += shown[i] == 0xFF00FF ? 1 : 0;
          }
        return text > 20;
      },
      20))
      << text << " pixels of text; " << hack.Stderr();
  // A small box in the corner of the 18 rows of cells.
  EXPECT_TRUE(left == 0 && bottom == 288 && right < 120 && top > 250)
      << left << "," << top << " to " << right << "," << bottom;
}

namespace {
// The top-level window called `name`, or None.
Window FindWindow(Display* display, const std::string& name) {
  Window root = None, parent = None, *children = nullptr, found = None;
  unsigned count = 0;
  XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
  for (unsigned i = 0; i < count && found == None; ++i) {
    char* title = nullptr;
    if (XFetchName(display, children[i], &title) != 0 && name == title) found = children[i];
    if (title != nullptr) XFree(title);
  }
  if (children != nullptr) XFree(children);
  return found;
}
}  // namespace

// In a window of its own, Esc and q end the hack with 0.
TEST(Lifefaces, EscAndQEndAWindowRun) {
  XServer x(640, 480);
  ASSERT_TRUE(x.ok());
  for (const KeySym key : {KeySym{XK_Escape}, KeySym{XK_q}}) {
    Child hack({LIFEFACES_BIN, "-window", "-delay", "20000"}, {x.env()});
    Window window = None;
    ASSERT_TRUE(WaitUntil(
        [&] {
          window = FindWindow(x.display(), "lifefaces");
          return window != None && AnyLight(x.Grab(window, 100, 100));
        },
        20))
        << hack.Stderr();
    XEvent event{};
    event.xkey = {
        KeyPress, 0, True, x.display(), window, DefaultRootWindow(x.display()),     None, 0,
        0,        0, 0,    0,           0,      XKeysymToKeycode(x.display(), key), True};
    XSendEvent(x.display(), window, True, KeyPressMask, &event);
    XSync(x.display(), False);
    EXPECT_EQ(hack.WaitForExit(10), 0) << XKeysymToString(key) << ": " << hack.Stderr();
  }
}

// A display that is not TrueColor: a plain message and exit code 1.
TEST(Lifefaces, RefusesAVisualThatIsNotTrueColor) {
  XServer x(320, 240, {"-screen", "0", "320x240x8"});  // PseudoColor by default
  ASSERT_TRUE(x.ok());
  Child hack({LIFEFACES_BIN, "-root"}, {x.env(), "XSCREENSAVER_WINDOW="});
  EXPECT_EQ(hack.WaitForExit(10), 1);
  EXPECT_NE(hack.Stderr().find("lifefaces: the window's visual is PseudoColor"), std::string::npos)
      << hack.Stderr();
}

// Killed at any moment of its start, the hack leaves no shared-memory
// segment behind. strace holds each request it writes to the server for
// 30 ms, so that kills 25 ms apart from the moment its segment appears land
// in each step from there on: while the server attaches the segment, while
// the hack waits for it, when the first picture goes out.
TEST(Lifefaces, NoSegmentOutlivesAKillDuringStartUp) {
  XServer x(640, 480);
  ASSERT_TRUE(x.ok());
  const Window window = x.MakeWindow(640, 480);
  bool started = false;
  for (int step = -1; step < 40 && !started; ++step) {
    XClearWindow(x.display(), window);
    XSync(x.display(), False);
    Child tracer({"strace", "-f", "-qq", "-o", "/dev/null", "-e", "trace=writev", "-e",
                  "inject=writev:delay_exit=30000", LIFEFACES_BIN, "-window-id", Hex(window),
                  "-delay", "10000"},
                 {x.env()});
    const std::string children = "/proc/" + std::to_string(tracer.pid()) + "/task/" +
                                 std::to_string(tracer.pid()) + "/children";
    // strace's own children: the hack, once it runs (strace may try a
    // child or two of its own first).
    pid_t hack = 0;
    ASSERT_TRUE(WaitUntil(
        [&] {
          std::istringstream pids(ReadFile(children));
          while (pids >> hack)
            if (ReadFile("/proc/" + std::to_string(hack) + "/comm") == "lifefaces\n") return true;
          return false;
        },
        10))
        << tracer.Stderr();
    if (step >= 0) {  // step -1: before it has any segment
      ASSERT_TRUE(WaitUntil([&] { return SegmentsCreatedBy(hack) > 0; }, 20)) << tracer.Stderr();
      usleep(static_cast<useconds_t>(25000 * step));
      started = AnyLight(x.Grab(window, 640, 480));
    }
    kill(hack, SIGKILL);
    tracer.WaitForExit(10);
    EXPECT_TRUE(WaitUntil([&] { return SegmentsCreatedBy(hack) == 0; }, 10))
        << "a segment was left by a kill " << 25 * step << " ms after it was made";
  }
  EXPECT_TRUE(started) << "the hack never started";
}
