// The catalogue's platform: the Windows directory, text-mode files, a
// message box with no owner, the C heap, and the faces combo box.
#include <windows.h>

#include <cstdlib>

#include "FaceCatalogue.h"

namespace {

unsigned WindowsDirectory(char* buffer, unsigned size) {
  return GetWindowsDirectoryA(buffer, size);
}

FILE* OpenFile(const char* path) { return std::fopen(path, "r"); }

void ShowMessage(const char* text, const char* caption) {
  MessageBoxA(nullptr, text, caption, MB_OK);
}

const CatalogueSeam kWin32Seam = {WindowsDirectory, OpenFile, ShowMessage, std::malloc};

struct ComboBox {
  HWND dialog;
  int controlId;
};

void AddName(void* list, const char* name) {
  const auto* combo = static_cast<const ComboBox*>(list);
  SendDlgItemMessageA(combo->dialog, combo->controlId, CB_ADDSTRING, 0,
                      reinterpret_cast<LPARAM>(name));
}

void SetItemData(void* list, unsigned index, unsigned data) {
  const auto* combo = static_cast<const ComboBox*>(list);
  SendDlgItemMessageA(combo->dialog, combo->controlId, CB_SETITEMDATA, index,
                      static_cast<LPARAM>(data));
}

}  // namespace

const CatalogueSeam& PlatformCatalogue() { return kWin32Seam; }

void FillFaceList(HWND dialog, int controlId, const FaceInfo* table, unsigned count) {
  ComboBox combo{dialog, controlId};
  FillFaceListWith({&combo, AddName, SetItemData}, table, count);
}
