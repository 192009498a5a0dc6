#pragma once
#include <vector>

#include "RgbImage.h"

// Paints one animation frame of a face: a small vector scene sampled many
// times per pixel, so the faces keep smooth edges at 16x16 and below.

// The characters of the face sets.
enum class FaceKind {
  kSunny,   // classic yellow smiley
  kKitty,   // cat with pointed ears and whiskers
  kFroggy,  // wide frog with eyes on top
  kPiggy,   // pink pig with a snout
  kAlien,   // one big eye and an antenna
  kGhost,   // friendly sheet ghost
  kFish,    // fish seen from the side (wide frames)
};

enum class Eyes {
  kOpen,
  kWide,    // surprised
  kHalf,    // drowsy: upper lids lowered
  kClosed,  // a blink or sleep: one line each
  kHappy,   // closed in a smile: arcs bowed upward
  kWink,    // left eye closed, right open
};

enum class Mouth { kNone, kSmile, kGrin, kFlat, kFrown, kOh, kTongue };

// How the face looks in one frame.
struct FacePose {
  double scale = 1.0;  // size of the whole face; 1 fills the frame
  double fade = 1.0;   // brightness; 0 is black
  double grey = 0.0;   // loss of colour; 1 is all grey
  Eyes eyes = Eyes::kOpen;
  double lookX = 0.0;  // pupils' direction, -1 (left) .. 1 (right)
  double lookY = 0.0;  // -1 (up) .. 1 (down)
  Mouth mouth = Mouth::kSmile;
  bool blush = false;
  bool tear = false;        // a tear under the left eye
  double lift = 0.0;        // upward shift, in face radii (a hop, or floating away)
  bool upsideDown = false;  // mirrored top to bottom (a fish belly up)
  int variant = 0;          // character detail: antenna glow, tail swing, bubbles
};

struct FaceStyle {
  FaceKind kind;
  Rgb body;    // main colour
  Rgb accent;  // ears, snout, fins, cheeks
};

// A frame: the colours, and for each pixel the share of it the face covers
// (0 where the black background shows, 1 inside).
struct PaintedFrame {
  RgbImage image;
  std::vector<double> coverage;
};

// Paints the face into a width x height frame on black. samples is the
// number of sample rows and columns per pixel (1: hard edges).
PaintedFrame PaintFace(int width, int height, const FaceStyle& style, const FacePose& pose,
                       int samples);
