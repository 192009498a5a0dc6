#pragma once
// Helpers for end-to-end tests of our Windows programs. Every wait polls a
// condition with a timeout; none relies on a fixed sleep alone.
#include <windows.h>

#include <functional>
#include <string>

namespace wintest {

// Polls `done` every 20 ms until it returns true or `timeoutMs` has passed.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 10000);

// A started program. The destructor ends it if it is still running.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Starts `commandLine` with the working directory `directory` (empty:
  // ours). Returns false when it cannot be started.
  bool Start(const std::string& commandLine, const std::string& directory = "");
  // Waits for the end; returns true and the exit code when it ended in time.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
  bool Running() const;
  DWORD id() const { return info_.dwProcessId; }
  HANDLE handle() const { return info_.hProcess; }

 private:
  PROCESS_INFORMATION info_{};
};

// The first visible top-level window of the process with the given class
// name (null: any) and title (null: any); waits up to timeoutMs for it.
HWND WaitForWindow(DWORD processId, const char* className, const char* title,
                   DWORD timeoutMs = 10000);

// The first visible top-level window of the process owned by `owner`, with
// the given class name (null: any); waits up to timeoutMs for it.
HWND WaitForOwnedWindow(DWORD processId, HWND owner, const char* className,
                        DWORD timeoutMs = 10000);

// The text of a window of another process, asked for with WM_GETTEXT (which
// GetWindowText does not send across processes); "" when it does not answer.
std::string SentText(HWND window);

// The first child of `parent` with the given class name whose text
// (WM_GETTEXT) is not empty; null when there is none.
HWND FindTextChild(HWND parent, const char* className);

// Saves what the screen shows of `window` (frame included) as a 24-bit
// BMP file. Repaints the window first. For pictures, not for checks.
bool SaveWindowPicture(HWND window, const std::string& path);

// The folder of the running test program, with a trailing backslash.
std::string ProgramFolder();

// Window text and class name.
std::string WindowText(HWND window);
std::string ClassName(HWND window);

// Registry helpers on HKEY_CURRENT_USER.
bool ReadDword(const char* subkey, const char* name, DWORD* value);
bool ReadString(const char* subkey, const char* name, std::string* value);
void DeleteTree(const char* subkey);

}  // namespace wintest
