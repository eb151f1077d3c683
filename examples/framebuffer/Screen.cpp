#include "Screen.h"

namespace example {

const char TitleText[] = "Runeplate";
const char GreetingText[] = "\xEC\x95\x88\xEB\x85\x95, \xEC\x84\xB8\xEC\x83\x81!";  // 안녕, 세상!

void BlitPicture(TFrameBuffer& frame, int32_t x, int32_t y, int32_t width, int32_t height,
                 const uint8_t* picture) {
  for (int32_t row = 0; row < height; ++row) {
    const int32_t dy = y + row;
    if (dy < 0 || dy >= DisplayHeight) continue;
    // A row of up to 16 pixels spans at most three display bytes: shift it
    // into place once instead of setting pixels one by one.
    const uint32_t bits = (static_cast<uint32_t>(picture[2 * row]) << 16 |
                           static_cast<uint32_t>(picture[2 * row + 1]) << 8) >>
                          (x & 7);
    const int32_t first = (x >> 3);
    for (int32_t k = 0; k < 3; ++k) {
      const uint8_t byte = static_cast<uint8_t>(bits >> (16 - 8 * k));
      const int32_t column = first + k;
      if (byte != 0 && column >= 0 && column < DisplayRowBytes) frame[dy][column] |= byte;
    }
    (void)width;  // the picture's unused pixels are clear
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
