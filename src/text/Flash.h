// Flash: constant tables that stay in program memory on small devices, and
// the one switch of what is inlined.
//
// On the 8-bit AVR, flash and RAM are separate address spaces: a constant
// table is copied into the 2 KB of RAM at start-up unless it is placed in
// flash, and then an ordinary read of it fetches RAM at the same address.
// Every table of the engine and every font byte the composer reads are
// therefore declared RUNEPLATE_FLASH and read through ReadFlash. Elsewhere
// (ARM, x86) flash is ordinary memory: the macro is empty and ReadFlash a
// plain read the compiler sees through. Freestanding: only <stdint.h>.
#pragma once

#include <stdint.h>

#if defined(__AVR__)
#include <avr/pgmspace.h>
// Places a constant table in program memory.
#define RUNEPLATE_FLASH PROGMEM
#else
// Places a constant table in program memory (ordinary memory here).
#define RUNEPLATE_FLASH
#endif

// The walks' small steps are inlined into them whatever the optimiser thinks:
// they run once for every character of every line. Not on the AVR, where
// flash is scarcer than cycles and each inlined copy costs hundreds of bytes.
#if defined(__GNUC__) && !defined(__AVR__)
#define RUNEPLATE_ALWAYS_INLINE __attribute__((always_inline)) inline
#else
#define RUNEPLATE_ALWAYS_INLINE inline
#endif
// The same everywhere, the AVR included: for a step with one caller in each
// walk, where inlining saves a call's register saves and costs no flash.
#if defined(__GNUC__)
#define RUNEPLATE_HOT_INLINE __attribute__((always_inline)) inline
#else
#define RUNEPLATE_HOT_INLINE inline
#endif

namespace runeplate {

#if defined(__AVR__)
// The value `at` points to, in a table declared RUNEPLATE_FLASH. Only 1-, 2-
// and 4-byte integers are read this way: a struct in flash is read field by
// field.
inline uint8_t ReadFlash(const uint8_t* at) { return pgm_read_byte(at); }
inline int16_t ReadFlash(const int16_t* at) { return static_cast<int16_t>(pgm_read_word(at)); }
inline uint16_t ReadFlash(const uint16_t* at) { return pgm_read_word(at); }
inline int32_t ReadFlash(const int32_t* at) { return static_cast<int32_t>(pgm_read_dword(at)); }
inline uint32_t ReadFlash(const uint32_t* at) { return pgm_read_dword(at); }
#else
// The value `at` points to, in a table declared RUNEPLATE_FLASH.
template <class T>
inline T ReadFlash(const T* at) {
  return *at;
}
#endif

}  // namespace runeplate
