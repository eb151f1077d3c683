#include "fontgen/export/OpenType.h"

#include <cstdio>
#include <map>
#include <stdexcept>

#include "common/Files.h"
#include "fontgen/FontGenError.h"
#include "fontgen/JamoNames.h"
#include "fontgen/export/sfnt/Bitmap.h"
#include "fontgen/export/sfnt/Cff.h"
#include "fontgen/export/sfnt/Cmap.h"
#include "fontgen/export/sfnt/Container.h"
#include "fontgen/export/sfnt/Glyf.h"
#include "fontgen/export/sfnt/Metrics.h"
#include "fontgen/export/sfnt/Naming.h"
#include "fontgen/export/sfnt/Woff2.h"

namespace runeplate::fontgen {

namespace {

// The jamo glyphs a character is made of, or none when it is drawn from an
// ASCII or letter cell.
std::vector<int32_t> PartsOf(const TExportGlyph& glyph) {
  if (glyph.Cell.Source != SourceJamo) return {};
  return std::vector<int32_t>(glyph.Cell.Glyphs, glyph.Cell.Glyphs + glyph.Cell.Count);
}

constexpr int32_t PixelsPerEm = 16;
constexpr int32_t UnitsPerPixel = 16;
constexpr int32_t NotdefWidth = 8;  // pixels: a blank half cell

std::string GlyphName(uint32_t code) {
  char name[16];
  std::snprintf(name, sizeof name, code <= 0xFFFF ? "uni%04X" : "u%05X", code);
  return name;
}

bool IsKorean(uint32_t code) {
  return (code >= SyllableFirst && code <= SyllableLast) || (code >= CompatJamoFirst && code <= CompatJamoLast);
}

}  // namespace

namespace {

// A composite whose parts are still jamo glyph numbers (0..343).
using TPendingParts = std::vector<std::pair<size_t, std::vector<int32_t>>>;

// The characters' glyphs, in code point order, one per layout: the
// characters laid out alike (a conjoining jamo and its letter) share it.
TPendingParts AddCharacters(const TExportFont& font, sfnt::TSfntFont& out, std::vector<TCellBitmap>& drawn) {
  std::map<std::vector<int32_t>, uint16_t> byParts;
  TPendingParts composites;
  for (const TExportGlyph& glyph : font.Glyphs) {
    out.Korean = out.Korean || IsKorean(glyph.CodePoint);
    std::vector<int32_t> parts = PartsOf(glyph);
    if (!parts.empty()) {
      const auto known = byParts.find(parts);
      if (known != byParts.end()) {
        out.Characters.push_back({glyph.CodePoint, known->second});
        continue;
      }
      byParts[parts] = uint16_t(out.Glyphs.size());
      composites.push_back({out.Glyphs.size(), parts});
    }
    out.Characters.push_back({glyph.CodePoint, uint16_t(out.Glyphs.size())});
    sfnt::TSfntGlyph made{GlyphName(glyph.CodePoint), glyph.Picture.Width * UnitsPerPixel, {}, {}};
    if (parts.empty()) made.Contours = sfnt::TraceOutline(glyph.Picture, font.Ascent, UnitsPerPixel);
    out.Glyphs.push_back(std::move(made));
    drawn.push_back(glyph.Picture);
  }
  return composites;
}

// The jamo glyphs under Neo둥근모's names, and at the private code points
// the BDF keeps them at, for readers of fonts without glyph names; then the
// composites' parts are their glyph numbers.
void AddJamo(const TExportFont& font, const TPendingParts& composites, sfnt::TSfntFont& out,
             std::vector<TCellBitmap>& drawn) {
  const size_t jamoFirst = out.Glyphs.size();
  const TJamoNames& names = NeoJamoScheme();
  for (int32_t g = 0; g < HangulGlyphCount; ++g) {
    out.Glyphs.push_back({JamoGlyphName(names, g), PixelsPerEm * UnitsPerPixel,
                          sfnt::TraceOutline(font.Jamo[g], font.Ascent, UnitsPerPixel), {}});
    drawn.push_back(font.Jamo[g]);
    out.Characters.push_back({PrivateJamoFirst + uint32_t(g), uint16_t(jamoFirst + size_t(g))});
  }
  for (const auto& [glyph, parts] : composites)
    for (int32_t part : parts) out.Glyphs[glyph].Components.push_back(uint16_t(jamoFirst + size_t(part)));
}

}  // namespace

sfnt::TSfntFont DescribeFont(const TExportFont& font, std::vector<TCellBitmap>* pictures) {
  sfnt::TSfntFont out;
  out.UnitsPerEm = PixelsPerEm * UnitsPerPixel;
  out.UnitsPerPixel = UnitsPerPixel;
  out.Ascender = font.Ascent * UnitsPerPixel;
  out.Descender = font.Descent * UnitsPerPixel;
  out.Date = font.Date;
  out.Names = {font.Family, font.Version, font.Copyright, font.Licence, font.LicenceUrl, font.Notice};
  out.Glyphs.push_back({".notdef", NotdefWidth * UnitsPerPixel, {}, {}});
  std::vector<TCellBitmap> drawn{{NotdefWidth, LineHeight, {}}};
  AddJamo(font, AddCharacters(font, out, drawn), out, drawn);
  if (out.Glyphs.size() > 0xFFFF) throw TFontGenError("more glyphs than a font can hold");
  if (pictures != nullptr) *pictures = std::move(drawn);
  return out;
}

std::vector<uint8_t> TrueTypeFile(sfnt::TSfntFont font, bool shareParts) {
  if (shareParts) sfnt::ShareCommonParts(font);
  const sfnt::TBoxes boxes = sfnt::GlyphBoxes(font);
  const sfnt::TGlyfTables outlines = sfnt::GlyfTables(font, boxes);
  // In the order the format recommends for TrueType fonts.
  return sfnt::SfntFile(sfnt::TrueTypeVersion, {
                                                   {"head", sfnt::HeadTable(font, boxes, outlines.LongLoca)},
                                                   {"hhea", sfnt::HheaTable(font, boxes)},
                                                   {"maxp", outlines.Maxp},
                                                   {"OS/2", sfnt::Os2Table(font)},
                                                   {"hmtx", sfnt::HmtxTable(font, boxes)},
                                                   {"cmap", sfnt::CmapTable(font.Characters)},
                                                   {"prep", sfnt::PrepTable()},
                                                   {"loca", outlines.Loca},
                                                   {"glyf", outlines.Glyf},
                                                   {"name", sfnt::NameTable(font.Names)},
                                                   {"post", sfnt::PostTable(font)},
                                                   {"gasp", sfnt::GaspTable(PixelsPerEm)},
                                               });
}

std::vector<uint8_t> CffFile(const sfnt::TSfntFont& font) {
  const sfnt::TBoxes boxes = sfnt::GlyphBoxes(font);
  const sfnt::TCffNames names{sfnt::PostScriptName(font.Names.Family), font.Names.Family, font.Names.Family,
                              font.Names.Version, font.Names.Copyright};
  // In the order the format recommends for CFF fonts.
  return sfnt::SfntFile(sfnt::CffVersion, {
                                              {"head", sfnt::HeadTable(font, boxes, false)},
                                              {"hhea", sfnt::HheaTable(font, boxes)},
                                              {"maxp", sfnt::MaxpCountOnly(font)},
                                              {"OS/2", sfnt::Os2Table(font)},
                                              {"name", sfnt::NameTable(font.Names)},
                                              {"cmap", sfnt::CmapTable(font.Characters)},
                                              {"post", sfnt::PostTable(font)},
                                              {"CFF ", sfnt::CffTable(font.Glyphs, names, font.UnitsPerEm)},
                                              {"hmtx", sfnt::HmtxTable(font, boxes)},
                                          });
}

std::vector<uint8_t> BitmapFile(sfnt::TSfntFont font, const std::vector<TCellBitmap>& pictures, int ascent,
                                int descent) {
  for (sfnt::TSfntGlyph& glyph : font.Glyphs) glyph.Contours.clear(), glyph.Components.clear();
  const sfnt::TBoxes boxes = sfnt::GlyphBoxes(font);
  const sfnt::TBitmapTables strike = sfnt::BitmapTables(pictures, ascent, descent);
  return sfnt::SfntFile(sfnt::TrueTypeVersion, {
                                                   {"head", sfnt::HeadTable(font, boxes, false)},
                                                   {"hhea", sfnt::HheaTable(font, boxes)},
                                                   {"maxp", sfnt::MaxpCountOnly(font)},
                                                   {"OS/2", sfnt::Os2Table(font)},
                                                   {"hmtx", sfnt::HmtxTable(font, boxes)},
                                                   {"cmap", sfnt::CmapTable(font.Characters)},
                                                   {"EBLC", strike.Eblc},
                                                   {"EBDT", strike.Ebdt},
                                                   {"name", sfnt::NameTable(font.Names)},
                                                   {"post", sfnt::PostTable(font)},
                                               });
}

std::vector<uint8_t> OpenTypeFile(const TExportFont& font, TOpenTypeFlavour flavour) {
  switch (flavour) {
    case TOpenTypeFlavour::TrueType: return TrueTypeFile(DescribeFont(font), true);
    // Brotli finds the repeated component pairs by itself, and smaller
    // without the shared composites (12.8 KB against 13.3 for Round).
    case TOpenTypeFlavour::Woff2: return sfnt::Woff2File(TrueTypeFile(DescribeFont(font), false));
    case TOpenTypeFlavour::Cff: return CffFile(DescribeFont(font));
    case TOpenTypeFlavour::Bitmap: {
      std::vector<TCellBitmap> pictures;
      sfnt::TSfntFont described = DescribeFont(font, &pictures);
      return BitmapFile(std::move(described), pictures, font.Ascent, font.Descent);
    }
  }
  throw std::invalid_argument("no such OpenType flavour");
}

void WriteOpenType(const std::string& path, const TExportFont& font, TOpenTypeFlavour flavour) {
  std::vector<uint8_t> bytes;
  try {
    bytes = OpenTypeFile(font, flavour);
  } catch (const std::invalid_argument& error) {
    throw TFontGenError(path + ": " + error.what());
  }
  std::string error;
  if (!WriteFileAtomically(path, bytes, error)) throw TFontGenError(error);
}

}  // namespace runeplate::fontgen
