#include <cstdio>
#include <cstring>

#include "PlainFileName.h"
#include "SetupMessage.h"
#include "SetupSteps.h"

namespace {

// Raises the message for a copy that failed for a reason of the platform's
// own, with that reason.
[[noreturn]] void RaiseCopyFailure(const SetupPlatform& platform, const char* action,
                                   const char* source, const char* destination,
                                   unsigned long error) {
  char reason[256] = {};
  platform.describeError(error, reason, sizeof reason);
  reason[sizeof reason - 1] = '\0';
  RaiseSetupMessage("Can`t %s %s to %s!\n%s", action, source, destination, reason);
}

}  // namespace

const char* FileNameOf(const char* source) {
  const char* lastBackslash = std::strrchr(source, '\\');
  return lastBackslash == nullptr ? source : lastBackslash + 1;
}

CopyDone FileCopyStep(const SetupPlatform& platform, DialogHandle dialog,
                      const char* windowsDirectory, const char* source) {
  const char* name = FileNameOf(source);
  // A name that is not a plain file name could reach outside the Windows
  // directory ("a/../../x"), into a stream (":") or a device ("CON").
  if (!IsPlainFileName(name))
    RaiseSetupMessage("Can`t copy %s: its name is not a plain file name!\n", source);
  char destination[kPathSize];
  const int length = std::snprintf(destination, sizeof destination, "%s%s", windowsDirectory, name);
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof destination)
    RaiseSetupMessage("The path %s%s is too long!\n", windowsDirectory, name);

  const CopyOutcome first = platform.copyFile(source, destination, true);
  if (first.result == CopyResult::Copied) return CopyDone::Created;
  if (first.result == CopyResult::Failed)
    RaiseCopyFailure(platform, "copy", source, destination, first.error);

  try {
    if (first.result == CopyResult::SourceMissing) RaiseSetupMessage("No %s present!", source);
    RaiseSetupMessage("The file %s already exists. Overwrite this file?", destination);
  } catch (const SetupMessage& message) {
    // "No ..." ends the walk; anything else is the overwrite question.
    if (message.text()[0] == 'N') RaiseSetupMessage("%s", message.text());
    if (platform.messageBox(dialog, message.text(), kQuestionCaption, kQuestionBoxFlags) !=
        kAnswerYes)
      return CopyDone::Kept;
    const CopyOutcome again = platform.copyFile(source, destination, false);
    if (again.result != CopyResult::Copied)
      RaiseCopyFailure(platform, "overwrite", source, destination, again.error);
  }
  return CopyDone::Replaced;
}
