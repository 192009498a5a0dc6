#pragma once
// A fresh temporary folder that is the current directory while the object
// lives; the previous directory comes back and the folder goes afterwards.
#include <filesystem>
#include <string>

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

 private:
  std::filesystem::path previous_;
  std::filesystem::path folder_;
};

// Writes the bytes to the file at `path` (relative to the current directory).
void WriteBytes(const char* path, const std::string& bytes);
