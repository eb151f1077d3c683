// Woff2: a TrueType font compressed for the web by Google's woff2 library,
// which owns the format (its glyf transform and Brotli).
#pragma once

#include <cstdint>
#include <vector>

namespace runeplate::fontgen::sfnt {

// Throws std::invalid_argument when the library refuses the font.
std::vector<uint8_t> Woff2File(const std::vector<uint8_t>& trueType);

}  // namespace runeplate::fontgen::sfnt
