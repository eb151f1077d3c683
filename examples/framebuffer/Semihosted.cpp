// The framebuffer example as firmware for the boards that talk to the host
// through semihosting (the Cortex-M3, Cortex-M0 and RISC-V ones): draws the
// example's screen from the compact font in flash and writes the frame
// buffer as framebuffer.pbm in the emulator's working folder. Ends with 0,
// 1 when the picture could not be written, or 3 when the start-up did not
// construct the globals (tests/mcu/RunFirmware.sh tells them apart).
#include <stdio.h>

#include "Screen.h"
#include "StartupCheck.h"
#include "runeplate_round.h"

int main() {
  runeplate_font font;
  runeplate_font_init(&font, runeplate_round, sizeof runeplate_round, RUNEPLATE_COMPACT);
  static example::TFrameBuffer frame;
  example::DrawScreen(font, frame);

  FILE* out = fopen("framebuffer.pbm", "wb");
  if (out == nullptr) return 1;
  fprintf(out, "P4\n%d %d\n", static_cast<int>(example::DisplayWidth),
          static_cast<int>(example::DisplayHeight));
  const bool written = fwrite(frame, sizeof frame, 1, out) == 1;
  if (fclose(out) != 0 || !written) return 1;
  return example::GlobalsWereConstructed() ? 0 : 3;
}
