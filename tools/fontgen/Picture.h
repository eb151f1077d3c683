// Picture: the atlas as a picture, and the atlas read back from an edited
// picture. The pictures are the tools' common TRgbImage; their PNG files are
// read and written by the tools' common PNG code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/Picture.h"
#include "font/FontFile.h"

namespace runeplate::fontgen {

// The atlas 1:1, black ink on white: 512 x 256 in exactly two colours.
TRgbImage AtlasPicture(const TFontImage& atlas);

// The atlas an image editor left: `picture` must be 512 x 256 in exactly two
// colours, the darker of them ink, so any two-colour palette works. False
// with a one-line reason otherwise, `atlas` untouched.
bool AtlasFromPicture(const TRgbImage& picture, TFontImage& atlas, std::string& error);

}  // namespace runeplate::fontgen
