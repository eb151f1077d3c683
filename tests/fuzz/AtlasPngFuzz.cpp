// The atlas as a PNG picture: our code around libpng (the size limit, the
// conversion to RGB) and the two-colour reading of an edited atlas. An atlas
// read from a picture pictures and reads back as itself.
#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "common/Png.h"
#include "fontgen/Picture.h"

using namespace runeplate;
using runeplate::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // As the generator reads atlases: twice an atlas's pixels at most.
  constexpr int64_t MaxPixels = 2 * int64_t{FontImageWidth} * FontImageHeight;
  const std::vector<uint8_t> bytes(data, data + size);
  TRgbImage picture;
  std::string error;
  if (!DecodePng(bytes, MaxPixels, picture, error)) {
    Require(fuzz::IsOneLine(error), "a refused PNG gives one line");
    return 0;
  }
  Require(int64_t{picture.Width} * picture.Height <= MaxPixels, "the pixel limit holds");
  Require(picture.Pixels.size() == size_t(picture.Width) * size_t(picture.Height), "one pixel a place");
  for (uint32_t pixel : picture.Pixels) Require(pixel <= 0x00FFFFFFu, "pixels are 0x00RRGGBB");
  TFontImage atlas;
  if (!fontgen::AtlasFromPicture(picture, atlas, error)) {
    Require(fuzz::IsOneLine(error), "a picture that is no atlas gives one line");
    return 0;
  }
  TFontImage again;
  Require(fontgen::AtlasFromPicture(fontgen::AtlasPicture(atlas), again, error) && again == atlas,
          "an atlas pictures and reads back as itself");
  return 0;
}
