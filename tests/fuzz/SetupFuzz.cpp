// libFuzzer target: setup's intro and install flow on arbitrary data files
// and platform answers, through the fake platform of the setup tests. The
// input gives the Windows directory (any length), the bytes of the copy
// list and of the intro (long lines, lines without an end, NUL bytes),
// which listed sources exist, which destinations exist already, which
// copies fail and the user's answers. Checks what the user relies on:
// the intro shown is at most 1024 bytes; every destination and the hand-over
// command line fit their 260-byte buffers and lie in the lower-cased
// Windows directory; an install reported done showed no error and started
// the installer last; a failed one showed exactly one "Setup Error", last,
// and hid nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "FakeSetupPlatform.h"
#include "FuzzCheck.h"
#include "ScratchFolder.h"
#include "SetupDialog.h"
#include "SetupResources.h"
#include "SetupSteps.h"

namespace {

void Check(bool condition, const char* what) { CheckInvariant(condition, "setup", what); }

// The lines of the list as setup names its sources: split at LF, a CR
// before the LF dropped, each ending at its first NUL.
std::vector<std::string> Lines(const std::string& list) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < list.size()) {
    size_t end = list.find('\n', start);
    if (end == std::string::npos) end = list.size();
    std::string line = list.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line.substr(0, line.find('\0')));  // a path ends at a NUL
    start = end + 1;
  }
  return lines;
}

std::string LowerCased(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// Every copy's source and destination as the steps passed them.
std::vector<std::string> sources, destinations;
const SetupPlatform* fakePlatform = nullptr;

CopyOutcome RecordedCopy(const char* source, const char* destination, bool failIfExists) {
  sources.push_back(source);
  destinations.push_back(destination);
  return fakePlatform->copyFile(source, destination, failIfExists);
}

size_t Count(const std::vector<std::string>& events, const char* what) {
  size_t n = 0;
  for (const std::string& e : events) n += e == what;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ScratchFolder folder;  // the current directory of every run
  FuzzedDataProvider input(data, size);
  FakeSetup fake;
  fake.versionFails = input.ConsumeIntegralInRange<int>(0, 15) == 0;
  fake.platformId = input.ConsumeIntegralInRange<unsigned long>(0, 3);
  // The platform hands over a C string: it ends at its first NUL.
  const std::string windows = input.ConsumeRandomLengthString(300);
  fake.windowsDirectory = windows.substr(0, windows.find('\0'));
  if (input.ConsumeIntegralInRange<int>(0, 7) == 0)
    fake.windowsDirectoryResult = input.ConsumeIntegral<unsigned>();
  fake.startFails = input.ConsumeIntegralInRange<int>(0, 7) == 0;

  const bool hasIntro = input.ConsumeIntegralInRange<int>(0, 7) != 0;
  const std::string intro = input.ConsumeRandomLengthString(1100);
  const bool hasList = input.ConsumeIntegralInRange<int>(0, 7) != 0;
  const std::string list = input.ConsumeRandomLengthString(1000);
  std::remove(kIntroPath);
  std::remove(kCopyListPath);
  if (hasIntro) WriteBytes(kIntroPath, intro);
  if (hasList) WriteBytes(kCopyListPath, list);

  // A path too long for the buffer is not written to it (only a platform
  // that then reports success leaves setup with the empty buffer).
  const std::string directory =
      (fake.windowsDirectory.size() < kPathSize ? LowerCased(fake.windowsDirectory) : "") + "\\";
  for (const std::string& line : Lines(list)) {
    const std::string destination = directory + FileNameOf(line.c_str());
    if (input.ConsumeIntegralInRange<int>(0, 7) != 0) fake.files[line] = "data";
    if (input.ConsumeIntegralInRange<int>(0, 3) == 0) fake.files[destination] = "old";
    if (input.ConsumeIntegralInRange<int>(0, 15) == 0) fake.firstCopyFails.insert(destination);
    if (input.ConsumeIntegralInRange<int>(0, 15) == 0) fake.overwriteFails.insert(destination);
    fake.answers.push_back(input.ConsumeBool() ? kAnswerYes : kAnswerNo);
  }

  sources.clear();
  destinations.clear();
  fakePlatform = &fake.platform();
  SetupPlatform platform = fake.platform();
  platform.copyFile = RecordedCopy;

  InitSetupDialog(platform, TestDialog());
  Check(fake.introTexts.size() == 1, "one intro text");
  if (hasIntro)
    Check(fake.introTexts[0] == intro.substr(0, kIntroSize).substr(0, intro.find('\0')),
          "the intro shows its first 1024 bytes up to a NUL");
  SetupCommand(platform, TestDialog(), SETUP_INSTALL_BUTTON);

  for (const std::string& destination : destinations) {
    Check(destination.size() < kPathSize, "destination fits its buffer");
    Check(destination.compare(0, directory.size(), directory) == 0,
          "destination in the lower-cased Windows directory");
  }
  for (const std::string& line : fake.commandLines)
    Check(line.size() < kPathSize, "command line fits its buffer");

  size_t errors = 0;
  for (const MessageBoxCall& box : fake.boxes) {
    Check(box.text.size() < 1024, "message fits its buffer");
    if (box.caption == kErrorCaption) {
      ++errors;
      Check(box.flags == kErrorBoxFlags, "error box flags");
    } else {
      Check(box.caption == kQuestionCaption && box.flags == kQuestionBoxFlags, "question box");
    }
  }
  const bool done = Count(fake.events, "hide") == 1;
  Check(fake.events.back() == "end", "the dialog ends after Install");
  if (done) {
    Check(errors == 0, "a finished install shows no error");
    Check(fake.events.size() >= 3 && fake.events[fake.events.size() - 3] == "start",
          "the installer starts after the last copy");
    for (const std::string& line : Lines(list)) {
      if (line.empty()) continue;
      Check(std::find(sources.begin(), sources.end(), line) != sources.end(),
            "a finished install copied every listed file");
    }
  } else {
    Check(errors == 1, "a failed install shows one error");
    Check(fake.boxes.back().caption == kErrorCaption, "the error is the last box");
  }
  return 0;
}
