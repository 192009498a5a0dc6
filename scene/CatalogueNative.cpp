// Natively there is no Windows directory: the catalogue is looked for under
// C:\WINDOWS (tests replace the seam), and messages go to standard error.
#include <cstdlib>
#include <cstring>

#include "FaceCatalogue.h"

namespace {

unsigned WindowsDirectory(char* buffer, unsigned size) {
  const char directory[] = "C:\\WINDOWS";
  if (size < sizeof directory) return sizeof directory;
  std::memcpy(buffer, directory, sizeof directory);
  return sizeof directory - 1;
}

FILE* OpenFile(const char* path) { return std::fopen(path, "r"); }

void ShowMessage(const char* text, const char* caption) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
}

const CatalogueSeam kNativeSeam = {WindowsDirectory, OpenFile, ShowMessage, std::malloc};

}  // namespace

const CatalogueSeam& PlatformCatalogue() { return kNativeSeam; }
