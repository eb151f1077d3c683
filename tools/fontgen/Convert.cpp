#include "fontgen/Convert.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <vector>

#include "common/Files.h"
#include "common/Png.h"
#include "font/HanFile.h"
#include "fontgen/Fidelity.h"
#include "fontgen/Notice.h"
#include "fontgen/Picture.h"
#include "fontgen/export/Export.h"

namespace runeplate::fontgen {

namespace {

bool HasExtension(const std::string& path, const std::string& extension) {
  if (path.size() <= extension.size()) return false;
  std::string end = path.substr(path.size() - extension.size());
  for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return end == extension;
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

TOutputKind OutputKindOf(const std::string& path) {
  if (HasExtension(path, ".bmp")) return TOutputKind::Bitmap;
  if (HasExtension(path, ".png")) return TOutputKind::Png;
  if (HasExtension(path, ".han")) return TOutputKind::HanFile;
  if (HasExtension(path, ".h")) return TOutputKind::CSource;
  if (HasExtension(path, ".bdf")) return TOutputKind::Bdf;
  if (HasExtension(path, ".ttf")) return TOutputKind::TrueType;
  if (HasExtension(path, ".otf")) return TOutputKind::OpenTypeCff;
  if (HasExtension(path, ".woff2")) return TOutputKind::Woff2;
  if (HasExtension(path, ".otb")) return TOutputKind::OpenTypeBitmap;
  if (HasExtension(path, ".fnt")) return TOutputKind::BmFont;
  return TOutputKind::Unknown;
}

std::string CSourceNotice(const std::string& sourcePath) {
  namespace fs = std::filesystem;
  const std::string name = fs::path(sourcePath).filename().string();
  std::string text = "Made by runeplate-fontgen from " + name + ".\n";
  std::ifstream notice(NoticePathOf(sourcePath));
  const std::vector<std::string> entries =
      notice ? NoticeEntries(notice, {"Source:", "Licence:"}) : std::vector<std::string>{};
  if (entries.empty()) return text + "Licence: that of " + name + "; keep its notice with this file.\n";
  for (const std::string& line : entries) text += line + "\n";
  return text + "The full notice is the NOTICE file beside " + name + "; keep it with this file.\n";
}

void WriteAtlas(const std::string& path, const TFontImage& atlas, const TCSourceOptions& cSource,
                const TExportOptions& exportOptions) {
  const TOutputKind kind = OutputKindOf(path);
  if (IsFontExport(kind)) return WriteFontExport(path, kind, atlas, exportOptions);
  std::string error;
  bool written = false;
  switch (kind) {
    case TOutputKind::Bitmap: written = WriteFileAtomically(path, EncodeFontFile(atlas), error); break;
    case TOutputKind::HanFile: written = WriteFileAtomically(path, EncodeHanFile(atlas), error); break;
    case TOutputKind::CSource: {
      const std::string text = EncodeFontCArray(atlas, cSource.Name, CSourceNotice(cSource.SourcePath));
      written = WriteFileAtomically(path, std::vector<uint8_t>(text.begin(), text.end()), error);
      break;
    }
    case TOutputKind::Png: {
      const TPicture picture = AtlasPicture(atlas);
      written = WritePngFile(path, picture.Width, picture.Height, picture.Rgb, error);
      break;
    }
    default:
      throw TFontGenError(path + ": unknown output kind: name it " + OutputKindList);
  }
  if (!written) throw TFontGenError(error);
}

}  // namespace runeplate::fontgen
