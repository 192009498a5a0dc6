// The saver's pixels: after a known number of ticks from a fixed seed (and
// an expose on the way), the full-screen window shows what life-render
// computes natively for the same settings. The two sides draw text with different font engines, so
// the activity line is drawn here onto the native picture, as the saver draws it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ActivityFont.h"
#include "E2eSupport.h"

namespace {

struct Scenario {
  std::string name;
  int ticks = 0;
  e2e::TestSettings settings;
  unsigned generation = 0;  // of the world shown
  unsigned population = 0;
};

// pixels\scenarios.txt, written beside the expected pictures: name, ticks,
// face file and geometry, the three display flags as 0/1 digits, colour,
// generation and population.
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
          t.numFrames >> t.numRows >> t.bornEnd >> t.dieStart >> flags >> color >> s.generation >>
          s.population) ||
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

// Draws the activity line onto the picture as the saver draws it onto its
// own: at (2, 2), transparent, in the display colour and the saver's font.
void DrawActivityLine(const Scenario& scenario, int width, int height,
                      std::vector<uint32_t>* pixels) {
  const e2e::TestSettings& s = scenario.settings;
  std::string name = s.loadImage.substr(0, s.loadImage.find('.'));
  if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 32);
  const std::string line = " " + name + " - Population: " + std::to_string(scenario.population) +
                           " Generation: " + std::to_string(scenario.generation) + " ";
  const BITMAPINFO info = e2e::TopDownBitmapInfo(width, height);
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bitmap, nullptr);
  auto* picture = static_cast<uint32_t*>(bits);
  std::copy(pixels->begin(), pixels->end(), picture);
  HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
  FontHandle font = CreateActivityFont("MS Sans Serif");
  HGDIOBJ previousFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, s.displayColor);
  TextOutA(dc, 2, 2, line.c_str(), static_cast<int>(line.size()));
  GdiFlush();
  for (size_t i = 0; i < pixels->size(); ++i) (*pixels)[i] = picture[i] & 0x00FFFFFF;
  SelectObject(dc, previousFont);
  SelectObject(dc, previousBitmap);
  DeleteActivityFont(font);
  DeleteObject(bitmap);
  DeleteDC(dc);
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
    ASSERT_TRUE(e2e::ReadBmp(pixelsFolder + scenario.name + ".bmp", &expectedWidth, &expectedHeight,
                             &expected));
    ASSERT_EQ(expectedWidth, width);
    ASSERT_EQ(expectedHeight, height);
    if (scenario.settings.bActivityBar != 0) {
      ASSERT_NO_FATAL_FAILURE(DrawActivityLine(scenario, width, height, &expected));
    }

    e2e::ScenarioFolder folder("pixels-" + scenario.name);
    ASSERT_TRUE(folder.AddFromBuild("pixels\\" + scenario.settings.loadImage));
    e2e::WriteSettings(scenario.settings);
    wintest::Process saver;
    ASSERT_TRUE(e2e::Start(saver, folder, "life.scr", "/s"));
    HWND window = wintest::WaitForWindow(saver.id(), e2e::kSaverClass, "Screen Saver", 20000);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(e2e::WaitUntilPainted(window));
    // Halfway the window is painted over black, as after an expose: the
    // ticks after it must bring back the whole picture, not only what
    // changes from then on.
    for (int i = 0; i < scenario.ticks; ++i) {
      if (i == scenario.ticks / 2) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
        ASSERT_TRUE(e2e::WaitUntilPainted(window));
      }
      ASSERT_TRUE(e2e::Tick(window));
    }
    // The last picture may reach the screen a little after the last tick.
    std::vector<uint32_t> screen;
    int differing = 0;
    std::string first;
    e2e::PumpWaitFor(
        [&] {
          screen = e2e::ReadScreen(0, 0, width, height);
          differing = 0;
          for (size_t i = 0; i < screen.size(); ++i) {
            if (screen[i] == expected[i] || differing++ != 0) continue;
            std::ostringstream where;
            where << "(" << i % static_cast<size_t>(width) << "," << i / static_cast<size_t>(width)
                  << ") shows " << std::hex << screen[i] << ", expected " << expected[i];
            first = where.str();
          }
          return differing == 0;
        },
        5000);
    EXPECT_EQ(differing, 0) << "first difference at " << first;
    if (differing != 0)
      e2e::WriteBmp(pixelsFolder + scenario.name + "-screen.bmp", width, height, screen);

    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(e2e::ExitCodeWithin(saver, 10000), 0u);
  }
}

}  // namespace
