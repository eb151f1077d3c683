// runeplate-render: draws text or a whole frame exactly as the program would,
// into a PNG file.
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "render/RefRender.h"

#ifndef RUNEPLATE_DEFAULT_FONT
#define RUNEPLATE_DEFAULT_FONT "a1bit.bmp"
#endif

using namespace runeplate;

namespace {

constexpr int ExitFailed = 1;      // the PNG could not be written
constexpr int ExitBadInput = 2;    // bad arguments or font file
constexpr uint32_t DefaultTextColour = 0xFF000000u;
constexpr long MaxScale = 64;

void PrintHelp() {
  std::printf(
      "usage: runeplate-render [--font FILE] [--colour AARRGGBB] [--scale N] -o OUT.png TEXT\n"
      "       runeplate-render [--font FILE] [--scale N] --frame K -o OUT.png\n"
      "\n"
      "Draws pixel for pixel what the program's Direct3D layer draws.\n"
      "  TEXT            one line of UTF-8 text, drawn at (0, 0) on white; the image is as\n"
      "                  wide as the pen advance and 16 pixels high\n"
      "  --frame K       frame K of a run (0 = the first): 800 x 600, white, the 36 sample\n"
      "                  lines in their colours, no frame-rate counter\n"
      "  --font FILE     font file, of which the last 16384 bytes are read\n"
      "                  (default: %s)\n"
      "  --colour C      text colour as 8 hexadecimal digits AARRGGBB; alpha is ignored,\n"
      "                  as on screen (default: FF000000, black)\n"
      "  --scale N       enlarge every pixel to N x N (1 to %ld, default 1)\n"
      "  -o OUT.png      the PNG file to write\n"
      "\n"
      "Exit status: 0 written, 1 the PNG could not be written, 2 bad arguments or font.\n",
      RUNEPLATE_DEFAULT_FONT, MaxScale);
}

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "runeplate-render: %s\n", message.c_str());
  return code;
}

bool ParseUnsigned(const char* text, int base, unsigned long long limit, unsigned long long& value) {
  if (*text == '\0' || *text == '-' || *text == '+' || std::isspace(static_cast<unsigned char>(*text))) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtoull(text, &end, base);
  return errno == 0 && *end == '\0' && value <= limit;
}

}  // namespace

int main(int argc, char** argv) {
  std::string fontPath = RUNEPLATE_DEFAULT_FONT;
  std::string outPath;
  std::string text;
  bool haveText = false, haveColour = false, haveFrame = false, optionsEnded = false;
  uint32_t colour = DefaultTextColour;
  unsigned long long frame = 0;
  int32_t scale = 1;

  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
    if (!isOption) {
      if (haveText) return Fail(ExitBadInput, "more than one TEXT argument (quote text with spaces)");
      text = arg;
      haveText = true;
      continue;
    }
    const bool takesValue = arg == "--font" || arg == "--colour" || arg == "--scale" || arg == "--frame" || arg == "-o";
    if (arg == "--help" || arg == "-h") {
      PrintHelp();
      return 0;
    }
    if (takesValue && k + 1 >= argc) return Fail(ExitBadInput, arg + " needs a value");
    if (arg == "--font") {
      fontPath = argv[++k];
    } else if (arg == "-o") {
      outPath = argv[++k];
    } else if (arg == "--colour") {
      const char* value = argv[++k];
      unsigned long long parsed;
      if (std::strlen(value) != 8 || !ParseUnsigned(value, 16, 0xFFFFFFFFull, parsed)) {
        return Fail(ExitBadInput, std::string("--colour wants 8 hexadecimal digits AARRGGBB, not '") + value + "'");
      }
      colour = static_cast<uint32_t>(parsed);
      haveColour = true;
    } else if (arg == "--scale") {
      const char* value = argv[++k];
      unsigned long long parsed;
      if (!ParseUnsigned(value, 10, MaxScale, parsed) || parsed < 1) {
        return Fail(ExitBadInput, "--scale wants a whole number from 1 to " + std::to_string(MaxScale) + ", not '" +
                                      value + "'");
      }
      scale = static_cast<int32_t>(parsed);
    } else if (arg == "--frame") {
      const char* value = argv[++k];
      if (!ParseUnsigned(value, 10, 0xFFFFFFFFull, frame)) {
        return Fail(ExitBadInput, std::string("--frame wants a frame number from 0, not '") + value + "'");
      }
      haveFrame = true;
    } else if (arg == "--") {
      optionsEnded = true;  // lets TEXT start with a dash
    } else {
      return Fail(ExitBadInput, "unknown option " + arg + " (see --help)");
    }
  }

  if (outPath.empty()) return Fail(ExitBadInput, "no output file given (-o OUT.png)");
  if (haveFrame && haveText) return Fail(ExitBadInput, "give either TEXT or --frame K, not both");
  if (haveFrame && haveColour) return Fail(ExitBadInput, "--colour does not apply to --frame");
  if (!haveFrame && !haveText) return Fail(ExitBadInput, "nothing to draw: give TEXT or --frame K");

  std::u16string utf16;
  std::string error;
  if (haveText) {
    if (!Utf8ToUtf16(text, utf16, error)) return Fail(ExitBadInput, "TEXT: " + error);
    if (utf16.empty()) return Fail(ExitBadInput, "TEXT is empty");
  }

  TFontImage font;
  if (!LoadFontAtlas(fontPath, font, error)) return Fail(ExitBadInput, error);

  TRgbImage image;
  if (haveFrame) {
    image = RenderFrame(frame, font);
  } else {
    image = TRgbImage(MeasureText(utf16.data(), utf16.size()), FrameLineHeight, FrameClearColour);
    RenderText(image, font, 0, 0, utf16, colour);
  }
  if (!WritePng(image, outPath, error, scale)) return Fail(ExitFailed, error);
  return 0;
}
