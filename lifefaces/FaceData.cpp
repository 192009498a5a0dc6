#include "FaceData.h"

#include <stb/stb_image.h>
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "FaceCatalogue.h"

namespace {
const char kCatalogue[] = "life.nfo";

// A folder holds a catalogue when the file is there, readable or not: one
// that cannot be read is reported rather than passed over.
bool HasCatalogue(const std::string& dir) {
  struct stat info {};
  return !dir.empty() && stat((dir + "/" + kCatalogue).c_str(), &info) == 0;
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

uint32_t LittleEndian(const unsigned char* bytes, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}
}  // namespace

std::string FindFaceData(const std::string& programDir, std::string& error) {
  const char* fromEnvironment = std::getenv("LIFEFACES_DATA");
  if (fromEnvironment != nullptr && *fromEnvironment != '\0' && !HasCatalogue(fromEnvironment)) {
    const std::string path = std::string(fromEnvironment) + "/" + kCatalogue;
    error = "LIFEFACES_DATA names " + std::string(fromEnvironment) +
            ", which has no catalogue: " + path + ": " + std::strerror(errno);
    return "";
  }
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

FaceLookup LookUpFaceSet(const std::string& dataDir, const std::string& name, FaceChoice& choice,
                         std::string* problem) {
  const std::string path = dataDir + "/" + kCatalogue;
  FILE* file = dataDir.empty() ? nullptr : std::fopen(path.c_str(), "r");
  if (file == nullptr && !dataDir.empty() && errno != ENOENT) {
    if (problem != nullptr) *problem = "cannot read " + path + ": " + std::strerror(errno);
    return FaceLookup::kUnreadable;
  }
  if (file == nullptr) {
    if (name != kDefaultFace.loadImage && Stem(name) != Stem(kDefaultFace.loadImage))
      return FaceLookup::kNoCatalogue;
    Choose(kDefaultFace, choice);
    return FaceLookup::kFound;
  }
  // An exact name wins over an earlier record of the same stem. Reading
  // stops at the end, or at an entry that is not one.
  FaceRecordReader reader(file);
  FaceInfo entry{};
  bool exact = false, found = false, malformed = false;
  unsigned entries = 0;
  while (!exact) {
    int c = std::getc(file);
    while (c != EOF && std::isspace(c) != 0) c = std::getc(file);
    if (c == EOF) break;
    std::ungetc(c, file);
    ++entries;
    if (!reader.Next(entry)) {
      malformed = true;
      break;
    }
    exact = name == entry.loadImage;
    if (exact || (!found && Stem(name) == Stem(entry.loadImage))) {
      Choose(entry, choice);
      found = true;
    }
  }
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (found) return FaceLookup::kFound;
  if (failed || malformed) {
    if (problem != nullptr)
      *problem = failed ? "cannot read " + path + ": " + std::strerror(error)
                        : "cannot read " + path + ": entry " + std::to_string(entries) +
                              " is not \"file frame-width frame-height frames rows born-end "
                              "die-start\"";
    return FaceLookup::kUnreadable;
  }
  return FaceLookup::kNotListed;
}

std::string SheetProblem(const std::string& path, const FaceInfo& face) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr)
    return errno == ENOENT ? "" : "cannot read " + path + ": " + std::strerror(errno);
  unsigned char header[54] = {};
  const size_t got = std::fread(header, 1, sizeof header, file);
  int width = 0, height = 0, channels = 0;
  std::fseek(file, 0, SEEK_END);
  const long size = std::ftell(file);
  std::fseek(file, 0, SEEK_SET);
  const bool image = got >= 30 && header[0] == 'B' && header[1] == 'M' &&
                     stbi_info_from_file(file, &width, &height, &channels) != 0;
  std::fclose(file);
  if (!image) return path + " is not a BMP image";

  const uint64_t needWidth = uint64_t{face.numFrames} * face.frameWidth;
  const uint64_t needHeight = uint64_t{face.numRows} * face.frameHeight;
  if (static_cast<uint64_t>(width) < needWidth || static_cast<uint64_t>(height) < needHeight)
    return path + " is " + std::to_string(width) + "x" + std::to_string(height) +
           " pixels, too small for its face set: " + std::to_string(face.numFrames) +
           " frames of " + std::to_string(face.frameWidth) + "x" +
           std::to_string(face.frameHeight) + " in " + std::to_string(face.numRows) +
           " rows need " + std::to_string(needWidth) + "x" + std::to_string(needHeight);

  // Uncompressed rows (plain or with colour masks) fill the file from the
  // offset of the pixels on; a shorter file was cut off.
  const uint32_t infoSize = LittleEndian(header + 14, 4);
  const uint32_t bits = LittleEndian(header + (infoSize == 12 ? 24 : 28), 2);
  const uint32_t compression = infoSize >= 40 ? LittleEndian(header + 30, 4) : 0;
  if (compression == 0 || compression == 3) {
    const uint64_t rowBytes = (uint64_t{static_cast<uint32_t>(width)} * bits + 31) / 32 * 4;
    const uint64_t needed = LittleEndian(header + 10, 4) + rowBytes * static_cast<uint32_t>(height);
    if (size >= 0 && static_cast<uint64_t>(size) < needed)
      return path + " is truncated: it has " + std::to_string(size) + " of the " +
             std::to_string(needed) + " bytes its header announces";
  }
  return "";
}
