#include "Screen.h"

namespace example {

const char TitleText[] = "Runeplate";
const char GreetingText[] = "\xEC\x95\x88\xEB\x85\x95, \xEC\x84\xB8\xEC\x83\x81!";  // 안녕, 세상!

void BlitPicture(TFrameBuffer& frame, int32_t x, int32_t y, int32_t width, int32_t height,
                 const uint8_t* picture) {
  // Clipped once for the whole picture, then drawn in 8- and 16-bit steps
  // only: the 8-bit AVR draws with this too, where every 32-bit operation
  // and every shift by a variable count is a loop.
  if (y >= DisplayHeight || y <= -height || x <= -16 || x >= DisplayWidth) return;
  int32_t top = 0, bottom = height;
  if (y < 0) top = -y;
  if (y + bottom > DisplayHeight) bottom = DisplayHeight - y;
  const uint8_t shift = static_cast<uint8_t>(x & 7);
  const int16_t first = static_cast<int16_t>(x >> 3);
  const uint8_t bytes = width > 8 || shift != 0 ? (width > 8 && shift != 0 ? 3 : 2) : 1;
  uint8_t* line = frame[y + top];
  const uint8_t* row = picture + 2 * top;
  for (uint8_t count = static_cast<uint8_t>(bottom - top); count != 0;
       --count, row += 2, line += DisplayRowBytes) {
    // The row's 16 pixels moved right by `shift`, in 24 bits: parts[0..2].
    const uint16_t moved = static_cast<uint16_t>((row[0] << 8 | row[1]) >> shift);
    const uint8_t parts[3] = {static_cast<uint8_t>(moved >> 8), static_cast<uint8_t>(moved),
                              static_cast<uint8_t>(row[1] << (8 - shift))};
    for (uint8_t k = 0; k < bytes; ++k) {
      const int16_t column = static_cast<int16_t>(first + k);
      if (column >= 0 && column < DisplayRowBytes) line[column] |= parts[k];
    }
  }
}

namespace {

void DrawCharacter(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* picture,
                   void* user) {
  BlitPicture(*static_cast<TFrameBuffer*>(user), x, y, width, height, picture);
}

size_t LengthOf(const char* text) {
  size_t length = 0;
  while (text[length] != 0) ++length;
  return length;
}

}  // namespace

void DrawScreen(const runeplate_font& font, TFrameBuffer& frame) {
  for (auto& row : frame)
    for (uint8_t& byte : row) byte = 0;
  runeplate_draw_utf8(&font, 0, 8, TitleText, LengthOf(TitleText), 0, DrawCharacter, &frame);
  runeplate_draw_utf8(&font, 0, 32, GreetingText, LengthOf(GreetingText), 0, DrawCharacter,
                      &frame);
}

}  // namespace example
