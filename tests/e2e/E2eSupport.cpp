#include "E2eSupport.h"

#include <cstdio>
#include <fstream>

namespace e2e {

uint32_t FaceColor(int frame, int row) {
  if (frame == 0) return 0;
  const auto red = static_cast<uint32_t>(40 + frame * 8);
  const auto green = static_cast<uint32_t>(40 + row * 35);
  const auto blue = static_cast<uint32_t>(250 - frame * 6);
  return (red << 16) | (green << 8) | blue;
}

bool WriteTestFaceSheet(const std::string& path) {
  const int width = kFrames * kFrameSize;
  const int height = kRows * kFrameSize;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      pixels[static_cast<size_t>(y * width + x)] = FaceColor(x / kFrameSize, y / kFrameSize);
  return WriteBmp(path, width, height, pixels);
}

namespace {
int RowBytes(int width) { return (width * 3 + 3) / 4 * 4; }
}  // namespace

bool WriteBmp(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
  const int rowBytes = RowBytes(width);
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(rowBytes * height);
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;

  std::vector<char> bytes(static_cast<size_t>(rowBytes) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    char* line = bytes.data() + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(rowBytes);
    for (int x = 0; x < width; ++x) {
      const uint32_t color = pixels[static_cast<size_t>(y * width + x)];
      line[x * 3 + 0] = static_cast<char>(color & 0xFF);
      line[x * 3 + 1] = static_cast<char>((color >> 8) & 0xFF);
      line[x * 3 + 2] = static_cast<char>((color >> 16) & 0xFF);
    }
  }
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return out.good();
}

bool ReadBmp(const std::string& path, int* width, int* height, std::vector<uint32_t>* pixels) {
  std::ifstream in(path, std::ios::binary);
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  in.read(reinterpret_cast<char*>(&file), sizeof file);
  in.read(reinterpret_cast<char*>(&info), sizeof info);
  if (!in || file.bfType != 0x4D42 || info.biBitCount != 24 || info.biCompression != BI_RGB ||
      info.biWidth <= 0 || info.biHeight == 0)
    return false;
  const bool bottomUp = info.biHeight > 0;
  *width = info.biWidth;
  *height = bottomUp ? info.biHeight : -info.biHeight;
  const int rowBytes = RowBytes(*width);
  std::vector<unsigned char> bytes(static_cast<size_t>(rowBytes) * static_cast<size_t>(*height));
  in.seekg(file.bfOffBits);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!in) return false;
  pixels->assign(static_cast<size_t>(*width) * static_cast<size_t>(*height), 0);
  for (int y = 0; y < *height; ++y) {
    const int stored = bottomUp ? *height - 1 - y : y;
    const unsigned char* line =
        bytes.data() + static_cast<size_t>(stored) * static_cast<size_t>(rowBytes);
    for (int x = 0; x < *width; ++x)
      (*pixels)[static_cast<size_t>(y * *width + x)] =
          (uint32_t{line[x * 3 + 2]} << 16) | (uint32_t{line[x * 3 + 1]} << 8) | line[x * 3];
  }
  return true;
}

namespace {
std::string TempFolder() {
  char path[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, path);
  return path;
}

void RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") DeleteFileA((folder + "\\" + name).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

ScenarioFolder::ScenarioFolder(const std::string& name) {
  // A folder of its own each time: a program of an earlier scenario may
  // still hold its files for a moment after it ended.
  static int made = 0;
  path_ = TempFolder() + "life-e2e-" + name + "-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++made);
  RemoveFolder(path_);
  CreateDirectoryA(path_.c_str(), nullptr);
  AddFromBuild("life.scr");
  WriteTestFaceSheet(path_ + "\\lifeface.bmp");
}

ScenarioFolder::~ScenarioFolder() { RemoveFolder(path_); }

bool ScenarioFolder::AddFromBuild(const std::string& relativePath) {
  const std::string source = wintest::ProgramFolder() + relativePath;
  return CopyFileA(source.c_str(), (path_ + "\\" + FileName(relativePath)).c_str(), FALSE) != 0;
}

std::string ScenarioFolder::Quoted(const std::string& program) const {
  return "\"" + path_ + "\\" + program + "\"";
}

bool WriteDword(const char* subkey, const char* name, DWORD value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const bool written =
      RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                     sizeof value) == ERROR_SUCCESS;
  RegCloseKey(key);
  return written;
}

bool WriteString(const char* subkey, const char* name, const std::string& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const bool written =
      RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  RegCloseKey(key);
  return written;
}

void DeleteValue(const char* subkey, const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, name);
  RegCloseKey(key);
}

namespace {
std::string AppDefaults(const char* program) {
  return std::string("Software\\Wine\\AppDefaults\\") + program;
}
constexpr char kWineRunningStateKey[] =
    "Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop";
constexpr char kWineRunningStateValue[] = "WINE_ScreenSaverRunning";
}  // namespace

void UseWin98Family(const char* program, bool on) {
  if (on)
    WriteString(AppDefaults(program).c_str(), "Version", "win98");
  else
    DeleteValue(AppDefaults(program).c_str(), "Version");
}

void UseOurMpr(const char* program, bool on) {
  const std::string key = AppDefaults(program) + "\\DllOverrides";
  if (on)
    WriteString(key.c_str(), "mpr", "native");
  else
    DeleteValue(key.c_str(), "mpr");
}

RunningState ReadRunningState() {
  std::string value;
  if (!wintest::ReadString(kWineRunningStateKey, kWineRunningStateValue, &value))
    return RunningState::kNeverSet;
  return value == "0" ? RunningState::kOff : RunningState::kOn;
}

void ForgetRunningState() { DeleteValue(kWineRunningStateKey, kWineRunningStateValue); }

void WriteSettings(const TestSettings& s) {
  wintest::DeleteTree(kSettingsKey);
  WriteDword(kSettingsKey, "delay", s.delay);
  WriteDword(kSettingsKey, "bMiniDisplay", s.bMiniDisplay);
  WriteDword(kSettingsKey, "bActivityBar", s.bActivityBar);
  WriteDword(kSettingsKey, "bFrameScreen", s.bFrameScreen);
  WriteDword(kSettingsKey, "seed", s.seed);
  WriteDword(kSettingsKey, "initpop", s.initpop);
  WriteDword(kSettingsKey, "displayColor", s.displayColor);
  WriteString(kSettingsKey, "font", "MS Sans Serif");
  WriteDword(kSettingsKey, "numFrames", s.numFrames);
  WriteDword(kSettingsKey, "numRows", s.numRows);
  WriteDword(kSettingsKey, "frameWidth", s.frameWidth);
  WriteDword(kSettingsKey, "frameHeight", s.frameHeight);
  WriteDword(kSettingsKey, "bornEnd", s.bornEnd);
  WriteDword(kSettingsKey, "dieStart", s.dieStart);
  WriteString(kSettingsKey, "loadImage", s.loadImage);
  if (s.bSpanMonitors != 0) WriteDword(kSettingsKey, "bSpanMonitors", s.bSpanMonitors);
}

bool Start(wintest::Process& process, const ScenarioFolder& folder, const std::string& program,
           const std::string& arguments) {
  std::string line = folder.Quoted(program);
  if (!arguments.empty()) line += " " + arguments;
  return process.Start(line, folder.path());
}

DWORD ExitCodeWithin(wintest::Process& process, DWORD timeoutMs) {
  DWORD code = kNoExit;
  if (!process.WaitForExit(timeoutMs, &code)) return kNoExit;
  return code;
}

DWORD RunToExit(const ScenarioFolder& folder, const std::string& program,
                const std::string& arguments, DWORD timeoutMs) {
  wintest::Process process;
  if (!Start(process, folder, program, arguments)) return kNoExit;
  return ExitCodeWithin(process, timeoutMs);
}

bool StaysRunning(wintest::Process& process, DWORD ms) { return !process.WaitForExit(ms, nullptr); }

bool PumpWaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (done()) return true;
    if (GetTickCount() - start >= timeoutMs) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

namespace {
BOOL CALLBACK CollectSaverWindow(HWND window, LPARAM data) {
  if (wintest::ClassName(window) == kSaverClass)
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}
}  // namespace

std::vector<HWND> SaverWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectSaverWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

void PressKey(WORD virtualKey) {
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = virtualKey;
  inputs[1] = inputs[0];
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

void ClickLeft() {
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1] = inputs[0];
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
}

void MoveCursorAndNotify(HWND window, int x, int y) {
  SetCursorPos(x, y);
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, WM_MOUSEMOVE, 0, 0, SMTO_NORMAL, 5000, &result);
}

BITMAPINFO TopDownBitmapInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

std::vector<uint32_t> ReadScreen(int x, int y, int width, int height) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  const BITMAPINFO info = TopDownBitmapInfo(width, height);
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, x, y, SRCCOPY);
    GdiFlush();
    const auto* source = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = source[i] & 0x00FFFFFF;
    SelectObject(memory, previous);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

bool WaitUntilPainted(HWND window, DWORD timeoutMs) {
  constexpr DWORD kQuietMs = 300;
  DWORD quietSince = GetTickCount();
  return PumpWaitFor(
      [&] {
        const DWORD now = GetTickCount();
        if (!IsWindowVisible(window) || GetUpdateRect(window, nullptr, FALSE)) quietSince = now;
        return now - quietSince >= kQuietMs;
      },
      timeoutMs);
}

bool Tick(HWND saver) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(saver, WM_TIMER, 1, 0, SMTO_NORMAL, 10000, &result) != 0;
}

}  // namespace e2e
