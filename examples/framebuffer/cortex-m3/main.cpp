// The framebuffer example as Cortex-M3 firmware: draws the example's screen
// from the compact font in flash and writes the frame buffer to the host as
// framebuffer.pbm (in qemu's working folder) through semihosting.
#include <stdio.h>

#include "Screen.h"
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
  return fclose(out) == 0 && written ? 0 : 1;
}
