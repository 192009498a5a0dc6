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

bool TakeChosenFace(SaverSettings& settings, const FaceInfo* table, unsigned count, int index) {
  if (count == 0) return false;
  const FaceInfo& chosen =
      table[index >= 0 && static_cast<unsigned>(index) < count ? static_cast<unsigned>(index) : 0];
  return CopyFace(settings.face, chosen);
}

void SaveOptions(SaverSettings& settings, const OptionsInput& input, const FaceInfo* table,
                 unsigned count) {
  settings.bActivityBar = input.activityBar ? 1 : 0;
  settings.bMiniDisplay = input.miniDisplay ? 1 : 0;
  settings.bFrameScreen = input.frameScreen ? 1 : 0;
  settings.bSpanMonitors = input.spanMonitors ? 1 : 0;
  settings.delay = LimitDelay(input.delay);
  settings.seed = LimitSeed(input.seed);
  settings.initpop = LimitInitpop(input.initpop);
  TakeChosenFace(settings, table, count, input.selectedIndex);
  SaveSettings(settings);
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
