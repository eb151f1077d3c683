#include "shot/XwdFile.h"

#include <cstdio>
#include <cstring>

#include "common/Files.h"

namespace runeplate {

namespace {

uint32_t ReadBigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

uint32_t ReadLittleEndian32(const uint8_t* p) {
  return (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

TXwdHeader ReadHeader(const uint8_t* bytes, bool bigEndian) {
  uint32_t fields[XwdHeaderFields];
  for (uint32_t k = 0; k < XwdHeaderFields; ++k) {
    fields[k] = bigEndian ? ReadBigEndian32(bytes + 4 * k) : ReadLittleEndian32(bytes + 4 * k);
  }
  static_assert(sizeof(TXwdHeader) == sizeof(fields), "one member per header field");
  TXwdHeader header;
  std::memcpy(&header, fields, sizeof header);
  return header;
}

// Turns one colour mask of the header into the 8-bit channel it selects.
class TChannel {
 public:
  explicit TChannel(uint32_t mask) : Mask(mask) {
    while (mask != 0 && (mask & 1) == 0) mask >>= 1, ++Shift;
    while (mask & 1) mask >>= 1, ++Bits;
    Contiguous = mask == 0;
  }
  bool Empty() const { return Bits == 0; }
  // A mask with a gap would carry the bits above its first run through
  // Extract into the next channel.
  bool IsContiguous() const { return Contiguous; }
  uint32_t Extract(uint32_t pixel) const {
    const uint32_t value = (pixel & Mask) >> Shift;
    if (Bits >= 8) return value >> (Bits - 8);
    return value * 255 / ((1u << Bits) - 1);
  }

 private:
  uint32_t Mask;
  uint32_t Shift = 0;
  uint32_t Bits = 0;
  bool Contiguous = false;
};

std::string HexMask(uint32_t mask) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(mask));
  return text;
}

// What makes Header unreadable, or an empty string.
std::string HeaderProblem(const TXwdHeader& header) {
  if (header.HeaderSize < XwdHeaderBytes)
    return "XWD header size " + std::to_string(header.HeaderSize) + " is below " + std::to_string(XwdHeaderBytes);
  if (header.PixmapFormat != XwdZPixmap)
    return "XWD pixmap format " + std::to_string(header.PixmapFormat) + " is not supported (only Z pixmap)";
  if (header.BitsPerPixel != 16 && header.BitsPerPixel != 24 && header.BitsPerPixel != 32)
    return "XWD pixel size of " + std::to_string(header.BitsPerPixel) + " bits is not supported";
  if (header.ByteOrder != XwdLsbFirst && header.ByteOrder != XwdMsbFirst)
    return "XWD byte order " + std::to_string(header.ByteOrder) + " is neither 0 nor 1";
  if (header.Width == 0 || header.Height == 0 || header.Width > 32768 || header.Height > 32768)
    return "XWD image size " + std::to_string(header.Width) + " x " + std::to_string(header.Height) +
           " is out of range";
  if (header.BytesPerLine < uint64_t{header.Width} * (header.BitsPerPixel / 8))
    return "XWD line of " + std::to_string(header.BytesPerLine) + " bytes is too short for " +
           std::to_string(header.Width) + " pixels";
  const TChannel red(header.RedMask), green(header.GreenMask), blue(header.BlueMask);
  if (red.Empty() || green.Empty() || blue.Empty()) return "XWD colour masks are empty (not a true-colour dump)";
  const char* names[] = {"red", "green", "blue"};
  const uint32_t masks[] = {header.RedMask, header.GreenMask, header.BlueMask};
  for (int c = 0; c < 3; ++c) {
    if (!TChannel(masks[c]).IsContiguous())
      return std::string("XWD ") + names[c] + " mask " + HexMask(masks[c]) + " is not one run of bits";
  }
  return "";
}

void DecodePixels(const std::vector<uint8_t>& bytes, const TXwdHeader& header, uint64_t pixelStart,
                  TRgbImage& image) {
  const TChannel red(header.RedMask), green(header.GreenMask), blue(header.BlueMask);
  const uint32_t pixelBytes = header.BitsPerPixel / 8;
  const bool msbFirst = header.ByteOrder == XwdMsbFirst;
  image = TRgbImage(static_cast<int32_t>(header.Width), static_cast<int32_t>(header.Height), 0);
  for (uint32_t y = 0; y < header.Height; ++y) {
    const uint8_t* row = bytes.data() + pixelStart + uint64_t{y} * header.BytesPerLine;
    for (uint32_t x = 0; x < header.Width; ++x) {
      const uint8_t* p = row + uint64_t{x} * pixelBytes;
      uint32_t pixel = 0;
      for (uint32_t b = 0; b < pixelBytes; ++b) pixel = (pixel << 8) | p[msbFirst ? b : pixelBytes - 1 - b];
      image.At(static_cast<int32_t>(x), static_cast<int32_t>(y)) =
          (red.Extract(pixel) << 16) | (green.Extract(pixel) << 8) | blue.Extract(pixel);
    }
  }
}

}  // namespace

bool DecodeXwd(const std::vector<uint8_t>& bytes, TRgbImage& image, std::string& error) {
  if (bytes.size() < XwdHeaderBytes) {
    error = "not an XWD file: " + std::to_string(bytes.size()) + " bytes, shorter than the header";
    return false;
  }
  // xwd writes its header big-endian whatever the machine; accept a swapped
  // one as readers of the format traditionally do.
  TXwdHeader header = ReadHeader(bytes.data(), true);
  if (header.FileVersion != XwdFileVersion) header = ReadHeader(bytes.data(), false);
  if (header.FileVersion != XwdFileVersion) {
    error = "not an XWD version 7 file";
    return false;
  }
  error = HeaderProblem(header);
  if (!error.empty()) return false;
  const uint64_t pixelStart = uint64_t{header.HeaderSize} + uint64_t{header.NColors} * XwdColorBytes;
  const uint64_t pixelEnd = pixelStart + uint64_t{header.BytesPerLine} * header.Height;
  if (pixelEnd > bytes.size()) {
    error = "XWD file is truncated: " + std::to_string(bytes.size()) + " bytes, pixels need " +
            std::to_string(pixelEnd);
    return false;
  }
  DecodePixels(bytes, header, pixelStart, image);
  return true;
}

bool LoadXwd(const std::string& path, TRgbImage& image, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!ReadFile(path, bytes, error)) return false;
  if (!DecodeXwd(bytes, image, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

}  // namespace runeplate
