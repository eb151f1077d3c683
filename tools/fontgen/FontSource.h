// FontSource: a font as the generator takes it in, whatever file it came
// from: its ASCII glyphs, its precomposed syllables, its jamo glyphs, each
// only where the font has them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "font/FontFile.h"
#include "fontgen/Atlas.h"
#include "fontgen/Cell.h"
#include "fontgen/FontGenError.h"
#include "fontgen/FreeTypeSource.h"
#include "fontgen/GlyphFit.h"

namespace runeplate::fontgen {

enum class TSourceKind {
  UnifontHex,  // GNU Unifont's .hex: jamo fitted by Unifont's own rules
  FreeType,    // any font FreeType opens
  HanFile,     // a classic 8x4x4 file: jamo only
  Atlas,       // one of our font images, as BMP or PNG
  BmFont,      // an AngelCode BMFont, text .fnt and PNG pages
};

// Where a source's jamo glyphs come from.
enum class TJamoOrigin {
  None,   // the font has none: they are to be fitted to its syllables
  Named,  // glyphs of the font named after their set and letter
  Drawn,  // the file holds them as they are (an 8x4x4 file, an atlas)
};

struct TFontSource {
  std::string Name;  // the file, for messages
  std::string Family;  // the family name the font gives itself, if any
  TSourceKind Kind = TSourceKind::FreeType;

  bool HasAscii = false;
  TAsciiCells Ascii{};

  // The 11,172 syllables U+AC00..U+D7A3 in code order, each on the 16 x 16
  // cell; HasSyllable tells which the font draws (the others are blank).
  std::vector<TCell> Syllables = std::vector<TCell>(SyllableCount);
  std::vector<bool> HasSyllable = std::vector<bool>(SyllableCount, false);

  TJamoOrigin JamoOrigin = TJamoOrigin::None;
  THangulGlyphs Jamo{};

  // The font's own glyphs of the 51 compatibility letters, kept only when it
  // has all of them (otherwise the glyph sets draw them).
  bool HasLetters = false;
  TLetterCells Letters{};

  // Things worth telling that do not stop the conversion, one line each.
  std::vector<std::string> Warnings;

  int SyllablesPresent() const;
};

// Reads the font at Path, its kind told by its content: a bitmap or PNG
// atlas, a Unifont hex file, a text BMFont (.fnt), an 8x4x4 file (by its
// size), else whatever FreeType opens. The extensions .hex, .han, .bmp and .png choose the reader
// where the content fits none, so that its message says what is wrong.
// Throws TFontGenError with one line.
TFontSource LoadFontSource(const std::string& path, const TFreeTypeOptions& options = {});

// The ASCII cells of the font at Path, for --ascii: any source that has
// them, or a DOS 8 x 16 English font file (its characters 32 to 126).
TAsciiCells LoadAsciiCells(const std::string& path, const TFreeTypeOptions& options = {});

// A source holding Image's ASCII cells and jamo glyphs as drawn.
TFontSource SourceFromImage(const TFontImage& image, const std::string& name, TSourceKind kind);

}  // namespace runeplate::fontgen
