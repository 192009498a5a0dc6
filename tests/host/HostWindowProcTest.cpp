// The host's class window procedure in-process, with a saver of the test's
// own: what a preview hands on to its parent window is seen here directly.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "HostState.h"
#include "SaverHost.h"

namespace {
std::vector<UINT> saverMessages;

struct Posted {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Posted> parentMessages;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HELP || message == WM_CONTEXTMENU) {
    parentMessages.push_back({message, wParam, lParam});
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// A window class of this program with the given procedure.
void RegisterTestClass(const char* name, WNDPROC procedure) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = name;
  RegisterClassA(&windowClass);
}

void DispatchPending() {
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

class PreviewWindowProc : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClass("HostTestParent", ParentProc);
    RegisterTestClass("HostTestSaver", HostWindowProc);

    Host().isPreview = 1;
    saverMessages.clear();
    parentMessages.clear();
    parent_ = CreateWindowExA(0, "HostTestParent", "Parent", WS_POPUP, 0, 0, 200, 150, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    child_ = CreateWindowExA(0, "HostTestSaver", "Preview", WS_CHILD, 0, 0, 200, 150, parent_,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(child_, nullptr);
    DispatchPending();
  }

  void TearDown() override {
    DestroyWindow(parent_);
    DispatchPending();
    MSG quit{};
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    Host().isPreview = 0;
  }

  HWND parent_ = nullptr;
  HWND child_ = nullptr;
};

TEST_F(PreviewWindowProc, HelpRequestIsAnsweredAndHandedOnToTheParent) {
  HELPINFO help{};
  help.cbSize = sizeof help;
  EXPECT_EQ(SendMessageA(child_, WM_HELP, 0, reinterpret_cast<LPARAM>(&help)), 1);
  DispatchPending();
  // WM_HELP carries a pointer, and Wine refuses to post such a system
  // message; where the post goes through, the parent gets it with
  // its own handle.
  ASSERT_LE(parentMessages.size(), 1u);
  for (const Posted& posted : parentMessages) {
    EXPECT_EQ(posted.message, static_cast<UINT>(WM_HELP));
    EXPECT_EQ(posted.wParam, reinterpret_cast<WPARAM>(parent_));
    EXPECT_EQ(posted.lParam, reinterpret_cast<LPARAM>(&help));
  }
  // The saver itself never sees the request.
  for (UINT message : saverMessages) EXPECT_NE(message, static_cast<UINT>(WM_HELP));
}

TEST_F(PreviewWindowProc, ContextMenuRequestIsPostedToTheParent) {
  EXPECT_EQ(
      SendMessageA(child_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(child_), MAKELPARAM(7, 9)), 1);
  DispatchPending();
  ASSERT_EQ(parentMessages.size(), 1u);
  EXPECT_EQ(parentMessages[0].message, static_cast<UINT>(WM_CONTEXTMENU));
  EXPECT_EQ(parentMessages[0].wParam, reinterpret_cast<WPARAM>(parent_));
  EXPECT_EQ(parentMessages[0].lParam, MAKELPARAM(7, 9));
}

TEST_F(PreviewWindowProc, WithoutAParentNothingIsPostedAndTheAnswerIsStillOne) {
  HWND orphan = CreateWindowExA(0, "HostTestSaver", "Preview", WS_POPUP, 0, 0, 50, 50, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(orphan, nullptr);
  EXPECT_EQ(SendMessageA(orphan, WM_CONTEXTMENU, 0, 0), 1);
  DispatchPending();
  EXPECT_TRUE(parentMessages.empty());
  DestroyWindow(orphan);
}

TEST_F(PreviewWindowProc, WindowTextNeverChanges) {
  EXPECT_EQ(SendMessageA(child_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other")), 0);
  char text[32] = {};
  GetWindowTextA(child_, text, sizeof text);
  EXPECT_STREQ(text, "Preview");
}

TEST_F(PreviewWindowProc, InputAndCloseRequestsOfAPreviewGoToTheDefaultHandling) {
  for (const UINT message :
       {UINT{WM_KEYDOWN}, UINT{WM_LBUTTONDOWN}, UINT{WM_MOUSEMOVE}, UINT{WM_ACTIVATEAPP}})
    SendMessageA(child_, message, 0, 0);
  DispatchPending();
  // No close request was posted: the window is still there.
  EXPECT_TRUE(IsWindow(child_));
  EXPECT_EQ(Host().closing, 0u);
}

TEST(FullScreenWindowProc, SwitchingAndScreenSaveCommandsNeverReachTheSaver) {
  RegisterTestClass("HostTestFullScreen", HostWindowProc);
  Host().isPreview = 0;
  HWND window = CreateWindowExA(0, "HostTestFullScreen", "Screen Saver", WS_POPUP, 0, 0, 50, 50,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  const auto seen = [] {
    return std::count(saverMessages.begin(), saverMessages.end(), UINT{WM_SYSCOMMAND});
  };
  saverMessages.clear();
  for (const WPARAM command : {WPARAM{SC_SCREENSAVE}, WPARAM{SC_NEXTWINDOW}, WPARAM{SC_PREVWINDOW}})
    EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, command, 0), 0) << command;
  EXPECT_EQ(seen(), 0);
  SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);  // any other command is the saver's
  EXPECT_EQ(seen(), 1);
  DestroyWindow(window);
  DispatchPending();
  MSG quit{};
  PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

}  // namespace

// The saver of this test: records what reaches it and hands it on.
LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  saverMessages.push_back(message);
  return DefSaverProc(window, message, wParam, lParam);
}

INT_PTR CALLBACK OptionsDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

BOOL PrepareDialogClasses(HINSTANCE) { return 1; }
