#pragma once
// The user's settings: a record that owns all it holds, kept between runs
// under HKEY_CURRENT_USER\Software\Vantreel\Settings.
#include <cstddef>
#include <cstdint>

#include "FaceInfo.h"
#include "Registry.h"

// Buffer sizes: "font" and "loadImage" are read into buffers of these sizes,
// so they hold at most 49 and 254 characters.
inline constexpr uint32_t kFontSize = 50;
inline constexpr uint32_t kFaceNameSize = 255;

// The face set as the settings hold it: the file name in a buffer of its
// own, and the frame geometry.
struct FaceSettings {
  char loadImage[kFaceNameSize];
  uint32_t frameWidth;
  uint32_t frameHeight;
  uint32_t numFrames;
  uint32_t numRows;
  uint32_t bornEnd;
  uint32_t dieStart;
};

// Makes `name` the face set's file name, copied into its own buffer. A null
// name or one of kFaceNameSize characters or more is refused: false, face
// unchanged.
constexpr bool SetFaceName(FaceSettings& face, const char* name) {
  if (name == nullptr) return false;
  size_t length = 0;
  while (name[length] != '\0')
    if (++length >= kFaceNameSize) return false;
  // Front to back, so that a name already inside the buffer copies safely.
  for (size_t i = 0; i <= length; ++i) face.loadImage[i] = name[i];
  return true;
}

// Makes `from` the face set `face`: its name copied as SetFaceName does,
// its six numbers copied. A name SetFaceName refuses leaves face unchanged:
// false.
constexpr bool CopyFace(FaceSettings& face, const FaceInfo& from) {
  if (!SetFaceName(face, from.loadImage)) return false;
  face.frameWidth = from.frameWidth;
  face.frameHeight = from.frameHeight;
  face.numFrames = from.numFrames;
  face.numRows = from.numRows;
  face.bornEnd = from.bornEnd;
  face.dieStart = from.dieStart;
  return true;
}

// The face set the saver carries itself, as the settings hold it.
constexpr FaceSettings DefaultFaceSettings() {
  FaceSettings face{};
  CopyFace(face, kDefaultFace);
  return face;
}

// The face set as the engine takes it. Its name refers to face's buffer, so
// it is valid as long as face is.
inline FaceInfo FaceInfoOf(const FaceSettings& face) {
  return {face.loadImage, face.frameWidth, face.frameHeight, face.numFrames,
          face.numRows,   face.bornEnd,    face.dieStart};
}

struct SaverSettings {
  uint32_t delay;         // animation timer period, milliseconds
  uint32_t initpop;       // cells set alive at each seeding
  uint32_t bMiniDisplay;  // flags: any non-zero value means on
  uint32_t bActivityBar;
  uint32_t bFrameScreen;
  FaceSettings face;      // the current face set
  uint32_t displayColor;  // 0x00BBGGRR
  char font[kFontSize];   // activity-line font face name
  uint32_t seed;          // initial random seed; 0: from the clock
  uint32_t bSpanMonitors;  // flag: one world across every monitor
};

// The defaults the saver loads its settings over.
inline constexpr SaverSettings kLoadTimeSettings = {150,
                                                    150,
                                                    0xFFFFFFFFu,
                                                    0xFFFFFFFFu,
                                                    0xFFFFFFFFu,
                                                    DefaultFaceSettings(),
                                                    0x00C0C0C0u,
                                                    "MS Sans Serif",
                                                    0,
                                                    0};

inline constexpr const char* kSettingsSubkey = "Software\\Vantreel\\Settings";
inline constexpr const char* kSettingsKeyClass = "Screen Saver";

// The settings of this user over `defaults`. Creates the key when it does
// not exist yet and fills it with the defaults (as SaveSettings writes them); otherwise reads every stored
// value over them, so that a missing 32-bit value keeps its default and a
// missing or unusable text becomes "". A key that can be neither created nor
// opened gives the defaults.
SaverSettings LoadSettings(const SaverSettings& defaults = kLoadTimeSettings);

// Writes the values of `settings` into the existing key: the fifteen
// always, "bSpanMonitors" when it is on or already stored, so that a user
// who never turned it on keeps the key as it always was. Never creates the
// key: false, nothing written, when it does not exist.
bool SaveSettings(const SaverSettings& settings);

// One value each, as LoadSettings and SaveSettings use them. A 32-bit value
// is read only when it is stored as a REG_DWORD of exactly four bytes;
// otherwise the field keeps its value. A text is read only when stored as
// REG_SZ and, up to its first zero byte, shorter than size; otherwise the
// buffer becomes "". The text read is always terminated inside the buffer.
// A null text is not written.
void WriteDwordValue(RegistryKey key, const char* name, uint32_t value);
void ReadDwordValue(RegistryKey key, const char* name, uint32_t& field);
void WriteStringValue(RegistryKey key, const char* name, const char* text);
void ReadStringValue(RegistryKey key, const char* name, char* buffer, uint32_t size);
