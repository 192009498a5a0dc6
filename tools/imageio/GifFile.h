#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Palette.h"
#include "RgbImage.h"

struct GifFileType;

// Writes an animated GIF frame by frame, looping forever, with one global
// palette. Each frame stores only the rectangle that changed since the
// previous one, with unchanged pixels in it transparent, which keeps long
// animations of mostly still pictures small.
class GifAnimation {
 public:
  GifAnimation() = default;
  ~GifAnimation();
  GifAnimation(const GifAnimation&) = delete;
  GifAnimation& operator=(const GifAnimation&) = delete;

  // palette: at most 255 colours (one index is kept for transparency).
  bool Open(const std::string& path, int width, int height, std::vector<Rgb> palette,
            std::string& error);
  // frame must have the animation's size. delayMs is rounded to the
  // hundredths of a second GIF stores.
  bool AddFrame(const RgbImage& frame, unsigned delayMs, std::string& error);
  bool Close(std::string& error);

 private:
  bool Fail(int code, std::string& error);

  GifFileType* gif_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int transparent_ = 0;
  std::unique_ptr<PaletteMapper> mapper_;
  std::vector<uint8_t> previous_;
  bool first_ = true;
};
