#pragma once
// What the end-to-end tests of life.scr share: scenario folders with a copy
// of the saver, a face sheet and test doubles; the registry settings that
// pick the platform family under Wine; synthesized input; screen pixels.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "WinTestSupport.h"

namespace e2e {

inline constexpr char kSaverClass[] = "WindowsScreenSaverClass";
inline constexpr char kSettingsKey[] = "Software\\Vantreel\\Settings";
inline constexpr char kDesktopKey[] = "Control Panel\\Desktop";
inline constexpr char kPasswordDoubleKey[] = "Software\\LifeTests\\PasswordDouble";
inline constexpr char kMprDoubleKey[] = "Software\\LifeTests\\MprDouble";
inline constexpr DWORD kNoExit = 0xDEADBEEF;  // the process did not end in time

// The test face sheet: 25 frames of 16 x 16 in 6 rows. Frame 0 is black;
// every other frame is filled with FaceColor(frame, row) (0x00RRGGBB).
inline constexpr int kFrames = 25;
inline constexpr int kRows = 6;
inline constexpr int kFrameSize = 16;
uint32_t FaceColor(int frame, int row);
bool WriteTestFaceSheet(const std::string& path);

// A fresh folder under %TEMP% holding a copy of life.scr (and of the other
// programs asked for) and the test face sheet as lifeface.bmp. Test
// doubles are copied in on request. The folder is removed at the end.
class ScenarioFolder {
 public:
  explicit ScenarioFolder(const std::string& name);
  ~ScenarioFolder();
  ScenarioFolder(const ScenarioFolder&) = delete;
  ScenarioFolder& operator=(const ScenarioFolder&) = delete;

  // Copies a file of the build's bin folder (e.g. "doubles\\password.cpl")
  // into the scenario folder under its own file name.
  bool AddFromBuild(const std::string& relativePath);
  const std::string& path() const { return path_; }
  // The quoted path of a program in the folder, ready for a command line.
  std::string Quoted(const std::string& program) const;

 private:
  std::string path_;
};

// Registry writes under HKEY_CURRENT_USER.
bool WriteDword(const char* subkey, const char* name, DWORD value);
bool WriteString(const char* subkey, const char* name, const std::string& value);
void DeleteValue(const char* subkey, const char* name);

// Wine reports the Windows 98 family to the named program when asked to.
void UseWin98Family(const char* program, bool on);
// Wine loads our mpr.dll beside the named program instead of its own.
void UseOurMpr(const char* program, bool on);

// The system's screen-saver-running state as Wine keeps it.
enum class RunningState { kNeverSet, kOff, kOn };
RunningState ReadRunningState();
void ForgetRunningState();

// Settings written before the saver starts: a fixed seed, a timer so slow
// that no tick comes on its own (the tests drive the ticks), overlays off.
struct TestSettings {
  DWORD delay = 0x7FFFFFFF;
  DWORD seed = 42;
  DWORD initpop = 150;
  DWORD bMiniDisplay = 0;
  DWORD bActivityBar = 0;
  DWORD bFrameScreen = 0;
  DWORD displayColor = 0x00C0C0C0;
  DWORD frameWidth = 16;
  DWORD frameHeight = 16;
  DWORD numFrames = kFrames;
  DWORD numRows = kRows;
  DWORD bornEnd = 5;
  DWORD dieStart = 12;
  std::string loadImage = "lifeface.bmp";
  DWORD bSpanMonitors = 0;  // written only when on
};
void WriteSettings(const TestSettings& settings);

// Starts a program of the folder with the given arguments, the folder as
// its working directory.
bool Start(wintest::Process& process, const ScenarioFolder& folder, const std::string& program,
           const std::string& arguments);
// Runs it to its end; kNoExit when it is still running after timeoutMs.
DWORD RunToExit(const ScenarioFolder& folder, const std::string& program,
                const std::string& arguments, DWORD timeoutMs = 20000);
DWORD ExitCodeWithin(wintest::Process& process, DWORD timeoutMs);
// True when the process is still running after waiting ms for it to end.
bool StaysRunning(wintest::Process& process, DWORD ms = 800);

// Like wintest::WaitFor, dispatching this thread's messages meanwhile, for
// tests whose windows must answer the saver while they wait.
bool PumpWaitFor(const std::function<bool()>& done, DWORD timeoutMs = 10000);

// Every window of the class "WindowsScreenSaverClass", whichever program
// owns it.
std::vector<HWND> SaverWindows();

// Synthesized input, delivered by the system to the foreground window.
void PressKey(WORD virtualKey);
void ClickLeft();
// Puts the cursor at (x, y) and has the window measure it at once.
void MoveCursorAndNotify(HWND window, int x, int y);

// A 24-bit BMP file as 0x00RRGGBB pixels, row by row from the top; false
// when the file is not one.
bool ReadBmp(const std::string& path, int* width, int* height, std::vector<uint32_t>* pixels);
bool WriteBmp(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);

// A 32-bit picture of width x height, rows from the top, for
// CreateDIBSection.
BITMAPINFO TopDownBitmapInfo(int width, int height);

// A screen area read back from the display, 0x00RRGGBB, row by row.
std::vector<uint32_t> ReadScreen(int x, int y, int width, int height);

// Waits until the window is visible and has had no pending paint for a
// while, so that no background erase comes after the ticks that follow.
bool WaitUntilPainted(HWND window, DWORD timeoutMs = 10000);

// Sends one timer tick and waits until the saver has drawn and stepped.
bool Tick(HWND saver);

}  // namespace e2e
