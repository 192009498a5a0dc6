#include "FaceSets.h"

#include <algorithm>
#include <cmath>

#include "PixelFaces.h"

namespace {
// The characters. Colours are chosen to stay apart from each other on black.
constexpr FaceStyle kSunny = {FaceKind::kSunny, {255, 208, 40}, {255, 150, 60}};
constexpr FaceStyle kKitty = {FaceKind::kKitty, {255, 146, 56}, {255, 170, 185}};
constexpr FaceStyle kFroggy = {FaceKind::kFroggy, {96, 204, 76}, {230, 240, 150}};
constexpr FaceStyle kPiggy = {FaceKind::kPiggy, {255, 160, 190}, {235, 105, 145}};
constexpr FaceStyle kAlien = {FaceKind::kAlien, {96, 170, 255}, {255, 80, 90}};
constexpr FaceStyle kGhost = {FaceKind::kGhost, {226, 222, 255}, {190, 180, 255}};

constexpr FaceStyle kGoldfish = {FaceKind::kFish, {255, 140, 40}, {255, 236, 220}};
constexpr FaceStyle kBlueTang = {FaceKind::kFish, {60, 130, 255}, {255, 220, 60}};
constexpr FaceStyle kLemonFish = {FaceKind::kFish, {250, 225, 60}, {80, 200, 255}};
constexpr FaceStyle kPinkFish = {FaceKind::kFish, {255, 120, 190}, {170, 110, 255}};

double Lerp(double a, double b, double t) { return a + (b - a) * t; }

// A face appearing: a small closed-eyed blob grows, opens its eyes and
// greets with a grin.
std::vector<FacePose> BirthPoses(int count) {
  std::vector<FacePose> poses;
  for (int i = 1; i <= count; ++i) {
    const double t = static_cast<double>(i) / count;
    FacePose pose;
    pose.scale = Lerp(0.3, 1.0, (i - 1.0) / std::max(count - 1.0, 1.0));
    pose.fade = Lerp(0.55, 1.0, t);
    pose.eyes = i + 2 > count ? Eyes::kOpen : Eyes::kClosed;
    pose.mouth = t < 0.3 ? Mouth::kNone : (i == count ? Mouth::kGrin : Mouth::kSmile);
    pose.variant = i;
    poses.push_back(pose);
  }
  return poses;
}

// A living face idling. A random one of these shows each generation, so
// they differ only in small details: a blink, a glance, a grin.
std::vector<FacePose> IdlePoses(int count) {
  const FacePose base;
  std::vector<FacePose> all;
  FacePose pose = base;
  all.push_back(pose);  // plain smile
  pose = base;
  pose.lookX = -1;
  all.push_back(pose);  // glance left
  pose = base;
  pose.eyes = Eyes::kClosed;
  all.push_back(pose);  // blink
  pose = base;
  pose.lookX = 1;
  all.push_back(pose);  // glance right
  pose = base;
  pose.mouth = Mouth::kGrin;
  all.push_back(pose);  // grin
  pose = base;
  pose.blush = true;
  pose.lookY = -0.6;
  all.push_back(pose);  // a shy look up
  pose = base;
  pose.eyes = Eyes::kWink;
  all.push_back(pose);  // wink
  pose = base;
  pose.mouth = Mouth::kTongue;
  pose.lookY = 0.5;
  all.push_back(pose);  // tongue out
  all.resize(static_cast<size_t>(count), base);
  for (int i = 0; i < count; ++i) all[static_cast<size_t>(i)].variant = i;
  return all;
}

// A face dying away: surprise, sadness, eyes closing, colour draining, then
// shrinking and drifting upward into the dark; with bellyUp it turns upside
// down once its eyes are closed.
std::vector<FacePose> DeathPoses(int count, bool bellyUp) {
  std::vector<FacePose> poses;
  for (int i = 0; i < count; ++i) {
    const double t = count > 1 ? static_cast<double>(i) / (count - 1) : 1.0;
    FacePose pose;
    pose.variant = i;
    pose.grey = std::clamp(t / 0.45, 0.0, 1.0);
    pose.fade = Lerp(1.0, 0.22, t * t * 0.4 + t * 0.6);
    pose.scale = t < 0.3 ? 1.0 : Lerp(1.0, 0.22, (t - 0.3) / 0.7);
    pose.lift = t < 0.4 ? 0.0 : Lerp(0.0, 0.35, (t - 0.4) / 0.6);
    if (i == 0) {
      pose.eyes = Eyes::kWide;
      pose.mouth = Mouth::kOh;
    } else if (t < 0.2) {
      pose.mouth = Mouth::kFrown;
      pose.tear = true;
    } else if (t < 0.35) {
      pose.eyes = Eyes::kHalf;
      pose.mouth = Mouth::kFrown;
      pose.tear = true;
    } else {
      pose.eyes = Eyes::kClosed;
      pose.mouth = t < 0.6 ? Mouth::kFlat : Mouth::kNone;
      pose.upsideDown = bellyUp;
    }
    poses.push_back(pose);
  }
  return poses;
}

std::vector<FacePose> Timeline(int birth, int idle, int death, bool bellyUp) {
  std::vector<FacePose> poses(1);  // frame 0: blank
  poses[0].scale = 0;
  for (const auto& group : {BirthPoses(birth), IdlePoses(idle), DeathPoses(death, bellyUp)})
    poses.insert(poses.end(), group.begin(), group.end());
  return poses;
}

FaceSet MakeSet(const char* file, int width, int height, int birth, int idle, int death,
                std::vector<FaceStyle> rows, int samples, bool bellyUp = false) {
  FaceSet set;
  set.file = file;
  set.frameWidth = width;
  set.frameHeight = height;
  set.bornEnd = birth;
  set.dieStart = birth + idle + 1;
  set.samples = samples;
  set.rows = std::move(rows);
  set.poses = Timeline(birth, idle, death, bellyUp);
  return set;
}
}  // namespace

std::vector<FaceSet> ShippedFaceSets() {
  std::vector<FaceSet> sets;
  // The default set first: 16x16, 25 frames, six characters.
  sets.push_back(MakeSet("lifeface.bmp", 16, 16, 5, 6, 13,
                         {kSunny, kKitty, kFroggy, kPiggy, kAlien, kGhost}, 5));
  // Tiny faces for large screens: many cells, short animations.
  sets.push_back(
      MakeSet("tinyface.bmp", 8, 8, 2, 4, 6, {kSunny, kKitty, kFroggy, kPiggy, kAlien, kGhost}, 1));
  sets.back().pixelArt = true;
  // Big faces with room for highlights and longer animations.
  sets.push_back(MakeSet("bigface.bmp", 32, 32, 6, 8, 15,
                         {kSunny, kKitty, kFroggy, kPiggy, kAlien, kGhost}, 4));
  // Fish in wide cells; a dying fish turns belly up as it floats away.
  sets.push_back(MakeSet("fishface.bmp", 24, 16, 4, 5, 10,
                         {kGoldfish, kBlueTang, kLemonFish, kPinkFish}, 4, true));
  return sets;
}

RgbImage PaintSheet(const FaceSet& set) {
  RgbImage sheet(set.numFrames() * set.frameWidth, set.numRows() * set.frameHeight);
  for (int r = 0; r < set.numRows(); ++r) {
    for (int f = 1; f < set.numFrames(); ++f) {
      const FaceStyle& style = set.rows[static_cast<size_t>(r)];
      const FacePose& pose = set.poses[static_cast<size_t>(f)];
      const RgbImage frame =
          set.pixelArt ? PaintPixelFace(style, pose)
                       : PaintFace(set.frameWidth, set.frameHeight, style, pose, set.samples).image;
      PasteImage(sheet, frame, f * set.frameWidth, r * set.frameHeight);
    }
  }
  return sheet;
}

std::string CatalogueText(const std::vector<FaceSet>& sets) {
  std::string text;
  for (const FaceSet& set : sets) {
    text += set.file + ' ' + std::to_string(set.frameWidth) + ' ' +
            std::to_string(set.frameHeight) + ' ' + std::to_string(set.numFrames()) + ' ' +
            std::to_string(set.numRows()) + ' ' + std::to_string(set.bornEnd) + ' ' +
            std::to_string(set.dieStart) + "\r\n";
  }
  return text;
}
