#include "FakeSetupPlatform.h"

#include <cstdio>
#include <cstring>

namespace {

FakeSetup* current = nullptr;

int ShowMessage(DialogHandle owner, const char* text, const char* caption, unsigned flags) {
  current->events.push_back("box");
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
  current->events.push_back("copy");
  current->copies.push_back(std::string(source) + " > " + destination +
                            (failIfExists ? "" : " overwrite"));
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

bool StartProcess(char* commandLine) {
  current->events.push_back("start");
  current->commandLines.push_back(commandLine);
  return !current->startFails;
}

void SetIntroText(DialogHandle, const char* text) {
  current->events.push_back("intro");
  current->introTexts.push_back(text);
}

void HideDialog(DialogHandle) { current->events.push_back("hide"); }
void EndDialog(DialogHandle) { current->events.push_back("end"); }

const SetupPlatform fakePlatform = {ShowMessage,  PlatformId,    WindowsDirectory,
                                    CopyFile,     DescribeError, StartProcess,
                                    SetIntroText, HideDialog,    EndDialog};

}  // namespace

FakeSetup::FakeSetup() { current = this; }
FakeSetup::~FakeSetup() { current = nullptr; }
const SetupPlatform& FakeSetup::platform() const { return fakePlatform; }

DialogHandle TestDialog() {
  static char dialog;
  return reinterpret_cast<DialogHandle>(&dialog);
}
