// runeplate-fontgen: writes the program's font image "a1bit.bmp" from GNU
// Unifont and reports how faithfully the jamo glyphs compose Unifont's
// syllables.
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <iostream>
#include <string>
#include <vector>

#include <utf8cpp/utf8.h>

#include "fontgen/FontGen.h"
#include "fontgen/Preview.h"

using namespace runeplate;
using namespace runeplate::fontgen;

namespace {

constexpr int ExitBadInput = 2;

const char* const Usage =
    "usage: runeplate-fontgen [--hex FILE] [-o OUT.bmp] [--report] [--preview DIR]\n"
    "  --hex FILE     Unifont hex file (default /usr/share/unifont/unifont.hex)\n"
    "  -o OUT.bmp     write the font image there (default a1bit.bmp, unless only\n"
    "                 --report or --preview is asked for)\n"
    "  --report       print how many syllables compose identical to Unifont's\n"
    "  --preview DIR  write PNG pictures of the atlas and of rendered text to DIR\n"
    "  --text LINE    with --preview, render LINE (UTF-8) instead of the sample\n"
    "                 lines; may be repeated\n";

struct TOptions {
  std::string Hex = DefaultUnifontHexPath;
  std::string Output;
  std::string PreviewDir;
  std::vector<std::u16string> PreviewLines;
  bool Report = false;
};

// UTF-8 to UTF-16 for preview text; malformed bytes become U+FFFD.
std::u16string Utf8ToUtf16(const std::string& text) {
  std::string valid;
  utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(valid));
  std::u16string result;
  utf8::utf8to16(valid.begin(), valid.end(), std::back_inserter(result));
  return result;
}

// Returns false after printing the problem, in one line, on a bad command
// line.
bool ParseOptions(int argc, char** argv, TOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& target) {
      if (i + 1 >= argc) {
        std::cerr << "runeplate-fontgen: " << arg << " needs a value (see --help)\n";
        return false;
      }
      target = argv[++i];
      return true;
    };
    if (arg == "--hex") {
      if (!value(options.Hex)) return false;
    } else if (arg == "-o") {
      if (!value(options.Output)) return false;
    } else if (arg == "--preview") {
      if (!value(options.PreviewDir)) return false;
    } else if (arg == "--text") {
      std::string line;
      if (!value(line)) return false;
      options.PreviewLines.push_back(Utf8ToUtf16(line));
    } else if (arg == "--report") {
      options.Report = true;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << Usage;
      std::exit(0);
    } else {
      std::cerr << "runeplate-fontgen: unknown argument " << arg << " (see --help)\n";
      return false;
    }
  }
  if (options.Output.empty() && !options.Report && options.PreviewDir.empty())
    options.Output = "a1bit.bmp";
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  if (!ParseOptions(argc, argv, options)) return ExitBadInput;
  try {
    const TUnifontSource source = LoadUnifontHex(options.Hex);
    const THangulGlyphs glyphs = FitHangulGlyphs(source.Syllables);
    const TFontImage atlas = BuildAtlas(source, glyphs);
    if (!options.Output.empty()) WriteFileAtomically(options.Output, EncodeFontFile(atlas));
    if (!options.PreviewDir.empty()) WritePreview(options.PreviewDir, source, glyphs, atlas, options.PreviewLines);
    if (options.Report) PrintFidelity(std::cout, MeasureFidelity(source.Syllables, glyphs, KsX1001Syllables()));
  } catch (const TFontGenError& error) {
    std::cerr << "runeplate-fontgen: " << error.what() << "\n";
    return ExitBadInput;
  }
  return 0;
}
