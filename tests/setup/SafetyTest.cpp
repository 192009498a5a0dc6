// What setup does with administrator rights, against the fake platform:
// the file name rule, the elevated instance's share of the work, and what
// uninstall and a failed upgrade leave alone.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "FakeSetupPlatform.h"
#include "PlainFileName.h"
#include "Registration.h"
#include "ScratchFolder.h"
#include "SetupDialog.h"
#include "SetupSteps.h"
#include "WininitRename.h"

namespace {

using Strings = std::vector<std::string>;

const std::string kLife = RegistryPath(RegistryRoot::LocalMachine, kUninstallKey);
const std::string kDesktop = RegistryPath(RegistryRoot::CurrentUser, "Control Panel\\Desktop");

TEST(PlainFileNameTest, OnlyANameDirectlyInAFolderPasses) {
  for (const char* name :
       {"life.scr", "LifeTest Face.BMP", "a", ".hidden", "con1.txt", "COM0", "lpt10", "nul_file"})
    EXPECT_TRUE(IsPlainFileName(name)) << name;
  // Empty, a dot or blank at the end ("." and ".." too), a device whatever follows it.
  for (const char* name : {"", ".", "..", "dot.", "blank ", "CON", "con.txt", "Nul", "nul .txt",
                           "PRN.x.y", "aux", "COM1", "lpt9.bmp", "CONOUT$", "clock$"})
    EXPECT_FALSE(IsPlainFileName(name)) << name;
  for (const char c : std::string("\\/:*?\"<>|\t\x1f\x7f"))
    EXPECT_FALSE(IsPlainFileName((std::string("a") + c + "b").c_str())) << int{c};
  EXPECT_TRUE(IsPlainFileName(std::string(kMaxPlainNameLength, 'a').c_str()));
  EXPECT_FALSE(IsPlainFileName(std::string(kMaxPlainNameLength + 1, 'a').c_str()));
}

TEST(WininitRenameTest, TheDeleteLineGoesIntoTheOneRenameSection) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "[rename]\r\nNUL=C:\\X\r\n"},
      {"[other]\r\na=b", "[other]\r\na=b\r\n[rename]\r\nNUL=C:\\X\r\n"},
      {"[Rename]\r\nNUL=C:\\OLD\r\n[x]\r\n", "[Rename]\r\nNUL=C:\\X\r\nNUL=C:\\OLD\r\n[x]\r\n"},
      {"[rename]", "[rename]\r\nNUL=C:\\X\r\n"},
  };
  for (const auto& [before, after] : cases) EXPECT_EQ(WithDeleteAtRestart(before, "C:\\X"), after);
}

class SafetyTest : public testing::Test {
 protected:
  SafetyTest() {
    fake.files = {{"life.scr", "saver"}, {"a.bmp", "aa"}};
    WriteBytes(kCopyListPath, "life.scr\na.bmp\n");
  }
  // What a step that refuses must leave as it was.
  auto State() const { return std::make_pair(fake.files, fake.registry); }

  ScratchFolder folder;
  FakeSetup fake;
};

// Which steps run where when the Windows directory needs administrator
// rights: the copying, the questions and the registration in the elevated
// instance, the hand-over and the user's screen saver in the user's own.
// Without the rights (declined, or unattended) nothing changes.
TEST_F(SafetyTest, TheElevatedInstanceCopiesAndRegistersTheUserHandsOverAndForgets) {
  fake.elevationNeeded = true;
  fake.elevatedRun = ElevatedRun::Declined;
  EXPECT_FALSE(InstallStep(fake.platform(), TestDialog()));
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].text,
            "Setup needs administrator rights to copy Life into the Windows directory.\n"
            "Nothing was installed.\n");
  EXPECT_EQ(SilentInstall(fake.platform()), kElevationRequiredExitCode);
  EXPECT_TRUE(fake.copies.empty() && fake.selfCopies.empty() && fake.commandLines.empty() &&
              fake.registry.empty());

  fake.elevatedRun = ElevatedRun::Ended;
  fake.events.clear();
  fake.files["c:\\windows\\a.bmp"] = "user's own";
  fake.answers = {kAnswerNo};
  EXPECT_TRUE(SetupCommand(fake.platform(), TestDialog(), 1));
  EXPECT_EQ(fake.events, (Strings{"admin:copy", "admin:copy", "admin:box", "admin:copy-self",
                                  "start", "hide", "end"}));

  fake.registry[kDesktop]["SCRNSAVE.EXE"] = "c:\\windows\\life.scr";
  fake.registry[kDesktop]["Wallpaper"] = "c:\\me.bmp";
  const auto before = State();
  EXPECT_EQ(UninstallStep(Silenced(fake.platform()), {true, false}), kElevationRequiredExitCode);
  fake.elevatedRun = ElevatedRun::Declined;
  fake.answers = {kAnswerYes};
  EXPECT_EQ(UninstallStep(fake.platform()), 2);
  EXPECT_EQ(State(), before);

  fake.elevatedRun = ElevatedRun::Ended;
  fake.events.clear();
  fake.answers = {kAnswerYes};
  EXPECT_EQ(UninstallStep(fake.platform()), 0);
  EXPECT_EQ(fake.events,
            (Strings{"box", "admin:remove", "admin:remove", "admin:box", "unset-saver"}));
  EXPECT_EQ(fake.registry.count(kLife), 0u);
  EXPECT_EQ(fake.registry[kDesktop],
            (std::map<std::string, std::string>{{"Wallpaper", "c:\\me.bmp"}}));
  // The silent runs asked for no elevation.
  EXPECT_EQ(fake.elevatedArguments,
            (Strings{"/elevated", "/elevated", "/uninstall /elevated", "/uninstall /elevated"}));
}

TEST_F(SafetyTest, UninstallActsOnlyOnOurReadableRecordAndOnlyInTheWindowsDirectory) {
  ASSERT_EQ(SilentInstall(fake.platform()), 0);
  const auto key = fake.registry[kLife];
  // Not ours, or a record that cannot be read: nothing removed, key kept.
  const std::pair<const char*, const char*> spoiled[] = {{kInstalledFilesValue, nullptr},
                                                         {kInstalledFilesValue, ""},
                                                         {kInstalledFilesValue, "|||"},
                                                         {"Publisher", "Someone Else"},
                                                         {"DisplayName", "Lifeboat 2"}};
  for (const auto& [name, value] : spoiled) {
    fake.registry[kLife] = key;
    if (value == nullptr) fake.registry[kLife].erase(name);
    if (value != nullptr) fake.registry[kLife][name] = value;
    const auto before = State();
    fake.boxes.clear();
    EXPECT_EQ(UninstallStep(fake.platform()), 3) << name;
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_NE(fake.boxes[0].text.find("Nothing was removed."), std::string::npos);
    EXPECT_EQ(State(), before);
  }
  // Entries that are not <Windows directory>\<plain name> stay and are named.
  const Strings planted = {"C:\\planted.txt",      "c:\\windows\\sub\\x.txt",   "relative.txt",
                           "\\\\server\\share\\x", "c:\\windows\\..\\boot.ini", "c:\\windows\\nul"};
  for (const std::string& path : planted) fake.files[path] = "theirs";
  fake.registry[kLife] = key;
  fake.registry[kLife][kInstalledFilesValue] += "|" + JoinPaths(planted);
  fake.answers = {kAnswerYes};
  EXPECT_EQ(UninstallStep(fake.platform()), 1);
  for (const std::string& path : planted) {
    EXPECT_EQ(fake.files[path], "theirs");
    EXPECT_NE(fake.boxes.back().text.find("\n" + path), std::string::npos) << path;
  }
  EXPECT_EQ(fake.files.count("c:\\windows\\life.scr"), 0u);
  EXPECT_EQ(fake.registry.count(kLife), 0u);

  // An install over someone else's "Life" entry takes over none of its record.
  fake.registry[kLife] = {{"DisplayName", "Life"},
                          {"Publisher", "Someone Else"},
                          {kInstalledFilesValue, "c:\\windows\\theirs.dll"}};
  ASSERT_EQ(SilentInstall(fake.platform()), 0);
  EXPECT_EQ(fake.registry[kLife][kInstalledFilesValue].find("theirs"), std::string::npos);
}

TEST_F(SafetyTest, AFailedRegistrationKeepsAnEarlierOneAsItWas) {
  ASSERT_EQ(SilentInstall(fake.platform()), 0);
  fake.registry[kLife]["DisplayVersion"] = "0.9";
  fake.registry[kLife]["EstimatedSize"] = "77";
  fake.registry[kLife].erase("NoRepair");
  const auto before = fake.registry;
  for (int k = 0; k < 11; ++k) {  // each of the registration's writes failing in turn
    fake.registryWritesLeft = k;
    EXPECT_EQ(SilentInstall(fake.platform()), 1) << k;
    EXPECT_EQ(fake.registry, before) << k;
  }
}

}  // namespace
