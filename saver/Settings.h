#pragma once
// The user's settings: one process-wide record, kept between runs under
// HKEY_CURRENT_USER\Software\Vantreel\Settings.
#include <cstdint>

#include "FaceInfo.h"
#include "Registry.h"

struct SaverSettings {
  uint32_t delay;         // animation timer period, milliseconds
  uint32_t initpop;       // cells set alive at each seeding
  uint32_t bMiniDisplay;  // flags: any non-zero value means on
  uint32_t bActivityBar;
  uint32_t bFrameScreen;
  FaceInfo face;          // the current face set
  uint32_t displayColor;  // 0x00BBGGRR
  char font[50];          // activity-line font face name
  uint32_t seed;          // initial random seed; 0: from the clock
};

// The record every process starts with.
inline constexpr SaverSettings kLoadTimeSettings = {
    150, 150, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, kDefaultFace, 0x00C0C0C0u,
    "MS Sans Serif", 0};

extern SaverSettings saverSettings;  // the one record, starts at kLoadTimeSettings

inline constexpr const char* kSettingsSubkey = "Software\\Vantreel\\Settings";
inline constexpr const char* kSettingsKeyClass = "Screen Saver";

// Buffer sizes: "font" and "loadImage" are read into buffers of these sizes,
// so they hold at most 49 and 254 characters.
inline constexpr uint32_t kFontSize = sizeof(SaverSettings::font);
inline constexpr uint32_t kFaceNameSize = 255;

// Creates the key and fills it from the record when it is new; otherwise
// reads every stored value into the record. A key that can be neither
// created nor opened leaves the record as it is.
void LoadSettings();

// The general values (delay, bMiniDisplay, bActivityBar, bFrameScreen, seed,
// initpop, displayColor, font) and the face values (numFrames, numRows,
// frameWidth, frameHeight, bornEnd, dieStart, loadImage), in that order.
void WriteSettingsValues(RegistryKey key);
void WriteFaceValues(RegistryKey key, const FaceInfo& face);
void ReadSettingsValues(RegistryKey key);
// After the call face.loadImage refers to the store's own name buffer,
// holding the stored name or, when it is missing or unusable, "".
void ReadFaceValues(RegistryKey key, FaceInfo& face);

// One value each. A 32-bit value is read only when it is stored as a
// REG_DWORD of exactly four bytes; otherwise the field keeps its value. A
// text is read only when stored as REG_SZ and, up to its first zero byte,
// shorter than size; otherwise the buffer becomes "". The text read is
// always terminated inside the buffer. A null text is not written.
void WriteDwordValue(RegistryKey key, const char* name, uint32_t value);
void ReadDwordValue(RegistryKey key, const char* name, uint32_t& field);
void WriteStringValue(RegistryKey key, const char* name, const char* text);
void ReadStringValue(RegistryKey key, const char* name, char* buffer, uint32_t size);

// Makes `name` the current face set's file name, copied into the settings'
// own face-name buffer (kFaceNameSize bytes). A null name or one of
// kFaceNameSize characters or more is refused: false, face unchanged.
bool SetFaceName(const char* name);
