#include "fontgen/export/Bdf.h"

#include <cstdio>

#include "fontgen/JamoNames.h"

namespace runeplate::fontgen {

namespace {

// A BDF string property: in double quotes, a quote written twice.
std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\n' || c == '\r') c = ' ';
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

// An XLFD field may not hold '-', '?', '*' or ','.
std::string XlfdField(const std::string& text) {
  std::string field = text;
  for (char& c : field)
    if (c == '-' || c == '?' || c == '*' || c == ',') c = ' ';
  return field;
}

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

std::string GlyphName(uint32_t code) { return (code > 0xFFFF ? "u" + Hex(code, 5) : "uni" + Hex(code, 4)); }

void AppendGlyph(std::string& out, const TExportGlyph& glyph, int descent, const std::string& name = "") {
  const int width = glyph.Picture.Width, height = glyph.Picture.Height;
  // Scalable width in thousandths of the 16-pixel em.
  const int scalable = width * 1000 / LineHeight;
  out += "STARTCHAR " + (name.empty() ? GlyphName(glyph.CodePoint) : name) + "\n";
  out += "ENCODING " + std::to_string(glyph.CodePoint) + "\n";
  out += "SWIDTH " + std::to_string(scalable) + " 0\n";
  out += "DWIDTH " + std::to_string(width) + " 0\n";
  out += "BBX " + std::to_string(width) + " " + std::to_string(height) + " 0 " + std::to_string(-descent) + "\n";
  out += "BITMAP\n";
  for (int y = 0; y < height; ++y) {
    const unsigned row = glyph.Picture.Rows[y];
    out += width <= 8 ? Hex(row >> 8, 2) : Hex(row, 4);
    out += "\n";
  }
  out += "ENDCHAR\n";
}

}  // namespace

std::string EncodeBdf(const TExportFont& font) {
  const std::string family = XlfdField(font.Family);
  std::string out = "STARTFONT 2.1\n";
  out += "FONT -Runeplate-" + family + "-Medium-R-Normal--16-160-75-75-C-80-ISO10646-1\n";
  out += "SIZE 16 75 75\n";
  out += "FONTBOUNDINGBOX 16 16 0 " + std::to_string(-font.Descent) + "\n";
  const std::pair<std::string, std::string> properties[] = {
      {"FOUNDRY", Quoted("Runeplate")},
      {"FAMILY_NAME", Quoted(family)},
      {"WEIGHT_NAME", Quoted("Medium")},
      {"SLANT", Quoted("R")},
      {"SETWIDTH_NAME", Quoted("Normal")},
      {"ADD_STYLE_NAME", Quoted("")},
      {"PIXEL_SIZE", "16"},
      {"POINT_SIZE", "160"},
      {"RESOLUTION_X", "75"},
      {"RESOLUTION_Y", "75"},
      {"SPACING", Quoted("C")},
      {"AVERAGE_WIDTH", "80"},
      {"CHARSET_REGISTRY", Quoted("ISO10646")},
      {"CHARSET_ENCODING", Quoted("1")},
      {"FONT_VERSION", Quoted(font.Version)},
      {"FONT_ASCENT", std::to_string(font.Ascent)},
      {"FONT_DESCENT", std::to_string(font.Descent)},
      {"COPYRIGHT", Quoted(font.Copyright)},
      {"NOTICE", Quoted(font.Notice)},
  };
  out += "STARTPROPERTIES " + std::to_string(std::size(properties)) + "\n";
  for (const auto& [name, value] : properties) out += name + " " + value + "\n";
  out += "ENDPROPERTIES\n";
  out += "CHARS " + std::to_string(font.Glyphs.size() + HangulGlyphCount) + "\n";
  for (const TExportGlyph& glyph : font.Glyphs) AppendGlyph(out, glyph, font.Descent);
  // The jamo glyphs, for reading the font back as a source: by name where
  // the reader keeps BDF glyph names, by code point where it does not.
  const TJamoNames& names = NeoJamoScheme();
  for (int32_t g = 0; g < HangulGlyphCount; ++g) {
    const TExportGlyph jamo{PrivateJamoFirst + uint32_t(g), font.Jamo[g], {}};
    AppendGlyph(out, jamo, font.Descent, JamoGlyphName(names, g));
  }
  out += "ENDFONT\n";
  return out;
}

}  // namespace runeplate::fontgen
