#include "Screen.h"

namespace example {

const char TitleText[] = "Runeplate";
const char GreetingText[] = "\xEC\x95\x88\xEB\x85\x95, \xEC\x84\xB8\xEC\x83\x81!";  // 안녕, 세상!

namespace {

// Any picture off the byte grid or partly outside the display. Out of line,
// its arguments in BlitPicture's order: the fast path there then hands them
// on where they already are and saves and restores only the few registers
// it uses, which on the AVR was most of the cost of an on-grid character.
#if defined(__GNUC__)
__attribute__((noinline))
#endif
void BlitClipped(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* picture,
                 TFrameBuffer& frame) {
  if (width <= 0 || y >= DisplayHeight || y <= -height || x <= -16 || x >= DisplayWidth) return;
  int32_t top = 0, bottom = height;
  if (y < 0) top = -y;
  if (y + bottom > DisplayHeight) bottom = DisplayHeight - y;
  const uint8_t shift = static_cast<uint8_t>(x & 7);
  const int16_t first = static_cast<int16_t>(x >> 3);
  const uint8_t* row = picture + 2 * top;
  // A row of the picture covers display bytes first .. first + 2, of which
  // those inside the display and holding pixels are written; `lead` of them
  // lie left of the display.
  const int16_t bytes = width > 8 || shift != 0 ? (width > 8 && shift != 0 ? 3 : 2) : 1;
  const int16_t lead = first < 0 ? static_cast<int16_t>(-first) : 0;
  bool writes[3];
  for (int16_t k = 0; k < 3; ++k)
    writes[k] = k + lead < bytes && first + lead + k < DisplayRowBytes;
  uint8_t* line = frame[y + top] + first + lead;
  for (uint8_t count = static_cast<uint8_t>(bottom - top); count != 0;
       --count, row += 2, line += DisplayRowBytes) {
    uint8_t left = row[0], right = row[1], spill = 0;
    if (shift != 0) {
      const uint16_t moved = static_cast<uint16_t>((left << 8 | right) >> shift);
      spill = static_cast<uint8_t>(right << (8 - shift));
      left = static_cast<uint8_t>(moved >> 8);
      right = static_cast<uint8_t>(moved);
    }
    if (lead == 1) left = right, right = spill;
    if (lead == 2) left = spill;
    if (writes[0]) line[0] |= left;
    if (writes[1]) line[1] |= right;
    if (writes[2]) line[2] |= spill;
  }
}

}  // namespace

void BlitPicture(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* picture,
                 void* user) {
  TFrameBuffer& frame = *static_cast<TFrameBuffer*>(user);
  // On the byte grid and inside the display, as nearly every character of
  // a line that starts on the grid is (advances are 8 and 16): whole bytes,
  // no masks. Tested and drawn a byte at a time: on the 8-bit AVR every
  // 32-bit operation takes four registers, and with the arguments in nearly
  // all of them each temporary costs a save and a restore.
  if (static_cast<uint32_t>(x) <= 0xFF && static_cast<uint32_t>(y) <= 0xFF &&
      static_cast<uint32_t>(width) <= 0xFF && height == 16) {
    const uint8_t left = static_cast<uint8_t>(x), top = static_cast<uint8_t>(y),
                  wide = static_cast<uint8_t>(width);
    constexpr uint8_t lastTop = DisplayHeight - 16;
    if ((left & 7) == 0 && static_cast<uint8_t>(wide - 1) < 16 &&
        left <= static_cast<uint8_t>(DisplayWidth - wide) && top <= lastTop) {
      uint8_t* line = &frame[top][static_cast<uint8_t>(left >> 3)];
      const uint8_t* row = picture;
      if (wide > 8) {
        for (uint8_t count = 16; count != 0; --count, row += 2, line += DisplayRowBytes) {
          line[0] |= row[0];
          line[1] |= row[1];
        }
      } else {
        // Four rows a turn for the ASCII characters, the most of most text:
        // the AVR reaches a row 16, 32 or 48 bytes on by displacement, where
        // each step of the pointer costs it two cycles.
        constexpr int32_t R = DisplayRowBytes;
        for (uint8_t count = 4; count != 0; --count, row += 8, line += 4 * R) {
          line[0] |= row[0];
          line[R] |= row[2];
          line[2 * R] |= row[4];
          line[3 * R] |= row[6];
        }
      }
      return;
    }
  }
  BlitClipped(x, y, width, height, picture, frame);
}

namespace {

size_t LengthOf(const char* text) {
  size_t length = 0;
  while (text[length] != 0) ++length;
  return length;
}

}  // namespace

void DrawScreen(const runeplate_font& font, TFrameBuffer& frame) {
  for (auto& row : frame)
    for (uint8_t& byte : row) byte = 0;
  runeplate_draw_utf8(&font, 0, 8, TitleText, LengthOf(TitleText), 0, BlitPicture, &frame);
  runeplate_draw_utf8(&font, 0, 32, GreetingText, LengthOf(GreetingText), 0, BlitPicture,
                      &frame);
}

}  // namespace example
