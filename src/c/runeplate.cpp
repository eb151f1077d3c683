// The C interface over the engine's composed-text walk and the composer.
#include "c/runeplate.h"

#include "font/GlyphComposer.h"
#include "text/UDrawText.h"

using namespace runeplate;

namespace {

TFontView ViewOf(const runeplate_font& font) {
  return {font.pixels, static_cast<TFontRowOrder>(font.layout)};
}

TBlockOptions OptionsOf(const runeplate_font* font, int32_t wrapWidth) {
  TBlockOptions options;
  options.LetterCells = font != nullptr && font->letter_cells != 0;
  options.WrapWidth = wrapWidth;
  return options;
}

// The cell's rows as the 32-byte picture of the interface.
void WritePicture(const TCellBitmap& cell, uint8_t* picture) {
  for (int32_t y = 0; y < 16; ++y) {
    picture[2 * y] = static_cast<uint8_t>(cell.Rows[y] >> 8);
    picture[2 * y + 1] = static_cast<uint8_t>(cell.Rows[y]);
  }
}

struct TDrawCell {
  TFontView Font;
  runeplate_draw_fn Draw;
  void* User;
  void operator()(int32_t x, int32_t y, const TGlyphRects& rects) const {
    if (rects.Count <= 0) return;
    TCellBitmap cell;
    ComposeCell(Font, rects, cell);
    uint8_t picture[32];
    WritePicture(cell, picture);
    Draw(x, y, cell.Width, cell.Height, picture, User);
  }
};

}  // namespace

extern "C" {

void runeplate_font_init(runeplate_font* font, const uint8_t* pixels, int layout) {
  font->pixels = pixels;
  font->layout = static_cast<uint8_t>(layout);
  font->letter_cells = HasLetterCells(ViewOf(*font)) ? 1 : 0;
}

runeplate_pen runeplate_draw_utf8(const runeplate_font* font, int32_t x, int32_t y,
                                  const char* text, size_t length, int32_t wrap_width,
                                  runeplate_draw_fn draw, void* user) {
  const TPen pen = ForEachCellUtf8(x, y, text, length, OptionsOf(font, wrap_width),
                                   TDrawCell{ViewOf(*font), draw, user});
  return {pen.X, pen.Y};
}

int32_t runeplate_compose(const runeplate_font* font, uint32_t code_point, uint8_t* picture) {
  const TBlockOptions options = OptionsOf(font, 0);
  TCellBitmap cell;
  ComposeCodePoint(ViewOf(*font), code_point, &options, cell);
  WritePicture(cell, picture);
  return cell.Width;
}

runeplate_size runeplate_measure_utf8(const char* text, size_t length, int32_t wrap_width) {
  const TBlockSize size = MeasureBlockUtf8(text, length, OptionsOf(nullptr, wrap_width));
  return {size.Width, size.Height};
}

}  // extern "C"
