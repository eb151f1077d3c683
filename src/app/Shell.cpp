#include "app/Shell.h"

#include "report/ErrorReport.h"
#include "errors/Exceptions.h"
#include "dx/UDxApp.h"

namespace runeplate {

HINSTANCE ModuleHandle = nullptr;
HWND MainWindow = nullptr;
int32_t StartupShowCommand = SW_SHOWDEFAULT;
std::exception_ptr PendingFailure;

namespace {

void RenderGameMain() { GameMain->Render(); }

// Escape counts when it has been pressed since the previous query (the low
// byte); merely being held down (bit 15) does not.
bool EscapePressed() { return (GetAsyncKeyState(VK_ESCAPE) & 0x00FF) != 0; }

void RenderFrameAndCheckEscape(HWND window) {
  // The report's message box runs a message loop of its own that may still
  // deliver a render request: after a failure nothing more is drawn.
  if (PendingFailure || ReportInProgress()) return;
  try {
    RenderFrameFunction();
    if (EscapePressed()) DestroyWindow(window);
  } catch (...) {
    PendingFailure = std::current_exception();
  }
}

}  // namespace

TRenderFrame RenderFrameFunction = RenderGameMain;

int32_t ReadStartupShowCommand() {
  STARTUPINFOA info = {};
  info.cb = sizeof info;
  GetStartupInfoA(&info);
  return info.dwFlags & STARTF_USESHOWWINDOW ? static_cast<int32_t>(info.wShowWindow)
                                             : SW_SHOWDEFAULT;
}

ATOM RegisterMainWindowClass(HINSTANCE module) {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_VREDRAW | CS_HREDRAW;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = module;
  windowClass.hIcon = LoadIconA(module, "vexil");
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  windowClass.lpszMenuName = WindowClassName;
  windowClass.lpszClassName = WindowClassName;
  return RegisterClassA(&windowClass);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_RENDERFRAME:
      RenderFrameAndCheckEscape(window);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int32_t RunMessageLoop() {
  MSG message = {};
  for (;;) {
    if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!GetMessageA(&message, nullptr, 0, 0)) break;
      TranslateMessage(&message);
      DispatchMessageA(&message);
      if (PendingFailure) std::rethrow_exception(PendingFailure);
    } else {
      // The request is the message WaitMessage waits for, so frames follow
      // each other without pause while nothing else is queued.
      PostMessageA(MainWindow, WM_RENDERFRAME, 0, 0);
      WaitMessage();
    }
  }
  return static_cast<int32_t>(message.wParam);
}

int32_t RunApplication() {
  if (RegisterMainWindowClass(ModuleHandle) == 0) {
    const DWORD error = GetLastError();
    Raise(EOSError("RegisterClassA", error));
  }
  MainWindow = CreateWindowExA(0, WindowClassName, WindowTitle, WS_POPUP, 0, 0, MainWindowWidth,
                               MainWindowHeight, nullptr, nullptr, ModuleHandle, nullptr);
  if (!MainWindow) {
    const DWORD error = GetLastError();
    Raise(EOSError("CreateWindowExA", error));
  }
  ShowWindow(MainWindow, StartupShowCommand);
  UpdateWindow(MainWindow);

  GameMain = new TGameMain();
  GameMain->Initialize(MainWindow, MainWindowWidth, MainWindowHeight, 32, true);
  const int32_t exitCode = RunMessageLoop();
  GameMain->Finalize();
  return exitCode;
}

}  // namespace runeplate
