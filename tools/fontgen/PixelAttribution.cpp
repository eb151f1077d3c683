#include "fontgen/PixelAttribution.h"

#include <algorithm>
#include <cstdint>

#include "fontgen/SyllableLetters.h"

namespace runeplate::fontgen {

std::vector<std::array<TCell, 3>> AttributePixels(const std::vector<TCell>& targets,
                                                  const std::vector<bool>& known) {
  constexpr int Several = 4;
  std::vector<std::array<TCell, 3>> parts(SyllableCount);
  for (size_t s = 0; s < SyllableCount; ++s) {
    if (!known[s]) continue;
    const size_t i = InitialOf(s), m = MedialOf(s), f = FinalOf(s);
    const TCell& target = targets[s];
    std::array<uint8_t, 256> lackByInitial{}, lackByFinal{};
    int initialNeighbours = 0, finalNeighbours = 0;
    for (size_t k = 0; k < InitialCount; ++k) {
      if (k == i || !known[SyllableOf(k, m, f)]) continue;
      ++initialNeighbours;
      ForEachBit(AndNot(target, targets[SyllableOf(k, m, f)]), [&](int b) { ++lackByInitial[b]; });
    }
    for (size_t k = 1; f != 0 && k < FinalCount; ++k) {
      if (k == f || !known[SyllableOf(i, m, k)]) continue;
      ++finalNeighbours;
      ForEachBit(AndNot(target, targets[SyllableOf(i, m, k)]), [&](int b) { ++lackByFinal[b]; });
    }
    const int byInitial = std::max(1, std::min(Several, initialNeighbours / 2));
    const int byFinal = std::max(1, std::min(Several, finalNeighbours / 2));
    ForEachBit(target, [&](int b) {
      const TJamoRole role = initialNeighbours > 0 && lackByInitial[b] >= byInitial ? JamoInitial
                         : finalNeighbours > 0 && lackByFinal[b] >= byFinal     ? JamoFinal
                                                                                : JamoMedial;
      SetBit(parts[s][role], b);
    });
  }
  return parts;
}

}  // namespace runeplate::fontgen
