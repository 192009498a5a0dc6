#pragma once
// What a face-sheet file must be before it is read whole: a bitmap file of
// a size the saver takes, whose header claims no more pixels than the file
// can hold. Both loaders check it first.
#include <cstddef>
#include <cstdint>

// The largest face-sheet file read; real ones are a few hundred kilobytes.
constexpr uint64_t kMaxFaceSheetBytes = uint64_t{64} << 20;

// The bytes of the file start that FaceSheetHeaderAcceptable looks at:
// the file header and the longest information header's fixed part.
constexpr std::size_t kFaceSheetHeaderBytes = 14 + 40;

// True when `header` (the first `headerBytes` bytes of a file of
// `fileBytes` bytes) is a bitmap file header the loaders may go on with:
// "BM", a known information header, a bit depth and compression Windows
// bitmaps have, a width and height that are not zero, at most 2^28
// pixels, pixel data that starts inside the file, and as many pixels as
// the bytes after that start can hold (uncompressed rows in full; at most
// 128 pixels a byte when run-length coded).
bool FaceSheetHeaderAcceptable(const unsigned char* header, std::size_t headerBytes,
                               uint64_t fileBytes);
