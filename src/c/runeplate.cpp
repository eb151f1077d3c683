// The C interface over the engine's composed-text walk and the composer.
#include "c/runeplate.h"

#include "font/GlyphComposer.h"
#include "text/UDrawText.h"

using namespace runeplate;

// The C layouts mirror the composer's font orders one for one.
static_assert(int{RUNEPLATE_ATLAS_TOP_ROW_FIRST} == int{FontTopRowFirst} &&
                  int{RUNEPLATE_ATLAS_BOTTOM_ROW_FIRST} == int{FontBottomRowFirst} &&
                  int{RUNEPLATE_COMPACT} == int{FontCompactGlyphs},
              "runeplate_font_layout mirrors TFontRowOrder");
static_assert(RUNEPLATE_ATLAS_BYTES == FontImageWidth / 8 * FontImageHeight &&
                  RUNEPLATE_COMPACT_BYTES == CompactFontBytes,
              "the C interface's font sizes are the composer's");

namespace {

bool IsUsable(const runeplate_font* font) {
  return font != nullptr && font->pixels != nullptr && font->layout <= RUNEPLATE_COMPACT;
}

TFontView ViewOf(const runeplate_font& font) {
  return {font.pixels, static_cast<TFontRowOrder>(font.layout)};
}

TBlockOptions OptionsOf(const runeplate_font* font, int32_t wrapWidth) {
  TBlockOptions options;
  options.LetterCells = font != nullptr && font->letter_cells != 0;
  options.WrapWidth = wrapWidth;
  return options;
}

struct TDrawCell {
  TFontView Font;
  runeplate_draw_fn Draw;
  void* User;
  RUNEPLATE_HOT_INLINE void operator()(int32_t x, int32_t y, const TGlyphCell& cell) const {
    if (cell.Count == 0) return;
    uint8_t picture[32];
    const int32_t width = ComposePicture(Font, cell, picture);
    Draw(x, y, width, CellHeight, picture, User);
  }
};

}  // namespace

extern "C" {

int runeplate_font_init(runeplate_font* font, const uint8_t* pixels, size_t size, int layout) {
  if (font == nullptr) return RUNEPLATE_NULL_ARGUMENT;
  *font = runeplate_font{nullptr, 0, 0};
  if (pixels == nullptr) return RUNEPLATE_NULL_ARGUMENT;
  if (layout != RUNEPLATE_ATLAS_TOP_ROW_FIRST && layout != RUNEPLATE_ATLAS_BOTTOM_ROW_FIRST &&
      layout != RUNEPLATE_COMPACT)
    return RUNEPLATE_UNKNOWN_LAYOUT;
  if (size != (layout == RUNEPLATE_COMPACT ? RUNEPLATE_COMPACT_BYTES : RUNEPLATE_ATLAS_BYTES))
    return RUNEPLATE_WRONG_SIZE;
  const runeplate_font filled{pixels, static_cast<uint8_t>(layout), 0};
  *font = filled;
  font->letter_cells = HasLetterCells(ViewOf(filled)) ? 1 : 0;
  return RUNEPLATE_OK;
}

runeplate_pen runeplate_draw_utf8(const runeplate_font* font, int32_t x, int32_t y,
                                  const char* text, size_t length, int32_t wrap_width,
                                  runeplate_draw_fn draw, void* user) {
  // One pen, returned from one place: avr-gcc copied an 8-byte result
  // through the stack twice for each return statement.
  runeplate_pen pen{x, y};
  if (IsUsable(font) && text != nullptr && draw != nullptr) {
    const TPen after = ForEachGlyphCellUtf8(x, y, text, length, OptionsOf(font, wrap_width),
                                            TDrawCell{ViewOf(*font), draw, user});
    pen.x = after.X;
    pen.y = after.Y;
  }
  return pen;
}

int32_t runeplate_compose(const runeplate_font* font, uint32_t code_point, uint8_t* picture) {
  if (picture == nullptr) return 0;
  TGlyphCell cell{SourceJamo, 0, {0, 0, 0}};  // blank: nothing to read
  if (!IsUsable(font)) return ComposePicture({nullptr, FontTopRowFirst}, cell, picture);
  GetComposedCell(ComposedCode(code_point), OptionsOf(font, 0), cell);
  return ComposePicture(ViewOf(*font), cell, picture);
}

runeplate_size runeplate_measure_utf8(const char* text, size_t length, int32_t wrap_width) {
  const TBlockSize size = MeasureBlockUtf8(text, length, OptionsOf(nullptr, wrap_width));
  return {size.Width, size.Height};
}

}  // extern "C"
