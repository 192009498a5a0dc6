// The 9x family (Wine told to report Windows 98 to the saver): the saver
// password through a test double of PASSWORD.CPL, the system's
// screen-saver-running state, and the ends that must turn that state off.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "E2eSupport.h"

namespace {

using e2e::RunningState;

constexpr int kStartX = 400;
constexpr int kStartY = 300;

DWORD DoubleValue(const char* name) {
  DWORD value = 0;
  wintest::ReadDword(e2e::kPasswordDoubleKey, name, &value);
  return value;
}

class Win9xFamily : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::UseWin98Family("life.scr", true);
    e2e::UseWin98Family("faulting-saver.exe", true);
    e2e::WriteDword(e2e::kDesktopKey, "ScreenSaveUsePassword", 1);
    wintest::DeleteTree(e2e::kPasswordDoubleKey);
    e2e::ForgetRunningState();
    e2e::WriteSettings(settings_);
    SetCursorPos(kStartX, kStartY);
  }

  void TearDown() override {
    e2e::UseWin98Family("life.scr", false);
    e2e::UseWin98Family("faulting-saver.exe", false);
    e2e::DeleteValue(e2e::kDesktopKey, "ScreenSaveUsePassword");
  }

  void Script(const char* answers, DWORD pumpMs = 0) {
    e2e::WriteString(e2e::kPasswordDoubleKey, "Answers", answers);
    e2e::WriteDword(e2e::kPasswordDoubleKey, "PumpMs", pumpMs);
  }

  HWND StartSaver(const char* program = "life.scr") {
    EXPECT_TRUE(e2e::Start(saver_, folder_, program, "/s"));
    HWND window = wintest::WaitForWindow(saver_.id(), e2e::kSaverClass, "Screen Saver", 20000);
    EXPECT_NE(window, nullptr);
    EXPECT_TRUE(wintest::WaitFor([&] { return GetForegroundWindow() == window; }));
    return window;
  }

  bool WaitForCalls(DWORD calls) {
    return wintest::WaitFor([&] { return DoubleValue("Calls") >= calls; }) &&
           DoubleValue("Calls") == calls;
  }

  // Waits until close requests are no longer held off after a question.
  void WaitPastHoldOff() {
    const DWORD lastEnd = DoubleValue("LastEnd");
    wintest::WaitFor([&] { return GetTickCount() - lastEnd >= 300; }, 2000);
  }

  DWORD ExitCode() { return e2e::ExitCodeWithin(saver_, 10000); }

  e2e::TestSettings settings_;
  e2e::ScenarioFolder folder_{"win9x"};
  wintest::Process saver_;
};

TEST_F(Win9xFamily, AcceptedPasswordEndsItAndTheRunningStateGoesOff) {
  ASSERT_TRUE(folder_.AddFromBuild("doubles\\password.cpl"));
  Script("1");
  HWND window = StartSaver();
  EXPECT_EQ(e2e::ReadRunningState(), RunningState::kOn);
  e2e::PressKey(VK_SPACE);
  EXPECT_EQ(ExitCode(), 0u);
  EXPECT_EQ(DoubleValue("Calls"), 1u);
  EXPECT_EQ(DoubleValue("Window"), static_cast<DWORD>(reinterpret_cast<uintptr_t>(window)));
  EXPECT_EQ(e2e::ReadRunningState(), RunningState::kOff);
}

TEST_F(Win9xFamily, RefusedPasswordKeepsItRunningUntilALaterQuestionIsAnswered) {
  ASSERT_TRUE(folder_.AddFromBuild("doubles\\password.cpl"));
  Script("01");
  StartSaver();
  e2e::PressKey(VK_SPACE);
  ASSERT_TRUE(WaitForCalls(1));
  EXPECT_TRUE(e2e::StaysRunning(saver_));
  EXPECT_EQ(e2e::ReadRunningState(), RunningState::kOn);
  WaitPastHoldOff();
  e2e::ClickLeft();
  EXPECT_EQ(ExitCode(), 0u);
  EXPECT_EQ(DoubleValue("Calls"), 2u);
  EXPECT_EQ(e2e::ReadRunningState(), RunningState::kOff);
}

TEST_F(Win9xFamily, BurstOfCloseRequestsAsksOnceThenHoldsOff) {
  ASSERT_TRUE(folder_.AddFromBuild("doubles\\password.cpl"));
  Script("001");
  HWND window = StartSaver();
  for (int i = 0; i < 5; ++i) PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  ASSERT_TRUE(WaitForCalls(1));
  // The requests queued behind the first come within the hold-off.
  EXPECT_TRUE(e2e::StaysRunning(saver_));
  EXPECT_EQ(DoubleValue("Calls"), 1u);
  WaitPastHoldOff();
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  ASSERT_TRUE(WaitForCalls(2));
  EXPECT_TRUE(e2e::StaysRunning(saver_));
  WaitPastHoldOff();
  PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(ExitCode(), 0u);
  EXPECT_EQ(DoubleValue("Calls"), 3u);
  EXPECT_EQ(DoubleValue("Nested"), 0u);
}

TEST_F(Win9xFamily, RequestsWhileTheQuestionIsOpenAskNothingMore) {
  ASSERT_TRUE(folder_.AddFromBuild("doubles\\password.cpl"));
  // The question dispatches messages for 1.5 s, as a password dialog does.
  Script("01", 1500);
  HWND window = StartSaver();
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  ASSERT_TRUE(WaitForCalls(1));
  for (int i = 0; i < 5; ++i) {
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  wintest::WaitFor([] { return DoubleValue("LastEnd") != 0; });
  EXPECT_TRUE(e2e::StaysRunning(saver_));
  EXPECT_EQ(DoubleValue("Calls"), 1u);
  EXPECT_EQ(DoubleValue("Nested"), 0u);
  WaitPastHoldOff();
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(ExitCode(), 0u);
  EXPECT_EQ(DoubleValue("Calls"), 2u);
}

TEST_F(Win9xFamily, AnimationGoesOnBehindTheQuestion) {
  ASSERT_TRUE(folder_.AddFromBuild("doubles\\password.cpl"));
  settings_.delay = 30;
  e2e::WriteSettings(settings_);
  Script("1", 3000);
  HWND window = StartSaver();
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  ASSERT_TRUE(WaitForCalls(1));
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const std::vector<uint32_t> before = e2e::ReadScreen(0, 0, width, height);
  EXPECT_TRUE(wintest::WaitFor(
      [&] { return DoubleValue("LastEnd") == 0 && e2e::ReadScreen(0, 0, width, height) != before; },
      2500));
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(Win9xFamily, WithoutTheVerifierLibraryTheFirstRequestCloses) {
  HWND window = StartSaver();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(e2e::ReadRunningState(), RunningState::kNeverSet);
  e2e::PressKey(VK_SPACE);
  EXPECT_EQ(ExitCode(), 0u);
  EXPECT_EQ(e2e::ReadRunningState(), RunningState::kNeverSet);
}

TEST_F(Win9xFamily, PasswordSettingOfZeroAsksNothing) {
  ASSERT_TRUE(folder_.AddFromBuild("doubles\\password.cpl"));
  e2e::WriteDword(e2e::kDesktopKey, "ScreenSaveUsePassword", 0);
  Script("0");
  StartSaver();
  e2e::PressKey(VK_SPACE);
  EXPECT_EQ(ExitCode(), 0u);
  EXPECT_EQ(DoubleValue("Calls"), 0u);
  EXPECT_EQ(e2e::ReadRunningState(), RunningState::kNeverSet);
}

TEST_F(Win9xFamily, FaultEscapingTheSaverTurnsTheRunningStateOff) {
  ASSERT_TRUE(folder_.AddFromBuild("doubles\\password.cpl"));
  ASSERT_TRUE(folder_.AddFromBuild("doubles\\faulting-saver.exe"));
  // Wine's crash report would otherwise wait for a click.
  e2e::WriteDword("Software\\Wine\\WineDbg", "ShowCrashDialog", 0);
  Script("0");
  HWND window = StartSaver("faulting-saver.exe");
  ASSERT_EQ(e2e::ReadRunningState(), RunningState::kOn);
  PostMessageA(window, WM_APP + 1, 0, 0);
  const DWORD exitCode = ExitCode();
  EXPECT_NE(exitCode, e2e::kNoExit);
  EXPECT_NE(exitCode, 0u);
  EXPECT_EQ(e2e::ReadRunningState(), RunningState::kOff);
}

BOOL CALLBACK CollectText(HWND child, LPARAM data) {
  reinterpret_cast<std::vector<std::string>*>(data)->push_back(wintest::WindowText(child));
  return TRUE;
}

// The texts of a message box's controls.
std::vector<std::string> MessageTexts(HWND box) {
  std::vector<std::string> texts;
  EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

struct FatalCase {
  const char* name;
  DWORD frameWidth;
  const char* loadImage;
  const char* caption;
  const char* text;
};

TEST_F(Win9xFamily, FatalErrorsAfterTheRunningStateWentOnTurnItOff) {
  ASSERT_TRUE(folder_.AddFromBuild("doubles\\password.cpl"));
  Script("1");
  const FatalCase cases[] = {
      {"missing faces", 16, "missing.bmp", "No Faces", "Unable to find, missing.bmp"},
      {"frame width 0", 0, "lifeface.bmp", "Bad Frame", "Bad frame dimensions, lifeface.bmp"},
  };
  for (const FatalCase& fatal : cases) {
    e2e::ForgetRunningState();
    settings_.frameWidth = fatal.frameWidth;
    settings_.loadImage = fatal.loadImage;
    e2e::WriteSettings(settings_);
    wintest::Process saver;
    ASSERT_TRUE(e2e::Start(saver, folder_, "life.scr", "/s"));
    HWND box = wintest::WaitForWindow(saver.id(), "#32770", fatal.caption, 20000);
    ASSERT_NE(box, nullptr) << fatal.name;
    const std::vector<std::string> texts = MessageTexts(box);
    EXPECT_NE(std::find(texts.begin(), texts.end(), fatal.text), texts.end()) << fatal.name;
    EXPECT_EQ(e2e::ReadRunningState(), RunningState::kOn) << fatal.name;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(e2e::ExitCodeWithin(saver, 10000), 1u) << fatal.name;
    EXPECT_EQ(e2e::ReadRunningState(), RunningState::kOff) << fatal.name;
  }
}

}  // namespace
