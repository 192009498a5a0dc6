// The tests may use newer registry calls than the product does.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include "WinTestSupport.h"

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
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup,
                        &info_) != 0;
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

HWND WaitForWindow(DWORD processId, const char* className, const char* title,
                   DWORD timeoutMs) {
  WindowSearch search{processId, className, title, nullptr};
  WaitFor(
      [&] {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  return search.found;
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
  return RegGetValueA(HKEY_CURRENT_USER, subkey, name, RRF_RT_REG_DWORD, nullptr, value,
                      &size) == ERROR_SUCCESS;
}

bool ReadString(const char* subkey, const char* name, std::string* value) {
  char text[1024] = {};
  DWORD size = sizeof text;
  if (RegGetValueA(HKEY_CURRENT_USER, subkey, name, RRF_RT_REG_SZ, nullptr, text,
                   &size) != ERROR_SUCCESS)
    return false;
  *value = text;
  return true;
}

void DeleteTree(const char* subkey) { RegDeleteTreeA(HKEY_CURRENT_USER, subkey); }

}  // namespace wintest
