// The saver window: its class, the full-screen and preview windows, the
// message loop, and the class window procedure that sees every message
// before the saver does.
#include "HostState.h"
#include "Monitors.h"
#include "SaverHost.h"

namespace {
constexpr char kClassName[] = "WindowsScreenSaverClass";
constexpr char kFullScreenTitle[] = "Screen Saver";
constexpr char kPreviewTitle[] = "Preview";
// The class asks for icon 100, which the saver does not have: no class icon.
constexpr WORD kClassIconId = 100;

bool IsRefusedSystemCommand(WPARAM command) {
  return command == SC_NEXTWINDOW || command == SC_PREVWINDOW || command == SC_SCREENSAVE;
}

void HideCursor() { SetCursor(nullptr); }

void DetachInputContext(HWND window) {
  HostState& host = Host();
  host.imeLibrary = GetModuleHandleA("IMM32.DLL");
  host.associateContextFn =
      LookUpExport<AssociateContextFn>(host.imeLibrary, "ImmAssociateContext");
  if (host.associateContextFn != nullptr)
    host.previousImeContext = host.associateContextFn(window, nullptr);
}

void RestoreInputContext(HWND window) {
  const HostState& host = Host();
  if (host.associateContextFn != nullptr && host.previousImeContext != nullptr)
    host.associateContextFn(window, host.previousImeContext);
}

// Help and context-menu requests of a preview go to the control panel
// window that holds it.
LRESULT ForwardToParent(HWND window, UINT message, LPARAM lParam) {
  HWND parent = GetParent(window);
  if (parent != nullptr && IsWindow(parent))
    PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
  return 1;
}
}  // namespace

int32_t RunSaverWindow(HWND parent) {
  HostState& host = Host();
  WNDCLASSA windowClass{};
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
  windowClass.lpfnWndProc = HostWindowProc;
  windowClass.hInstance = host.appInstance;
  windowClass.hIcon = LoadIconA(host.appInstance, MAKEINTRESOURCEA(kClassIconId));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kClassName;

  // Where the window goes and where its monitors lie; the saver window
  // procedure gets it with WM_CREATE, as the creation parameter.
  MonitorLayout layout;
  DWORD style = 0;
  DWORD extendedStyle = 0;
  const char* title = nullptr;
  if (parent != nullptr) {
    RECT parentClient{};
    GetClientRect(parent, &parentClient);
    layout = SingleMonitorLayout(parentClient.right, parentClient.bottom);
    host.isPreview = 1;
    style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    title = kPreviewTitle;
  } else {
    // The whole virtual screen: every monitor, at negative coordinates too.
    layout = ScreenMonitorLayout();
    style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    extendedStyle = WS_EX_TOPMOST;
    title = kFullScreenTitle;
    HWND running = FindWindowA(kClassName, kFullScreenTitle);
    if (running != nullptr && IsWindow(running)) {
      SetForegroundWindow(running);
      return 0;
    }
    LoadPasswordVerifier();
  }

  if (RegisterClassA(&windowClass) != 0)
    host.saverWindow = CreateWindowExA(
        extendedStyle, kClassName, title, style, layout.window.left, layout.window.top,
        layout.window.width(), layout.window.height(), parent, nullptr, host.appInstance, &layout);

  int32_t result = -1;
  if (host.saverWindow != nullptr) {
    if (parent == nullptr) SetForegroundWindow(host.saverWindow);
    MSG message{};
    BOOL got = 0;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (got == 0) result = static_cast<int32_t>(message.wParam);
  }
  UnloadPasswordVerifier();
  return result;
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HostState& host = Host();
  switch (message) {
    case WM_CREATE:
      DetachInputContext(window);
      GetCursorPos(&host.lastCursorPos);
      if (host.isPreview == 0) HideCursor();
      break;
    case WM_DESTROY:
      RestoreInputContext(window);
      PostQuitMessage(0);
      break;
    case WM_SETTEXT:
      return 0;
    case WM_PAINT:
      if (host.closing != 0) return DefWindowProcA(window, message, wParam, lParam);
      if (host.isPreview == 0) HideCursor();
      break;
    case WM_HELP:
    case WM_CONTEXTMENU:
      if (host.isPreview != 0) return ForwardToParent(window, message, lParam);
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (host.closing != 0) return DefWindowProcA(window, message, wParam, lParam);
      break;
    case WM_SYSCOMMAND:
      if (host.isPreview == 0 && IsRefusedSystemCommand(wParam)) return 0;
      break;
    case WM_TIMER:
      if (host.closing != 0) return 0;
      Sleep(0);
      break;
    default:
      break;
  }
  return SaverWindowProc(window, message, wParam, lParam);
}
