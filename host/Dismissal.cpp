// Dismissal of the full-screen saver: input turns into a close request,
// and a close request into a password question where one is in use.
#include "DismissRules.h"
#include "HostState.h"
#include "SaverHost.h"

namespace {
void RequestClose(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

void HideCursor() { SetCursor(nullptr); }

bool CursorMovedFarEnough() {
  POINT& last = Host().lastCursorPos;
  POINT now{};
  GetCursorPos(&now);
  if (!MovedFarEnough(last.x, last.y, now.x, now.y)) return false;
  last = now;
  return true;
}
}  // namespace

LRESULT DefSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HostState& host = Host();
  if (host.isPreview != 0 || host.closing != 0)
    return DefWindowProcA(window, message, wParam, lParam);

  if (message == WM_CLOSE) {
    if (host.win9xFamily == 1 && CheckCanClose(window) == 0) {
      GetCursorPos(&host.lastCursorPos);
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }
  if (message == WM_APP) {
    if (host.win9xFamily == 1)
      return host.verifyPasswordFn != nullptr ? static_cast<LRESULT>(host.verifyPasswordFn(window))
                                              : 1;
    return DefWindowProcA(window, message, wParam, lParam);
  }
  if (host.checkingPassword != 0) return DefWindowProcA(window, message, wParam, lParam);

  switch (message) {
    case WM_SHOWWINDOW:
      if (wParam != 0) HideCursor();
      break;
    case WM_ACTIVATEAPP:
      if (wParam == 0) RequestClose(window);
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      RequestClose(window);
      break;
    case WM_SETCURSOR:
      HideCursor();
      return 1;
    case WM_MOUSEMOVE:
      // The message's own coordinates are client-relative and also come
      // with windows appearing under a still cursor: measure the cursor.
      if (CursorMovedFarEnough()) RequestClose(window);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

uint32_t CheckCanClose(HWND window) {
  HostState& host = Host();
  if (host.checkingPassword != 0) return 0;
  if (host.verifyPasswordFn == nullptr) {
    host.closing = 1;
    return 1;
  }
  if (WithinPasswordHoldOff(GetTickCount(), host.lastPasswordAsk)) return 0;

  host.checkingPassword = 1;
  // Ticks queued before the question would only delay it.
  MSG dropped{};
  PeekMessageA(&dropped, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
  PeekMessageA(&dropped, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
  host.closing = static_cast<uint32_t>(SendMessageA(window, WM_APP, 0, 0));
  host.checkingPassword = 0;
  if (host.closing == 0) HideCursor();
  host.lastPasswordAsk = GetTickCount();
  return host.closing;
}
