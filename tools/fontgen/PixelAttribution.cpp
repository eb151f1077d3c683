#include "fontgen/PixelAttribution.h"

#include <cstdint>

#include "fontgen/SyllableLetters.h"

namespace runeplate::fontgen {

std::vector<std::array<TCell, 3>> AttributePixels(const std::vector<TCell>& targets) {
  constexpr int Several = 4;
  std::vector<std::array<TCell, 3>> parts(SyllableCount);
  for (size_t s = 0; s < SyllableCount; ++s) {
    const size_t i = InitialOf(s), m = MedialOf(s), f = FinalOf(s);
    const TCell& target = targets[s];
    std::array<uint8_t, 256> lackByInitial{}, lackByFinal{};
    for (size_t k = 0; k < InitialCount; ++k) {
      if (k != i) ForEachBit(AndNot(target, targets[SyllableOf(k, m, f)]), [&](int b) { ++lackByInitial[b]; });
    }
    for (size_t k = 1; f != 0 && k < FinalCount; ++k) {
      if (k != f) ForEachBit(AndNot(target, targets[SyllableOf(i, m, k)]), [&](int b) { ++lackByFinal[b]; });
    }
    ForEachBit(target, [&](int b) {
      const TRole role = lackByInitial[b] >= Several ? RoleInitial
                         : lackByFinal[b] >= Several ? RoleFinal
                                                     : RoleMedial;
      SetBit(parts[s][role], b);
    });
  }
  return parts;
}

}  // namespace runeplate::fontgen
