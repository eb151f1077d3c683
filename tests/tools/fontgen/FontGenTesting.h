// Helpers for the generator's tests. Made-up fonts: jamo glyph sets with
// known pictures, the syllables they compose, and hex files holding them, so
// the tests know exactly what the fit should find.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "fontgen/Cell.h"
#include "fontgen/GlyphFit.h"
#include "fontgen/UnifontHex.h"

namespace runeplate::fontgen::testing {

// Where a glyph's random pixels may fall.
enum class TZones {
  Anywhere,  // all glyphs share the whole cell, so letters overlap
  Separate,  // initial top left, medial right, final bottom: no overlaps
};

inline THangulGlyphs RandomGlyphs(uint32_t seed, TZones zones) {
  std::mt19937 random(seed);
  THangulGlyphs glyphs;
  for (int32_t g = 0; g < HangulGlyphCount; ++g) {
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        bool inZone = true;
        if (zones == TZones::Separate) {
          if (g < MedialSetBase[0]) inZone = y <= 4 && x <= 7;
          else if (g < FinalSetBase[0]) inZone = y <= 9 && x >= 9;
          else inZone = y >= 11;
        }
        // Sparse where letters overlap, so syllables stay distinguishable.
        const uint32_t chance = zones == TZones::Separate ? 40 : 12;
        if (inZone && random() % 100 < chance) glyphs[g].SetPixel(x, y, true);
      }
    }
    if (glyphs[g].IsEmpty()) glyphs[g].SetPixel(0, 0, true);
  }
  if (zones == TZones::Separate) {
    // As in Unifont, a vowel keeps its shape after ㄱ and ㅋ: medial sets 1
    // and 3 copy sets 2 and 4.
    for (int32_t m = 0; m < int32_t(MedialCount); ++m) {
      glyphs[MedialSetBase[0] + m] = glyphs[MedialSetBase[1] + m];
      glyphs[MedialSetBase[2] + m] = glyphs[MedialSetBase[3] + m];
    }
  }
  return glyphs;
}

// The 11,172 syllables as our engine composes them from GLYPHS.
inline std::vector<TCell> ComposeAll(const THangulGlyphs& glyphs) {
  std::vector<TCell> syllables;
  for (uint32_t code = SyllableFirst; code <= SyllableLast; ++code)
    syllables.push_back(ComposeSyllable(glyphs, code));
  return syllables;
}

// The 8 x 16 picture given to printable ASCII code CODE: distinct per code
// and row, so misplaced rows show.
inline uint8_t AsciiRow(uint32_t code, int y) { return static_cast<uint8_t>(code * 7 + y * 13); }

inline std::string HexLine(uint32_t code, const std::string& data) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%04X:", code);
  return prefix + data + "\n";
}

inline std::string AsciiHexLine(uint32_t code) {
  std::string data;
  char byte[3];
  for (int y = 0; y < 16; ++y) {
    std::snprintf(byte, sizeof byte, "%02X", AsciiRow(code, y));
    data += byte;
  }
  return HexLine(code, data);
}

inline std::string CellHexLine(uint32_t code, const TCell& cell) {
  std::string data;
  char row[5];
  for (int y = 0; y < 16; ++y) {
    std::snprintf(row, sizeof row, "%04X", cell.Row(y));
    data += row;
  }
  return HexLine(code, data);
}

// A complete hex file: a few glyphs the generator ignores, the printable
// ASCII glyphs and the syllables, in code order as in Unifont.
inline std::string HexFile(const std::vector<TCell>& syllables) {
  std::string text = HexLine(0x0000, std::string(64, 'A'));  // a 16-wide control picture
  for (uint32_t code = FirstPrintableAscii; code <= LastPrintableAscii; ++code) text += AsciiHexLine(code);
  text += HexLine(0x00E9, std::string(32, '0'));
  for (uint32_t code = SyllableFirst; code <= SyllableLast; ++code)
    text += CellHexLine(code, syllables[code - SyllableFirst]);
  text += HexLine(0xFFFD, std::string(64, 'f'));
  return text;
}

// ---------------------------------------------------------------------------
// Font files for the converter
// ---------------------------------------------------------------------------

// One glyph of a made-up BDF font: a Width x Height bitmap, rows as hex
// strings, its lower left corner XOff, YOff from the pen on the baseline.
struct TBdfGlyph {
  uint32_t Encoding;
  int Width, Height, XOff, YOff;
  std::vector<std::string> Rows;
};

inline std::string BdfFont(int ascent, int descent, const std::string& registry,
                    const std::vector<TBdfGlyph>& glyphs) {
  std::string text = "STARTFONT 2.1\nFONT -test-made-medium-r-normal--16-160-75-75-c-160-" + registry +
                     "-1\nSIZE 16 75 75\nFONTBOUNDINGBOX 16 16 0 -" + std::to_string(descent) +
                     "\nSTARTPROPERTIES 5\nPIXEL_SIZE 16\nFONT_ASCENT " + std::to_string(ascent) +
                     "\nFONT_DESCENT " + std::to_string(descent) + "\nCHARSET_REGISTRY \"" + registry +
                     "\"\nCHARSET_ENCODING \"" + (registry == "ISO10646" ? "1" : "0") +
                     "\"\nENDPROPERTIES\nCHARS " + std::to_string(glyphs.size()) + "\n";
  for (const TBdfGlyph& g : glyphs) {
    text += "STARTCHAR g" + std::to_string(g.Encoding) + "\nENCODING " + std::to_string(g.Encoding) +
            "\nSWIDTH 1000 0\nDWIDTH 16 0\nBBX " + std::to_string(g.Width) + " " + std::to_string(g.Height) +
            " " + std::to_string(g.XOff) + " " + std::to_string(g.YOff) + "\nBITMAP\n";
    for (const std::string& row : g.Rows) text += row + "\n";
    text += "ENDCHAR\n";
  }
  return text + "ENDFONT\n";
}

// Whether every font source in Paths is there. In CI a missing source is a
// failure (scripts/setup installs them all); elsewhere the test that needs
// it skips its case.
inline bool FontSourcesPresent(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    if (std::ifstream(path).good()) continue;
    if (std::getenv("CI") != nullptr) ADD_FAILURE() << path << " is missing: run scripts/setup";
    return false;
  }
  return true;
}

}  // namespace runeplate::fontgen::testing
