#include "font/GlyphComposer.h"

namespace runeplate {

namespace {

constexpr int32_t RowBytes = FontImageWidth / 8;

// Every read of the atlas goes through here.
inline uint8_t FontByte(const uint8_t* at) { return *at; }

const uint8_t* RowOf(const TFontView& font, int32_t y) {
  const int32_t stored = font.Order == FontTopRowFirst ? y : FontImageHeight - 1 - y;
  return font.Pixels + stored * RowBytes;
}

}  // namespace

uint16_t FontRowBits(const TFontView& font, int32_t left, int32_t width, int32_t y) {
  const uint8_t* row = RowOf(font, y);
  const int32_t first = left / 8, shift = left % 8;
  // The 24 pixels from the byte that holds `left`, as far as the row goes.
  uint32_t bits = static_cast<uint32_t>(FontByte(row + first)) << 16;
  if (first + 1 < RowBytes) bits |= static_cast<uint32_t>(FontByte(row + first + 1)) << 8;
  if (first + 2 < RowBytes && shift + width > 16) bits |= FontByte(row + first + 2);
  const uint32_t mask = 0xFFFFu << (16 - width);
  return static_cast<uint16_t>((bits >> (8 - shift)) & mask);
}

void ComposeCell(const TFontView& font, const TGlyphRects& rects, TCellBitmap& cell) {
  for (int32_t y = 0; y < 16; ++y) cell.Rows[y] = 0;
  if (rects.Count <= 0) {
    cell.Width = cell.Height = 0;
    return;
  }
  cell.Width = rects.Rects[0].Right - rects.Rects[0].Left;
  cell.Height = rects.Rects[0].Bottom - rects.Rects[0].Top;
  for (int32_t k = 0; k < rects.Count; ++k) {
    const TRect& rect = rects.Rects[k];
    for (int32_t y = 0; y < cell.Height; ++y) {
      cell.Rows[y] = static_cast<uint16_t>(cell.Rows[y] |
                                           FontRowBits(font, rect.Left, cell.Width, rect.Top + y));
    }
  }
}

void ComposeCodePoint(const TFontView& font, uint32_t codePoint, const TBlockOptions* options,
                      TCellBitmap& cell) {
  TGlyphRects rects;
  if (options == nullptr) {
    GetGlyphRects(codePoint > 0xFFFF ? ReplacementCharacter : codePoint, rects);
  } else {
    GetComposedRects(ComposedCode(codePoint), *options, rects);
  }
  ComposeCell(font, rects, cell);
}

bool HasLetterCells(const TFontView& font) {
  for (int32_t k = 0; k < static_cast<int32_t>(CompatJamoCount); ++k) {
    const TRect cell = LetterCell(k);
    for (int32_t y = cell.Top; y < cell.Bottom; ++y) {
      if (FontRowBits(font, cell.Left, 16, y) != 0) return true;
    }
  }
  return false;
}

}  // namespace runeplate
