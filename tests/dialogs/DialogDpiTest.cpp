// The dialogs of life.scr and setup.exe laid out at 144 and 192 DPI (the
// system's LogPixels), as a laptop at 150 % or 200 % shows them: the
// dialog grows with its font, every control stays inside it, and every
// caption fits its control. With LIFE_SCREENSHOT_DIR set (a Windows
// path), pictures of each dialog are saved there.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "DialogIds.h"
#include "SetupDriver.h"
#include "WinTestSupport.h"

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";

// The dialogs' font, 8-point "MS Sans Serif", as made at `dpi`.
class DialogFont {
 public:
  explicit DialogFont(int dpi)
      : dc_(CreateCompatibleDC(nullptr)),
        font_(CreateFontA(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                          0, 0, "MS Sans Serif")),
        previous_(SelectObject(dc_, font_)) {
    GetTextMetricsA(dc_, &metrics_);
  }
  ~DialogFont() {
    SelectObject(dc_, previous_);
    DeleteObject(font_);
    DeleteDC(dc_);
  }
  DialogFont(const DialogFont&) = delete;
  DialogFont& operator=(const DialogFont&) = delete;

  int TextWidth(std::string text) const {
    std::string shown;
    for (char c : text)
      if (c != '&') shown += c;
    SIZE size{};
    GetTextExtentPoint32A(dc_, shown.c_str(), static_cast<int>(shown.size()), &size);
    return size.cx;
  }
  int height() const { return metrics_.tmHeight; }
  // Dialog units across: the average width of the alphabet, as the dialog
  // manager measures it.
  int HorizontalBase() const {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    return (TextWidth(kAlphabet) / 26 + 1) / 2;
  }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ previous_;
  TEXTMETRICA metrics_{};
};

struct LayoutCheck {
  HWND dialog;
  RECT client;  // screen coordinates
  const DialogFont* font;
  int dpi;
  std::vector<std::string> problems;
};

BOOL CALLBACK CheckControl(HWND control, LPARAM data) {
  auto& check = *reinterpret_cast<LayoutCheck*>(data);
  if (GetParent(control) != check.dialog || !IsWindowVisible(control)) return TRUE;
  RECT rect{};
  GetWindowRect(control, &rect);
  const std::string text = wintest::SentText(control);
  const std::string name = wintest::ClassName(control) + " \"" + text + "\"";
  if (rect.left < check.client.left || rect.top < check.client.top ||
      rect.right > check.client.right || rect.bottom > check.client.bottom)
    check.problems.push_back(name + " reaches outside the dialog");
  if (lstrcmpiA(wintest::ClassName(control).c_str(), "Button") != 0 || text.empty()) return TRUE;

  // The room the control's own drawing takes beside its caption: a push
  // button's edges, a check box's box and gap, a group box's frame lines.
  const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
  const bool checkBox = type == BS_AUTOCHECKBOX || type == BS_CHECKBOX;
  const int room = MulDiv(checkBox ? 17 : type == BS_GROUPBOX ? 10 : 6, check.dpi, 96);
  const int needed = check.font->TextWidth(text) + room;
  if (needed > rect.right - rect.left)
    check.problems.push_back(name + " needs " + std::to_string(needed) + " pixels");
  if (type != BS_GROUPBOX && check.font->height() > rect.bottom - rect.top)
    check.problems.push_back(name + " is lower than its text");
  return TRUE;
}

// Every control inside the dialog's client area; every caption of a push
// button, check box or group box within its control.
std::vector<std::string> LayoutProblems(HWND dialog, const DialogFont& font, int dpi) {
  LayoutCheck check{dialog, {}, &font, dpi, {}};
  GetClientRect(dialog, &check.client);
  MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&check.client), 2);
  EnumChildWindows(dialog, CheckControl, reinterpret_cast<LPARAM>(&check));
  return check.problems;
}

void SavePicture(HWND window, const std::string& name) {
  const char* folder = std::getenv("LIFE_SCREENSHOT_DIR");
  if (folder != nullptr) wintest::SaveWindowPicture(window, std::string(folder) + "\\" + name);
}

class DialogsAtDpi : public testing::TestWithParam<int> {
 protected:
  // The programs started afterwards lay out at this DPI; 96 is the default.
  void SetUp() override {
    wintest::ReadDword(kDesktopKey, "LogPixels", &previousLogPixels_);
    SetLogPixels(static_cast<DWORD>(GetParam()));
  }
  void TearDown() override { SetLogPixels(previousLogPixels_); }
  static void SetLogPixels(DWORD dpi) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              0);
    RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    RegCloseKey(key);
  }
  std::string Suffix() const { return "-" + std::to_string(GetParam()) + ".bmp"; }

  // The dialog's client width against its template width in dialog units.
  void ExpectScaledWidth(HWND dialog, int templateWidth, const DialogFont& font) const {
    RECT client{};
    GetClientRect(dialog, &client);
    const int expected = MulDiv(templateWidth, font.HorizontalBase(), 4);
    EXPECT_NEAR(client.right, expected, expected / 10)
        << "the dialog did not grow with the font at " << GetParam() << " DPI";
  }

  // The dialog's width and layout at this DPI; its picture is saved as
  // NAME-DPI.bmp for review.
  void CheckDialog(HWND dialog, const char* caption, int templateWidth, const DialogFont& font,
                   const std::string& name) const {
    ExpectScaledWidth(dialog, templateWidth, font);
    for (const std::string& problem : LayoutProblems(dialog, font, GetParam()))
      ADD_FAILURE() << caption << ": " << problem;
    SavePicture(dialog, name + Suffix());
  }

  DWORD previousLogPixels_ = 96;
};

TEST_P(DialogsAtDpi, OptionsDialogAndAboutBoxLayOut) {
  const std::string catalogue = [] {
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\life.nfo";
  }();
  ASSERT_TRUE(
      CopyFileA((wintest::ProgramFolder() + "shipped-life.nfo").c_str(), catalogue.c_str(), FALSE));
  const DialogFont font(GetParam());
  wintest::Process saver;
  ASSERT_TRUE(saver.Start("\"" + wintest::ProgramFolder() + "life.scr\" /c"));
  HWND dialog = wintest::WaitForWindow(saver.id(), "#32770", "Life Options");
  ASSERT_NE(dialog, nullptr);
  CheckDialog(dialog, "Life Options", 217, font, "options-dialog");

  PostMessageA(dialog, WM_COMMAND, IDC_ABOUT, 0);
  HWND about = wintest::WaitForOwnedWindow(saver.id(), dialog, "#32770");
  ASSERT_NE(about, nullptr);
  CheckDialog(about, "About", 162, font, "about-box");
  PostMessageA(about, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(wintest::WaitFor([&] { return !IsWindow(about); }));
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(saver.WaitForExit(10000, nullptr));
  DeleteFileA(catalogue.c_str());
}

TEST_P(DialogsAtDpi, SetupDialogLaysOut) {
  const DialogFont font(GetParam());
  SetupRun run;
  run.Write("_intro", "Welcome to Life.\r\nPress Install to copy the saver.\r\n");
  HWND dialog = run.Start();
  ASSERT_NE(dialog, nullptr);
  CheckDialog(dialog, "Setup", 186, font, "setup-dialog");
  Press(dialog, IDCANCEL);
  EXPECT_EQ(run.WaitForExit(), 0u);
}

INSTANTIATE_TEST_SUITE_P(HighDpi, DialogsAtDpi, testing::Values(144, 192),
                         [](const auto& param) { return std::to_string(param.param); });

}  // namespace
