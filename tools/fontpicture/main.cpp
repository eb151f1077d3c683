// The README's picture of a font for other programs: one sentence as the
// engine draws it from the atlas (top) and as FreeType draws it from the
// TrueType font fontgen writes of that atlas (bottom), scaled up. Not
// installed: it makes docs/fonts/export-round.png, which a test regenerates.
//
//   runeplate_export_picture ATLAS TEXT -o OUT.png
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/CellPainter.h"
#include "common/Files.h"
#include "common/Picture.h"
#include "common/Png.h"
#include "font/FontFile.h"
#include "font/GlyphComposer.h"
#include "fontgen/export/Export.h"
#include "text/UDrawText.h"

using namespace runeplate;
using namespace runeplate::fontgen;

namespace {

constexpr int Scale = 2, Margin = 4, Gap = 8;

struct TInk {
  int Width = 0;
  std::vector<std::vector<bool>> Rows = std::vector<std::vector<bool>>(16);
  void Set(int x, int y) {
    if (y < 0 || y >= 16 || x < 0) return;
    if (x >= Width) {
      Width = x + 1;
      for (auto& row : Rows) row.resize(size_t(Width), false);
    }
    Rows[size_t(y)][size_t(x)] = true;
  }
};

bool DrawWithFreeType(const std::string& font, const std::string& text, TInk& ink, std::string& error) {
  FT_Library library;
  FT_Face face;
  if (FT_Init_FreeType(&library) != 0) return error = "cannot start FreeType", false;
  if (FT_New_Face(library, font.c_str(), 0, &face) != 0 || FT_Set_Pixel_Sizes(face, 0, 16) != 0) {
    FT_Done_FreeType(library);
    return error = font + ": FreeType cannot open it", false;
  }
  const int ascent = int(face->size->metrics.ascender >> 6);
  int pen = 0;
  for (size_t at = 0; at < text.size();) {
    uint32_t code;
    at += DecodeUtf8(text.data() + at, text.size() - at, code);
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_NO_HINTING) != 0) continue;
    const FT_GlyphSlot slot = face->glyph;
    for (unsigned y = 0; y < slot->bitmap.rows; ++y)
      for (unsigned x = 0; x < slot->bitmap.width; ++x)
        if ((slot->bitmap.buffer[y * slot->bitmap.pitch + x / 8] >> (7 - x % 8)) & 1)
          ink.Set(pen + slot->bitmap_left + int(x), ascent - slot->bitmap_top + int(y));
    pen += int(slot->advance.x >> 6);
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 || std::string(argv[3]) != "-o") {
    std::fprintf(stderr, "usage: runeplate_export_picture ATLAS TEXT -o OUT.png\n");
    return 2;
  }
  const std::string atlasPath = argv[1], text = argv[2], out = argv[4];
  std::vector<uint8_t> bytes;
  std::string error;
  TFontImage atlas;
  if (!ReadFile(atlasPath, bytes, error) || !DecodeFontFile(bytes, atlas, error)) {
    std::fprintf(stderr, "runeplate_export_picture: %s\n", error.c_str());
    return 2;
  }
  const std::string ttf = out + ".ttf";
  TInk freeType;
  try {
    TExportOptions options;
    options.Provenance = ReadProvenance(atlasPath, "");
    WriteFontExport(ttf, TOutputKind::TrueType, atlas, options);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "runeplate_export_picture: %s\n", failure.what());
    return 2;
  }
  const bool drawn = DrawWithFreeType(ttf, text, freeType, error);
  std::filesystem::remove(ttf);
  if (!drawn) {
    std::fprintf(stderr, "runeplate_export_picture: %s\n", error.c_str());
    return 2;
  }
  TBlockOptions composed;
  composed.LetterCells = HasLetterCells(ViewOf(atlas));
  const int32_t pen =
      ForEachCellUtf8(0, 0, text.data(), text.size(), composed, [](int32_t, int32_t, const TGlyphRects&) {}).X;
  TRgbImage engine(std::max(pen, 1), 16);
  ForEachCellUtf8(0, 0, text.data(), text.size(), composed, TCellPainter{engine, atlas, 0x000000});
  // Both drawings are as wide as their ink.
  int32_t engineWidth = 0;
  for (int32_t y = 0; y < engine.Height; ++y)
    for (int32_t x = 0; x < engine.Width; ++x)
      if (engine.At(x, y) != 0xFFFFFF) engineWidth = std::max(engineWidth, x + 1);
  TRgbImage picture(std::max(engineWidth, freeType.Width) + 2 * Margin, 2 * 16 + 2 * Margin + Gap);
  for (int32_t y = 0; y < engine.Height; ++y)
    for (int32_t x = 0; x < engineWidth; ++x) picture.At(Margin + x, Margin + y) = engine.At(x, y);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < freeType.Width; ++x)
      if (freeType.Rows[size_t(y)][size_t(x)]) picture.At(Margin + x, Margin + 16 + Gap + y) = 0x1F3A93;
  if (!WritePngFile(out, Enlarge(picture, Scale), error)) {
    std::fprintf(stderr, "runeplate_export_picture: %s\n", error.c_str());
    return 2;
  }
  return 0;
}
