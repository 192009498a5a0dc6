// The configuration dialog's decisions that need no window.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "MemoryRegistry.h"
#include "OptionsLogic.h"
#include "RegistryProbe.h"
#include "Settings.h"

namespace {

// Each limit applies only above its bound: values in the middle of the
// range, just inside and at the bound stay; just outside and far beyond
// become the bound.
TEST(OptionsLimits, NumbersAreLimitedFromAboveOnly) {
  struct Case {
    const char* name;
    uint32_t (*limit)(uint32_t typed);
    uint32_t typed;
    uint32_t saved;
  };
  const Case kCases[] = {{"delay", LimitDelay, 0, 0},
                         {"delay", LimitDelay, 500, 500},
                         {"delay", LimitDelay, 999, 999},
                         {"delay", LimitDelay, 1000, 1000},
                         {"delay", LimitDelay, 1001, 1000},
                         {"delay", LimitDelay, 5000, 1000},
                         {"delay", LimitDelay, 0xFFFFFFFF, 1000},
                         {"seed", LimitSeed, 5000, 5000},
                         {"seed", LimitSeed, 9998, 9998},
                         {"seed", LimitSeed, 9999, 9999},
                         {"seed", LimitSeed, 10000, 9999},
                         {"seed", LimitSeed, 12000, 9999},
                         {"initpop", LimitInitpop, 0, 0},
                         {"initpop", LimitInitpop, 5000, 5000},
                         {"initpop", LimitInitpop, 9998, 9998},
                         {"initpop", LimitInitpop, 9999, 9999},
                         {"initpop", LimitInitpop, 10000, 9999}};
  for (const Case& c : kCases) EXPECT_EQ(c.limit(c.typed), c.saved) << c.name << " " << c.typed;
}

TEST(OptionsLimits, ValuesOutsideTheUpDownRangesAreRecognised) {
  EXPECT_TRUE(OutsideRange(0, kInitpopRange));
  EXPECT_FALSE(OutsideRange(1, kInitpopRange));
  EXPECT_FALSE(OutsideRange(9999, kInitpopRange));
  EXPECT_TRUE(OutsideRange(1001, kDelayRange));
  EXPECT_FALSE(OutsideRange(0, kDelayRange));
  EXPECT_TRUE(OutsideRange(0xFFFFFFFF, kSeedRange));
}

TEST(OptionsDefaults, ReplaceTheNumbersAndFlagsButNotFontOrFace) {
  SaverSettings settings = kLoadTimeSettings;
  std::strcpy(settings.font, "Courier");
  settings.face.numFrames = 7;
  ApplyDialogDefaults(settings);
  EXPECT_EQ(settings.delay, 100u);
  EXPECT_EQ(settings.bMiniDisplay, 0u);
  EXPECT_EQ(settings.bActivityBar, 0u);
  EXPECT_EQ(settings.bFrameScreen, 0u);
  EXPECT_EQ(settings.seed, 0u);
  EXPECT_EQ(settings.initpop, 0u);
  EXPECT_EQ(settings.displayColor, 0x0000FF00u);
  EXPECT_STREQ(settings.font, "Courier");
  EXPECT_EQ(settings.face.numFrames, 7u);
}

const FaceInfo kCatalogue[] = {{"lifeface.bmp", 16, 16, 25, 6, 5, 12},
                               {"Tiny.bmp", 8, 8, 10, 2, 2, 7},
                               {"tiny.BMP", 9, 9, 9, 9, 9, 9},
                               {"\xC9t\xC9.bmp", 4, 4, 4, 4, 4, 4}};

TEST(FaceSelection, FirstEntryEqualIgnoringTheCaseOfAToZ) {
  EXPECT_EQ(FaceSelectionIndex(kCatalogue, 4, "LIFEFACE.BMP"), 0u);
  EXPECT_EQ(FaceSelectionIndex(kCatalogue, 4, "tiny.bmp"), 1u);
  EXPECT_EQ(FaceSelectionIndex(kCatalogue, 4, "\xC9t\xC9.bmp"), 3u);
  // Letters beyond A to Z are compared as they are.
  EXPECT_EQ(FaceSelectionIndex(kCatalogue, 4, "\xE9t\xE9.bmp"), 4u);
  // Both ends of the alphabet, and their neighbours, which are no letters.
  EXPECT_TRUE(SameNameIgnoringCase("AZaz", "azAZ"));
  EXPECT_FALSE(SameNameIgnoringCase("@[", "`{"));
  EXPECT_FALSE(SameNameIgnoringCase("`{", "@["));
}

TEST(FaceSelection, NoMatchGivesTheCountWhichSelectsNothing) {
  EXPECT_EQ(FaceSelectionIndex(kCatalogue, 4, "other.bmp"), 4u);
  EXPECT_EQ(FaceSelectionIndex(kCatalogue, 4, ""), 4u);
  EXPECT_EQ(FaceSelectionIndex(kCatalogue, 4, nullptr), 4u);
  EXPECT_EQ(FaceSelectionIndex(kCatalogue, 4, "lifeface.bmpx"), 4u);
  EXPECT_EQ(FaceSelectionIndex(kCatalogue, 0, "lifeface.bmp"), 0u);
}

TEST(AboutText, FourCentredLinesWithTheVersion) {
  const std::string text = FormatAboutText(kEngineVersionMajor, kEngineVersionMinor);
  EXPECT_EQ(text,
            "          The Game of Life          \r\n"
            "  Implementation, programming and   \r\n"
            "associated artwork by Tamsin Orrell.\r\n"
            "         Life Engine v1.2         \r\n");
  std::istringstream lines(text);
  const size_t widths[] = {36, 36, 36, 34};
  for (size_t width : widths) {
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line.size(), width + 1);  // with its CR
    EXPECT_EQ(line.back(), '\r');
  }
}

// OK with the in-memory registry.
class SaveOptionsTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetMemoryRegistry();
    StartRecording(MemoryRegistrySeam());
    ApplyDialogDefaults(settings_);
  }
  void TearDown() override {
    StopRecording();
    ResetMemoryRegistry();
  }
  // Loads the settings over the dialog defaults, as the dialog does on
  // opening; a new key is created.
  void Open() { settings_ = LoadSettings(settings_); }
  static uint32_t Dword(const char* name) {
    uint32_t value = 0xDEADBEEF;
    EXPECT_TRUE(StoredDword(name, &value)) << name;
    return value;
  }
  static std::string Text(const char* name) {
    std::string text = "<missing>";
    EXPECT_TRUE(StoredString(name, &text)) << name;
    return text;
  }

  SaverSettings settings_ = kLoadTimeSettings;  // the dialog's own copy
  OptionsInput input_{true, false, true, 5000, 12000, 0, 1};
};

TEST_F(SaveOptionsTest, TakesLimitedInputAndTheChosenFaceAndWritesAllValues) {
  Open();
  const size_t writesAtOpening = RecordedWrites().size();
  SaveOptions(settings_, input_, kCatalogue, 4);

  ASSERT_EQ(RecordedWrites().size(), writesAtOpening + 15);
  EXPECT_EQ(RecordedWrites()[writesAtOpening].name, "delay");
  EXPECT_EQ(RecordedWrites().back().name, "loadImage");
  EXPECT_EQ(Dword("bActivityBar"), 1u);
  EXPECT_EQ(Dword("bMiniDisplay"), 0u);
  EXPECT_EQ(Dword("bFrameScreen"), 1u);
  EXPECT_EQ(Dword("delay"), 1000u);
  EXPECT_EQ(Dword("seed"), 9999u);
  EXPECT_EQ(Dword("initpop"), 0u);
  EXPECT_EQ(Dword("displayColor"), 0x0000FF00u);
  EXPECT_EQ(Text("font"), "MS Sans Serif");
  EXPECT_EQ(Text("loadImage"), "Tiny.bmp");
  EXPECT_EQ(Dword("frameWidth"), 8u);
  EXPECT_EQ(Dword("frameHeight"), 8u);
  EXPECT_EQ(Dword("numFrames"), 10u);
  EXPECT_EQ(Dword("numRows"), 2u);
  EXPECT_EQ(Dword("bornEnd"), 2u);
  EXPECT_EQ(Dword("dieStart"), 7u);
  // The record holds its own copy of the name, not the catalogue's.
  EXPECT_NE(settings_.face.loadImage, kCatalogue[1].loadImage);
  EXPECT_STREQ(settings_.face.loadImage, "Tiny.bmp");
}

// Each number is limited by its own bound, only above it.
TEST_F(SaveOptionsTest, EachNumberIsLimitedOnlyAboveItsOwnBound) {
  Open();
  const struct {
    uint32_t typed[3];  // delay, seed, initpop
    uint32_t saved[3];
  } kCases[] = {{{500, 5000, 5000}, {500, 5000, 5000}}, {{1001, 10000, 10000}, {1000, 9999, 9999}}};
  for (const auto& c : kCases) {
    input_.delay = c.typed[0];
    input_.seed = c.typed[1];
    input_.initpop = c.typed[2];
    SaveOptions(settings_, input_, kCatalogue, 4);
    EXPECT_EQ(Dword("delay"), c.saved[0]);
    EXPECT_EQ(Dword("seed"), c.saved[1]);
    EXPECT_EQ(Dword("initpop"), c.saved[2]);
  }
}

TEST_F(SaveOptionsTest, NoSelectionStoresTheFirstEntry) {
  Open();
  input_.selectedIndex = -1;
  SaveOptions(settings_, input_, kCatalogue, 4);
  EXPECT_EQ(Text("loadImage"), "lifeface.bmp");
  EXPECT_EQ(Dword("numFrames"), 25u);
}

TEST_F(SaveOptionsTest, EmptyCatalogueKeepsTheFaceSet) {
  StoreString("loadImage", "mine.bmp");
  StoreDword("numFrames", 33);
  Open();
  SaveOptions(settings_, input_, kCatalogue, 0);
  EXPECT_EQ(Text("loadImage"), "mine.bmp");
  EXPECT_EQ(Dword("numFrames"), 33u);
  EXPECT_EQ(Dword("delay"), 1000u);
}

TEST_F(SaveOptionsTest, MissingKeyIsNeverCreatedAndNothingIsWritten) {
  SaveOptions(settings_, input_, kCatalogue, 4);
  EXPECT_TRUE(RecordedWrites().empty());
  EXPECT_FALSE(SettingsKeyExists());
  // The dialog's copy took the input and the chosen face all the same; it
  // goes when the dialog closes.
  EXPECT_EQ(settings_.delay, 1000u);
  EXPECT_STREQ(settings_.face.loadImage, "Tiny.bmp");
}

TEST_F(SaveOptionsTest, OverlongCatalogueNameNeverOverrunsTheSettingsBuffer) {
  Open();
  const std::string longName(400, 'w');
  const FaceInfo table[] = {{longName.c_str(), 1, 2, 3, 4, 5, 6}};
  input_.selectedIndex = 0;
  SaveOptions(settings_, input_, table, 1);
  EXPECT_EQ(Text("loadImage"), "lifeface.bmp");  // refused whole, face unchanged
  EXPECT_EQ(Dword("frameWidth"), 16u);

  const std::string longest(kFaceNameSize - 1, 'v');
  const FaceInfo fits[] = {{longest.c_str(), 1, 2, 3, 4, 5, 6}};
  SaveOptions(settings_, input_, fits, 1);
  EXPECT_EQ(Text("loadImage"), longest);
  EXPECT_EQ(Dword("frameWidth"), 1u);
}

}  // namespace
