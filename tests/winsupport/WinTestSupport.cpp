// The tests may use newer registry calls than the product does.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include "WinTestSupport.h"

#include <cstdio>
#include <vector>

namespace wintest {

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start >= timeoutMs) return done();
    Sleep(20);
  }
}

Process::~Process() {
  if (info_.hProcess != nullptr) {
    if (Running()) {
      TerminateProcess(info_.hProcess, 0xDEAD);
      WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
  }
}

bool Process::Start(const std::string& commandLine, const std::string& directory) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  // Wine has been seen to refuse a start now and then right after another
  // process was ended; a start that fails is tried again and reported.
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       directory.empty() ? nullptr : directory.c_str(), &startup, &info_) != 0)
      return true;
    std::fprintf(stderr, "could not start %s: error %lu\n", commandLine.c_str(), GetLastError());
    Sleep(500);
  }
  return false;
}

bool Process::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
  if (info_.hProcess == nullptr) return false;
  if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode != nullptr) GetExitCodeProcess(info_.hProcess, exitCode);
  return true;
}

bool Process::Running() const {
  return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

namespace {
struct WindowSearch {
  DWORD processId;
  const char* className;
  const char* title;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  if (search->className != nullptr && ClassName(window) != search->className) return TRUE;
  if (search->title != nullptr && WindowText(window) != search->title) return TRUE;
  search->found = window;
  return FALSE;
}
}  // namespace

HWND WaitForWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs) {
  WindowSearch search{processId, className, title, nullptr};
  WaitFor(
      [&] {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  return search.found;
}

namespace {
struct OwnedSearch {
  DWORD processId;
  HWND owner;
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchOwnedWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<OwnedSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  if (GetWindow(window, GW_OWNER) != search->owner) return TRUE;
  if (search->className != nullptr && ClassName(window) != search->className) return TRUE;
  search->found = window;
  return FALSE;
}
}  // namespace

HWND WaitForOwnedWindow(DWORD processId, HWND owner, const char* className, DWORD timeoutMs) {
  OwnedSearch search{processId, owner, className, nullptr};
  WaitFor(
      [&] {
        EnumWindows(MatchOwnedWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  return search.found;
}

std::string SentText(HWND window) {
  DWORD_PTR length = 0;
  if (SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length) == 0)
    return std::string();
  std::vector<char> text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, 5000, &copied) == 0)
    return std::string();
  return std::string(text.data(), copied < length ? copied : length);
}

HWND FindTextChild(HWND parent, const char* className) {
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassName(child) == className && !SentText(child).empty()) return child;
  }
  return nullptr;
}

bool SaveWindowPicture(HWND window, const std::string& path) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  // Let the window's thread finish painting before the screen is read.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  Sleep(300);
  RECT frame{};
  if (!GetWindowRect(window, &frame)) return false;
  const LONG width = frame.right - frame.left;
  const LONG height = frame.bottom - frame.top;
  if (width <= 0 || height <= 0) return false;

  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as BMP files store rows
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  BITMAPINFO info{};
  info.bmiHeader = header;

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool saved = false;
  if (picture != nullptr) {
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    GdiFlush();
    const DWORD rowSize = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageSize = rowSize * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + imageSize;
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      saved = WriteFile(out, &file, sizeof file, &written, nullptr) &&
              WriteFile(out, &header, sizeof header, &written, nullptr) &&
              WriteFile(out, bits, imageSize, &written, nullptr);
      CloseHandle(out);
    }
    SelectObject(memory, previous);
    DeleteObject(picture);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string WindowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassName(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

bool ReadDword(const char* subkey, const char* name, DWORD* value) {
  DWORD size = sizeof *value;
  return RegGetValueA(HKEY_CURRENT_USER, subkey, name, RRF_RT_REG_DWORD, nullptr, value, &size) ==
         ERROR_SUCCESS;
}

bool ReadString(const char* subkey, const char* name, std::string* value) {
  char text[1024] = {};
  DWORD size = sizeof text;
  if (RegGetValueA(HKEY_CURRENT_USER, subkey, name, RRF_RT_REG_SZ, nullptr, text, &size) !=
      ERROR_SUCCESS)
    return false;
  *value = text;
  return true;
}

void DeleteTree(const char* subkey) { RegDeleteTreeA(HKEY_CURRENT_USER, subkey); }

}  // namespace wintest
