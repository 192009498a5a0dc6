#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeSetupPlatform.h"
#include "ScratchFolder.h"
#include "SetupSteps.h"

namespace {

using Strings = std::vector<std::string>;

class InstallStepTest : public testing::Test {
 protected:
  bool Install(const std::string& copyList) {
    WriteBytes(kCopyListPath, copyList);
    return InstallStep(fake.platform(), TestDialog());
  }
  // The one message box shown, as "caption: text".
  std::string OnlyBox() const {
    if (fake.boxes.size() != 1) return "boxes: " + std::to_string(fake.boxes.size());
    return fake.boxes[0].caption + ": " + fake.boxes[0].text;
  }

  ScratchFolder folder;
  FakeSetup fake;
};

TEST_F(InstallStepTest, CopiesIntoTheLowerCasedWindowsDirectoryAndHandsOver) {
  fake.files = {
      {"disk1\\faces\\LifeFace.BMP", "face"}, {"life.scr", "saver"}, {"C:\\Src\\Life.NFO", "nfo"}};
  EXPECT_TRUE(Install("disk1\\faces\\LifeFace.BMP\nlife.scr\r\nC:\\Src\\Life.NFO"));
  EXPECT_EQ(fake.copies, (Strings{"disk1\\faces\\LifeFace.BMP > c:\\windows\\LifeFace.BMP",
                                  "life.scr > c:\\windows\\life.scr",
                                  "C:\\Src\\Life.NFO > c:\\windows\\Life.NFO"}));
  EXPECT_EQ(fake.commandLines,
            Strings{"rundll32.exe desk.cpl,InstallScreenSaver c:\\windows\\life.scr"});
  EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(InstallStepTest, OnlyTheLettersAToZAreLowerCased) {
  fake.windowsDirectory = "D:\\@AWIN\xC4Z[_9";
  EXPECT_TRUE(Install(""));
  EXPECT_EQ(fake.commandLines,
            Strings{"rundll32.exe desk.cpl,InstallScreenSaver d:\\@awin\xC4z[_9\\life.scr"});
}

TEST_F(InstallStepTest, TheBackslashIsAppendedAlsoAtARoot) {
  fake.windowsDirectory = "C:\\";
  EXPECT_TRUE(Install(""));
  EXPECT_EQ(fake.commandLines, Strings{"rundll32.exe desk.cpl,InstallScreenSaver c:\\\\life.scr"});
}

TEST_F(InstallStepTest, EmptyLinesAreSkippedAndTheLastLineNeedsNoLineEnd) {
  fake.files = {{"a.bmp", "a"}, {"b.bmp", "b"}, {"c.bmp", "c"}};
  EXPECT_TRUE(Install("\na.bmp\n\r\n\nb.bmp\r\n\nc.bmp"));
  EXPECT_EQ(fake.copies, (Strings{"a.bmp > c:\\windows\\a.bmp", "b.bmp > c:\\windows\\b.bmp",
                                  "c.bmp > c:\\windows\\c.bmp"}));
}

TEST_F(InstallStepTest, LinesAreUsedExactlyAsWritten) {
  fake.files = {{" spaced name.bmp", "s"}, {"#not a comment", "h"}, {"a\rb", "r"}};
  EXPECT_TRUE(Install(" spaced name.bmp\n#not a comment\n"));
  EXPECT_EQ(fake.copies, (Strings{" spaced name.bmp > c:\\windows\\ spaced name.bmp",
                                  "#not a comment > c:\\windows\\#not a comment"}));
  // A carriage return not followed by a line feed is part of the line, and
  // a name with a control character is no file name to copy to.
  EXPECT_FALSE(Install("a\rb\n"));
  EXPECT_EQ(OnlyBox(), "Setup Error: Can`t copy a\rb: its name is not a plain file name!\n");
}

TEST_F(InstallStepTest, AnEmptyListOrOneWithoutTheSaverStillHandsOver) {
  EXPECT_TRUE(Install(""));
  fake.files["other.bmp"] = "o";
  EXPECT_TRUE(Install("other.bmp\n"));
  EXPECT_EQ(fake.commandLines.size(), 2u);
}

TEST_F(InstallStepTest, AMissingSourceStopsTheWalkWithoutHandOver) {
  fake.files = {{"a.bmp", "a"}, {"c.bmp", "c"}};
  EXPECT_FALSE(Install("a.bmp\nfaces\\b.bmp\nc.bmp\n"));
  EXPECT_EQ(OnlyBox(), "Setup Error: No faces\\b.bmp present!");
  EXPECT_EQ(fake.boxes[0].flags, 0x1030u);
  EXPECT_EQ(fake.boxes[0].owner, TestDialog());
  EXPECT_EQ(fake.files.count("c:\\windows\\a.bmp"), 1u);
  EXPECT_EQ(fake.files.count("c:\\windows\\c.bmp"), 0u);
  EXPECT_EQ(fake.copies.size(), 2u);
  EXPECT_TRUE(fake.commandLines.empty());
}

TEST_F(InstallStepTest, TheWalkGoesOnAfterEitherAnswerToTheOverwriteQuestion) {
  fake.files = {{"a.bmp", "new a"},
                {"b.bmp", "new b"},
                {"c.bmp", "new c"},
                {"c:\\windows\\a.bmp", "old a"},
                {"c:\\windows\\b.bmp", "old b"}};
  fake.answers = {kAnswerNo, kAnswerYes};
  EXPECT_TRUE(Install("a.bmp\nb.bmp\nc.bmp\n"));
  ASSERT_EQ(fake.boxes.size(), 2u);
  EXPECT_EQ(fake.boxes[0].text, "The file c:\\windows\\a.bmp already exists. Overwrite this file?");
  EXPECT_EQ(fake.boxes[1].text, "The file c:\\windows\\b.bmp already exists. Overwrite this file?");
  EXPECT_EQ(fake.files["c:\\windows\\a.bmp"], "old a");
  EXPECT_EQ(fake.files["c:\\windows\\b.bmp"], "new b");
  EXPECT_EQ(fake.files["c:\\windows\\c.bmp"], "new c");
  EXPECT_EQ(fake.commandLines.size(), 1u);
}

TEST_F(InstallStepTest, AFailedOverwriteEndsTheInstall) {
  fake.files = {{"a.bmp", "new"}, {"b.bmp", "b"}, {"c:\\windows\\a.bmp", "old"}};
  fake.overwriteFails.insert("c:\\windows\\a.bmp");
  fake.answers = {kAnswerYes};
  EXPECT_FALSE(Install("a.bmp\nb.bmp\n"));
  ASSERT_EQ(fake.boxes.size(), 2u);
  EXPECT_EQ(fake.boxes[1].caption, "Setup Error");
  EXPECT_EQ(fake.boxes[1].text, "Can`t overwrite a.bmp to c:\\windows\\a.bmp!\nError 5.");
  EXPECT_EQ(fake.files.count("c:\\windows\\b.bmp"), 0u);
  EXPECT_TRUE(fake.commandLines.empty());
}

TEST_F(InstallStepTest, AMissingCopyListCopiesNothing) {
  EXPECT_FALSE(InstallStep(fake.platform(), TestDialog()));
  EXPECT_EQ(OnlyBox(), "Setup Error: Can`t find copy list!");
  EXPECT_TRUE(fake.copies.empty());
  EXPECT_TRUE(fake.commandLines.empty());
}

TEST_F(InstallStepTest, AFailedWindowsDirectoryQueryCopiesNothing) {
  fake.windowsDirectoryResult = 0;
  fake.files["a.bmp"] = "a";
  EXPECT_FALSE(Install("a.bmp\n"));
  EXPECT_EQ(OnlyBox(), "Setup Error: Cant find Windows directory path!\n");
  EXPECT_TRUE(fake.copies.empty());
}

TEST_F(InstallStepTest, AWindowsDirectoryTooLongForTheHandOverCopiesNothing) {
  // 209 characters leave room for "\life.scr" in the 259-character
  // command line; 210 do not.
  fake.windowsDirectory = "C:\\" + std::string(206, 'w');
  EXPECT_TRUE(Install(""));
  ASSERT_EQ(fake.commandLines.size(), 1u);
  EXPECT_EQ(fake.commandLines[0].size(), 259u);

  fake.windowsDirectory += "w";
  fake.files["a.bmp"] = "a";
  EXPECT_FALSE(Install("a.bmp\n"));
  EXPECT_EQ(OnlyBox(), "Setup Error: The Windows directory path is too long!\n");
  EXPECT_TRUE(fake.copies.empty());

  fake.boxes.clear();
  fake.windowsDirectory = std::string(400, 'w');  // does not fit its buffer at all
  EXPECT_FALSE(Install("a.bmp\n"));
  EXPECT_EQ(OnlyBox(), "Setup Error: The Windows directory path is too long!\n");
  EXPECT_TRUE(fake.copies.empty());
}

TEST_F(InstallStepTest, ALineOf259CharactersIsOneLineWhateverItsEnd) {
  const std::string name(248, 'n');  // "c:\windows\" and the name fill 259
  const std::string line = std::string(10, 'd') + "\\" + name;
  ASSERT_EQ(line.size(), 259u);
  fake.files[line] = "whole";
  EXPECT_TRUE(Install(line + "\r\n" + line + "\n" + line));
  const std::string copy = line + " > c:\\windows\\" + name;
  EXPECT_EQ(fake.copies, (Strings{copy, copy, copy}));  // the last two are asked about
  EXPECT_EQ(fake.boxes.size(), 2u);
}

TEST_F(InstallStepTest, ALineOf260CharactersIsRefusedWithoutCopyingAPieceOfIt) {
  const std::string tooLong(260, 'x');
  fake.files = {{"a.bmp", "a"}, {tooLong.substr(0, 259), "piece"}, {"x", "piece"}};
  EXPECT_FALSE(Install("a.bmp\n" + tooLong + "\nb.bmp\n"));
  EXPECT_EQ(OnlyBox(),
            "Setup Error: A line of the copy list is too long:\n" + tooLong.substr(0, 259) + "...");
  EXPECT_EQ(fake.copies, Strings{"a.bmp > c:\\windows\\a.bmp"});
  EXPECT_TRUE(fake.commandLines.empty());
}

TEST_F(InstallStepTest, AHandOverThatCannotStartIsReported) {
  fake.startFails = true;
  EXPECT_FALSE(Install(""));
  EXPECT_EQ(OnlyBox(),
            "Setup Error: Can`t start rundll32.exe desk.cpl,InstallScreenSaver "
            "c:\\windows\\life.scr!\nTo finish, right-click c:\\windows\\life.scr and "
            "choose Install.\n");
}

}  // namespace
