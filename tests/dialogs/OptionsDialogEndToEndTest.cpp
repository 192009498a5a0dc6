// life.scr's configuration dialog and About box, driven from outside as a
// user would drive them, with the settings checked in the registry.
#include <windows.h>

#include <commdlg.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "DialogIds.h"
#include "WinTestSupport.h"

namespace {

const char kKey[] = "Software\\Vantreel\\Settings";
const char* const kDwordNames[] = {"delay",   "bMiniDisplay", "bActivityBar", "bFrameScreen",
                                   "seed",    "initpop",      "displayColor", "numFrames",
                                   "numRows", "frameWidth",   "frameHeight",  "bornEnd",
                                   "dieStart"};

struct Record {
  std::string name;
  DWORD numbers[6];  // frameWidth frameHeight numFrames numRows bornEnd dieStart
};

std::string WindowsDirectory() {
  char directory[MAX_PATH] = "";
  GetWindowsDirectoryA(directory, MAX_PATH);
  return directory;
}

std::string InstalledCatalogue() { return WindowsDirectory() + "\\life.nfo"; }
std::string ShippedCatalogue() { return wintest::ProgramFolder() + "shipped-life.nfo"; }

std::vector<Record> ShippedRecords() {
  std::vector<Record> records;
  std::ifstream file(ShippedCatalogue());
  Record record;
  while (file >> record.name >> record.numbers[0] >> record.numbers[1] >> record.numbers[2] >>
         record.numbers[3] >> record.numbers[4] >> record.numbers[5])
    records.push_back(record);
  return records;
}

void StoreDword(const char* name, DWORD value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

void StoreString(const char* name, const std::string& text) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
}

DWORD Stored(const char* name) {
  DWORD value = 0xDEADBEEF;
  EXPECT_TRUE(wintest::ReadDword(kKey, name, &value)) << name;
  return value;
}

std::string StoredText(const char* name) {
  std::string text = "<missing>";
  EXPECT_TRUE(wintest::ReadString(kKey, name, &text)) << name;
  return text;
}

// All fifteen values as one text, to compare before and after.
std::string Snapshot() {
  std::string all;
  for (const char* name : kDwordNames) {
    DWORD value = 0;
    all += std::string(name) + "=" +
           (wintest::ReadDword(kKey, name, &value) ? std::to_string(value) : "-") + " ";
  }
  std::string text;
  all += "font=" + (wintest::ReadString(kKey, "font", &text) ? text : "-") + " ";
  all += "loadImage=" + (wintest::ReadString(kKey, "loadImage", &text) ? text : "-");
  return all;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
  return static_cast<LRESULT>(result);
}

// A press of a button as the dialog sees it. Posted, so that a nested
// modal loop that the press opens does not hold us up.
void Press(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The items of a combo box of another process. Asked for in UTF-16: the
// narrow form of CB_GETLBTEXT does not survive the trip between processes
// under Wine.
std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> items;
  const auto count = static_cast<int>(Send(combo, CB_GETCOUNT));
  for (int i = 0; i < count; ++i) {
    const auto length = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i));
    std::vector<wchar_t> wide(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                        reinterpret_cast<LPARAM>(wide.data()), SMTO_ABORTIFHUNG, 5000, &copied);
    char narrow[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, narrow, sizeof narrow, nullptr, nullptr);
    items.emplace_back(narrow);
  }
  return items;
}

std::vector<std::string> Names(const std::vector<Record>& records) {
  std::vector<std::string> names;
  for (const Record& record : records) names.push_back(record.name);
  return names;
}

class OptionsDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    wintest::DeleteTree("Software\\Vantreel");
    records_ = ShippedRecords();
    ASSERT_FALSE(records_.empty()) << "no records in " << ShippedCatalogue();
    InstallCatalogue(true);
  }
  void TearDown() override {
    if (saver_.Running()) saver_.WaitForExit(5000, nullptr);
    DeleteFileA(InstalledCatalogue().c_str());
    wintest::DeleteTree("Software\\Vantreel");
  }

  static void InstallCatalogue(bool present) {
    if (present) {
      ASSERT_TRUE(CopyFileA(ShippedCatalogue().c_str(), InstalledCatalogue().c_str(), FALSE));
    } else {
      DeleteFileA(InstalledCatalogue().c_str());
    }
  }

  // Starts life.scr with `arguments` and waits for its dialog.
  HWND Open(const std::string& arguments) {
    const std::string command =
        "\"" + wintest::ProgramFolder() + "life.scr\"" + (arguments.empty() ? "" : " " + arguments);
    EXPECT_TRUE(saver_.Start(command)) << command;
    HWND dialog = wintest::WaitForWindow(saver_.id(), "#32770", "Life Options");
    EXPECT_NE(dialog, nullptr) << "no Life Options dialog from " << command;
    return dialog;
  }

  // Presses `id` (OK or Cancel) and expects the program to end with 0.
  void Close(HWND dialog, int id) {
    Press(dialog, id);
    DWORD exitCode = 1234;
    ASSERT_TRUE(saver_.WaitForExit(10000, &exitCode)) << "the dialog did not close";
    EXPECT_EQ(exitCode, 0u);
  }

  static std::string EditText(HWND dialog, int id) {
    HWND edit = GetDlgItem(dialog, id);
    EXPECT_EQ(wintest::ClassName(edit), "Edit") << id;
    return wintest::SentText(edit);
  }
  static void Type(HWND dialog, int id, const char* text) {
    Send(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  static bool Checked(HWND dialog, int id) {
    return Send(GetDlgItem(dialog, id), BM_GETCHECK) == BST_CHECKED;
  }
  int IndexOf(const std::string& name) const {
    for (size_t i = 0; i < records_.size(); ++i)
      if (records_[i].name == name) return static_cast<int>(i);
    return -1;
  }

  std::vector<Record> records_;
  wintest::Process saver_;
};

TEST_F(OptionsDialogTest, NewUsersKeyReceivesTheDialogDefaultsWhichTheControlsShow) {
  HWND dialog = Open("/c");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Stored("delay"), 100u);
  EXPECT_EQ(Stored("bMiniDisplay"), 0u);
  EXPECT_EQ(Stored("bActivityBar"), 0u);
  EXPECT_EQ(Stored("bFrameScreen"), 0u);
  EXPECT_EQ(Stored("seed"), 0u);
  EXPECT_EQ(Stored("initpop"), 0u);
  EXPECT_EQ(Stored("displayColor"), 0x0000FF00u);
  EXPECT_EQ(StoredText("font"), "MS Sans Serif");
  EXPECT_EQ(Stored("frameWidth"), 16u);
  EXPECT_EQ(Stored("frameHeight"), 16u);
  EXPECT_EQ(Stored("numFrames"), 25u);
  EXPECT_EQ(Stored("numRows"), 6u);
  EXPECT_EQ(Stored("bornEnd"), 5u);
  EXPECT_EQ(Stored("dieStart"), 12u);
  EXPECT_EQ(StoredText("loadImage"), "lifeface.bmp");

  EXPECT_FALSE(Checked(dialog, IDC_ACTIVITY_BAR));
  EXPECT_FALSE(Checked(dialog, IDC_MINI_DISPLAY));
  EXPECT_FALSE(Checked(dialog, IDC_FRAME_SCREEN));
  EXPECT_EQ(EditText(dialog, IDC_DELAY), "100");
  EXPECT_EQ(EditText(dialog, IDC_SEED), "0");
  EXPECT_EQ(EditText(dialog, IDC_INITPOP), "0");  // below its range, shown as stored

  HWND faces = GetDlgItem(dialog, IDC_FACES);
  EXPECT_TRUE(IsWindowEnabled(faces));
  EXPECT_EQ(ComboItems(faces), Names(records_));
  EXPECT_EQ(Send(faces, CB_GETCURSEL), IndexOf("lifeface.bmp"));

  const std::string before = Snapshot();
  Close(dialog, IDCANCEL);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(OptionsDialogTest, WithoutArgumentTheControlsShowTheStoredValues) {
  StoreDword("delay", 250);
  StoreDword("bActivityBar", 0xFFFFFFFF);
  StoreDword("bMiniDisplay", 1);
  StoreDword("bFrameScreen", 0);
  StoreDword("seed", 42);
  StoreDword("initpop", 77);
  StoreString("loadImage", "LIFEFACE.BMP");
  HWND dialog = Open("");
  ASSERT_NE(dialog, nullptr);

  EXPECT_TRUE(Checked(dialog, IDC_ACTIVITY_BAR));
  EXPECT_TRUE(Checked(dialog, IDC_MINI_DISPLAY));
  EXPECT_FALSE(Checked(dialog, IDC_FRAME_SCREEN));
  EXPECT_EQ(EditText(dialog, IDC_DELAY), "250");
  EXPECT_EQ(EditText(dialog, IDC_SEED), "42");
  EXPECT_EQ(EditText(dialog, IDC_INITPOP), "77");
  // Names are compared regardless of case.
  EXPECT_EQ(Send(GetDlgItem(dialog, IDC_FACES), CB_GETCURSEL), IndexOf("lifeface.bmp"));

  Close(dialog, IDOK);
  EXPECT_EQ(Stored("bActivityBar"), 1u);  // left checked: saved as 1
  EXPECT_EQ(Stored("bMiniDisplay"), 1u);
  EXPECT_EQ(Stored("bFrameScreen"), 0u);
  EXPECT_EQ(Stored("delay"), 250u);
  EXPECT_EQ(Stored("seed"), 42u);
  EXPECT_EQ(Stored("initpop"), 77u);
  EXPECT_EQ(StoredText("loadImage"), "lifeface.bmp");  // the catalogue's spelling
}

// Span Monitors round-trips: the stored flag checks the box, a click and OK
// store the other state, and the next opening shows it.
TEST_F(OptionsDialogTest, SpanMonitorsRoundTripsThroughTheCheckBoxAndTheKey) {
  StoreDword("bSpanMonitors", 1);
  for (const bool shown : {true, false}) {
    HWND dialog = Open("");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Checked(dialog, IDC_SPAN_MONITORS), shown);
    Send(GetDlgItem(dialog, IDC_SPAN_MONITORS), BM_CLICK);
    Close(dialog, IDOK);
    EXPECT_EQ(Stored("bSpanMonitors"), shown ? 0u : 1u);
  }
}

TEST_F(OptionsDialogTest, FaceSetNotInTheCatalogueSelectsNothingAndOkStoresTheFirst) {
  StoreString("loadImage", "nowhere.bmp");
  StoreDword("delay", 5000);  // above its up-down range
  HWND dialog = Open("/c");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Send(GetDlgItem(dialog, IDC_FACES), CB_GETCURSEL), CB_ERR);
  EXPECT_EQ(EditText(dialog, IDC_DELAY), "5000");  // shown as stored, limited on OK
  Close(dialog, IDOK);
  EXPECT_EQ(Stored("delay"), 1000u);
  const Record& first = records_.front();
  EXPECT_EQ(StoredText("loadImage"), first.name);
  EXPECT_EQ(Stored("frameWidth"), first.numbers[0]);
  EXPECT_EQ(Stored("frameHeight"), first.numbers[1]);
  EXPECT_EQ(Stored("numFrames"), first.numbers[2]);
  EXPECT_EQ(Stored("numRows"), first.numbers[3]);
  EXPECT_EQ(Stored("bornEnd"), first.numbers[4]);
  EXPECT_EQ(Stored("dieStart"), first.numbers[5]);
}

TEST_F(OptionsDialogTest, TypedValuesAreLimitedAndSavedOnOkWithTheChosenFace) {
  HWND dialog = Open("/c");
  ASSERT_NE(dialog, nullptr);
  Type(dialog, IDC_DELAY, "5000");
  Type(dialog, IDC_SEED, "12000");
  Type(dialog, IDC_INITPOP, "abc");
  Send(GetDlgItem(dialog, IDC_ACTIVITY_BAR), BM_CLICK);
  Send(GetDlgItem(dialog, IDC_FRAME_SCREEN), BM_CLICK);
  const auto last = static_cast<WPARAM>(records_.size() - 1);
  Send(GetDlgItem(dialog, IDC_FACES), CB_SETCURSEL, last);
  Close(dialog, IDOK);

  EXPECT_EQ(Stored("delay"), 1000u);
  EXPECT_EQ(Stored("seed"), 9999u);
  EXPECT_EQ(Stored("initpop"), 0u);
  EXPECT_EQ(Stored("bActivityBar"), 1u);
  EXPECT_EQ(Stored("bMiniDisplay"), 0u);
  EXPECT_EQ(Stored("bFrameScreen"), 1u);
  const Record& chosen = records_.back();
  EXPECT_EQ(StoredText("loadImage"), chosen.name);
  EXPECT_EQ(Stored("frameWidth"), chosen.numbers[0]);
  EXPECT_EQ(Stored("dieStart"), chosen.numbers[5]);

  // Values within the limits stay; an empty edit gives 0.
  dialog = Open("/c");
  ASSERT_NE(dialog, nullptr);
  Type(dialog, IDC_DELAY, "999");
  Type(dialog, IDC_SEED, "9998");
  Type(dialog, IDC_INITPOP, "");
  Close(dialog, IDOK);
  EXPECT_EQ(Stored("delay"), 999u);
  EXPECT_EQ(Stored("seed"), 9998u);
  EXPECT_EQ(Stored("initpop"), 0u);
}

// The basic colour in row 3, column 4 of the chooser's 6 x 8 colour boxes.
constexpr COLORREF kBasicBlue = RGB(0, 0, 255);

// Clicks the basic colour box in row 3, column 4 of the chooser.
void PickBasicBlue(HWND chooser) {
  const int kBasicColours = 0x2d0;  // the chooser's control of basic colour boxes
  RECT boxes{};
  ASSERT_TRUE(GetWindowRect(GetDlgItem(chooser, kBasicColours), &boxes));
  const LONG cellWidth = (boxes.right - boxes.left) / 8;
  const LONG cellHeight = (boxes.bottom - boxes.top) / 6;
  POINT point{boxes.left + 4 * cellWidth + cellWidth / 4,
              boxes.top + 3 * cellHeight + cellHeight / 4};
  ScreenToClient(chooser, &point);
  PostMessageA(chooser, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
  PostMessageA(chooser, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

// Opens the colour chooser with Color; picks the basic blue and confirms,
// or cancels.
void UseColourChooser(const wintest::Process& saver, HWND dialog, bool confirm) {
  Press(dialog, IDC_COLOR);
  HWND chooser = wintest::WaitForOwnedWindow(saver.id(), dialog, "#32770");
  ASSERT_NE(chooser, nullptr) << "no colour chooser";
  if (confirm) {
    PickBasicBlue(chooser);
    PostMessageA(chooser, WM_COMMAND, IDOK, 0);
  } else {
    PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
  }
  ASSERT_TRUE(wintest::WaitFor([&] { return !IsWindow(chooser); })) << "chooser still open";
}

TEST_F(OptionsDialogTest, ChosenColourIsSavedByOkOnly) {
  HWND dialog = Open("/c");
  ASSERT_NE(dialog, nullptr);
  UseColourChooser(saver_, dialog, true);
  Close(dialog, IDOK);
  EXPECT_EQ(Stored("displayColor"), kBasicBlue);

  dialog = Open("/c");
  ASSERT_NE(dialog, nullptr);
  UseColourChooser(saver_, dialog, false);  // cancelled: colour unchanged
  Close(dialog, IDOK);
  EXPECT_EQ(Stored("displayColor"), kBasicBlue);
}

TEST_F(OptionsDialogTest, CancelSavesNothingAlsoAfterAColourWasChosen) {
  StoreDword("delay", 300);
  StoreDword("bFrameScreen", 0xFFFFFFFF);
  HWND dialog = Open("/c");
  ASSERT_NE(dialog, nullptr);
  const std::string before = Snapshot();
  Type(dialog, IDC_DELAY, "20");
  Send(GetDlgItem(dialog, IDC_FRAME_SCREEN), BM_CLICK);
  Send(GetDlgItem(dialog, IDC_FACES), CB_SETCURSEL, static_cast<WPARAM>(records_.size() - 1));
  UseColourChooser(saver_, dialog, true);
  Close(dialog, IDCANCEL);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(Stored("bFrameScreen"), 0xFFFFFFFFu);
}

TEST_F(OptionsDialogTest, OkNeverCreatesTheKey) {
  HWND dialog = Open("/c");
  ASSERT_NE(dialog, nullptr);
  wintest::DeleteTree("Software\\Vantreel");  // gone while the dialog is open
  Type(dialog, IDC_DELAY, "40");
  Close(dialog, IDOK);
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(OptionsDialogTest, MissingCatalogueIsReportedThenTheListIsDisabled) {
  InstallCatalogue(false);
  StoreString("loadImage", "mine.bmp");
  StoreDword("numFrames", 33);
  ASSERT_TRUE(saver_.Start("\"" + wintest::ProgramFolder() + "life.scr\" /c"));

  HWND box = wintest::WaitForWindow(saver_.id(), "#32770", "Missing File");
  ASSERT_NE(box, nullptr) << "no Missing File message";
  HWND text = wintest::FindTextChild(box, "Static");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(wintest::SentText(text), "Can`t find file, " + WindowsDirectory() + "\\life.nfo");
  EXPECT_EQ(wintest::WaitForWindow(saver_.id(), "#32770", "Life Options", 0), nullptr)
      << "the dialog opened before the message was answered";
  PostMessageA(box, WM_COMMAND, IDOK, 0);

  HWND dialog = wintest::WaitForWindow(saver_.id(), "#32770", "Life Options");
  ASSERT_NE(dialog, nullptr);
  HWND faces = GetDlgItem(dialog, IDC_FACES);
  EXPECT_FALSE(IsWindowEnabled(faces));
  EXPECT_EQ(wintest::SentText(faces), "mine.bmp");
  Type(dialog, IDC_DELAY, "40");
  Close(dialog, IDOK);
  EXPECT_EQ(Stored("delay"), 40u);
  EXPECT_EQ(StoredText("loadImage"), "mine.bmp");
  EXPECT_EQ(Stored("numFrames"), 33u);
}

TEST_F(OptionsDialogTest, AboutBoxShowsTheCreditAndVersion) {
  HWND dialog = Open("/c");
  ASSERT_NE(dialog, nullptr);
  Press(dialog, IDC_ABOUT);
  HWND about = wintest::WaitForOwnedWindow(saver_.id(), dialog, "#32770");
  ASSERT_NE(about, nullptr) << "no About box";
  EXPECT_EQ(wintest::WindowText(about), "");
  EXPECT_EQ(wintest::SentText(GetDlgItem(about, IDC_CREDIT)),
            "          The Game of Life          \r\n"
            "  Implementation, programming and   \r\n"
            "associated artwork by Tamsin Orrell.\r\n"
            "         Life Engine v1.2         \r\n");
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(about, nullptr), &thread));
  EXPECT_EQ(thread.hwndFocus, GetDlgItem(about, IDOK));

  PostMessageA(about, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(wintest::WaitFor([&] { return !IsWindow(about); }));
  EXPECT_TRUE(IsWindow(dialog));
  Close(dialog, IDCANCEL);
}

// Not a check: with LIFE_SCREENSHOT_DIR set (a Windows path), saves
// pictures of both dialogs there, as tools/dialog-screenshots.sh asks.
TEST_F(OptionsDialogTest, Screenshots) {
  const char* folder = std::getenv("LIFE_SCREENSHOT_DIR");
  if (folder == nullptr) GTEST_SKIP() << "LIFE_SCREENSHOT_DIR is not set";
  StoreDword("delay", 150);
  StoreDword("bActivityBar", 1);
  StoreDword("bFrameScreen", 1);
  StoreDword("seed", 0);
  StoreDword("initpop", 150);
  StoreString("loadImage", "lifeface.bmp");
  HWND dialog = Open("/c");
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(wintest::SaveWindowPicture(dialog, std::string(folder) + "\\options-dialog.bmp"));
  Press(dialog, IDC_ABOUT);
  HWND about = wintest::WaitForOwnedWindow(saver_.id(), dialog, "#32770");
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(wintest::SaveWindowPicture(about, std::string(folder) + "\\about-box.bmp"));
  PostMessageA(about, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(wintest::WaitFor([&] { return !IsWindow(about); }));
  Close(dialog, IDCANCEL);
}

}  // namespace
