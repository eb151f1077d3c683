// Output: every kind of file runeplate-fontgen writes, told by the output's
// extension, and the one place that chooses each kind's writer: the atlas as
// a bitmap, a PNG, a classic 8x4x4 file or C source (whole, or only its
// glyphs for small devices), or as a font for other programs (export/Export).
#pragma once

#include <string>

#include "font/FontFile.h"
#include "fontgen/Notice.h"
#include "fontgen/export/ExportFont.h"

namespace runeplate::fontgen {

// The kinds of output, by the extension of its path: .bmp, .png, .han, .h for
// C source; and the fonts for other programs .bdf, .ttf, .otf, .woff2, .otb
// and .fnt (BMFont).
enum class TOutputKind {
  Bitmap, Png, HanFile, CSource,
  Bdf, TrueType, OpenTypeCff, Woff2, OpenTypeBitmap, BmFont,
  Unknown
};
TOutputKind OutputKindOf(const std::string& path);

// Whether `kind` is a font for other programs rather than an atlas.
bool IsFontExport(TOutputKind kind);

// The message for an output `path` whose kind is Unknown, listing every
// extension OutputKindOf knows: "PATH: unknown output kind: name it .bmp,
// .png, ... or .fnt".
std::string UnknownOutputKindMessage(const std::string& path);

// What a C source atlas says of itself: the array's name and where the atlas
// came from; Compact: only the glyphs (font/CompactFont.h).
struct TCSourceOptions {
  std::string Name = "runeplate_atlas";
  TProvenance Provenance;  // the font it was made from
  bool Compact = false;
};

// The comment a C source atlas carries: TProvenance::Statement, a line each.
std::string CSourceNotice(const TProvenance& provenance);

// Writes `atlas` to `path` as its extension says, whole or not at all: C
// source as `cSource` says, a font for other programs as `exportOptions` say.
// Throws TFontGenError with one line when the kind is unknown or writing
// fails.
void WriteOutput(const std::string& path, const TFontImage& atlas, const TCSourceOptions& cSource = {},
                 const TExportOptions& exportOptions = {});

}  // namespace runeplate::fontgen
