// runeplate-fontgen: converts between font formats: any 8x4x4-capable font
// in, a Runeplate atlas (BMP or PNG) or a classic 8x4x4 file out; reports how
// faithfully the jamo glyphs compose the font's own syllables, and draws
// sheets of text with the atlas.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "common/CommandLine.h"
#include "common/Files.h"
#include "common/Png.h"
#include "common/Utf8.h"
#include "fontgen/Convert.h"
#include "fontgen/Options.h"
#include "fontgen/Output.h"
#include "fontgen/FontGenError.h"
#include "fontgen/Sheet.h"
#include "fontgen/UnifontHex.h"

using namespace runeplate;
using namespace runeplate::fontgen;

namespace {

constexpr const char* ToolName = "runeplate-fontgen";
// Every failure, of input and output alike.
constexpr int ExitFailed = 2;

const char Usage[] =
    "usage: runeplate-fontgen [SOURCE] [--ascii SOURCE] [--size PX] [--jamo-names SCHEME] -o OUT [--report]\n"
    "       runeplate-fontgen [SOURCE] [--family NAME] [--ascent PX] [--chars ksx1001|FILE] -o FONT\n"
    "       runeplate-fontgen [SOURCE] (--preview TEXT | --preview-ksx1001) -o SHEET.png\n";

const char Description[] =
    "\n"
    "Makes a font atlas from SOURCE and writes it (-o OUT, by extension: .bmp the atlas,\n"
    ".png the atlas in two colours, .han a classic 8x4x4 file, .h the pixel block as C\n"
    "source named --c-name, with --compact only its glyphs for small devices; as a\n"
    "complete font for other programs: .bdf, .ttf, .otf, .woff2, .otb (bitmap-only\n"
    "OpenType) or .fnt (BMFont, pages NAME_N.png beside it)), reports how faithfully its\n"
    "jamo glyphs compose the source's own syllables (--report), or draws text or all KS X\n"
    "1001 syllables with it (--preview, --preview-ksx1001). SOURCE is told by its\n"
    "content: a Unifont hex file, a BMFont (.fnt and its pages), any font FreeType\n"
    "opens (outlines in monochrome at --size pixels per em, BDF and PCF at their --size\n"
    "strike), a classic 8x4x4 file, or an atlas as BMP or PNG; without SOURCE, GNU\n"
    "Unifont.\n";

const char Notes[] =
    "Jamo names: three templates INITIAL,MEDIAL,FINAL; {set} is the glyph set from 0,\n"
    "{index} the letter as Unicode counts jamo (initials and medials from 0, finals from 1);\n"
    "{index:2} pads to two digits, {set+1} counts from one. Neo둥근모's\n"
    "cho_{set}_{index:2},jung_{set}_{index:2},jong_{set}_{index:2} is used where a font has\n"
    "those names; \"none\" fits the jamo to the syllables instead.\n"
    "Exit status: 0 done, 2 failed (with one line on standard error).";

struct TFontGenOptions {
  TConvertOptions Convert;
  std::string Output;
  TCSourceOptions CSource;
  TExportOptions Export;
  bool Report = false;
  bool Compact = false;
  bool HasPreviewText = false;
  std::u16string PreviewText;
  bool PreviewKsX1001 = false;
};

// A usage error that also shows the usage lines.
TParseResult BadUsageWithSynopsis(const std::string& message) {
  const std::string usage = Usage;
  return BadUsage(message + "\n" + usage.substr(0, usage.size() - 1));
}

void AddSourceOptions(CLI::App& app, TFontGenOptions& options) {
  app.add_option("SOURCE", options.Convert.Source, "the font to convert (default GNU Unifont, " +
                                                       std::string(DefaultUnifontHexPath) + ")");
  app.add_option("--hex", options.Convert.Source, "the same as SOURCE, as older command lines give it")
      ->type_name("FILE");
  app.add_option("--ascii", options.Convert.Ascii,
                 "take the ASCII cells from this font or a 4,096-byte 8 x 16 font file")
      ->type_name("SOURCE");
  AddParsedOption(
      app, "--size", "PX",
      [&options](const std::string& value, std::string& reason) {
        return SetSourceSize(value, options.Convert.FreeType, reason);
      },
      "pixels per em of an outline font, or the strike of a bitmap font (default: its own grid, or 16)");
  AddParsedOption(
      app, "--jamo-names", "SCHEME",
      [&options](const std::string& value, std::string& reason) {
        return SetJamoNames(value, options.Convert.FreeType, reason);
      },
      "how the font names its jamo glyphs (see below), or none");
}

// A font for other programs: which characters (--chars), its name and line.
std::vector<CLI::Option*> AddExportOptions(CLI::App& app, TExportOptions& options) {
  CLI::Option* chars = AddParsedOption(
      app, "--chars", "SET",
      [&options](const std::string& value, std::string& reason) {
        if (SetRepertoireName(value, options)) return true;
        std::vector<uint8_t> bytes;
        if (!ReadFile(value, bytes, reason)) return false;
        if (!SetCharactersOfText(std::string(bytes.begin(), bytes.end()), options, reason)) {
          reason = value + ": " + reason;
          return false;
        }
        return true;
      },
      "the characters of a font for other programs: all (the default), ksx1001 (only the 2,350 KS X 1001 "
      "syllables), or those of a UTF-8 text FILE");
  CLI::Option* family = AddParsedOption(
      app, "--family", "NAME",
      [&options](const std::string& value, std::string& reason) { return SetFamily(value, options, reason); },
      "the family name of a font for other programs, printable, at most " + std::to_string(MaxFamilyLength) +
          " characters (default: the Family entry of the atlas's NOTICE)");
  CLI::Option* ascent = AddParsedOption(
      app, "--ascent", "PX",
      [&options](const std::string& value, std::string& reason) { return SetAscent(value, options, reason); },
      "the pixels above the baseline of a font for other programs (default: the atlas's NOTICE, else "
      "under its 'H')");
  return {chars, family, ascent};
}

TParseResult ParseFontGenArguments(const std::vector<std::string>& args, TFontGenOptions& options) {
  const auto app = MakeToolApp(ToolName, std::string(Usage) + Description, Notes);
  AddSourceOptions(*app, options);
  CLI::Option* output = app->add_option("-o", options.Output, "write the atlas, or the sheet, there")->type_name("OUT");
  CLI::Option* cName = AddParsedOption(
      *app, "--c-name", "NAME",
      [&options](const std::string& value, std::string& reason) {
        return SetCName(value, options.CSource, reason);
      },
      "the array's name in a .h atlas (default runeplate_atlas, with --compact runeplate_compact_font)");
  app->add_flag("--compact", options.Compact,
                "write only the glyphs (12,528 bytes) to the .h -o names, for small devices");
  const std::vector<CLI::Option*> exportOptions = AddExportOptions(*app, options.Export);
  app->add_flag("--report", options.Report, "print where the glyphs came from and how faithfully they compose the source");
  CLI::Option* preview = AddParsedOption(
      *app, "--preview", "TEXT",
      [&options](const std::string& value, std::string& reason) {
        options.HasPreviewText = true;
        return DecodeUtf8(value, options.PreviewText, reason);
      },
      "draw TEXT (UTF-8) with the atlas into the PNG -o names");
  CLI::Option* grid = app->add_flag("--preview-ksx1001", options.PreviewKsX1001,
                                    "draw the 2,350 KS X 1001 syllables with the atlas, labelled, into the PNG -o names");
  grid->excludes(preview);

  const TParseResult result = ParseArguments(*app, args);
  if (result.Outcome != TParseOutcome::Run) return result;
  if (app->count("SOURCE") > 0 && app->count("--hex") > 0) return BadUsageWithSynopsis("give SOURCE or --hex, not both");
  if (options.Convert.Source.empty()) options.Convert.Source = DefaultUnifontHexPath;
  if (output->count() > 0 && options.Output.empty()) return BadUsageWithSynopsis("-o wants a file name, not ''");
  const bool previewing = options.HasPreviewText || options.PreviewKsX1001;
  if (previewing && options.Output.empty()) return BadUsageWithSynopsis("a preview needs -o SHEET.png");
  if (previewing && OutputKindOf(options.Output) != TOutputKind::Png)
    return BadUsageWithSynopsis("a preview is a PNG: name it .png, not '" + options.Output + "'");
  if (options.Output.empty() && !options.Report) return BadUsageWithSynopsis("nothing to do: give -o OUT or --report");
  if (cName->count() > 0 && OutputKindOf(options.Output) != TOutputKind::CSource)
    return BadUsageWithSynopsis("--c-name names the array of a .h atlas: give -o OUT.h");
  if (options.Compact && (previewing || OutputKindOf(options.Output) != TOutputKind::CSource))
    return BadUsageWithSynopsis("--compact writes C source: give -o OUT.h");
  if (options.Compact) SetCompact(options.CSource, cName->count() > 0);
  for (const CLI::Option* option : exportOptions)
    if (option->count() > 0 && !IsFontExport(OutputKindOf(options.Output)))
      return BadUsageWithSynopsis(option->get_name() +
                                  " is for a font for other programs: give -o with .bdf, .ttf, .otf, .woff2, .otb or .fnt");
  return result;
}

// Everything after the command line; throws TFontGenError.
void GenerateFont(TFontGenOptions options) {
  // Said before the work, so that nothing else is said about it.
  if (!options.Output.empty() && OutputKindOf(options.Output) == TOutputKind::Unknown)
    throw TFontGenError(UnknownOutputKindMessage(options.Output));
  const TConversion conversion = Convert(options.Convert);
  for (const std::string& warning : conversion.Warnings) std::cerr << ToolName << ": warning: " << warning << "\n";
  options.CSource.Provenance = options.Export.Provenance =
      ReadProvenance(options.Convert.Source, conversion.Source.Family);
  if (options.HasPreviewText || options.PreviewKsX1001) {
    const TRgbImage sheet = options.PreviewKsX1001 ? DrawKsX1001Sheet(conversion.Atlas)
                                                  : DrawTextSheet(conversion.Atlas, options.PreviewText);
    std::string error;
    if (!WritePngFile(options.Output, sheet, error)) throw TFontGenError(error);
  } else if (!options.Output.empty()) {
    WriteOutput(options.Output, conversion.Atlas, options.CSource, options.Export);
  }
  if (options.Report) PrintConversionReport(std::cout, conversion);
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
  } catch (const std::exception& error) {
    // A library's own failure (std::filesystem, an allocation) is still one
    // line and a failed run, never an abort.
    return Fail(ToolName, ExitFailed, error.what());
  }
  return FinishStandardOutput(ToolName, 0, ExitFailed);
}
