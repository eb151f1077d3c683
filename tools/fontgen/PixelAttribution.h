// PixelAttribution: which letter of a Unifont syllable draws which pixel.
#pragma once

#include <array>
#include <vector>

#include "fontgen/Cell.h"

namespace runeplate::fontgen {

// For syllable s (0..11,171) of Targets, its pixels split by the letter that
// draws them: [JamoInitial], [JamoMedial], [JamoFinal].
//
// Told from how the syllable differs from its neighbours: a pixel that
// several syllables with another initial (same vowel and final) lack belongs
// to the initial; otherwise one that several syllables with another final
// lack belongs to the final; the rest belong to the vowel. "Several" is four
// or more: Unifont shifts some vowels after ㄱ ㄲ ㅋ, and a vowel pixel that
// only those three syllables lack is still the vowel's. (The reverse cannot
// be told apart: the shifted vowel strokes of a ㄱ or ㅋ syllable count as
// the consonant's.) Only syllables the font has (Known) are compared, and
// only theirs are split; where a syllable has fewer than eight known
// neighbours of a kind, half of those count as several.
std::vector<std::array<TCell, 3>> AttributePixels(const std::vector<TCell>& targets,
                                                  const std::vector<bool>& known);

}  // namespace runeplate::fontgen
