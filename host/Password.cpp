// The saver password on the Windows 95/98/Me family: the verifier library
// and the system's screen-saver-running state.
#include <cstdlib>

#include "HostState.h"
#include "SaverHost.h"

namespace {
// The saver's fatal errors end the process through the runtime's exit,
// which bypasses the host's own paths: give the running state back there.
void TurnRunningStateOffAtExit() {
  if (Host().runningStateOn) SetSaverRunning(0);
}
}  // namespace

void SetSaverRunning(uint32_t on) {
  HostState& host = Host();
  if (host.win9xFamily != 1) return;
  UINT scratch = 0;
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, on, &scratch, 0);
  host.runningStateOn = on != 0;
  if (host.runningStateOn && !host.runningExitHandlerRegistered)
    host.runningExitHandlerRegistered = std::atexit(TurnRunningStateOffAtExit) == 0;
}

void LoadPasswordVerifier() {
  HostState& host = Host();
  if (host.win9xFamily != 1) return;
  HKEY key = nullptr;
  if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key) != ERROR_SUCCESS) return;
  // A value shorter than 4 bytes fills only the low bytes of a zero.
  DWORD usePassword = 0;
  DWORD size = sizeof usePassword;
  if (RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, nullptr,
                       reinterpret_cast<BYTE*>(&usePassword), &size) == ERROR_SUCCESS &&
      usePassword != 0) {
    host.passwordLibrary = LoadLibraryA("PASSWORD.CPL");
    host.verifyPasswordFn =
        LookUpExport<VerifyPasswordFn>(host.passwordLibrary, "VerifyScreenSavePwd");
    if (host.verifyPasswordFn != nullptr)
      SetSaverRunning(1);
    else
      UnloadPasswordVerifier();
  }
  RegCloseKey(key);
}

void UnloadPasswordVerifier() {
  HostState& host = Host();
  if (host.win9xFamily != 1 || host.passwordLibrary == nullptr) return;
  FreeLibrary(host.passwordLibrary);
  host.passwordLibrary = nullptr;
  if (host.verifyPasswordFn != nullptr) {
    host.verifyPasswordFn = nullptr;
    SetSaverRunning(0);
  }
}
