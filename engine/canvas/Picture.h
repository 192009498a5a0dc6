#pragma once
#include <cstdint>

#include "Platform.h"

// A 32-bit pixel as a top-down 32-bit DIB stores it: 0x00RRGGBB. A build
// for a browser's canvas (LIFE_PIXELS_RGBA) stores what the canvas's image
// data holds instead, bytes R, G, B and an opaque alpha: 0xFFBBGGRR.
using Pixel = uint32_t;

#ifdef LIFE_PIXELS_RGBA
constexpr Pixel kBlack = 0xFF000000u;
constexpr Pixel PixelFromRgb(uint32_t r, uint32_t g, uint32_t b) {
  return kBlack | (b << 16) | (g << 8) | r;
}
#else
constexpr Pixel kBlack = 0;
constexpr Pixel PixelFromRgb(uint32_t r, uint32_t g, uint32_t b) {
  return (r << 16) | (g << 8) | b;
}
#endif

// Colours reach the engine as 0x00BBGGRR values; pictures hold pixels.
constexpr Pixel PixelFromColor(uint32_t color) {
  return PixelFromRgb(color & 0xFFu, (color >> 8) & 0xFFu, (color >> 16) & 0xFFu);
}

struct PixelRect {
  int left, top, right, bottom;
};

// An off-screen picture with directly addressable pixels. On Windows it is a
// DIB section selected into a memory device context, so GDI can draw text on
// it and blit it to a window; natively it is plain memory. The pixel
// operations are plain memory writes in both, and clip to the picture.
class Picture {
 public:
  enum class LoadResult { kLoaded, kUnreadable, kNoSurface };

  Picture() = default;
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // Makes a black picture (kBlack) of the given size for the window's screen.
  // Returns false (and stays empty) when it cannot be made.
  bool Create(WindowHandle window, int width, int height);

  // Loads a bitmap file by the name as given, scaled to exactly
  // width x height whatever its size in the file.
  LoadResult LoadScaled(WindowHandle window, const char* fileName, int width, int height);

#ifndef _WIN32
  // Draws into memory the caller owns and keeps alive: width x height pixels,
  // rows `stride` pixels apart. Returns false (and stays empty) for a size
  // or stride it cannot take.
  bool Attach(Pixel* pixels, int width, int height, int stride);
#endif

  // Gives the picture's memory back (or lets go of the caller's); the
  // picture is empty afterwards.
  void Release();

  bool valid() const { return pixels_ != nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const { return stride_; }
  const Pixel* row(int y) const { return pixels_ + static_cast<intptr_t>(y) * stride_; }
  Pixel pixel(int x, int y) const { return row(y)[x]; }

  void Fill(const PixelRect& rect, Pixel color);
  // A border one pixel wide along the inside of rect.
  void Frame(const PixelRect& rect, Pixel color);
  void SetPixel(int x, int y, Pixel color);
  // Copies the w x h tile at (sx, sy) of source to (dx, dy). The caller
  // keeps both rectangles inside their pictures.
  void CopyTile(const Picture& source, int sx, int sy, int w, int h, int dx, int dy);
  // Copies the whole source to (0, 0).
  void CopyFrom(const Picture& source);
  // Copies the rectangle of source to the same place here (clipped).
  void CopyRectFrom(const Picture& source, const PixelRect& rect);
  // ORs the whole source onto (dx, dy); the offset may lie partly or wholly
  // outside this picture.
  void OrCopyFrom(const Picture& source, int dx, int dy);

  // Text is drawn with a transparent background in the font and colour
  // given here; an absent font draws in the picture's default font.
  void PrepareText(FontHandle font, uint32_t color);
  void WriteText(int x, int y, const char* text, int length);

#ifdef _WIN32
  struct HDC__* dc() const {
    return dc_;
  }
#endif

 private:
  Pixel* mutableRow(int y) { return pixels_ + static_cast<intptr_t>(y) * stride_; }
  void BeforePixelWrite();

  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;  // pixels from one row to the next
  Pixel* pixels_ = nullptr;
#ifdef _WIN32
  struct HDC__* dc_ = nullptr;
  struct HBITMAP__* bitmap_ = nullptr;
  void* previousBitmap_ = nullptr;
  bool gdiPending_ = false;
#else
  bool attached_ = false;  // the pixels are the caller's
  FontHandle font_ = nullptr;
  Pixel textColor_ = 0;
#endif
};
