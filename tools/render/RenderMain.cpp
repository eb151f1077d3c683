// runeplate-render: draws text or a whole frame exactly as the program would,
// into a PNG file.
#include <algorithm>
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "common/CommandLine.h"
#include "common/Numbers.h"
#include "common/Utf8.h"
#include "render/RefRender.h"

using namespace runeplate;

namespace {

constexpr const char* ToolName = "runeplate-render";
constexpr int ExitCannotWrite = 1;  // the PNG could not be written
constexpr int ExitBadInput = ExitBadUsage;  // bad arguments or font file
constexpr int32_t MaxScale = 64;

const char Synopsis[] =
    "usage: runeplate-render [--font FILE] [--colour AARRGGBB] [--scale N] -o OUT.png [--] TEXT\n"
    "       runeplate-render [--font FILE] [--colour AARRGGBB] [--scale N] (--compose | --wrap WIDTH)\n"
    "                        -o OUT.png [--] TEXT\n"
    "       runeplate-render [--font FILE] [--scale N] --frame K -o OUT.png\n"
    "\n"
    "Draws pixel for pixel what the program's Direct3D layer draws. TEXT is one line\n"
    "of UTF-8 text (- reads it from standard input, one line end dropped; after --\n"
    "it is the text \"-\"), drawn at (0, 0) on white; the image is as wide as the pen\n"
    "advance (a space's at least, so that blank lines show) and 16 pixels high. --compose draws TEXT as composed text, as people\n"
    "write it (jamo sequences as syllables, every jamo drawn, from the font's own\n"
    "letter cells where it has them, line breaks honoured), the image as large as the\n"
    "block; --wrap WIDTH also wraps its lines to WIDTH pixels. Frame K is 800 x 600,\n"
    "white, the 36 sample lines in their colours, without the frame-rate counter.\n";

const char Notes[] = "Exit status: 0 written, 1 the PNG could not be written, 2 bad arguments or font.";

struct TRenderOptions {
  std::string FontPath = RUNEPLATE_DEFAULT_FONT;
  std::string OutPath;
  std::string Text;
  bool HaveText = false;
  bool TextFromStandardInput = false;  // TEXT was "-"
  uint32_t Colour = 0xFF000000u;  // black
  uint32_t Frame = 0;
  bool HaveFrame = false;
  int32_t Scale = 1;
  bool Compose = false;
  int32_t WrapWidth = 0;
};

bool ReadColour(const std::string& value, uint32_t& colour, std::string& reason) {
  if (value.size() == 8 && ParseNumber(value, colour, 16)) return true;
  reason = "wants exactly 8 hexadecimal digits AARRGGBB, not '" + value + "'";
  return false;
}

bool ReadScale(const std::string& value, int32_t& scale, std::string& reason) {
  int32_t parsed = 0;
  if (ParseNumber(value, parsed) && parsed >= 1 && parsed <= MaxScale) {
    scale = parsed;
    return true;
  }
  reason = "wants a whole number from 1 to " + std::to_string(MaxScale) + ", not '" + value + "'";
  return false;
}

bool ReadWrapWidth(const std::string& value, int32_t& width, std::string& reason) {
  if (ParseNumber(value, width) && width >= 1) return true;
  reason = "wants a width in pixels from 1 to 2147483647, not '" + value + "'";
  return false;
}

bool ReadFrame(const std::string& value, uint32_t& frame, std::string& reason) {
  if (ParseNumber(value, frame)) return true;
  reason = "wants a frame number from 0 to 4294967295, not '" + value + "'";
  return false;
}

TParseResult ParseRenderArguments(const std::vector<std::string>& args, TRenderOptions& o) {
  const auto app = MakeToolApp(ToolName, Synopsis, Notes);
  app->add_option("--font", o.FontPath, "font file, of which the last 16384 bytes are read (default " +
                                             o.FontPath + ")")->type_name("FILE");
  CLI::Option* colour = AddParsedOption(
      *app, "--colour", "AARRGGBB", [&o](const std::string& v, std::string& why) { return ReadColour(v, o.Colour, why); },
      "text colour as 8 hexadecimal digits; alpha is ignored, as on screen (default FF000000, black)");
  AddParsedOption(*app, "--scale", "N", [&o](const std::string& v, std::string& why) { return ReadScale(v, o.Scale, why); },
                  "enlarge every pixel to N x N (1 to 64, default 1)");
  CLI::Option* frame = AddParsedOption(
      *app, "--frame", "K", [&o](const std::string& v, std::string& why) { return ReadFrame(v, o.Frame, why); },
      "draw frame K of a run (0 = the first) instead of TEXT");
  CLI::Option* compose = app->add_flag("--compose", o.Compose, "draw TEXT as composed text");
  CLI::Option* wrap = AddParsedOption(
      *app, "--wrap", "WIDTH", [&o](const std::string& v, std::string& why) { return ReadWrapWidth(v, o.WrapWidth, why); },
      "draw TEXT as composed text wrapped to WIDTH pixels");
  app->add_option("-o", o.OutPath, "the PNG file to write")->type_name("OUT.png");
  CLI::Option* text = app->add_option("TEXT", o.Text, "the text to draw")->type_name("");
  frame->excludes(text)->excludes(colour)->excludes(compose)->excludes(wrap);

  const TParseResult result = ParseArguments(*app, args);
  if (result.Outcome != TParseOutcome::Run) return result;
  o.HaveText = text->count() > 0;
  o.HaveFrame = frame->count() > 0;
  o.Compose = o.Compose || wrap->count() > 0;
  if (o.OutPath.empty()) return BadUsage("no output file given (-o OUT.png)");
  if (!o.HaveFrame && !o.HaveText) return BadUsage("nothing to draw: give TEXT or --frame K");
  if (o.HaveText && o.Text.empty()) return BadUsage("TEXT is empty");
  o.TextFromStandardInput = o.HaveText && o.Text == "-" && !TextFollowsDashes(args);
  return result;
}

// The picture Options ask for; false with a message on bad input.
bool DrawRequested(const TRenderOptions& options, TRgbImage& image, std::string& error) {
  std::u16string text;
  if (options.TextFromStandardInput) {
    if (!ReadStandardInputText(text, error)) return false;
    if (text.empty()) {
      error = "standard input: no text to draw";
      return false;
    }
  } else if (options.HaveText && !DecodeUtf8(options.Text, text, error)) {
    error = "TEXT: " + error;
    return false;
  }
  // Text of only line breaks is blank lines, not a picture of no width.
  const int32_t leastWidth = MeasureText(u" ", 1);
  TFontImage font;
  std::string warning;
  if (!LoadFontAtlas(options.FontPath, font, error, &warning)) return false;
  if (!warning.empty()) std::cerr << ToolName << ": warning: " << warning << '\n';
  if (options.HaveFrame) {
    image = RenderFrame(options.Frame, font);
  } else if (options.Compose) {
    TBlockOptions block;
    block.LetterCells = HasLetterCells(ViewOf(font));
    block.WrapWidth = options.WrapWidth;
    const TBlockSize size = MeasureBlock(text.data(), text.size(), block);
    image = TRgbImage(std::max(size.Width, leastWidth), size.Height, FrameClearColour);
    RenderBlock(image, font, 0, 0, text, block, options.Colour);
  } else {
    image = TRgbImage(std::max(MeasureText(text.data(), text.size()), leastWidth), FrameLineHeight, FrameClearColour);
    RenderText(image, font, 0, 0, text, options.Colour);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  TRenderOptions options;
  const TParseResult parsed = ParseRenderArguments(ArgumentsOf(argc, argv), options);
  if (parsed.Outcome != TParseOutcome::Run) return ReportParseResult(ToolName, parsed);
  TRgbImage image;
  std::string error;
  if (!DrawRequested(options, image, error)) return Fail(ToolName, ExitBadInput, error);
  if (!WritePng(image, options.OutPath, error, options.Scale)) return Fail(ToolName, ExitCannotWrite, error);
  return 0;
}
