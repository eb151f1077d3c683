// Studio: what the studio page asks of the tools' C++, in plain C++ so that
// it builds natively for tests as well as for the WebAssembly module
// (Bindings.cpp only hands these across to JS).
//
// Files go through fontgen's own path-based readers and writers in a
// scratch folder (emscripten's in-memory file system in the browser), run
// exactly as runeplate-fontgen runs them, so every atlas, report and
// download is fontgen's byte for byte without a second copy of any of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "font/FontFile.h"
#include "font/GlyphComposer.h"
#include "text/UDrawText.h"

namespace runeplate::studio {

// The largest font file taken in; anything larger is refused before it is read.
constexpr size_t MaxFontFileBytes = 64u << 20;

// What --size, --jamo-names and --ascii say to fontgen.
struct TLoadOptions {
  int Size = 0;            // 0: the font's own
  std::string JamoNames;   // empty: fontgen's default; "none" or a scheme
  std::vector<uint8_t> Ascii;
  std::string AsciiName;   // empty: no --ascii
};

// A syllable the fitted jamo compose least faithfully: the source's picture
// and the composed one, 16 x 16, one byte a pixel (1 ink).
struct TWorstSyllable {
  uint32_t Code = 0;
  int Pixels = 0;
  std::vector<uint8_t> Source, Composed;
};

struct TLoadResult {
  std::string Error;  // empty on success
  TFontImage Atlas;
  std::string Report;  // the --report text
  std::vector<std::string> Warnings;
  std::vector<TWorstSyllable> Worst;
};

// `bytes` read as `runeplate-fontgen FILENAME -o ATLAS.bmp --report` reads
// the file FILENAME (a bare name; its extension breaks ties as in fontgen).
TLoadResult LoadFont(const std::vector<uint8_t>& bytes, const std::string& fileName, const TLoadOptions& options);

// How a download is asked for: fontgen's -o kind and options.
struct TWriteOptions {
  std::string Stem = "a1bit";
  std::string CName;       // --c-name; empty: fontgen's default
  std::string Family;      // --family
  int Ascent = 0;          // --ascent; 0: not given
  std::string Chars = "all";  // --chars all|ksx1001, or "text" with CharsText
  std::string CharsText;
};

struct TDownload {
  std::string Error;  // empty on success
  std::string FileName;
  std::vector<uint8_t> Bytes;
};

// The kinds write() takes, in the order a page shows them.
struct TFormat {
  const char* Kind;
  const char* Extension;
  const char* Label;
  bool Available;
};
const std::vector<TFormat>& Formats();

// `atlas`, saved as the file `atlasName` with `notice` as the NOTICE beside
// it, written as `runeplate-fontgen ATLASNAME -o STEM.EXT [options]`
// writes it; a BMFont with its pages as one stored zip.
TDownload WriteFormat(const TFontImage& atlas, const std::string& atlasName, const std::string& notice,
                      const std::string& kind, const TWriteOptions& options);

// One jamo glyph's place in the glyph sets, and why a syllable draws it.
struct TGlyphInfo {
  int32_t Glyph = 0;
  std::string Role;    // "initial", "medial", "final"
  int32_t Set = 0;     // from 1
  std::string Letter;  // the compatibility letter, UTF-8
  std::string Name;    // Neo둥근모's name
  std::string Rule;    // in a syllable: why this set, in words
};
TGlyphInfo GlyphInfo(int32_t glyph);

struct TSyllableExplanation {
  std::string Error;
  std::string Initial, Medial, Final;  // letters, UTF-8; Final empty when none
  std::vector<TGlyphInfo> Parts;
};
TSyllableExplanation ExplainSyllable(uint32_t code);

// The syllables whose picture draws Hangul glyph `glyph`, in code order.
std::vector<uint32_t> SyllablesUsing(int32_t glyph);

// An RGBA picture (4 bytes a pixel, alpha 255), as a canvas takes it.
struct TRgbaPicture {
  int32_t Width = 0, Height = 0;
  std::vector<uint8_t> Pixels;
};

// `text` (UTF-8) as runeplate-render --compose [--wrap] draws it, in `ink`
// on `paper` (0xRRGGBB). False with a sentence for text that is not UTF-8.
bool DrawText(const TFontImage& atlas, const std::string& text, int32_t wrap, uint32_t ink, uint32_t paper,
              TRgbaPicture& picture, std::string& error);

// The same picture as a PNG, each pixel `scale` x `scale`, byte for byte the
// file runeplate-render --compose [--wrap] [--scale] writes for black ink.
bool DrawTextPng(const TFontImage& atlas, const std::string& text, int32_t wrap, uint32_t ink, uint32_t paper,
                 int32_t scale, std::vector<uint8_t>& png, std::string& error);

// Frame `frame` as runeplate-render --frame draws it.
void DrawFrame(const TFontImage& atlas, uint64_t frame, TRgbaPicture& picture);

// The 36 lines of the program's first frame: the sample text and each
// line's colour (0xRRGGBB).
struct TFrameLine {
  std::string Text;
  uint32_t Colour;
};
std::vector<TFrameLine> FrameLines();

// Every syllable of a repertoire composed into one picture, `Columns` to a
// row of 16 x 16 cells, kept so that one glyph's syllables can be redrawn.
class TSyllableGrid {
 public:
  // `ksx1001`: the 2,350 syllables of KS X 1001, else all 11,172.
  void Reset(bool ksx1001, int32_t columns, uint32_t ink, uint32_t paper);
  void DrawAll(const TFontImage& atlas);
  // Redraws the syllables that use Hangul glyph `glyph`; how many.
  int32_t DrawUsers(const TFontImage& atlas, int32_t glyph);
  uint32_t CodeAt(int32_t x, int32_t y) const;
  // The cell's top-left corner, or false when `code` is not in the grid.
  bool CellOf(uint32_t code, int32_t& x, int32_t& y) const;
  const TRgbaPicture& Picture() const { return Image; }
  int32_t Columns() const { return ColumnCount; }
  int32_t Count() const { return int32_t(Codes.size()); }

 private:
  void DrawCell(const TFontView& view, int32_t index);
  std::vector<uint32_t> Codes;
  std::vector<std::vector<int32_t>> Users = std::vector<std::vector<int32_t>>(HangulGlyphCount);
  int32_t ColumnCount = 64;
  uint32_t Ink = 0, Paper = 0xFFFFFF;
  TRgbaPicture Image;
};

// Which atlas cell pixel (x, y) lies in: "jamo" 0..343, "ascii" 0..127,
// "letter" 0..50, or "none".
struct TCellRef {
  std::string Kind = "none";
  int32_t Index = -1;
};
TCellRef CellAt(int32_t x, int32_t y);
// The rectangle of a cell; false for an unknown kind or index.
bool CellRect(const std::string& kind, int32_t index, TRect& rect);

}  // namespace runeplate::studio
