#include "fontgen/Convert.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <vector>

#include "fontgen/Fidelity.h"

namespace runeplate::fontgen {

namespace {

// A damaged file (a font cut short, say) can open and give every glyph
// blank; an atlas of no ink is no conversion.
void RefuseBlankSource(const std::string& name, const TAsciiCells& ascii, const THangulGlyphs& jamo) {
  const bool blankJamo = std::all_of(jamo.begin(), jamo.end(), [](const TCell& cell) { return cell.IsEmpty(); });
  if (!blankJamo) return;
  const bool blankAscii = std::all_of(ascii.begin(), ascii.end(), [](const std::array<uint8_t, 16>& rows) {
    return std::all_of(rows.begin(), rows.end(), [](uint8_t row) { return row == 0; });
  });
  throw TFontGenError(name + (blankAscii ? ": every glyph is blank; is the file damaged?"
                                         : ": every Hangul glyph is blank, no syllable can be drawn; is the file damaged?"));
}

}  // namespace

TConversion Convert(const TConvertOptions& options) {
  TConversion result;
  result.Source = LoadFontSource(options.Source, options.FreeType);
  TFontSource& source = result.Source;
  result.Warnings = source.Warnings;

  TAsciiCells ascii{};
  if (!options.Ascii.empty()) {
    ascii = LoadAsciiCells(options.Ascii, options.FreeType);
    result.AsciiFrom = options.Ascii;
  } else if (source.HasAscii) {
    ascii = source.Ascii;
    result.AsciiFrom = source.Name;
  } else {
    result.Warnings.push_back(source.Name + ": has no ASCII glyphs; the ASCII cells stay blank (give --ascii)");
  }

  if (source.JamoOrigin != TJamoOrigin::None) {
    result.Jamo = source.Jamo;
  } else if (source.SyllablesPresent() == 0) {
    throw TFontGenError(source.Name + ": has neither precomposed Hangul syllables nor named jamo glyphs");
  } else if (source.Kind == TSourceKind::UnifontHex) {
    result.Jamo = FitHangulGlyphs(source.Syllables);
  } else {
    TJamoFit fit = FitJamoGlyphs(source.Syllables, source.HasSyllable);
    result.Jamo = fit.Glyphs;
    result.StandIns = fit.StandIns;
    int blank = 0;
    for (const TStandIn& s : fit.StandIns) blank += s.From < 0;
    if (blank > 0)
      result.Warnings.push_back(source.Name + ": " + std::to_string(blank) +
                                " jamo glyphs appear in none of its syllables, nor in another set; they stay blank");
  }
  RefuseBlankSource(source.Name, ascii, result.Jamo);
  result.HasLetters = source.HasLetters;
  result.Atlas = ComposeAtlas(ascii, result.Jamo, source.HasLetters ? &source.Letters : nullptr);
  return result;
}

void PrintConversionReport(std::ostream& out, const TConversion& c) {
  const TFontSource& source = c.Source;
  const int present = source.SyllablesPresent();
  out << "source: " << source.Name << "\n";
  switch (source.JamoOrigin) {
    case TJamoOrigin::Named: out << "jamo glyphs: 344 from named glyphs, 0 fitted\n"; break;
    case TJamoOrigin::Drawn: out << "jamo glyphs: 344 as drawn in the file\n"; break;
    case TJamoOrigin::None:
      out << "jamo glyphs: 0 from named glyphs, " << (HangulGlyphCount - int(c.StandIns.size()))
          << " fitted to " << present << " syllables"
          << (source.Kind == TSourceKind::UnifontHex ? " (Unifont's rules)" : "");
      if (!c.StandIns.empty()) out << ", " << c.StandIns.size() << " shown by no syllable, taken from another set";
      out << "\n";
      break;
  }
  out << "ASCII: " << (c.AsciiFrom.empty() ? std::string("blank") : "from " + c.AsciiFrom) << "\n";
  out << "compatibility letters: "
      << (c.HasLetters ? "51 from " + source.Name : std::string("none (drawn from the glyph sets)")) << "\n";
  if (present == 0) {
    out << "fidelity: the source has no precomposed syllables to compare with\n";
    return;
  }
  PrintFidelity(out, MeasureFidelity(source.Syllables, source.HasSyllable, c.Jamo, KsX1001Syllables()));
}

}  // namespace runeplate::fontgen
