#include "font/HanFile.h"

#include <algorithm>

namespace runeplate {

namespace {

constexpr int32_t InitialLetters = InitialSetSize, MedialLetters = MedialSetSize,
                  FinalLetters = FinalSetSize;
constexpr int32_t MedialFileStart = 8 * (InitialLetters + 1);                 // 160
constexpr int32_t FinalFileStart = MedialFileStart + 4 * (MedialLetters + 1);  // 248
static_assert(FinalFileStart + 4 * (FinalLetters + 1) == HanGlyphCount);

// The file's sets follow ours, each one glyph longer for its fill.
constexpr int32_t RoleFileStart[3] = {0, MedialFileStart, FinalFileStart};

}  // namespace

int32_t HanFileGlyph(int32_t glyph) {
  const TGlyphLetter letter = LetterOfGlyph(glyph);
  return RoleFileStart[letter.Role] + letter.Set * (SetSizeOf(letter.Role) + 1) + letter.Index;
}

bool IsHanFillGlyph(int32_t index) {
  if (index < MedialFileStart) return index % (InitialLetters + 1) == 0;
  if (index < FinalFileStart) return (index - MedialFileStart) % (MedialLetters + 1) == 0;
  return (index - FinalFileStart) % (FinalLetters + 1) == 0;
}

THanDecodeResult DecodeHanFile(const std::vector<uint8_t>& bytes, TFontImage& image) {
  THanDecodeResult result;
  if (bytes.size() != HanFileBytes && bytes.size() != HanFilePaddedBytes) {
    result.Error = "not an 8x4x4 font file: " + std::to_string(bytes.size()) + " bytes, not " +
                   std::to_string(HanFileBytes) + " or " + std::to_string(HanFilePaddedBytes);
    return result;
  }
  if (std::any_of(bytes.begin() + HanFileBytes, bytes.end(), [](uint8_t b) { return b != 0; })) {
    result.Error = "not an 8x4x4 font file: its last 32 of " + std::to_string(bytes.size()) +
                   " bytes are not zero";
    return result;
  }
  for (int32_t index = 0; index < HanGlyphCount; ++index) {
    if (!IsHanFillGlyph(index)) continue;
    const auto glyph = bytes.begin() + index * HanGlyphBytes;
    result.InkedFills += std::any_of(glyph, glyph + HanGlyphBytes, [](uint8_t b) { return b != 0; });
  }
  for (int32_t g = 0; g < HangulGlyphCount; ++g) {
    const uint8_t* glyph = bytes.data() + HanFileGlyph(g) * HanGlyphBytes;
    const TRect cell = HangulCell(g);
    for (int32_t y = 0; y < 16; ++y) {
      for (int32_t x = 0; x < 16; ++x) image.SetInk(cell.Left + x, cell.Top + y, FontRowInk(glyph + 2 * y, x));
    }
  }
  result.Ok = true;
  return result;
}

std::vector<uint8_t> EncodeHanFile(const TFontImage& image) {
  std::vector<uint8_t> bytes(HanFileBytes, 0);
  for (int32_t g = 0; g < HangulGlyphCount; ++g) {
    uint8_t* glyph = bytes.data() + HanFileGlyph(g) * HanGlyphBytes;
    const TRect cell = HangulCell(g);
    for (int32_t y = 0; y < 16; ++y) {
      for (int32_t x = 0; x < 16; ++x) {
        if (image.IsInk(cell.Left + x, cell.Top + y)) glyph[2 * y + x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
      }
    }
  }
  return bytes;
}

bool DecodeAsciiFontFile(const std::vector<uint8_t>& bytes, uint32_t first, uint32_t last,
                         TFontImage& image, std::string& error) {
  if (bytes.size() != AsciiFontFileBytes) {
    error = "not an 8 x 16 font file: " + std::to_string(bytes.size()) + " bytes, not " +
            std::to_string(AsciiFontFileBytes);
    return false;
  }
  for (uint32_t code = first; code <= last && code < 128; ++code) {
    const TRect cell = AsciiCell(static_cast<int32_t>(code));
    for (int32_t y = 0; y < 16; ++y) {
      const uint8_t row = bytes[code * 16 + static_cast<uint32_t>(y)];
      for (int32_t x = 0; x < 8; ++x) image.SetInk(cell.Left + x, cell.Top + y, FontRowInk(&row, x));
    }
  }
  return true;
}

}  // namespace runeplate
