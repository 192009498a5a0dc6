#include "GifFile.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {
std::string GifErrorText(int code) {
  const char* text = GifErrorString(code);
  return text != nullptr ? text : "GIF error " + std::to_string(code);
}
}  // namespace

GifAnimation::~GifAnimation() {
  if (gif_ != nullptr) {
    int code = 0;
    EGifCloseFile(gif_, &code);
  }
}

bool GifAnimation::Fail(int code, std::string& error) {
  error = GifErrorText(code);
  if (gif_ != nullptr) {
    int ignored = 0;
    EGifCloseFile(gif_, &ignored);
    gif_ = nullptr;
  }
  return false;
}

bool GifAnimation::Open(const std::string& path, int width, int height, std::vector<Rgb> palette,
                        std::string& error) {
  if (width <= 0 || height <= 0 || width > 65535 || height > 65535) {
    error = "a GIF must be between 1x1 and 65535x65535 pixels";
    return false;
  }
  if (palette.empty()) palette.push_back({0, 0, 0});
  if (palette.size() > 255) palette.resize(255);
  transparent_ = static_cast<int>(palette.size());

  // Opened here rather than by giflib, which would make the file private
  // to its owner.
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  int code = 0;
  gif_ = EGifOpenFileHandle(fd, &code);
  if (gif_ == nullptr) {
    close(fd);
    error = "cannot write " + path + ": " + GifErrorText(code);
    return false;
  }
  EGifSetGifVersion(gif_, true);

  // The colour table holds a power of two of entries; the one after the
  // palette is the transparent index.
  int bits = 1;
  while ((1 << bits) < transparent_ + 1) ++bits;
  ColorMapObject* map = GifMakeMapObject(1 << bits, nullptr);
  if (map == nullptr) return Fail(E_GIF_ERR_NOT_ENOUGH_MEM, error);
  for (int i = 0; i < map->ColorCount; ++i) {
    const Rgb c = i < transparent_ ? palette[static_cast<size_t>(i)] : Rgb{0, 0, 0};
    map->Colors[i] = {c.r, c.g, c.b};
  }
  const int put = EGifPutScreenDesc(gif_, width, height, bits, 0, map);
  GifFreeMapObject(map);
  if (put == GIF_ERROR) return Fail(gif_->Error, error);

  // Loop forever (the NETSCAPE2.0 application extension).
  const unsigned char loop[] = {1, 0, 0};
  if (EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
      EGifPutExtensionBlock(gif_, 11, "NETSCAPE2.0") == GIF_ERROR ||
      EGifPutExtensionBlock(gif_, 3, loop) == GIF_ERROR ||
      EGifPutExtensionTrailer(gif_) == GIF_ERROR)
    return Fail(gif_->Error, error);

  width_ = width;
  height_ = height;
  mapper_ = std::make_unique<PaletteMapper>(std::move(palette));
  previous_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  first_ = true;
  return true;
}

bool GifAnimation::AddFrame(const RgbImage& frame, unsigned delayMs, std::string& error) {
  if (gif_ == nullptr || frame.width != width_ || frame.height != height_) {
    error = "GIF frame of the wrong size";
    return false;
  }
  std::vector<uint8_t> indices(previous_.size());
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = mapper_->Index(frame.pixels[i]);

  // The rectangle that changed; the first frame is stored whole.
  int left = 0, top = 0, right = width_ - 1, bottom = height_ - 1;
  if (!first_) {
    left = width_;
    top = height_;
    right = bottom = -1;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        const size_t i =
            static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
        if (indices[i] == previous_[i]) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    if (right < 0) left = top = right = bottom = 0;  // nothing changed: one clear pixel
  }

  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSE_DO_NOT;
  control.UserInputFlag = false;
  control.DelayTime = static_cast<int>((delayMs + 5) / 10);
  control.TransparentColor = first_ ? NO_TRANSPARENT_COLOR : transparent_;
  GifByteType extension[4];
  const size_t length = EGifGCBToExtension(&control, extension);
  if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) ==
      GIF_ERROR)
    return Fail(gif_->Error, error);

  const int w = right - left + 1, h = bottom - top + 1;
  if (EGifPutImageDesc(gif_, left, top, w, h, false, nullptr) == GIF_ERROR)
    return Fail(gif_->Error, error);
  std::vector<GifPixelType> line(static_cast<size_t>(w));
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      const size_t i =
          static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
      const bool unchanged = !first_ && indices[i] == previous_[i];
      line[static_cast<size_t>(x - left)] =
          static_cast<GifPixelType>(unchanged ? transparent_ : indices[i]);
    }
    if (EGifPutLine(gif_, line.data(), w) == GIF_ERROR) return Fail(gif_->Error, error);
  }
  previous_ = std::move(indices);
  first_ = false;
  return true;
}

bool GifAnimation::Close(std::string& error) {
  if (gif_ == nullptr) return true;
  int code = 0;
  const int closed = EGifCloseFile(gif_, &code);
  gif_ = nullptr;
  if (closed == GIF_ERROR) {
    error = GifErrorText(code);
    return false;
  }
  return true;
}
