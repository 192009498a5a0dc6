// The About box, resource 107: credit and version.
#include <windows.h>

#include "DialogIds.h"
#include "OptionsLogic.h"
#include "SaverDialogs.h"

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextA(dialog, IDC_CREDIT,
                      FormatAboutText(kEngineVersionMajor, kEngineVersionMinor).c_str());
      SetFocus(GetDlgItem(dialog, IDOK));
      return FALSE;  // keep that focus
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}
