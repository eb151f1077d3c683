// FontFile: the font atlas as the program reads it from disk.
//
// The file's last 16384 bytes are the 512 x 256 font image, 1 bit a pixel:
// 256 stored rows of 64 bytes, the bottom image row first, the most
// significant bit of each byte the leftmost of its eight pixels, a set bit
// ink. Whatever comes before them (the files we write carry a bitmap header
// there) is ignored. The program, the reference renderer, the font generator
// and the tests all go through this one description. Platform-free.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "font/GlyphComposer.h"
#include "text/UDrawText.h"

namespace runeplate {

// The font file, a bare name looked up in the current directory.
constexpr const char* FontFileName = "a1bit.bmp";

// One stored row: the 512 pixels of an image row, 8 to a byte.
constexpr int32_t FontFileRowBytes = FontImageWidth / 8;  // 64
// The pixel block at the end of the file.
constexpr int32_t FontFilePixelBytes = FontFileRowBytes * FontImageHeight;  // 16384

// The stored row that holds image row Y (0 = top), and equally the image row
// that stored row Y holds: the file keeps the bottom row first.
constexpr int32_t StoredFontRow(int32_t y) { return FontImageHeight - 1 - y; }

// Whether pixel X (0..511) of one stored or in-memory row is ink.
constexpr bool FontRowInk(const uint8_t* row, int32_t x) {
  return ((row[x / 8] >> (7 - x % 8)) & 1) != 0;
}

// The font image in memory: top row first, otherwise packed like the file.
struct TFontImage {
  std::array<uint8_t, FontFilePixelBytes> Bits{};

  bool IsInk(int32_t x, int32_t y) const { return FontRowInk(Bits.data() + y * FontFileRowBytes, x); }
  void SetInk(int32_t x, int32_t y, bool ink) {
    uint8_t& byte = Bits[static_cast<size_t>(y * FontFileRowBytes + x / 8)];
    const uint8_t mask = static_cast<uint8_t>(0x80u >> (x % 8));
    byte = ink ? static_cast<uint8_t>(byte | mask) : static_cast<uint8_t>(byte & ~mask);
  }
  bool operator==(const TFontImage& other) const { return Bits == other.Bits; }
  bool operator!=(const TFontImage& other) const { return Bits != other.Bits; }
};

// The image as the glyph composer reads it.
inline TFontView ViewOf(const TFontImage& image) { return {image.Bits.data(), FontTopRowFirst}; }

// The image held by a pixel block: Block points at FontFilePixelBytes bytes in
// file order (the last bytes of a font file).
TFontImage DecodeFontPixels(const uint8_t* block);

// The pixel block of Image, FontFilePixelBytes bytes in file order.
std::vector<uint8_t> EncodeFontPixels(const TFontImage& image);

// The font files we write are 1-bit bottom-up bitmaps: a 62-byte header
// (file header, information header, two-colour palette) before the pixel
// block, so any image viewer opens them.
constexpr size_t FontFileHeaderBytes = 14 + 40 + 2 * 4;
constexpr size_t FontFileBytes = FontFileHeaderBytes + FontFilePixelBytes;  // 16446

// Image as a complete font file. Palette index 0 is white and index 1 black,
// so viewers show dark ink on a light background.
std::vector<uint8_t> EncodeFontFile(const TFontImage& image);

// Reads a font file as an atlas to convert or edit, stricter than the program,
// which takes the last 16384 bytes of any file: a bitmap file ("BM") whose
// header says 512 x 256, bottom-up, 1 bit a pixel, uncompressed, with its
// pixels ending the file. False with a one-line reason otherwise, Image
// untouched.
bool DecodeFontFile(const std::vector<uint8_t>& file, TFontImage& image, std::string& error);

// The pixel block as C source, for programs that carry the font in their
// image: a header declaring `static const unsigned char Name[16384]`, the
// block in file order (bottom image row first), 16 bytes a line, behind a
// comment holding Notice (one or more lines: where the atlas came from and
// its licence) and how to read pixel (x, y). Name must be a C identifier
// (IsCIdentifier).
std::string EncodeFontCArray(const TFontImage& image, const std::string& name,
                             const std::string& notice);

// C source of one array for a font carried in a program's image: a header
// declaring `static const unsigned char Name[bytes.size()]`, 16 bytes a line,
// behind a comment holding Notice's lines and then Layout (comment lines
// that say how to read the bytes), guarded by NAME_H. Preamble comes before
// the array (preprocessor lines), Placement after its declarator (an
// attribute such as RUNEPLATE_FLASH). Name must be a C identifier.
std::string EncodeCArray(const std::string& name, const std::vector<uint8_t>& bytes,
                         const std::string& notice, const std::string& layout,
                         const std::string& preamble, const std::string& placement);

// Whether Name can name a C array: a letter or underscore, then letters,
// digits and underscores.
bool IsCIdentifier(const std::string& name);

}  // namespace runeplate
