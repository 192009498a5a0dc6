#pragma once
#include <string>

#include "FaceInfo.h"

// Where the hack finds its face sets and the catalogue "life.nfo": the
// folder in LIFEFACES_DATA when set, else the installed share/lifefaces
// beside the hack's libexec folder, else the folder built in (the source
// tree's assets/, so that it runs from the build; the installed folder in a
// build of the hack alone). The first folder holding the catalogue wins;
// empty when none does.
std::string FindFaceData(const std::string& programDir);

// A face set and the name its sprite sheet is loaded by.
struct FaceChoice {
  std::string file;  // sprite-sheet file name, as the catalogue lists it
  FaceInfo face;     // its loadImage refers to `file`
};

enum class FaceLookup { kFound, kNotListed, kNoCatalogue };

// Looks `name` up in the catalogue of `dataDir`: the listed file name
// exactly, or its name before the first '.' in any case ("tinyface",
// "Tinyface"). Without a catalogue only the default face set is known.
FaceLookup LookUpFaceSet(const std::string& dataDir, const std::string& name, FaceChoice& choice);
