#include "WininitRename.h"

#include "SetupSteps.h"

std::string WithDeleteAtRestart(const std::string& ini, const std::string& shortPath) {
  const std::string entry = "NUL=" + shortPath + "\r\n";
  std::string::size_type start = 0;
  while (start < ini.size()) {
    std::string::size_type end = ini.find('\n', start);
    end = end == std::string::npos ? ini.size() : end + 1;
    std::string line = ini.substr(start, end - start);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' '))
      line.pop_back();
    if (SameText(line, "[rename]")) {
      // The header may be the last line, without its line end.
      const std::string lineEnd = ini.compare(end - 1, 1, "\n") == 0 ? "" : "\r\n";
      return ini.substr(0, end) + lineEnd + entry + ini.substr(end);
    }
    start = end;
  }
  const bool open = !ini.empty() && ini.back() != '\n';
  return ini + (open ? "\r\n" : "") + "[rename]\r\n" + entry;
}
