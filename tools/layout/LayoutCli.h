// The parts of runeplate-layout that are worth testing on their own: the
// command line, code-unit lists and the output formats. main.cpp only wires
// them to the process.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "common/CommandLine.h"
#include "text/UDrawText.h"

namespace runeplate {

constexpr const char* LayoutToolName = "runeplate-layout";

// Exit codes of the tool besides 0 and ExitBadUsage.
constexpr int LayoutExitCannotWrite = 1;

enum class TLayoutMode {
  Text,   // lay out Text (UTF-8)
  Stdin,  // lay out standard input (UTF-8)
  Units,  // lay out Units as given
  Table,  // the rectangles and advance of every code unit
};

struct TLayoutOptions {
  TLayoutMode Mode = TLayoutMode::Text;
  int32_t X = 0;
  int32_t Y = 0;
  std::string Text;      // Mode Text: the argument, not yet decoded
  std::u16string Units;  // Mode Units
  bool Compose = false;   // lay out composed text
  int32_t WrapWidth = 0;  // with Compose: wrap to this width; 0 never
};

// Parses the arguments after the program name. TEXT "-" means standard input
// unless it follows "--". Bad: an unknown option, a missing or malformed
// value, bad units, a missing TEXT, a TEXT that looks like an option, or an
// option that does not apply to the mode (--table takes nothing else,
// --units no TEXT). --wrap implies --compose.
TParseResult ParseLayoutArguments(const std::vector<std::string>& args, TLayoutOptions& options);

// Comma-separated UTF-16 code units in hexadecimal (any case, leading zeros
// allowed), e.g. "0041,D800". Surrogate halves are taken as they stand.
bool ParseUnits(std::string_view list, std::u16string& units, std::string& error);

// One line per glyph callback, "x y width height srcLeft srcTop", then
// "end X" with the pen x after the run: the program's line, or composed text
// laid out with `composed` when it is given.
void WriteRun(std::ostream& out, int32_t x, int32_t y, std::u16string_view text,
              const TBlockOptions* composed = nullptr);

// "HHHH count l,t,r,b ... adv=N" for one code unit, without the line end.
std::string FormatTableLine(uint32_t code);

// FormatTableLine for every code unit 0..65535, one per line.
void WriteTable(std::ostream& out);

}  // namespace runeplate
