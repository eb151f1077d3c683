// A window of a class of its own, for tests and the frame-rate benchmark:
// both the class and the window are gone again when the TTestWindow is.
#pragma once

#include <windows.h>

#include <cstdint>

namespace runeplate::test {

// Where a test window lies on the screen, outer edges included.
struct TWindowPlace {
  int32_t X, Y, Width, Height;
};

class TTestWindow {
 public:
  // A hidden window of Style at Place whose class answers with Procedure;
  // WithMenu gives it a one-item menu bar. Handle() is null when the class or
  // the window cannot be made.
  TTestWindow(DWORD style, TWindowPlace place, WNDPROC procedure = DefWindowProcA,
              bool withMenu = false);
  // Destroys the window unless someone did already, then the class.
  ~TTestWindow();
  TTestWindow(const TTestWindow&) = delete;
  TTestWindow& operator=(const TTestWindow&) = delete;

  HWND Handle() const { return window_; }
  void Show() const;
  SIZE ClientSize() const;
  POINT TopLeft() const;

 private:
  char className_[40];
  ATOM class_ = 0;
  HWND window_ = nullptr;
};

}  // namespace runeplate::test
