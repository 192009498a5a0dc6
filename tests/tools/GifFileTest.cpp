#include <gif_lib.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "GifFile.h"

namespace {
std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() /
          (std::string("life-gif-test-") + std::to_string(getpid()) + "-" + name))
      .string();
}

// Decodes every frame as a viewer shows it: each stored rectangle drawn
// over the previous picture, transparent pixels leaving it unchanged.
std::vector<RgbImage> DecodeFrames(const std::string& path, std::vector<int>& delays) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  EXPECT_NE(gif, nullptr);
  if (gif == nullptr) return {};
  EXPECT_EQ(DGifSlurp(gif), GIF_OK);
  std::vector<RgbImage> frames;
  RgbImage canvas(gif->SWidth, gif->SHeight);
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    GraphicsControlBlock control{};
    DGifSavedExtensionToGCB(gif, i, &control);
    delays.push_back(control.DelayTime);
    const ColorMapObject* map =
        image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    for (int y = 0; y < image.ImageDesc.Height; ++y) {
      for (int x = 0; x < image.ImageDesc.Width; ++x) {
        const int index = image.RasterBits[y * image.ImageDesc.Width + x];
        if (index == control.TransparentColor) continue;
        const GifColorType c = map->Colors[index];
        canvas.at(image.ImageDesc.Left + x, image.ImageDesc.Top + y) = {c.Red, c.Green, c.Blue};
      }
    }
    frames.push_back(canvas);
  }
  DGifCloseFile(gif, &error);
  return frames;
}
}  // namespace

TEST(GifAnimation, ViewersSeeEveryFrameExactlyWhenItsColoursAreInThePalette) {
  const std::vector<Rgb> palette = {{0, 0, 0}, {255, 0, 0}, {0, 200, 0}, {10, 20, 250}};
  std::vector<RgbImage> frames(4, RgbImage(7, 5));
  frames[1].at(2, 1) = palette[1];
  frames[2] = frames[1];
  frames[2].at(6, 4) = palette[2];
  frames[2].at(0, 0) = palette[3];
  frames[3] = frames[2];  // nothing changes

  const std::string path = TempPath("exact.gif");
  GifAnimation gif;
  std::string error;
  ASSERT_TRUE(gif.Open(path, 7, 5, palette, error)) << error;
  for (const RgbImage& frame : frames) ASSERT_TRUE(gif.AddFrame(frame, 150, error)) << error;
  ASSERT_TRUE(gif.Close(error)) << error;

  std::vector<int> delays;
  const std::vector<RgbImage> decoded = DecodeFrames(path, delays);
  ASSERT_EQ(decoded.size(), frames.size());
  for (size_t i = 0; i < frames.size(); ++i) {
    EXPECT_TRUE(decoded[i].pixels == frames[i].pixels) << "frame " << i;
    EXPECT_EQ(delays[i], 15);  // hundredths of a second
  }
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_NE(info.st_mode & S_IROTH, 0u) << "the file should be readable by others, as usual";
  std::filesystem::remove(path);
}

TEST(GifAnimation, RefusesFramesOfAnotherSizeAndUnwritablePaths) {
  GifAnimation gif;
  std::string error;
  EXPECT_FALSE(gif.Open("/nonexistent-dir/x.gif", 4, 4, {{0, 0, 0}}, error));
  EXPECT_FALSE(error.empty());
  const std::string path = TempPath("size.gif");
  ASSERT_TRUE(gif.Open(path, 4, 4, {{0, 0, 0}}, error));
  EXPECT_FALSE(gif.AddFrame(RgbImage(5, 4), 100, error));
  EXPECT_TRUE(gif.Close(error));
  std::filesystem::remove(path);
}
