// The parts of runeplate-layout that are worth testing on their own:
// argument parsing, input decoding and the output formats. main.cpp only
// wires them to the process.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace runeplate {

// Exit codes of the tool.
constexpr int LayoutExitOk = 0;
constexpr int LayoutExitBadInput = 2;

extern const char LayoutUsage[];

enum class TLayoutMode {
  Help,   // print usage
  Text,   // lay out Text (UTF-8)
  Stdin,  // lay out standard input (UTF-8)
  Units,  // lay out Units as given
  Table,  // the rectangles and advance of every code unit
};

struct TLayoutOptions {
  TLayoutMode Mode = TLayoutMode::Text;
  int32_t X = 0;
  int32_t Y = 0;
  std::string Text;     // Mode Text: the argument, not yet decoded
  std::u16string Units;  // Mode Units
};

// Parses the arguments after the program name. Returns false with a one-line
// Error for an unknown option, a missing or malformed option value, bad
// units, a missing TEXT or a combination that makes no sense.
bool ParseLayoutArguments(const std::vector<std::string_view>& args, TLayoutOptions& options,
                          std::string& error);

// A signed 32-bit decimal number, nothing else around it.
bool ParseCoordinate(std::string_view text, int32_t& value);

// Comma-separated UTF-16 code units in hexadecimal (any case, leading zeros
// allowed), e.g. "0041,D800". Surrogate halves are taken as they stand.
bool ParseUnits(std::string_view list, std::u16string& units, std::string& error);

// Strict UTF-8 to UTF-16: overlong forms, encoded surrogates, values above
// U+10FFFF and truncated sequences are errors naming the byte offset.
bool DecodeUtf8(std::string_view bytes, std::u16string& units, std::string& error);

// Drops one trailing line ending ("\n" or "\r\n"), as a shell pipe or here
// document adds one the user did not mean as text.
void StripTrailingNewline(std::string& text);

// One line per glyph callback, "x y width height srcLeft srcTop", then
// "end X" with the pen position after the run.
void WriteRun(std::ostream& out, int32_t x, int32_t y, std::u16string_view text);

// "HHHH count l,t,r,b ... adv=N" for one code unit, without the line end.
std::string FormatTableLine(uint32_t code);

// FormatTableLine for every code unit 0..65535, one per line.
void WriteTable(std::ostream& out);

}  // namespace runeplate
