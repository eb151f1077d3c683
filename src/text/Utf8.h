// Utf8: decoding UTF-8 as Unicode recommends for ill-formed input. Part of
// the layout engine (UDrawText.h, the one include for users).
#pragma once

#include <stddef.h>
#include <stdint.h>

namespace runeplate {

// Decodes the code point that starts `text` (`length` > 0 bytes) into
// `codePoint` and returns how many bytes it took (1..4). Ill-formed input
// (a stray continuation byte, an overlong form, an encoded surrogate, a value
// above U+10FFFF, a sequence cut short) gives ReplacementCharacter for each
// maximal ill-formed part, as Unicode recommends: the bytes that could still
// have begun a valid sequence are taken together, so one bad byte costs one
// replacement and the next valid character is never swallowed. Never reads
// at or past `text` + `length`.
size_t DecodeUtf8(const char* text, size_t length, uint32_t& codePoint);

}  // namespace runeplate
