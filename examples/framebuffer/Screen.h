// The framebuffer example's picture: what it draws, into what, on every
// target (the native program and every firmware), so that the pictures they
// hand back can be compared byte for byte. Freestanding.
#pragma once

#include <stdint.h>

#include "c/runeplate.h"

namespace example {

// The display: 128 x 64 pixels, one bit a pixel, 16 bytes a row, the leftmost
// pixel in the top bit (the layout of most monochrome display controllers,
// and of PBM's P4).
constexpr int32_t DisplayWidth = 128;
constexpr int32_t DisplayHeight = 64;
constexpr int32_t DisplayRowBytes = DisplayWidth / 8;
using TFrameBuffer = uint8_t[DisplayHeight][DisplayRowBytes];

// The example's two lines: "Runeplate" and a greeting in Hangul.
extern const char TitleText[];
extern const char GreetingText[];

// Clears `frame` and draws the example's lines into it with `font`.
void DrawScreen(const runeplate_font& font, TFrameBuffer& frame);

// ORs a character's `picture` into the TFrameBuffer `frame` points to at
// `x`, `y`, clipped to the display: the draw callback (a runeplate_draw_fn)
// a display driver would have, handed to runeplate_draw_utf8 itself rather
// than through a wrapper, whose call and shuffle of six arguments cost the
// 8-bit AVR about 90 cycles a character.
void BlitPicture(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* picture,
                 void* frame);

}  // namespace example
