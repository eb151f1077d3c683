// The README's picture of a font for other programs: one sentence as the
// engine draws it from the atlas (top) and as FreeType draws it from the
// TrueType font fontgen writes of that atlas (bottom), scaled up.
//
//   runeplate_export_picture ATLAS TEXT -o OUT.png
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/Files.h"
#include "common/Picture.h"
#include "common/Png.h"
#include "font/FontFile.h"
#include "font/GlyphComposer.h"
#include "fontgen/Convert.h"
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

TInk DrawWithEngine(const TFontImage& atlas, const std::string& text) {
  TInk ink;
  TBlockOptions options;
  options.LetterCells = HasLetterCells(ViewOf(atlas));
  const TPen end = ForEachCellUtf8(0, 0, text.data(), text.size(), options, [&](int32_t x, int32_t, const TGlyphRects& rects) {
    TCellBitmap cell;
    ComposeCell(ViewOf(atlas), rects, cell);
    for (int y = 0; y < cell.Height; ++y)
      for (int cx = 0; cx < cell.Width; ++cx)
        if (cell.IsInk(cx, y)) ink.Set(x + cx, y);
  });
  ink.Set(end.X - 1, -1);  // the width, trailing space included
  return ink;
}

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
  ink.Set(pen - 1, -1);
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
  const TInk engine = DrawWithEngine(atlas, text);
  TRgbImage picture(std::max(engine.Width, freeType.Width) + 2 * Margin, 2 * 16 + 2 * Margin + Gap);
  auto paint = [&](const TInk& ink, int top, uint32_t rgb) {
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < ink.Width; ++x)
        if (ink.Rows[size_t(y)][size_t(x)]) picture.At(Margin + x, top + y) = rgb;
  };
  paint(engine, Margin, 0x000000);
  paint(freeType, Margin + 16 + Gap, 0x1F3A93);
  if (!WritePngFile(out, Enlarge(picture, Scale), error)) {
    std::fprintf(stderr, "runeplate_export_picture: %s\n", error.c_str());
    return 2;
  }
  return 0;
}
