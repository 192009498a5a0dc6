// Every platform call of the install flow failing in turn: the k-th call
// fails for each k up to the number a clean install makes. Each failure
// must end the install with the one "Setup Error" message that names it,
// leave the dialog shown (not hidden as after a success) and start no
// installer after it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeSetupPlatform.h"
#include "ScratchFolder.h"
#include "Registration.h"
#include "SetupDialog.h"
#include "SetupResources.h"
#include "SetupSteps.h"

namespace {

// Passes each call on to the fake platform, except the failing one.
int callsMade = 0;
int failingCall = 0;  // 0: none
const SetupPlatform* fakePlatform = nullptr;

bool Fails() { return ++callsMade == failingCall; }

bool PlatformId(unsigned long* id) { return !Fails() && fakePlatform->platformId(id); }
unsigned WindowsDirectory(char* buffer, unsigned size) {
  return Fails() ? 0 : fakePlatform->windowsDirectory(buffer, size);
}
CopyOutcome CopyFile(const char* source, const char* destination, bool failIfExists) {
  if (Fails()) return {CopyResult::Failed, kAccessDenied};
  return fakePlatform->copyFile(source, destination, failIfExists);
}
unsigned SystemDirectory(char* buffer, unsigned size) {
  return Fails() ? 0 : fakePlatform->systemDirectory(buffer, size);
}
bool WriteString(RegistryRoot root, const char* key, const char* name, const char* value) {
  return !Fails() && fakePlatform->writeString(root, key, name, value);
}
bool WriteNumber(RegistryRoot root, const char* key, const char* name, unsigned long value) {
  return !Fails() && fakePlatform->writeNumber(root, key, name, value);
}
bool StartProcess(const char* application, char* commandLine) {
  return !Fails() && fakePlatform->startProcess(application, commandLine);
}

// The message a failure of each kind of call gives, up to its details.
const char* ExpectedStart(const std::string& call) {
  if (call == "version") return "Failed to get OS version!\n";
  if (call == "directory") return "Cant find Windows directory path!\n";
  if (call == "system") return "Cant find the system directory!\n";
  if (call == "register") return "Can`t register Life";
  if (call == "copy") return "Can`t copy ";
  if (call == "overwrite") return "Can`t overwrite ";
  return "Can`t start rundll32.exe desk.cpl,InstallScreenSaver c:\\windows\\life.scr!";
}

TEST(InjectedFailureTest, EachFailingPlatformCallEndsTheInstallWithItsMessage) {
  ScratchFolder folder;
  WriteBytes(kCopyListPath, "life.scr\nfaces\\lifeface.bmp\r\nlife.nfo");
  // The calls of a clean install, in order; life.nfo is already there and
  // the user lets it be overwritten.
  // Then setup copies itself as the uninstaller and registers the install
  // with eleven values.
  std::vector<std::string> calls = {"version", "directory", "system",    "copy",
                                    "copy",    "copy",      "overwrite", "copy"};
  calls.insert(calls.end(), 11, "register");
  calls.push_back("start");
  for (failingCall = 1; failingCall <= static_cast<int>(calls.size()) + 1; ++failingCall) {
    SCOPED_TRACE("failing call " + std::to_string(failingCall));
    FakeSetup fake;
    fake.files = {{"life.scr", "saver"},
                  {"faces\\lifeface.bmp", "faces"},
                  {"life.nfo", "new"},
                  {"c:\\windows\\life.nfo", "old"}};
    fake.answers = {kAnswerYes};
    fakePlatform = &fake.platform();
    SetupPlatform platform = fake.platform();
    platform.platformId = PlatformId;
    platform.windowsDirectory = WindowsDirectory;
    platform.copyFile = CopyFile;
    platform.startProcess = StartProcess;
    platform.systemDirectory = SystemDirectory;
    platform.writeString = WriteString;
    platform.writeNumber = WriteNumber;
    callsMade = 0;

    EXPECT_TRUE(SetupCommand(platform, TestDialog(), SETUP_INSTALL_BUTTON));
    ASSERT_FALSE(fake.events.empty());
    EXPECT_EQ(fake.events.back(), "end");
    if (failingCall > static_cast<int>(calls.size())) {  // no call failed
      EXPECT_EQ(callsMade, static_cast<int>(calls.size()));
      EXPECT_EQ(fake.events[fake.events.size() - 2], "hide");
      EXPECT_EQ(fake.files["c:\\windows\\life.nfo"], "new");
      continue;
    }
    const std::string& call = calls[static_cast<size_t>(failingCall - 1)];
    EXPECT_EQ(callsMade, failingCall) << "no platform call after the failing " << call;
    ASSERT_FALSE(fake.boxes.empty());
    const MessageBoxCall& last = fake.boxes.back();
    EXPECT_EQ(last.caption, "Setup Error");
    EXPECT_EQ(last.text.rfind(ExpectedStart(call), 0), 0u) << last.text;
    for (const std::string& event : fake.events) EXPECT_NE(event, "hide");
    // Only a failing hand-over comes after the registration is complete.
    EXPECT_EQ(fake.registry.count(RegistryPath(RegistryRoot::LocalMachine, kUninstallKey)),
              call == "start" ? 1u : 0u);
  }
}

}  // namespace
