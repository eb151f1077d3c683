// JamoNames: how a font names its jamo glyphs, for fonts drawn for the
// 8x4x4 glyph sets that keep every shape as a glyph of its own.
//
// A scheme is three glyph-name templates, for initials, medials and finals,
// written "INITIAL,MEDIAL,FINAL". In a template, {set} stands for the glyph
// set counted from 0 and {index} for the letter, counted as Unicode counts
// jamo: initials ㄱ..ㅎ and medials ㅏ..ㅣ from 0, finals ㄱ..ㅎ from 1 (0 is
// "no final"). {set:2} or {index:2} pads the number with zeros to two digits;
// {set+1} or {index+1:3} counts from one more. Any other text is literal.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace runeplate::fontgen {

struct TJamoNames {
  std::array<std::string, 3> Templates;  // initial, medial, final
};

// Where a font without glyph names (BDF, as fontgen writes it) keeps its
// jamo glyphs: glyph g (0..343) at this private-use code point plus g, in
// the plane of private use that no character set maps.
constexpr uint32_t PrivateJamoFirst = 0xF0000;

// Neo둥근모's scheme: cho_0_00 is ㄱ of initial set 1, jong_3_27 ㅎ of
// final set 4.
extern const char* const NeoJamoNames;

// Reads a scheme "INITIAL,MEDIAL,FINAL"; false with a one-line reason when it
// does not have three templates or a placeholder is malformed or unknown.
bool ParseJamoNames(const std::string& text, TJamoNames& names, std::string& error);

// NeoJamoNames read, once. Throws std::logic_error should the scheme that
// the program carries not read, so that no font is written with empty names.
const TJamoNames& NeoJamoScheme();

// The name of Hangul glyph Glyph (0..343) under Names.
std::string JamoGlyphName(const TJamoNames& names, int32_t glyph);

}  // namespace runeplate::fontgen
