#include "SaverProcess.h"

#include <windows.h>

#include <fstream>
#include <sstream>

namespace e2e {

std::string SaverProcFolder(const ScenarioFolder& folder) {
  const std::string marker = folder.path().substr(folder.path().find_last_of('\\') + 1);
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return "";
  std::string result;
  do {
    const std::string name = found.cFileName;
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string proc = "Z:\\proc\\" + name;
    std::ifstream in(proc + "\\cmdline", std::ios::binary);
    std::string line;
    std::getline(in, line);  // NUL-separated arguments, no line end
    if (line.find(marker) != std::string::npos && line.find("life.scr") != std::string::npos) {
      result = proc;
      break;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return result;
}

long long ProcCpuTicks(const std::string& procFolder) {
  std::ifstream in(procFolder + "\\stat");
  std::string line;
  std::getline(in, line);
  const size_t close = line.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(line.substr(close + 2));
  std::string field;
  long long ticks = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i)
    if (i == 14 || i == 15) ticks += std::stoll(field);
  return ticks;
}

std::string ProcStatus(const std::string& procFolder, const char* key) {
  std::ifstream in(procFolder + "\\status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(key, 0) == 0) {
      const size_t value = line.find_first_not_of(" \t", line.find(':') + 1);
      return value == std::string::npos ? "?" : line.substr(value);
    }
  return "?";
}

}  // namespace e2e
