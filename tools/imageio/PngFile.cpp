#include "PngFile.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {
// libpng reports errors by longjmp; the handler records the message first.
void OnPngError(png_structp png, png_const_charp message) {
  auto* error = static_cast<std::string*>(png_get_error_ptr(png));
  if (error != nullptr) *error = message;
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Kept apart from WritePng so that no object with a destructor lives in the
// frame that setjmp returns into.
bool WriteRows(FILE* file, const RgbImage& image, png_bytep* rows, std::string& error) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning);
  if (png == nullptr) {
    error = "out of memory";
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    if (error.empty()) error = "out of memory";
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}
}  // namespace

bool WritePng(const std::string& path, const RgbImage& image, std::string& error) {
  error.clear();
  if (image.width <= 0 || image.height <= 0) {
    error = "empty picture";
    return false;
  }
  std::vector<png_bytep> rows(static_cast<size_t>(image.height));
  // Rgb is three packed bytes, the layout libpng expects of an RGB row.
  static_assert(sizeof(Rgb) == 3, "Rgb must be three bytes");
  for (int y = 0; y < image.height; ++y)
    rows[static_cast<size_t>(y)] = const_cast<png_bytep>(reinterpret_cast<const png_byte*>(
        &image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width)]));

  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = "cannot open " + path + " for writing";
    return false;
  }
  const bool written = WriteRows(file, image, rows.data(), error);
  if (std::fclose(file) != 0 && written) {
    error = "cannot write " + path;
    return false;
  }
  return written;
}
