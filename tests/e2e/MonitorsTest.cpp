// The full-screen saver on a desktop of two monitors. Run in a Wine session
// of its own whose Xvfb has two screens, 800 x 600 (the primary) and
// 640 x 480; Wine reports them as two monitors, both at 0,0.
#include <gtest/gtest.h>

#include <vector>

#include "E2eSupport.h"

namespace {

constexpr uint32_t kGreen = 0x0000FF00;  // as the settings store it, 0x00BBGGRR

// The frame of a world is its picture's outermost ring of pixels. The second
// monitor's world is 40 x 30 cells of 16 pixels, framed along x = 639 and
// y = 479; the primary's picture has ordinary tiles there.
bool FramedAt(const std::vector<uint32_t>& screen, int screenWidth, int right, int bottom) {
  for (int y = 0; y < bottom; ++y)
    if (screen[static_cast<size_t>(y * screenWidth + right - 1)] != 0x00FF00u) return false;
  for (int x = 0; x < right; ++x)
    if (screen[static_cast<size_t>((bottom - 1) * screenWidth + x)] != 0x00FF00u) return false;
  return true;
}

// Runs the full-screen saver over both screens, checks that its window
// covers the virtual screen, ticks it 30 times and gives the screen once
// `shown` holds for it (the last picture may reach the screen a little
// after the last tick), or after the wait, as it then is.
template <typename Shown>
std::vector<uint32_t> RunOnBothScreens(bool span, const char* scenario, Shown shown) {
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  SetCursorPos(width / 2, height / 2);

  e2e::TestSettings settings;
  settings.bFrameScreen = 1;
  settings.displayColor = kGreen;
  settings.bSpanMonitors = span ? 1 : 0;
  e2e::WriteSettings(settings);
  e2e::ScenarioFolder folder(scenario);
  wintest::Process saver;
  std::vector<uint32_t> screen;
  EXPECT_TRUE(e2e::Start(saver, folder, "life.scr", "/s"));
  HWND window = wintest::WaitForWindow(saver.id(), e2e::kSaverClass, "Screen Saver", 60000);
  EXPECT_NE(window, nullptr);
  if (window == nullptr) return screen;
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
  EXPECT_EQ(rect.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
  EXPECT_EQ(rect.right - rect.left, width);
  EXPECT_EQ(rect.bottom - rect.top, height);

  EXPECT_TRUE(e2e::WaitUntilPainted(window));
  for (int i = 0; i < 30; ++i) EXPECT_TRUE(e2e::Tick(window)) << "tick " << i;
  e2e::PumpWaitFor([&] {
    screen = e2e::ReadScreen(0, 0, width, height);
    return shown(screen, width);
  });
  e2e::PressKey(VK_SPACE);
  EXPECT_EQ(e2e::ExitCodeWithin(saver, 10000), 0u);
  return screen;
}

TEST(TwoMonitors, TheWindowCoversTheVirtualScreenAndEachMonitorShowsAWorld) {
  ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "run in a session with two screens";
  const auto both = [](const std::vector<uint32_t>& screen, int width) {
    return FramedAt(screen, width, 640, 480) && FramedAt(screen, width, 800, 592);
  };
  const std::vector<uint32_t> screen = RunOnBothScreens(false, "monitors", both);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  // Drawn last, the second monitor's world lies over the primary's.
  EXPECT_TRUE(FramedAt(screen, width, 640, 480));
  EXPECT_TRUE(FramedAt(screen, width, 800, 592)) << "the primary's world is 50 x 37 cells";
}

// Spanned, the two monitors show one world: both lie at 0,0, so its box is
// the primary's, and its frame runs along the primary's edges only.
TEST(TwoMonitors, SpannedTheyShowOneWorld) {
  ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "run in a session with two screens";
  const auto primary = [](const std::vector<uint32_t>& screen, int width) {
    return FramedAt(screen, width, 800, 592);
  };
  const std::vector<uint32_t> screen = RunOnBothScreens(true, "monitors-spanned", primary);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  EXPECT_TRUE(FramedAt(screen, width, 800, 592));
  EXPECT_FALSE(FramedAt(screen, width, 640, 480)) << "no world of the second monitor's own";
}

}  // namespace
