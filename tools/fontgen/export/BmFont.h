// BmFont: an exported font as an AngelCode BMFont, the bitmap font of game
// engines (Godot, Phaser, libGDX, raylib, MonoGame): a text file NAME.fnt
// and pages NAME_0.png, NAME_1.png ... beside it, white glyphs on
// transparency. Each glyph is its whole cell, placed at the top of the
// line; characters with the same picture share one place on a page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fontgen/export/ExportFont.h"

namespace runeplate::fontgen {

// The largest page, a side.
constexpr int32_t BmFontMaxPage = 2048;

// Where a character's picture lies on the pages.
struct TBmFontChar {
  uint32_t CodePoint;
  int32_t Page, X, Y, Width, Height;
};

// The pages and characters of `font`: every page PageWidth x PageHeight
// (at most BmFontMaxPage a side), 4 bytes a pixel (RGBA).
struct TBmFontPages {
  int32_t PageWidth = 0, PageHeight = 0;
  std::vector<std::vector<uint8_t>> Rgba;
  std::vector<TBmFontChar> Chars;
};
TBmFontPages LayOutBmFont(const TExportFont& font);

// The file name of page `page` of a font whose .fnt is named `stem`.fnt:
// "STEM_N.png", with what the .fnt cannot quote replaced as it is there, so
// that the name the .fnt gives is the file's.
std::string BmFontPageName(const std::string& stem, size_t page);

// The .fnt text of `font` laid out as `pages`, the pages named
// BmFontPageName(`pageStem`, N).
std::string EncodeBmFontText(const TExportFont& font, const TBmFontPages& pages, const std::string& pageStem);

// Writes NAME.fnt at `path` and its pages beside it, all or none. Throws
// TFontGenError with one line when a file cannot be written.
void WriteBmFont(const std::string& path, const TExportFont& font);

}  // namespace runeplate::fontgen
