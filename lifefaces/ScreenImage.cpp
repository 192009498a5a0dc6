#include "ScreenImage.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>
#include <cstring>

namespace {
// Errors of the attach request are caught, not fatal: the server may be
// remote or may not reach our segment.
bool attachFailed = false;
int CatchAttachError(Display*, XErrorEvent*) {
  attachFailed = true;
  return 0;
}

bool NativeOrderIsLsbFirst() {
  const uint16_t probe = 1;
  unsigned char first = 0;
  std::memcpy(&first, &probe, 1);
  return first == 1;
}

// Scales an 8-bit channel into a visual's colour mask.
unsigned long IntoMask(uint32_t value, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0, bits = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  while (((mask >> (shift + bits)) & 1) != 0) ++bits;
  const unsigned long scaled = bits >= 8 ? value << (bits - 8) : value >> (8 - bits);
  return (scaled << shift) & mask;
}
}  // namespace

bool ScreenImage::Create(Display* display, Visual* visual, int depth, int width, int height,
                         bool tryShm) {
  Destroy();
  display_ = display;
  if (width <= 0 || height <= 0) return false;
  if (!(tryShm && XShmQueryExtension(display) && CreateShared(visual, depth, width, height)) &&
      !CreatePlain(visual, depth, width, height))
    return false;
  directCopy_ = image_->bits_per_pixel == 32 && image_->red_mask == 0xFF0000 &&
                image_->green_mask == 0xFF00 && image_->blue_mask == 0xFF &&
                (image_->byte_order == LSBFirst) == NativeOrderIsLsbFirst();
  return true;
}

bool ScreenImage::CreateShared(Visual* visual, int depth, int width, int height) {
  image_ = XShmCreateImage(display_, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &shm_,
                           static_cast<unsigned>(width), static_cast<unsigned>(height));
  if (image_ == nullptr) return false;
  const size_t bytes = static_cast<size_t>(image_->bytes_per_line) * static_cast<size_t>(height);
  shm_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (shm_.shmid < 0) {
    XDestroyImage(image_);
    image_ = nullptr;
    return false;
  }
  shm_.shmaddr = static_cast<char*>(shmat(shm_.shmid, nullptr, 0));
  // Marked for removal at once: it goes away with the last detach, ours or
  // the server's, however the process ends from here on. Linux lets the
  // server attach a segment so marked.
  shmctl(shm_.shmid, IPC_RMID, nullptr);
  if (shm_.shmaddr == reinterpret_cast<char*>(-1)) {
    XDestroyImage(image_);
    image_ = nullptr;
    return false;
  }
  image_->data = shm_.shmaddr;
  shm_.readOnly = False;

  attachFailed = false;
  XSync(display_, False);
  XErrorHandler previous = XSetErrorHandler(CatchAttachError);
  const Bool attached = XShmAttach(display_, &shm_);
  XSync(display_, False);
  XSetErrorHandler(previous);
  if (!attached || attachFailed) {
    shmdt(shm_.shmaddr);
    image_->data = nullptr;
    XDestroyImage(image_);
    image_ = nullptr;
    return false;
  }
  shmAttached_ = true;
  return true;
}

bool ScreenImage::CreatePlain(Visual* visual, int depth, int width, int height) {
  image_ = XCreateImage(display_, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                        static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
  if (image_ == nullptr) return false;
  const size_t bytes = static_cast<size_t>(image_->bytes_per_line) * static_cast<size_t>(height);
  image_->data = static_cast<char*>(std::calloc(bytes, 1));
  if (image_->data == nullptr) {
    XDestroyImage(image_);
    image_ = nullptr;
    return false;
  }
  return true;
}

void ScreenImage::Destroy() {
  if (image_ == nullptr) return;
  if (shmAttached_) {
    XShmDetach(display_, &shm_);
    XSync(display_, False);
    shmdt(shm_.shmaddr);
    image_->data = nullptr;
    shmAttached_ = false;
  }
  XDestroyImage(image_);  // frees the plain image's memory
  image_ = nullptr;
}

uint32_t* ScreenImage::directPixels() const {
  if (image_ == nullptr || !directCopy_ || image_->bytes_per_line % 4 != 0) return nullptr;
  return reinterpret_cast<uint32_t*>(image_->data);
}

int ScreenImage::directStride() const { return image_ == nullptr ? 0 : image_->bytes_per_line / 4; }

void ScreenImage::Load(const uint32_t* pixels, int stride, const ScreenRect& r) {
  if (image_ == nullptr || pixels == directPixels()) return;
  for (int y = r.top; y < r.bottom; ++y) {
    const uint32_t* from =
        pixels + static_cast<size_t>(y) * static_cast<size_t>(stride) + static_cast<size_t>(r.left);
    if (directCopy_) {
      char* to = image_->data +
                 static_cast<size_t>(y) * static_cast<size_t>(image_->bytes_per_line) +
                 static_cast<size_t>(r.left) * 4;
      std::memcpy(to, from, static_cast<size_t>(r.width()) * 4);
      continue;
    }
    for (int x = 0; x < r.width(); ++x) {
      const uint32_t p = from[x];
      XPutPixel(image_, r.left + x, y,
                IntoMask((p >> 16) & 0xFF, image_->red_mask) |
                    IntoMask((p >> 8) & 0xFF, image_->green_mask) |
                    IntoMask(p & 0xFF, image_->blue_mask));
    }
  }
}

void ScreenImage::Put(Drawable drawable, GC gc, const ScreenRect& r, int dx, int dy) {
  if (image_ == nullptr) return;
  const auto w = static_cast<unsigned>(r.width()), h = static_cast<unsigned>(r.height());
  if (shmAttached_)
    XShmPutImage(display_, drawable, gc, image_, r.left, r.top, r.left + dx, r.top + dy, w, h,
                 False);
  else
    XPutImage(display_, drawable, gc, image_, r.left, r.top, r.left + dx, r.top + dy, w, h);
}
