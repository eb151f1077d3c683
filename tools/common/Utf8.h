// Utf8: text from the command line and standard input, on utf8cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace runeplate {

// Strict UTF-8 to UTF-16 (code points above U+FFFF become surrogate pairs).
// Overlong forms, encoded surrogates, values above U+10FFFF, stray or
// missing continuation bytes are errors: returns false with "invalid UTF-8
// at byte N" in Error, N the offset of the first bad sequence.
bool DecodeUtf8(std::string_view bytes, std::u16string& units, std::string& error);

// The UTF-8 form of one code point (U+0000..U+10FFFF, no surrogate).
std::string EncodeUtf8(char32_t code);

// "U+0041", "U+AC00", "U+1F600": the name of a code point in messages.
std::string CodePointName(char32_t code);

}  // namespace runeplate
