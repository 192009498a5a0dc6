#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeSetupPlatform.h"
#include "ScratchFolder.h"
#include "SetupDialog.h"
#include "SetupSteps.h"

namespace {

using Strings = std::vector<std::string>;

constexpr unsigned kInstall = 1;
constexpr unsigned kCancel = 2;

class SetupDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(kCopyListPath, "life.scr\n");
    fake.files["life.scr"] = "saver";
  }

  ScratchFolder folder;
  FakeSetup fake;
};

TEST_F(SetupDialogTest, ASuccessfulInstallHidesTheDialogThenEndsIt) {
  EXPECT_TRUE(SetupCommand(fake.platform(), TestDialog(), kInstall));
  EXPECT_EQ(fake.events, (Strings{"copy", "copy-self", "start", "hide", "end"}));
}

TEST_F(SetupDialogTest, AFailedInstallEndsTheDialogWithoutHidingIt) {
  fake.files.clear();
  EXPECT_TRUE(SetupCommand(fake.platform(), TestDialog(), kInstall));
  EXPECT_EQ(fake.events, (Strings{"copy", "box", "end"}));
}

TEST_F(SetupDialogTest, AnUnsupportedPlatformEndsTheDialogBeforeAnyCopy) {
  fake.platformId = 0;
  EXPECT_TRUE(SetupCommand(fake.platform(), TestDialog(), kInstall));
  EXPECT_EQ(fake.events, (Strings{"box", "end"}));
  EXPECT_EQ(fake.boxes[0].text, "Life can`t run on this Windows!\n");
}

TEST_F(SetupDialogTest, CancelEndsTheDialogAndTouchesNothing) {
  EXPECT_TRUE(SetupCommand(fake.platform(), TestDialog(), kCancel));
  EXPECT_EQ(fake.events, Strings{"end"});
}

TEST_F(SetupDialogTest, OtherCommandsAreNotHandled) {
  for (unsigned command : {0u, 3u, 1000u, 0xFFFFu}) {
    EXPECT_FALSE(SetupCommand(fake.platform(), TestDialog(), command));
  }
  EXPECT_TRUE(fake.events.empty());
}

}  // namespace
