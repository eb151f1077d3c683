#include "font/CompactFont.h"

namespace runeplate {

std::vector<uint8_t> EncodeCompactFont(const TFontImage& image) {
  std::vector<uint8_t> bytes;
  bytes.reserve(CompactFontBytes);
  const TFontView atlas = ViewOf(image);
  auto addRows = [&](const TRect& cell) {
    const int32_t width = cell.Right - cell.Left;
    for (int32_t y = cell.Top; y < cell.Bottom; ++y) {
      const uint16_t bits = FontRowBits(atlas, cell.Left, width, y);
      bytes.push_back(static_cast<uint8_t>(bits >> 8));
      if (width == 16) bytes.push_back(static_cast<uint8_t>(bits));
    }
  };
  for (int32_t code = CompactAsciiFirst; code < CompactAsciiFirst + CompactAsciiCount; ++code)
    addRows(AsciiCell(code));
  for (int32_t glyph = 0; glyph < HangulGlyphCount; ++glyph) addRows(HangulCell(glyph));
  return bytes;
}

std::string EncodeCompactFontCArray(const TFontImage& image, const std::string& name,
                                    const std::string& notice) {
  const std::string layout =
      "// The Runeplate font in its compact form, 1 bit a pixel: only the glyphs\n"
      "// the layout engine draws. First the 95 ASCII glyphs 0x20..0x7E, 16 bytes\n"
      "// each, a byte a row; then the 344 jamo glyphs, 32 bytes each, two bytes a\n"
      "// row, left byte first; top row first, the most significant bit the\n"
      "// leftmost pixel. Every Hangul syllable is composed from the jamo glyphs:\n"
      "//   runeplate_font font;\n"
      "//   runeplate_font_init(&font, " + name + ", sizeof " + name +
      ", RUNEPLATE_COMPACT);  // runeplate.h\n"
      "// On the AVR the array stays in flash (PROGMEM).\n";
  const std::string preamble =
      "#ifndef RUNEPLATE_FLASH\n"
      "#if defined(__AVR__)\n"
      "#include <avr/pgmspace.h>\n"
      "#define RUNEPLATE_FLASH PROGMEM\n"
      "#else\n"
      "#define RUNEPLATE_FLASH\n"
      "#endif\n"
      "#endif\n\n";
  return EncodeCArray(name, EncodeCompactFont(image), notice, layout, preamble, " RUNEPLATE_FLASH");
}

}  // namespace runeplate
