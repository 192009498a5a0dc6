#include "Win32SetupPlatform.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "SetupResources.h"
#include "WininitRename.h"

namespace {

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

int ShowMessage(HWND owner, const char* text, const char* caption, unsigned flags) {
  return MessageBoxA(owner, text, caption, flags);
}

bool GetPlatformId(unsigned long* id) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (GetVersionExA(&version) == 0) return false;
  *id = version.dwPlatformId;
  return true;
}

unsigned GetWindowsDirectoryPath(char* buffer, unsigned size) {
  return GetWindowsDirectoryA(buffer, size);
}

CopyOutcome CopyOneFile(const char* source, const char* destination, bool failIfExists) {
  if (CopyFileA(source, destination, failIfExists ? TRUE : FALSE) != 0)
    return {CopyResult::Copied, 0};
  const DWORD error = GetLastError();
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return {CopyResult::SourceMissing, error};
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return {CopyResult::DestinationExists, error};
    default:
      return {CopyResult::Failed, error};
  }
}

void DescribeError(unsigned long error, char* text, std::size_t size) {
  text[0] = '\0';
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, error, 0, text, static_cast<DWORD>(size), nullptr);
  if (length == 0) {
    std::strncpy(text, "Unknown error.", size - 1);
    text[size - 1] = '\0';
    return;
  }
  // The system's texts end in a line end; the message adds its own.
  std::size_t end = std::strlen(text);
  while (end > 0 && (text[end - 1] == '\r' || text[end - 1] == '\n')) text[--end] = '\0';
}

bool StartProcess(const char* application, char* commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // The program is named by its full path: no search of setup's own folder.
  if (CreateProcessA(application, commandLine, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                     nullptr, nullptr, &startup, &process) == 0)
    return false;
  // Nothing comes back from the installer: its handles are not kept.
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

void SetIntroText(HWND dialog, const char* text) {
  SetDlgItemTextA(dialog, SETUP_INTRO_EDIT, text);
}

void HideDialog(HWND dialog) { ShowWindow(dialog, SW_HIDE); }

void EndSetupDialog(HWND dialog) { EndDialog(dialog, 0); }

unsigned GetSystemDirectoryPath(char* buffer, unsigned size) {
  return GetSystemDirectoryA(buffer, size);
}

bool GetProgramPath(char* buffer, unsigned size) {
  const DWORD length = GetModuleFileNameA(nullptr, buffer, size);
  return length > 0 && length < size;
}

// FindFirstFileA rather than GetFileAttributesExA, which Windows 95 lacks.
long long FileSize(const char* path) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(path, &data);
  if (search == INVALID_HANDLE_VALUE) return -1;
  FindClose(search);
  return static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) |
                                data.nFileSizeLow);
}

// Looks up a function of a system library at run time, for what the
// oldest systems setup runs on lack.
template <typename Fn>
Fn SystemFunction(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  if (module == nullptr) module = LoadLibraryA(library);
  if (module == nullptr) return nullptr;
  // The detour through a plain function type keeps GCC's cast checks quiet.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

bool IsNtFamily() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExA(&version) != 0 && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// The 95/98/Me family: a "NUL=" line in the [rename] section of WININIT.INI,
// with the short path that its start-up program, running before Windows,
// understands.
bool DeleteAtRestartOn9x(const char* path) {
  char shortPath[MAX_PATH] = {};
  const DWORD shortLength = GetShortPathNameA(path, shortPath, MAX_PATH);
  char windows[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
  if (shortLength == 0 || shortLength >= MAX_PATH || length == 0 || length >= MAX_PATH - 13)
    return false;
  std::string ini = std::string(windows);
  if (ini.back() != '\\') ini += '\\';
  ini += "WININIT.INI";
  std::string text;
  if (std::FILE* file = std::fopen(ini.c_str(), "rb")) {
    char block[4096];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;)
      text.append(block, got);
    std::fclose(file);
  }
  text = WithDeleteAtRestart(text, shortPath);
  std::FILE* file = std::fopen(ini.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

// A running program cannot delete its own file: the platform deletes it at
// the next restart. Nothing is copied or started for it.
bool RemoveOwnFileLater(const char* path) {
  if (!IsNtFamily()) return DeleteAtRestartOn9x(path);
  // Looked up: the 95/98/Me family's kernel has no working MoveFileExA.
  using MoveFileExFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
  const auto moveFileEx = SystemFunction<MoveFileExFn>("kernel32.dll", "MoveFileExA");
  return moveFileEx != nullptr && moveFileEx(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

bool RemoveFile(const char* path) {
  if (DeleteFileA(path) != 0) return true;
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
  char program[MAX_PATH] = {};
  if (GetProgramPath(program, MAX_PATH) && lstrcmpiA(program, path) == 0)
    return RemoveOwnFileLater(path);
  return false;
}

bool WriteString(RegistryRoot root, const char* key, const char* name, const char* value) {
  HKEY opened = nullptr;
  if (RegCreateKeyExA(RootKey(root), key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const LONG result = RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                     static_cast<DWORD>(std::strlen(value) + 1));
  RegCloseKey(opened);
  return result == ERROR_SUCCESS;
}

bool WriteNumber(RegistryRoot root, const char* key, const char* name, unsigned long value) {
  HKEY opened = nullptr;
  if (RegCreateKeyExA(RootKey(root), key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const DWORD number = value;
  const LONG result = RegSetValueExA(opened, name, 0, REG_DWORD,
                                     reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(opened);
  return result == ERROR_SUCCESS;
}

bool ReadString(RegistryRoot root, const char* key, const char* name, char* buffer, unsigned size) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(RootKey(root), key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
  DWORD type = 0;
  DWORD bytes = size - 1;  // room for a NUL the value may lack
  const LONG result =
      RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
  RegCloseKey(opened);
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  buffer[bytes] = '\0';
  return true;
}

bool DeleteValue(RegistryRoot root, const char* key, const char* name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(RootKey(root), key, 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return false;
  const LONG result = RegDeleteValueA(opened, name);
  RegCloseKey(opened);
  return result == ERROR_SUCCESS;
}

bool DeleteKey(RegistryRoot root, const char* key) {
  return RegDeleteKeyA(RootKey(root), key) == ERROR_SUCCESS;
}

bool ReadNumber(RegistryRoot root, const char* key, const char* name, unsigned long* value) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(RootKey(root), key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
  DWORD type = 0, number = 0, bytes = sizeof number;
  const LONG result =
      RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(&number), &bytes);
  RegCloseKey(opened);
  if (result != ERROR_SUCCESS || type != REG_DWORD || bytes != sizeof number) return false;
  *value = number;
  return true;
}

bool KeyExists(RegistryRoot root, const char* key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(RootKey(root), key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

// Vista and later keep the Windows directory for administrators; whether
// this process may write there is tried with a file that goes when closed.
bool NeedsElevation() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (GetVersionExA(&version) == 0 || version.dwPlatformId != VER_PLATFORM_WIN32_NT ||
      version.dwMajorVersion < 6)
    return false;
  char windows[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH - 40) return false;  // the copy will say so
  std::string probe = windows;
  if (probe.back() != '\\') probe += '\\';
  probe += "lifesetup-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount()) + ".tmp";
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return false;
  }
  return GetLastError() == ERROR_ACCESS_DENIED;
}

// Waits for the process, keeping this thread's windows painted.
void WaitPumping(HANDLE process) {
  while (MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

ElevatedRun RunElevated(HWND owner, const char* arguments, unsigned long* exitCode) {
  char program[MAX_PATH] = {};
  char directory[MAX_PATH] = {};
  const DWORD directoryLength = GetCurrentDirectoryA(MAX_PATH, directory);
  // Looked up: only Vista and later come here, and setup must load on
  // systems whose shell lacks it.
  using ShellExecuteExFn = BOOL(WINAPI*)(SHELLEXECUTEINFOA*);
  const auto shellExecuteEx = SystemFunction<ShellExecuteExFn>("shell32.dll", "ShellExecuteExA");
  if (!GetProgramPath(program, MAX_PATH) || directoryLength == 0 || directoryLength >= MAX_PATH ||
      shellExecuteEx == nullptr) {
    *exitCode = ERROR_FILE_NOT_FOUND;
    return ElevatedRun::Failed;
  }
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
  info.hwnd = owner;
  info.lpVerb = "runas";
  info.lpFile = program;
  info.lpParameters = arguments;
  info.lpDirectory = directory;
  info.nShow = SW_SHOWNORMAL;
  if (shellExecuteEx(&info) == 0) {
    const DWORD error = GetLastError();
    if (error == ERROR_CANCELLED) return ElevatedRun::Declined;
    *exitCode = error;
    return ElevatedRun::Failed;
  }
  if (info.hProcess == nullptr) {
    *exitCode = ERROR_INVALID_HANDLE;
    return ElevatedRun::Failed;
  }
  if (owner != nullptr) EnableWindow(owner, FALSE);
  WaitPumping(info.hProcess);
  if (owner != nullptr) EnableWindow(owner, TRUE);
  DWORD code = 1;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hProcess);
  *exitCode = code;
  return ElevatedRun::Ended;
}

const SetupPlatform win32Platform = {
    ShowMessage,
    GetPlatformId,
    GetWindowsDirectoryPath,
    CopyOneFile,
    DescribeError,
    StartProcess,
    SetIntroText,
    HideDialog,
    EndSetupDialog,
    GetSystemDirectoryPath,
    GetProgramPath,
    FileSize,
    RemoveFile,
    WriteString,
    WriteNumber,
    ReadString,
    DeleteValue,
    DeleteKey,
    ReadNumber,
    KeyExists,
    NeedsElevation,
    RunElevated,
};

}  // namespace

const SetupPlatform& Win32SetupPlatform() { return win32Platform; }

void RestrictLibrarySearch() {
  // Both looked up: SetDefaultDllDirectories came with Windows 8 (and an
  // update of 7), SetDllDirectoryA with XP SP1; Windows 95 has neither.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
  constexpr DWORD kSearchSystem32 = 0x800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
  const auto setDefault =
      SystemFunction<SetDefaultDllDirectoriesFn>("kernel32.dll", "SetDefaultDllDirectories");
  if (setDefault != nullptr && setDefault(kSearchSystem32) != 0) return;
  // Takes the current directory out of the search.
  const auto setDirectory = SystemFunction<SetDllDirectoryFn>("kernel32.dll", "SetDllDirectoryA");
  if (setDirectory != nullptr) setDirectory("");
}
