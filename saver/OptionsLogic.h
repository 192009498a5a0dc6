#pragma once
// What the configuration dialog decides without a window: its default set,
// the limits applied on OK, which catalogue entry is selected, how the input
// is saved, and the About text.
#include <cstdint>
#include <string>

#include "FaceInfo.h"
#include "LifeVersion.h"
#include "Settings.h"

// The range of an up-down control.
struct UpDownRange {
  uint32_t lower;
  uint32_t upper;
};
inline constexpr UpDownRange kDelayRange = {0, 1000};
inline constexpr UpDownRange kSeedRange = {0, 9999};
inline constexpr UpDownRange kInitpopRange = {1, 9999};

// Whether a value lies outside its up-down control's range. Such a value
// is shown in its edit as it is, not moved into the range, so that OK
// without a change saves it (within the limits below) rather than a value
// the user never chose.
bool OutsideRange(uint32_t value, UpDownRange range);

// The dialog's default set, put into the record before the settings load:
// delay 100, the three flags 0, seed 0, initpop 0, displayColor green.
// font and face keep their values.
void ApplyDialogDefaults(SaverSettings& settings);

// Limits applied on OK: delay at most 1000, seed and initpop at most 9999.
uint32_t LimitDelay(uint32_t typed);
uint32_t LimitSeed(uint32_t typed);
uint32_t LimitInitpop(uint32_t typed);

// Names compared as _stricmp compares them: equal when they differ only in
// the case of the letters A to Z.
bool SameNameIgnoringCase(const char* a, const char* b);

// The index of the first entry named `name` (regardless of case), or
// `count` when there is none, which selects nothing in the faces list.
unsigned FaceSelectionIndex(const FaceInfo* table, unsigned count, const char* name);

// The controls as read on OK. A number that cannot be read is 0.
struct OptionsInput {
  bool activityBar;
  bool miniDisplay;
  bool frameScreen;
  uint32_t delay;
  uint32_t seed;
  uint32_t initpop;
  int selectedIndex;  // of the faces list; negative: no selection
  bool spanMonitors = false;
};

// OK: takes the input into the dialog's record `settings` (flags as 1 or 0,
// numbers limited) and makes the selected catalogue entry (entry 0 without
// a selection) its face set when the catalogue has entries; then saves the
// record (SaveSettings), which never creates the key.
void SaveOptions(SaverSettings& settings, const OptionsInput& input, const FaceInfo* table,
                 unsigned count);

// Makes entry `index` of the catalogue the face set of `settings`: its name
// copied into the settings' own buffer, its six numbers copied. An index
// out of the table counts as 0. False (face unchanged) with an empty
// catalogue or a name that does not fit the settings' buffer.
bool TakeChosenFace(SaverSettings& settings, const FaceInfo* table, unsigned count, int index);

// The version the About box names: the build's version (LifeVersion.h).
inline constexpr unsigned kEngineVersionMajor = LIFE_VERSION_MAJOR;
inline constexpr unsigned kEngineVersionMinor = LIFE_VERSION_MINOR;

// The About box text for version major.minor: four centred lines of 36
// characters (34 for the version line with one-digit numbers), each ending
// in CR LF.
std::string FormatAboutText(unsigned major, unsigned minor);
