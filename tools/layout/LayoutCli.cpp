#include "layout/LayoutCli.h"

#include <charconv>
#include <cstdio>
#include <ostream>

#include <utf8.h>

#include "text/UDrawText.h"

namespace runeplate {

const char LayoutUsage[] =
    "usage: runeplate-layout [--x X] [--y Y] TEXT\n"
    "       runeplate-layout [--x X] [--y Y] --units XXXX,XXXX,...\n"
    "       runeplate-layout --table\n"
    "\n"
    "Lays TEXT (UTF-8) out as one line from pen position X, Y (default 0, 0) and\n"
    "prints one line per glyph, \"x y width height srcLeft srcTop\", then \"end X\"\n"
    "with the pen position after the run. TEXT \"-\" reads standard input; one\n"
    "trailing newline is stripped from it. Use \"--\" before a TEXT that starts\n"
    "with \"-\".\n"
    "\n"
    "  --x X, --y Y   pen position (signed 32-bit decimal)\n"
    "  --units LIST   lay out raw UTF-16 code units given in hexadecimal instead of\n"
    "                 TEXT, so lone surrogates can be tried\n"
    "  --table        for every code unit 0000..FFFF, one line: the unit, the\n"
    "                 rectangle count, each rectangle as l,t,r,b and adv=N\n"
    "  --help         this text\n"
    "\n"
    "Bad input exits with status 2 and one line on standard error.\n";

bool ParseCoordinate(std::string_view text, int32_t& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  int32_t parsed = 0;
  const auto [end, ec] = std::from_chars(first, last, parsed);
  if (text.empty() || ec != std::errc() || end != last) return false;
  value = parsed;
  return true;
}

bool ParseUnits(std::string_view list, std::u16string& units, std::string& error) {
  units.clear();
  size_t start = 0;
  while (true) {
    const size_t comma = list.find(',', start);
    const size_t length = comma == std::string_view::npos ? std::string_view::npos : comma - start;
    const std::string_view item = list.substr(start, length);
    uint32_t value = 0;
    const char* last = item.data() + item.size();
    const auto [end, ec] = std::from_chars(item.data(), last, value, 16);
    if (item.empty() || ec == std::errc::invalid_argument || end != last) {
      error = "not a hexadecimal code unit: '" + std::string(item) + "'";
      return false;
    }
    if (ec == std::errc::result_out_of_range || value > 0xFFFF) {
      error = "code unit above FFFF: '" + std::string(item) + "'";
      return false;
    }
    units.push_back(static_cast<char16_t>(value));
    if (comma == std::string_view::npos) return true;
    start = comma + 1;
  }
}

bool DecodeUtf8(std::string_view bytes, std::u16string& units, std::string& error) {
  const size_t bad = utf8::find_invalid(bytes);
  if (bad != std::string_view::npos) {
    error = "invalid UTF-8 at byte " + std::to_string(bad);
    return false;
  }
  units = utf8::utf8to16(bytes);
  return true;
}

void StripTrailingNewline(std::string& text) {
  if (!text.empty() && text.back() == '\n') {
    text.pop_back();
    if (!text.empty() && text.back() == '\r') text.pop_back();
  }
}

bool ParseLayoutArguments(const std::vector<std::string_view>& args, TLayoutOptions& options,
                          std::string& error) {
  options = TLayoutOptions{};
  bool haveText = false;
  bool haveUnits = false;
  bool table = false;
  bool onlyPositional = false;
  for (size_t n = 0; n < args.size(); ++n) {
    const std::string_view arg = args[n];
    const bool isOption = !onlyPositional && arg.size() > 1 && arg[0] == '-';
    if (!isOption) {
      if (haveText) {
        error = "more than one TEXT: '" + std::string(arg) + "'";
        return false;
      }
      haveText = true;
      options.Text = std::string(arg);
      continue;
    }
    if (arg == "--") {
      onlyPositional = true;
    } else if (arg == "--help" || arg == "-h") {
      options.Mode = TLayoutMode::Help;
      return true;
    } else if (arg == "--table") {
      table = true;
    } else if (arg == "--x" || arg == "--y" || arg == "--units") {
      if (n + 1 >= args.size()) {
        error = "option " + std::string(arg) + " needs a value";
        return false;
      }
      const std::string_view value = args[++n];
      if (arg == "--units") {
        if (!ParseUnits(value, options.Units, error)) return false;
        haveUnits = true;
      } else if (!ParseCoordinate(value, arg == "--x" ? options.X : options.Y)) {
        error = "option " + std::string(arg) + " needs a signed 32-bit number, not '" +
                std::string(value) + "'";
        return false;
      }
    } else {
      error = "unknown option '" + std::string(arg) + "'";
      return false;
    }
  }

  if (table) {
    if (haveText || haveUnits) {
      error = "--table takes no TEXT or --units";
      return false;
    }
    options.Mode = TLayoutMode::Table;
  } else if (haveUnits) {
    if (haveText) {
      error = "give either TEXT or --units, not both";
      return false;
    }
    options.Mode = TLayoutMode::Units;
  } else if (haveText) {
    options.Mode = options.Text == "-" ? TLayoutMode::Stdin : TLayoutMode::Text;
  } else {
    error = "missing TEXT (try --help)";
    return false;
  }
  return true;
}

namespace {

// The glyph callback has no context argument; WriteRun points this at its
// stream for the duration of one run.
std::ostream* RunOutput = nullptr;

void WriteGlyph(int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcLeft,
                int32_t srcTop, int32_t /*userValue*/) {
  *RunOutput << x << ' ' << y << ' ' << width << ' ' << height << ' ' << srcLeft << ' ' << srcTop
             << '\n';
}

}  // namespace

void WriteRun(std::ostream& out, int32_t x, int32_t y, std::u16string_view text) {
  RunOutput = &out;
  const int32_t end = DrawTextRun(x, y, text.data(), text.size(), 0, WriteGlyph);
  RunOutput = nullptr;
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
