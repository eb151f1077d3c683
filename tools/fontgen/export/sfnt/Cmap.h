// Cmap: the character map, format 4 for the Basic Multilingual Plane (which
// every reader knows) and format 12 for every character (the private-use
// plane too), each under its Unicode and its Windows encoding.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace runeplate::fontgen::sfnt {

using TCharacterMap = std::vector<std::pair<uint32_t, uint16_t>>;  // ascending code points

// Throws std::invalid_argument when the code points are not ascending.
std::vector<uint8_t> CmapTable(const TCharacterMap& characters);

}  // namespace runeplate::fontgen::sfnt
