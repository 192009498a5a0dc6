#include "FaceCatalogue.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

static_assert(std::is_same_v<uint32_t, unsigned int>, "%u scans into uint32_t fields");

namespace {

const CatalogueSeam* activeSeam = nullptr;

// The directory part of the catalogue path; "" when the platform gives none
// that fits 260 characters.
std::string WindowsDirectory() {
  char directory[260] = "";
  const unsigned length = Catalogue().windowsDirectory(directory, sizeof directory);
  if (length == 0 || length >= sizeof directory) return std::string();
  return std::string(directory, length);
}

}  // namespace

const CatalogueSeam& Catalogue() {
  return activeSeam != nullptr ? *activeSeam : PlatformCatalogue();
}

void SetCatalogueSeam(const CatalogueSeam* seam) { activeSeam = seam; }

// Scans the next run of characters without white space into the name, as
// "%s" would, but never past its end. Returns false at the end of the file.
// *usable is false when the run is longer than kFaceNameScan - 1 characters
// or holds a zero byte: it cannot name a file. Either way the whole run is
// consumed.
bool FaceRecordReader::ScanName(bool* usable) {
  int c = std::getc(file_);
  while (c != EOF && std::isspace(c) != 0) c = std::getc(file_);
  if (c == EOF) return false;
  *usable = true;
  size_t length = 0;
  for (; c != EOF && std::isspace(c) == 0; c = std::getc(file_)) {
    if (c == '\0' || length == kFaceNameScan - 1) {
      *usable = false;
    } else {
      name_[length++] = static_cast<char>(c);
    }
  }
  if (c != EOF) std::ungetc(c, file_);
  name_[length] = '\0';
  return true;
}

bool FaceRecordReader::Next(FaceInfo& entry) {
  for (;;) {
    bool usable = false;
    if (!ScanName(&usable)) return false;
    const int converted =
        std::fscanf(file_, "%u %u %u %u %u %u", &entry.frameWidth, &entry.frameHeight,
                    &entry.numFrames, &entry.numRows, &entry.bornEnd, &entry.dieStart);
    if (converted != 6) return false;
    if (usable) {
      entry.loadImage = name_;
      return true;
    }
  }
}

unsigned ReadFaceCatalogue(const char* fileName, FaceInfo* table, unsigned maximum) {
  // The backslash goes in even after a root directory's own.
  const std::string path = WindowsDirectory() + "\\" + fileName;
  FILE* file = Catalogue().openFile(path.c_str());
  if (file == nullptr) {
    const std::string text = "Can`t find file, " + path;
    Catalogue().showMessage(text.c_str(), "Missing File");
    return 0;
  }
  FaceRecordReader reader(file);
  unsigned count = 0;
  while (count < maximum && reader.Next(table[count])) {
    const size_t size = std::strlen(table[count].loadImage) + 1;
    auto* name = static_cast<char*>(Catalogue().allocate(size));
    if (name == nullptr) {
      table[count].loadImage = nullptr;
      break;
    }
    std::memcpy(name, table[count].loadImage, size);
    table[count].loadImage = name;
    ++count;
  }
  std::fclose(file);
  return count;
}

void FreeFaceCatalogue(FaceInfo* table, unsigned count) {
  for (unsigned i = 0; i < count; ++i) {
    if (table[i].loadImage == nullptr) continue;
    std::free(const_cast<char*>(table[i].loadImage));
    table[i].loadImage = nullptr;
  }
}

void FillFaceListWith(const FaceListOps& ops, const FaceInfo* table, unsigned count) {
  for (unsigned i = 0; i < count; ++i) {
    ops.addName(ops.list, table[i].loadImage);
    ops.setItemData(ops.list, i, i);
  }
}
