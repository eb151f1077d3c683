#include "fontgen/UnifontHex.h"

#include <cctype>
#include <cstdio>

#include "common/Files.h"
#include "common/Numbers.h"
#include "common/Utf8.h"
#include "fontgen/FontGenError.h"
#include "text/UDrawText.h"

namespace runeplate::fontgen {

namespace {

constexpr size_t NarrowDigits = 32;  // 8 x 16
constexpr size_t WideDigits = 64;    // 16 x 16
constexpr uint32_t CodeLimit = 1u << 24;  // six hex digits
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// A character as it can be shown inside a one-line message.
std::string Printable(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= 0x20 && u < 0x7F) return std::string(1, c);
  char text[8];
  std::snprintf(text, sizeof text, "\\x%02X", u);
  return text;
}

// Throws naming the first character of Digits that is no hex digit, if any.
void RequireHexDigits(std::string_view digits, const std::string& where, const std::string& field) {
  for (char c : digits) {
    if (!std::isxdigit(static_cast<unsigned char>(c)))
      throw TFontGenError(where + "bad hex digit '" + Printable(c) + "' in " + field);
  }
}

// Hex digits First .. First + Count - 1 of Data as a number; checked already.
template <typename T>
T HexValue(std::string_view data, size_t first, size_t count) {
  T value = 0;
  ParseNumber(data.substr(first, count), value, 16);
  return value;
}

struct THexLine {
  uint32_t Code;
  std::string_view Data;  // only hex digits, 32 or 64 of them
};

// Checks the shape of one line, characters before lengths, so that a stray
// character is named rather than counted.
THexLine ParseHexLine(std::string_view line, const std::string& where) {
  const size_t colon = line.find(':');
  if (colon == std::string_view::npos) throw TFontGenError(where + "expected CODE:DATA, found no colon");
  const std::string_view codeDigits = line.substr(0, colon);
  RequireHexDigits(codeDigits, where, "code point");
  if (colon < 4 || colon > 6)
    throw TFontGenError(where + "code point must have 4 to 6 hex digits, found " + std::to_string(colon));
  const uint32_t code = HexValue<uint32_t>(codeDigits, 0, colon);
  const std::string_view data = line.substr(colon + 1);
  RequireHexDigits(data, where, "glyph data of " + CodePointName(code));
  if (data.size() != NarrowDigits && data.size() != WideDigits)
    throw TFontGenError(where + "glyph data of " + CodePointName(code) + " must have 32 or 64 hex digits, found " +
                        std::to_string(data.size()));
  return {code, data};
}

// Puts a glyph the generator uses into Source; others are only checked.
void StoreGlyph(const THexLine& glyph, const std::string& where, TUnifontSource& source) {
  const uint32_t code = glyph.Code;
  if (code >= FirstPrintableAscii && code <= LastPrintableAscii) {
    if (glyph.Data.size() != NarrowDigits)
      throw TFontGenError(where + CodePointName(code) + " must be an 8 x 16 glyph (32 hex digits)");
    auto& rows = source.Ascii[code - FirstPrintableAscii];
    for (int y = 0; y < 16; ++y) rows[y] = HexValue<uint8_t>(glyph.Data, 2 * y, 2);
  } else if (code >= SyllableFirst && code <= SyllableLast) {
    if (glyph.Data.size() != WideDigits)
      throw TFontGenError(where + CodePointName(code) + " must be a 16 x 16 glyph (64 hex digits)");
    TCell& cell = source.Syllables[code - SyllableFirst];
    for (int y = 0; y < 16; ++y) cell.SetRow(y, HexValue<uint16_t>(glyph.Data, 4 * y, 4));
  } else if (code >= CompatJamoFirst && code <= CompatJamoLast && glyph.Data.size() == WideDigits) {
    TCell& cell = source.Letters[code - CompatJamoFirst];
    for (int y = 0; y < 16; ++y) cell.SetRow(y, HexValue<uint16_t>(glyph.Data, 4 * y, 4));
  }
}

void RequireGlyphs(const std::vector<bool>& seen, uint32_t first, uint32_t last, const std::string& name) {
  for (uint32_t code = first; code <= last; ++code) {
    if (!seen[code]) throw TFontGenError(name + ": no glyph for " + CodePointName(code));
  }
}

}  // namespace

TUnifontSource ReadUnifontHex(std::string_view text, const std::string& name) {
  TUnifontSource source;
  source.Syllables.assign(SyllableCount, TCell{});
  std::vector<bool> seen(CodeLimit, false);

  size_t lineNumber = 0;
  for (size_t start = 0; start < text.size();) {
    const size_t newline = text.find('\n', start);
    const size_t end = newline == std::string_view::npos ? text.size() : newline;
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string where = name + ":" + std::to_string(lineNumber) + ": ";
    if (lineNumber == 1 && line.substr(0, ByteOrderMark.size()) == ByteOrderMark)
      throw TFontGenError(where + "starts with a UTF-8 byte-order mark, which a hex file must not have");

    const THexLine glyph = ParseHexLine(line, where);
    if (seen[glyph.Code]) throw TFontGenError(where + CodePointName(glyph.Code) + " is given twice");
    seen[glyph.Code] = true;
    StoreGlyph(glyph, where, source);
  }
  RequireGlyphs(seen, FirstPrintableAscii, LastPrintableAscii, name);
  RequireGlyphs(seen, SyllableFirst, SyllableLast, name);
  source.HasLetters = true;
  for (uint32_t code = CompatJamoFirst; code <= CompatJamoLast; ++code)
    source.HasLetters = source.HasLetters && seen[code];
  if (!source.HasLetters) source.Letters = {};
  return source;
}

TUnifontSource LoadUnifontHex(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadFile(path, bytes, error)) throw TFontGenError(error);
  return ReadUnifontHex(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), path);
}

}  // namespace runeplate::fontgen
