// Run modes of life.scr and their exit codes; the saver's resources.
#include <gtest/gtest.h>

#include <set>

#include "E2eSupport.h"

namespace {

using e2e::kNoExit;

constexpr DWORD kMinusOne = 0xFFFFFFFF;

class Modes : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::UseWin98Family("life.scr", false);
    e2e::UseOurMpr("life.scr", false);
    wintest::DeleteTree(e2e::kMprDoubleKey);
  }
  void TearDown() override { SetUp(); }

  DWORD Run(const std::string& arguments) { return e2e::RunToExit(folder_, "life.scr", arguments); }

  DWORD MprCalls() {
    DWORD calls = 0;
    wintest::ReadDword(e2e::kMprDoubleKey, "Calls", &calls);
    return calls;
  }

  e2e::ScenarioFolder folder_{"modes"};
};

TEST_F(Modes, LettersThatNameNoModeEndWithMinusOne) {
  for (const char* arguments : {"/x", "/?", "/1", "/\ts", "-z /s"})
    EXPECT_EQ(Run(arguments), kMinusOne) << arguments;
}

TEST_F(Modes, PreviewWithoutAWindowEndsWithMinusOneAndShowsNothing) {
  for (const char* arguments : {"/p", "/p 0", "/p:1234", "/l abc", "/p 4000000000"}) {
    EXPECT_EQ(Run(arguments), kMinusOne) << arguments;
  }
  EXPECT_TRUE(e2e::SaverWindows().empty());
}

TEST_F(Modes, PasswordChangeOffThe9xFamilyEndsWithMinusOne) {
  ASSERT_TRUE(folder_.AddFromBuild("doubles\\mpr.dll"));
  e2e::UseOurMpr("life.scr", true);
  EXPECT_EQ(Run("/a"), kMinusOne);
  EXPECT_EQ(Run("/a 1234"), kMinusOne);
  EXPECT_EQ(MprCalls(), 0u);
}

// A window of ours to own the password change.
HWND MakeOwnerWindow() {
  return CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST_F(Modes, PasswordChangeOnThe9xFamilyAsksTheScreenSaverProvider) {
  ASSERT_TRUE(folder_.AddFromBuild("doubles\\mpr.dll"));
  e2e::UseWin98Family("life.scr", true);
  e2e::UseOurMpr("life.scr", true);
  HWND owner = MakeOwnerWindow();
  ASSERT_NE(owner, nullptr);

  EXPECT_EQ(Run("/a " + std::to_string(reinterpret_cast<uintptr_t>(owner))), 0u);
  EXPECT_EQ(MprCalls(), 1u);
  std::string provider;
  EXPECT_TRUE(wintest::ReadString(e2e::kMprDoubleKey, "Provider", &provider));
  EXPECT_EQ(provider, "SCRSAVE");
  DWORD value = 0xFFFF;
  EXPECT_TRUE(wintest::ReadDword(e2e::kMprDoubleKey, "Owner", &value));
  EXPECT_EQ(value, static_cast<DWORD>(reinterpret_cast<uintptr_t>(owner)));
  EXPECT_TRUE(wintest::ReadDword(e2e::kMprDoubleKey, "Reserved1", &value));
  EXPECT_EQ(value, 0u);
  EXPECT_TRUE(wintest::ReadDword(e2e::kMprDoubleKey, "Reserved2", &value));
  EXPECT_EQ(value, 0u);
  DestroyWindow(owner);
}

TEST_F(Modes, PasswordChangeWithoutAUsableOwnerTakesTheForegroundWindow) {
  ASSERT_TRUE(folder_.AddFromBuild("doubles\\mpr.dll"));
  e2e::UseWin98Family("life.scr", true);
  e2e::UseOurMpr("life.scr", true);
  HWND owner = MakeOwnerWindow();
  SetForegroundWindow(owner);
  ASSERT_TRUE(wintest::WaitFor([&] { return GetForegroundWindow() == owner; }));

  for (const char* arguments : {"/a", "/a 0", "-A 4000000000"}) {
    wintest::DeleteTree(e2e::kMprDoubleKey);
    EXPECT_EQ(Run(arguments), 0u) << arguments;
    DWORD value = 0;
    EXPECT_TRUE(wintest::ReadDword(e2e::kMprDoubleKey, "Owner", &value)) << arguments;
    EXPECT_EQ(value, static_cast<DWORD>(reinterpret_cast<uintptr_t>(owner))) << arguments;
  }
  DestroyWindow(owner);
}

TEST_F(Modes, PasswordChangeWithThePlatformsOwnLibraryStillEndsWithZero) {
  e2e::UseWin98Family("life.scr", true);
  EXPECT_EQ(Run("/a"), 0u);
  EXPECT_EQ(MprCalls(), 0u);
}

// Closes the dialogs the process shows (the configuration dialog with
// Cancel, any message before it with OK) until it ends; returns whether the
// configuration dialog was among them.
bool CloseDialogsUntilExit(wintest::Process& process) {
  bool sawOptions = false;
  wintest::WaitFor(
      [&] {
        HWND dialog = wintest::WaitForWindow(process.id(), "#32770", nullptr, 0);
        if (dialog != nullptr) {
          const bool options = wintest::WindowText(dialog) == "Life Options";
          sawOptions = sawOptions || options;
          PostMessageA(dialog, WM_COMMAND, options ? IDCANCEL : IDOK, 0);
        }
        return !process.Running();
      },
      20000);
  return sawOptions;
}

TEST_F(Modes, ConfigurationModesEndWithTheDialogsResult) {
  // The dialog ends with 0 when cancelled; without its template it cannot
  // be made and the result is -1.
  HMODULE saver =
      LoadLibraryExA((folder_.path() + "\\life.scr").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(saver, nullptr);
  const bool hasDialog =
      FindResourceA(saver, MAKEINTRESOURCEA(2003), MAKEINTRESOURCEA(5)) != nullptr;
  FreeLibrary(saver);
  for (const char* arguments : {"", "  -/ ", "/c", "/c:1234"}) {
    wintest::Process process;
    ASSERT_TRUE(e2e::Start(process, folder_, "life.scr", arguments));
    EXPECT_EQ(CloseDialogsUntilExit(process), hasDialog) << arguments;
    EXPECT_EQ(e2e::ExitCodeWithin(process, 1000), hasDialog ? 0u : kMinusOne) << arguments;
  }
}

TEST(Resources, DescriptionStringAndIconGroup) {
  e2e::ScenarioFolder folder("resources");
  HMODULE saver =
      LoadLibraryExA((folder.path() + "\\life.scr").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(saver, nullptr);
  char text[100] = {};
  EXPECT_GT(LoadStringA(saver, 1, text, sizeof text), 0);
  EXPECT_STREQ(text, "The Game of Life");

  HRSRC group = FindResourceA(saver, MAKEINTRESOURCEA(102), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_NE(group, nullptr);
  // The group directory: reserved, type, count, then 14-byte entries whose
  // first byte is the width.
  const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(saver, group)));
  ASSERT_NE(directory, nullptr);
  const int count = directory[4] | (directory[5] << 8);
  std::set<int> widths;
  for (int i = 0; i < count; ++i) widths.insert(directory[6 + i * 14]);
  EXPECT_TRUE(widths.count(16) == 1 && widths.count(32) == 1);
  // The window class asks for icon 100, which the saver does not have.
  EXPECT_EQ(FindResourceA(saver, MAKEINTRESOURCEA(100), MAKEINTRESOURCEA(14)), nullptr);
  FreeLibrary(saver);
}

}  // namespace
