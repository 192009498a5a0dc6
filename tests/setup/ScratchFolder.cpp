#include "ScratchFolder.h"

#include <cstdio>
#include <random>
#include <stdexcept>

ScratchFolder::ScratchFolder() : previous_(std::filesystem::current_path()) {
  std::random_device random;
  folder_ =
      std::filesystem::temp_directory_path() / ("life-setup-test-" + std::to_string(random()));
  std::filesystem::create_directories(folder_);
  std::filesystem::current_path(folder_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(folder_, ignored);
}

void WriteBytes(const char* path, const std::string& bytes) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) throw std::runtime_error(std::string("cannot write ") + path);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}
