#include "CommandLine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Arguments(const char* commandLine) { return ArgumentText(commandLine, NextByte); }

// A code page in which 0x81 leads a two-byte character, as in the East
// Asian code pages: a trail byte may look like a double quote.
const char* NextDoubleByteChar(const char* text) {
  if (*text == '\0') return text;
  if (static_cast<unsigned char>(*text) == 0x81 && text[1] != '\0') return text + 2;
  return text + 1;
}

TEST(ArgumentText, SkipsUnquotedProgramNameAndBlanks) {
  EXPECT_EQ(Arguments("life.scr /s"), "/s");
  EXPECT_EQ(Arguments("C:\\WINDOWS\\LIFE.SCR   /p 1234"), "/p 1234");
  EXPECT_EQ(Arguments("life.scr\t/s"), "/s");
  EXPECT_EQ(Arguments("life.scr/s"), "");  // the name runs to the first blank
  EXPECT_EQ(Arguments("life.scr"), "");
  EXPECT_EQ(Arguments(""), "");
}

TEST(ArgumentText, SkipsQuotedProgramNameWithBlanksInside) {
  EXPECT_EQ(Arguments("\"C:\\Program Files\\life.scr\" /c:1234"), "/c:1234");
  // The arguments may follow the closing quote directly.
  EXPECT_EQ(Arguments("\"life.scr\"/s"), "/s");
}

TEST(ArgumentText, QuotedNameWithoutClosingQuoteLeavesNothing) {
  EXPECT_EQ(Arguments("\"C:\\life.scr /s"), "");
}

TEST(ArgumentText, CommandLineStartingWithBlankHasNoProgramName) {
  EXPECT_EQ(Arguments("  /s"), "/s");
  EXPECT_EQ(Arguments("\t\x01/s"), "/s");
}

TEST(ArgumentText, BytesAbove127BelongToTheProgramName) {
  EXPECT_EQ(Arguments("\xE9t\xE9.scr /s"), "/s");
}

TEST(ArgumentText, QuotedWalkStepsOverDoubleByteCharactersWhole) {
  // 0x81 0x22 is one character; the quote byte inside it ends nothing.
  const char line[] = "\"\x81\x22name.scr\" /s";
  EXPECT_EQ(std::string(ArgumentText(line, NextDoubleByteChar)), "/s");
  // Stepping byte by byte, the same text ends the name early.
  EXPECT_EQ(std::string(ArgumentText(line, NextByte)), "name.scr\" /s");
}

RunMode ModeOf(const char* arguments) { return ChooseMode(arguments).mode; }

TEST(ChooseMode, NoLetterOpensConfigurationWithoutOwner) {
  EXPECT_EQ(ModeOf(""), RunMode::kConfigure);
  EXPECT_EQ(ModeOf("  - / //--"), RunMode::kConfigure);
}

TEST(ChooseMode, FullScreenInEveryWriting) {
  for (const char* text : {"/s", "/S", "-s", "s", "//s", " - /s"})
    EXPECT_EQ(ModeOf(text), RunMode::kFullScreen) << text;
}

TEST(ChooseMode, ConfigurationOwnedByForegroundIgnoresWhatFollows) {
  EXPECT_EQ(ModeOf("/c:1234"), RunMode::kConfigureOwned);
  EXPECT_EQ(ModeOf("C"), RunMode::kConfigureOwned);
}

TEST(ChooseMode, PreviewHandleFollowsSpacesAfterTheLetter) {
  for (const char* text : {"/p 1234", "/p1234", "/P   1234", "/l 1234", "/L1234"}) {
    const ModeChoice choice = ChooseMode(text);
    EXPECT_EQ(choice.mode, RunMode::kPreview) << text;
    EXPECT_STREQ(choice.rest, "1234") << text;
  }
  EXPECT_EQ(ParseDecimal(ChooseMode("/p:1234").rest), 0u);
  EXPECT_EQ(ParseDecimal(ChooseMode("/p 12x").rest), 12u);
  EXPECT_EQ(ParseDecimal(ChooseMode("/p").rest), 0u);
  // Only spaces are skipped after the letter, not tabs.
  EXPECT_EQ(ParseDecimal(ChooseMode("/p\t1234").rest), 0u);
}

TEST(ChooseMode, PasswordChangeWithAndWithoutOwner) {
  const ModeChoice withOwner = ChooseMode("/a 1234");
  EXPECT_EQ(withOwner.mode, RunMode::kChangePassword);
  EXPECT_EQ(ParseDecimal(withOwner.rest), 1234u);
  const ModeChoice withoutOwner = ChooseMode("/A");
  EXPECT_EQ(withoutOwner.mode, RunMode::kChangePassword);
  EXPECT_EQ(ParseDecimal(withoutOwner.rest), 0u);
}

TEST(ChooseMode, OnlyTheFirstLetterCounts) {
  EXPECT_EQ(ModeOf("/s /p 1234"), RunMode::kFullScreen);
  EXPECT_EQ(ModeOf("/x /s"), RunMode::kUnknown);
}

TEST(ChooseMode, UnknownBytesNameNoMode) {
  for (const char* text : {"/x", "/?", "/1", "\t/s", "/\ts", "\xE9"})
    EXPECT_EQ(ModeOf(text), RunMode::kUnknown) << text;
}

TEST(ParseDecimal, ReadsLeadingDigitsOnly) {
  EXPECT_EQ(ParseDecimal("0"), 0u);
  EXPECT_EQ(ParseDecimal("1234"), 1234u);
  EXPECT_EQ(ParseDecimal("0042abc"), 42u);
  EXPECT_EQ(ParseDecimal(""), 0u);
  EXPECT_EQ(ParseDecimal(" 12"), 0u);
  EXPECT_EQ(ParseDecimal("-12"), 0u);
  EXPECT_EQ(ParseDecimal("0x1F"), 0u);
}

TEST(ParseDecimal, WrapsModulo2To32) {
  EXPECT_EQ(ParseDecimal("4294967295"), 4294967295u);
  EXPECT_EQ(ParseDecimal("4294967296"), 0u);
  EXPECT_EQ(ParseDecimal("4294967301"), 5u);
  EXPECT_EQ(ParseDecimal("99999999999999999999"), 1661992959u);
}

}  // namespace
