// The atlas as a bitmap file, and the one rule for what an atlas is: the
// rule and the reader never disagree, and what is read re-encodes to the
// very pixel block it came from.
#include <algorithm>
#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "font/FontFile.h"

using namespace runeplate;
using runeplate::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> file(data, data + size);
  TFontImage image;
  image.SetInk(0, 0, true);
  const TFontImage before = image;
  std::string error;
  const bool decoded = DecodeFontFile(file, image, error);
  Require(decoded == IsFontBitmap(file), "DecodeFontFile and IsFontBitmap agree");
  if (!decoded) {
    Require(fuzz::IsOneLine(error), "a refusal is one line");
    Require(image == before, "a refused file leaves the image untouched");
    return 0;
  }
  const std::vector<uint8_t> block = EncodeFontPixels(image);
  Require(std::equal(block.begin(), block.end(), file.end() - FontFilePixelBytes),
          "a decoded atlas re-encodes to the same pixel block");
  TFontImage again;
  Require(DecodeFontFile(EncodeFontFile(image), again, error) && again == image,
          "the file we write reads back as the same image");
  return 0;
}
