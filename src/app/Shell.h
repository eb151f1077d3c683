// Shell: the program's window and its only message loop.
//
// One borderless 800 x 600 popup at the top-left corner carries a full-screen
// Direct3D device (GameMain). The loop serves every waiting message and, when
// the queue is empty, posts WM_RENDERFRAME to the window, whose procedure
// draws one frame and closes the window when Escape has been pressed. So at
// most one render request is queued, and input is served between frames.
#pragma once

#include <cstdint>
#include <exception>

#include <windows.h>

namespace runeplate {

// Private message: draw one frame.
constexpr UINT WM_RENDERFRAME = WM_USER + 100;
static_assert(WM_RENDERFRAME == 1124, "the render request is message 1124");

// The window class's name, which is also its menu name (no such menu exists,
// so the window has none).
constexpr const char* WindowClassName = "__DX_RUNEPLATE__";
constexpr const char* WindowTitle = "Dx Runeplate";
constexpr int32_t MainWindowWidth = 800;
constexpr int32_t MainWindowHeight = 600;

// The program's own module, taken once at start-up.
extern HINSTANCE ModuleHandle;

// The popup window; set once by RunApplication, never cleared.
extern HWND MainWindow;

// The show command the process was started with (ReadStartupShowCommand).
extern int32_t StartupShowCommand;

// A failure raised while a message was being handled. The window procedure
// keeps it instead of letting it travel through the platform's dispatch; the
// loop raises it again once DispatchMessageA has returned. While it is set no
// frame is drawn.
extern std::exception_ptr PendingFailure;

// Draws and presents one frame; GameMain->Render() unless a test replaces it.
using TRenderFrame = void (*)();
extern TRenderFrame RenderFrameFunction;

// wShowWindow of the start-up information when its flags ask for it, else
// SW_SHOWDEFAULT.
int32_t ReadStartupShowCommand();

// Registers the window class "__DX_RUNEPLATE__" of Module: redrawn on any
// resize, MainWindowProc, icon "vexil" of Module (none when Module has no
// such icon), arrow cursor, light-grey background. Returns the atom, 0 on
// failure.
ATOM RegisterMainWindowClass(HINSTANCE module);

// WM_DESTROY posts the quit message with code 0. WM_RENDERFRAME draws a
// frame, then destroys the window when Escape was pressed since the last
// look, and still goes to DefWindowProcA, like every other message.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Serves MainWindow's thread until the quit message arrives and returns its
// code. When the queue is empty it posts WM_RENDERFRAME to MainWindow and
// waits. Raises PendingFailure as soon as the dispatch that stored it returns.
int32_t RunMessageLoop();

// Registers the class, creates and shows MainWindow, sets up GameMain on it
// (full screen, 800 x 600), runs the loop, releases Direct3D and returns the
// quit message's code. A failed registration or window creation raises
// EOSError naming the call and the system error code.
int32_t RunApplication();

}  // namespace runeplate
