// Pictures as DIB sections in memory device contexts: the pixels are written
// directly, GDI draws the text and blits the picture to the window.
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "Acquisition.h"
#include "FaceSheetFile.h"
#include "Picture.h"

namespace {
constexpr int64_t kMaxPixels = int64_t{1} << 28;

bool SizeAcceptable(int width, int height) {
  return width > 0 && height > 0 && static_cast<int64_t>(width) * height <= kMaxPixels;
}

// The face-sheet file's size and header checked before the platform's
// loader reads it whole.
bool FaceSheetFileAcceptable(const char* fileName) {
  HANDLE file = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD high = 0;
  const DWORD low = GetFileSize(file, &high);
  unsigned char header[kFaceSheetHeaderBytes] = {};
  DWORD got = 0;
  const bool read = low != INVALID_FILE_SIZE || GetLastError() == NO_ERROR;
  const bool accepted = read && ReadFile(file, header, sizeof header, &got, nullptr) != 0 &&
                        FaceSheetHeaderAcceptable(header, got, (uint64_t{high} << 32) | low);
  CloseHandle(file);
  return accepted;
}

BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}
}  // namespace

Picture::~Picture() { Release(); }

void Picture::Release() {
  if (dc_ != nullptr) {
    if (previousBitmap_ != nullptr) SelectObject(dc_, previousBitmap_);
    DeleteDC(dc_);
  }
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  previousBitmap_ = nullptr;
  pixels_ = nullptr;
  width_ = height_ = stride_ = 0;
  gdiPending_ = false;
}

bool Picture::Create(WindowHandle window, int width, int height) {
  Release();
  if (!SizeAcceptable(width, height) || !MayAcquire(Acquisition::kSurface)) return false;
  HDC windowDc = GetDC(window);
  if (windowDc == nullptr) return false;
  dc_ = CreateCompatibleDC(windowDc);
  const BITMAPINFO info = TopDown32(width, height);
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(window, windowDc);
  if (dc_ == nullptr || bitmap_ == nullptr || bits == nullptr) {
    Release();
    return false;
  }
  previousBitmap_ = SelectObject(dc_, bitmap_);
  pixels_ = static_cast<Pixel*>(bits);
  width_ = stride_ = width;
  height_ = height;
  std::memset(pixels_, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * sizeof(Pixel));
  return true;
}

Picture::LoadResult Picture::LoadScaled(WindowHandle window, const char* fileName, int width,
                                        int height) {
  if (!SizeAcceptable(width, height) || !FaceSheetFileAcceptable(fileName))
    return LoadResult::kUnreadable;
  HANDLE image = LoadImageA(nullptr, fileName, IMAGE_BITMAP, width, height, LR_LOADFROMFILE);
  if (image == nullptr) return LoadResult::kUnreadable;
  HBITMAP sheet = static_cast<HBITMAP>(image);
  LoadResult result = LoadResult::kNoSurface;
  if (Create(window, width, height)) {
    BITMAPINFO info = TopDown32(width, height);
    if (GetDIBits(dc_, sheet, 0, static_cast<UINT>(height), pixels_, &info, DIB_RGB_COLORS) ==
        height)
      result = LoadResult::kLoaded;
    else
      Release();
  }
  DeleteObject(sheet);
  return result;
}

void Picture::BeforePixelWrite() {
  // GDI may batch its drawing; it must land before we write the bits.
  if (gdiPending_) {
    GdiFlush();
    gdiPending_ = false;
  }
}

void Picture::PrepareText(FontHandle font, uint32_t color) {
  if (dc_ == nullptr) return;
  if (font != nullptr) SelectObject(dc_, font);
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, color);
}

void Picture::WriteText(int x, int y, const char* text, int length) {
  if (dc_ == nullptr) return;
  TextOutA(dc_, x, y, text, length);
  gdiPending_ = true;
}
