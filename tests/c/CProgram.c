/* A C99 program of a firmware author's: the C interface and the compact
 * font header, compiled with -std=c99 -pedantic -Wall -Werror. Exits 0 when
 * what it draws and measures is what the interface promises. */
#include <stdio.h>
#include <string.h>

#include "runeplate_round.h"
#include "c/runeplate.h"

struct counts {
  int characters;
  int ink;
};

static void count(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* picture,
                  void* user) {
  struct counts* seen = (struct counts*)user;
  int k;
  (void)x, (void)y, (void)width, (void)height;
  seen->characters += 1;
  for (k = 0; k < 32; ++k) seen->ink += picture[k] != 0;
}

int main(void) {
  static const char text[] = "Hello, \xED\x95\x9C\xEA\xB8\x80!"; /* Hello, 한글! */
  runeplate_font font;
  struct counts seen = {0, 0};
  uint8_t picture[32];
  runeplate_size size;
  runeplate_pen pen;

  runeplate_font_init(&font, runeplate_round, sizeof runeplate_round, RUNEPLATE_COMPACT);
  pen = runeplate_draw_utf8(&font, 0, 0, text, strlen(text), 0, count, &seen);
  size = runeplate_measure_utf8(text, strlen(text), 0);
  if (seen.characters != 10 || seen.ink == 0) return fprintf(stderr, "drew %d\n", seen.characters), 1;
  if (pen.x != 8 * 8 + 2 * 16 || size.width != pen.x || size.height != 16) return fprintf(stderr, "measured %d\n", (int)size.width), 1;
  if (runeplate_compose(&font, 0xD55C, picture) != 16 || runeplate_compose(&font, 'A', picture) != 8) return 1;
  puts("PASS: a C99 program draws, composes and measures through runeplate.h");
  return 0;
}
