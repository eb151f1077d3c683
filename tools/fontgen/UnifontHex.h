// UnifontHex: the glyphs the generator takes from a GNU Unifont hex file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fontgen/Cell.h"
#include "text/UDrawText.h"

namespace runeplate::fontgen {

constexpr uint32_t FirstPrintableAscii = 0x20;
constexpr uint32_t LastPrintableAscii = 0x7E;
constexpr size_t PrintableAsciiCount = LastPrintableAscii - FirstPrintableAscii + 1;  // 95

// The hex file of Debian's "unifont" package.
constexpr const char* DefaultUnifontHexPath = "/usr/share/unifont/unifont.hex";

// The glyphs the generator takes from Unifont.
struct TUnifontSource {
  // 8 x 16 glyphs of U+0020..U+007E, one byte per row, bit 7 the leftmost pixel.
  std::array<std::array<uint8_t, 16>, PrintableAsciiCount> Ascii{};
  // 16 x 16 glyphs of the precomposed syllables U+AC00..U+D7A3, in code order.
  std::vector<TCell> Syllables;
  // 16 x 16 glyphs of the compatibility letters U+3131..U+3163, when the
  // file has all of them.
  bool HasLetters = false;
  std::array<TCell, CompatJamoCount> Letters{};
};

// Reads the text of a Unifont hex file: one glyph per line, "CODE:DATA" with
// CODE 4 to 6 hex digits and DATA 32 (8 x 16) or 64 (16 x 16) hex digits,
// rows top to bottom; a line may end in CR LF. Every line is checked, not
// only the glyphs used. Throws TFontGenError, naming the file and line, on a
// byte-order mark, a character that is not a hex digit, a malformed line, a
// code given twice, a printable ASCII glyph that is not 8 x 16, a syllable
// that is not 16 x 16, or a missing glyph. Name is the file for messages.
TUnifontSource ReadUnifontHex(std::string_view text, const std::string& name);

// Reads the file at Path; one that cannot be read is a TFontGenError too.
TUnifontSource LoadUnifontHex(const std::string& path);

}  // namespace runeplate::fontgen
