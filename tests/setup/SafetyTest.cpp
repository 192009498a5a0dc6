// What setup does with administrator rights, against the fake platform:
// the file name rule, the elevated instance's share of the work, and what
// uninstall and a failed upgrade leave alone.
#include <gtest/gtest.h>

#include <string>
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
  const struct {
    const char* name;
    bool plain;
  } cases[] = {
      {"life.scr", true}, {"LifeTest Face.BMP", true}, {"a", true}, {".hidden", true},
      {"con1.txt", true}, {"COM0", true}, {"lpt10", true}, {"nul_file", true},
      {"", false}, {".", false}, {"..", false}, {"x/../../evil.txt", false},
      {"a\\b", false}, {"c:evil", false}, {"life.scr:stream", false}, {"a|b", false},
      {"a*", false}, {"a?", false}, {"\"a\"", false}, {"a<b>", false}, {"tab\tname", false},
      {"del\x7f", false}, {"dot.", false}, {"blank ", false}, {"CON", false},
      {"con.txt", false}, {"Nul", false}, {"nul .txt", false}, {"PRN.x.y", false},
      {"aux", false}, {"COM1", false}, {"lpt9.bmp", false}, {"CONOUT$", false},
      {"clock$", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsPlainFileName(c.name), c.plain) << c.name;
  EXPECT_TRUE(IsPlainFileName(std::string(kMaxPlainNameLength, 'a').c_str()));
  EXPECT_FALSE(IsPlainFileName(std::string(kMaxPlainNameLength + 1, 'a').c_str()));
}

TEST(WininitRenameTest, TheDeleteLineGoesIntoTheOneRenameSection) {
  const struct {
    const char* before;
    const char* after;
  } cases[] = {
      {"", "[rename]\r\nNUL=C:\\X\r\n"},
      {"[other]\r\na=b", "[other]\r\na=b\r\n[rename]\r\nNUL=C:\\X\r\n"},
      {"[Rename]\r\nNUL=C:\\OLD\r\n[x]\r\n", "[Rename]\r\nNUL=C:\\X\r\nNUL=C:\\OLD\r\n[x]\r\n"},
      {"[rename]", "[rename]\r\nNUL=C:\\X\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(WithDeleteAtRestart(c.before, "C:\\X"), c.after);
}

class SafetyTest : public testing::Test {
 protected:
  SafetyTest() {
    fake.files = {{"life.scr", "saver"}, {"a.bmp", "aa"}};
    WriteBytes(kCopyListPath, "life.scr\na.bmp\n");
  }
  void Installed() {
    ASSERT_EQ(SilentInstall(fake.platform()), 0);
    fake.events.clear();
    fake.boxes.clear();
    fake.registryWrites.clear();
  }

  ScratchFolder folder;
  FakeSetup fake;
};

TEST_F(SafetyTest, ANameThatIsNotPlainIsACopyThatFailedAndNothingIsRegistered) {
  for (const char* line : {"x/../../evil.txt", "life.scr:stream", "disk\\NUL", "a.bmp."}) {
    fake.files[line] = "bad";
    WriteBytes(kCopyListPath, std::string("life.scr\n") + line + "\n");
    EXPECT_EQ(SilentInstall(fake.platform()), 1) << line;
    EXPECT_FALSE(InstallStep(fake.platform(), TestDialog())) << line;
    EXPECT_EQ(fake.boxes.back().text,
              std::string("Can`t copy ") + line + ": its name is not a plain file name!\n");
    EXPECT_EQ(fake.registry.count(kLife), 0u);
  }
  for (const std::string& copy : fake.copies)
    EXPECT_EQ(copy.rfind("life.scr > c:\\windows\\life.scr", 0), 0u) << copy;
}

// Which steps run where when the Windows directory needs administrator
// rights: the copying, the questions and the registration in the elevated
// instance, the hand-over and the user's screen saver in the user's own.
TEST_F(SafetyTest, TheElevatedInstanceCopiesAndRegistersTheUserHandsOverAndForgets) {
  fake.elevationNeeded = true;
  fake.files["c:\\windows\\a.bmp"] = "user's own";
  fake.answers = {kAnswerNo};
  EXPECT_TRUE(SetupCommand(fake.platform(), TestDialog(), 1));
  EXPECT_EQ(fake.elevatedArguments, Strings{"/elevated"});
  EXPECT_EQ(fake.events, (Strings{"admin:copy", "admin:copy", "admin:box", "admin:copy-self",
                                  "start", "hide", "end"}));
  for (const std::string& write : fake.registryWrites) EXPECT_EQ(write, "admin:" + kLife);
  EXPECT_EQ(fake.files["c:\\windows\\a.bmp"], "user's own");

  fake.events.clear();
  fake.registry[kDesktop]["SCRNSAVE.EXE"] = "c:\\windows\\life.scr";
  fake.registry[kDesktop]["Wallpaper"] = "c:\\me.bmp";
  fake.answers = {kAnswerYes};
  EXPECT_EQ(UninstallStep(fake.platform()), 0);
  EXPECT_EQ(fake.elevatedArguments, (Strings{"/elevated", "/uninstall /elevated"}));
  EXPECT_EQ(fake.events, (Strings{"box", "admin:remove", "admin:remove", "admin:box",
                                  "unset-saver"}));
  EXPECT_EQ(fake.registry.count(kLife), 0u);
  EXPECT_EQ(fake.registry[kDesktop], (std::map<std::string, std::string>{{"Wallpaper",
                                                                          "c:\\me.bmp"}}));
}

TEST_F(SafetyTest, ADeclinedPromptOrSilenceWithoutRightsChangesNothing) {
  fake.elevationNeeded = true;
  fake.elevatedRun = ElevatedRun::Declined;
  EXPECT_FALSE(InstallStep(fake.platform(), TestDialog()));
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].text,
            "Setup needs administrator rights to copy Life into the Windows directory.\n"
            "Nothing was installed.\n");
  EXPECT_EQ(SilentInstall(fake.platform()), kElevationRequiredExitCode);
  EXPECT_TRUE(fake.copies.empty() && fake.selfCopies.empty() && fake.commandLines.empty());
  EXPECT_TRUE(fake.registry.empty());

  fake.elevationNeeded = false;
  Installed();
  fake.elevationNeeded = true;
  const auto files = fake.files;
  const auto registry = fake.registry;
  EXPECT_EQ(UninstallStep(Silenced(fake.platform()), {true, false}), kElevationRequiredExitCode);
  fake.elevatedRun = ElevatedRun::Declined;
  fake.answers = {kAnswerYes};
  EXPECT_EQ(UninstallStep(fake.platform()), 2);
  EXPECT_EQ(fake.files, files);
  EXPECT_EQ(fake.registry, registry);
  EXPECT_EQ(fake.elevatedArguments.size(), 2u);  // none for the silent runs
}

TEST_F(SafetyTest, UninstallActsOnlyOnOurReadableRecordAndOnlyInTheWindowsDirectory) {
  Installed();
  const auto files = fake.files;
  const std::string record = fake.registry[kLife][kInstalledFilesValue];
  // Not ours, or a record that cannot be read: nothing removed, key kept.
  const struct {
    const char* name;
    const char* value;
  } spoiled[] = {{kInstalledFilesValue, nullptr}, {kInstalledFilesValue, ""},
                 {kInstalledFilesValue, "|||"}, {"Publisher", "Someone Else"},
                 {"DisplayName", "Lifeboat 2"}};
  for (const auto& s : spoiled) {
    const std::string saved = fake.registry[kLife][s.name];
    if (s.value == nullptr)
      fake.registry[kLife].erase(s.name);
    else
      fake.registry[kLife][s.name] = s.value;
    fake.boxes.clear();
    fake.answers = {kAnswerYes};
    EXPECT_EQ(UninstallStep(fake.platform()), 3) << s.name;
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_NE(fake.boxes[0].text.find("Nothing was removed."), std::string::npos);
    EXPECT_EQ(fake.files, files);
    EXPECT_EQ(fake.registry.count(kLife), 1u);
    fake.registry[kLife][s.name] = saved;
  }
  // Entries that are not <Windows directory>\<plain name> stay and are named.
  const Strings planted = {"C:\\planted.txt", "c:\\windows\\sub\\x.txt", "relative.txt",
                           "\\\\server\\share\\x", "c:\\windows\\..\\boot.ini",
                           "c:\\windows\\nul"};
  for (const std::string& path : planted) fake.files[path] = "theirs";
  fake.registry[kLife][kInstalledFilesValue] = record + "|" + JoinPaths(planted);
  fake.answers = {kAnswerYes};
  EXPECT_EQ(UninstallStep(fake.platform()), 1);
  for (const std::string& path : planted) {
    EXPECT_EQ(fake.files[path], "theirs");
    EXPECT_NE(fake.boxes.back().text.find("\n" + path), std::string::npos) << path;
  }
  EXPECT_EQ(fake.files.count("c:\\windows\\life.scr"), 0u);
  EXPECT_EQ(fake.registry.count(kLife), 0u);

  // An install over someone else's "Life" entry takes over none of its record.
  fake.registry[kLife] = {{"DisplayName", "Life"}, {"Publisher", "Someone Else"},
                          {kInstalledFilesValue, "c:\\windows\\theirs.dll"}};
  ASSERT_EQ(SilentInstall(fake.platform()), 0);
  EXPECT_EQ(fake.registry[kLife][kInstalledFilesValue].find("theirs"), std::string::npos);
}

// The fake's registry writes, the writesLeft-th failing.
int writesLeft = 0;
const SetupPlatform* fakeTable = nullptr;
bool FailingWrite(RegistryRoot root, const char* key, const char* name, const char* value) {
  return --writesLeft != 0 && fakeTable->writeString(root, key, name, value);
}
bool FailingNumber(RegistryRoot root, const char* key, const char* name, unsigned long value) {
  return --writesLeft != 0 && fakeTable->writeNumber(root, key, name, value);
}

TEST_F(SafetyTest, AFailedRegistrationKeepsAnEarlierOneAsItWasAndDropsOnlyItsOwnKey) {
  Installed();
  fake.registry[kLife]["DisplayVersion"] = "0.9";
  fake.registry[kLife]["EstimatedSize"] = "77";
  fake.registry[kLife].erase("NoRepair");
  const auto before = fake.registry;
  // The k-th registry write fails, for every k.
  for (int k = 1; k <= 11; ++k) {
    SetupPlatform failing = fake.platform();
    fakeTable = &fake.platform();
    writesLeft = k;
    failing.writeString = FailingWrite;
    failing.writeNumber = FailingNumber;
    EXPECT_EQ(SilentInstall(failing), 1) << k;
    EXPECT_EQ(fake.registry, before) << k;
  }
  fake.registry.clear();
  fake.registryWriteFails = true;
  EXPECT_EQ(SilentInstall(fake.platform()), 1);
  EXPECT_EQ(fake.registry.count(kLife), 0u);
}

}  // namespace
