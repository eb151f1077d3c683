// The glyphs drawn by hand, each with the reason the fit cannot find it.
#include "fontgen/GlyphFit.h"

namespace runeplate::fontgen {

// One table; it is long only by its pictures.
const std::vector<THandFix>& HandFixes() {
  static const std::vector<THandFix> fixes = {
      {InitialSetBase[7] + 0,  // ㄱ, initial set 8
       {"................", "................", "...######.......", "........#.......",
        "........#.......", "........#.......", "........#.......", "................",
        "................", "................", "................", "................",
        "................", "................", "................", "................"},
       "Unifont puts the stem of ㄱ in column 8 over ㅘ ㅙ ㅚ ㅢ and in column 7 "
       "over ㅝ ㅞ ㅟ; left to the fit, the stem moves into the medial glyphs "
       "of the first group and 권 or 궐 show a ㄱ without one. This is the ㄱ "
       "of 관, whole."},
      {InitialSetBase[7] + 15,  // ㅋ, initial set 8
       {"................", "................", "..#######.......", "........#.......",
        "..#######.......", "........#.......", "........#.......", "................",
        "................", "................", "................", "................",
        "................", "................", "................", "................"},
       "The same as ㄱ: left to the fit, the top bar of ㅋ moves into the medial "
       "glyph of ㅘ, and 퀀, 퀸 or 퀼 show a ㅋ with two dots for a bar. This is "
       "the ㅋ of 콴, whole."},
      {FinalSetBase[3] + 4 - 1,  // ㄴ, final set 4
       {"................", "................", "................", "................",
        "................", "................", "................", "................",
        "................", "................", "................", "...#............",
        "...#............", "...#............", "...#########....", "................"},
       "Unifont lowers the bar of ㅜ and ㅠ by a row over ㄴ, which the shared "
       "medial glyph cannot follow; the fit would draw that lower bar in the "
       "final glyph and give 운 two bars. This is the bare ㄴ."},
  };
  return fixes;
}

}  // namespace runeplate::fontgen
