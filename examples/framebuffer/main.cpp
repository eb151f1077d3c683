// Draws a line of Hangul and Latin into the 1-bit frame buffer of a 128 x 64
// display with the Runeplate layout engine, the glyph composer and the font
// atlas as C source, and writes the buffer as a PBM image. Plain C++: no
// platform code, no allocation while drawing.
//
//   runeplate-fontgen assets/fonts/round/a1bit.bmp -o runeplate_atlas.h
//   c++ -std=c++17 main.cpp UDrawText.cpp GlyphComposer.cpp -o framebuffer && ./framebuffer out.pbm
#include <cstdint>
#include <cstdio>

#include "runeplate_atlas.h"
#include <runeplate/font/GlyphComposer.h>
#include <runeplate/text/UDrawText.h>

namespace {

constexpr int32_t DisplayWidth = 128;
constexpr int32_t DisplayHeight = 64;

// One bit a pixel, 16 bytes a row, the leftmost pixel in the top bit: the
// layout of most monochrome display controllers, and of PBM.
uint8_t FrameBuffer[DisplayHeight][DisplayWidth / 8];

// The atlas as fontgen writes it: the font file's pixel block, bottom row first.
const runeplate::TFontView Font{runeplate_atlas, runeplate::FontBottomRowFirst};

void SetPixel(int32_t x, int32_t y) {
  if (x < 0 || x >= DisplayWidth || y < 0 || y >= DisplayHeight) return;  // clip
  FrameBuffer[y][x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
}

// Copies the picture of one character, its jamo glyphs already overlaid by
// the composer.
void DrawCell(int32_t x, int32_t y, const runeplate::TGlyphRects& rects) {
  runeplate::TCellBitmap cell;
  runeplate::ComposeCell(Font, rects, cell);
  for (int32_t dy = 0; dy < cell.Height; ++dy)
    for (int32_t dx = 0; dx < cell.Width; ++dx)
      if (cell.IsInk(dx, dy)) SetPixel(x + dx, y + dy);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: framebuffer OUT.pbm\n");
    return 2;
  }
  // Text as people write it: decomposed Hangul composes, every jamo is drawn,
  // from the atlas's own letter cells where it has them.
  runeplate::TBlockOptions options;
  options.LetterCells = runeplate::HasLetterCells(Font);
  const char16_t title[] = u"Runeplate";
  const char16_t greeting[] = u"안녕, 세상!";
  runeplate::ForEachCell(0, 8, title, sizeof title / 2 - 1, options, DrawCell);
  runeplate::ForEachCell(0, 32, greeting, sizeof greeting / 2 - 1, options, DrawCell);

  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  std::fprintf(out, "P4\n%d %d\n", DisplayWidth, DisplayHeight);
  const bool written = std::fwrite(FrameBuffer, sizeof FrameBuffer, 1, out) == 1;
  if (std::fclose(out) != 0 || !written) {
    std::perror(argv[1]);
    std::remove(argv[1]);
    return 1;
  }
  return 0;
}
