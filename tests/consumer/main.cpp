// Prints the glyph callbacks of "A각" at (0, 16), one per line, then the pen,
// and the size of the font file's pixel block.
#include <runeplate/font/FontFile.h>
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
  std::printf("pixel block %d bytes\n", runeplate::FontFilePixelBytes);
  return 0;
}
