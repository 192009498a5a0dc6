#include "FacePainter.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;

// Colours of the features every character shares.
constexpr Rgb kInk = {40, 24, 16};  // eyes, mouth lines
constexpr Rgb kMouthInside = {110, 26, 34};
constexpr Rgb kTongue = {240, 110, 130};
constexpr Rgb kEyeWhite = {250, 250, 245};
constexpr Rgb kBlush = {255, 120, 140};
constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kTear = {130, 205, 255};

struct Point {
  double u, v;
};

double Clamp01(double x) { return std::clamp(x, 0.0, 1.0); }

Rgb Mix(Rgb a, Rgb b, double t) {
  auto channel = [t](uint8_t x, uint8_t y) {
    return static_cast<uint8_t>(std::lround(x + (y - x) * Clamp01(t)));
  };
  return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

Rgb Times(Rgb c, double f) {
  auto channel = [f](uint8_t x) {
    return static_cast<uint8_t>(std::lround(std::clamp(x * f, 0.0, 255.0)));
  };
  return {channel(c.r), channel(c.g), channel(c.b)};
}

bool InEllipse(Point p, double cu, double cv, double ru, double rv) {
  const double du = (p.u - cu) / ru;
  const double dv = (p.v - cv) / rv;
  return du * du + dv * dv <= 1.0;
}

double Cross(Point a, Point b, Point c) {
  return (b.u - a.u) * (c.v - a.v) - (b.v - a.v) * (c.u - a.u);
}

bool InTriangle(Point p, Point a, Point b, Point c) {
  const double d1 = Cross(a, b, p);
  const double d2 = Cross(b, c, p);
  const double d3 = Cross(c, a, p);
  const bool negative = d1 < 0 || d2 < 0 || d3 < 0;
  const bool positive = d1 > 0 || d2 > 0 || d3 > 0;
  return !(negative && positive);
}

// Within thickness/2 of the segment a-b (a stroke with round ends).
bool OnSegment(Point p, Point a, Point b, double thickness) {
  const double du = b.u - a.u, dv = b.v - a.v;
  const double length2 = du * du + dv * dv;
  const double t = length2 > 0 ? Clamp01(((p.u - a.u) * du + (p.v - a.v) * dv) / length2) : 0;
  const double eu = a.u + t * du - p.u, ev = a.v + t * dv - p.v;
  return eu * eu + ev * ev <= thickness * thickness / 4;
}

// Height of the bowed curve through the ends (cu -+ halfWidth, cv) whose
// middle lies `depth` lower (negative: higher).
double CurveAt(double u, double cu, double halfWidth, double depth) {
  const double x = (u - cu) / halfWidth;
  return depth * (1.0 - x * x);
}

// A stroke along that curve, with round ends.
bool OnCurve(Point p, double cu, double cv, double halfWidth, double depth, double thickness) {
  const double half = thickness / 2;
  if (std::fabs(p.u - cu) <= halfWidth) {
    // Measure across the stroke, not straight down, where the curve slopes.
    const double x = (p.u - cu) / halfWidth;
    const double slope = -2.0 * depth * x / halfWidth;
    const double dv = p.v - (cv + CurveAt(p.u, cu, halfWidth, depth));
    if (std::fabs(dv) <= half * std::sqrt(1.0 + slope * slope)) return true;
  }
  return InEllipse(p, cu - halfWidth, cv, half, half) ||
         InEllipse(p, cu + halfWidth, cv, half, half);
}

// Lit from the upper left, darker toward the rim.
Rgb ShadeBody(Rgb body, Point p, double cu, double cv, double radius) {
  const double du = (p.u - cu) / radius, dv = (p.v - cv) / radius;
  const double toward = du * 0.45 + dv * 0.75;  // -1 upper left .. 1 lower right
  double factor = 1.0 - 0.2 * toward;
  const double rim = std::sqrt(du * du + dv * dv);
  if (rim > 0.84) factor *= 0.86;
  return Times(body, factor);
}

// ---------------------------------------------------------------------
// Features shared by the characters.

// Dark oval eyes at (-spread, cv) and (spread, cv).
bool DotEyes(const FacePose& pose, Point p, double spread, double cv, double ru, double rv,
             double stroke, Rgb& out) {
  const double side = p.u < 0 ? -1.0 : 1.0;
  const double cu = side * spread;
  Eyes eyes = pose.eyes;
  if (eyes == Eyes::kWink) eyes = side < 0 ? Eyes::kHappy : Eyes::kOpen;
  switch (eyes) {
    case Eyes::kClosed:
      if (OnCurve(p, cu, cv, ru * 1.15, rv * 0.3, stroke)) return out = kInk, true;
      return false;
    case Eyes::kHappy:
      if (OnCurve(p, cu, cv + rv * 0.2, ru * 1.15, -rv * 0.55, stroke)) return out = kInk, true;
      return false;
    case Eyes::kHalf: {
      // Heavy lids that droop toward the outer corners: a sad, tired look.
      const double lidLine = cv - rv * 0.1 + (p.u - cu) * side * 0.6;
      return InEllipse(p, cu, cv, ru, rv) && p.v > lidLine ? (out = kInk, true) : false;
    }
    case Eyes::kWide:
      if (InEllipse(p, cu + pose.lookX * ru * 0.3, cv + pose.lookY * rv * 0.2, ru * 1.25, rv * 1.2))
        return out = kInk, true;
      return false;
    default: {
      const double su = pose.lookX * ru * 0.7, sv = pose.lookY * rv * 0.35;
      if (InEllipse(p, cu + su, cv + sv, ru, rv)) return out = kInk, true;
      return false;
    }
  }
}

// A white eye with a dark pupil and, when shut, a lid of the body colour.
bool WhiteEye(const FacePose& pose, Point p, double cu, double cv, double radius, double pupil,
              double stroke, Rgb lid, bool winkSide, Rgb& out) {
  if (!InEllipse(p, cu, cv, radius, radius)) return false;
  Eyes eyes = pose.eyes;
  if (eyes == Eyes::kWink) eyes = winkSide ? Eyes::kHappy : Eyes::kOpen;
  switch (eyes) {
    case Eyes::kClosed:
      out = OnCurve(p, cu, cv, radius * 0.95, radius * 0.25, stroke) ? kInk : lid;
      return true;
    case Eyes::kHappy:
      out = OnCurve(p, cu, cv + radius * 0.2, radius * 0.8, -radius * 0.45, stroke) ? kInk : lid;
      return true;
    case Eyes::kHalf:
      if (p.v < cv - radius * 0.05) return out = lid, true;
      if (p.v < cv + radius * 0.05 - stroke * 0.3) return out = Times(lid, 0.7), true;
      break;
    default:
      break;
  }
  const double reach = radius - pupil * 1.05;
  const double size = eyes == Eyes::kWide ? pupil * 0.7 : pupil;
  const double pu = cu + pose.lookX * reach, pv = cv + pose.lookY * reach * 0.8;
  out = InEllipse(p, pu, pv, size, size) ? kInk : kEyeWhite;
  return true;
}

// The mouth centred at (cu, cv), halfWidth to each side.
bool DrawMouth(Mouth mouth, Point p, double cu, double cv, double halfWidth, double stroke,
               Rgb& out) {
  switch (mouth) {
    case Mouth::kNone:
      return false;
    case Mouth::kSmile:
      return OnCurve(p, cu, cv, halfWidth, halfWidth * 0.45, stroke) ? (out = kInk, true) : false;
    case Mouth::kFlat:
      return OnCurve(p, cu, cv + halfWidth * 0.1, halfWidth * 0.75, 0.0, stroke)
                 ? (out = kInk, true)
                 : false;
    case Mouth::kFrown:
      return OnCurve(p, cu, cv + halfWidth * 0.3, halfWidth * 0.8, -halfWidth * 0.35, stroke)
                 ? (out = kInk, true)
                 : false;
    case Mouth::kOh:
      if (InEllipse(p, cu, cv + halfWidth * 0.15, halfWidth * 0.36, halfWidth * 0.44))
        return out = kInk, true;
      return false;
    case Mouth::kGrin:
    case Mouth::kTongue: {
      // A D-shaped open mouth: flat top, round bottom.
      const double top = cv - halfWidth * 0.08;
      const double depth = halfWidth * 0.75;
      if (std::fabs(p.u - cu) > halfWidth) return false;
      const double bottom = top + CurveAt(p.u, cu, halfWidth, depth);
      if (p.v < top - stroke * 0.5 || p.v > bottom + stroke * 0.5) return false;
      const double inner = std::fabs(p.u - cu) < halfWidth - stroke * 0.5 &&
                           p.v > top + stroke * 0.5 && p.v < bottom - stroke * 0.5;
      if (!inner) return out = kInk, true;
      const double tongueTop = top + depth * (mouth == Mouth::kTongue ? 0.3 : 0.55);
      out = p.v > tongueTop ? kTongue : kMouthInside;
      return true;
    }
  }
  return false;
}

bool Cheeks(const FacePose& pose, Point p, double spread, double cv, double ru, double rv,
            Rgb under, Rgb& out) {
  if (!pose.blush) return false;
  if (InEllipse(p, -spread, cv, ru, rv) || InEllipse(p, spread, cv, ru, rv)) {
    out = Mix(under, kBlush, 0.55);
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------
// The characters. Each paints the point p (units of the frame's half
// size, origin at the frame centre, v downward) and says whether it hit.
// `fine` is true for frames large enough for small highlights.

struct Scene {
  const FaceStyle& style;
  const FacePose& pose;
  bool fine;
  double stroke;  // line width of eyes and mouth
};

bool Highlight(const Scene& s, Point p, double cu, double cv, double radius, Rgb under, Rgb& out) {
  if (!s.fine) return false;
  if (InEllipse(p, cu - radius * 0.42, cv - radius * 0.5, radius * 0.17, radius * 0.11)) {
    out = Mix(under, kWhite, 0.6);
    return true;
  }
  return false;
}

bool PaintSunny(const Scene& s, Point p, Rgb& out) {
  const double radius = 0.9;
  if (!InEllipse(p, 0, 0, radius, radius)) return false;
  const Rgb skin = ShadeBody(s.style.body, p, 0, 0, radius);
  if (DotEyes(s.pose, p, 0.32, -0.2, 0.13, 0.21, s.stroke, out)) return true;
  if (DrawMouth(s.pose.mouth, p, 0, 0.3, 0.42, s.stroke, out)) return true;
  if (Cheeks(s.pose, p, 0.56, 0.18, 0.15, 0.1, skin, out)) return true;
  if (Highlight(s, p, 0, 0, radius, skin, out)) return true;
  out = skin;
  return true;
}

bool PaintKitty(const Scene& s, Point p, Rgb& out) {
  const double cv = 0.1, radius = 0.82;
  const Rgb fur = s.style.body;
  const bool inHead = InEllipse(p, 0, cv, radius * 1.05, radius);
  if (!inHead) {
    // Pointed ears with a pink inside.
    for (const double side : {-1.0, 1.0}) {
      const Point a = {side * 0.86, -0.1}, b = {side * 0.74, -0.98}, c = {side * 0.16, -0.62};
      if (InTriangle(p, a, b, c)) {
        const Point ia = {side * 0.74, -0.3}, ib = {side * 0.7, -0.78}, ic = {side * 0.36, -0.56};
        out = InTriangle(p, ia, ib, ic) ? s.style.accent : Times(fur, 0.92);
        return true;
      }
    }
    return false;
  }
  const Rgb skin = ShadeBody(fur, p, 0, cv, radius);
  if (DotEyes(s.pose, p, 0.34, -0.05, 0.12, 0.2, s.stroke, out)) return true;
  if (InTriangle(p, {-0.11, 0.2}, {0.11, 0.2}, {0, 0.31})) return out = s.style.accent, true;
  if (s.pose.mouth == Mouth::kSmile) {
    // A cat's mouth: two small arcs under the nose.
    if (OnCurve(p, -0.11, 0.38, 0.11, 0.07, s.stroke) ||
        OnCurve(p, 0.11, 0.38, 0.11, 0.07, s.stroke))
      return out = kInk, true;
  } else if (DrawMouth(s.pose.mouth, p, 0, 0.44, 0.26, s.stroke, out)) {
    return true;
  }
  if (Cheeks(s.pose, p, 0.52, 0.26, 0.14, 0.09, skin, out)) return true;
  // Whiskers, drawn faintly over the cheeks.
  for (const double side : {-1.0, 1.0}) {
    if (OnSegment(p, {side * 0.42, 0.28}, {side * 0.9, 0.18}, s.stroke * 0.6) ||
        OnSegment(p, {side * 0.42, 0.36}, {side * 0.9, 0.42}, s.stroke * 0.6)) {
      out = Mix(skin, kInk, 0.55);
      return true;
    }
  }
  if (Highlight(s, p, 0, cv, radius, skin, out)) return true;
  out = skin;
  return true;
}

bool PaintFroggy(const Scene& s, Point p, Rgb& out) {
  const double cv = 0.2;
  const Rgb green = s.style.body;
  const Rgb lid = Times(green, 0.8);
  // Eye bumps on top of the head.
  for (const double side : {-1.0, 1.0}) {
    const double eu = side * 0.46, ev = -0.38;
    if (InEllipse(p, eu, ev, 0.34, 0.34)) {
      if (WhiteEye(s.pose, p, eu, ev, 0.22, 0.1, s.stroke, lid, side < 0, out)) return true;
      out = ShadeBody(green, p, eu, ev, 0.34);
      return true;
    }
  }
  if (!InEllipse(p, 0, cv, 0.96, 0.68)) return false;
  const Rgb skin = ShadeBody(green, p, 0, cv, 0.8);
  if (InEllipse(p, 0, cv + 0.3, 0.62, 0.3)) {
    // Pale belly of the chin.
    const Rgb chin = Mix(skin, s.style.accent, 0.5);
    if (DrawMouth(s.pose.mouth, p, 0, 0.36, 0.5, s.stroke, out)) return true;
    out = chin;
    return true;
  }
  if (DrawMouth(s.pose.mouth, p, 0, 0.36, 0.5, s.stroke, out)) return true;
  if (Cheeks(s.pose, p, 0.62, 0.2, 0.14, 0.09, skin, out)) return true;
  if (InEllipse(p, -0.1, -0.02, 0.035, 0.03) || InEllipse(p, 0.1, -0.02, 0.035, 0.03))
    return out = Times(green, 0.55), true;
  out = skin;
  return true;
}

bool PaintPiggy(const Scene& s, Point p, Rgb& out) {
  const double cv = 0.1, radius = 0.84;
  const Rgb pink = s.style.body;
  // Floppy ears: rounded flaps on the top corners, their tips bent outward.
  for (const double side : {-1.0, 1.0}) {
    const bool flap =
        InTriangle(p, {side * 0.2, -0.72}, {side * 0.95, -0.92}, {side * 0.78, -0.28});
    const bool root = InEllipse(p, side * 0.55, -0.62, 0.3, 0.26);
    if (flap || root) {
      out = ShadeBody(s.style.accent, p, side * 0.6, -0.65, 0.4);
      return true;
    }
  }
  if (!InEllipse(p, 0, cv, radius, radius * 0.94)) return false;
  const Rgb skin = ShadeBody(pink, p, 0, cv, radius);
  if (DotEyes(s.pose, p, 0.3, -0.16, 0.11, 0.16, s.stroke, out)) return true;
  if (InEllipse(p, 0, 0.24, 0.3, 0.2)) {
    if (InEllipse(p, -0.1, 0.24, 0.055, 0.09) || InEllipse(p, 0.1, 0.24, 0.055, 0.09))
      return out = Times(s.style.accent, 0.45), true;
    out = s.style.accent;
    return true;
  }
  if (DrawMouth(s.pose.mouth, p, 0, 0.58, 0.2, s.stroke, out)) return true;
  if (Cheeks(s.pose, p, 0.55, 0.3, 0.13, 0.09, skin, out)) return true;
  if (Highlight(s, p, 0, cv, radius, skin, out)) return true;
  out = skin;
  return true;
}

bool PaintAlien(const Scene& s, Point p, Rgb& out) {
  const double cv = 0.16, radius = 0.78;
  const Rgb skin0 = s.style.body;
  // Antenna with a glowing tip that changes with the variant.
  const Rgb glow = s.pose.variant % 2 == 0 ? s.style.accent : Rgb{255, 240, 120};
  if (InEllipse(p, 0.2, -0.82, 0.13, 0.13)) return out = glow, true;
  if (OnSegment(p, {0.02, -0.6}, {0.18, -0.8}, s.stroke * 0.8))
    return out = Times(skin0, 0.8), true;
  if (!InEllipse(p, 0, cv, radius, radius)) return false;
  const Rgb skin = ShadeBody(skin0, p, 0, cv, radius);
  if (WhiteEye(s.pose, p, 0, 0.02, 0.3, 0.14, s.stroke, Times(skin0, 0.8), false, out)) return true;
  if (DrawMouth(s.pose.mouth, p, 0, 0.52, 0.24, s.stroke, out)) return true;
  if (Cheeks(s.pose, p, 0.48, 0.36, 0.12, 0.08, skin, out)) return true;
  out = skin;
  return true;
}

bool PaintGhost(const Scene& s, Point p, Rgb& out) {
  const double radius = 0.78, cv = -0.1;
  const double bottom = 0.82 + 0.1 * std::cos(p.u * 3.5 * kPi);
  const bool dome = p.v <= cv && InEllipse(p, 0, cv, radius, radius);
  const bool skirt = p.v > cv && std::fabs(p.u) <= radius && p.v <= bottom;
  if (!dome && !skirt) return false;
  const Rgb sheet = ShadeBody(s.style.body, p, 0, 0.05, 0.9);
  if (DotEyes(s.pose, p, 0.27, -0.16, 0.12, 0.2, s.stroke, out)) return true;
  if (DrawMouth(s.pose.mouth, p, 0, 0.3, 0.26, s.stroke, out)) return true;
  if (Cheeks(s.pose, p, 0.5, 0.14, 0.13, 0.08, sheet, out)) return true;
  if (Highlight(s, p, 0, cv, radius, sheet, out)) return true;
  out = sheet;
  return true;
}

// A fish facing left; frames are wider than high.
bool PaintFish(const Scene& s, Point p, Rgb& out) {
  const Rgb scales = s.style.body;
  const Rgb fins = s.style.accent;
  const double swing = 0.12 * std::sin(s.pose.variant * kPi / 2);
  // Tail, swinging with the variant.
  if (InTriangle(p, {0.7, 0.0}, {1.42, -0.62 + swing}, {1.42, 0.62 + swing})) {
    if (!InEllipse(p, 1.5, swing, 0.22, 0.32)) return out = fins, true;
  }
  // Dorsal and belly fins.
  if (InTriangle(p, {-0.35, -0.6}, {0.35, -0.6}, {0.22, -0.95})) return out = fins, true;
  if (InTriangle(p, {0.0, 0.6}, {0.36, 0.55}, {0.3, 0.8})) return out = fins, true;
  if (!InEllipse(p, -0.12, 0.0, 0.98, 0.7)) return false;
  const Rgb body = ShadeBody(scales, p, -0.12, 0, 0.8);
  if (WhiteEye(s.pose, p, -0.58, -0.2, 0.22, 0.11, s.stroke, Times(scales, 0.8), false, out))
    return true;
  // The mouth at the front, a small pout or an open O.
  if (s.pose.mouth == Mouth::kOh || s.pose.mouth == Mouth::kGrin) {
    if (InEllipse(p, -0.98, 0.14, 0.1, 0.12)) return out = kInk, true;
  } else if (s.pose.mouth == Mouth::kFrown) {
    if (OnCurve(p, -0.9, 0.24, 0.12, -0.05, s.stroke)) return out = kInk, true;
  } else if (s.pose.mouth != Mouth::kNone) {
    if (OnCurve(p, -0.9, 0.16, 0.12, 0.07, s.stroke)) return out = kInk, true;
  }
  // Gill line and a stripe of the fin colour.
  if (OnCurve(p, -0.26, 0.05, 0.34, 0.0, s.stroke * 0.7) && std::fabs(p.u + 0.26) < 0.05)
    return out = Times(scales, 0.7), true;
  if (std::fabs(p.u - 0.3) < 0.1) return out = Mix(body, fins, 0.7), true;
  if (Cheeks(s.pose, p, 0.0, 0.18, 0.1, 0.07, body, out) && p.u < -0.3) return true;
  out = body;
  return true;
}

// Where a tear runs from: just under the left eye of each character.
Point TearPlace(FaceKind kind) {
  switch (kind) {
    case FaceKind::kSunny:
      return {-0.34, 0.14};
    case FaceKind::kKitty:
      return {-0.36, 0.26};
    case FaceKind::kFroggy:
      return {-0.5, 0.0};
    case FaceKind::kPiggy:
      return {-0.34, 0.14};
    case FaceKind::kAlien:
      return {-0.22, 0.36};
    case FaceKind::kGhost:
      return {-0.29, 0.18};
    case FaceKind::kFish:
      return {-0.6, 0.16};
  }
  return {0, 0};
}

bool PaintScene(const Scene& s, Point p, Rgb& out) {
  if (s.pose.tear) {
    const Point t = TearPlace(s.style.kind);
    if (InEllipse(p, t.u, t.v, 0.08, 0.12) ||
        InTriangle(p, {t.u - 0.07, t.v - 0.04}, {t.u + 0.07, t.v - 0.04}, {t.u, t.v - 0.2})) {
      out = kTear;
      return true;
    }
  }
  switch (s.style.kind) {
    case FaceKind::kSunny:
      return PaintSunny(s, p, out);
    case FaceKind::kKitty:
      return PaintKitty(s, p, out);
    case FaceKind::kFroggy:
      return PaintFroggy(s, p, out);
    case FaceKind::kPiggy:
      return PaintPiggy(s, p, out);
    case FaceKind::kAlien:
      return PaintAlien(s, p, out);
    case FaceKind::kGhost:
      return PaintGhost(s, p, out);
    case FaceKind::kFish:
      return PaintFish(s, p, out);
  }
  return false;
}

// What the frame's fading does to a colour: greyed, then darkened.
Rgb Fade(const FacePose& pose, double r, double g, double b) {
  const double luma = 0.3 * r + 0.59 * g + 0.11 * b;
  const double keep = 1.0 - Clamp01(pose.grey);
  auto channel = [&](double c) {
    const double v = (luma + (c - luma) * keep) * Clamp01(pose.fade);
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0)));
  };
  return {channel(r), channel(g), channel(b)};
}
}  // namespace

PaintedFrame PaintFace(int width, int height, const FaceStyle& style, const FacePose& pose,
                       int samples) {
  PaintedFrame frame{RgbImage(width, height),
                     std::vector<double>(static_cast<size_t>(width) * static_cast<size_t>(height))};
  if (pose.scale <= 0 || pose.fade <= 0) return frame;

  const double half = std::min(width, height) / 2.0;
  const Scene scene{style, pose, half >= 12, std::clamp(1.25 / half, 0.09, 0.2)};
  const double flip = pose.upsideDown ? -1.0 : 1.0;
  const int n = std::max(samples, 1);
  const double weight = 1.0 / (n * n);

  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      double r = 0, g = 0, b = 0, covered = 0;
      for (int sy = 0; sy < n; ++sy) {
        for (int sx = 0; sx < n; ++sx) {
          // Frame units: the frame's half size is 1, origin at its centre.
          const double fu = (x + (sx + 0.5) / n - width / 2.0) / half;
          const double fv = (y + (sy + 0.5) / n - height / 2.0) / half + pose.lift;
          Rgb c;
          if (!PaintScene(scene, {fu / pose.scale, flip * fv / pose.scale}, c)) continue;
          r += c.r * weight;
          g += c.g * weight;
          b += c.b * weight;
          covered += weight;
        }
      }
      frame.image.at(x, y) = Fade(pose, r, g, b);
      frame.coverage[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
          covered;
    }
  }
  return frame;
}
