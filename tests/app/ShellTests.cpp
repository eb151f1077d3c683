// The window class, the idle-driven loop and the window procedure, driven
// with a stand-in for the frame renderer (no Direct3D here).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <exception>

#include "errors/Exceptions.h"
#include "app/Shell.h"

using namespace runeplate;

namespace {

void EnsureMainWindowClass() {
  WNDCLASSA existing;
  if (!GetClassInfoA(GetModuleHandleA(nullptr), WindowClassName, &existing)) {
    ASSERT_NE(RegisterMainWindowClass(GetModuleHandleA(nullptr)), 0);
  }
}

// A hidden window of the program's class, made MainWindow, gone afterwards.
class ShellTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureMainWindowClass();
    MainWindow = CreateWindowExA(0, WindowClassName, WindowTitle, WS_POPUP, 0, 0, 80, 60, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(MainWindow, nullptr);
    Frames = 0;
    RenderRequestQueuedDuringFrame = false;
    PendingFailure = nullptr;
  }
  void TearDown() override {
    if (IsWindow(MainWindow)) DestroyWindow(MainWindow);
    // The destroyed window's quit message must not end the next test's loop.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    PendingFailure = nullptr;
    RenderFrameFunction = nullptr;
  }

  static int Frames;
  static bool RenderRequestQueuedDuringFrame;

  static void NoteFrame() {
    ++Frames;
    MSG message;
    if (PeekMessageA(&message, nullptr, WM_RENDERFRAME, WM_RENDERFRAME, PM_NOREMOVE))
      RenderRequestQueuedDuringFrame = true;
  }
};

int ShellTest::Frames = 0;
bool ShellTest::RenderRequestQueuedDuringFrame = false;

}  // namespace

TEST(MainWindowClass, IsRegisteredWithTheProgramsLookAndProcedure) {
  EnsureMainWindowClass();
  WNDCLASSA registered = {};
  ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), WindowClassName, &registered));
  EXPECT_EQ(registered.style, static_cast<UINT>(CS_VREDRAW | CS_HREDRAW));
  EXPECT_EQ(registered.lpfnWndProc, MainWindowProc);
  // The program's icon is its own resource (ResourceTests); a module without
  // one, like this test, registers the class without an icon and no error.
  EXPECT_EQ(registered.hIcon, nullptr) << "this test module carries no icon named vexil";
  EXPECT_EQ(registered.hCursor, LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(registered.hbrBackground, GetStockObject(LTGRAY_BRUSH));
  ASSERT_NE(registered.lpszMenuName, nullptr);
  EXPECT_STREQ(registered.lpszMenuName, "__DX_RUNEPLATE__");
}

TEST_F(ShellTest, LoopRendersOnIdleAndReturnsTheQuitCode) {
  struct {
    const char* Name;
    TRenderFrame Render;
    int32_t ExitCode;
  } cases[] = {
      {"window destroyed after three frames",
       [] {
         NoteFrame();
         if (Frames == 3) DestroyWindow(MainWindow);
       },
       0},
      {"quit posted with 7 after three frames",
       [] {
         NoteFrame();
         if (Frames == 3) PostQuitMessage(7);
       },
       7},
  };
  for (const auto& c : cases) {
    Frames = 0;
    RenderFrameFunction = c.Render;
    EXPECT_EQ(RunMessageLoop(), c.ExitCode) << c.Name;
    EXPECT_EQ(Frames, 3) << c.Name;
    EXPECT_FALSE(RenderRequestQueuedDuringFrame) << c.Name << ": two render requests queued";
    TearDown();
    SetUp();
  }
}

TEST_F(ShellTest, FailureWhileRenderingIsRaisedAfterDispatchAndStopsRendering) {
  RenderFrameFunction = [] {
    NoteFrame();
    Raise(EInOutError(100));
  };
  try {
    RunMessageLoop();
    FAIL() << "the loop returned";
  } catch (const EInOutError& failure) {
    EXPECT_EQ(failure.ErrorCode, 100);
    EXPECT_NE(failure.Address, nullptr) << "the raise site survives the detour";
  }
  EXPECT_EQ(Frames, 1);
  ASSERT_TRUE(PendingFailure);

  // As a report's message box would: another render request, not rendered.
  SendMessageA(MainWindow, WM_RENDERFRAME, 0, 0);
  EXPECT_EQ(Frames, 1);
}

TEST_F(ShellTest, WindowProcedurePassesRenderRequestsOnToTheDefaultProcedure) {
  RenderFrameFunction = NoteFrame;
  EXPECT_EQ(MainWindowProc(MainWindow, WM_RENDERFRAME, 0, 0),
            DefWindowProcA(MainWindow, WM_RENDERFRAME, 0, 0));
  EXPECT_EQ(Frames, 1);
  EXPECT_TRUE(IsWindow(MainWindow));
}

TEST_F(ShellTest, FailedClassRegistrationIsRaisedWithTheSystemError) {
  // The class is registered already, so registering it again fails.
  ModuleHandle = GetModuleHandleA(nullptr);
  HWND before = MainWindow;
  try {
    RunApplication();
    FAIL() << "RunApplication returned";
  } catch (const EOSError& failure) {
    EXPECT_EQ(failure.ErrorCode, static_cast<uint32_t>(ERROR_CLASS_ALREADY_EXISTS));
    EXPECT_EQ(failure.Message(), "RegisterClassA failed, system error 1410");
    EXPECT_NE(failure.Address, nullptr);
  }
  EXPECT_EQ(MainWindow, before) << "no window was made";
}
