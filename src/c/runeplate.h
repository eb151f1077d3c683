/* runeplate.h: Hangul and Latin text for small displays, from C.
 *
 * The Runeplate layout engine and glyph composer behind plain C99 functions,
 * for firmware and display libraries written in C. Every syllable of modern
 * Hangul is laid together from at most three of 344 jamo glyphs, so one font
 * of 12,528 bytes (the compact form that `runeplate-fontgen ATLAS -o font.h
 * --compact` writes) draws all 11,172 of them.
 *
 * Text is UTF-8 and laid out as people write it: conjoining jamo form their
 * syllable, a line feed, carriage return or CR LF starts a new line 16 pixels
 * lower, and lines can wrap at spaces. ASCII characters are 8 x 16 pixels,
 * every other character 16 x 16. Nothing allocates, nothing keeps state
 * between calls, and the caller's pointer is handed to every callback. On the
 * AVR the font must be in flash (the compact header puts it there).
 *
 * Pictures are 32 bytes: 16 rows of 2 bytes, top row first, the most
 * significant bit of each row's first byte its leftmost pixel, a set bit ink.
 * An 8-pixel-wide character leaves the second byte of each row clear.
 */
#ifndef RUNEPLATE_H
#define RUNEPLATE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* How a font's bytes are laid out: the whole 512 x 256 atlas, top or bottom
 * row first (the atlas file's pixel block, as `runeplate-fontgen ATLAS -o
 * font.h` writes it, is bottom row first), or the compact form. Mirrors the
 * composer's TFontRowOrder, which the implementation checks at compile time. */
enum runeplate_font_layout {
  RUNEPLATE_ATLAS_TOP_ROW_FIRST = 0,
  RUNEPLATE_ATLAS_BOTTOM_ROW_FIRST = 1,
  RUNEPLATE_COMPACT = 2
};

/* The size in bytes of a font of each layout: an atlas is 64 bytes a row for
 * 256 rows; the compact form keeps the 95 printable ASCII glyphs (16 bytes
 * each) and the 344 jamo glyphs (32 bytes each). */
#define RUNEPLATE_ATLAS_BYTES 16384u
#define RUNEPLATE_COMPACT_BYTES 12528u

/* What runeplate_font_init says of a font. */
enum runeplate_status {
  RUNEPLATE_OK = 0,
  RUNEPLATE_NULL_ARGUMENT = -1, /* `font` or `pixels` was null */
  RUNEPLATE_UNKNOWN_LAYOUT = -2, /* `layout` is no runeplate_font_layout */
  RUNEPLATE_WRONG_SIZE = -3 /* `size` is not the size of `layout`'s fonts */
};

/* A font: its bytes, their layout, and whether the atlas draws the
 * compatibility letters (U+3131..U+3163) in cells of their own. Fill it with
 * runeplate_font_init only; a font whose init failed (pixels null) draws
 * nothing. */
typedef struct runeplate_font {
  const uint8_t* pixels;
  uint8_t layout;
  uint8_t letter_cells;
} runeplate_font;

/* Where the pen stands after text: the left edge of the next character and
 * the top edge of its line. */
typedef struct runeplate_pen {
  int32_t x;
  int32_t y;
} runeplate_pen;

/* The size of a block of text in pixels. */
typedef struct runeplate_size {
  int32_t width;
  int32_t height;
} runeplate_size;

/* Called once for each character drawn: its top-left corner `x`, `y` on the
 * caller's display, its `width` (8 or 16) and `height` (16), its `picture`
 * (32 bytes, see above; valid during the call only) and the caller's
 * `user` pointer. */
typedef void (*runeplate_draw_fn)(int32_t x, int32_t y, int32_t width, int32_t height,
                                  const uint8_t* picture, void* user);

/* Fills `font` for the `size` bytes at `pixels` laid out as `layout` (a
 * runeplate_font_layout): `size` must be RUNEPLATE_ATLAS_BYTES for an atlas
 * layout and RUNEPLATE_COMPACT_BYTES for the compact one, and the bytes must
 * stay in place as long as the font is used. Returns RUNEPLATE_OK, or a
 * negative runeplate_status for a null `font` or `pixels`, an unknown
 * `layout` or a wrong `size`; on failure `font` (when not null) is left
 * empty, so that drawing with it draws nothing. Looks through the atlas's
 * letter cells once, so call it once per font, not per string. */
int runeplate_font_init(runeplate_font* font, const uint8_t* pixels, size_t size, int layout);

/* Draws `length` bytes of UTF-8 `text` with `font`, the first line's top-left
 * corner at `x`, `y`, calling `draw` with `user` for each character. Lines
 * wider than `wrap_width` pixels wrap at spaces, and spaces past it at a
 * line's end are not drawn (0 or less: only line breaks end lines).
 * Ill-formed UTF-8 is drawn as replacement characters. Returns the pen after
 * the text. Draws nothing and returns `x`, `y` for a null `text`, `font` or
 * `draw`, or a font whose init failed. */
runeplate_pen runeplate_draw_utf8(const runeplate_font* font, int32_t x, int32_t y,
                                  const char* text, size_t length, int32_t wrap_width,
                                  runeplate_draw_fn draw, void* user);

/* Writes the picture of code point `code_point` alone into `picture` (32
 * bytes) and returns its width: 8 for ASCII, 16 otherwise. With a null
 * `font`, or one whose init failed, writes a blank picture and returns 0; a
 * null `picture` is written nothing and gives 0. */
int32_t runeplate_compose(const runeplate_font* font, uint32_t code_point, uint8_t* picture);

/* The size of `length` bytes of UTF-8 `text` as runeplate_draw_utf8 lays it
 * out with `wrap_width`: its widest line and 16 pixels a line; 0 x 0 for
 * empty or null text. Needs no font: every font has the same cells. */
runeplate_size runeplate_measure_utf8(const char* text, size_t length, int32_t wrap_width);

#ifdef __cplusplus
}
#endif

#endif /* RUNEPLATE_H */
