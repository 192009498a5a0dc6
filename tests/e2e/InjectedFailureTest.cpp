// The real saver meeting a failed acquisition: a copy of life.scr in which
// the k-th world array or surface fails (doubles/FailingAcquisition.cpp),
// for every k a clean start makes. Each must show the saver's fatal message
// before any saver window is shown and end with exit code 1 once it is
// answered.
#include <gtest/gtest.h>

#include <string>

#include "E2eSupport.h"

namespace {

constexpr int kWorldArrays = 13;  // the bit boards, face planes and draw tables
constexpr int kSurfaces = 3;      // picture, mini display, sheet

TEST(InjectedFailureTest, EachFailedAcquisitionShowsItsMessageAndEndsWithCodeOne) {
  e2e::ScenarioFolder folder("injected");
  ASSERT_TRUE(folder.AddFromBuild("doubles\\failing-saver.exe"));
  e2e::TestSettings settings;
  settings.bMiniDisplay = settings.bActivityBar = settings.bFrameScreen = 1;
  e2e::WriteSettings(settings);

  for (int k = 1; k <= kWorldArrays + kSurfaces; ++k) {
    SCOPED_TRACE("failing acquisition " + std::to_string(k));
    SetEnvironmentVariableA("LIFE_FAILING_ACQUISITION", std::to_string(k).c_str());
    wintest::Process saver;
    ASSERT_TRUE(e2e::Start(saver, folder, "failing-saver.exe", "/s"));
    const char* caption = k <= kWorldArrays ? "No Memory" : "???";
    HWND box = wintest::WaitForWindow(saver.id(), "#32770", caption, 20000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(wintest::WaitForWindow(saver.id(), e2e::kSaverClass, nullptr, 0), nullptr)
        << "a saver window is shown behind the message";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(e2e::ExitCodeWithin(saver, 10000), 1u);
  }
  SetEnvironmentVariableA("LIFE_FAILING_ACQUISITION", nullptr);
}

TEST(InjectedFailureTest, AFailedAllocationShowsTheOutOfMemoryMessageAndEndsWithCodeOne) {
  e2e::ScenarioFolder folder("injected-allocation");
  ASSERT_TRUE(folder.AddFromBuild("doubles\\failing-saver.exe"));
  e2e::WriteSettings(e2e::TestSettings{});
  // The first allocation after start-up, and a later one (a /s run makes
  // only a few: the engine's arrays are acquired apart).
  for (int k : {1, 5}) {
    SCOPED_TRACE("failing allocation " + std::to_string(k));
    SetEnvironmentVariableA("LIFE_FAILING_ALLOCATION", std::to_string(k).c_str());
    wintest::Process saver;
    ASSERT_TRUE(e2e::Start(saver, folder, "failing-saver.exe", "/s"));
    HWND box = wintest::WaitForWindow(saver.id(), "#32770", "No Memory", 20000);
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(e2e::ExitCodeWithin(saver, 10000), 1u);
  }
  SetEnvironmentVariableA("LIFE_FAILING_ALLOCATION", nullptr);
}

}  // namespace
