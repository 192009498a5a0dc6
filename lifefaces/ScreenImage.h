#pragma once
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <cstdint>

#include "LifeScene.h"

// A client-side image of the picture for one window: in a shared-memory
// segment the X server reads directly (MIT-SHM) when the display offers it,
// else in ordinary memory sent with XPutImage. The segment is marked for
// removal as soon as it is attached, so none is left behind whatever way
// the process ends.
class ScreenImage {
 public:
  ScreenImage() = default;
  ~ScreenImage() { Destroy(); }
  ScreenImage(const ScreenImage&) = delete;
  ScreenImage& operator=(const ScreenImage&) = delete;

  // An image of width x height for the visual and depth. Returns false when
  // no image can be made at all.
  bool Create(Display* display, Visual* visual, int depth, int width, int height, bool tryShm);
  void Destroy();

  bool usesShm() const { return shmAttached_; }
  bool valid() const { return image_ != nullptr; }

  // The image's own pixels when it stores 0x00RRGGBB pixels in whole words
  // as a picture does, so that a picture can be drawn straight into it;
  // else null. Rows are directStride() pixels apart.
  uint32_t* directPixels() const;
  int directStride() const;

  // Copies the rectangle of a picture (nothing to do when its pixels are
  // the image's own) of 0x00RRGGBB pixels into the image.
  void Load(const uint32_t* pixels, int stride, const ScreenRect& rect);
  // Sends the rectangle of the image to the same place of the drawable,
  // moved by (dx, dy).
  void Put(Drawable drawable, GC gc, const ScreenRect& rect, int dx = 0, int dy = 0);

 private:
  bool CreateShared(Visual* visual, int depth, int width, int height);
  bool CreatePlain(Visual* visual, int depth, int width, int height);

  Display* display_ = nullptr;
  XImage* image_ = nullptr;
  XShmSegmentInfo shm_{};
  bool shmAttached_ = false;
  bool directCopy_ = false;  // the image stores 0x00RRGGBB pixels as we do
};
