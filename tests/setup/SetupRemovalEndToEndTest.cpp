// The registered install under Wine: Wine's own uninstaller as a client of
// the registration, and the unattended install and removal.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "LifeVersion.h"
#include "SetupDriver.h"

namespace {

constexpr char kLifeKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Life";
const char* const kNames[] = {"life.scr", "LifeTestA.bmp", "LifeTestB.bmp", "lifesetup.exe"};

// The names of the files in a folder.
std::set<std::string> FileNames(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.insert(found.cFileName);
  } while (FindNextFileA(search, &found) != 0);
  FindClose(search);
  return names;
}

std::string Uninstaller() { return "\"" + SystemDirectory() + "uninstaller.exe\""; }

class SetupRemovalTest : public testing::Test {
 protected:
  void SetUp() override {
    Clean();
    PlantSystemStandIn();
    run.Write("_copy.lst", "life.scr\r\nLifeTestA.bmp\r\nLifeTestB.bmp\r\n");
    for (const char* name : {"life.scr", "LifeTestA.bmp", "LifeTestB.bmp"})
      run.Write(name, std::string("new ") + name);
  }
  void TearDown() override {
    RemoveSystemStandIn();
    Clean();
  }
  void Clean() const {
    for (const char* name : kNames) DeleteFileA((windows + name).c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kLifeKey);
  }
  // Waits until the Windows directory holds exactly `names`.
  bool WindowsDirectoryHolds(const std::set<std::string>& names) const {
    return wintest::WaitFor([&] { return FileNames(windows) == names; }, 30000);
  }

  const std::string windows = WindowsDirectory();
  SetupRun run;
};

TEST_F(SetupRemovalTest, WinesUninstallerListsLifeAndRemovesExactlyWhatWasInstalled) {
  WriteBytes(windows + "LifeTestA.bmp", "the user's own");
  const std::set<std::string> before = FileNames(windows);
  HWND dialog = run.Start();
  ASSERT_NE(dialog, nullptr);
  Press(dialog, 1);  // Install
  HWND question = run.WaitForBox("Overwrite?");
  ASSERT_NE(question, nullptr);
  Press(question, IDNO);
  EXPECT_FALSE(run.HandOver().empty());
  EXPECT_EQ(run.WaitForExit(), 0u);
  EXPECT_TRUE(FileExists(windows + "lifesetup.exe"));

  std::string listed;
  EXPECT_EQ(RunToEnd(Uninstaller() + " --list", &listed), 0u);
  EXPECT_NE(listed.find("Life|||Life " LIFE_VERSION_TEXT), std::string::npos) << listed;

  wintest::Process removal;
  ASSERT_TRUE(removal.Start(Uninstaller() + " --remove Life"));
  HWND ask = WaitForAnyBox("Remove Life");
  ASSERT_NE(ask, nullptr);
  Press(ask, IDYES);
  ASSERT_TRUE(wintest::WaitFor([&] { return !IsWindow(ask); }));
  HWND done = WaitForAnyBox("Remove Life");
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(MessageBoxText(done), "Life has been removed.");
  Press(done, IDOK);

  EXPECT_TRUE(WindowsDirectoryHolds(before));
  EXPECT_EQ(ReadBytes(windows + "LifeTestA.bmp"), "the user's own");
  EXPECT_EQ(MachineString(kLifeKey, "DisplayName"), "<none>");
  DWORD code = 0;
  EXPECT_TRUE(removal.WaitForExit(30000, &code));
}

TEST_F(SetupRemovalTest, SilentInstallAndSilentRemoval) {
  WriteBytes(windows + "LifeTestA.bmp", "old A");
  const std::set<std::string> before = FileNames(windows);
  ASSERT_TRUE(run.StartWith("/S"));
  EXPECT_EQ(run.WaitForExit(), 0u);
  EXPECT_TRUE(run.NoHandOver());
  EXPECT_EQ(ReadBytes(windows + "LifeTestA.bmp"), "new LifeTestA.bmp");
  EXPECT_EQ(MachineString(kLifeKey, "DisplayVersion"), LIFE_VERSION_TEXT);
  const std::string quiet = MachineString(kLifeKey, "QuietUninstallString");
  EXPECT_EQ(quiet,
            "\"" + MachineString(kLifeKey, "InstallLocation") + "\\lifesetup.exe\" /uninstall /S");

  EXPECT_EQ(RunToEnd(quiet), 0u);
  std::set<std::string> after = before;
  after.erase("LifeTestA.bmp");  // replaced by the install, so Life's
  EXPECT_TRUE(WindowsDirectoryHolds(after));
  EXPECT_EQ(MachineString(kLifeKey, "DisplayName"), "<none>");
}

TEST_F(SetupRemovalTest, ASilentInstallWhoseCopyFailsHalfWayRegistersNothing) {
  run.Write("_copy.lst", "LifeTestA.bmp\r\nLifeTestMissing.bmp\r\nlife.scr\r\n");
  const std::set<std::string> before = FileNames(windows);
  ASSERT_TRUE(run.StartWith("/S"));
  EXPECT_NE(run.WaitForExit(), 0u);
  EXPECT_EQ(FileNames(windows), before);
  EXPECT_EQ(MachineString(kLifeKey, "DisplayName"), "<none>");
  EXPECT_TRUE(run.NoHandOver());
}

}  // namespace
