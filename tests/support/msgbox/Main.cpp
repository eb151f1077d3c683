// runeplate-msgbox [--timeout SECONDS] [--title TITLE]
//
// Waits for a top-level message box (dialog class "#32770") titled TITLE
// ("Application Error" when not given) for at most SECONDS (default 30),
// prints two lines, LF-terminated,
//   TITLE: <the box's title>
//   TEXT: <its text, with \ as "\\", line feed as "\n", carriage return as "\r">
// presses OK and waits for the box to close.
// Exit codes: 0 read and closed; 1 no box in time; 2 the box stayed after OK;
// 64 wrong arguments. Under Wine, run it in the same prefix as the program
// whose box it reads.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "support/msgbox/MessageBoxReader.h"

int main(int argc, char** argv) {
  using namespace runeplate;
  const char* title = "Application Error";
  double timeoutSeconds = 30;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--timeout") == 0 && i + 1 < argc) {
      timeoutSeconds = std::atof(argv[++i]);
    } else if (std::strcmp(argv[i], "--title") == 0 && i + 1 < argc) {
      title = argv[++i];
    } else {
      std::fprintf(stderr, "usage: runeplate-msgbox [--timeout SECONDS] [--title TITLE]\n");
      return 64;
    }
  }
  // Plain line feeds, not the CRLF of a text-mode stream.
  _setmode(_fileno(stdout), _O_BINARY);

  HWND box = WaitForMessageBox(title, static_cast<DWORD>(timeoutSeconds * 1000));
  if (!box) {
    std::fprintf(stderr, "runeplate-msgbox: no message box titled \"%s\" within %g s\n", title,
                 timeoutSeconds);
    return 1;
  }
  const TMessageBoxContent content = ReadMessageBox(box);
  std::printf("TITLE: %s\nTEXT: %s\n", EscapeLineBreaks(content.Title).c_str(),
              EscapeLineBreaks(content.Text).c_str());
  std::fflush(stdout);
  if (!PressMessageBoxOk(box, 10000)) {
    std::fprintf(stderr, "runeplate-msgbox: the message box did not close after OK\n");
    return 2;
  }
  return 0;
}
