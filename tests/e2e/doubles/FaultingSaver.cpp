// The host with a saver that faults on request: WM_APP + 1 makes its window
// procedure write through a null pointer. Everything else goes to the host.
#include <windows.h>

#include "SaverContract.h"

namespace {
constexpr UINT kFaultRequest = WM_APP + 1;
int* volatile nowhere = nullptr;
}  // namespace

LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kFaultRequest) *nowhere = 1;
  return DefSaverProc(window, message, wParam, lParam);
}

INT_PTR CALLBACK OptionsDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

BOOL PrepareDialogClasses(HINSTANCE) { return 1; }
