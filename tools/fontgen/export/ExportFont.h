// ExportFont: an atlas as a complete font for other programs, whatever the
// format: the characters it holds, each character's picture exactly as the
// engine composes it in composed text (every modern letter drawn, from the
// letter cells when the atlas has them), the line and the names the font
// carries. The writers of each format (Bdf, BmFont, OpenType) take it from
// here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "font/FontFile.h"
#include "font/GlyphComposer.h"
#include "fontgen/Notice.h"

namespace runeplate::fontgen {

// Which characters a font holds.
enum class TRepertoire {
  All,      // printable ASCII, the 11,172 syllables, the 51 letters, the modern conjoining jamo
  KsX1001,  // the same with only the 2,350 syllables of KS X 1001
  FromFile, // the characters of a text file that are among All
};

struct TExportOptions {
  TProvenance Provenance;  // the source: its NOTICE names the font and its licence
  std::string Family;     // empty: the NOTICE's Family entry
  int Ascent = 0;         // pixels above the baseline, 1..16; 0: the NOTICE's, else from the glyphs
  TRepertoire Repertoire = TRepertoire::All;
  std::vector<uint32_t> FileCharacters;  // with FromFile, any code points
};

// One character: its code point, its picture (8 x 16 for ASCII, 16 x 16 for
// the rest) and the glyphs composing it, as GetComposedCell lays out the
// character by itself.
struct TExportGlyph {
  uint32_t CodePoint = 0;
  TCellBitmap Picture{};
  TGlyphCell Cell{};
};

struct TExportFont {
  std::string Family;     // "Runeplate Round"
  std::string Version;    // the program's, "1.1.0"
  int Ascent = 0;         // pixels above the baseline of the 16-pixel line
  int Descent = 0;        // below it: 16 - Ascent
  std::string Copyright;  // one line
  std::string Licence;    // one line, naming the licence
  std::string LicenceUrl;
  std::string Notice;     // what it was made from and its licence, one line (TProvenance::Statement)
  int64_t Date = 0;       // seconds since 1970, as FontDate chooses it
  std::vector<TExportGlyph> Glyphs;  // in code point order
  // Every Hangul glyph of the atlas, whole (16 x 16), by glyph number: the
  // parts the syllables of an outline font are made of.
  std::array<TCellBitmap, HangulGlyphCount> Jamo{};
};

// The longest family name, in UTF-16 units: what Windows keeps of a face
// name (LOGFONT's 32 with its terminator), well within what the BDF FONT
// line, the name table and CFF carry.
constexpr size_t MaxFamilyLength = 31;

// Whether `name` (UTF-8) can name a font in every format: 1 to
// MaxFamilyLength printable characters, no control character, line or
// paragraph separator; false with the reason in `reason`.
bool IsFamilyName(const std::string& name, std::string& reason);

// Whether a font holds `codePoint` when it holds everything.
bool IsExportable(uint32_t codePoint);

// The characters `text` shows, as the engine composes it: a syllable
// spelled in conjoining jamo (or a syllable and a final) is that syllable;
// every other code point stands for itself.
std::vector<uint32_t> CharactersOfText(const std::u16string& text);

// The code points of `options`' repertoire, ascending, each once.
std::vector<uint32_t> ExportRepertoire(const TExportOptions& options);

// The font of `atlas` as `options` say. Throws TFontGenError with one line
// when the family holds one of the source's reserved names
// (TProvenance::ReservedNames), the ascent is out of range, or no character is left.
TExportFont MakeExportFont(const TFontImage& atlas, const TExportOptions& options);

}  // namespace runeplate::fontgen
