// runeplate-fontgen: writes the program's font image "a1bit.bmp" from GNU
// Unifont and reports how faithfully the jamo glyphs compose Unifont's
// syllables.
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "common/CommandLine.h"
#include "common/Files.h"
#include "common/Utf8.h"
#include "font/FontFile.h"
#include "fontgen/Atlas.h"
#include "fontgen/Fidelity.h"
#include "fontgen/FontGenError.h"
#include "fontgen/GlyphFit.h"
#include "fontgen/Preview.h"
#include "fontgen/UnifontHex.h"

using namespace runeplate;
using namespace runeplate::fontgen;

namespace {

constexpr const char* ToolName = "runeplate-fontgen";
// Every failure, of input and output alike.
constexpr int ExitFailed = 2;

const char Usage[] =
    "usage: runeplate-fontgen [--hex FILE] [-o OUT.bmp] [--report] [--preview DIR [--text LINE]...]\n";

const char Description[] =
    "\n"
    "Fits the jamo glyph sets to GNU Unifont's syllables and writes the font image\n"
    "(-o), reports how faithfully they compose Unifont's syllables (--report) or\n"
    "draws pictures to judge them by (--preview); at least one of the three.\n";

const char Notes[] = "Exit status: 0 done, 2 failed (with one line on standard error).";

struct TFontGenOptions {
  std::string Hex = DefaultUnifontHexPath;
  std::string Output;
  std::string PreviewDir;
  std::vector<std::u16string> PreviewLines;
  bool Report = false;
};

// A usage error that also shows the usage line.
TParseResult BadUsageWithSynopsis(const std::string& message) {
  const std::string usage = Usage;
  return BadUsage(message + "\n" + usage.substr(0, usage.size() - 1));
}

TParseResult ParseFontGenArguments(const std::vector<std::string>& args, TFontGenOptions& options) {
  const auto app = MakeToolApp(ToolName, std::string(Usage) + Description, Notes);
  app->add_option("--hex", options.Hex, "Unifont hex file (default " + options.Hex + ")")->type_name("FILE");
  CLI::Option* output = app->add_option("-o", options.Output, "write the font image there")->type_name("OUT.bmp");
  app->add_flag("--report", options.Report, "print how many syllables compose identical to Unifont's");
  CLI::Option* preview = app->add_option("--preview", options.PreviewDir,
                                         "write PNG pictures of the atlas and of rendered text into the "
                                         "folder DIR, which must exist")
                             ->type_name("DIR");
  AddParsedOption(
      *app, "--text", "LINE",
      [&options](const std::string& value, std::string& reason) {
        std::u16string line;
        if (!DecodeUtf8(value, line, reason)) return false;
        options.PreviewLines.push_back(line);
        return true;
      },
      "with --preview, draw LINE (UTF-8) instead of the sample lines; may be repeated")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->needs(preview);

  const TParseResult result = ParseArguments(*app, args);
  if (result.Outcome != TParseOutcome::Run) return result;
  if (output->count() > 0 && options.Output.empty()) return BadUsageWithSynopsis("-o wants a file name, not ''");
  if (preview->count() > 0 && options.PreviewDir.empty())
    return BadUsageWithSynopsis("--preview wants a folder, not ''");
  if (options.Output.empty() && !options.Report && options.PreviewDir.empty())
    return BadUsageWithSynopsis("nothing to do: give -o OUT.bmp, --report or --preview DIR");
  return result;
}

// Everything after the command line; throws TFontGenError.
void GenerateFont(const TFontGenOptions& options) {
  const TUnifontSource source = LoadUnifontHex(options.Hex);
  const THangulGlyphs glyphs = FitHangulGlyphs(source.Syllables);
  const TFontImage atlas = BuildAtlas(source, glyphs);
  std::string error;
  if (!options.Output.empty() && !WriteFileAtomically(options.Output, EncodeFontFile(atlas), error))
    throw TFontGenError(error);
  if (!options.PreviewDir.empty()) WritePreview(options.PreviewDir, source, glyphs, atlas, options.PreviewLines);
  if (options.Report) PrintFidelity(std::cout, MeasureFidelity(source.Syllables, glyphs, KsX1001Syllables()));
}

}  // namespace

int main(int argc, char** argv) {
  TFontGenOptions options;
  const TParseResult parsed = ParseFontGenArguments(ArgumentsOf(argc, argv), options);
  if (parsed.Outcome != TParseOutcome::Run) return ReportParseResult(ToolName, parsed);
  try {
    GenerateFont(options);
  } catch (const TFontGenError& error) {
    return Fail(ToolName, ExitFailed, error.what());
  }
  return FinishStandardOutput(ToolName, 0, ExitFailed);
}
