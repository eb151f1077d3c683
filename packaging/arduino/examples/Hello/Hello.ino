// Draws "안녕, 세상!" (Hello, world!) with Runeplate and prints it to the
// serial monitor as rows of '#' and '.'. A display library takes the place of
// Serial: hand each set bit of the picture to its draw-pixel call, or the
// whole picture to its draw-bitmap call (16 pixels, 2 bytes a row).
#include <runeplate.h>
#include <runeplate_round.h>

static uint8_t rows[16][8];  // a 64 x 16 pixel canvas

static void draw(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* picture,
                 void* user) {
  (void)user;
  for (int32_t dy = 0; dy < height; ++dy)
    for (int32_t dx = 0; dx < width; ++dx)
      if ((picture[2 * dy + dx / 8] >> (7 - dx % 8)) & 1) {
        const int32_t px = x + dx, py = y + dy;
        if (px < 64 && py < 16) rows[py][px / 8] |= 0x80 >> (px % 8);
      }
}

void setup() {
  Serial.begin(9600);
  runeplate_font font;
  runeplate_font_init(&font, runeplate_round, sizeof runeplate_round, RUNEPLATE_COMPACT);
  static const char text[] = "\xEC\x95\x88\xEB\x85\x95!";  // 안녕!
  runeplate_draw_utf8(&font, 0, 0, text, sizeof text - 1, 0, draw, nullptr);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 64; ++x) Serial.print((rows[y][x / 8] >> (7 - x % 8)) & 1 ? '#' : '.');
    Serial.println();
  }
}

void loop() {}
