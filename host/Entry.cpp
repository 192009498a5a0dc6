// The process entry: command line, platform family, run mode, exit code.
#include <cstdlib>
#include <exception>

#include "CommandLine.h"
#include "HostState.h"
#include "SaverHost.h"

namespace {
const char* NextCharOfCodePage(const char* text) { return CharNextA(text); }

uint32_t IsWin9xFamily() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExA(&version) != 0 && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? 1 : 0;
}

// The guard round the modes. A fault that nothing handles reaches this
// filter from the platform's own unhandled-exception handling; before the
// platform reports the fault and ends the process, the system must stop
// treating a screen saver as running, or it would keep the 9x family's
// task switching locked.
LONG WINAPI GuardFilter(EXCEPTION_POINTERS* exception) {
  SetSaverRunning(0);
  const LPTOP_LEVEL_EXCEPTION_FILTER previous = Host().previousExceptionFilter;
  return previous != nullptr ? previous(exception) : EXCEPTION_CONTINUE_SEARCH;
}

// An exception that nothing catches ends in std::terminate, which aborts
// without the runtime's exit-time handlers: give the running state back.
[[noreturn]] void TerminateGuard() {
  if (Host().runningStateOn) SetSaverRunning(0);
  std::abort();
}

int32_t RunChosenMode(const ModeChoice& choice) {
  switch (choice.mode) {
    case RunMode::kConfigure:
      return ShowConfigDialog(nullptr);
    case RunMode::kConfigureOwned:
      return ShowConfigDialog(GetForegroundWindow());
    case RunMode::kFullScreen:
      return RunSaverWindow(nullptr);
    case RunMode::kPreview:
      return RunPreview(choice.rest);
    case RunMode::kChangePassword:
      if (Host().win9xFamily == 0) return -1;
      return ChangePassword(choice.rest);
    case RunMode::kUnknown:
      break;
  }
  return -1;
}
}  // namespace

int32_t DispatchMode(HINSTANCE instance, const char* argumentText) {
  Host().appInstance = instance;
  Host().win9xFamily = IsWin9xFamily();
  Host().previousExceptionFilter = SetUnhandledExceptionFilter(GuardFilter);
  std::set_terminate(TerminateGuard);
  const int32_t result = RunChosenMode(ChooseMode(argumentText));
  SetUnhandledExceptionFilter(Host().previousExceptionFilter);
  return result;
}

void SaverEntry() {
  const char* argumentText = ArgumentText(GetCommandLineA(), NextCharOfCodePage);
  const int32_t result = DispatchMode(GetModuleHandleA(nullptr), argumentText);
  // The runtime's exit-time handlers are left out on purpose: the system
  // reclaims what the process holds. The running state is not the
  // process's to hold, whatever way the mode ended.
  if (Host().runningStateOn) SetSaverRunning(0);
  ExitProcess(static_cast<UINT>(result));
}
