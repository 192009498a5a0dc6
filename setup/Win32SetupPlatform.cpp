#include "Win32SetupPlatform.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "SetupResources.h"

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

// A running program cannot delete its own file. A copy of setup waits for
// this process to end, deletes the file, and is itself deleted at the next
// restart. The copy goes to the Windows directory's Temp folder, where other
// users may add files but not change ours, under a name that nobody had
// taken: an elevated setup must not start a file that someone else wrote.
bool RemoveOwnFileLater(const char* path) {
  char windows[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  const std::string folder = std::string(windows) + "\\Temp\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string stem = folder + "lifesetup-" + std::to_string(GetCurrentProcessId()) + "-";
  std::string copy;
  for (int attempt = 0; attempt < 10 && copy.empty(); ++attempt) {
    const std::string name = stem + std::to_string(attempt) + ".exe";
    if (CopyFileA(path, name.c_str(), TRUE) != 0) copy = name;
  }
  if (copy.empty()) return false;
  std::string commandLine = "\"" + copy + "\" /finish-removal " +
                            std::to_string(GetCurrentProcessId()) + " \"" + path + "\"";
  if (StartProcess(copy.c_str(), commandLine.data())) return true;
  DeleteFileA(copy.c_str());
  return false;
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
};

}  // namespace

const SetupPlatform& Win32SetupPlatform() { return win32Platform; }

int FinishRemoval(unsigned long processId, const char* path) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (process != nullptr) {
    WaitForSingleObject(process, 60000);
    CloseHandle(process);
  }
  // The ended program's file may stay locked a moment longer.
  bool removed = false;
  for (int attempt = 0; attempt < 50 && !removed; ++attempt) {
    removed = DeleteFileA(path) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
    if (!removed) Sleep(100);
  }
  // The 9x family has no delayed delete: there the copy stays in the
  // temporary folder.
  char self[MAX_PATH] = {};
  if (GetProgramPath(self, MAX_PATH)) MoveFileExA(self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return removed ? 0 : 1;
}
