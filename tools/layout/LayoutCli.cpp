#include "layout/LayoutCli.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ostream>

#include <CLI/CLI.hpp>

#include "common/Numbers.h"
#include "text/UDrawText.h"

namespace runeplate {

namespace {

const char LayoutSynopsis[] =
    "usage: runeplate-layout [--x X] [--y Y] [--] TEXT\n"
    "       runeplate-layout [--x X] [--y Y] --units XXXX,XXXX,...\n"
    "       runeplate-layout [--x X] [--y Y] (--compose | --wrap WIDTH) [--] TEXT\n"
    "       runeplate-layout --table\n"
    "\n"
    "Lays TEXT (UTF-8) out as one line from pen position X, Y and prints one\n"
    "line per glyph, \"x y width height srcLeft srcTop\", then \"end X\" with the\n"
    "pen position after the run. TEXT \"-\" reads standard input, of which one\n"
    "trailing newline is dropped. A TEXT that starts with \"-\" (a literal \"-\"\n"
    "too) goes after \"--\".\n"
    "\n"
    "--compose lays TEXT out as composed text, as people write it: conjoining jamo\n"
    "form their syllable, every jamo is drawn, line breaks start a new line 16\n"
    "pixels lower at X; --wrap WIDTH also wraps lines to WIDTH pixels at spaces.\n";

const char LayoutNotes[] =
    "Exit status: 0 done, 1 standard output could not be written, 2 bad input\n"
    "(with one line on standard error).";

TValueParser CoordinateInto(int32_t& target) {
  return [&target](const std::string& value, std::string& reason) {
    if (ParseNumber(value, target)) return true;
    reason = "wants a signed 32-bit decimal number, not '" + value + "'";
    return false;
  };
}

TValueParser WrapWidthInto(int32_t& target) {
  return [&target](const std::string& value, std::string& reason) {
    if (ParseNumber(value, target) && target >= 1) return true;
    reason = "wants a width in pixels from 1 to 2147483647, not '" + value + "'";
    return false;
  };
}

bool IsHex(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

TParseResult ChooseLayoutMode(const std::vector<std::string>& args, bool table, bool haveUnits,
                              bool haveText, TLayoutOptions& options) {
  if (table) {
    options.Mode = TLayoutMode::Table;
  } else if (haveUnits) {
    options.Mode = TLayoutMode::Units;
  } else if (!haveText) {
    return BadUsage("missing TEXT (try --help)");
  } else if (TextFollowsDashes(args)) {
    options.Mode = TLayoutMode::Text;
  } else if (options.Text == "-") {
    options.Mode = TLayoutMode::Stdin;
  } else if (!options.Text.empty() && options.Text[0] == '-') {
    // CLI11 takes a dash and a digit for a value; as TEXT it is more likely a
    // mistyped option.
    return BadUsage("TEXT '" + options.Text + "' starts with '-': put '--' before it");
  }
  return {};
}

}  // namespace

bool ParseUnits(std::string_view list, std::u16string& units, std::string& error) {
  units.clear();
  size_t start = 0;
  while (true) {
    const size_t comma = list.find(',', start);
    const size_t length = comma == std::string_view::npos ? std::string_view::npos : comma - start;
    const std::string_view item = list.substr(start, length);
    uint16_t value = 0;
    if (!ParseNumber(item, value, 16)) {
      error = item.empty() || !IsHex(item) ? "not a hexadecimal code unit: '" + std::string(item) + "'"
                                           : "code unit above FFFF: '" + std::string(item) + "'";
      return false;
    }
    units.push_back(static_cast<char16_t>(value));
    if (comma == std::string_view::npos) return true;
    start = comma + 1;
  }
}

TParseResult ParseLayoutArguments(const std::vector<std::string>& args, TLayoutOptions& options) {
  options = TLayoutOptions{};
  const auto app = MakeToolApp(LayoutToolName, LayoutSynopsis, LayoutNotes);
  bool table = false;
  CLI::Option* x = AddParsedOption(*app, "--x", "X", CoordinateInto(options.X),
                                   "pen x, a signed 32-bit decimal number (default 0)");
  CLI::Option* y = AddParsedOption(*app, "--y", "Y", CoordinateInto(options.Y),
                                   "pen y, a signed 32-bit decimal number (default 0)");
  CLI::Option* units = AddParsedOption(
      *app, "--units", "LIST",
      [&options](const std::string& value, std::string& reason) { return ParseUnits(value, options.Units, reason); },
      "lay out raw UTF-16 code units given in hexadecimal, comma-separated, instead of TEXT, so "
      "lone surrogates can be tried");
  CLI::Option* tableFlag = app->add_flag("--table", table,
                                         "for every code unit 0000..FFFF, one line: the unit, the rectangle "
                                         "count, each rectangle as l,t,r,b and adv=N");
  CLI::Option* compose = app->add_flag("--compose", options.Compose,
                                       "lay out composed text: jamo sequences as syllables, every "
                                       "jamo drawn, line breaks honoured");
  CLI::Option* wrap = AddParsedOption(*app, "--wrap", "WIDTH", WrapWidthInto(options.WrapWidth),
                                      "composed text wrapped to WIDTH pixels (1 or more)");
  CLI::Option* text = app->add_option("TEXT", options.Text, "the text to lay out (UTF-8)")->type_name("");
  tableFlag->excludes(x)->excludes(y)->excludes(units)->excludes(text)->excludes(compose)->excludes(wrap);
  units->excludes(text);

  const TParseResult result = ParseArguments(*app, args);
  if (result.Outcome != TParseOutcome::Run) return result;
  options.Compose = options.Compose || wrap->count() > 0;
  return ChooseLayoutMode(args, table, units->count() > 0, text->count() > 0, options);
}

void WriteRun(std::ostream& out, int32_t x, int32_t y, std::u16string_view text,
              const TBlockOptions* composed) {
  const auto writeGlyph = [&out](int32_t gx, int32_t gy, int32_t width, int32_t height,
                                 int32_t srcLeft, int32_t srcTop, int32_t) {
    out << gx << ' ' << gy << ' ' << width << ' ' << height << ' ' << srcLeft << ' ' << srcTop << '\n';
  };
  const int32_t end = composed == nullptr
                          ? ForEachGlyph(x, y, text.data(), text.size(), writeGlyph)
                          : ForEachGlyph(x, y, text.data(), text.size(), *composed, writeGlyph).X;
  out << "end " << end << '\n';
}

std::string FormatTableLine(uint32_t code) {
  TGlyphRects list;
  GetGlyphRects(code, list);
  char buffer[96];
  int length =
      std::snprintf(buffer, sizeof buffer, "%04X %d", static_cast<unsigned>(code), list.Count);
  for (int32_t k = 0; k < list.Count; ++k) {
    const TRect& r = list.Rects[k];
    length += std::snprintf(buffer + length, sizeof buffer - length, " %d,%d,%d,%d", r.Left, r.Top,
                            r.Right, r.Bottom);
  }
  length += std::snprintf(buffer + length, sizeof buffer - length, " adv=%d", AdvanceOf(code));
  return std::string(buffer, length);
}

void WriteTable(std::ostream& out) {
  for (uint32_t code = 0; code <= 0xFFFF; ++code) out << FormatTableLine(code) << '\n';
}

}  // namespace runeplate
