// Prints the glyph callbacks of "A각" at (0, 16), one per line, then the pen;
// the same for 각 in conjoining jamo and a line feed as composed text, through
// a lambda; and the size of the font file's pixel block.
#include <runeplate/font/FontFile.h>
#include <runeplate/font/GlyphComposer.h>
#include <runeplate/text/UDrawText.h>

#include <cstdio>

namespace {

void PrintGlyph(int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcLeft,
                int32_t srcTop, int32_t userValue) {
  std::printf("%d %d %d %d %d %d %d\n", x, y, width, height, srcLeft, srcTop, userValue);
}

}  // namespace

int main() {
  const char16_t text[] = u"A\uAC01";
  const int32_t end = runeplate::DrawTextRun(0, 16, text, 2, 7, PrintGlyph);
  std::printf("end %d\n", end);
  const char16_t composed[] = u"\u1100\u1161\u11A8\nA";
  const runeplate::TBlockOptions options;
  int glyphs = 0;
  const runeplate::TPen pen = runeplate::ForEachGlyph(
      0, 16, composed, 5, options,
      [&glyphs](int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcLeft, int32_t srcTop,
                int32_t userValue) {
        ++glyphs;
        PrintGlyph(x, y, width, height, srcLeft, srcTop, userValue);
      },
      7);
  std::printf("composed %d glyphs, end %d %d\n", glyphs, pen.X, pen.Y);
  std::printf("pixel block %d bytes\n", runeplate::FontFilePixelBytes);
  runeplate::TFontImage blank;
  std::printf("letter cells %d\n", runeplate::HasLetterCells(runeplate::ViewOf(blank)) ? 1 : 0);
  return 0;
}
