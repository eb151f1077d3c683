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

// The stored row that holds image row `y` (0 = top), and equally the image
// row that stored row `y` holds: the file keeps the bottom row first.
constexpr int32_t StoredFontRow(int32_t y) { return FontImageHeight - 1 - y; }

// Whether pixel `x` (0..511) of one stored or in-memory `row` is ink.
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

// The image held by a pixel block: `block` points at FontFilePixelBytes bytes
// in file order (the last bytes of a font file).
TFontImage DecodeFontPixels(const uint8_t* block);

// The pixel block of `image`, FontFilePixelBytes bytes in file order.
std::vector<uint8_t> EncodeFontPixels(const TFontImage& image);

// The font files we write are 1-bit bottom-up bitmaps: a 62-byte header
// (file header, information header, two-colour palette) before the pixel
// block, so any image viewer opens them.
constexpr size_t FontFileHeaderBytes = 14 + 40 + 2 * 4;
constexpr size_t FontFileBytes = FontFileHeaderBytes + FontFilePixelBytes;  // 16446

// `image` as a complete font file. Palette index 0 is white and index 1
// black, so viewers show dark ink on a light background.
std::vector<uint8_t> EncodeFontFile(const TFontImage& image);

// Why `file` is not a font atlas of the kind we write, in one line, or an
// empty string when it is one: a bitmap file ("BM") whose information header
// (40 bytes or longer) says 512 x 256, bottom-up, one plane of 1 bit a pixel,
// uncompressed, with its pixels ending the file. The program reads the last
// 16384 bytes of any file all the same; this is the one rule for whether a
// file shows what was meant.
std::string FontBitmapProblem(const std::vector<uint8_t>& file);

// Whether `file` is a font atlas by FontBitmapProblem's rule.
inline bool IsFontBitmap(const std::vector<uint8_t>& file) { return FontBitmapProblem(file).empty(); }

// Reads a font file as an atlas to convert or edit, stricter than the program,
// which takes the last 16384 bytes of any file: only a file that IsFontBitmap.
// False with FontBitmapProblem's reason in `error` otherwise, `image`
// untouched.
bool DecodeFontFile(const std::vector<uint8_t>& file, TFontImage& image, std::string& error);

// The pixel block as C source, for programs that carry the font in their
// image: a header declaring `static const unsigned char name[16384]`, the
// block of `image` in file order (bottom image row first), 16 bytes a line,
// behind a comment holding `notice` (one or more lines: where the atlas came
// from and its licence) and how to read pixel (x, y). `name` must be a C
// identifier (IsCIdentifier).
std::string EncodeFontCArray(const TFontImage& image, const std::string& name,
                             const std::string& notice);

// C source of one array for a font carried in a program's image: a header
// declaring `static const unsigned char name[bytes.size()]`, 16 bytes a line,
// behind a comment holding `notice`'s lines and then `layout` (comment lines
// that say how to read the bytes), guarded by CArrayGuard(name). `preamble`
// comes before the array (preprocessor lines), `placement` after its
// declarator (an attribute such as RUNEPLATE_FLASH). `name` must be a C
// identifier (IsCIdentifier).
std::string EncodeCArray(const std::string& name, const std::vector<uint8_t>& bytes,
                         const std::string& notice, const std::string& layout,
                         const std::string& preamble, const std::string& placement);

// Whether `name` can name a C array in a header that C and C++ include: a
// letter, then letters, digits and underscores, no double underscore (such
// names are reserved), and no keyword of C or C++.
bool IsCIdentifier(const std::string& name);

// The include guard of the header EncodeCArray writes for `name`: one that
// no other header of ours uses and that differs for every name.
std::string CArrayGuard(const std::string& name);

}  // namespace runeplate
