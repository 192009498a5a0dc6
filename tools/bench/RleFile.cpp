#include "RleFile.h"

#include <cstdio>

namespace {
constexpr size_t kLineLength = 70;

// Collects runs and breaks lines only between whole runs.
class RunWriter {
 public:
  explicit RunWriter(std::string& text) : text_(text) {}

  void Add(uint32_t count, char letter) {
    if (count == 0) return;
    if (letter == pendingLetter_) {
      pendingCount_ += count;
      return;
    }
    Flush();
    pendingLetter_ = letter;
    pendingCount_ = count;
  }

  void Flush() {
    if (pendingCount_ == 0) return;
    std::string run = pendingCount_ == 1 ? "" : std::to_string(pendingCount_);
    run += pendingLetter_;
    if (lineLength_ + run.size() > kLineLength) {
      text_ += '\n';
      lineLength_ = 0;
    }
    text_ += run;
    lineLength_ += run.size();
    pendingCount_ = 0;
    pendingLetter_ = 0;
  }

 private:
  std::string& text_;
  size_t lineLength_ = 0;
  uint32_t pendingCount_ = 0;
  char pendingLetter_ = 0;
};
}  // namespace

std::string RleText(uint32_t width, uint32_t height,
                    const std::function<bool(uint32_t x, uint32_t y)>& alive,
                    const std::string& rule) {
  std::string text = "x = " + std::to_string(width) + ", y = " + std::to_string(height) +
                     ", rule = " + rule + "\n";
  RunWriter runs(text);
  for (uint32_t y = 0; y < height; ++y) {
    // Dead cells at the end of a row are left out.
    uint32_t dead = 0;
    for (uint32_t x = 0; x < width; ++x) {
      if (!alive(x, y)) {
        ++dead;
        continue;
      }
      runs.Add(dead, 'b');
      dead = 0;
      runs.Add(1, 'o');
    }
    if (y + 1 < height) runs.Add(1, '$');
  }
  runs.Add(1, '!');
  runs.Flush();
  return text + "\n";
}

bool WriteRle(const std::string& path, const CellMap& world) {
  const std::string size = std::to_string(world.cols()) + "," + std::to_string(world.rows());
  const std::string text = RleText(
      world.cols(), world.rows(), [&world](uint32_t x, uint32_t y) { return world.IsAlive(x, y); },
      "B3/S23:T" + size);
  FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}
