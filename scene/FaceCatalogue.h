#pragma once
// The face catalogue "life.nfo" in the Windows directory: the face sets the
// configuration dialog offers. Each record is seven fields separated by any
// white space: name frameWidth frameHeight numFrames numRows bornEnd dieStart.
#include <cstddef>
#include <cstdio>

#include "FaceInfo.h"

inline constexpr unsigned kMaxFaces = 50;       // entries of the catalogue table
inline constexpr unsigned kFaceNameScan = 255;  // names of at most 254 characters

// What the catalogue needs from the platform.
struct CatalogueSeam {
  // GetWindowsDirectoryA: the length written, 0 on failure, or the size
  // needed when the buffer is too small.
  unsigned (*windowsDirectory)(char* buffer, unsigned size);
  FILE* (*openFile)(const char* path);  // fopen(path, "r")
  // A message box with no owner and only an OK button.
  void (*showMessage)(const char* text, const char* caption);
  void* (*allocate)(size_t size);  // malloc-compatible: names are released with free
};

const CatalogueSeam& Catalogue();
void SetCatalogueSeam(const CatalogueSeam* seam);  // null: the platform's own
const CatalogueSeam& PlatformCatalogue();

// Reads the catalogue `fileName` of the Windows directory into table, at
// most `maximum` entries, each owning a heap copy of its name. Stops
// quietly at the first incomplete or malformed record. When the file cannot
// be opened, says "Can`t find file, <path>" under "Missing File" and
// returns 0. When a name copy cannot be allocated, the entries read so far
// are kept and reading stops.
unsigned ReadFaceCatalogue(const char* fileName, FaceInfo* table, unsigned maximum);

// Reads the records of an open catalogue one at a time. The name of the
// record last read is kept by the reader, until its next read.
class FaceRecordReader {
 public:
  explicit FaceRecordReader(FILE* file) : file_(file) {}

  // Scans one record. True when all seven fields were read; the entry's
  // loadImage then refers to the reader's name. A record whose name has
  // kFaceNameScan characters or more, or holds a zero byte, cannot name a
  // file: it is passed over whole and the next one scanned in its place.
  bool Next(FaceInfo& entry);

 private:
  bool ScanName(bool* usable);

  FILE* file_;
  char name_[kFaceNameScan] = {};
};

// Releases the names of the first `count` entries and clears them.
void FreeFaceCatalogue(FaceInfo* table, unsigned count);

// The faces list: every entry's name added in order, list item i carrying
// the data i. `list` is handed back to the operations unchanged.
struct FaceListOps {
  void* list;
  void (*addName)(void* list, const char* name);
  void (*setItemData)(void* list, unsigned index, unsigned data);
};
void FillFaceListWith(const FaceListOps& ops, const FaceInfo* table, unsigned count);

#ifdef _WIN32
// The combo box `controlId` of `dialog` as the faces list.
void FillFaceList(struct HWND__* dialog, int controlId, const FaceInfo* table, unsigned count);
#endif
