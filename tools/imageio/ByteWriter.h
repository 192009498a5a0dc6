#pragma once
#include <cstdint>
#include <vector>

// Appends little-endian integers to a byte buffer, as the Windows bitmap and
// icon file formats store them.
class ByteWriter {
 public:
  void U8(uint32_t v) { bytes_.push_back(static_cast<uint8_t>(v & 0xFFu)); }
  void U16(uint32_t v) {
    U8(v);
    U8(v >> 8);
  }
  void U32(uint32_t v) {
    U16(v & 0xFFFFu);
    U16(v >> 16);
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void Zeros(size_t count) { bytes_.insert(bytes_.end(), count, 0); }

  size_t size() const { return bytes_.size(); }
  std::vector<uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};
