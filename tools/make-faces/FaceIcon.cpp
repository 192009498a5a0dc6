#include "FaceIcon.h"

#include "FaceSets.h"

IconImage PaintIconImage(int size) {
  const FaceStyle sunny = ShippedFaceSets().front().rows.front();
  // At 16 pixels an open mouth turns to mush; a plain smile reads better.
  FacePose pose;
  pose.mouth = size >= 32 ? Mouth::kGrin : Mouth::kSmile;
  const PaintedFrame frame = PaintFace(size, size, sunny, pose, 6);

  // Black, olive, yellow and white; the larger one adds the reds of an
  // open mouth.
  const std::vector<uint8_t> allowed =
      size >= 32 ? std::vector<uint8_t>{0, 1, 3, 9, 11, 15} : std::vector<uint8_t>{0, 3, 11, 15};

  IconImage icon;
  icon.size = size;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const size_t i = static_cast<size_t>(y * size + x);
      // Edge pixels keep their colour blended toward black, which maps to
      // the dark palette shades and gives the face a soft outline.
      icon.transparent.push_back(frame.coverage[i] < 0.4);
      icon.indices.push_back(NearestPaletteIndex(frame.image.at(x, y), allowed));
    }
  }
  return icon;
}
