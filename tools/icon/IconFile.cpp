#include "icon/IconFile.h"

namespace runeplate {

namespace {

constexpr char16_t IconText[] = u"한";
constexpr uint32_t IconInk = 0xFFFFFFFFu;
constexpr int32_t DrawnSize = 16;  // one Hangul cell

// Little-endian fields, as every Windows file header has them.
void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFFu);
  Put16(out, value >> 16);
}

constexpr uint32_t IconDirBytes = 6;
constexpr uint32_t IconDirEntryBytes = 16;
constexpr uint32_t BitmapInfoHeaderBytes = 40;

// Bytes of the AND mask: one bit per pixel, rows padded to 32 bits.
uint32_t MaskBytes(int32_t size) { return static_cast<uint32_t>((size + 31) / 32 * 4 * size); }

uint32_t ImageBytes(int32_t size) {
  return BitmapInfoHeaderBytes + static_cast<uint32_t>(size * size * 4) + MaskBytes(size);
}

// The bitmap of one image: header, BGRA pixels bottom row first, then an
// all-clear AND mask, since the alpha channel already says every pixel shows.
void PutImage(std::vector<uint8_t>& out, const TRgbImage& image) {
  const int32_t size = image.Width;
  Put32(out, BitmapInfoHeaderBytes);
  Put32(out, static_cast<uint32_t>(size));
  Put32(out, static_cast<uint32_t>(2 * size));  // colour bitmap and mask, stacked
  Put16(out, 1);                                // planes
  Put16(out, 32);                               // bits per pixel
  Put32(out, 0);                                // BI_RGB
  Put32(out, ImageBytes(size) - BitmapInfoHeaderBytes);
  for (int k = 0; k < 4; ++k) Put32(out, 0);  // resolution and palette: unused
  for (int32_t y = size - 1; y >= 0; --y) {
    for (int32_t x = 0; x < size; ++x) Put32(out, 0xFF000000u | image.At(x, y));
  }
  out.insert(out.end(), MaskBytes(size), 0);
}

}  // namespace

TRgbImage DrawIconImage(const TFontImage& font, int32_t size) {
  TRgbImage drawn(DrawnSize, DrawnSize, CounterColour);
  RenderText(drawn, font, 0, 0, IconText, 1, IconInk);
  return Enlarge(drawn, size / DrawnSize);
}

std::vector<uint8_t> EncodeIconFile(const std::vector<TRgbImage>& images) {
  std::vector<uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // an icon, not a cursor
  Put16(out, static_cast<uint32_t>(images.size()));
  uint32_t offset = IconDirBytes + IconDirEntryBytes * static_cast<uint32_t>(images.size());
  for (const TRgbImage& image : images) {
    // A side of 256 is stored as 0.
    out.push_back(static_cast<uint8_t>(image.Width));
    out.push_back(static_cast<uint8_t>(image.Height));
    out.push_back(0);  // no palette
    out.push_back(0);  // reserved
    Put16(out, 1);     // planes
    Put16(out, 32);    // bits per pixel
    Put32(out, ImageBytes(image.Width));
    Put32(out, offset);
    offset += ImageBytes(image.Width);
  }
  for (const TRgbImage& image : images) PutImage(out, image);
  return out;
}

}  // namespace runeplate
