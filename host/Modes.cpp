// The run modes other than the saver window: preview start, configuration
// dialog and password change.
#include <cstdint>

#include "CommandLine.h"
#include "HostState.h"
#include "SaverHost.h"

namespace {
using ChangePasswordFn = DWORD(WINAPI*)(LPCSTR provider, HWND owner, DWORD reserved1,
                                        DWORD reserved2);

HWND WindowFromDecimal(const char* text) {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(ParseDecimal(text)));
}
}  // namespace

int32_t RunPreview(const char* text) {
  HWND parent = WindowFromDecimal(text);
  if (parent == nullptr || !IsWindow(parent)) return -1;
  return RunSaverWindow(parent);
}

int32_t ShowConfigDialog(HWND owner) {
  PrepareDialogClasses(AppInstance());
  return static_cast<int32_t>(
      DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_OPTIONS), owner, OptionsDialogProc, 0));
}

int32_t ChangePassword(const char* text) {
  HWND owner = WindowFromDecimal(text);
  if (owner == nullptr || !IsWindow(owner)) owner = GetForegroundWindow();
  RequestPasswordChange(owner);
  return 0;
}

void RequestPasswordChange(HWND owner) {
  HMODULE library = LoadLibraryA("MPR.DLL");
  if (library == nullptr) return;
  auto changePassword = LookUpExport<ChangePasswordFn>(library, "PwdChangePasswordA");
  if (changePassword != nullptr) changePassword("SCRSAVE", owner, 0, 0);
  FreeLibrary(library);
}
