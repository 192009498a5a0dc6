#include "OptionsLogic.h"

#include <cstdio>

bool OutsideRange(uint32_t value, UpDownRange range) {
  return value < range.lower || value > range.upper;
}

void ApplyDialogDefaults(SaverSettings& settings) {
  settings.delay = 100;
  settings.bMiniDisplay = 0;
  settings.bActivityBar = 0;
  settings.bFrameScreen = 0;
  settings.seed = 0;
  settings.initpop = 0;
  settings.displayColor = 0x0000FF00;
}

uint32_t LimitDelay(uint32_t typed) { return typed >= 1000 ? 1000 : typed; }
uint32_t LimitSeed(uint32_t typed) { return typed >= 9999 ? 9999 : typed; }
uint32_t LimitInitpop(uint32_t typed) { return typed >= 9999 ? 9999 : typed; }

namespace {
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool SameNameIgnoringCase(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return false;
  for (; LowerAscii(*a) == LowerAscii(*b); ++a, ++b)
    if (*a == '\0') return true;
  return false;
}

unsigned FaceSelectionIndex(const FaceInfo* table, unsigned count, const char* name) {
  for (unsigned i = 0; i < count; ++i)
    if (SameNameIgnoringCase(table[i].loadImage, name)) return i;
  return count;
}

bool TakeChosenFace(const FaceInfo* table, unsigned count, int index) {
  if (count == 0) return false;
  const FaceInfo& chosen =
      table[index >= 0 && static_cast<unsigned>(index) < count ? static_cast<unsigned>(index) : 0];
  if (!SetFaceName(chosen.loadImage)) return false;
  FaceInfo& face = saverSettings.face;
  face.frameWidth = chosen.frameWidth;
  face.frameHeight = chosen.frameHeight;
  face.numFrames = chosen.numFrames;
  face.numRows = chosen.numRows;
  face.bornEnd = chosen.bornEnd;
  face.dieStart = chosen.dieStart;
  return true;
}

void SaveOptions(const OptionsInput& input, const FaceInfo* table, unsigned count) {
  saverSettings.bActivityBar = input.activityBar ? 1 : 0;
  saverSettings.bMiniDisplay = input.miniDisplay ? 1 : 0;
  saverSettings.bFrameScreen = input.frameScreen ? 1 : 0;
  saverSettings.delay = LimitDelay(input.delay);
  saverSettings.seed = LimitSeed(input.seed);
  saverSettings.initpop = LimitInitpop(input.initpop);

  RegistryKey key = nullptr;
  if (!Registry().openKey(kSettingsSubkey, &key)) return;
  WriteSettingsValues(key);
  TakeChosenFace(table, count, input.selectedIndex);
  WriteFaceValues(key, saverSettings.face);
  Registry().closeKey(key);
}

std::string FormatAboutText(unsigned major, unsigned minor) {
  char text[200];
  std::snprintf(text, sizeof text,
                "          The Game of Life          \r\n"
                "  Implementation, programming and   \r\n"
                "associated artwork by Tamsin Orrell.\r\n"
                "         Life Engine v%u.%u         \r\n",
                major, minor);
  return text;
}
