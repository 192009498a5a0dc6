// The settings store against the in-memory registry and, on Windows, the
// real one: the same cases through either seam.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "MemoryRegistry.h"
#include "OptionsLogic.h"
#include "RegistryProbe.h"
#include "Settings.h"

#ifdef _WIN32
#include "WinTestSupport.h"
#endif

namespace {

struct Backend {
  const char* name;
  const RegistrySeam& (*seam)();
  void (*clear)();
};

void ClearMemory() { ResetMemoryRegistry(); }

#ifdef _WIN32
void ClearReal() { wintest::DeleteTree("Software\\Vantreel"); }
#endif

class SettingsTest : public testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    GetParam().clear();
    StartRecording(GetParam().seam());
  }
  void TearDown() override {
    StopRecording();
    GetParam().clear();
  }

  // Makes an existing key with nothing in it but an unrelated value.
  static void MakeEmptyKey() { StoreDword("unrelated", 7); }

  // The defaults the configuration dialog loads its settings over.
  static SaverSettings DialogDefaults() {
    SaverSettings defaults = kLoadTimeSettings;
    ApplyDialogDefaults(defaults);
    return defaults;
  }

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
  // Field by field: the padding between the fields is not part of the record.
  static void ExpectLoadTimeSettings(const SaverSettings& settings) {
    const SaverSettings& expected = kLoadTimeSettings;
    EXPECT_EQ(settings.delay, expected.delay);
    EXPECT_EQ(settings.initpop, expected.initpop);
    EXPECT_EQ(settings.bMiniDisplay, expected.bMiniDisplay);
    EXPECT_EQ(settings.bActivityBar, expected.bActivityBar);
    EXPECT_EQ(settings.bFrameScreen, expected.bFrameScreen);
    EXPECT_EQ(0, std::memcmp(settings.face.loadImage, expected.face.loadImage, kFaceNameSize));
    EXPECT_EQ(settings.face.frameWidth, expected.face.frameWidth);
    EXPECT_EQ(settings.face.frameHeight, expected.face.frameHeight);
    EXPECT_EQ(settings.face.numFrames, expected.face.numFrames);
    EXPECT_EQ(settings.face.numRows, expected.face.numRows);
    EXPECT_EQ(settings.face.bornEnd, expected.face.bornEnd);
    EXPECT_EQ(settings.face.dieStart, expected.face.dieStart);
    EXPECT_EQ(settings.displayColor, expected.displayColor);
    EXPECT_EQ(0, std::memcmp(settings.font, expected.font, kFontSize));
    EXPECT_EQ(settings.seed, expected.seed);
  }
};

const char* const kValueOrder[] = {"delay",     "bMiniDisplay", "bActivityBar", "bFrameScreen",
                                   "seed",      "initpop",      "displayColor", "font",
                                   "numFrames", "numRows",      "frameWidth",   "frameHeight",
                                   "bornEnd",   "dieStart",     "loadImage"};

TEST_P(SettingsTest, NewKeyIsFilledFromLoadTimeDefaultsInOrder) {
  const SaverSettings settings = LoadSettings();

  const auto& writes = RecordedWrites();
  ASSERT_EQ(writes.size(), 15u);
  for (size_t i = 0; i < writes.size(); ++i) {
    EXPECT_EQ(writes[i].name, kValueOrder[i]);
    const bool text = writes[i].name == "font" || writes[i].name == "loadImage";
    EXPECT_EQ(writes[i].type, text ? kRegSz : kRegDword) << writes[i].name;
  }
  EXPECT_EQ(writes[7].size, sizeof "MS Sans Serif");
  EXPECT_EQ(writes[14].size, sizeof "lifeface.bmp");
  EXPECT_EQ(writes[0].size, 4u);

  EXPECT_EQ(Dword("delay"), 150u);
  EXPECT_EQ(Dword("bMiniDisplay"), 0xFFFFFFFFu);
  EXPECT_EQ(Dword("bActivityBar"), 0xFFFFFFFFu);
  EXPECT_EQ(Dword("bFrameScreen"), 0xFFFFFFFFu);
  EXPECT_EQ(Dword("seed"), 0u);
  EXPECT_EQ(Dword("initpop"), 150u);
  EXPECT_EQ(Dword("displayColor"), 0x00C0C0C0u);
  EXPECT_EQ(Text("font"), "MS Sans Serif");
  EXPECT_EQ(Dword("numFrames"), 25u);
  EXPECT_EQ(Dword("numRows"), 6u);
  EXPECT_EQ(Dword("frameWidth"), 16u);
  EXPECT_EQ(Dword("frameHeight"), 16u);
  EXPECT_EQ(Dword("bornEnd"), 5u);
  EXPECT_EQ(Dword("dieStart"), 12u);
  EXPECT_EQ(Text("loadImage"), "lifeface.bmp");
  ExpectLoadTimeSettings(settings);
}

TEST_P(SettingsTest, NewKeyReceivesTheDefaultsTheCallerPutInPlace) {
  LoadSettings(DialogDefaults());

  EXPECT_EQ(RecordedWrites().size(), 15u);
  EXPECT_EQ(Dword("delay"), 100u);
  EXPECT_EQ(Dword("bMiniDisplay"), 0u);
  EXPECT_EQ(Dword("bActivityBar"), 0u);
  EXPECT_EQ(Dword("bFrameScreen"), 0u);
  EXPECT_EQ(Dword("seed"), 0u);
  EXPECT_EQ(Dword("initpop"), 0u);
  EXPECT_EQ(Dword("displayColor"), 0x0000FF00u);
  EXPECT_EQ(Text("font"), "MS Sans Serif");
  EXPECT_EQ(Dword("numFrames"), 25u);
  EXPECT_EQ(Text("loadImage"), "lifeface.bmp");
}

TEST_P(SettingsTest, ExistingKeyIsReadWholeWithoutWritingToIt) {
  StoreDword("delay", 40);
  StoreDword("bMiniDisplay", 0);
  StoreDword("bActivityBar", 1);
  StoreDword("bFrameScreen", 0xFFFFFFFF);
  StoreDword("seed", 1234);
  StoreDword("initpop", 321);
  StoreDword("displayColor", 0x00123456);
  StoreString("font", "Courier New");
  StoreDword("numFrames", 20);
  StoreDword("numRows", 4);
  StoreDword("frameWidth", 32);
  StoreDword("frameHeight", 24);
  StoreDword("bornEnd", 3);
  StoreDword("dieStart", 15);
  StoreString("loadImage", "Robots.BMP");
  const size_t writesBefore = RecordedWrites().size();

  const SaverSettings saverSettings = LoadSettings();

  EXPECT_EQ(RecordedWrites().size(), writesBefore);
  EXPECT_EQ(saverSettings.delay, 40u);
  EXPECT_EQ(saverSettings.bMiniDisplay, 0u);
  EXPECT_NE(saverSettings.bActivityBar, 0u);  // 1 and all bits set both mean on
  EXPECT_NE(saverSettings.bFrameScreen, 0u);
  EXPECT_EQ(saverSettings.seed, 1234u);
  EXPECT_EQ(saverSettings.initpop, 321u);
  EXPECT_EQ(saverSettings.displayColor, 0x00123456u);
  EXPECT_STREQ(saverSettings.font, "Courier New");
  EXPECT_EQ(saverSettings.face.numFrames, 20u);
  EXPECT_EQ(saverSettings.face.numRows, 4u);
  EXPECT_EQ(saverSettings.face.frameWidth, 32u);
  EXPECT_EQ(saverSettings.face.frameHeight, 24u);
  EXPECT_EQ(saverSettings.face.bornEnd, 3u);
  EXPECT_EQ(saverSettings.face.dieStart, 15u);
  EXPECT_STREQ(saverSettings.face.loadImage, "Robots.BMP");
}

// Each display flag stored as 0 loads as off over the saver's all-bits-set
// default, and only that flag: the others, stored as 1, stay on.
TEST_P(SettingsTest, DisplayFlagStoredAsZeroLoadsAsOff) {
  const char* const kFlags[] = {"bMiniDisplay", "bActivityBar", "bFrameScreen"};
  for (const char* off : kFlags) {
    for (const char* flag : kFlags) StoreDword(flag, flag == off ? 0 : 1);
    const SaverSettings settings = LoadSettings();
    const uint32_t loaded[] = {settings.bMiniDisplay, settings.bActivityBar, settings.bFrameScreen};
    for (size_t i = 0; i < 3; ++i)
      EXPECT_EQ(loaded[i], kFlags[i] == off ? 0u : 1u) << kFlags[i] << " with " << off << " 0";
  }
}

// Span Monitors is written only once it has been on, so that the key of a
// user who never turned it on keeps its fifteen values; once stored, it is
// read back and turned off like any flag.
TEST_P(SettingsTest, SpanMonitorsIsStoredOnlyOnceTurnedOn) {
  SaverSettings settings = LoadSettings();
  EXPECT_EQ(settings.bSpanMonitors, 0u);
  ASSERT_TRUE(SaveSettings(settings));
  uint32_t stored = 0;
  EXPECT_FALSE(StoredDword("bSpanMonitors", &stored));
  for (const uint32_t flag : {1u, 0u}) {
    settings.bSpanMonitors = flag;
    ASSERT_TRUE(SaveSettings(settings));
    EXPECT_EQ(Dword("bSpanMonitors"), flag);
    EXPECT_EQ(LoadSettings().bSpanMonitors, flag);
  }
}

TEST_P(SettingsTest, MissingValuesKeepTheLoadingSidesDefaultsAndEmptyTheTexts) {
  MakeEmptyKey();
  SaverSettings saverSettings = LoadSettings();
  EXPECT_EQ(saverSettings.delay, 150u);
  EXPECT_EQ(saverSettings.bMiniDisplay, 0xFFFFFFFFu);
  EXPECT_EQ(saverSettings.displayColor, 0x00C0C0C0u);
  EXPECT_EQ(saverSettings.face.numFrames, 25u);
  EXPECT_STREQ(saverSettings.font, "");
  ASSERT_NE(saverSettings.face.loadImage, nullptr);
  EXPECT_STREQ(saverSettings.face.loadImage, "");

  saverSettings = LoadSettings(DialogDefaults());
  EXPECT_EQ(saverSettings.delay, 100u);
  EXPECT_EQ(saverSettings.displayColor, 0x0000FF00u);
  EXPECT_TRUE(RecordedWrites().empty());
}

TEST_P(SettingsTest, ValueNamesIgnoreCaseAsTheRegistrysDo) {
  StoreDword("DELAY", 321);
  StoreDword("InitPop", 42);
  const SaverSettings saverSettings = LoadSettings();
  EXPECT_EQ(saverSettings.delay, 321u);
  EXPECT_EQ(saverSettings.initpop, 42u);
}

TEST_P(SettingsTest, FontOf49CharactersIsReadWholeAnd50LeaveItEmpty) {
  const std::string longest(49, 'f');
  StoreString("font", longest);
  SaverSettings saverSettings = LoadSettings();
  EXPECT_EQ(std::string(saverSettings.font), longest);

  StoreString("font", longest + "g");
  saverSettings = LoadSettings();
  EXPECT_STREQ(saverSettings.font, "");
}

TEST_P(SettingsTest, LoadImageOf254CharactersIsReadWholeAnd255LeaveItEmpty) {
  const std::string longest(250, 'n');
  StoreString("loadImage", longest + ".bmp");
  SaverSettings saverSettings = LoadSettings();
  EXPECT_EQ(std::string(saverSettings.face.loadImage), longest + ".bmp");

  StoreString("loadImage", longest + "x.bmp");
  saverSettings = LoadSettings();
  EXPECT_STREQ(saverSettings.face.loadImage, "");
}

TEST_P(SettingsTest, TextStoredWithoutItsZeroByteIsTerminatedInsideTheBuffer) {
  StoreRaw("font", kRegSz, "Arial", 5);
  StoreRaw("loadImage", kRegSz, "faces.bmp", 9);
  SaverSettings saverSettings = LoadSettings();
  EXPECT_STREQ(saverSettings.font, "Arial");
  EXPECT_STREQ(saverSettings.face.loadImage, "faces.bmp");

  // 49 characters without a zero byte still fit; 50 do not.
  const std::string fits(49, 'a');
  StoreRaw("font", kRegSz, fits.data(), 49);
  saverSettings = LoadSettings();
  EXPECT_EQ(std::string(saverSettings.font), fits);
  const std::string full(50, 'b');
  StoreRaw("font", kRegSz, full.data(), 50);
  saverSettings = LoadSettings();
  EXPECT_STREQ(saverSettings.font, "");
}

TEST_P(SettingsTest, ValuesOfAnotherTypeOrSizeLeaveTheirFieldsUnchanged) {
  const uint8_t twoBytes[2] = {0x01, 0x02};
  const uint8_t eightBytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  const uint8_t fourBytes[4] = {9, 9, 9, 9};
  StoreRaw("delay", kRegBinary, twoBytes, sizeof twoBytes);
  StoreRaw("seed", kRegQword, eightBytes, sizeof eightBytes);
  StoreRaw("initpop", kRegSz, "5000", 5);
  StoreRaw("displayColor", kRegBinary, fourBytes, sizeof fourBytes);
  StoreRaw("numFrames", kRegDword, twoBytes, sizeof twoBytes);
  StoreDword("font", 0x41414141);  // a number where a text belongs
  StoreRaw("loadImage", kRegBinary, "x.bmp", 6);
  const SaverSettings saverSettings = LoadSettings();

  EXPECT_EQ(saverSettings.delay, 150u);
  EXPECT_EQ(saverSettings.seed, 0u);
  EXPECT_EQ(saverSettings.initpop, 150u);
  EXPECT_EQ(saverSettings.displayColor, 0x00C0C0C0u);
  EXPECT_EQ(saverSettings.face.numFrames, 25u);
  EXPECT_STREQ(saverSettings.font, "");
  EXPECT_STREQ(saverSettings.face.loadImage, "");
}

TEST_P(SettingsTest, KeyThatCannotBeOpenedChangesNothing) {
  RefuseKeys(true);
  const SaverSettings settings = LoadSettings();
  EXPECT_FALSE(SaveSettings(settings));
  RefuseKeys(false);
  EXPECT_TRUE(RecordedWrites().empty());
  EXPECT_FALSE(SettingsKeyExists());
  ExpectLoadTimeSettings(settings);
}

TEST_P(SettingsTest, TextThatIsNotThereIsNotWritten) {
  MakeEmptyKey();
  RegistryKey key = nullptr;
  ASSERT_TRUE(Registry().openKey(kSettingsSubkey, &key));
  WriteStringValue(key, "loadImage", nullptr);
  WriteDwordValue(key, "dieStart", 12);
  Registry().closeKey(key);
  std::string name;
  EXPECT_FALSE(StoredString("loadImage", &name));
  EXPECT_EQ(Dword("dieStart"), 12u);
}

std::string BackendName(const testing::TestParamInfo<Backend>& backend) {
  return backend.param.name;
}

INSTANTIATE_TEST_SUITE_P(Memory, SettingsTest,
                         testing::Values(Backend{"memory", MemoryRegistrySeam, ClearMemory}),
                         BackendName);
#ifdef _WIN32
INSTANTIATE_TEST_SUITE_P(Real, SettingsTest,
                         testing::Values(Backend{"registry", PlatformRegistry, ClearReal}),
                         BackendName);
#endif

TEST(SettingsKey, IsCreatedWithItsClass) {
  ResetMemoryRegistry();
  SetRegistrySeam(&MemoryRegistrySeam());
  LoadSettings();
  SetRegistrySeam(nullptr);
  EXPECT_EQ(MemoryKeyClass(kSettingsSubkey), "Screen Saver");
  ResetMemoryRegistry();
}

TEST(SetFaceName, CopiesIntoTheSettingsOwnBufferWithinItsSize) {
  SaverSettings saverSettings = kLoadTimeSettings;
  char source[300];
  std::memset(source, 'q', sizeof source);
  source[254] = '\0';
  ASSERT_TRUE(SetFaceName(saverSettings.face, source));
  source[0] = 'z';  // the settings keep their own copy
  EXPECT_EQ(std::string(saverSettings.face.loadImage), std::string(254, 'q'));

  source[254] = 'q';
  source[299] = '\0';
  EXPECT_FALSE(SetFaceName(saverSettings.face, source));
  EXPECT_EQ(std::string(saverSettings.face.loadImage), std::string(254, 'q'));
  EXPECT_FALSE(SetFaceName(saverSettings.face, nullptr));

  // Its own buffer again, whole or from within.
  ASSERT_TRUE(SetFaceName(saverSettings.face, saverSettings.face.loadImage));
  EXPECT_EQ(std::string(saverSettings.face.loadImage), std::string(254, 'q'));
  ASSERT_TRUE(SetFaceName(saverSettings.face, saverSettings.face.loadImage + 4));
  EXPECT_EQ(std::string(saverSettings.face.loadImage), std::string(250, 'q'));
}

}  // namespace
