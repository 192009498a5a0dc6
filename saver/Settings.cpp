#include "Settings.h"

#include <cstring>

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

namespace {

// A flag written only when it is on or already in the key: a value added
// after the fifteen, absent for everyone who never turned it on.
template <typename Field>
struct Optional {
  Field& field;
};
template <typename Field>
Optional(Field&) -> Optional<Field>;

// The values of the settings key, each with the field of the record that
// holds it, in the one order in which they are always written and read:
// the general values, then the face values, then the optional ones.
// Reading and writing both walk this list; `settings` is the record, const
// for writing.
template <typename Settings, typename Visit>
void ForEachSettingsValue(Settings& settings, Visit visit) {
  visit("delay", settings.delay);
  visit("bMiniDisplay", settings.bMiniDisplay);
  visit("bActivityBar", settings.bActivityBar);
  visit("bFrameScreen", settings.bFrameScreen);
  visit("seed", settings.seed);
  visit("initpop", settings.initpop);
  visit("displayColor", settings.displayColor);
  visit("font", settings.font);
  visit("numFrames", settings.face.numFrames);
  visit("numRows", settings.face.numRows);
  visit("frameWidth", settings.face.frameWidth);
  visit("frameHeight", settings.face.frameHeight);
  visit("bornEnd", settings.face.bornEnd);
  visit("dieStart", settings.face.dieStart);
  visit("loadImage", settings.face.loadImage);
  visit("bSpanMonitors", Optional{settings.bSpanMonitors});
}

struct ValueWriter {
  RegistryKey key;
  void operator()(const char* name, uint32_t value) const { WriteDwordValue(key, name, value); }
  void operator()(const char* name, const char* text) const { WriteStringValue(key, name, text); }
  template <typename Field>
  void operator()(const char* name, Optional<Field> flag) const {
    uint32_t type = 0;
    uint32_t stored = 0;
    uint32_t size = sizeof stored;
    if (flag.field != 0 || Registry().queryValue(key, name, &type, &stored, &size))
      WriteDwordValue(key, name, flag.field);
  }
};

// Texts are read into the record's own buffers, limited by their sizes.
struct ValueReader {
  RegistryKey key;
  void operator()(const char* name, uint32_t& field) const { ReadDwordValue(key, name, field); }
  void operator()(const char* name, Optional<uint32_t> flag) const {
    ReadDwordValue(key, name, flag.field);
  }
  template <size_t size>
  void operator()(const char* name, char (&buffer)[size]) const {
    ReadStringValue(key, name, buffer, size);
  }
};

}  // namespace

SaverSettings LoadSettings(const SaverSettings& defaults) {
  SaverSettings settings = defaults;
  RegistryKey key = nullptr;
  bool created = false;
  if (!Registry().createKey(kSettingsSubkey, kSettingsKeyClass, &key, &created)) return settings;
  if (created)
    ForEachSettingsValue(settings, ValueWriter{key});
  else
    ForEachSettingsValue(settings, ValueReader{key});
  Registry().closeKey(key);
  return settings;
}

bool SaveSettings(const SaverSettings& settings) {
  RegistryKey key = nullptr;
  if (!Registry().openKey(kSettingsSubkey, &key)) return false;
  ForEachSettingsValue(settings, ValueWriter{key});
  Registry().closeKey(key);
  return true;
}
