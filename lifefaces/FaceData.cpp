#include "FaceData.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "FaceCatalogue.h"

namespace {
const char kCatalogue[] = "life.nfo";

bool HasCatalogue(const std::string& dir) {
  return !dir.empty() && access((dir + "/" + kCatalogue).c_str(), R_OK) == 0;
}

std::string Stem(const std::string& name) {
  std::string stem = name.substr(0, name.find('.'));
  for (char& c : stem) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return stem;
}

void Choose(const FaceInfo& face, FaceChoice& choice) {
  choice.file = face.loadImage;
  choice.face = face;
  choice.face.loadImage = choice.file.c_str();
}
}  // namespace

std::string FindFaceData(const std::string& programDir) {
  const char* fromEnvironment = std::getenv("LIFEFACES_DATA");
  const std::string candidates[] = {
      fromEnvironment != nullptr ? fromEnvironment : "",
      // PREFIX/libexec/xscreensaver/lifefaces -> PREFIX/share/lifefaces
      programDir + "/../../share/lifefaces",
      LIFEFACES_FALLBACK_DATA,
  };
  for (const std::string& dir : candidates) {
    if (!HasCatalogue(dir)) continue;
    std::error_code ignored;
    const std::filesystem::path clean = std::filesystem::weakly_canonical(dir, ignored);
    return clean.empty() ? dir : clean.string();
  }
  return "";
}

FaceLookup LookUpFaceSet(const std::string& dataDir, const std::string& name, FaceChoice& choice) {
  FILE* file = dataDir.empty() ? nullptr : std::fopen((dataDir + "/" + kCatalogue).c_str(), "r");
  if (file == nullptr) {
    if (name != kDefaultFace.loadImage && Stem(name) != Stem(kDefaultFace.loadImage))
      return FaceLookup::kNoCatalogue;
    Choose(kDefaultFace, choice);
    return FaceLookup::kFound;
  }
  // An exact name wins over an earlier record of the same stem.
  FaceRecordReader reader(file);
  FaceInfo entry{};
  bool exact = false, found = false;
  while (!exact && reader.Next(entry)) {
    exact = name == entry.loadImage;
    if (exact || (!found && Stem(name) == Stem(entry.loadImage))) {
      Choose(entry, choice);
      found = true;
    }
  }
  std::fclose(file);
  return found ? FaceLookup::kFound : FaceLookup::kNotListed;
}
