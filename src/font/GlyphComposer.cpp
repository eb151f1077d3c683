#include "font/GlyphComposer.h"

#include "text/Flash.h"

namespace runeplate {

namespace {

constexpr int32_t RowBytes = FontImageWidth / 8;
// Where the engine's cells lie in the image (AsciiCell, HangulCell): the
// compact form keeps exactly these.
constexpr int32_t AsciiTop = 32, AsciiRows = 32, AsciiPerRow = FontImageWidth / 8;
constexpr int32_t JamoTop = 64, JamoPerRow = FontImageWidth / 16;
constexpr int32_t CellHeight = 16;
// The whole-cell path below shifts by these.
static_assert(AsciiPerRow == 1 << 6 && JamoPerRow == 1 << 5 && CellHeight == 1 << 4 &&
                  CompactAsciiBytes == 1 << 4 && CompactJamoBytes == 1 << 5,
              "the shifts of FindGlyphRows");

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

// The rows of a glyph as they lie in the font: the first row's first byte and
// the step to the next row. Null First: a blank glyph.
struct TGlyphRows {
  const uint8_t* First;
  ptrdiff_t Step;
};

// The rows of `rect` `width` (8 or 16) pixels wide and `height` (up to 16)
// high, when it is a whole cell the font keeps whole bytes of, as every cell
// of the engine is; false for any other rectangle. Masks and shifts rather
// than division: an 8-bit processor runs this for every glyph it draws.
bool FindGlyphRows(const TFontView& font, const TRect& rect, int32_t width, int32_t height,
                   TGlyphRows& rows) {
  if ((width != 8 && width != 16) || (rect.Left & (width - 1)) != 0 || height > CellHeight ||
      rect.Left < 0 || rect.Left + width > FontImageWidth)
    return false;
  const uint16_t column = static_cast<uint16_t>(rect.Left) >> 3;
  if (!IsCompact(font)) {
    if (rect.Top < 0 || rect.Top + height > FontImageHeight) return false;
    rows = {RowOf(font, rect.Top) + column,
            static_cast<ptrdiff_t>(font.Order == FontTopRowFirst ? RowBytes : -RowBytes)};
    return true;
  }
  if ((rect.Top & (CellHeight - 1)) != 0 || rect.Top < AsciiTop || rect.Top >= FontImageHeight)
    return false;
  // In 16 bits from here: cell rows and glyph numbers are small.
  const uint16_t cellRow = static_cast<uint16_t>(rect.Top) >> 4;
  if (width == 8 && rect.Top < AsciiTop + AsciiRows) {
    const uint16_t k = static_cast<uint16_t>(((cellRow - AsciiTop / CellHeight) << 6) + column -
                                             CompactAsciiFirst);
    rows = {k < CompactAsciiCount ? font.Pixels + (k << 4) : nullptr, 1};
    return true;
  }
  if (width == 16 && rect.Top >= JamoTop) {
    const uint16_t glyph =
        static_cast<uint16_t>(((cellRow - JamoTop / CellHeight) << 5) + (column >> 1));
    rows = {glyph < HangulGlyphCount ? font.Pixels + CompactJamoOffset + (glyph << 5) : nullptr, 2};
    return true;
  }
  return false;
}

// ORs the `height` rows of a whole cell into `cell`: the composer's inner
// loop, which a small device runs for every glyph it draws.
void AddGlyphRows(const TGlyphRows& rows, int32_t width, int32_t height, TCellBitmap& cell) {
  if (rows.First == nullptr) return;
  const uint8_t* at = rows.First;
  const ptrdiff_t step = rows.Step;
  uint16_t* out = cell.Rows;
  uint16_t* const end = out + height;
  if (width == 16) {
    for (; out != end; ++out, at += step)
      *out = static_cast<uint16_t>(*out | FontByte(at) << 8 | FontByte(at + 1));
  } else {
    for (; out != end; ++out, at += step) *out = static_cast<uint16_t>(*out | FontByte(at) << 8);
  }
}

// Whether `width` x `height` pixels from (`left`, `top`) fit a cell's 16 x 16
// picture and lie inside the image: what every read of the font relies on.
bool FitsCell(int32_t left, int32_t top, int32_t width, int32_t height) {
  return width >= 1 && width <= 16 && height >= 1 && height <= CellHeight && left >= 0 &&
         top >= 0 && left <= FontImageWidth - width && top <= FontImageHeight - height;
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
  if (rects.Count <= 0) {
    cell.Width = cell.Height = 0;
    return;
  }
  const int32_t width = rects.Rects[0].Right - rects.Rects[0].Left;
  const int32_t height = rects.Rects[0].Bottom - rects.Rects[0].Top;
  if (!FitsCell(rects.Rects[0].Left, rects.Rects[0].Top, width, height)) {
    cell.Width = cell.Height = 0;
    return;
  }
  cell.Width = width;
  cell.Height = height;
  const TRect* const end = rects.Rects + (rects.Count < 3 ? rects.Count : 3);
  for (const TRect* rect = rects.Rects; rect != end; ++rect) {
    if (!FitsCell(rect->Left, rect->Top, width, height)) continue;
    TGlyphRows rows;
    if (FindGlyphRows(font, *rect, width, height, rows)) {
      AddGlyphRows(rows, width, height, cell);
      continue;
    }
    for (int32_t y = 0; y < height; ++y) {
      cell.Rows[y] = static_cast<uint16_t>(cell.Rows[y] |
                                           FontRowBits(font, rect->Left, width, rect->Top + y));
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
