// XwdFile: reads the screen dumps that `xwd -root` writes (X Window Dump,
// file version 7), so that screenshots of the program running on an X server
// can be compared with the reference renderer.
//
// Layout: a header of 25 unsigned 32-bit fields (written big-endian by xwd;
// a byte-swapped header is accepted too), the window name up to header_size,
// ncolors colour-map entries of 12 bytes, then height rows of bytes_per_line
// bytes. Only true-colour Z pixmaps are read: each pixel of bits_per_pixel
// bits (16, 24 or 32) is assembled in the file's byte_order and split into
// red, green and blue through the header's masks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/Picture.h"

namespace runeplate {

// The header fields, in file order.
struct TXwdHeader {
  uint32_t HeaderSize;
  uint32_t FileVersion;
  uint32_t PixmapFormat;
  uint32_t PixmapDepth;
  uint32_t Width;
  uint32_t Height;
  uint32_t XOffset;
  uint32_t ByteOrder;
  uint32_t BitmapUnit;
  uint32_t BitmapBitOrder;
  uint32_t BitmapPad;
  uint32_t BitsPerPixel;
  uint32_t BytesPerLine;
  uint32_t VisualClass;
  uint32_t RedMask;
  uint32_t GreenMask;
  uint32_t BlueMask;
  uint32_t BitsPerRgb;
  uint32_t ColormapEntries;
  uint32_t NColors;
  uint32_t WindowWidth;
  uint32_t WindowHeight;
  uint32_t WindowX;
  uint32_t WindowY;
  uint32_t WindowBorderWidth;
};

constexpr uint32_t XwdFileVersion = 7;
constexpr uint32_t XwdHeaderFields = 25;
constexpr uint32_t XwdHeaderBytes = XwdHeaderFields * 4;  // 100, before the window name
constexpr uint32_t XwdColorBytes = 12;                    // one colour-map entry
constexpr uint32_t XwdZPixmap = 2;
constexpr uint32_t XwdLsbFirst = 0;  // byte_order: least significant byte first
constexpr uint32_t XwdMsbFirst = 1;

// Decodes a whole XWD file held in `bytes` into `image` (0x00RRGGBB pixels).
// Returns false with a one-line message in `error` on anything it cannot
// read: a short
// or truncated file, another file version, a format other than Z pixmap, an
// unsupported pixel size, empty masks, a mask that is not one run of bits,
// or a size beyond 32768 x 32768.
bool DecodeXwd(const std::vector<uint8_t>& bytes, TRgbImage& image, std::string& error);

// Reads the XWD file at `path`; on failure the message names the file.
bool LoadXwd(const std::string& path, TRgbImage& image, std::string& error);

}  // namespace runeplate
