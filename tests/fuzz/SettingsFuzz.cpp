// libFuzzer target: the settings reader on an arbitrary settings key. The
// input decides, for each of the fifteen values, whether it is stored and
// with which type and bytes; or that the key does not exist yet. Checks
// what the saver relies on: a 32-bit field takes a stored value only when
// it is a REG_DWORD of four bytes and otherwise keeps its default, the two
// texts are terminated inside their buffers (shorter than 50 and 255) and
// are either the stored text or empty, and a new key receives all fifteen
// values while reading an existing key writes none.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "MemoryRegistry.h"
#include "Registry.h"
#include "Settings.h"

namespace {

constexpr const char* kDwordNames[] = {"delay",   "bMiniDisplay", "bActivityBar", "bFrameScreen",
                                       "seed",    "initpop",      "displayColor", "numFrames",
                                       "numRows", "frameWidth",   "frameHeight",  "bornEnd",
                                       "dieStart"};
constexpr size_t kDwordCount = sizeof kDwordNames / sizeof kDwordNames[0];

// The settings as the reader left them, in the order of kDwordNames.
struct LoadedSettings {
  uint32_t numbers[kDwordCount];
  std::string font;
  std::string loadImage;
  size_t fontLength;       // within the 50-byte buffer
  size_t loadImageLength;  // within the 255-byte buffer
};

// The one place that calls the settings store: load into a fresh record.
LoadedSettings Load() {
  const SaverSettings s = LoadSettings();
  const FaceSettings& f = s.face;
  LoadedSettings loaded{
      {s.delay, s.bMiniDisplay, s.bActivityBar, s.bFrameScreen, s.seed, s.initpop, s.displayColor,
       f.numFrames, f.numRows, f.frameWidth, f.frameHeight, f.bornEnd, f.dieStart},
      "",
      "",
      strnlen(s.font, kFontSize),
      strnlen(f.loadImage, kFaceNameSize)};
  if (loaded.fontLength < kFontSize) loaded.font = s.font;
  if (loaded.loadImageLength < kFaceNameSize) loaded.loadImage = f.loadImage;
  return loaded;
}

uint32_t DefaultNumber(size_t i) {
  const SaverSettings& d = kLoadTimeSettings;
  const uint32_t defaults[kDwordCount] = {
      d.delay,        d.bMiniDisplay,    d.bActivityBar,     d.bFrameScreen,
      d.seed,         d.initpop,         d.displayColor,     d.face.numFrames,
      d.face.numRows, d.face.frameWidth, d.face.frameHeight, d.face.bornEnd,
      d.face.dieStart};
  return defaults[i];
}

struct StoredValue {
  bool present = false;
  uint32_t type = 0;
  std::vector<uint8_t> data;
};

StoredValue MakeValue(FuzzedDataProvider& input) {
  StoredValue value;
  value.present = input.ConsumeBool();
  if (!value.present) return value;
  // 2: the platform's expandable string, which the saver never reads.
  constexpr uint32_t kTypes[] = {kRegSz, kRegDword, kRegBinary, 2, kRegQword, 0, 7};
  value.type =
      input.ConsumeBool() ? input.PickValueInArray(kTypes) : input.ConsumeIntegral<uint32_t>();
  value.data = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(0, 300));
  return value;
}

// The text a stored string value should give in a buffer of `size` bytes.
std::string ExpectedText(const StoredValue& value, size_t size, const char* missing) {
  if (!value.present) return missing;
  if (value.type != kRegSz || value.data.size() > size) return "";
  const std::string text(value.data.begin(), value.data.end());
  const std::string beforeZero = text.substr(0, text.find('\0'));
  return beforeZero.size() < size ? beforeZero : "";
}

void Check(bool condition, const char* what) { CheckInvariant(condition, "settings", what); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  SetRegistrySeam(&MemoryRegistrySeam());
  ResetMemoryRegistry();
  const RegistrySeam& registry = MemoryRegistrySeam();

  const bool keyExists = input.ConsumeIntegralInRange<int>(0, 15) != 0;
  StoredValue numbers[kDwordCount];
  StoredValue font, loadImage;
  if (keyExists) {
    RegistryKey key = nullptr;
    bool created = false;
    registry.createKey(kSettingsSubkey, kSettingsKeyClass, &key, &created);
    for (size_t i = 0; i < kDwordCount; ++i) numbers[i] = MakeValue(input);
    font = MakeValue(input);
    loadImage = MakeValue(input);
    const auto store = [&](const char* name, const StoredValue& value) {
      if (value.present)
        registry.setValue(key, name, value.type, value.data.data(),
                          static_cast<uint32_t>(value.data.size()));
    };
    for (size_t i = 0; i < kDwordCount; ++i) store(kDwordNames[i], numbers[i]);
    store("font", font);
    store("loadImage", loadImage);
    registry.closeKey(key);
  }

  const LoadedSettings loaded = Load();
  Check(loaded.fontLength < kFontSize, "font terminated inside its buffer");
  Check(loaded.loadImageLength < kFaceNameSize, "face name terminated inside its buffer");

  if (!keyExists) {
    Check(MemoryKeyValues(kSettingsSubkey).size() == 15, "a new key receives fifteen values");
    for (size_t i = 0; i < kDwordCount; ++i)
      Check(loaded.numbers[i] == DefaultNumber(i), "a new key keeps the defaults");
    return 0;
  }
  size_t stored = font.present + loadImage.present;
  for (const StoredValue& v : numbers) stored += v.present;
  Check(MemoryKeyValues(kSettingsSubkey).size() == stored, "reading writes nothing");
  for (size_t i = 0; i < kDwordCount; ++i) {
    const StoredValue& v = numbers[i];
    uint32_t expected = DefaultNumber(i);
    if (v.present && v.type == kRegDword && v.data.size() == 4)
      std::memcpy(&expected, v.data.data(), 4);
    Check(loaded.numbers[i] == expected, "a 32-bit value is read only as a 4-byte REG_DWORD");
  }
  Check(loaded.font == ExpectedText(font, kFontSize, ""), "font text");
  Check(loaded.loadImage == ExpectedText(loadImage, kFaceNameSize, ""), "face name text");
  return 0;
}
