#include "support/msgbox/MessageBoxReader.h"

namespace runeplate {

namespace {

// The static control that holds a message box's text.
constexpr int MessageBoxTextId = 0xFFFF;
constexpr DWORD PollIntervalMs = 50;

// WM_GETTEXT rather than GetWindowTextA, which does not ask a control of
// another process for its text.
std::string WindowText(HWND window) {
  char text[4096] = {};
  const LRESULT length =
      SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

HWND FindMessageBox(const char* title, DWORD processId) {
  HWND box = nullptr;
  while ((box = FindWindowExA(nullptr, box, "#32770", title)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(box, &owner);
    if (processId == 0 || owner == processId) return box;
  }
  return nullptr;
}

}  // namespace

HWND WaitForMessageBox(const char* title, DWORD timeoutMs, DWORD processId) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND box = FindMessageBox(title, processId)) return box;
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
