#include "font/GlyphComposer.h"

#include "text/Flash.h"

namespace runeplate {

namespace {

constexpr int32_t RowBytes = FontImageWidth / 8;
// Where the engine's cells lie in the image (AsciiCell, HangulCell): the
// compact form keeps exactly these.
constexpr int32_t AsciiTop = 32, AsciiRows = 32, AsciiPerRow = FontImageWidth / 8;
constexpr int32_t JamoTop = 64, JamoPerRow = FontImageWidth / 16;

// Every read of a font goes through here.
inline uint8_t FontByte(const uint8_t* at) { return ReadFlash(at); }

bool IsCompact(const TFontView& font) { return font.Order == FontCompactGlyphs; }

// Where the compact form keeps the byte of ASCII `code` or jamo glyph `glyph`
// at row `row` of the glyph; null for a glyph it does not keep.
const uint8_t* CompactAsciiRow(const TFontView& font, int32_t code, int32_t row) {
  const uint32_t k = static_cast<uint32_t>(code - CompactAsciiFirst);
  if (k >= static_cast<uint32_t>(CompactAsciiCount)) return nullptr;
  return font.Pixels + k * CompactAsciiBytes + row;
}
const uint8_t* CompactJamoRow(const TFontView& font, int32_t glyph, int32_t row) {
  if (glyph < 0 || glyph >= HangulGlyphCount) return nullptr;
  return font.Pixels + CompactJamoOffset + glyph * CompactJamoBytes + 2 * row;
}

// Byte `column` (0..63) of image row `y` of a compact font.
uint8_t CompactImageByte(const TFontView& font, int32_t y, int32_t column) {
  const uint8_t* at = nullptr;
  if (y >= AsciiTop && y < AsciiTop + AsciiRows) {
    const int32_t code = (y - AsciiTop) / CellHeight * AsciiPerRow + column;
    at = CompactAsciiRow(font, code, (y - AsciiTop) % CellHeight);
  } else if (y >= JamoTop) {
    const int32_t glyph = (y - JamoTop) / CellHeight * JamoPerRow + column / 2;
    at = CompactJamoRow(font, glyph, (y - JamoTop) % CellHeight);
    if (at != nullptr) at += column % 2;
  }
  return at != nullptr ? FontByte(at) : 0;
}

const uint8_t* RowOf(const TFontView& font, int32_t y) {
  const int32_t stored = font.Order == FontTopRowFirst ? y : FontImageHeight - 1 - y;
  return font.Pixels + stored * RowBytes;
}

// Byte `column` of image row `y`, whatever the form.
uint8_t ImageByte(const TFontView& font, int32_t y, int32_t column) {
  if (IsCompact(font)) return CompactImageByte(font, y, column);
  return FontByte(RowOf(font, y) + column);
}

// Whether `width` x `height` pixels from (`left`, `top`) fit a cell's 16 x 16
// picture and lie inside the image: what every read of the font relies on.
bool FitsCell(int32_t left, int32_t top, int32_t width, int32_t height) {
  return width >= 1 && width <= 16 && height >= 1 && height <= CellHeight && left >= 0 &&
         top >= 0 && left <= FontImageWidth - width && top <= FontImageHeight - height;
}

// The rows of one glyph as they lie in the font: the first row's first byte
// and the step to the next row.
struct TGlyphRows {
  const uint8_t* First;
  ptrdiff_t Step;
};

// 32 blank bytes in flash: a glyph the font does not keep, read like one it
// keeps, so that the loops below test nothing per row.
constexpr uint8_t BlankGlyph[CompactJamoBytes] RUNEPLATE_FLASH = {};
// A function, not a constant: on the AVR a constant struct would take RAM.
inline TGlyphRows NoGlyph() { return {BlankGlyph, 2}; }

// Where glyph `glyph` of `source` lies in an atlas: the rows of its
// rectangle (GlyphRect).
TGlyphRows AtlasRowsOfGlyph(const TFontView& font, TCellSource source, int16_t glyph) {
  const TRect rect = GlyphRect(source, glyph);
  if (!FitsCell(rect.Left, rect.Top, CellWidthOf(source), CellHeight)) return NoGlyph();
  return {RowOf(font, rect.Top) + rect.Left / 8,
          static_cast<ptrdiff_t>(font.Order == FontTopRowFirst ? RowBytes : -RowBytes)};
}

// Where glyph `glyph` of `source` lies in `font`: straight from its number,
// for the compact form into its 16 or 32 bytes (inlined: a few instructions
// a small device runs for every glyph it draws).
RUNEPLATE_HOT_INLINE TGlyphRows RowsOfGlyph(const TFontView& font, TCellSource source,
                                            int16_t glyph) {
  if (!IsCompact(font)) return AtlasRowsOfGlyph(font, source, glyph);
  if (source == SourceJamo) {
    if (static_cast<uint16_t>(glyph) >= HangulGlyphCount) return NoGlyph();
    return {font.Pixels + CompactJamoOffset + static_cast<uint16_t>(glyph) * CompactJamoBytes, 2};
  }
  const uint16_t k = static_cast<uint16_t>(glyph - CompactAsciiFirst);
  if (source != SourceAscii || k >= CompactAsciiCount) return NoGlyph();
  return {font.Pixels + k * CompactAsciiBytes, 1};
}

}  // namespace

uint16_t FontRowBits(const TFontView& font, int32_t left, int32_t width, int32_t y) {
  if (!FitsCell(left, y, width, 1)) return 0;
  const int32_t first = left / 8, shift = left % 8;
  // The 24 pixels from the byte that holds `left`, as far as the row goes.
  uint32_t bits = static_cast<uint32_t>(ImageByte(font, y, first)) << 16;
  if (first + 1 < RowBytes) bits |= static_cast<uint32_t>(ImageByte(font, y, first + 1)) << 8;
  if (first + 2 < RowBytes && shift + width > 16) bits |= ImageByte(font, y, first + 2);
  const uint32_t mask = 0xFFFFu << (16 - width);
  return static_cast<uint16_t>((bits >> (8 - shift)) & mask);
}

void ComposeCell(const TFontView& font, const TGlyphRects& rects, TCellBitmap& cell) {
  for (uint16_t& row : cell.Rows) row = 0;
  cell.Width = cell.Height = 0;
  if (rects.Count <= 0) return;
  const int32_t width = rects.Rects[0].Right - rects.Rects[0].Left;
  const int32_t height = rects.Rects[0].Bottom - rects.Rects[0].Top;
  if (!FitsCell(rects.Rects[0].Left, rects.Rects[0].Top, width, height)) return;
  cell.Width = width;
  cell.Height = height;
  const TRect* const end = rects.Rects + (rects.Count < 3 ? rects.Count : 3);
  for (const TRect* rect = rects.Rects; rect != end; ++rect) {
    if (!FitsCell(rect->Left, rect->Top, width, height)) continue;
    for (int32_t y = 0; y < height; ++y) {
      cell.Rows[y] = static_cast<uint16_t>(cell.Rows[y] |
                                           FontRowBits(font, rect->Left, width, rect->Top + y));
    }
  }
}

int32_t ComposePicture(const TFontView& font, const TGlyphCell& cell, uint8_t picture[32]) {
  const uint8_t count = cell.Count < 3 ? cell.Count : 3;
  if (count == 0) {
    for (uint8_t k = 0; k < 32; ++k) picture[k] = 0;
    return 0;
  }
  if (cell.Source != SourceJamo) {
    // One glyph: an ASCII cell 8 wide, or a letter cell 16 wide.
    const TGlyphRows rows = RowsOfGlyph(font, cell.Source, cell.Glyphs[0]);
    const uint8_t* at = rows.First;
    uint8_t* out = picture;
    if (cell.Source != SourceAscii) {
      for (; out != picture + 32; out += 2, at += rows.Step) {
        out[0] = FontByte(at);
        out[1] = FontByte(at + 1);
      }
    } else if (rows.Step == 1) {
      // The compact form's 16 bytes in a row: the pointer steps by itself.
      for (; out != picture + 32; out += 2) {
        out[0] = FontByte(at++);
        out[1] = 0;
      }
    } else {
      for (; out != picture + 32; out += 2, at += rows.Step) {
        out[0] = FontByte(at);
        out[1] = 0;
      }
    }
    return CellWidthOf(cell.Source);
  }
  const TGlyphRows a = RowsOfGlyph(font, SourceJamo, cell.Glyphs[0]);
  const TGlyphRows b = count > 1 ? RowsOfGlyph(font, SourceJamo, cell.Glyphs[1]) : NoGlyph();
  const TGlyphRows c = count > 2 ? RowsOfGlyph(font, SourceJamo, cell.Glyphs[2]) : NoGlyph();
  if (IsCompact(font)) {
    // The compact form keeps a jamo glyph as the 32 bytes of a picture: OR
    // them byte by byte, the loop a small device runs for nearly every
    // character of Korean text.
    const uint8_t *pa = a.First, *pb = b.First, *pc = c.First;
    for (uint8_t k = 0; k < 32; ++k)
      picture[k] = static_cast<uint8_t>(FontByte(pa + k) | FontByte(pb + k) | FontByte(pc + k));
    return 16;
  }
  const uint8_t *pa = a.First, *pb = b.First, *pc = c.First;
  for (uint8_t* out = picture; out != picture + 32; out += 2) {
    out[0] = static_cast<uint8_t>(FontByte(pa) | FontByte(pb) | FontByte(pc));
    out[1] = static_cast<uint8_t>(FontByte(pa + 1) | FontByte(pb + 1) | FontByte(pc + 1));
    pa += a.Step, pb += b.Step, pc += c.Step;
  }
  return 16;
}

void ComposeGlyphCell(const TFontView& font, const TGlyphCell& cell, TCellBitmap& bitmap) {
  uint8_t picture[32];
  bitmap.Width = ComposePicture(font, cell, picture);
  bitmap.Height = bitmap.Width != 0 ? CellHeight : 0;
  for (int32_t y = 0; y < 16; ++y)
    bitmap.Rows[y] = static_cast<uint16_t>(picture[2 * y] << 8 | picture[2 * y + 1]);
}

void ComposeCodePoint(const TFontView& font, uint32_t codePoint, const TBlockOptions* options,
                      TCellBitmap& cell) {
  TGlyphCell glyphs;
  if (options == nullptr) {
    GetGlyphCell(codePoint > 0xFFFF ? ReplacementCharacter : codePoint, glyphs);
  } else {
    GetComposedCell(ComposedCode(codePoint), *options, glyphs);
  }
  ComposeGlyphCell(font, glyphs, cell);
}

bool HasLetterCells(const TFontView& font) {
  if (IsCompact(font)) return false;  // it keeps no letter cells
  for (int32_t k = 0; k < static_cast<int32_t>(CompatJamoCount); ++k) {
    const TRect cell = LetterCell(k);
    for (int32_t y = cell.Top; y < cell.Bottom; ++y) {
      if (FontRowBits(font, cell.Left, 16, y) != 0) return true;
    }
  }
  return false;
}

}  // namespace runeplate
