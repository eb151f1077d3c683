#include "fontgen/export/ExportFont.h"

#include <algorithm>
#include <cctype>

#include "common/Utf8.h"
#include "fontgen/Fidelity.h"
#include "fontgen/FontGenError.h"
#include "fontgen/export/FontDate.h"
#include "fontgen/UnifontHex.h"

#ifndef RUNEPLATE_VERSION
#define RUNEPLATE_VERSION "0.0.0"
#endif

namespace runeplate::fontgen {

namespace {

constexpr uint32_t LeadingJamoLast = LeadingJamoFirst + InitialCount - 1;       // U+1112
constexpr uint32_t VowelJamoLast = VowelJamoFirst + MedialCount - 1;            // U+1175
constexpr uint32_t TrailingJamoLast = TrailingJamoFirst + FinalCount - 2;       // U+11C2
// Used when neither --family nor a NOTICE names the font.
constexpr const char* DefaultFamily = "Runeplate Atlas";

// A name as a reserved-name comparison sees it: ASCII letters in lower case,
// no spaces, so "neodunggeunmo code" is "NeoDunggeunmo Code".
std::string Folded(const std::string& name) {
  std::string folded;
  for (char c : name)
    if (c != ' ') folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

// The baseline as the ASCII glyphs show it: under the lowest ink of 'H', or
// Unifont's 14 rows when the atlas draws no 'H'.
int AscentFromGlyphs(const TFontImage& atlas) {
  const TRect cell = AsciiCell('H');
  for (int32_t y = cell.Bottom - 1; y >= cell.Top; --y)
    for (int32_t x = cell.Left; x < cell.Right; ++x)
      if (atlas.IsInk(x, y)) return y - cell.Top + 1;
  return 14;
}

int ChooseAscent(const TFontImage& atlas, const TExportOptions& options) {
  if (options.Ascent != 0) return options.Ascent;
  const std::string value = options.Provenance.Notice.Value("Ascent:");
  int ascent = 0;
  for (size_t i = 0; i < value.size() && std::isdigit(static_cast<unsigned char>(value[i])); ++i)
    ascent = ascent * 10 + (value[i] - '0');
  if (ascent >= 1 && ascent <= LineHeight) return ascent;
  return AscentFromGlyphs(atlas);
}

// Lines as one, every run of spaces one space.
std::string OneLine(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    for (char c : " " + line)
      if (c != ' ' || (!text.empty() && text.back() != ' ')) text += c;
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

bool IsFamilyName(const std::string& name, std::string& reason) {
  std::u16string units;
  if (!DecodeUtf8(name, units, reason)) return false;
  if (units.empty()) {
    reason = "wants a font family name, not ''";
    return false;
  }
  for (char16_t unit : units) {
    const bool control = unit < 0x20 || (unit >= 0x7F && unit < 0xA0);
    if (control || unit == 0x2028 || unit == 0x2029 || unit == 0xFEFF) {
      reason = "holds " + CodePointName(unit) + ", which no font name may hold; give printable characters";
      return false;
    }
  }
  if (units.size() > MaxFamilyLength) {
    reason = "is " + std::to_string(units.size()) + " characters long; a font family name may have " +
             std::to_string(MaxFamilyLength);
    return false;
  }
  return true;
}

bool IsExportable(uint32_t c) {
  return (c >= FirstPrintableAscii && c <= LastPrintableAscii) || (c >= SyllableFirst && c <= SyllableLast) ||
         (c >= CompatJamoFirst && c <= CompatJamoLast) || (c >= LeadingJamoFirst && c <= LeadingJamoLast) ||
         (c >= VowelJamoFirst && c <= VowelJamoLast) || (c >= TrailingJamoFirst && c <= TrailingJamoLast);
}

std::vector<uint32_t> CharactersOfText(const std::u16string& text) {
  const detail::TUtf16Text units{text.data()};
  std::vector<uint32_t> codes;
  for (size_t at = 0; at < text.size();) {
    const size_t start = at;
    const uint32_t code = detail::NextComposed(units, at, text.size());
    uint32_t first = 0;
    units.Decode(start, text.size(), first);
    codes.push_back(code - SyllableFirst < SyllableCount ? code : first);
  }
  return codes;
}

std::vector<uint32_t> ExportRepertoire(const TExportOptions& options) {
  std::vector<uint32_t> codes;
  if (options.Repertoire == TRepertoire::FromFile) {
    for (uint32_t c : options.FileCharacters)
      if (IsExportable(c)) codes.push_back(c);
  } else {
    for (uint32_t c = 0; c <= TrailingJamoLast; ++c)
      if (IsExportable(c)) codes.push_back(c);
    if (options.Repertoire == TRepertoire::All) {
      for (uint32_t c = SyllableFirst; c <= SyllableLast; ++c) codes.push_back(c);
    } else {
      const std::vector<uint32_t> ks = KsX1001Syllables();
      codes.insert(codes.end(), ks.begin(), ks.end());
    }
    for (uint32_t c = CompatJamoFirst; c <= CompatJamoLast; ++c) codes.push_back(c);
  }
  std::sort(codes.begin(), codes.end());
  codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
  return codes;
}

TExportFont MakeExportFont(const TFontImage& atlas, const TExportOptions& options) {
  const TProvenance& provenance = options.Provenance;
  TExportFont font;
  // The NOTICE names the family before a comma that explains it.
  const std::string noticeFamily = provenance.Notice.Value("Family:");
  font.Family = !options.Family.empty() ? options.Family : noticeFamily.substr(0, noticeFamily.find(','));
  if (font.Family.empty()) font.Family = DefaultFamily;
  for (const std::string& reserved : provenance.ReservedNames()) {
    if (!Folded(reserved).empty() && Folded(font.Family).find(Folded(reserved)) != std::string::npos)
      throw TFontGenError("family \"" + font.Family + "\" holds \"" + reserved +
                          "\", a reserved name of the source; choose another --family");
  }
  font.Ascent = ChooseAscent(atlas, options);
  if (font.Ascent < 1 || font.Ascent > LineHeight)
    throw TFontGenError("ascent " + std::to_string(font.Ascent) + " is outside the 16-pixel line");
  font.Descent = LineHeight - font.Ascent;
  font.Version = RUNEPLATE_VERSION;
  font.Date = FontDate(provenance);
  font.Copyright = provenance.Notice.Value("Copyright:");
  if (font.Copyright.empty())
    font.Copyright = "The glyphs are those of " + provenance.SourceName + "; see its notice.";
  font.Licence = provenance.Licence();
  font.LicenceUrl = provenance.Notice.Value("Licence URL:");
  font.Notice = OneLine(provenance.Statement());

  const TFontView view = ViewOf(atlas);
  TBlockOptions composed;
  composed.LetterCells = HasLetterCells(view);
  const std::vector<uint32_t> codes = ExportRepertoire(options);
  if (codes.empty())
    throw TFontGenError("--chars: the file holds no character a font can have (printable ASCII, Hangul)");
  for (uint32_t code : codes) {
    TExportGlyph glyph;
    glyph.CodePoint = code;
    ComposeCodePoint(view, code, &composed, glyph.Picture);
    GetComposedCell(ComposedCode(code), composed, glyph.Cell);
    font.Glyphs.push_back(glyph);
  }
  for (int32_t g = 0; g < HangulGlyphCount; ++g) {
    const TGlyphCell one{SourceJamo, 1, {int16_t(g)}};
    ComposeGlyphCell(view, one, font.Jamo[g]);
  }
  return font;
}

}  // namespace runeplate::fontgen
