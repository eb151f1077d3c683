// IconFile: the program's icon, drawn from its own font, and the Windows .ico
// format it is shipped in.
//
// The icon is the syllable 한 in white on a tile of the frame-rate counter's
// blue: the glyphs come from the font atlas through the reference renderer,
// so the icon shows exactly what the program would draw. Platform-free.
#pragma once

#include <cstdint>
#include <vector>

#include "render/RefRender.h"

namespace runeplate {

// Edge lengths of the icon's images, in pixels: the small icon of title bars
// and lists, and the large one of Explorer and Alt-Tab.
constexpr int32_t IconSizes[] = {16, 32};

// The icon at Size x Size (a multiple of 16): the 16 x 16 drawing enlarged
// pixel for pixel.
TRgbImage DrawIconImage(const TFontImage& font, int32_t size);

// A Windows icon file holding Images, each square and at most 256 pixels on
// a side, as fully opaque 32-bit device-independent bitmaps.
std::vector<uint8_t> EncodeIconFile(const std::vector<TRgbImage>& images);

}  // namespace runeplate
