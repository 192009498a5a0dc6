#include "PlainFileName.h"

#include <cstring>
#include <string>

#include "SetupSteps.h"

namespace {

// Names Windows takes as a device in any folder, whatever follows a dot.
bool IsDeviceName(const char* name) {
  // The stem before the first dot, blanks at its end dropped as Windows does.
  std::string stem(name, std::strcspn(name, "."));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"})
    if (SameText(stem, device)) return true;
  if (stem.size() != 4) return false;
  const std::string prefix = stem.substr(0, 3);
  return (SameText(prefix, "COM") || SameText(prefix, "LPT")) && stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

bool IsPlainFileName(const char* name) {
  const std::size_t length = std::strlen(name);
  if (length == 0 || length > kMaxPlainNameLength) return false;
  for (const char* c = name; *c != '\0'; ++c) {
    const auto byte = static_cast<unsigned char>(*c);
    if (byte < 0x20 || byte == 0x7F || std::strchr("\\/:*?\"<>|", byte) != nullptr) return false;
  }
  if (name[length - 1] == '.' || name[length - 1] == ' ') return false;  // "." and ".." too
  return !IsDeviceName(name);
}
