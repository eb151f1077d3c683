// The C interface as firmware calls it: runeplate_font_init with whatever
// size and layout the input gives, then draw, compose and measure. The first
// byte picks the layout (any int, the three valid ones most often), the
// second whether the blob is cut short, the third the wrap width; the rest
// is the UTF-8 text. An init that is refused leaves a font that draws
// nothing; an accepted one draws only 8- or 16-pixel characters, each inside
// the measured block and, with a wrap, inside the box unless the character
// alone is wider; every picture of an 8-pixel character leaves its right
// byte clear.
#include <cstring>
#include <vector>

#include "FuzzTarget.h"
#include "c/runeplate.h"

using runeplate::fuzz::Require;

namespace {

struct TSeen {
  int32_t Right = 0, Bottom = 0, Count = 0, LineX = 0, Wrap = 0;
  bool Overflow = false;
};

void Check(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* picture, void* user) {
  TSeen& seen = *static_cast<TSeen*>(user);
  Require(width == 8 || width == 16, "a character is 8 or 16 pixels wide");
  Require(height == 16, "a character is 16 pixels high");
  if (width == 8)
    for (int row = 0; row < 16; ++row) Require(picture[2 * row + 1] == 0, "an 8-pixel picture's right byte is clear");
  if (seen.Wrap > 0 && x != seen.LineX && x + width - seen.LineX > seen.Wrap) seen.Overflow = true;
  if (x + width > seen.Right) seen.Right = x + width;
  if (y + height > seen.Bottom) seen.Bottom = y + height;
  ++seen.Count;
}

// Each blob its exact size, so a read past it is a finding.
const std::vector<uint8_t>& Blob(bool compact) {
  static const std::vector<uint8_t> atlas(RUNEPLATE_ATLAS_BYTES, 0x5A);
  static const std::vector<uint8_t> small(RUNEPLATE_COMPACT_BYTES, 0xA5);
  return compact ? small : atlas;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int layouts[] = {RUNEPLATE_ATLAS_TOP_ROW_FIRST, RUNEPLATE_ATLAS_BOTTOM_ROW_FIRST, RUNEPLATE_COMPACT,
                         258, 7, -1, 3};
  const int layout = layouts[data[0] % 7];
  const bool compactBlob = (data[1] & 1) != 0;
  const std::vector<uint8_t>& blob = Blob(compactBlob);
  const size_t blobSize = (data[1] & 2) != 0 ? blob.size() - (data[1] >> 2) : blob.size();
  const int32_t wrap = static_cast<int32_t>(data[2]) - 8;  // some at or below 0: no wrapping
  const char* text = reinterpret_cast<const char*>(data + 3);
  const size_t length = size - 3;

  runeplate_font font;
  const int status = runeplate_font_init(&font, blob.data(), blobSize, layout);
  const bool fits = blobSize == (layout == RUNEPLATE_COMPACT ? RUNEPLATE_COMPACT_BYTES : RUNEPLATE_ATLAS_BYTES);
  const bool known = layout >= RUNEPLATE_ATLAS_TOP_ROW_FIRST && layout <= RUNEPLATE_COMPACT;
  Require((status == RUNEPLATE_OK) == (known && fits), "init accepts exactly a known layout at its size");

  TSeen seen;
  seen.LineX = 0;
  seen.Wrap = wrap;
  runeplate_draw_utf8(&font, 0, 0, text, length, wrap, Check, &seen);
  if (status != RUNEPLATE_OK) {
    Require(seen.Count == 0, "a refused font draws nothing");
    return 0;
  }
  const runeplate_size measured = runeplate_measure_utf8(text, length, wrap);
  Require(seen.Right <= measured.width && seen.Bottom <= measured.height,
          "every character lies inside the measured block");
  Require(!seen.Overflow, "a wrapped line is no wider than its box unless one character is");
  if (wrap >= 16) Require(measured.width <= wrap, "a block is never wider than a wrap a character fits");
  uint8_t picture[32];
  for (size_t at = 0; at + 4 <= length; at += 4) {
    uint32_t codePoint;
    std::memcpy(&codePoint, text + at, 4);
    const int32_t width = runeplate_compose(&font, codePoint, picture);
    Require(width == 0 || width == 8 || width == 16, "a composed picture is 8 or 16 wide");
  }
  return 0;
}
