// MessageBoxReader: finds another program's message box, reads it and
// presses its OK button, as a user would. Test code: the program's fatal-error
// report is a message box, and tests read it through here.
#pragma once

#include <cstdint>
#include <string>

#include <windows.h>

namespace runeplate {

// What a message box shows.
struct TMessageBoxContent {
  std::string Title;
  std::string Text;  // the static text (control id 0xFFFF), line feeds as they are
};

// The first top-level dialog window (class "#32770") titled Title, of the
// process ProcessId (any process when 0), waiting for one to appear for at
// most TimeoutMs; null when none did.
HWND WaitForMessageBox(const char* title, DWORD timeoutMs, DWORD processId = 0);

// The title and static text of Box.
TMessageBoxContent ReadMessageBox(HWND box);

// Presses OK on Box and waits at most TimeoutMs for it to go; true when it has.
bool PressMessageBoxOk(HWND box, DWORD timeoutMs);

// Text on one line: backslash, line feed and carriage return written as
// "\\", "\n" and "\r".
std::string EscapeLineBreaks(const std::string& text);

}  // namespace runeplate
