// The Arduino library's entry header: the C interface (c/runeplate.h). The
// Round font in its compact form is runeplate_round.h.
#ifndef RUNEPLATE_ARDUINO_H
#define RUNEPLATE_ARDUINO_H
#include "c/runeplate.h"
#endif
