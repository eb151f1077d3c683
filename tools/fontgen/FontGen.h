// FontGen: builds the program's 1-bit font image from GNU Unifont.
//
// The ASCII cells take Unifont's own 8 x 16 glyphs. The 344 Hangul jamo
// glyphs cannot be taken from Unifont directly: Unifont draws every one of its
// 11,172 precomposed syllables as a whole picture, while the layout engine
// draws a syllable as the OR of two or three glyphs chosen by SelectGlyphs.
// FitHangulGlyphs recovers the jamo shapes from the syllables, choosing each
// glyph so that as many syllables as possible compose pixel for pixel like
// Unifont's, and MeasureFidelity says how close the result comes.
//
// Everything here is deterministic: the same hex file gives the same bytes.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include "font/FontFile.h"
#include "text/UDrawText.h"

namespace runeplate::fontgen {

// Any failure of the generator: a hex file that cannot be read or is
// malformed, an output that cannot be written. The message is one line.
class TFontGenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// ---------------------------------------------------------------------------
// 16 x 16 pictures
// ---------------------------------------------------------------------------

// A 16 x 16 one-bit picture, four rows per 64-bit word so that whole-picture
// operations are a handful of word operations. Row y sits in bits
// 16(y mod 4)..16(y mod 4) + 15 of Word[y / 4]; pixel x is bit 15 - x of its
// row, as in a Unifont hex row.
struct TCell {
  uint64_t Word[4] = {0, 0, 0, 0};

  uint16_t Row(int y) const { return static_cast<uint16_t>(Word[y >> 2] >> ((y & 3) * 16)); }
  void SetRow(int y, uint16_t bits);
  bool Pixel(int x, int y) const { return (Row(y) >> (15 - x)) & 1; }
  void SetPixel(int x, int y, bool ink);
  int PopCount() const;
  bool IsEmpty() const { return (Word[0] | Word[1] | Word[2] | Word[3]) == 0; }
  // Every pixel of this picture is set in Other as well.
  bool IsSubsetOf(const TCell& other) const;

  friend TCell operator|(const TCell& a, const TCell& b);
  friend TCell operator&(const TCell& a, const TCell& b);
  friend TCell operator^(const TCell& a, const TCell& b);
  // Pixels of A that are clear in B.
  friend TCell AndNot(const TCell& a, const TCell& b);
  friend bool operator==(const TCell& a, const TCell& b);
  friend bool operator!=(const TCell& a, const TCell& b) { return !(a == b); }
};

// Number of pixels in which two pictures differ.
int DiffCount(const TCell& a, const TCell& b);

// Builds a picture from 16 strings of 16 characters, '#' for ink and anything
// else for background (the form of the hand-fix table). Throws
// std::invalid_argument on a wrong number or length of rows.
TCell CellFromPicture(const std::array<const char*, 16>& rows);

// ---------------------------------------------------------------------------
// The Unifont source
// ---------------------------------------------------------------------------

constexpr uint32_t FirstPrintableAscii = 0x20;
constexpr uint32_t LastPrintableAscii = 0x7E;
constexpr size_t PrintableAsciiCount = LastPrintableAscii - FirstPrintableAscii + 1;  // 95

// The glyphs the generator takes from Unifont.
struct TUnifontSource {
  // 8 x 16 glyphs of U+0020..U+007E, one byte per row, bit 7 the leftmost pixel.
  std::array<std::array<uint8_t, 16>, PrintableAsciiCount> Ascii{};
  // 16 x 16 glyphs of the precomposed syllables U+AC00..U+D7A3, in code order.
  std::vector<TCell> Syllables;
};

// Reads a Unifont hex file: one glyph per line, "CODE:DATA" with CODE 4 to 6
// hex digits and DATA 32 (8 x 16) or 64 (16 x 16) hex digits, rows top to
// bottom; a line may end in CR LF. Every line is checked, not only the glyphs
// used. Throws TFontGenError, naming the file and line, on a malformed line,
// a code given twice, a printable ASCII glyph that is not 8 x 16, a syllable
// that is not 16 x 16, or a missing glyph.
TUnifontSource ReadUnifontHex(std::istream& in, const std::string& name);
// Opens and reads PATH; a file that cannot be opened is a TFontGenError too.
TUnifontSource LoadUnifontHex(const std::string& path);

// The hex file of Debian's "unifont" package.
constexpr const char* DefaultUnifontHexPath = "/usr/share/unifont/unifont.hex";

// ---------------------------------------------------------------------------
// Fitting the jamo glyphs
// ---------------------------------------------------------------------------

using THangulGlyphs = std::array<TCell, HangulGlyphCount>;

// The three glyph numbers SelectGlyphs gives syllable CODE (U+AC00..U+D7A3).
std::array<int32_t, 3> SyllableGlyphs(uint32_t code);

// The picture our engine draws for syllable CODE: the OR of its glyphs.
TCell ComposeSyllable(const THangulGlyphs& glyphs, uint32_t code);

// A glyph drawn by hand rather than fitted: it is pinned before fitting, so
// the other glyphs fit around it.
struct THandFix {
  int32_t Glyph;
  std::array<const char*, 16> Picture;
  const char* Reason;
};
// The hand-fix table of the generator.
const std::vector<THandFix>& HandFixes();

// Fits the 344 jamo glyphs to Unifont's syllables (11,172 pictures in code
// order), with the glyphs of FIXES drawn by hand. Coordinate descent: each
// glyph in turn takes the best of a few candidate shapes for the score
// 5 x identical syllables - differing pixels, until no glyph changes. The
// medial glyphs of ㅝ ㅞ ㅟ with a final are not fitted but take the plain
// vowel: left to the fit they draw pieces of consonants across the initial.
// Last, pixels move to the letters they belong to, making no syllable worse,
// so a glyph drawn alone shows its own letter only.
THangulGlyphs FitHangulGlyphs(const std::vector<TCell>& syllables,
                              const std::vector<THandFix>& fixes = HandFixes());

// The general fit, for any font with precomposed syllables: the same descent
// and pixel assignment as FitHangulGlyphs, without Unifont's hand fixes and
// ㅝ ㅞ ㅟ rule, over the syllables KNOWN marks (a font may have only some,
// such as KS X 1001's 2,350). A glyph none of them shows takes the same
// letter's glyph of the most alike set that one shows (StandIns lists them,
// From -1 when there is none and the glyph stays blank).
struct TStandIn {
  int32_t Glyph, From;
};
struct TJamoFit {
  THangulGlyphs Glyphs;
  std::vector<TStandIn> StandIns;
};
TJamoFit FitJamoGlyphs(const std::vector<TCell>& syllables, const std::vector<bool>& known);

// ---------------------------------------------------------------------------
// Fidelity
// ---------------------------------------------------------------------------

// The 2,350 syllables of KS X 1001 in code order, from the EUC-KR rows
// 0xB0..0xC8, cells 0xA1..0xFE, decoded by the C library's iconv. Throws
// TFontGenError when the converter is missing or gives anything else.
std::vector<uint32_t> KsX1001Syllables();

struct TSyllableDiff {
  uint32_t Code;
  int Pixels;
};

struct TFidelity {
  int Identical = 0;        // syllables composing pixel-identical, of those measured
  int Total = 0;
  int IdenticalCommon = 0;  // of those, in the KS X 1001 list
  int TotalCommon = 0;
  int IdenticalWithoutFinal = 0;
  int TotalWithoutFinal = 0;
  long DiffPixels = 0;  // summed over all syllables
  double MeanDiff = 0;
  int WorstDiff = 0;
  std::vector<TSyllableDiff> Worst;  // up to ten that differ, most differing first, then by code
};

TFidelity MeasureFidelity(const std::vector<TCell>& syllables, const THangulGlyphs& glyphs,
                          const std::vector<uint32_t>& common);
// The same over the syllables KNOWN marks, for a font that has only some.
TFidelity MeasureFidelity(const std::vector<TCell>& syllables, const std::vector<bool>& known,
                          const THangulGlyphs& glyphs, const std::vector<uint32_t>& common);

// The --report text.
void PrintFidelity(std::ostream& out, const TFidelity& fidelity);

// ---------------------------------------------------------------------------
// The font image and its file
// ---------------------------------------------------------------------------

// ASCII cells from Unifont (codes 0..31 and 127 blank), Hangul cells from
// GLYPHS, everything else blank.
TFontImage BuildAtlas(const TUnifontSource& source, const THangulGlyphs& glyphs);

// Writes BYTES to PATH through a temporary file in the same folder and a
// rename, so PATH is either the complete new file or untouched.
void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace runeplate::fontgen
