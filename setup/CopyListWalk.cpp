#include <cstdio>
#include <memory>

#include "SetupMessage.h"
#include "SetupSteps.h"

namespace {

enum class LineRead { Line, TooLong, End };

// Reads one line of the list into `line` (kPathSize bytes) without its line
// end. LF ends a line, and so does CR LF where the runtime leaves the CR in
// place. A line with more than kPathSize - 1 characters is not a path that
// fits: its first kPathSize - 1 characters are kept for the message.
LineRead ReadListLine(std::FILE* list, char* line) {
  std::size_t length = 0;
  int c = std::getc(list);
  if (c == EOF) return LineRead::End;
  for (; c != EOF && c != '\n'; c = std::getc(list)) {
    if (c == '\r') {
      const int next = std::getc(list);
      if (next == '\n') break;
      if (next != EOF) std::ungetc(next, list);
    }
    if (length == kPathSize - 1) {
      line[length] = '\0';
      return LineRead::TooLong;
    }
    line[length++] = static_cast<char>(c);
  }
  line[length] = '\0';
  return LineRead::Line;
}

}  // namespace

void CopyListWalk(const SetupPlatform& platform, DialogHandle dialog, const char* windowsDirectory,
                  const char* listPath, CopiedFiles* copied) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> list(std::fopen(listPath, "r"), std::fclose);
  if (list == nullptr) RaiseSetupMessage("Can`t find copy list!");
  char line[kPathSize];
  for (;;) {
    const LineRead read = ReadListLine(list.get(), line);
    if (read == LineRead::End) return;
    if (read == LineRead::TooLong)
      RaiseSetupMessage("A line of the copy list is too long:\n%s...", line);
    if (line[0] == '\0') continue;  // an empty line names no file
    const CopyDone done = FileCopyStep(platform, dialog, windowsDirectory, line);
    if (copied == nullptr || done == CopyDone::Kept) continue;
    const std::string destination = std::string(windowsDirectory) + FileNameOf(line);
    (done == CopyDone::Created ? copied->created : copied->replaced).push_back(destination);
  }
}
