// runeplate-icon: writes the program's icon "vexil", drawn from the font
// atlas, as a Windows .ico file. The program's resources take the committed
// copy (the cross build has no native tool to run); a test regenerates it.
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "common/CommandLine.h"
#include "common/Files.h"
#include "icon/IconFile.h"

#ifndef RUNEPLATE_DEFAULT_FONT
#define RUNEPLATE_DEFAULT_FONT "a1bit.bmp"
#endif

using namespace runeplate;

namespace {

constexpr const char* ToolName = "runeplate-icon";
constexpr int ExitFailed = 1;                // the icon could not be written
constexpr int ExitBadInput = ExitBadUsage;  // bad arguments or font file

const char Synopsis[] =
    "usage: runeplate-icon [--font FILE] -o OUT.ico\n"
    "\n"
    "Writes the program's icon, 한 from the font atlas at 16 x 16 and 32 x 32.\n";

struct TIconOptions {
  std::string FontPath = RUNEPLATE_DEFAULT_FONT;
  std::string OutPath;
};

TParseResult ParseIconArguments(const std::vector<std::string>& args, TIconOptions& o) {
  const auto app = MakeToolApp(ToolName, Synopsis);
  app->add_option("--font", o.FontPath, "font file, of which the last 16384 bytes are read (default " +
                                            o.FontPath + ")")->type_name("FILE");
  app->add_option("-o", o.OutPath, "the icon file to write")->type_name("OUT.ico");
  const TParseResult result = ParseArguments(*app, args);
  if (result.Outcome == TParseOutcome::Run && o.OutPath.empty())
    return BadUsage("no output file given (-o OUT.ico)");
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  TIconOptions options;
  const TParseResult parsed = ParseIconArguments(ArgumentsOf(argc, argv), options);
  if (parsed.Outcome != TParseOutcome::Run) return ReportParseResult(ToolName, parsed);
  TFontImage font;
  std::string error;
  if (!LoadFontAtlas(options.FontPath, font, error)) return Fail(ToolName, ExitBadInput, error);
  std::vector<TRgbImage> images;
  for (const int32_t size : IconSizes) images.push_back(DrawIconImage(font, size));
  if (!WriteFileAtomically(options.OutPath, EncodeIconFile(images), error))
    return Fail(ToolName, ExitFailed, error);
  return 0;
}
