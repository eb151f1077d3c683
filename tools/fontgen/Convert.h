// Convert: one font file to another, the job of runeplate-fontgen. A source
// of any kind (FontSource) gives the ASCII cells and the jamo glyphs, taken
// as drawn, by name, or fitted to its syllables; they make the atlas, which
// is written as a bitmap, a PNG or a classic 8x4x4 file.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "fontgen/FontSource.h"
#include "fontgen/export/ExportFont.h"

namespace runeplate::fontgen {

struct TConvertOptions {
  std::string Source;
  std::string Ascii;  // where the ASCII cells come from; empty: the source
  TFreeTypeOptions FreeType;
};

struct TConversion {
  TFontSource Source;
  std::string AsciiFrom;         // the file the ASCII cells came from, empty when blank
  THangulGlyphs Jamo{};
  bool HasLetters = false;         // the atlas has the source's compatibility letters
  std::vector<TStandIn> StandIns;  // glyphs the fit borrowed from another set
  TFontImage Atlas;
  std::vector<std::string> Warnings;
};

// Reads the sources and makes the atlas. Throws TFontGenError with one line
// when a file cannot be read or the source has neither jamo glyphs nor
// syllables to fit them to.
TConversion Convert(const TConvertOptions& options);

// The --report text: where the jamo and ASCII came from and, for a source
// with precomposed syllables, how faithfully the jamo compose them.
void PrintConversionReport(std::ostream& out, const TConversion& conversion);

// The kinds of file the atlas can be written as, by the extension of `path`:
// .bmp, .png, .han, and .h for C source; and as a font for other programs
// (see export/Export.h): .bdf, .ttf, .otf, .woff2, .otb and .fnt (BMFont).
enum class TOutputKind {
  Bitmap, Png, HanFile, CSource,
  Bdf, TrueType, OpenTypeCff, Woff2, OpenTypeBitmap, BmFont,
  Unknown
};
TOutputKind OutputKindOf(const std::string& path);

// The message for an output `path` whose kind is Unknown, listing every
// extension OutputKindOf knows: "PATH: unknown output kind: name it .bmp,
// .png, ... or .fnt".
std::string UnknownOutputKindMessage(const std::string& path);

// What a C source atlas says of itself: the array's name and where the atlas
// came from.
struct TCSourceOptions {
  std::string Name = "runeplate_atlas";
  TProvenance Provenance;  // the font it was made from
};

// The comment a C source atlas carries: TProvenance::Statement, a line each.
std::string CSourceNotice(const TProvenance& provenance);

// Writes Atlas to Path as its extension says, whole or not at all; a font
// for other programs as ExportOptions say. Throws
// TFontGenError with one line when the kind is unknown or writing fails.
void WriteAtlas(const std::string& path, const TFontImage& atlas,
                const TCSourceOptions& cSource = {}, const TExportOptions& exportOptions = {});

}  // namespace runeplate::fontgen
