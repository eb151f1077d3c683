#include "fontgen/export/sfnt/Bitmap.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "fontgen/export/sfnt/SfntBytes.h"

namespace runeplate::fontgen::sfnt {

namespace {

constexpr uint32_t TableVersion = 0x00020000;  // EBLC and EBDT 2.0
constexpr size_t BitmapSizeBytes = 48;
constexpr uint32_t IndexFormatSameSize = 2;
constexpr uint32_t ImageFormatBitAligned = 5;
constexpr uint32_t HorizontalMetrics = 1;  // BitmapSize flags

// Consecutive glyphs of one size: one index subtable.
struct TRange {
  uint16_t First;
  uint16_t Last;
  int32_t Width;
  int32_t Height;
  uint32_t ImageOffset = 0;  // of the first glyph's image in EBDT
};

std::vector<TRange> RangesOf(const std::vector<TCellBitmap>& pictures) {
  std::vector<TRange> ranges;
  for (size_t g = 0; g < pictures.size(); ++g) {
    const TCellBitmap& picture = pictures[g];
    if (!ranges.empty() && ranges.back().Width == picture.Width && ranges.back().Height == picture.Height)
      ranges.back().Last = uint16_t(g);
    else
      ranges.push_back({uint16_t(g), uint16_t(g), picture.Width, picture.Height, 0});
  }
  return ranges;
}

// The line metrics of the strike, the same across and down: the line's
// ascent and descent, every glyph at the origin and no wider than 16.
void LineMetrics(TSfntBytes& out, int32_t ascent, int32_t descent, int32_t widthMax) {
  out.I8(ascent);
  out.I8(-descent);
  out.U8(uint32_t(widthMax));
  out.I8(1), out.I8(0), out.I8(0);  // caret slope rise and run: upright; caret offset
  out.I8(0), out.I8(0);             // minOriginSB, minAdvanceSB
  out.I8(ascent), out.I8(-descent);  // maxBeforeBL, minAfterBL
  out.I8(0), out.I8(0);
}

// A picture's rows, bit-aligned: each row's Width bits straight after the
// last row's, the whole padded to a byte.
void BitAligned(TSfntBytes& out, const TCellBitmap& picture) {
  uint32_t pending = 0, bits = 0;
  for (int32_t y = 0; y < picture.Height; ++y) {
    for (int32_t x = 0; x < picture.Width; ++x) {
      pending = pending << 1 | uint32_t(picture.IsInk(x, y));
      if (++bits == 8) out.U8(pending), pending = bits = 0;
    }
  }
  if (bits != 0) out.U8(pending << (8 - bits));
}

size_t ImageBytes(const TRange& range) { return (size_t(range.Width) * size_t(range.Height) + 7) / 8; }

// The images of every range, one after the other; each range learns where
// its images start.
std::vector<uint8_t> ImageData(const std::vector<TCellBitmap>& pictures, std::vector<TRange>& ranges) {
  TSfntBytes ebdt;
  ebdt.U32(TableVersion);
  for (TRange& range : ranges) {
    range.ImageOffset = uint32_t(ebdt.Size());
    for (uint32_t g = range.First; g <= range.Last; ++g) BitAligned(ebdt, pictures[g]);
  }
  return std::move(ebdt.Bytes);
}

constexpr size_t IndexSubtableBytes = 20;

// A range's index subtable: where its images are, their size, and the
// big glyph metrics all of them share: the cell from the top of the line,
// advancing by its width; down the page centred, advancing by its height.
void IndexSubtable(TSfntBytes& eblc, const TRange& range, int32_t ascent) {
  eblc.U16(IndexFormatSameSize);
  eblc.U16(ImageFormatBitAligned);
  eblc.U32(range.ImageOffset);
  eblc.U32(uint32_t(ImageBytes(range)));
  eblc.U8(uint32_t(range.Height));
  eblc.U8(uint32_t(range.Width));
  eblc.I8(0);
  eblc.I8(ascent);
  eblc.U8(uint32_t(range.Width));
  eblc.I8(-(range.Width / 2));
  eblc.I8(0);
  eblc.U8(uint32_t(range.Height));
}

}  // namespace

TBitmapTables BitmapTables(const std::vector<TCellBitmap>& pictures, int32_t ascent, int32_t descent) {
  if (pictures.empty() || pictures.size() > 0xFFFF)
    throw std::invalid_argument("a bitmap strike holds 1 to 65,535 glyphs, not " + std::to_string(pictures.size()));
  if (ascent < 0 || descent < 0 || ascent > 127 || descent > 127)
    throw std::invalid_argument("a bitmap strike's line is at most 127 pixels either side of the baseline");
  int32_t widthMax = 0;
  for (const TCellBitmap& picture : pictures) {
    if (picture.Width < 0 || picture.Height < 0 || picture.Width > 16 || picture.Height > 16)
      throw std::invalid_argument("a glyph picture beyond 16 x 16 pixels");
    widthMax = std::max(widthMax, picture.Width);
  }
  std::vector<TRange> ranges = RangesOf(pictures);
  std::vector<uint8_t> ebdt = ImageData(pictures, ranges);

  TSfntBytes eblc;
  eblc.U32(TableVersion);
  eblc.U32(1);  // one strike
  const size_t arrayAt = eblc.Size() + BitmapSizeBytes, arrayBytes = 8 * ranges.size();
  eblc.U32(uint32_t(arrayAt));
  eblc.U32(uint32_t(arrayBytes + IndexSubtableBytes * ranges.size()));
  eblc.U32(uint32_t(ranges.size()));
  eblc.U32(0);  // colorRef
  LineMetrics(eblc, ascent, descent, widthMax);
  LineMetrics(eblc, ascent, descent, widthMax);
  eblc.U16(ranges.front().First);
  eblc.U16(ranges.back().Last);
  eblc.U8(StrikePixelsPerEm), eblc.U8(StrikePixelsPerEm);
  eblc.U8(1);  // bit depth
  eblc.U8(HorizontalMetrics);
  for (size_t r = 0; r < ranges.size(); ++r) {
    eblc.U16(ranges[r].First);
    eblc.U16(ranges[r].Last);
    eblc.U32(uint32_t(arrayBytes + IndexSubtableBytes * r));
  }
  for (const TRange& range : ranges) IndexSubtable(eblc, range, ascent);
  return {std::move(eblc.Bytes), std::move(ebdt)};
}

}  // namespace runeplate::fontgen::sfnt
