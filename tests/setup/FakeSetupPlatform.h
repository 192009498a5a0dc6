#pragma once
// A SetupPlatform that records what the steps ask of it and keeps its
// "files" in a map. One FakeSetup is current at a time.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "SetupPlatform.h"

struct MessageBoxCall {
  DialogHandle owner;
  std::string text;
  std::string caption;
  unsigned flags;
};

struct FakeSetup {
  FakeSetup();
  ~FakeSetup();
  FakeSetup(const FakeSetup&) = delete;
  FakeSetup& operator=(const FakeSetup&) = delete;

  const SetupPlatform& platform() const;

  // Platform version: GetVersionExA fails when versionFails.
  bool versionFails = false;
  unsigned long platformId = 2;

  // GetWindowsDirectoryA: writes windowsDirectory when it fits, and returns
  // windowsDirectoryResult when that is set (not 0xFFFFFFFF), else the length.
  std::string windowsDirectory = "C:\\WINDOWS";
  unsigned windowsDirectoryResult = 0xFFFFFFFFu;
  std::string systemDirectory = "C:\\WINDOWS\\system32";
  std::string programPath = "D:\\setup.exe";

  // The files, path to content, sources and destinations alike.
  std::map<std::string, std::string> files;
  // Destinations whose first copy, or whose overwriting copy, fails with an
  // error of the platform (access denied).
  std::set<std::string> firstCopyFails;
  std::set<std::string> overwriteFails;
  // Files that cannot be removed (in use).
  std::set<std::string> removeFails;

  // The registry: "root\\key" to value name to value (numbers in decimal).
  std::map<std::string, std::map<std::string, std::string>> registry;
  bool registryWriteFails = false;
  int registryWritesLeft = -1;  // at 0, the next write fails

  // Elevation: needsElevation's answer (while it is needed, writes to the
  // LocalMachine registry fail); what runElevated does: with Ended it runs
  // the elevated part of the step its arguments name, in this process, its
  // events marked "admin:"; else it returns that outcome.
  bool elevationNeeded = false;
  ElevatedRun elevatedRun = ElevatedRun::Ended;
  std::vector<std::string> elevatedArguments;

  // Answers to the message boxes, in order; IDNO when they run out.
  std::vector<int> answers;
  bool startFails = false;

  // What happened, in order: "box", "copy", "copy-self", "start", "intro",
  // "hide", "end", "remove", "unset-saver" (the user's SCRNSAVE.EXE
  // deleted), each prefixed with "admin:" inside the elevated part.
  std::vector<std::string> events;
  std::vector<MessageBoxCall> boxes;
  std::vector<std::string> copies;      // "source > destination" (+ " overwrite")
  std::vector<std::string> selfCopies;  // the same, of setup's own program
  std::vector<std::string> commandLines;
  std::vector<std::string> applications;
  std::vector<std::string> introTexts;
};

// The dialog handle the tests pass; the fake only compares it.
DialogHandle TestDialog();

// The registry key of a root as FakeSetup::registry names it.
std::string RegistryPath(RegistryRoot root, const char* key);

constexpr int kAnswerNo = 7;  // IDNO
constexpr unsigned long kAccessDenied = 5;
