// Install, upgrade, silent install and removal against the fake platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeSetupPlatform.h"
#include "LifeVersion.h"
#include "Registration.h"
#include "ScratchFolder.h"
#include "SetupCommandLine.h"
#include "SetupSteps.h"

namespace {

using Strings = std::vector<std::string>;

const std::string kLife = RegistryPath(RegistryRoot::LocalMachine, kUninstallKey);
const std::string kDesktop = RegistryPath(RegistryRoot::CurrentUser, "Control Panel\\Desktop");
const std::string kSettings =
    RegistryPath(RegistryRoot::CurrentUser, "Software\\Vantreel\\Settings");

class LifeCycleTest : public testing::Test {
 protected:
  LifeCycleTest() {
    fake.files = {{"life.scr", "saver"}, {"a.bmp", "aa"}, {"life.nfo", "nfo"}};
    WriteBytes(kCopyListPath, "life.scr\na.bmp\nlife.nfo\n");
  }
  std::string Value(const std::string& key, const char* name) {
    return fake.registry.count(key) && fake.registry[key].count(name) ? fake.registry[key][name]
                                                                      : "<none>";
  }

  ScratchFolder folder;
  FakeSetup fake;
};

TEST_F(LifeCycleTest, InstallRegistersWhatItWroteAndHandsOverToTheSystemRundll) {
  fake.files["c:\\windows\\a.bmp"] = "user's own";
  fake.answers = {kAnswerNo};  // keep the user's a.bmp
  ASSERT_TRUE(InstallStep(fake.platform(), TestDialog()));

  EXPECT_EQ(fake.applications, Strings{"C:\\WINDOWS\\system32\\rundll32.exe"});
  EXPECT_EQ(Value(kLife, "DisplayName"), "Life " LIFE_VERSION_TEXT);
  EXPECT_EQ(Value(kLife, "DisplayVersion"), LIFE_VERSION_TEXT);
  EXPECT_EQ(Value(kLife, "InstallLocation"), "c:\\windows");
  EXPECT_EQ(Value(kLife, "UninstallString"), "\"c:\\windows\\lifesetup.exe\" /uninstall");
  EXPECT_EQ(Value(kLife, "QuietUninstallString"), "\"c:\\windows\\lifesetup.exe\" /uninstall /S");
  EXPECT_EQ(Value(kLife, "EstimatedSize"), "1");
  EXPECT_EQ(Value(kLife, "NoModify") + Value(kLife, "NoRepair"), "11");
  // The file kept on No is not Life's.
  EXPECT_EQ(
      RegisteredFiles(fake.platform()),
      (Strings{"c:\\windows\\life.scr", "c:\\windows\\life.nfo", "c:\\windows\\lifesetup.exe"}));
}

TEST_F(LifeCycleTest, TheHandOverUsesTheWindowsDirectoryOn9xAndQuotesASpacedPath) {
  fake.windowsDirectory = "C:\\My Windows";
  ASSERT_TRUE(InstallStep(fake.platform(), TestDialog(), {false, true}));
  EXPECT_EQ(fake.applications, Strings{"C:\\My Windows\\rundll32.exe"});
  EXPECT_EQ(fake.commandLines,
            Strings{"rundll32.exe desk.cpl,InstallScreenSaver \"c:\\my windows\\life.scr\""});
}

TEST_F(LifeCycleTest, AnUpgradeReplacesInPlaceAndKeepsTheEarlierRecord) {
  ASSERT_EQ(SilentInstall(fake.platform()), 0);
  fake.registry[kLife]["DisplayVersion"] = "0.9";
  WriteBytes(kCopyListPath, "life.scr\nb.bmp\n");
  fake.files["b.bmp"] = "b";
  fake.files["life.scr"] = "new saver";
  fake.answers = {kAnswerYes, kAnswerNo};  // replace life.scr, keep nothing else asked
  ASSERT_TRUE(InstallStep(fake.platform(), TestDialog()));
  EXPECT_EQ(fake.files["c:\\windows\\life.scr"], "new saver");
  EXPECT_EQ(Value(kLife, "DisplayVersion"), LIFE_VERSION_TEXT);
  EXPECT_EQ(RegisteredFiles(fake.platform()),
            (Strings{"c:\\windows\\life.scr", "c:\\windows\\a.bmp", "c:\\windows\\life.nfo",
                     "c:\\windows\\lifesetup.exe", "c:\\windows\\b.bmp"}));
}

TEST_F(LifeCycleTest, ASilentInstallAsksNothingReplacesAndDoesNotHandOver) {
  fake.files["c:\\windows\\a.bmp"] = "old";
  EXPECT_EQ(SilentInstall(fake.platform()), 0);
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_TRUE(fake.commandLines.empty());
  EXPECT_EQ(fake.files["c:\\windows\\a.bmp"], "aa");
  EXPECT_EQ(RegisteredFiles(fake.platform()).size(), 4u);
}

TEST_F(LifeCycleTest, ASilentInstallThatFailsHalfWayLeavesNothingBehind) {
  fake.files["c:\\windows\\life.scr"] = "old saver";
  fake.files.erase("life.nfo");  // the third line is missing
  const auto before = fake.files;
  EXPECT_EQ(SilentInstall(fake.platform()), 1);
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_TRUE(fake.registry.empty());
  EXPECT_EQ(fake.files.count("c:\\windows\\a.bmp"), 0u);    // created, taken back
  EXPECT_EQ(fake.files["c:\\windows\\life.scr"], "saver");  // replaced, stays
  EXPECT_EQ(fake.files.size(), before.size());

  fake.files["life.nfo"] = "nfo";
  fake.registryWriteFails = true;
  EXPECT_EQ(SilentInstall(fake.platform()), 1);
  EXPECT_TRUE(fake.registry.empty());
}

TEST_F(LifeCycleTest, UninstallRemovesOnlyLifesFilesItsScreenSaverAndRegistration) {
  fake.files["c:\\windows\\a.bmp"] = "user's own";
  fake.answers = {kAnswerNo};
  ASSERT_TRUE(InstallStep(fake.platform(), TestDialog()));
  fake.registry[kDesktop]["SCRNSAVE.EXE"] = "C:\\WINDOWS\\LIFE.SCR";
  fake.registry[kSettings]["delay"] = "50";
  fake.boxes.clear();
  fake.answers = {kAnswerYes};

  EXPECT_EQ(UninstallStep(fake.platform()), 0);
  EXPECT_EQ(fake.boxes.size(), 2u);  // the question, then "removed"
  for (const char* gone : {"life.scr", "life.nfo", "lifesetup.exe"})
    EXPECT_EQ(fake.files.count(std::string("c:\\windows\\") + gone), 0u) << gone;
  EXPECT_EQ(fake.files["c:\\windows\\a.bmp"], "user's own");
  EXPECT_EQ(fake.registry.count(kLife), 0u);
  EXPECT_EQ(Value(kDesktop, "SCRNSAVE.EXE"), "<none>");
  EXPECT_EQ(Value(kSettings, "delay"), "50");
}

TEST_F(LifeCycleTest, UninstallNamesFilesInUseAndRemovesTheRest) {
  ASSERT_EQ(SilentInstall(fake.platform()), 0);
  fake.registry[kDesktop]["SCRNSAVE.EXE"] = "c:\\other\\life.scr";
  fake.removeFails = {"c:\\windows\\life.scr"};
  fake.answers = {kAnswerYes};
  EXPECT_EQ(UninstallStep(fake.platform()), 1);
  ASSERT_EQ(fake.boxes.size(), 2u);
  EXPECT_NE(fake.boxes[1].text.find("\nc:\\windows\\life.scr\n"), std::string::npos);
  EXPECT_EQ(fake.files.count("c:\\windows\\a.bmp"), 0u);
  EXPECT_EQ(fake.registry.count(kLife), 0u);
  EXPECT_EQ(Value(kDesktop, "SCRNSAVE.EXE"), "c:\\other\\life.scr");
}

TEST_F(LifeCycleTest, UninstallOnNoTouchesNothingAndSilentlyAsksNothing) {
  ASSERT_EQ(SilentInstall(fake.platform()), 0);
  const auto files = fake.files;
  EXPECT_EQ(UninstallStep(fake.platform()), 2);  // the fake answers No
  EXPECT_EQ(fake.files, files);
  EXPECT_EQ(fake.registry.count(kLife), 1u);

  EXPECT_EQ(UninstallStep(Silenced(fake.platform())), 0);
  EXPECT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.registry.count(kLife), 0u);
  EXPECT_EQ(UninstallStep(Silenced(fake.platform())), 0);  // not installed: nothing to do
}

TEST(SetupCommandLineTest, SwitchesAndTheElevatedInstance) {
  struct Case {
    const char* commandLine;
    bool silent, uninstall, elevated;
  };
  const Case cases[] = {
      {"setup.exe", false, false, false},
      {"\"C:\\a b\\setup.exe\" /S", true, false, false},
      {"setup.exe  -s /UNINSTALL", true, true, false},
      {"\"c:\\x.exe\"/uninstall", false, true, false},
      {"setup.exe /Silent /uninstallX /elevatedX", false, false, false},
      {"setup.exe /elevated", false, false, true},
      {"x.exe /uninstall -Elevated", false, true, true},
      {"x.exe /finish-removal 42 \"c:\\my windows\\lifesetup.exe\"", false, false, false},
  };
  for (const Case& c : cases) {
    const SetupCommandLine parsed = ParseSetupCommandLine(ArgumentsOf(c.commandLine));
    EXPECT_EQ(parsed.silent, c.silent) << c.commandLine;
    EXPECT_EQ(parsed.uninstall, c.uninstall) << c.commandLine;
    EXPECT_EQ(parsed.elevated, c.elevated) << c.commandLine;
  }
}

}  // namespace
