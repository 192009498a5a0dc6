#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SetupDriver.h"

namespace {

constexpr int kInstall = 1;
constexpr int kCancel = 2;
constexpr int kIntroEdit = 1000;

// The files the tests install into the Windows directory; removed before
// and after each test.
const std::vector<std::string> kInstalledNames = {
    "life.scr",      "LifeTest Face.BMP", "lifetest.nfo",       "LifeTestA.bmp",
    "LifeTestB.bmp", "LifeTestC.bmp",     "LifeTestLocked.bmp", "lifesetup.exe"};

std::string LowerCased(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

class SetupEndToEndTest : public testing::Test {
 protected:
  void SetUp() override {
    RemoveInstalled();
    PlantSystemStandIn();
  }
  void TearDown() override {
    RemoveSystemStandIn();
    RemoveInstalled();
  }

  void RemoveInstalled() const {
    for (const std::string& name : kInstalledNames) {
      const std::string path = windows + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
    RegDeleteKeyA(HKEY_LOCAL_MACHINE,
                  "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Life");
  }

  // Starts setup and presses Install; the dialog, or null.
  HWND StartAndInstall() {
    HWND dialog = run.Start();
    if (dialog != nullptr) Press(dialog, kInstall);
    return dialog;
  }

  const std::string windows = WindowsDirectory();
  // The hand-over setup makes: the Windows directory lower-cased.
  const std::string expectedHandOver =
      "rundll32.exe desk.cpl,InstallScreenSaver " + LowerCased(windows) + "life.scr";
  SetupRun run;
};

TEST_F(SetupEndToEndTest, ShowsTheFirst1024BytesOfTheIntroAndCancelTouchesNothing) {
  std::string intro = "Welcome to Life.\r\nPress Install.\r\n";
  while (intro.size() < 1500) intro += static_cast<char>('a' + intro.size() % 26);
  run.Write("_intro", intro);
  run.Write("_copy.lst", "life.scr\r\n");
  run.Write("life.scr", "saver");

  HWND dialog = run.Start();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ControlText(GetDlgItem(dialog, kIntroEdit)), intro.substr(0, 1024));
  Press(dialog, kCancel);
  EXPECT_EQ(run.WaitForExit(), 0u);
  EXPECT_FALSE(FileExists(windows + "life.scr"));
  EXPECT_TRUE(run.NoHandOver());
}

TEST_F(SetupEndToEndTest, ShowsAnIntroOfExactly1024BytesWholeAndTheCloseBoxEndsSetup) {
  const std::string intro = std::string(1000, 'x') + "\r\n" + std::string(21, 'y') + "!";
  ASSERT_EQ(intro.size(), 1024u);
  run.Write("_intro", intro);
  run.Write("_copy.lst", "life.scr\r\n");
  run.Write("life.scr", "saver");

  HWND dialog = run.Start();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ControlText(GetDlgItem(dialog, kIntroEdit)), intro);
  PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(run.WaitForExit(), 0u);
  EXPECT_FALSE(FileExists(windows + "life.scr"));
  EXPECT_TRUE(run.NoHandOver());
}

TEST_F(SetupEndToEndTest, ANulEndsTheIntroAndEscapeEndsSetup) {
  run.Write("_intro", std::string("Before\r\nthe NUL\0after it", 25));
  HWND dialog = run.Start();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ControlText(GetDlgItem(dialog, kIntroEdit)), "Before\r\nthe NUL");
  PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST_F(SetupEndToEndTest, InstallCopiesEveryListedFileThenHandsOver) {
  run.Write("_intro", "Welcome.\r\n");
  run.Write("life.scr", "synthetic saver");
  run.Write("disk1\\Faces\\LifeTest Face.BMP", "face bitmap");
  run.Write("lifetest.nfo", "LifeTest Face.BMP 16 16 25 6 5 12\r\n");
  // An absolute line, a relative one with folders, one without a
  // backslash; LF and CR LF; an empty line; no line end at the end.
  run.Write("_copy.lst",
            run.folder() + "life.scr\n\ndisk1\\Faces\\LifeTest Face.BMP\r\n" + "lifetest.nfo");

  HWND dialog = StartAndInstall();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(run.HandOver(), expectedHandOver);
  EXPECT_EQ(run.WaitForExit(), 0u);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_FALSE(run.PlantedRan());  // only the system's rundll32.exe runs

  EXPECT_EQ(ReadBytes(windows + "life.scr"), "synthetic saver");
  EXPECT_EQ(ReadBytes(windows + "LifeTest Face.BMP"), "face bitmap");
  EXPECT_EQ(StoredName(windows + "LifeTest Face.BMP"), "LifeTest Face.BMP");
  EXPECT_EQ(ReadBytes(windows + "lifetest.nfo"), "LifeTest Face.BMP 16 16 25 6 5 12\r\n");
}

TEST_F(SetupEndToEndTest, AMissingIntroIsShownAndInstallStillWorks) {
  run.Write("_copy.lst", "life.scr\r\n");
  run.Write("life.scr", "saver");
  HWND dialog = run.Start();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ControlText(GetDlgItem(dialog, kIntroEdit)), "Cant find file, .\\_intro!\n");
  Press(dialog, kInstall);
  EXPECT_EQ(run.HandOver(), expectedHandOver);
  EXPECT_EQ(run.WaitForExit(), 0u);
  EXPECT_EQ(ReadBytes(windows + "life.scr"), "saver");
}

TEST_F(SetupEndToEndTest, ExistingFilesAreReplacedOnYesOnlyAndTheWalkGoesOn) {
  run.Write("_copy.lst", "LifeTestA.bmp\r\nLifeTestB.bmp\r\nLifeTestC.bmp\r\nlife.scr\r\n");
  for (const char* name : {"LifeTestA.bmp", "LifeTestB.bmp", "LifeTestC.bmp", "life.scr"})
    run.Write(name, std::string("new ") + name);
  WriteBytes(windows + "LifeTestA.bmp", "old A");
  WriteBytes(windows + "LifeTestB.bmp", "old B");

  ASSERT_NE(StartAndInstall(), nullptr);
  HWND first = run.WaitForBox("Overwrite?");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(MessageBoxText(first), "The file " + LowerCased(windows) +
                                       "LifeTestA.bmp already exists. Overwrite this file?");
  Press(first, IDNO);
  ASSERT_TRUE(wintest::WaitFor([&] { return !IsWindow(first); }));
  HWND second = run.WaitForBox("Overwrite?");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(MessageBoxText(second), "The file " + LowerCased(windows) +
                                        "LifeTestB.bmp already exists. Overwrite this file?");
  Press(second, IDYES);

  EXPECT_EQ(run.HandOver(), expectedHandOver);
  EXPECT_EQ(run.WaitForExit(), 0u);
  EXPECT_EQ(ReadBytes(windows + "LifeTestA.bmp"), "old A");
  EXPECT_EQ(ReadBytes(windows + "LifeTestB.bmp"), "new LifeTestB.bmp");
  EXPECT_EQ(ReadBytes(windows + "LifeTestC.bmp"), "new LifeTestC.bmp");
  EXPECT_EQ(ReadBytes(windows + "life.scr"), "new life.scr");
}

TEST_F(SetupEndToEndTest, AMissingSourceStopsTheInstallWithoutHandOver) {
  run.Write("_copy.lst", "LifeTestA.bmp\nfaces\\LifeTestB.bmp\nLifeTestC.bmp\nlife.scr\n");
  run.Write("LifeTestA.bmp", "A");
  run.Write("LifeTestC.bmp", "C");
  run.Write("life.scr", "saver");

  ASSERT_NE(StartAndInstall(), nullptr);
  HWND box = run.WaitForBox("Setup Error");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "No faces\\LifeTestB.bmp present!");
  Press(box, IDOK);
  EXPECT_EQ(run.WaitForExit(), 0u);
  EXPECT_EQ(ReadBytes(windows + "LifeTestA.bmp"), "A");
  EXPECT_FALSE(FileExists(windows + "LifeTestC.bmp"));
  EXPECT_FALSE(FileExists(windows + "life.scr"));
  EXPECT_TRUE(run.NoHandOver());
}

TEST_F(SetupEndToEndTest, ASourceThatCannotBeReadIsAnErrorNotAnOverwriteQuestion) {
  run.Write("_copy.lst", "LifeTestLocked.bmp\nlife.scr\n");
  run.Write("LifeTestLocked.bmp", "locked");
  run.Write("life.scr", "saver");
  // Held open without sharing, the source cannot be read by setup.
  HANDLE lock = CreateFileA((run.folder() + "LifeTestLocked.bmp").c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);

  ASSERT_NE(StartAndInstall(), nullptr);
  HWND box = run.WaitForBox("Setup Error");
  ASSERT_NE(box, nullptr);
  const std::string prefix =
      "Can`t copy LifeTestLocked.bmp to " + LowerCased(windows) + "LifeTestLocked.bmp!\n";
  EXPECT_EQ(MessageBoxText(box).substr(0, prefix.size()), prefix);
  Press(box, IDOK);
  EXPECT_EQ(run.WaitForExit(), 0u);
  CloseHandle(lock);
  EXPECT_FALSE(FileExists(windows + "LifeTestLocked.bmp"));
  EXPECT_FALSE(FileExists(windows + "life.scr"));
  EXPECT_TRUE(run.NoHandOver());
}

TEST_F(SetupEndToEndTest, AnOverwriteThatFailsAfterYesIsReported) {
  run.Write("_copy.lst", "LifeTestA.bmp\nlife.scr\n");
  run.Write("LifeTestA.bmp", "new A");
  run.Write("life.scr", "saver");
  WriteBytes(windows + "LifeTestA.bmp", "old A");
  // Held open without sharing, the existing file cannot be replaced.
  HANDLE lock = CreateFileA((windows + "LifeTestA.bmp").c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);

  ASSERT_NE(StartAndInstall(), nullptr);
  HWND question = run.WaitForBox("Overwrite?");
  ASSERT_NE(question, nullptr);
  Press(question, IDYES);
  HWND error = run.WaitForBox("Setup Error");
  ASSERT_NE(error, nullptr);
  const std::string prefix =
      "Can`t overwrite LifeTestA.bmp to " + LowerCased(windows) + "LifeTestA.bmp!\n";
  EXPECT_EQ(MessageBoxText(error).substr(0, prefix.size()), prefix);
  Press(error, IDOK);
  EXPECT_EQ(run.WaitForExit(), 0u);
  CloseHandle(lock);
  EXPECT_EQ(ReadBytes(windows + "LifeTestA.bmp"), "old A");
  EXPECT_FALSE(FileExists(windows + "life.scr"));
  EXPECT_TRUE(run.NoHandOver());
}

TEST_F(SetupEndToEndTest, AMissingCopyListIsReported) {
  ASSERT_NE(StartAndInstall(), nullptr);
  HWND box = run.WaitForBox("Setup Error");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "Can`t find copy list!");
  Press(box, IDOK);
  EXPECT_EQ(run.WaitForExit(), 0u);
  EXPECT_TRUE(run.NoHandOver());
}

// The source tree's assets folder, as Wine's Z: drive shows it.
std::string AssetsFolder() {
  std::string folder = "Z:" LIFE_SOURCE_DIR "/assets/";
  for (char& c : folder)
    if (c == '/') c = '\\';
  return folder;
}

// The non-empty lines of a copy list.
std::vector<std::string> ListedNames(const std::string& copyList) {
  std::vector<std::string> names;
  std::string line;
  for (char c : copyList + "\n") {
    if (c == '\r') continue;
    if (c != '\n') {
      line += c;
    } else if (!line.empty()) {
      names.push_back(line);
      line.clear();
    }
  }
  return names;
}

TEST_F(SetupEndToEndTest, TheShippedDataFilesInstallEveryListedFile) {
  const std::string assets = AssetsFolder();
  const std::string copyList = ReadBytes(assets + "_copy.lst");
  const std::vector<std::string> names = ListedNames(copyList);
  ASSERT_FALSE(names.empty());
  const std::string intro = ReadBytes(assets + "_intro");
  ASSERT_FALSE(intro.empty());
  run.Write("_intro", intro);
  run.Write("_copy.lst", copyList);
  for (const std::string& name : names)
    run.Write(name, name == "life.scr" ? "synthetic saver" : ReadBytes(assets + name));
  for (const std::string& name : names) DeleteFileA((windows + name).c_str());

  HWND dialog = run.Start();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ControlText(GetDlgItem(dialog, kIntroEdit)), intro);
  Press(dialog, kInstall);
  EXPECT_EQ(run.HandOver(), expectedHandOver);
  EXPECT_EQ(run.WaitForExit(), 0u);
  for (const std::string& name : names) {
    EXPECT_EQ(ReadBytes(windows + name), ReadBytes(run.folder() + name)) << name;
    DeleteFileA((windows + name).c_str());
  }
}

class SetupPlatformTest : public SetupEndToEndTest {
 protected:
  void TearDown() override {
    if (plantedInWindows) RemoveSystemStandIn(windows);
    ClearWineVersion("setup.exe");
    SetupEndToEndTest::TearDown();
  }
  bool plantedInWindows = false;
};

TEST_F(SetupPlatformTest, Win32sIsRefusedBeforeAnyCopy) {
  SetWineVersion("setup.exe", "win31");
  run.Write("_copy.lst", "life.scr\n");
  run.Write("life.scr", "saver");
  ASSERT_NE(StartAndInstall(), nullptr);
  HWND box = run.WaitForBox("Setup Error");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "Life can`t run on this Windows!\n");
  Press(box, IDOK);
  EXPECT_EQ(run.WaitForExit(), 0u);
  EXPECT_FALSE(FileExists(windows + "life.scr"));
  EXPECT_TRUE(run.NoHandOver());
}

TEST_F(SetupPlatformTest, TheWindows9xFamilyInstalls) {
  SetWineVersion("setup.exe", "win98");
  // The 9x family keeps its rundll32.exe in the Windows directory.
  PlantSystemStandIn(windows);
  plantedInWindows = true;
  run.Write("_copy.lst", "life.scr\n");
  run.Write("life.scr", "saver");
  ASSERT_NE(StartAndInstall(), nullptr);
  EXPECT_EQ(run.HandOver(windows), expectedHandOver);
  EXPECT_EQ(run.WaitForExit(), 0u);
  EXPECT_EQ(ReadBytes(windows + "life.scr"), "saver");
}

}  // namespace
