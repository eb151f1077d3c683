// X window dumps as the screenshot checker reads them: a dump is read whole
// into a picture of its size, or refused with one line.
#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "shot/XwdFile.h"

using namespace runeplate;
using runeplate::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  TRgbImage image;
  std::string error;
  if (!DecodeXwd(bytes, image, error)) {
    Require(fuzz::IsOneLine(error), "a refusal is one line");
    return 0;
  }
  Require(image.Width > 0 && image.Height > 0, "a picture has pixels");
  Require(image.Pixels.size() == size_t(image.Width) * size_t(image.Height), "one pixel a place");
  for (uint32_t pixel : image.Pixels) Require(pixel <= 0x00FFFFFFu, "pixels are 0x00RRGGBB");
  return 0;
}
