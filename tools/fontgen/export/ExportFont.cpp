#include "fontgen/export/ExportFont.h"

#include <algorithm>
#include <cctype>

#include "fontgen/Fidelity.h"
#include "fontgen/FontGenError.h"
#include "fontgen/Notice.h"
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

// The quoted names of a NOTICE entry: "A", "B" and "C".
std::vector<std::string> QuotedNames(const std::string& text) {
  std::vector<std::string> names;
  for (size_t open = text.find('"'); open != std::string::npos; open = text.find('"', open)) {
    const size_t close = text.find('"', open + 1);
    if (close == std::string::npos) break;
    names.push_back(text.substr(open + 1, close - open - 1));
    open = close + 1;
  }
  return names;
}

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

int ChooseAscent(const TFontImage& atlas, const TExportOptions& options, const std::string& notice) {
  if (options.Ascent != 0) return options.Ascent;
  const std::string value = NoticeValue(notice, "Ascent:");
  int ascent = 0;
  for (size_t i = 0; i < value.size() && std::isdigit(static_cast<unsigned char>(value[i])); ++i)
    ascent = ascent * 10 + (value[i] - '0');
  if (ascent >= 1 && ascent <= LineHeight) return ascent;
  return AscentFromGlyphs(atlas);
}

// A NOTICE's Licence entry without the words that point to the full text
// further down, which a font's own licence field has no "below" for.
std::string WithoutPointer(std::string licence) {
  for (const char* pointer : {"; both below", ", below"}) {
    const std::string end = pointer;
    if (licence.size() >= end.size() && licence.compare(licence.size() - end.size(), end.size(), end) == 0)
      return licence.substr(0, licence.size() - end.size());
  }
  return licence;
}

}  // namespace

bool IsExportable(uint32_t c) {
  return (c >= FirstPrintableAscii && c <= LastPrintableAscii) || (c >= SyllableFirst && c <= SyllableLast) ||
         (c >= CompatJamoFirst && c <= CompatJamoLast) || (c >= LeadingJamoFirst && c <= LeadingJamoLast) ||
         (c >= VowelJamoFirst && c <= VowelJamoLast) || (c >= TrailingJamoFirst && c <= TrailingJamoLast);
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

int32_t HangulGlyphOf(const TRect& rect) {
  const int32_t firstRow = HangulCell(0).Top;
  if (rect.Top < firstRow || rect.Right - rect.Left != 16) return -1;
  return (rect.Top - firstRow) / 16 * 32 + rect.Left / 16;
}

TExportFont MakeExportFont(const TFontImage& atlas, const TExportOptions& options) {
  const std::string notice = NoticePathOf(options.AtlasPath);
  TExportFont font;
  // The NOTICE names the family before a comma that explains it.
  const std::string noticeFamily = NoticeValue(notice, "Family:");
  font.Family = !options.Family.empty() ? options.Family : noticeFamily.substr(0, noticeFamily.find(','));
  if (font.Family.empty()) font.Family = DefaultFamily;
  for (const std::string& reserved : QuotedNames(NoticeValue(notice, "Reserved:"))) {
    if (Folded(font.Family).find(Folded(reserved)) != std::string::npos)
      throw TFontGenError("family \"" + font.Family + "\" holds \"" + reserved +
                          "\", a reserved name of the source; choose another --family");
  }
  font.Ascent = ChooseAscent(atlas, options, notice);
  if (font.Ascent < 1 || font.Ascent > LineHeight)
    throw TFontGenError("ascent " + std::to_string(font.Ascent) + " is outside the 16-pixel line");
  font.Descent = LineHeight - font.Ascent;
  font.Version = RUNEPLATE_VERSION;
  font.Date = FontDate(notice);
  font.Copyright = NoticeValue(notice, "Copyright:");
  font.Licence = WithoutPointer(NoticeValue(notice, "Licence:"));
  font.LicenceUrl = NoticeValue(notice, "Licence URL:");
  const std::string source = NoticeValue(notice, "Source:");
  font.Notice = source.empty() ? "Made by runeplate-fontgen from a Runeplate atlas."
                               : "Made by runeplate-fontgen from a Runeplate atlas. Source: " + source +
                                     (font.Licence.empty() ? "" : " Licence: " + font.Licence);

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
    GetComposedRects(ComposedCode(code), composed, glyph.Rects);
    font.Glyphs.push_back(glyph);
  }
  for (int32_t g = 0; g < HangulGlyphCount; ++g) {
    TGlyphRects one{1, {HangulCell(g)}};
    ComposeCell(view, one, font.Jamo[g]);
  }
  return font;
}

}  // namespace runeplate::fontgen
