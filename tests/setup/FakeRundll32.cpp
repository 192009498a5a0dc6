// Stands in for the system's rundll32.exe beside setup.exe in the end-to-end
// tests: writes the command line it was started with to "handover.txt" in
// its own folder, and ends. The file appears whole (written, then renamed).
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  folder.erase(folder.find_last_of('\\') + 1);
  const std::string record = folder + "handover.txt";
  const std::string part = record + ".part";

  std::FILE* file = std::fopen(part.c_str(), "wb");
  if (file == nullptr) return 1;
  std::fputs(GetCommandLineA(), file);
  std::fclose(file);
  return MoveFileA(part.c_str(), record.c_str()) != 0 ? 0 : 1;
}
