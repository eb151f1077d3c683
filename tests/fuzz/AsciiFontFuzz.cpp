// The DOS 8 x 16 English font file: a file of the right size lands row for
// row in the ASCII cells; any other is refused and changes nothing.
#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "font/HanFile.h"

using namespace runeplate;
using runeplate::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  TFontImage image;
  image.SetInk(FontImageWidth - 1, FontImageHeight - 1, true);
  const TFontImage before = image;
  std::string error;
  if (!DecodeAsciiFontFile(bytes, 0, 127, image, error)) {
    Require(fuzz::IsOneLine(error), "a refusal is one line");
    Require(image == before, "a refused file leaves the image untouched");
    return 0;
  }
  for (int32_t code = 0; code < 128; ++code) {
    const TRect cell = AsciiCell(code);
    for (int32_t y = 0; y < 16; ++y)
      for (int32_t x = 0; x < 8; ++x)
        Require(image.IsInk(cell.Left + x, cell.Top + y) == FontRowInk(&bytes[size_t(code) * 16 + y], x),
                "each row lands in its character's cell");
  }
  Require(image.IsInk(FontImageWidth - 1, FontImageHeight - 1), "the Hangul cells are untouched");
  return 0;
}
