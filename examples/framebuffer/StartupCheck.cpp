#include "StartupCheck.h"

namespace example {
namespace {

// Read through a volatile so that the compiler cannot turn the constructor
// into constant data: only the start-up can set Mark.
volatile unsigned char Seed = 0x5A;

struct TConstructed {
  unsigned char Mark;
  TConstructed() : Mark(Seed) {}
};

TConstructed Constructed;

}  // namespace

bool GlobalsWereConstructed() { return Constructed.Mark == 0x5A; }

}  // namespace example
