// Export: an atlas written as a font for other programs, in the format its
// file name's extension names (see TOutputKind in Convert.h).
#pragma once

#include <string>

#include "font/FontFile.h"
#include "fontgen/Convert.h"
#include "fontgen/export/ExportFont.h"

namespace runeplate::fontgen {

// Whether `kind` is a font for other programs rather than an atlas.
bool IsFontExport(TOutputKind kind);

// Writes `atlas` as the font `kind` names to `path` (and, for a BMFont, its
// pages beside it), whole or not at all. Throws TFontGenError with one line.
void WriteFontExport(const std::string& path, TOutputKind kind, const TFontImage& atlas,
                     const TExportOptions& options);

}  // namespace runeplate::fontgen
