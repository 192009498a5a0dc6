#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The whole content of a file; empty when it cannot be read.
inline std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return bytes;
  unsigned char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + got);
  std::fclose(file);
  return bytes;
}
