// libFuzzer target: the face catalogue parser on arbitrary file contents.
// Checks what every caller relies on: the count stays within the maximum,
// every counted entry owns a non-empty name of at most 254 characters
// without white space, and releasing the table leaks nothing. Some inputs
// also make a name copy fail, which must keep the entries read before it.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FaceCatalogue.h"
#include "FuzzCheck.h"

namespace {

const uint8_t* input = nullptr;
size_t inputSize = 0;
size_t allocationsLeft = 0;  // 0: no failure
FILE* openFile = nullptr;

unsigned FuzzWindowsDirectory(char* buffer, unsigned size) {
  std::snprintf(buffer, size, "C:\\WINDOWS");
  return 10;
}

FILE* FuzzOpenFile(const char*) {
  // fmemopen rejects an empty buffer: an empty file is a one-byte buffer
  // read to its zero-length end.
  static const char empty[1] = {0};
  openFile = inputSize > 0 ? fmemopen(const_cast<uint8_t*>(input), inputSize, "r")
                           : fmemopen(const_cast<char*>(empty), 1, "r");
  if (inputSize == 0 && openFile != nullptr) std::fseek(openFile, 1, SEEK_SET);
  return openFile;
}

void FuzzShowMessage(const char*, const char*) { std::abort(); }

void* FuzzAllocate(size_t size) {
  if (allocationsLeft == 1) return nullptr;
  if (allocationsLeft > 1) --allocationsLeft;
  return std::malloc(size);
}

const CatalogueSeam kFuzzSeam = {FuzzWindowsDirectory, FuzzOpenFile, FuzzShowMessage, FuzzAllocate};

void Check(bool condition, const char* what) { CheckInvariant(condition, "catalogue", what); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  input = data;
  inputSize = size;
  // One input in eight fails the n-th name copy, n from the input's size.
  allocationsLeft = size % 8 == 3 ? 1 + size % 5 : 0;
  SetCatalogueSeam(&kFuzzSeam);

  FaceInfo table[kMaxFaces];
  std::memset(table, 0, sizeof table);
  const unsigned maximum = size > 0 ? 1 + data[0] % kMaxFaces : kMaxFaces;
  const unsigned count = ReadFaceCatalogue("life.nfo", table, maximum);

  Check(count <= maximum, "count within the maximum");
  for (unsigned i = 0; i < count; ++i) {
    const char* name = table[i].loadImage;
    Check(name != nullptr, "counted entry has a name");
    const size_t length = std::strlen(name);
    Check(length > 0 && length < kFaceNameScan, "name length");
    for (size_t c = 0; c < length; ++c)
      Check(std::isspace(static_cast<unsigned char>(name[c])) == 0, "no white space in a name");
    for (unsigned j = 0; j < i; ++j) Check(table[j].loadImage != name, "names not shared");
  }
  FreeFaceCatalogue(table, count);
  for (unsigned i = 0; i < count; ++i) Check(table[i].loadImage == nullptr, "released");
  SetCatalogueSeam(nullptr);
  return 0;
}
