#include "PixelFaces.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kSize = 8;
constexpr Rgb kInk = {40, 24, 16};
constexpr Rgb kEyeWhite = {250, 250, 245};
constexpr Rgb kTongue = {235, 90, 110};
constexpr Rgb kTear = {130, 205, 255};

// Full-size heads: '#' body, 'a' accent colour, 'w' eye white, '.' empty.
struct PixelHead {
  const char* rows[kSize];
  int eyeY;        // top row of the eyes
  int eyeX[2];     // column of each eye
  int mouthY;      // top row of the mouth
  bool whiteEyes;  // eyes are 'w' patches with a pupil
};

const PixelHead& HeadOf(FaceKind kind) {
  static const PixelHead round = {{"..####..", ".######.", "########", "########", "########",
                                   "########", ".######.", "..####.."},
                                  2,
                                  {2, 5},
                                  5,
                                  false};
  static const PixelHead kitty = {{"#......#", "##....##", "#a####a#", "########", "########",
                                   "########", ".######.", "..####.."},
                                  3,
                                  {2, 5},
                                  5,
                                  false};
  static const PixelHead froggy = {{"........", ".##..##.", "#ww##ww#", "########", "########",
                                    "########", ".######.", "........"},
                                   2,
                                   {1, 5},
                                   4,
                                   true};
  static const PixelHead piggy = {{"aa....aa", "a######a", "########", "########", "##aaaa##",
                                   "########", ".######.", "..####.."},
                                  2,
                                  {2, 5},
                                  5,
                                  false};
  static const PixelHead alien = {{".....a..", "....#...", "..####..", ".##ww##.", "###ww###",
                                   "########", ".######.", "..####.."},
                                  3,
                                  {3, 3},
                                  6,
                                  true};
  static const PixelHead ghost = {{"..####..", ".######.", "########", "########", "########",
                                   "########", "########", "##.##.##"},
                                  2,
                                  {2, 5},
                                  5,
                                  false};
  switch (kind) {
    case FaceKind::kKitty:
      return kitty;
    case FaceKind::kFroggy:
      return froggy;
    case FaceKind::kPiggy:
      return piggy;
    case FaceKind::kAlien:
      return alien;
    case FaceKind::kGhost:
      return ghost;
    default:
      return round;
  }
}

// Smaller heads for growing and shrinking: plain blobs, centred.
const char* const kHead6[] = {".####.", "######", "######", "######", "######", ".####."};
const char* const kHead4[] = {".##.", "####", "####", ".##."};
const char* const kHead2[] = {"##", "##"};

Rgb Times(Rgb c, double f) {
  auto channel = [f](uint8_t x) {
    return static_cast<uint8_t>(std::lround(std::clamp(x * f, 0.0, 255.0)));
  };
  return {channel(c.r), channel(c.g), channel(c.b)};
}

// Lit from the upper left, as the larger faces are.
Rgb Shade(Rgb c, int x, int y, int size) {
  const double half = (size - 1) / 2.0;
  const double toward = ((x - half) * 0.45 + (y - half) * 0.75) / std::max(half, 0.5);
  return Times(c, 1.0 - 0.18 * toward);
}

struct Canvas {
  RgbImage image{kSize, kSize};

  void Put(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < kSize && y < kSize) image.at(x, y) = c;
  }
};

void PaintSmallHead(Canvas& canvas, const FaceStyle& style, const FacePose& pose,
                    const char* const* rows, int size) {
  const int offset = (kSize - size) / 2;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (rows[y][x] == '#') canvas.Put(offset + x, offset + y, Shade(style.body, x, y, size));
  // Eyes on the middle-sized head, closed until the face is grown.
  if (size == 6) {
    const bool open = pose.eyes == Eyes::kOpen || pose.eyes == Eyes::kWide;
    const int eyeY = offset + (open ? 2 : 3);
    canvas.Put(offset + 1, eyeY, kInk);
    canvas.Put(offset + 4, eyeY, kInk);
    if (pose.mouth != Mouth::kNone) {
      canvas.Put(offset + 2, offset + 4, kInk);
      canvas.Put(offset + 3, offset + 4, kInk);
    }
  }
}

void PaintEyes(Canvas& canvas, const PixelHead& head, const FaceStyle& style,
               const FacePose& pose) {
  const int shift = pose.lookX < -0.3 ? -1 : pose.lookX > 0.3 ? 1 : 0;
  const int count = head.eyeX[0] == head.eyeX[1] ? 1 : 2;
  for (int e = 0; e < count; ++e) {
    const int x = head.eyeX[e];
    const int y = head.eyeY;
    Eyes eyes = pose.eyes;
    if (eyes == Eyes::kWink) eyes = e == 0 ? Eyes::kHappy : Eyes::kOpen;
    const bool shut = eyes == Eyes::kClosed || eyes == Eyes::kHappy;
    if (head.whiteEyes) {
      // White patches of the head pattern with a one-pixel pupil; shut
      // eyes are covered by lids of a darker body colour.
      auto isWhite = [&](int dx, int dy) { return head.rows[y + dy][x + dx] == 'w'; };
      const bool tall = isWhite(0, 1);
      const Rgb lid = Times(style.body, 0.6);
      if (shut) {
        for (int dy = 0; dy < 2; ++dy)
          for (int dx = 0; dx < 2; ++dx)
            if (isWhite(dx, dy)) canvas.Put(x + dx, y + dy, lid);
        continue;
      }
      if (eyes == Eyes::kHalf && tall) {
        canvas.Put(x, y, lid);
        canvas.Put(x + 1, y, lid);
      }
      const int px = x + (shift < 0 ? 0 : shift > 0 ? 1 : (e == 0 ? 1 : 0));
      const int py = tall && !(pose.lookY < -0.3 && eyes != Eyes::kHalf) ? y + 1 : y;
      canvas.Put(px, py, kInk);
      continue;
    }
    switch (eyes) {
      case Eyes::kClosed:
      case Eyes::kHappy:
        // A short line reaching toward the outer side.
        canvas.Put(x, y + 1, kInk);
        canvas.Put(e == 0 ? x - 1 : x + 1, y + 1, kInk);
        break;
      case Eyes::kHalf:
        canvas.Put(x + shift, y + 1, kInk);
        break;
      case Eyes::kWide:
        canvas.Put(x, y, kInk);
        canvas.Put(x, y + 1, kInk);
        canvas.Put(e == 0 ? x - 1 : x + 1, y, kInk);
        canvas.Put(e == 0 ? x - 1 : x + 1, y + 1, kInk);
        break;
      default:
        canvas.Put(x + shift, y + (pose.lookY < -0.3 ? -1 : 0), kInk);
        canvas.Put(x + shift, y + 1 + (pose.lookY < -0.3 ? -1 : 0), kInk);
        break;
    }
  }
  if (pose.tear) canvas.Put(head.eyeX[0], head.eyeY + 2, kTear);
}

void PaintMouth(Canvas& canvas, const PixelHead& head, Mouth mouth) {
  const int y = head.mouthY;
  switch (mouth) {
    case Mouth::kSmile:
      canvas.Put(2, y, kInk);
      canvas.Put(5, y, kInk);
      canvas.Put(3, y + 1, kInk);
      canvas.Put(4, y + 1, kInk);
      break;
    case Mouth::kGrin:
    case Mouth::kTongue:
      for (int x = 2; x <= 5; ++x) canvas.Put(x, y, kInk);
      canvas.Put(3, y + 1, mouth == Mouth::kTongue ? kTongue : kInk);
      canvas.Put(4, y + 1, kTongue);
      break;
    case Mouth::kFlat:
      canvas.Put(3, y + 1, kInk);
      canvas.Put(4, y + 1, kInk);
      break;
    case Mouth::kFrown:
      canvas.Put(3, y, kInk);
      canvas.Put(4, y, kInk);
      canvas.Put(2, y + 1, kInk);
      canvas.Put(5, y + 1, kInk);
      break;
    case Mouth::kOh:
      canvas.Put(3, y, kInk);
      canvas.Put(4, y, kInk);
      canvas.Put(3, y + 1, kInk);
      canvas.Put(4, y + 1, kInk);
      break;
    case Mouth::kNone:
      break;
  }
}

Rgb Fade(const FacePose& pose, Rgb c) {
  const double luma = 0.3 * c.r + 0.59 * c.g + 0.11 * c.b;
  const double keep = 1.0 - std::clamp(pose.grey, 0.0, 1.0);
  const double fade = std::clamp(pose.fade, 0.0, 1.0);
  auto channel = [&](uint8_t v) {
    return static_cast<uint8_t>(
        std::lround(std::clamp((luma + (v - luma) * keep) * fade, 0.0, 255.0)));
  };
  return {channel(c.r), channel(c.g), channel(c.b)};
}
}  // namespace

RgbImage PaintPixelFace(const FaceStyle& style, const FacePose& pose) {
  Canvas canvas;
  if (pose.scale <= 0 || pose.fade <= 0) return canvas.image;

  if (pose.scale < 0.35) {
    PaintSmallHead(canvas, style, pose, kHead2, 2);
  } else if (pose.scale < 0.6) {
    PaintSmallHead(canvas, style, pose, kHead4, 4);
  } else if (pose.scale < 0.85) {
    PaintSmallHead(canvas, style, pose, kHead6, 6);
  } else {
    const PixelHead& head = HeadOf(style.kind);
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        const char c = head.rows[y][x];
        if (c == '.') continue;
        canvas.Put(x, y,
                   c == 'w' ? kEyeWhite : Shade(c == 'a' ? style.accent : style.body, x, y, kSize));
      }
    }
    PaintEyes(canvas, head, style, pose);
    PaintMouth(canvas, head, pose.mouth);
  }
  for (Rgb& p : canvas.image.pixels) p = Fade(pose, p);
  return canvas.image;
}
