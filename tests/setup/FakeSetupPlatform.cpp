#include "FakeSetupPlatform.h"

#include "SetupCommandLine.h"
#include "SetupSteps.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

FakeSetup* current = nullptr;
bool insideElevated = false;

void Event(const char* name) {
  current->events.push_back((insideElevated ? "admin:" : "") + std::string(name));
}

int ShowMessage(DialogHandle owner, const char* text, const char* caption, unsigned flags) {
  Event("box");
  current->boxes.push_back({owner, text, caption, flags});
  if (current->answers.empty()) return kAnswerNo;
  const int answer = current->answers.front();
  current->answers.erase(current->answers.begin());
  return answer;
}

bool PlatformId(unsigned long* id) {
  if (current->versionFails) return false;
  *id = current->platformId;
  return true;
}

unsigned WindowsDirectory(char* buffer, unsigned size) {
  const std::string& path = current->windowsDirectory;
  if (path.size() < size) std::memcpy(buffer, path.c_str(), path.size() + 1);
  if (current->windowsDirectoryResult != 0xFFFFFFFFu) return current->windowsDirectoryResult;
  return static_cast<unsigned>(path.size() < size ? path.size() : path.size() + 1);
}

CopyOutcome CopyFile(const char* source, const char* destination, bool failIfExists) {
  // Setup copying itself is kept apart from the copies of the list.
  const bool self = current->programPath == source;
  Event(self ? "copy-self" : "copy");
  (self ? current->selfCopies : current->copies)
      .push_back(std::string(source) + " > " + destination + (failIfExists ? "" : " overwrite"));
  if (self && current->files.count(source) == 0) current->files[source] = "setup program";
  const auto from = current->files.find(source);
  if (from == current->files.end()) return {CopyResult::SourceMissing, 2};
  const std::set<std::string>& failing =
      failIfExists ? current->firstCopyFails : current->overwriteFails;
  if (failing.count(destination) != 0) return {CopyResult::Failed, kAccessDenied};
  if (failIfExists && current->files.count(destination) != 0)
    return {CopyResult::DestinationExists, 80};
  current->files[destination] = from->second;
  return {CopyResult::Copied, 0};
}

void DescribeError(unsigned long error, char* text, std::size_t size) {
  std::snprintf(text, size, "Error %lu.", error);
}

bool StartProcess(const char* application, char* commandLine) {
  Event("start");
  current->applications.push_back(application);
  current->commandLines.push_back(commandLine);
  return !current->startFails;
}

void SetIntroText(DialogHandle, const char* text) {
  current->events.push_back("intro");
  current->introTexts.push_back(text);
}

void HideDialog(DialogHandle) { current->events.push_back("hide"); }
void EndDialog(DialogHandle) { current->events.push_back("end"); }

unsigned SystemDirectory(char* buffer, unsigned size) {
  const std::string& path = current->systemDirectory;
  if (path.size() >= size) return static_cast<unsigned>(path.size() + 1);
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return static_cast<unsigned>(path.size());
}

bool ProgramPath(char* buffer, unsigned size) {
  return std::snprintf(buffer, size, "%s", current->programPath.c_str()) < static_cast<int>(size);
}

long long FileSize(const char* path) {
  const auto file = current->files.find(path);
  return file == current->files.end() ? -1 : static_cast<long long>(file->second.size());
}

bool RemoveFile(const char* path) {
  Event("remove");
  if (current->removeFails.count(path) != 0) return false;
  current->files.erase(path);
  return true;
}

bool WriteString(RegistryRoot root, const char* key, const char* name, const char* value) {
  if (current->registryWriteFails) return false;
  if (current->registryWritesLeft-- == 0) return false;
  // As on Windows: the machine's settings need administrator rights.
  if (root == RegistryRoot::LocalMachine && current->elevationNeeded && !insideElevated)
    return false;
  current->registry[RegistryPath(root, key)][name] = value;
  return true;
}

bool WriteNumber(RegistryRoot root, const char* key, const char* name, unsigned long value) {
  return WriteString(root, key, name, std::to_string(value).c_str());
}

bool ReadString(RegistryRoot root, const char* key, const char* name, char* buffer, unsigned size) {
  const auto found = current->registry.find(RegistryPath(root, key));
  if (found == current->registry.end() || found->second.count(name) == 0) return false;
  const std::string& value = found->second.at(name);
  if (value.size() >= size) return false;
  std::memcpy(buffer, value.c_str(), value.size() + 1);
  return true;
}

bool DeleteValue(RegistryRoot root, const char* key, const char* name) {
  if (std::string(name) == "SCRNSAVE.EXE") Event("unset-saver");
  const auto found = current->registry.find(RegistryPath(root, key));
  return found != current->registry.end() && found->second.erase(name) != 0;
}

bool DeleteKey(RegistryRoot root, const char* key) {
  return current->registry.erase(RegistryPath(root, key)) != 0;
}

bool ReadNumber(RegistryRoot root, const char* key, const char* name, unsigned long* value) {
  char text[32] = {};
  if (!ReadString(root, key, name, text, sizeof text)) return false;
  *value = std::strtoul(text, nullptr, 10);
  return true;
}

bool KeyExists(RegistryRoot root, const char* key) {
  return current->registry.count(RegistryPath(root, key)) != 0;
}

bool NeedsElevation() { return current->elevationNeeded && !insideElevated; }

ElevatedRun RunElevated(DialogHandle, const char* arguments, unsigned long* exitCode) {
  current->elevatedArguments.push_back(arguments);
  *exitCode = kAccessDenied;
  if (current->elevatedRun != ElevatedRun::Ended) return current->elevatedRun;
  insideElevated = true;
  *exitCode = static_cast<unsigned long>(
      ParseSetupCommandLine(arguments).uninstall
          ? UninstallStep(current->platform(), {false, true})
          : (InstallStep(current->platform(), nullptr, {false, false, true}) ? 0 : 1));
  insideElevated = false;
  return ElevatedRun::Ended;
}

const SetupPlatform fakePlatform = {
    ShowMessage,  PlatformId,  WindowsDirectory, CopyFile,        DescribeError, StartProcess,
    SetIntroText, HideDialog,  EndDialog,        SystemDirectory, ProgramPath,   FileSize,
    RemoveFile,   WriteString, WriteNumber,      ReadString,      DeleteValue,   DeleteKey,
    ReadNumber,   KeyExists,   NeedsElevation,   RunElevated};

}  // namespace

FakeSetup::FakeSetup() { current = this; }
FakeSetup::~FakeSetup() { current = nullptr; }
const SetupPlatform& FakeSetup::platform() const { return fakePlatform; }

std::string RegistryPath(RegistryRoot root, const char* key) {
  return std::string(root == RegistryRoot::LocalMachine ? "HKLM\\" : "HKCU\\") + key;
}

DialogHandle TestDialog() {
  static char dialog;
  return reinterpret_cast<DialogHandle>(&dialog);
}
