#include "MessageBoxReader.h"

namespace runeplate {

namespace {

// The static control that holds a message box's text.
constexpr int MessageBoxTextId = 0xFFFF;
constexpr DWORD PollIntervalMs = 50;

std::string WindowText(HWND window) {
  char text[4096];
  const int length = GetWindowTextA(window, text, sizeof text);
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

}  // namespace

HWND WaitForMessageBox(const char* title, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND box = FindWindowExA(nullptr, nullptr, "#32770", title)) return box;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(PollIntervalMs);
  }
}

TMessageBoxContent ReadMessageBox(HWND box) {
  TMessageBoxContent content;
  content.Title = WindowText(box);
  if (HWND text = GetDlgItem(box, MessageBoxTextId)) content.Text = WindowText(text);
  return content;
}

bool PressMessageBoxOk(HWND box, DWORD timeoutMs) {
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  const DWORD start = GetTickCount();
  while (IsWindow(box)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(PollIntervalMs);
  }
  return true;
}

std::string EscapeLineBreaks(const std::string& text) {
  std::string line;
  for (const char c : text) {
    switch (c) {
      case '\\': line += "\\\\"; break;
      case '\n': line += "\\n"; break;
      case '\r': line += "\\r"; break;
      default: line += c;
    }
  }
  return line;
}

}  // namespace runeplate
