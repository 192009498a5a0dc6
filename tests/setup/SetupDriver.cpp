#include "SetupDriver.h"

#include <tlhelp32.h>

#include <cstdio>
#include <vector>

namespace {

constexpr DWORD kWait = 15000;

std::string NewScratchFolder() {
  static unsigned count = 0;
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "life-setup-e2e-" +
                             std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count) +
                             "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        RemoveTree(path + "\\");
      else
        DeleteFileA(path.c_str());
    } while (FindNextFileA(search, &found) != 0);
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

bool StandInRunning() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  bool running = false;
  for (BOOL more = Process32First(snapshot, &entry); more && !running;
       more = Process32Next(snapshot, &entry))
    running = lstrcmpiA(entry.szExeFile, "rundll32.exe") == 0;
  CloseHandle(snapshot);
  return running;
}

struct ChildSearch {
  std::string text;
};

BOOL CALLBACK FindStaticText(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<ChildSearch*>(data);
  if (lstrcmpiA(wintest::ClassName(child).c_str(), "Static") != 0) return TRUE;
  const std::string text = ControlText(child);
  if (text.empty()) return TRUE;
  search->text = text;
  return FALSE;
}

}  // namespace

SetupRun::SetupRun() : folder_(NewScratchFolder()) {
  const std::string programs = wintest::ProgramFolder();
  CopyFileA((programs + "setup.exe").c_str(), (folder_ + "setup.exe").c_str(), FALSE);
  CopyFileA((programs + "setup-doubles\\rundll32.exe").c_str(), (folder_ + "rundll32.exe").c_str(),
            FALSE);
}

SetupRun::~SetupRun() {
  if (process_.Running()) {
    TerminateProcess(process_.handle(), 0xDEAD);
    WaitForSingleObject(process_.handle(), kWait);
  }
  wintest::WaitFor([] { return !StandInRunning(); }, kWait);
  RemoveTree(folder_);
}

void SetupRun::Write(const std::string& name, const std::string& bytes) const {
  for (std::size_t slash = name.find('\\'); slash != std::string::npos;
       slash = name.find('\\', slash + 1))
    CreateDirectoryA((folder_ + name.substr(0, slash)).c_str(), nullptr);
  WriteBytes(folder_ + name, bytes);
}

HWND SetupRun::Start() {
  if (!process_.Start("\"" + folder_ + "setup.exe\"", folder_)) return nullptr;
  return wintest::WaitForWindow(process_.id(), "#32770", "Setup", kWait);
}

HWND SetupRun::WaitForBox(const char* caption) const {
  return wintest::WaitForWindow(process_.id(), "#32770", caption, kWait);
}

DWORD SetupRun::WaitForExit() {
  DWORD code = 0xFFFFFFFF;
  if (!process_.WaitForExit(kWait, &code)) return 0xFFFFFFFF;
  return code;
}

bool SetupRun::StartWith(const std::string& arguments) {
  return process_.Start("\"" + folder_ + "setup.exe\" " + arguments, folder_);
}

std::string SetupRun::HandOver(const std::string& folder) const {
  // The stand-in renames its finished record into place, but its rename
  // holds the file open for deletion a moment longer, and an open for
  // reading fails until it lets go: wait until the record reads, not only
  // until it exists.
  const std::string record = folder + "handover.txt";
  std::string bytes;
  wintest::WaitFor(
      [&] {
        bytes = ReadBytes(record);
        return !bytes.empty();
      },
      kWait);
  return bytes;
}

bool SetupRun::NoHandOver() const {
  // A stand-in that was started is either still running or has left its record.
  for (const std::string& folder : {folder_, SystemDirectory()})
    if (FileExists(folder + "handover.txt") || FileExists(folder + "handover.txt.part"))
      return false;
  return !StandInRunning();
}

bool SetupRun::PlantedRan() const {
  return FileExists(folder_ + "handover.txt") || FileExists(folder_ + "handover.txt.part");
}

std::string SystemDirectory() {
  char path[MAX_PATH] = {};
  GetSystemDirectoryA(path, MAX_PATH);
  return std::string(path) + "\\";
}

namespace {
constexpr char kOverrides[] = "Software\\Wine\\DllOverrides";
const std::string kSystemRundll = "rundll32.exe";
const std::string kSavedRundll = "rundll32.exe.life-saved";
}  // namespace

void PlantSystemStandIn(const std::string& system) {
  if (!FileExists(system + kSavedRundll))
    MoveFileA((system + kSystemRundll).c_str(), (system + kSavedRundll).c_str());
  CopyFileA((wintest::ProgramFolder() + "setup-doubles\\rundll32.exe").c_str(),
            (system + kSystemRundll).c_str(), FALSE);
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) == ERROR_SUCCESS) {
    RegSetValueExA(key, "rundll32.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>("native"), 7);
    RegCloseKey(key);
  }
  DeleteFileA((system + "handover.txt").c_str());
}

void RemoveSystemStandIn(const std::string& system) {
  wintest::WaitFor([] { return !StandInRunning(); }, kWait);
  DeleteFileA((system + "handover.txt").c_str());
  DeleteFileA((system + "handover.txt.part").c_str());
  if (FileExists(system + kSavedRundll))
    MoveFileExA((system + kSavedRundll).c_str(), (system + kSystemRundll).c_str(),
                MOVEFILE_REPLACE_EXISTING);
  else
    DeleteFileA((system + kSystemRundll).c_str());
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kOverrides, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueA(key, "rundll32.exe");
    RegCloseKey(key);
  }
}

DWORD RunToEnd(const std::string& commandLine, std::string* output) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string outputPath =
      std::string(temp) + "life-setup-output-" + std::to_string(GetCurrentProcessId()) + ".txt";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE file = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                            CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = file;
  startup.hStdError = file;
  PROCESS_INFORMATION process{};
  std::string line = commandLine;
  DWORD code = 0xFFFFFFFF;
  if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                     &process) != 0) {
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
      GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(file);
  if (output != nullptr) *output = ReadBytes(outputPath);
  DeleteFileA(outputPath.c_str());
  return code;
}

HWND WaitForAnyBox(const char* title) {
  HWND box = nullptr;
  wintest::WaitFor(
      [&] {
        box = FindWindowA("#32770", title);
        return box != nullptr && IsWindowVisible(box);
      },
      2 * kWait);  // Wine's uninstaller may be slow to start on a loaded machine
  return box != nullptr && IsWindowVisible(box) ? box : nullptr;
}

std::string MachineString(const char* subkey, const char* name) {
  char value[1024] = {};
  DWORD size = sizeof value - 1;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return "<none>";
  const LONG result =
      RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS ? std::string(value) : "<none>";
}

std::string ControlText(HWND control) {
  DWORD_PTR length = 0;
  if (SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length) == 0)
    return "";
  std::vector<char> text(length + 1);
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  return std::string(text.data(), copied);
}

std::string MessageBoxText(HWND box) {
  ChildSearch search;
  EnumChildWindows(box, FindStaticText, reinterpret_cast<LPARAM>(&search));
  return search.text;
}

void Press(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

std::string WindowsDirectory() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return std::string(path) + "\\";
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadBytes(const std::string& path) {
  std::string bytes;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return bytes;
  char block[4096];
  for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;)
    bytes.append(block, got);
  std::fclose(file);
  return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

std::string StoredName(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return "";
  FindClose(search);
  return found.cFileName;
}

void SetWineVersion(const char* program, const char* version) {
  const std::string subkey = std::string("Software\\Wine\\AppDefaults\\") + program;
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                 static_cast<DWORD>(lstrlenA(version) + 1));
  RegCloseKey(key);
}

void ClearWineVersion(const char* program) {
  wintest::DeleteTree((std::string("Software\\Wine\\AppDefaults\\") + program).c_str());
}
