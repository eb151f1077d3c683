// Composed text, as runeplate-layout and runeplate-render take it with
// --compose and --wrap: jamo sequences joined into syllables, line breaks,
// wrapping. The first byte picks the options (letter cells, wrap width), the
// rest is the text. UTF-8 lays out as the UTF-16 of its code points, every
// rectangle lies inside the atlas, every cell composes, and no character lies
// below the measured block.
#include <algorithm>
#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "font/FontFile.h"
#include "font/GlyphComposer.h"
#include "text/UDrawText.h"

using namespace runeplate;
using runeplate::fuzz::Require;

namespace {

// Each character's place and rectangles, as the walk gives them.
struct TCellRecord {
  int32_t X, Y, Count;
  std::vector<int32_t> Rects;
  bool operator==(const TCellRecord& other) const {
    return X == other.X && Y == other.Y && Count == other.Count && Rects == other.Rects;
  }
};

// An atlas with ink everywhere, so that composing reads every rectangle.
const TFontImage& InkedAtlas() {
  static const TFontImage atlas = [] {
    TFontImage image;
    image.Bits.fill(0xFF);
    return image;
  }();
  return atlas;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  TBlockOptions options;
  options.LetterCells = (data[0] & 1) != 0;
  options.WrapWidth = (data[0] >> 1) * 8;  // 0 (no wrapping) to 1016 pixels
  const char* text = reinterpret_cast<const char*>(data + 1);
  const size_t length = size - 1;

  std::u16string units;
  for (size_t at = 0; at < length;) {
    uint32_t code = 0;
    at += DecodeUtf8(text + at, length - at, code);
    fuzz::AppendUtf16(units, code);
  }
  int32_t bottom = 0;
  auto recorder = [&](std::vector<TCellRecord>& cells) {
    return [&](int32_t x, int32_t y, const TGlyphRects& rects) {
      Require(rects.Count >= 0 && rects.Count <= 3, "a character has 0 to 3 rectangles");
      TCellRecord cell{x, y, rects.Count, {}};
      for (int32_t k = 0; k < rects.Count; ++k) {
        const TRect& r = rects.Rects[k];
        Require(r.Left >= 0 && r.Top >= 0 && r.Left < r.Right && r.Top < r.Bottom &&
                    r.Right <= FontImageWidth && r.Bottom <= FontImageHeight,
                "every rectangle lies inside the atlas");
        cell.Rects.insert(cell.Rects.end(), {r.Left, r.Top, r.Right, r.Bottom});
        bottom = std::max(bottom, y + (r.Bottom - r.Top));
      }
      TCellBitmap bitmap;
      ComposeCell(ViewOf(InkedAtlas()), rects, bitmap);
      Require(bitmap.Width >= 0 && bitmap.Width <= 16 && bitmap.Height >= 0 && bitmap.Height <= 16,
              "a composed cell fits 16 x 16");
      cells.push_back(std::move(cell));
    };
  };
  std::vector<TCellRecord> fromUtf8, fromUtf16;
  const TPen penUtf8 = ForEachCellUtf8(0, 0, text, length, options, recorder(fromUtf8));
  const TPen penUtf16 = ForEachCell(0, 0, units.data(), units.size(), options, recorder(fromUtf16));
  Require(penUtf8.X == penUtf16.X && penUtf8.Y == penUtf16.Y && fromUtf8 == fromUtf16,
          "UTF-8 lays out as the UTF-16 of its code points");
  const TBlockSize measured = MeasureBlockUtf8(text, length, options);
  const TBlockSize measured16 = MeasureBlock(units.data(), units.size(), options);
  Require(measured.Width == measured16.Width && measured.Height == measured16.Height,
          "UTF-8 and UTF-16 measure alike");
  Require(bottom <= measured.Height, "no character lies below the measured block");
  return 0;
}
