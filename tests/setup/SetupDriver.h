#pragma once
// Drives the real setup.exe under Wine: a scratch folder holding setup.exe
// and the stand-in rundll32.exe, the data files written there, and setup's
// dialog and message boxes seen from outside.
#include <windows.h>

#include <string>

#include "WinTestSupport.h"

// The system directory, with "\" appended.
std::string SystemDirectory();
// Puts the recording stand-in in place of the rundll32.exe of `folder`
// (and tells Wine to load it rather than its own), and back.
void PlantSystemStandIn(const std::string& folder = SystemDirectory());
void RemoveSystemStandIn(const std::string& folder = SystemDirectory());

class SetupRun {
 public:
  SetupRun();   // the scratch folder with setup.exe and rundll32.exe
  ~SetupRun();  // ends setup when still running, removes the folder
  SetupRun(const SetupRun&) = delete;
  SetupRun& operator=(const SetupRun&) = delete;

  const std::string& folder() const { return folder_; }
  // Writes a file into the scratch folder (`name` may hold subfolders).
  void Write(const std::string& name, const std::string& bytes) const;

  // Starts setup with the scratch folder as working directory; returns its
  // dialog once it is visible (null when it did not appear in time).
  HWND Start();
  // Starts setup with these arguments; false when it could not be started.
  bool StartWith(const std::string& arguments);
  // The visible message box of setup with this caption, or null.
  HWND WaitForBox(const char* caption) const;
  // Waits for setup to end; its exit code, or 0xFFFFFFFF when it did not end.
  DWORD WaitForExit();
  // The command line the stand-in rundll32.exe in `folder` was started
  // with; waits a while for its record to be readable and gives "" when
  // there is none.
  std::string HandOver(const std::string& folder = SystemDirectory()) const;
  // After setup ended: true when no stand-in was started at all.
  bool NoHandOver() const;
  // True when the stand-in planted beside setup.exe was started.
  bool PlantedRan() const;

 private:
  std::string folder_;
  wintest::Process process_;
};

// The text of a control of another process (WM_GETTEXT).
std::string ControlText(HWND control);
// The message text of a message box.
std::string MessageBoxText(HWND box);
// Presses the button `id` of a dialog or message box, as a click would.
void Press(HWND dialog, int id);

// The Windows directory as the platform gives it, with "\" appended.
std::string WindowsDirectory();
bool FileExists(const std::string& path);
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// The name of an existing file as the file system keeps it, case and all.
std::string StoredName(const std::string& path);

// Runs a program to its end (up to 60 s); its exit code, or 0xFFFFFFFF.
// Its standard output goes to `output` when that is given.
DWORD RunToEnd(const std::string& commandLine, std::string* output = nullptr);
// The visible top-level dialog of any process with this title, or null.
HWND WaitForAnyBox(const char* title);
// A string value under HKEY_LOCAL_MACHINE, or "<none>".
std::string MachineString(const char* subkey, const char* name);

// Sets or removes the Windows version Wine reports to a program.
void SetWineVersion(const char* program, const char* version);
void ClearWineVersion(const char* program);
