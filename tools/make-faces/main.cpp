// make-faces: paints every face set we ship, the catalogue and the icon.
//
// Regenerate the committed assets with
//     build/native/bin/make-faces assets
// and also the README's contact sheet of every set with
//     build/native/bin/make-faces assets --contact-sheet docs/faces.png --zoom 2
// (--zoom 4 gives a larger one for a close look).
// The output is the same on every run: nothing depends on time or chance.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BmpFile.h"
#include "ContactSheet.h"
#include "FaceIcon.h"
#include "FaceSets.h"
#include "PngFile.h"

namespace {
int Usage() {
  std::fprintf(stderr, "usage: make-faces OUTDIR [--contact-sheet FILE.png] [--zoom N]\n");
  return 2;
}

bool WriteText(const std::string& path, const std::string& text) {
  return WriteBinaryFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string outDir = argv[1];
  std::string sheetPath;
  int zoom = 2;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--contact-sheet" && i + 1 < argc) {
      sheetPath = argv[++i];
    } else if (arg == "--zoom" && i + 1 < argc) {
      zoom = std::atoi(argv[++i]);
      if (zoom < 1 || zoom > 16) return Usage();
    } else {
      return Usage();
    }
  }

  const std::vector<FaceSet> sets = ShippedFaceSets();
  std::vector<RgbImage> sheets;
  for (const FaceSet& set : sets) {
    sheets.push_back(PaintSheet(set));
    const std::string path = outDir + "/" + set.file;
    if (!WriteBinaryFile(path, EncodeBmp24(sheets.back()))) {
      std::fprintf(stderr, "make-faces: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  const std::string cataloguePath = outDir + "/life.nfo";
  if (!WriteText(cataloguePath, CatalogueText(sets))) {
    std::fprintf(stderr, "make-faces: cannot write %s\n", cataloguePath.c_str());
    return 1;
  }
  const std::string iconPath = outDir + "/life.ico";
  if (!WriteBinaryFile(iconPath, EncodeIcon({PaintIconImage(16), PaintIconImage(32)}))) {
    std::fprintf(stderr, "make-faces: cannot write %s\n", iconPath.c_str());
    return 1;
  }

  if (!sheetPath.empty()) {
    std::string error;
    if (!WritePng(sheetPath, MakeContactSheet(sets, sheets, zoom), error)) {
      std::fprintf(stderr, "make-faces: %s\n", error.c_str());
      return 1;
    }
  }
  return 0;
}
