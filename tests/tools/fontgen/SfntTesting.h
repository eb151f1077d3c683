// Helpers for the tests of the OpenType tables: pictures written as text,
// random pictures, and FreeType drawing a glyph of a font held in memory.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "font/GlyphComposer.h"
#include "fontgen/export/sfnt/Container.h"
#include "fontgen/export/sfnt/Metrics.h"

namespace runeplate::fontgen::sfnt::testing {

// A picture from rows of '#' (ink) and '.', the first row at the top.
inline TCellBitmap Picture(int32_t width, const std::vector<std::string>& rows) {
  TCellBitmap picture{width, int32_t(rows.size()), {}};
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size() && x < 16; ++x)
      if (rows[y][x] == '#') picture.Rows[y] |= uint16_t(0x8000 >> x);
  return picture;
}

// A `width` x 16 picture, each pixel ink with `percent` chance.
inline TCellBitmap RandomPicture(std::mt19937& random, int32_t width, uint32_t percent) {
  TCellBitmap picture{width, 16, {}};
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < width; ++x)
      if (random() % 100 < percent) picture.Rows[y] |= uint16_t(0x8000 >> x);
  return picture;
}

// A font FreeType reads from `bytes`, which it keeps.
class TMemoryFace {
 public:
  explicit TMemoryFace(std::vector<uint8_t> bytes) : Bytes(std::move(bytes)) {
    FT_Init_FreeType(&Library);
    if (FT_New_Memory_Face(Library, Bytes.data(), FT_Long(Bytes.size()), 0, &Face) != 0) Face = nullptr;
  }
  ~TMemoryFace() {
    if (Face != nullptr) FT_Done_Face(Face);
    FT_Done_FreeType(Library);
  }
  TMemoryFace(const TMemoryFace&) = delete;
  TMemoryFace& operator=(const TMemoryFace&) = delete;
  std::vector<uint8_t> Bytes;
  FT_Library Library = nullptr;
  FT_Face Face = nullptr;
};

// What FreeType draws for `glyph` in monochrome, loaded with `loadFlags`,
// as a `width` x `height` picture whose row 0 is `ascent` pixels above the
// baseline, and its advance in pixels; none when it cannot load it or draws
// ink outside the picture.
struct TDrawn {
  TCellBitmap Picture;
  int32_t Advance;
};
inline std::optional<TDrawn> Draw(FT_Face face, FT_UInt glyph, FT_Int32 loadFlags, int32_t ascent, int32_t width,
                                  int32_t height) {
  if (FT_Load_Glyph(face, glyph, loadFlags | FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return std::nullopt;
  const FT_GlyphSlot slot = face->glyph;
  TDrawn drawn{{width, height, {}}, int32_t(slot->advance.x >> 6)};
  const FT_Bitmap& b = slot->bitmap;
  for (unsigned y = 0; y < b.rows; ++y)
    for (unsigned x = 0; x < b.width; ++x) {
      if (!((b.buffer[y * unsigned(b.pitch) + x / 8] >> (7 - x % 8)) & 1)) continue;
      const int32_t cx = slot->bitmap_left + int32_t(x), cy = ascent - slot->bitmap_top + int32_t(y);
      if (cx < 0 || cy < 0 || cx >= width || cy >= height) return std::nullopt;
      drawn.Picture.Rows[cy] |= uint16_t(0x8000u >> cx);
    }
  return drawn;
}

// The least font around `tables` that FreeType opens: `glyphs` blank glyphs
// of one advance.
inline std::vector<uint8_t> TestSfnt(std::vector<TSfntTable> tables, uint32_t sfntVersion, size_t glyphs) {
  TSfntFont font;
  font.Glyphs.assign(glyphs, TSfntGlyph{"g", font.UnitsPerEm, {}, {}});
  const TBoxes boxes(glyphs);
  tables.insert(tables.end(), {{"head", HeadTable(font, boxes, false)},
                               {"hhea", HheaTable(font, boxes)},
                               {"maxp", MaxpCountOnly(font)},
                               {"hmtx", HmtxTable(font, boxes)}});
  return SfntFile(sfntVersion, tables);
}

inline std::string Rows(const TCellBitmap& picture) {
  std::string text;
  for (int32_t y = 0; y < picture.Height; ++y) {
    for (int32_t x = 0; x < picture.Width; ++x) text += picture.IsInk(x, y) ? '#' : '.';
    text += '\n';
  }
  return text;
}

}  // namespace runeplate::fontgen::sfnt::testing
