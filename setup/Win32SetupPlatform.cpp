#include "Win32SetupPlatform.h"

#include <windows.h>

#include <cstring>

#include "SetupResources.h"

namespace {

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

bool StartProcess(char* commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                     nullptr, &startup, &process) == 0)
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

const SetupPlatform win32Platform = {
    ShowMessage,  GetPlatformId, GetWindowsDirectoryPath, CopyOneFile, DescribeError, StartProcess,
    SetIntroText, HideDialog,    EndSetupDialog,
};

}  // namespace

const SetupPlatform& Win32SetupPlatform() { return win32Platform; }
