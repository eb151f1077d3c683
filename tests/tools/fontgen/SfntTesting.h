// Helpers for the tests of the OpenType tables: pictures written as text,
// random pictures, and FreeType drawing a glyph of a font held in memory.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "font/GlyphComposer.h"
#include "fontgen/export/sfnt/SfntBytes.h"

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

// The least font around `tables` (tag, bytes) that FreeType and fontTools
// open: a head of `unitsPerEm`, a maxp of `glyphs` and horizontal metrics of
// one advance for all beside them, no checksums (neither reader checks them).
inline std::vector<uint8_t> TestSfnt(std::vector<std::pair<std::string, std::vector<uint8_t>>> tables,
                                     uint32_t sfntVersion, int32_t unitsPerEm, uint16_t glyphs) {
  TSfntBytes head;
  head.U32(0x00010000), head.U32(0x00010000), head.U32(0), head.U32(0x5F0F3CF5);
  head.U16(0), head.U16(uint32_t(unitsPerEm)), head.LongDateTime(0), head.LongDateTime(0);
  for (int i = 0; i < 4; ++i) head.I16(0);
  head.U16(0), head.U16(8), head.I16(2), head.I16(0), head.I16(0);
  TSfntBytes maxp;
  maxp.U32(0x00005000), maxp.U16(glyphs);
  TSfntBytes hhea, hmtx;
  hhea.U32(0x00010000), hhea.I16(unitsPerEm), hhea.I16(0), hhea.I16(0), hhea.U16(uint32_t(unitsPerEm));
  for (int i = 0; i < 3; ++i) hhea.I16(0);
  hhea.I16(1), hhea.I16(0);
  for (int i = 0; i < 6; ++i) hhea.I16(0);
  hhea.U16(1);
  hmtx.U16(uint32_t(unitsPerEm)), hmtx.I16(0);
  for (uint16_t g = 1; g < glyphs; ++g) hmtx.I16(0);
  tables.push_back({"hhea", hhea.Bytes});
  tables.push_back({"hmtx", hmtx.Bytes});
  tables.push_back({"head", head.Bytes});
  tables.push_back({"maxp", maxp.Bytes});
  std::sort(tables.begin(), tables.end());
  TSfntBytes font;
  font.U32(sfntVersion), font.U16(uint32_t(tables.size())), font.U16(0), font.U16(0), font.U16(0);
  size_t at = 12 + 16 * tables.size();
  for (const auto& [tag, bytes] : tables) {
    for (char c : tag) font.U8(uint8_t(c));
    font.U32(0), font.U32(uint32_t(at)), font.U32(uint32_t(bytes.size()));
    at += (bytes.size() + 3) / 4 * 4;
  }
  for (const auto& [tag, bytes] : tables) font.Append(bytes), font.Pad4();
  return font.Bytes;
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
