// Picture: RGB pictures of atlases and text, and the atlas read back from an
// edited picture. The PNG files themselves are read and written by the
// tools' common PNG code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "font/FontFile.h"

namespace runeplate::fontgen {

// An RGB picture, 3 bytes a pixel, rows top to bottom.
struct TPicture {
  int Width = 0, Height = 0;
  std::vector<uint8_t> Rgb;
};

// The atlas 1:1, black ink on white: 512 x 256 in exactly two colours.
TPicture AtlasPicture(const TFontImage& atlas);

// The atlas an image editor left: Picture must be 512 x 256 in exactly two
// colours, the darker of them ink, so any two-colour palette works. False
// with a one-line reason otherwise, Atlas untouched.
bool AtlasFromPicture(const TPicture& picture, TFontImage& atlas, std::string& error);

}  // namespace runeplate::fontgen
