#pragma once
#include <string>

#include "FaceInfo.h"

// Where the hack finds its face sets and the catalogue "life.nfo": the
// folder in LIFEFACES_DATA when set, else the installed share/lifefaces
// beside the hack's libexec folder, else the folder built in (the source
// tree's assets/, so that it runs from the build; the installed folder in a
// build of the hack alone). The first folder holding a catalogue wins;
// empty when none does. A folder named by LIFEFACES_DATA must hold one:
// when it does not, returns empty with `error` saying so.
std::string FindFaceData(const std::string& programDir, std::string& error);

// A face set and the name its sprite sheet is loaded by.
struct FaceChoice {
  std::string file;  // sprite-sheet file name, as the catalogue lists it
  FaceInfo face;     // its loadImage refers to `file`
};

enum class FaceLookup {
  kFound,
  kNotListed,
  kNoCatalogue,  // there is no catalogue, and the name is not the default face set
  kUnreadable,   // the catalogue cannot be read, or an entry before the face set is no entry
};

// Looks `name` up in the catalogue of `dataDir`: the listed file name
// exactly, or its name before the first '.' in any case ("tinyface",
// "Tinyface"). Without a catalogue only the default face set is known.
// When the catalogue cannot be read, `problem` (when given) says why.
FaceLookup LookUpFaceSet(const std::string& dataDir, const std::string& name, FaceChoice& choice,
                         std::string* problem = nullptr);

// What is wrong with the sprite sheet at `path` for the face set, before
// the engine loads it: not a BMP image it reads, smaller than the frames
// and rows of the face set need, or shorter than its header says (a
// truncated file). Empty when nothing is, and for a missing file, which
// the engine reports in the saver's words.
std::string SheetProblem(const std::string& path, const FaceInfo& face);
