#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "FakeSetupPlatform.h"
#include "ScratchFolder.h"
#include "SetupDialog.h"
#include "SetupSteps.h"

namespace {

class IntroStepTest : public testing::Test {
 protected:
  // Runs the intro step on `bytes` as the intro file; returns the text
  // shown, as the dialog would show it (up to the first NUL).
  std::string Shown(const std::string& bytes) {
    WriteBytes(kIntroPath, bytes);
    char buffer[kIntroSize + 1];
    std::memset(buffer, 'z', sizeof buffer);
    EXPECT_TRUE(IntroStep(fake.platform(), TestDialog(), kIntroPath, buffer, kIntroSize));
    EXPECT_EQ(buffer[kIntroSize], '\0');
    return buffer;
  }

  ScratchFolder folder;
  FakeSetup fake;
};

TEST_F(IntroStepTest, ShowsTheFileBytesWithCrLfUnchanged) {
  EXPECT_EQ(Shown("Welcome to Life.\r\n\r\nPress Install.\r\n"),
            "Welcome to Life.\r\n\r\nPress Install.\r\n");
  EXPECT_EQ(Shown(""), "");
  EXPECT_TRUE(fake.introTexts.empty());  // the step itself shows nothing
}

TEST_F(IntroStepTest, ShowsTheFirst1024BytesOfALongerFile) {
  std::string bytes;
  for (int i = 0; i < 2000; ++i) bytes += static_cast<char>('a' + i % 26);
  EXPECT_EQ(Shown(bytes), bytes.substr(0, 1024));
}

TEST_F(IntroStepTest, ShowsAFileOfExactly1024BytesWhole) {
  const std::string bytes(1023, 'q');
  EXPECT_EQ(Shown(bytes + "!"), bytes + "!");
}

TEST_F(IntroStepTest, ANulByteEndsTheText) {
  EXPECT_EQ(Shown(std::string("Hello\0world", 11)), "Hello");
}

TEST_F(IntroStepTest, AShorterFileLeavesNoTraceOfAnEarlierOne) {
  Shown(std::string(1024, 'L'));
  EXPECT_EQ(Shown("short"), "short");
}

TEST_F(IntroStepTest, AMissingFileShowsItsNameInThePlaceOfTheIntro) {
  char buffer[kIntroSize + 1] = {};
  EXPECT_FALSE(IntroStep(fake.platform(), TestDialog(), kIntroPath, buffer, kIntroSize));
  ASSERT_EQ(fake.introTexts.size(), 1u);
  EXPECT_EQ(fake.introTexts[0], "Cant find file, .\\_intro!\n");
  EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(IntroStepTest, TheDialogShowsTheIntroAndStaysOpen) {
  WriteBytes(kIntroPath, "Hi\r\nthere");
  InitSetupDialog(fake.platform(), TestDialog());
  EXPECT_EQ(fake.introTexts, std::vector<std::string>{"Hi\r\nthere"});
  EXPECT_EQ(fake.events, std::vector<std::string>{"intro"});
}

TEST_F(IntroStepTest, WithoutTheFileTheDialogStaysOpenWithTheMessage) {
  InitSetupDialog(fake.platform(), TestDialog());
  EXPECT_EQ(fake.introTexts, std::vector<std::string>{"Cant find file, .\\_intro!\n"});
  EXPECT_EQ(fake.events, std::vector<std::string>{"intro"});  // no "end"
}

}  // namespace
