#pragma once
// The screen-saver host's own state, private to host/: one record for the
// whole process, reached through Host(). The saver never sees it; what it
// needs of the host is in SaverContract.h.
#include <windows.h>

#include <cstdint>

#include "DismissRules.h"

using ImeContext = struct HIMC__*;
using VerifyPasswordFn = BOOL(WINAPI*)(HWND window);
using AssociateContextFn = ImeContext(WINAPI*)(HWND window, ImeContext context);

struct HostState {
  // Set once at entry.
  HINSTANCE appInstance = nullptr;  // the saver program's own module
  uint32_t win9xFamily = 0;         // 1 on the Windows 95/98/Me family
  // The unhandled-exception filter that was in place before the host's
  // fault guard, which hands on to it.
  LPTOP_LEVEL_EXCEPTION_FILTER previousExceptionFilter = nullptr;

  // The system's screen-saver-running state as this process set it (on and
  // not yet off), and whether the exit-time handler that turns it off is in.
  bool runningStateOn = false;
  bool runningExitHandlerRegistered = false;

  // The saver window and its dismissal.
  HWND saverWindow = nullptr;
  uint32_t isPreview = 0;                  // set before the preview window is created
  uint32_t closing = 0;                    // nonzero once closing has been allowed
  uint32_t checkingPassword = 0;           // 1 while the password question is open
  POINT lastCursorPos = {0, 0};            // screen coordinates
  uint32_t lastPasswordAsk = kNeverAsked;  // tick count at the end of the last question

  // The password verifier, while loaded (9x family only).
  HMODULE passwordLibrary = nullptr;
  VerifyPasswordFn verifyPasswordFn = nullptr;

  // The input-method library, when the process already has it.
  HMODULE imeLibrary = nullptr;
  AssociateContextFn associateContextFn = nullptr;
  ImeContext previousImeContext = nullptr;
};

// The host's state of this process.
HostState& Host();

// Looks up an export of a loaded library as a function of type Fn; null
// when the library is absent or lacks it.
template <typename Fn>
Fn LookUpExport(HMODULE library, const char* name) {
  if (library == nullptr) return nullptr;
  // The detour through a plain function type keeps the cast well-defined
  // for GCC's function-type checks.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}
