// The saver's pixels: after a known number of ticks from a fixed seed, the
// full-screen window shows what life-render computes natively for the same
// settings. The activity line is left out of the comparison: the two sides
// draw its text with different font engines.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "E2eSupport.h"

namespace {

struct Scenario {
  std::string name;
  int ticks = 0;
  e2e::TestSettings settings;
};

// pixels\scenarios.txt, written beside the expected pictures: name, ticks,
// face file and geometry, the three display flags as 0/1 digits, colour.
std::vector<Scenario> ReadScenarios() {
  std::vector<Scenario> scenarios;
  std::ifstream in(wintest::ProgramFolder() + "pixels\\scenarios.txt");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    Scenario s;
    std::string flags;
    std::string color;
    e2e::TestSettings& t = s.settings;
    if (!(fields >> s.name >> s.ticks >> t.loadImage >> t.frameWidth >> t.frameHeight >>
          t.numFrames >> t.numRows >> t.bornEnd >> t.dieStart >> flags >> color) ||
        flags.size() != 3)
      continue;
    t.bMiniDisplay = flags[0] == '1' ? 1 : 0;
    t.bActivityBar = flags[1] == '1' ? 1 : 0;
    t.bFrameScreen = flags[2] == '1' ? 1 : 0;
    t.displayColor = static_cast<DWORD>(std::stoul(color, nullptr, 16));
    t.seed = 42;
    t.initpop = 150;
    scenarios.push_back(s);
  }
  return scenarios;
}

// The band of the activity line: from the picture's top-left corner to the
// mini display (or the picture's right edge), below the frame row.
bool InActivityLine(const e2e::TestSettings& s, int width, int x, int y) {
  if (s.bActivityBar == 0 || y < 1 || y >= 20 || x < 1) return false;
  const int cols = width / static_cast<int>(s.frameWidth);
  const int miniX = (static_cast<int>(s.frameWidth) - 1) * cols - 6;
  const int right = s.bMiniDisplay != 0 ? miniX : cols * static_cast<int>(s.frameWidth) - 1;
  return x < right;
}

TEST(Pixels, SaverWindowMatchesTheNativeRendering) {
  const std::vector<Scenario> scenarios = ReadScenarios();
  ASSERT_FALSE(scenarios.empty()) << "no pixels\\scenarios.txt beside the test program";
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  ASSERT_EQ(width, 1024);
  ASSERT_EQ(height, 768);
  SetCursorPos(width / 2, height / 2);

  for (const Scenario& scenario : scenarios) {
    SCOPED_TRACE(scenario.name);
    const std::string pixelsFolder = wintest::ProgramFolder() + "pixels\\";
    int expectedWidth = 0;
    int expectedHeight = 0;
    std::vector<uint32_t> expected;
    ASSERT_TRUE(e2e::ReadBmp(pixelsFolder + scenario.name + ".bmp", &expectedWidth,
                             &expectedHeight, &expected));
    ASSERT_EQ(expectedWidth, width);
    ASSERT_EQ(expectedHeight, height);

    e2e::ScenarioFolder folder("pixels-" + scenario.name);
    ASSERT_TRUE(folder.AddFromBuild("pixels\\" + scenario.settings.loadImage));
    e2e::WriteSettings(scenario.settings);
    wintest::Process saver;
    ASSERT_TRUE(e2e::Start(saver, folder, "life.scr", "/s"));
    HWND window = wintest::WaitForWindow(saver.id(), e2e::kSaverClass, "Screen Saver", 20000);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(e2e::WaitUntilPainted(window));
    for (int i = 0; i < scenario.ticks; ++i) ASSERT_TRUE(e2e::Tick(window));

    // Wine hands a window's drawing to the display a little later than the
    // tick that drew it: the screen is read again until it shows the
    // expected picture or a few seconds have passed.
    std::vector<uint32_t> screen;
    int differing = 0;
    std::string first;
    const auto compare = [&] {
      screen = e2e::ReadScreen(0, 0, width, height);
      differing = 0;
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          const size_t i = static_cast<size_t>(y * width + x);
          if (screen[i] == expected[i] || InActivityLine(scenario.settings, width, x, y)) continue;
          if (differing++ == 0) {
            std::ostringstream where;
            where << "(" << x << "," << y << ") shows " << std::hex << screen[i]
                  << ", expected " << expected[i];
            first = where.str();
          }
        }
      }
      return differing == 0;
    };
    e2e::PumpWaitFor(compare, 5000);
    EXPECT_EQ(differing, 0) << "first difference at " << first;
    if (differing != 0) e2e::WriteBmp(pixelsFolder + scenario.name + "-screen.bmp", width, height, screen);

    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(e2e::ExitCodeWithin(saver, 10000), 0u);
  }
}

}  // namespace
