// The preview: a child saver window inside a window of ours, standing in
// for the display control panel's preview.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "E2eSupport.h"

namespace {

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Received> parentMessages;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HELP || message == WM_CONTEXTMENU) {
    parentMessages.push_back({message, wParam, lParam});
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

constexpr char kParentClass[] = "LifeTestPreviewParent";
constexpr int kParentX = 100;
constexpr int kParentY = 80;

class Preview : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ParentProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kParentClass;
    RegisterClassA(&windowClass);
  }

  void SetUp() override {
    e2e::UseWin98Family("life.scr", false);
    parentMessages.clear();
  }

  void TearDown() override {
    if (parent_ != nullptr && IsWindow(parent_)) DestroyWindow(parent_);
  }

  // A borderless window whose client area is width x height, with the
  // saver's preview inside it.
  HWND StartPreview(int width, int height) {
    e2e::WriteSettings(settings_);
    parent_ = CreateWindowExA(WS_EX_TOPMOST, kParentClass, "Display Properties",
                              WS_POPUP | WS_VISIBLE, kParentX, kParentY, width, height, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(parent_, nullptr);
    const std::string handle = std::to_string(reinterpret_cast<uintptr_t>(parent_));
    EXPECT_TRUE(e2e::Start(saver_, folder_, "life.scr", "/p " + handle));
    HWND child = nullptr;
    EXPECT_TRUE(e2e::PumpWaitFor(
        [&] {
          child = FindWindowExA(parent_, nullptr, e2e::kSaverClass, nullptr);
          return child != nullptr;
        },
        20000));
    if (child != nullptr) {
      EXPECT_TRUE(e2e::WaitUntilPainted(child));
    }
    return child;
  }

  bool StaysRunning(DWORD ms = 800) {
    return !e2e::PumpWaitFor([&] { return !saver_.Running(); }, ms);
  }

  DWORD EndByDestroyingTheParent() {
    DestroyWindow(parent_);
    parent_ = nullptr;
    return e2e::ExitCodeWithin(saver_, 10000);
  }

  DWORD Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0xDEAD;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result);
    return static_cast<DWORD>(result);
  }

  e2e::TestSettings settings_;
  e2e::ScenarioFolder folder_{"preview"};
  wintest::Process saver_;
  HWND parent_ = nullptr;
};

TEST_F(Preview, ChildWindowFillsTheParentsClientArea) {
  HWND child = StartPreview(200, 150);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(GetParent(child), parent_);
  EXPECT_EQ(wintest::WindowText(child), "Preview");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE)), 0x52000000u);
  EXPECT_EQ(GetWindowLongPtrA(child, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(GetDlgCtrlID(child), 0);
  RECT rect{};
  GetWindowRect(child, &rect);
  EXPECT_EQ(rect.left, kParentX);
  EXPECT_EQ(rect.top, kParentY);
  EXPECT_EQ(rect.right - rect.left, 200);
  EXPECT_EQ(rect.bottom - rect.top, 150);
  EXPECT_EQ(EndByDestroyingTheParent(), 0u);
}

TEST_F(Preview, InputNeverEndsIt) {
  HWND child = StartPreview(200, 150);
  ASSERT_NE(child, nullptr);
  for (const UINT message : {UINT{WM_KEYDOWN}, UINT{WM_SYSKEYDOWN}, UINT{WM_LBUTTONDOWN},
                             UINT{WM_RBUTTONDOWN}, UINT{WM_MBUTTONDOWN}})
    PostMessageA(child, message, 0, 0);
  SetCursorPos(700, 600);
  PostMessageA(child, WM_MOUSEMOVE, 0, 0);
  PostMessageA(child, WM_ACTIVATEAPP, 0, 0);
  EXPECT_TRUE(StaysRunning());
  EXPECT_TRUE(IsWindow(child));
  EXPECT_EQ(EndByDestroyingTheParent(), 0u);
}

TEST_F(Preview, ContextMenuRequestGoesToTheParent) {
  HWND child = StartPreview(200, 150);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(Send(child, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(child), MAKELPARAM(120, 90)), 1u);
  ASSERT_TRUE(e2e::PumpWaitFor([] { return !parentMessages.empty(); }, 5000));
  EXPECT_EQ(parentMessages[0].message, static_cast<UINT>(WM_CONTEXTMENU));
  EXPECT_EQ(parentMessages[0].wParam, reinterpret_cast<WPARAM>(parent_));
  EXPECT_EQ(parentMessages[0].lParam, MAKELPARAM(120, 90));
  EXPECT_TRUE(StaysRunning(300));
  EXPECT_EQ(EndByDestroyingTheParent(), 0u);
}

TEST_F(Preview, HelpRequestIsAnsweredAndDoesNotEndIt) {
  HWND child = StartPreview(200, 150);
  ASSERT_NE(child, nullptr);
  HELPINFO help{};
  help.cbSize = sizeof help;
  help.iContextType = HELPINFO_WINDOW;
  help.hItemHandle = child;
  help.MousePos = {150, 120};
  EXPECT_EQ(Send(child, WM_HELP, 0, reinterpret_cast<LPARAM>(&help)), 1u);
  // The request is posted on to the parent with its own handle. WM_HELP
  // carries a pointer, and Wine refuses to post such a system message,
  // so whether it arrives depends on the platform.
  e2e::PumpWaitFor([] { return !parentMessages.empty(); }, 1000);
  for (const Received& received : parentMessages) {
    EXPECT_EQ(received.message, static_cast<UINT>(WM_HELP));
    EXPECT_EQ(received.wParam, reinterpret_cast<WPARAM>(parent_));
  }
  EXPECT_TRUE(StaysRunning(300));
  EXPECT_EQ(EndByDestroyingTheParent(), 0u);
}

// Wine does not show a child window drawn by another process than its
// parent's, so the preview's pixels cannot be read back here; the
// full-screen tests check what such windows show. These runs check that a
// preview too small for a world of two cells each way keeps running
// through its ticks and ends normally.
TEST_F(Preview, WindowSmallerThanTwoFramesRunsThroughTicks) {
  settings_.bFrameScreen = 1;
  settings_.bMiniDisplay = 1;
  settings_.bActivityBar = 1;
  settings_.frameWidth = 40;
  settings_.frameHeight = 40;
  for (const SIZE size : {SIZE{30, 100}, SIZE{100, 70}, SIZE{39, 39}, SIZE{80, 80}}) {
    HWND child = StartPreview(size.cx, size.cy);
    ASSERT_NE(child, nullptr);
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(e2e::Tick(child)) << size.cx << "x" << size.cy;
    EXPECT_TRUE(saver_.Running());
    EXPECT_EQ(EndByDestroyingTheParent(), 0u) << size.cx << "x" << size.cy;
  }
}

}  // namespace
