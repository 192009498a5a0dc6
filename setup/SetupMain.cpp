// The setup program: one modal dialog that installs the screen saver.
#include <windows.h>

#include "SetupCommandLine.h"
#include "SetupDialog.h"
#include "SetupResources.h"
#include "SetupSteps.h"
#include "Win32SetupPlatform.h"

namespace {

HINSTANCE setupInstance;

LPCSTR ResourceId(WORD id) { return reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(id)); }

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      HICON icon = LoadIconA(setupInstance, ResourceId(SETUP_ICON));
      SetClassLongPtrA(dialog, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
      InitSetupDialog(Win32SetupPlatform(), dialog);
      return FALSE;  // no initial focus from the dialog manager
    }
    case WM_COMMAND:
      return SetupCommand(Win32SetupPlatform(), dialog, LOWORD(wParam)) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before anything can load a library: none from setup's own folder.
  RestrictLibrarySearch();
  const SetupCommandLine options = ParseSetupCommandLine(ArgumentsOf(GetCommandLineA()));
  const SetupPlatform& platform = Win32SetupPlatform();
  if (options.uninstall)
    return UninstallStep(options.silent ? Silenced(platform) : platform,
                         {options.silent, options.elevated});
  if (options.elevated) return InstallStep(platform, nullptr, {false, false, true}) ? 0 : 1;
  if (options.silent) return SilentInstall(platform);

  setupInstance = instance;
  DialogBoxParamA(instance, ResourceId(SETUP_DIALOG), nullptr, SetupDialogProc, 0);
  return 0;
}
