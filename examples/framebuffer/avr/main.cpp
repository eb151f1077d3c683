// The framebuffer example as firmware for the ATmega328P of an Arduino Uno:
// draws the example's screen from the compact font in flash and sends the
// frame buffer to the host through UART0, one display row a line in hex (32
// digits, the leftmost pixel in the first digit's top bit) between "P4 128 64"
// and "end". Then it times drawing one Hangul syllable and one ASCII
// character with Timer1, which counts CPU cycles, and sends
// "cycles hangul N" and "cycles ascii N"; last "constructed" if
// avr-libc's start-up ran the constructors of globals (short, and one string
// only: strings take RAM). Under simavr, `cli` and `sleep` end the run.
#include <avr/interrupt.h>
#include <avr/io.h>
#include <avr/sleep.h>

#include "Screen.h"
#include "StartupCheck.h"
#include "runeplate_round.h"

namespace {

example::TFrameBuffer Frame;

void SendByte(uint8_t byte) {
  while ((UCSR0A & (1 << UDRE0)) == 0) {
  }
  UDR0 = byte;
}

void SendText(const char* text) {
  while (*text != 0) SendByte(static_cast<uint8_t>(*text++));
}

void SendHex(uint8_t byte) {
  const char digits[] = "0123456789ABCDEF";
  SendByte(static_cast<uint8_t>(digits[byte >> 4]));
  SendByte(static_cast<uint8_t>(digits[byte & 15]));
}

void SendNumber(uint16_t value) {
  char digits[6];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (count > 0) SendByte(static_cast<uint8_t>(digits[--count]));
}

// Cycles taken to draw `length` bytes of `text` at (40, 40), the timer's own
// start and stop included (a few cycles).
uint16_t CyclesToDraw(const runeplate_font& font, const char* text, size_t length) {
  TCNT1 = 0;
  TCCR1B = 1 << CS10;  // count every CPU cycle
  runeplate_draw_utf8(&font, 40, 40, text, length, 0, example::BlitPicture, &Frame);
  const uint16_t cycles = TCNT1;  // read while it runs: simavr stops it at 0
  TCCR1B = 0;
  return cycles;
}

}  // namespace

int main() {
  UBRR0 = 0;
  UCSR0B = 1 << TXEN0;
  runeplate_font font;
  runeplate_font_init(&font, runeplate_round, sizeof runeplate_round, RUNEPLATE_COMPACT);
  example::DrawScreen(font, Frame);

  SendText("P4 128 64\n");
  for (const auto& row : Frame) {
    for (uint8_t byte : row) SendHex(byte);
    SendByte('\n');
  }
  SendText("end\n");

  SendText("cycles hangul ");
  SendNumber(CyclesToDraw(font, "\xED\x95\x9C", 3));  // 한: three jamo glyphs
  SendText("\ncycles ascii ");
  SendNumber(CyclesToDraw(font, "R", 1));
  SendByte('\n');
  if (example::GlobalsWereConstructed()) SendText("constructed\n");

  cli();
  sleep_cpu();
  return 0;
}
