#pragma once
#include <string>
#include <vector>

#include "FacePainter.h"
#include "RgbImage.h"

// One face set as shipped: its sheet file, frame geometry, frame ranges,
// characters (one sheet row each) and the pose of every frame.
struct FaceSet {
  std::string file;  // sheet file name, as the catalogue lists it
  int frameWidth = 0;
  int frameHeight = 0;
  int bornEnd = 0;        // last birth frame
  int dieStart = 0;       // first death frame
  int samples = 4;        // samples per pixel side when painting
  bool pixelArt = false;  // 8x8 faces laid out pixel by pixel
  std::vector<FaceStyle> rows;
  std::vector<FacePose> poses;  // one per frame; frame 0 is blank

  int numFrames() const { return static_cast<int>(poses.size()); }
  int numRows() const { return static_cast<int>(rows.size()); }
};

// Every face set we ship; the default set comes first.
std::vector<FaceSet> ShippedFaceSets();

// The sprite sheet: frame f of row r at (f * frameWidth, r * frameHeight);
// frame 0 of every row is black.
RgbImage PaintSheet(const FaceSet& set);

// The catalogue: one record a line, "name W H FRAMES ROWS BORNEND DIESTART".
std::string CatalogueText(const std::vector<FaceSet>& sets);
