#include <gtest/gtest.h>

#include <string>

#include "FakeSetupPlatform.h"
#include "SetupMessage.h"
#include "SetupSteps.h"

namespace {

constexpr char kWindows[] = "c:\\windows\\";

class FileCopyStepTest : public testing::Test {
 protected:
  // Runs the step; returns the message it raised, or "" when none.
  std::string Copy(const std::string& source, const char* windowsDirectory = kWindows) {
    try {
      FileCopyStep(fake.platform(), TestDialog(), windowsDirectory, source.c_str());
    } catch (const SetupMessage& message) {
      return message.text();
    }
    return "";
  }

  FakeSetup fake;
};

TEST(FileNameOfTest, OnlyTheLastBackslashSeparates) {
  EXPECT_STREQ(FileNameOf("disk1\\faces\\LifeFace.BMP"), "LifeFace.BMP");
  EXPECT_STREQ(FileNameOf("life.nfo"), "life.nfo");
  EXPECT_STREQ(FileNameOf("a:life.scr"), "a:life.scr");
  EXPECT_STREQ(FileNameOf("faces/big.bmp"), "faces/big.bmp");
  EXPECT_STREQ(FileNameOf("C:\\x/y\\z w.bmp"), "z w.bmp");
}

TEST_F(FileCopyStepTest, CopiesUnderTheFileNameAsListed) {
  fake.files["disk1\\faces\\LifeFace.BMP"] = "face";
  fake.files["life.nfo"] = "nfo";
  EXPECT_EQ(Copy("disk1\\faces\\LifeFace.BMP"), "");
  EXPECT_EQ(Copy("life.nfo"), "");
  EXPECT_EQ(fake.files["c:\\windows\\LifeFace.BMP"], "face");
  EXPECT_EQ(fake.files["c:\\windows\\life.nfo"], "nfo");
  EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(FileCopyStepTest, AnExistingFileIsLeftAloneOnNo) {
  fake.files["new\\life.scr"] = "new";
  fake.files["c:\\windows\\life.scr"] = "old";
  fake.answers = {kAnswerNo};
  EXPECT_EQ(Copy("new\\life.scr"), "");
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].text,
            "The file c:\\windows\\life.scr already exists. Overwrite this file?");
  EXPECT_EQ(fake.boxes[0].caption, "Overwrite?");
  EXPECT_EQ(fake.boxes[0].flags, 0x1024u);
  EXPECT_EQ(fake.boxes[0].owner, TestDialog());
  EXPECT_EQ(fake.files["c:\\windows\\life.scr"], "old");
  EXPECT_EQ(fake.copies.size(), 1u);
}

TEST_F(FileCopyStepTest, AnExistingFileIsReplacedOnYes) {
  fake.files["new\\life.scr"] = "new";
  fake.files["c:\\windows\\life.scr"] = "old";
  fake.answers = {kAnswerYes};
  EXPECT_EQ(Copy("new\\life.scr"), "");
  EXPECT_EQ(fake.files["c:\\windows\\life.scr"], "new");
  EXPECT_EQ(fake.copies.back(), "new\\life.scr > c:\\windows\\life.scr overwrite");
}

TEST_F(FileCopyStepTest, AMissingSourceIsRaisedWithTheSourceAsListed) {
  EXPECT_EQ(Copy("disk1\\Gone.bmp"), "No disk1\\Gone.bmp present!");
  EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(FileCopyStepTest, AnOverwriteThatFailsAfterYesIsReported) {
  fake.files["life.scr"] = "new";
  fake.files["c:\\windows\\life.scr"] = "old";
  fake.overwriteFails.insert("c:\\windows\\life.scr");
  fake.answers = {kAnswerYes};
  EXPECT_EQ(Copy("life.scr"), "Can`t overwrite life.scr to c:\\windows\\life.scr!\nError 5.");
  EXPECT_EQ(fake.files["c:\\windows\\life.scr"], "old");
}

TEST_F(FileCopyStepTest, OtherCopyFailuresAreErrorsNotTheOverwriteQuestion) {
  fake.files["life.scr"] = "new";
  fake.firstCopyFails.insert("c:\\windows\\life.scr");
  EXPECT_EQ(Copy("life.scr"), "Can`t copy life.scr to c:\\windows\\life.scr!\nError 5.");
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_EQ(fake.copies.size(), 1u);
}

TEST_F(FileCopyStepTest, ADestinationTooLongForItsBufferIsRefusedUncopied) {
  const std::string name(259 - 11, 'n');  // "c:\windows\" is 11 characters
  fake.files[name] = "fits";
  EXPECT_EQ(Copy(name), "");
  EXPECT_EQ(fake.files["c:\\windows\\" + name], "fits");

  const std::string longer = name + "x";
  fake.files[longer] = "too long";
  EXPECT_EQ(Copy(longer), "The path c:\\windows\\" + longer + " is too long!\n");
  EXPECT_EQ(fake.copies.size(), 1u);
}

}  // namespace
