#include "Settings.h"

#include <cstring>

SaverSettings saverSettings = kLoadTimeSettings;

namespace {

// The name read from the registry by ReadFaceValues.
char loadedFaceName[kFaceNameSize] = "";
// The name of the face set chosen in the configuration dialog.
char chosenFaceName[kFaceNameSize] = "";

}  // namespace

void WriteDwordValue(RegistryKey key, const char* name, uint32_t value) {
  Registry().setValue(key, name, kRegDword, &value, sizeof value);
}

void ReadDwordValue(RegistryKey key, const char* name, uint32_t& field) {
  // Read into a scratch word so that a value of another type or size never
  // reaches the field, not even in part.
  uint32_t value = 0;
  uint32_t type = 0;
  uint32_t size = sizeof value;
  if (Registry().queryValue(key, name, &type, &value, &size) && type == kRegDword &&
      size == sizeof value)
    field = value;
}

void WriteStringValue(RegistryKey key, const char* name, const char* text) {
  if (text == nullptr) return;
  Registry().setValue(key, name, kRegSz, text, static_cast<uint32_t>(std::strlen(text) + 1));
}

void ReadStringValue(RegistryKey key, const char* name, char* buffer, uint32_t size) {
  if (size == 0) return;
  uint32_t type = 0;
  uint32_t stored = size;
  if (!Registry().queryValue(key, name, &type, buffer, &stored) || type != kRegSz ||
      stored > size) {
    buffer[0] = '\0';
    return;
  }
  // The stored data need not end in a zero byte: the text is what comes
  // before the first zero, and it must leave room for its terminator.
  const void* zero = std::memchr(buffer, '\0', stored);
  const size_t length =
      zero != nullptr ? static_cast<size_t>(static_cast<const char*>(zero) - buffer) : stored;
  buffer[length < size ? length : 0] = '\0';
}

void WriteSettingsValues(RegistryKey key) {
  WriteDwordValue(key, "delay", saverSettings.delay);
  WriteDwordValue(key, "bMiniDisplay", saverSettings.bMiniDisplay);
  WriteDwordValue(key, "bActivityBar", saverSettings.bActivityBar);
  WriteDwordValue(key, "bFrameScreen", saverSettings.bFrameScreen);
  WriteDwordValue(key, "seed", saverSettings.seed);
  WriteDwordValue(key, "initpop", saverSettings.initpop);
  WriteDwordValue(key, "displayColor", saverSettings.displayColor);
  WriteStringValue(key, "font", saverSettings.font);
}

void WriteFaceValues(RegistryKey key, const FaceInfo& face) {
  WriteDwordValue(key, "numFrames", face.numFrames);
  WriteDwordValue(key, "numRows", face.numRows);
  WriteDwordValue(key, "frameWidth", face.frameWidth);
  WriteDwordValue(key, "frameHeight", face.frameHeight);
  WriteDwordValue(key, "bornEnd", face.bornEnd);
  WriteDwordValue(key, "dieStart", face.dieStart);
  WriteStringValue(key, "loadImage", face.loadImage);
}

void ReadSettingsValues(RegistryKey key) {
  ReadDwordValue(key, "delay", saverSettings.delay);
  ReadDwordValue(key, "bMiniDisplay", saverSettings.bMiniDisplay);
  ReadDwordValue(key, "bActivityBar", saverSettings.bActivityBar);
  ReadDwordValue(key, "bFrameScreen", saverSettings.bFrameScreen);
  ReadDwordValue(key, "seed", saverSettings.seed);
  ReadDwordValue(key, "initpop", saverSettings.initpop);
  ReadDwordValue(key, "displayColor", saverSettings.displayColor);
  ReadStringValue(key, "font", saverSettings.font, kFontSize);
}

void ReadFaceValues(RegistryKey key, FaceInfo& face) {
  ReadDwordValue(key, "numFrames", face.numFrames);
  ReadDwordValue(key, "numRows", face.numRows);
  ReadDwordValue(key, "frameWidth", face.frameWidth);
  ReadDwordValue(key, "frameHeight", face.frameHeight);
  ReadDwordValue(key, "bornEnd", face.bornEnd);
  ReadDwordValue(key, "dieStart", face.dieStart);
  ReadStringValue(key, "loadImage", loadedFaceName, kFaceNameSize);
  face.loadImage = loadedFaceName;
}

void LoadSettings() {
  RegistryKey key = nullptr;
  bool created = false;
  if (!Registry().createKey(kSettingsSubkey, kSettingsKeyClass, &key, &created)) return;
  if (created) {
    WriteSettingsValues(key);
    WriteFaceValues(key, saverSettings.face);
  } else {
    ReadSettingsValues(key);
    ReadFaceValues(key, saverSettings.face);
  }
  Registry().closeKey(key);
}

bool SetFaceName(const char* name) {
  if (name == nullptr) return false;
  const size_t length = strnlen(name, kFaceNameSize);
  if (length >= kFaceNameSize) return false;
  if (name != chosenFaceName) std::memmove(chosenFaceName, name, length + 1);
  saverSettings.face.loadImage = chosenFaceName;
  return true;
}
