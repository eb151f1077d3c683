// Export: an atlas written as a font for other programs, in the format its
// file name's extension names (TOutputKind, Output.h, which chooses it).
#pragma once

#include <string>

#include "font/FontFile.h"
#include "fontgen/Output.h"
#include "fontgen/export/ExportFont.h"

namespace runeplate::fontgen {

// Writes `atlas` as the font `kind` names to `path` (and, for a BMFont, its
// pages beside it), whole or not at all. Throws TFontGenError with one line.
void WriteFontExport(const std::string& path, TOutputKind kind, const TFontImage& atlas,
                     const TExportOptions& options);

}  // namespace runeplate::fontgen
