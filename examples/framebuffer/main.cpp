// Draws a line of Hangul and Latin into the 1-bit frame buffer of a 128 x 64
// display through the C interface, with the font atlas as C source, and
// writes the buffer as a PBM image. The Cortex-M3, Cortex-M0, RISC-V and AVR
// firmware in the folders beside this one draw the same screen (Screen.cpp)
// from the compact font on the device and hand the picture back.
//
//   runeplate-fontgen assets/fonts/round/a1bit.bmp -o runeplate_atlas.h
#include <stdio.h>

#include "Screen.h"
#include "runeplate_atlas.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: framebuffer OUT.pbm\n");
    return 2;
  }
  runeplate_font font;
  runeplate_font_init(&font, runeplate_atlas, sizeof runeplate_atlas, RUNEPLATE_ATLAS_BOTTOM_ROW_FIRST);
  static example::TFrameBuffer frame;
  example::DrawScreen(font, frame);

  FILE* out = fopen(argv[1], "wb");
  if (!out) {
    perror(argv[1]);
    return 1;
  }
  fprintf(out, "P4\n%d %d\n", example::DisplayWidth, example::DisplayHeight);
  const bool written = fwrite(frame, sizeof frame, 1, out) == 1;
  if (fclose(out) != 0 || !written) {
    perror(argv[1]);
    remove(argv[1]);
    return 1;
  }
  return 0;
}
