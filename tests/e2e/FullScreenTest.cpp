// The full-screen saver: its window, the settings it creates, and what
// dismisses it (off the 9x family: no password, running state untouched).
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "E2eSupport.h"

namespace {

constexpr int kStartX = 500;
constexpr int kStartY = 400;

class FullScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::UseWin98Family("life.scr", false);
    e2e::ForgetRunningState();
    e2e::WriteSettings(settings_);
    SetCursorPos(kStartX, kStartY);
  }

  // Starts the saver and waits until its window is up and in front. A start
  // under Wine on a busy machine has been seen to take longer than 20 s.
  HWND StartSaver() {
    EXPECT_TRUE(e2e::Start(saver_, folder_, "life.scr", "/s"));
    HWND window = wintest::WaitForWindow(saver_.id(), e2e::kSaverClass, "Screen Saver", 60000);
    EXPECT_NE(window, nullptr);
    EXPECT_TRUE(wintest::WaitFor([&] { return GetForegroundWindow() == window; }));
    return window;
  }

  DWORD ExitCode() { return e2e::ExitCodeWithin(saver_, 10000); }

  e2e::TestSettings settings_;
  e2e::ScenarioFolder folder_{"fullscreen"};
  wintest::Process saver_;
};

TEST_F(FullScreen, WindowCoversTheScreenWithClassTitleAndStyle) {
  HWND window = StartSaver();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(wintest::ClassName(window), "WindowsScreenSaverClass");
  EXPECT_EQ(wintest::WindowText(window), "Screen Saver");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), 0x96000000u);
  EXPECT_NE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(GetParent(window), nullptr);
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(GetClassLongPtrA(window, GCL_STYLE), 0x2B);
  EXPECT_EQ(GetClassLongPtrA(window, GCLP_HICON), 0);
  e2e::PressKey(VK_SPACE);
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(FullScreen, NewUserGetsTheLoadTimeDefaults) {
  wintest::DeleteTree(e2e::kSettingsKey);
  StartSaver();
  e2e::PressKey(VK_SPACE);
  ASSERT_EQ(ExitCode(), 0u);

  const std::pair<const char*, DWORD> numbers[] = {{"delay", 150},
                                                   {"bMiniDisplay", 0xFFFFFFFF},
                                                   {"bActivityBar", 0xFFFFFFFF},
                                                   {"bFrameScreen", 0xFFFFFFFF},
                                                   {"seed", 0},
                                                   {"initpop", 150},
                                                   {"displayColor", 0x00C0C0C0},
                                                   {"numFrames", 25},
                                                   {"numRows", 6},
                                                   {"frameWidth", 16},
                                                   {"frameHeight", 16},
                                                   {"bornEnd", 5},
                                                   {"dieStart", 12}};
  for (const auto& [name, number] : numbers) {
    DWORD value = 0;
    EXPECT_TRUE(wintest::ReadDword(e2e::kSettingsKey, name, &value)) << name;
    EXPECT_EQ(value, number) << name;
  }
  std::string text;
  EXPECT_TRUE(wintest::ReadString(e2e::kSettingsKey, "font", &text));
  EXPECT_EQ(text, "MS Sans Serif");
  EXPECT_TRUE(wintest::ReadString(e2e::kSettingsKey, "loadImage", &text));
  EXPECT_EQ(text, "lifeface.bmp");

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, e2e::kSettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD valueCount = 0;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount, nullptr,
                   nullptr, nullptr, nullptr);
  EXPECT_EQ(valueCount, 15u);
  RegCloseKey(key);
}

TEST_F(FullScreen, KeyPressEndsItWithExitCodeZero) {
  StartSaver();
  e2e::PressKey('A');
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(FullScreen, MouseClickEndsIt) {
  StartSaver();
  e2e::ClickLeft();
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(FullScreen, CursorMoveOfFivePixelsEndsIt) {
  HWND window = StartSaver();
  e2e::MoveCursorAndNotify(window, kStartX + 3, kStartY + 2);
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(FullScreen, CursorMoveOfFivePixelsLeftAndUpEndsIt) {
  HWND window = StartSaver();
  e2e::MoveCursorAndNotify(window, kStartX - 5, kStartY);
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(FullScreen, CursorMoveOfFourPixelsDoesNotEndIt) {
  HWND window = StartSaver();
  e2e::MoveCursorAndNotify(window, kStartX + 2, kStartY + 2);
  EXPECT_TRUE(e2e::StaysRunning(saver_));
  e2e::MoveCursorAndNotify(window, kStartX - 2, kStartY - 2);
  EXPECT_TRUE(e2e::StaysRunning(saver_));
  e2e::PressKey(VK_SPACE);
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(FullScreen, SmallCursorMovesAddUpFromTheStartPosition) {
  HWND window = StartSaver();
  const POINT steps[] = {{1, 0}, {2, 1}, {2, 2}};
  for (const POINT& step : steps) {
    e2e::MoveCursorAndNotify(window, kStartX + step.x, kStartY + step.y);
    EXPECT_TRUE(e2e::StaysRunning(saver_, 400)) << step.x << "," << step.y;
  }
  e2e::MoveCursorAndNotify(window, kStartX + 3, kStartY + 2);
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(FullScreen, MouseMoveMessageWithoutCursorChangeDoesNotEndIt) {
  HWND window = StartSaver();
  for (int i = 0; i < 5; ++i) e2e::MoveCursorAndNotify(window, kStartX, kStartY);
  // Coordinates in the message itself are not looked at.
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, WM_MOUSEMOVE, 0, MAKELPARAM(300, 300), SMTO_NORMAL, 5000, &result);
  EXPECT_TRUE(e2e::StaysRunning(saver_));
  e2e::PressKey(VK_SPACE);
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(FullScreen, ActivationOfAnotherProgramEndsIt) {
  StartSaver();
  HWND other = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "Other program", WS_POPUP | WS_VISIBLE, 0,
                               0, 100, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  // Under Wine without a window manager, the saver's X window may be mapped
  // only after `other` took the focus, and then takes it back before the
  // saver saw its deactivation. Activate again until the saver ends; a
  // saver that ignores deactivation never does. This thread owns `other`,
  // so it keeps answering messages meanwhile.
  bool ended = false;
  for (int attempt = 0; attempt < 5 && !ended; ++attempt) {
    SetForegroundWindow(other);
    ended = e2e::PumpWaitFor([&] { return !saver_.Running(); }, 3000);
  }
  EXPECT_TRUE(ended);
  EXPECT_EQ(ExitCode(), 0u);
  DestroyWindow(other);
}

TEST_F(FullScreen, ActivationMessageOfItsOwnDoesNotEndIt) {
  HWND window = StartSaver();
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, WM_ACTIVATEAPP, 1, 0, SMTO_NORMAL, 5000, &result);
  EXPECT_TRUE(e2e::StaysRunning(saver_));
  SendMessageTimeoutA(window, WM_ACTIVATEAPP, 0, 0, SMTO_NORMAL, 5000, &result);
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(FullScreen, WindowTextDoesNotChange) {
  HWND window = StartSaver();
  DWORD_PTR result = 1;
  ASSERT_NE(SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other"),
                                SMTO_NORMAL, 5000, &result),
            0);
  EXPECT_EQ(result, 0u);
  EXPECT_EQ(wintest::WindowText(window), "Screen Saver");
  EXPECT_TRUE(e2e::StaysRunning(saver_, 300));
  e2e::PressKey(VK_SPACE);
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(FullScreen, TaskSwitchAndScreenSaveCommandsAreRefusedOthersPassOn) {
  HWND window = StartSaver();
  for (const WPARAM command :
       {WPARAM{SC_NEXTWINDOW}, WPARAM{SC_PREVWINDOW}, WPARAM{SC_SCREENSAVE}}) {
    DWORD_PTR result = 1;
    ASSERT_NE(SendMessageTimeoutA(window, WM_SYSCOMMAND, command, 0, SMTO_NORMAL, 5000, &result),
              0);
    EXPECT_EQ(result, 0u) << command;
  }
  EXPECT_TRUE(e2e::StaysRunning(saver_));
  EXPECT_EQ(GetForegroundWindow(), window);
  // SC_CLOSE reaches the default handling, which asks the window to close.
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_NORMAL, 5000, &result);
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(FullScreen, SecondStartReturnsZeroWithoutASecondWindow) {
  HWND first = StartSaver();
  ASSERT_NE(first, nullptr);
  wintest::Process second;
  ASSERT_TRUE(e2e::Start(second, folder_, "life.scr", "/s"));
  EXPECT_EQ(e2e::ExitCodeWithin(second, 20000), 0u);
  const std::vector<HWND> windows = e2e::SaverWindows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0], first);
  EXPECT_TRUE(saver_.Running());
  e2e::PressKey(VK_SPACE);
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(FullScreen, OffThe9xFamilyNoPasswordIsAskedAndTheRunningStateIsLeftAlone) {
  ASSERT_TRUE(folder_.AddFromBuild("doubles\\password.cpl"));
  wintest::DeleteTree(e2e::kPasswordDoubleKey);
  e2e::WriteDword(e2e::kDesktopKey, "ScreenSaveUsePassword", 1);
  StartSaver();
  e2e::PressKey(VK_SPACE);
  EXPECT_EQ(ExitCode(), 0u);
  DWORD calls = 0;
  wintest::ReadDword(e2e::kPasswordDoubleKey, "Calls", &calls);
  EXPECT_EQ(calls, 0u);
  EXPECT_EQ(e2e::ReadRunningState(), e2e::RunningState::kNeverSet);
  e2e::DeleteValue(e2e::kDesktopKey, "ScreenSaveUsePassword");
}

TEST_F(FullScreen, TimerAnimatesTheWorld) {
  settings_.delay = 20;
  e2e::WriteSettings(settings_);
  StartSaver();
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const std::vector<uint32_t> before = e2e::ReadScreen(0, 0, width, height);
  EXPECT_TRUE(
      wintest::WaitFor([&] { return e2e::ReadScreen(0, 0, width, height) != before; }, 10000));
  e2e::PressKey(VK_SPACE);
  EXPECT_EQ(ExitCode(), 0u);
}

std::vector<uint32_t> WholeScreen() {
  return e2e::ReadScreen(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

uint32_t PixelAt(const std::vector<uint32_t>& screen, int x, int y) {
  return screen[static_cast<size_t>(y) * static_cast<size_t>(GetSystemMetrics(SM_CXSCREEN)) +
                static_cast<size_t>(x)];
}

constexpr uint32_t kGreen = 0x0000FF00;  // the same as colour and as pixel

TEST_F(FullScreen, PictureOfWholeFramesWithBlackStripsBeyond) {
  settings_.bFrameScreen = 1;
  settings_.displayColor = kGreen;
  settings_.frameWidth = 20;
  settings_.frameHeight = 20;
  e2e::WriteSettings(settings_);
  HWND window = StartSaver();
  ASSERT_TRUE(e2e::WaitUntilPainted(window));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(e2e::Tick(window));
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const int pictureWidth = width / 20 * 20;
  const int pictureHeight = height / 20 * 20;
  ASSERT_LT(pictureWidth, width);
  ASSERT_LT(pictureHeight, height);
  // The last picture may reach the screen a little after the last tick.
  std::vector<uint32_t> screen;
  e2e::PumpWaitFor(
      [&] {
        screen = WholeScreen();
        return PixelAt(screen, pictureWidth - 1, pictureHeight - 1) == kGreen;
      },
      10000);
  // The frame runs along the picture's edges...
  EXPECT_EQ(PixelAt(screen, 0, 0), kGreen);
  EXPECT_EQ(PixelAt(screen, pictureWidth - 1, pictureHeight - 1), kGreen);
  EXPECT_EQ(PixelAt(screen, pictureWidth - 1, pictureHeight / 2), kGreen);
  EXPECT_EQ(PixelAt(screen, pictureWidth / 2, pictureHeight - 1), kGreen);
  // ...and nothing is drawn beyond them.
  for (int y = 0; y < height; ++y)
    for (int x = pictureWidth; x < width; ++x)
      ASSERT_EQ(PixelAt(screen, x, y), 0u) << x << "," << y;
  for (int y = pictureHeight; y < height; ++y)
    for (int x = 0; x < width; ++x) ASSERT_EQ(PixelAt(screen, x, y), 0u) << x << "," << y;
  e2e::PressKey(VK_SPACE);
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(FullScreen, FacesTooLargeForTwoCellsEachWayLeaveTheScreenBlack) {
  settings_.bFrameScreen = 1;
  settings_.bMiniDisplay = 1;
  settings_.bActivityBar = 1;
  settings_.displayColor = kGreen;
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const SIZE faces[] = {{static_cast<LONG>(width / 2 + 1), 16},
                        {16, static_cast<LONG>(height / 2 + 1)},
                        {static_cast<LONG>(width + 1), static_cast<LONG>(height + 1)}};
  for (const SIZE& face : faces) {
    settings_.frameWidth = static_cast<DWORD>(face.cx);
    settings_.frameHeight = static_cast<DWORD>(face.cy);
    e2e::WriteSettings(settings_);
    HWND window = StartSaver();
    ASSERT_TRUE(e2e::WaitUntilPainted(window));
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(e2e::Tick(window));
    const std::vector<uint32_t> screen = WholeScreen();
    for (size_t i = 0; i < screen.size(); ++i)
      ASSERT_EQ(screen[i], 0u) << face.cx << "x" << face.cy << " at " << i;
    e2e::PressKey(VK_SPACE);
    EXPECT_EQ(ExitCode(), 0u) << face.cx << "x" << face.cy;
  }
}

}  // namespace
