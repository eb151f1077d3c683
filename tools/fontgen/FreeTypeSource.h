// FreeTypeSource: any font FreeType opens, as a source of the generator.
//
// Outline fonts (TrueType, OpenType, ...) are rendered in monochrome, without
// hinting, at Size pixels per em; bitmap fonts (BDF, PCF, gzip-compressed
// too) give their Size strike. Glyphs sit in their cells on the font's own
// line: the baseline lies Ascent rows below the cell's top, as the font's
// metrics say, for ASCII and Hangul alike. Characters are looked up in the
// font's Unicode map, or, for bitmap fonts in KS X 1001 (registry
// KSC5601.1987), through that code.
#pragma once

#include <optional>
#include <string>

#include "fontgen/JamoNames.h"

namespace runeplate::fontgen {

struct TFontSource;

struct TFreeTypeOptions {
  // Pixels per em; 0 for the font's own: for an outline font the pixel grid
  // its points lie on (16 px when they lie on it, else the grid they share,
  // else 16 with a warning), for a bitmap font its 16-pixel strike or its
  // only one.
  int Size = 0;
  // How the jamo glyphs are named. Unset: Neo둥근모's names where the font has
  // them all, else none, and the jamo are fitted to the syllables.
  std::optional<TJamoNames> Names;
  // Take no named jamo glyphs even where the font has them.
  bool IgnoreNames = false;
};

// Whether FreeType can open the file at Path.
bool FreeTypeOpens(const std::string& path);

// Reads the font at Path. Throws TFontGenError with one line when FreeType
// cannot open it, the size is not to be had, it has no character map we can
// read, or it has some but not all of the jamo names asked for.
TFontSource LoadFreeTypeSource(const std::string& path, const TFreeTypeOptions& options = {});

}  // namespace runeplate::fontgen
