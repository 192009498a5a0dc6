// The registered install under Wine: Wine's own uninstaller as a client of
// the registration, and the unattended install and removal. The removal
// acts only on what is Life's: record entries outside the Windows
// directory, a damaged record and the user's other desktop settings are
// left alone, and the uninstaller's own file is left to the next restart
// (nothing is copied to, or started from, a temporary folder).
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "LifeVersion.h"
#include "SetupDriver.h"

namespace {

constexpr char kLifeKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Life";
const char* const kNames[] = {"life.scr", "LifeTestA.bmp", "LifeTestB.bmp", "lifesetup.exe"};

// The names of the files in a folder.
std::set<std::string> FileNames(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.insert(found.cFileName);
  } while (FindNextFileA(search, &found) != 0);
  FindClose(search);
  return names;
}

std::string Uninstaller() { return "\"" + SystemDirectory() + "uninstaller.exe\""; }

constexpr char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr char kPending[] = "PendingFileRenameOperations";
constexpr char kDesktop[] = "Control Panel\\Desktop";

// The files that the platform deletes or renames at the next restart, as
// one text (the value's strings joined by newlines).
std::string PendingAtRestart() {
  char value[8192] = {};
  DWORD size = sizeof value - 2;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return "";
  RegQueryValueExA(key, kPending, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  std::string text(value, size);
  for (char& c : text)
    if (c == '\0') c = '\n';
  return text;
}

void SetValue(HKEY root, const char* subkey, const char* name, DWORD type, const std::string& data) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, subkey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>(data.size() + 1));
  RegCloseKey(key);
}

// The names of the files in both temporary folders.
std::set<std::string> TemporaryFiles() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  std::set<std::string> names = FileNames(temp);
  for (const std::string& name : FileNames(WindowsDirectory() + "Temp\\"))
    names.insert("windows:" + name);
  return names;
}

class SetupRemovalTest : public testing::Test {
 protected:
  void SetUp() override {
    Clean();
    PlantSystemStandIn();
    run.Write("_copy.lst", "life.scr\r\nLifeTestA.bmp\r\nLifeTestB.bmp\r\n");
    for (const char* name : {"life.scr", "LifeTestA.bmp", "LifeTestB.bmp"})
      run.Write(name, std::string("new ") + name);
  }
  void TearDown() override {
    RemoveSystemStandIn();
    Clean();
  }
  void Clean() const {
    for (const char* name : kNames) DeleteFileA((windows + name).c_str());
    DeleteFileA(kPlanted);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kLifeKey);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) ==
        ERROR_SUCCESS) {
      RegDeleteValueA(key, kPending);
      RegCloseKey(key);
    }
  }
  // The uninstaller stays in the Windows directory, marked for deletion at
  // the next restart.
  bool UninstallerGoesAtRestart() const {
    std::string pending = PendingAtRestart();
    for (char& c : pending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return FileExists(windows + "lifesetup.exe") &&
           pending.find("lifesetup.exe") != std::string::npos;
  }

  static constexpr char kPlanted[] = "C:\\LifeTestPlanted.txt";
  // Waits until the Windows directory holds exactly `names`.
  bool WindowsDirectoryHolds(const std::set<std::string>& names) const {
    return wintest::WaitFor([&] { return FileNames(windows) == names; }, 30000);
  }

  const std::string windows = WindowsDirectory();
  SetupRun run;
};

TEST_F(SetupRemovalTest, WinesUninstallerListsLifeAndRemovesExactlyWhatWasInstalled) {
  WriteBytes(windows + "LifeTestA.bmp", "the user's own");
  std::set<std::string> before = FileNames(windows);
  HWND dialog = run.Start();
  ASSERT_NE(dialog, nullptr);
  Press(dialog, 1);  // Install
  HWND question = run.WaitForBox("Overwrite?");
  ASSERT_NE(question, nullptr);
  Press(question, IDNO);
  EXPECT_FALSE(run.HandOver().empty());
  EXPECT_EQ(run.WaitForExit(), 0u);
  EXPECT_TRUE(FileExists(windows + "lifesetup.exe"));

  std::string listed;
  EXPECT_EQ(RunToEnd(Uninstaller() + " --list", &listed), 0u);
  EXPECT_NE(listed.find("Life|||Life " LIFE_VERSION_TEXT), std::string::npos) << listed;

  // A record entry outside the Windows directory, and the user's desktop
  // settings with Life as the screen saver.
  WriteBytes(kPlanted, "not Life's");
  SetValue(HKEY_LOCAL_MACHINE, kLifeKey, "InstalledFiles", REG_SZ,
           MachineString(kLifeKey, "InstalledFiles") + "|" + kPlanted);
  SetValue(HKEY_CURRENT_USER, kDesktop, "SCRNSAVE.EXE", REG_SZ, windows + "life.scr");
  SetValue(HKEY_CURRENT_USER, kDesktop, "Wallpaper", REG_SZ, "C:\\my wallpaper.bmp");
  const std::set<std::string> temporary = TemporaryFiles();

  wintest::Process removal;
  ASSERT_TRUE(removal.Start(Uninstaller() + " --remove Life"));
  HWND ask = WaitForAnyBox("Remove Life");
  ASSERT_NE(ask, nullptr);
  Press(ask, IDYES);
  ASSERT_TRUE(wintest::WaitFor([&] { return !IsWindow(ask); }));
  HWND done = WaitForAnyBox("Remove Life");
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(MessageBoxText(done),
            std::string("Life has been removed, but these entries of its record are not files "
                        "of the Windows directory and were left alone:\n\n") +
                kPlanted);
  Press(done, IDOK);

  before.insert("lifesetup.exe");
  EXPECT_TRUE(WindowsDirectoryHolds(before));
  EXPECT_TRUE(UninstallerGoesAtRestart());
  EXPECT_EQ(TemporaryFiles(), temporary);
  EXPECT_EQ(ReadBytes(windows + "LifeTestA.bmp"), "the user's own");
  EXPECT_EQ(ReadBytes(kPlanted), "not Life's");
  EXPECT_EQ(MachineString(kLifeKey, "DisplayName"), "<none>");
  std::string wallpaper;
  EXPECT_FALSE(wintest::ReadString(kDesktop, "SCRNSAVE.EXE", &wallpaper));
  EXPECT_TRUE(wintest::ReadString(kDesktop, "Wallpaper", &wallpaper));
  EXPECT_EQ(wallpaper, "C:\\my wallpaper.bmp");
  DWORD code = 0;
  EXPECT_TRUE(removal.WaitForExit(30000, &code));
}

TEST_F(SetupRemovalTest, SilentInstallAndSilentRemoval) {
  WriteBytes(windows + "LifeTestA.bmp", "old A");
  const std::set<std::string> before = FileNames(windows);
  ASSERT_TRUE(run.StartWith("/S"));
  EXPECT_EQ(run.WaitForExit(), 0u);
  EXPECT_TRUE(run.NoHandOver());
  EXPECT_EQ(ReadBytes(windows + "LifeTestA.bmp"), "new LifeTestA.bmp");
  EXPECT_EQ(MachineString(kLifeKey, "DisplayVersion"), LIFE_VERSION_TEXT);
  const std::string quiet = MachineString(kLifeKey, "QuietUninstallString");
  EXPECT_EQ(quiet,
            "\"" + MachineString(kLifeKey, "InstallLocation") + "\\lifesetup.exe\" /uninstall /S");

  // A record that is not text: nothing removed, the registration kept.
  const std::string record = MachineString(kLifeKey, "InstalledFiles");
  SetValue(HKEY_LOCAL_MACHINE, kLifeKey, "InstalledFiles", REG_BINARY, "\x01\x02garbage");
  const std::set<std::string> installed = FileNames(windows);
  EXPECT_EQ(RunToEnd(quiet), 3u);
  EXPECT_EQ(FileNames(windows), installed);
  EXPECT_EQ(MachineString(kLifeKey, "DisplayVersion"), LIFE_VERSION_TEXT);

  SetValue(HKEY_LOCAL_MACHINE, kLifeKey, "InstalledFiles", REG_SZ, record);
  EXPECT_EQ(RunToEnd(quiet), 0u);
  std::set<std::string> after = before;
  after.erase("LifeTestA.bmp");  // replaced by the install, so Life's
  after.insert("lifesetup.exe");  // until the next restart
  EXPECT_TRUE(WindowsDirectoryHolds(after));
  EXPECT_TRUE(UninstallerGoesAtRestart());
  EXPECT_EQ(MachineString(kLifeKey, "DisplayName"), "<none>");
}

// Names that would reach outside the Windows directory, into a stream or a
// device: nothing is written for them, and the user is told which.
TEST_F(SetupRemovalTest, ACopyListNameThatIsNotAPlainFileNameWritesNothingAndIsNamed) {
  run.Write("x\\placeholder", "");
  run.Write("LifeTestEvil.txt", "evil");
  const std::set<std::string> before = FileNames(windows);
  for (const char* line : {"x/../../LifeTestEvil.txt", "life.scr:LifeTestStream", "disk\\NUL"}) {
    SCOPED_TRACE(line);
    run.Write("_copy.lst", std::string("LifeTestB.bmp\r\n") + line + "\r\n");
    ASSERT_TRUE(run.StartWith("/S"));
    EXPECT_EQ(run.WaitForExit(), 1u);
    EXPECT_EQ(FileNames(windows), before);
    EXPECT_FALSE(FileExists("C:\\LifeTestEvil.txt"));
    EXPECT_EQ(MachineString(kLifeKey, "DisplayName"), "<none>");
  }
  HWND dialog = run.Start();
  ASSERT_NE(dialog, nullptr);
  Press(dialog, 1);
  HWND box = run.WaitForBox("Setup Error");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "Can`t copy disk\\NUL: its name is not a plain file name!\n");
  Press(box, IDOK);
  EXPECT_EQ(run.WaitForExit(), 0u);
  EXPECT_FALSE(FileExists("C:\\LifeTestEvil.txt"));
}

TEST_F(SetupRemovalTest, ASilentInstallWhoseCopyFailsHalfWayRegistersNothing) {
  run.Write("_copy.lst", "LifeTestA.bmp\r\nLifeTestMissing.bmp\r\nlife.scr\r\n");
  const std::set<std::string> before = FileNames(windows);
  ASSERT_TRUE(run.StartWith("/S"));
  EXPECT_NE(run.WaitForExit(), 0u);
  EXPECT_EQ(FileNames(windows), before);
  EXPECT_EQ(MachineString(kLifeKey, "DisplayName"), "<none>");
  EXPECT_TRUE(run.NoHandOver());
}

}  // namespace
