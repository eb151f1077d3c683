#include "support/TestWindow.h"

#include <cstdio>

namespace runeplate::test {

TTestWindow::TTestWindow(DWORD style, TWindowPlace place, WNDPROC procedure, bool withMenu) {
  // A class of its own per window: a class is bound to one procedure, and
  // two test windows may be alive at once.
  static int counter = 0;
  std::snprintf(className_, sizeof className_, "RuneplateTestWindow%d", ++counter);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = className_;
  class_ = RegisterClassA(&windowClass);
  if (!class_) return;
  HMENU menu = nullptr;
  if (withMenu) {
    menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, 1, "File");
  }
  // The window owns the menu from here on and destroys it with itself.
  window_ = CreateWindowExA(0, className_, "Runeplate test window", style, place.X, place.Y,
                            place.Width, place.Height, nullptr, menu, windowClass.hInstance,
                            nullptr);
  if (!window_ && menu) DestroyMenu(menu);
}

TTestWindow::~TTestWindow() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
  if (class_) UnregisterClassA(className_, GetModuleHandleA(nullptr));
}

void TTestWindow::Show() const {
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

SIZE TTestWindow::ClientSize() const {
  RECT client;
  GetClientRect(window_, &client);
  return {client.right - client.left, client.bottom - client.top};
}

POINT TTestWindow::TopLeft() const {
  RECT outer;
  GetWindowRect(window_, &outer);
  return {outer.left, outer.top};
}

}  // namespace runeplate::test
