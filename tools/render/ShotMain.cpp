// runeplate-shot: turns X screen dumps of the running program into PNG files
// and checks them against the reference renderer.
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "render/ShotCheck.h"
#include "render/XwdFile.h"

#ifndef RUNEPLATE_DEFAULT_FONT
#define RUNEPLATE_DEFAULT_FONT "a1bit.bmp"
#endif

using namespace runeplate;

namespace {

constexpr int ExitPassed = 0;
constexpr int ExitMismatch = 1;  // the shot is not an exact frame, or a file could not be written
constexpr int ExitBadInput = 2;

void PrintHelp() {
  std::printf(
      "usage: runeplate-shot topng SHOT.xwd OUT.png\n"
      "       runeplate-shot check [--font FILE] [--diff OUT.png] [--max-frame N] SHOT.xwd\n"
      "\n"
      "SHOT.xwd is a screen dump as written by 'xwd -root -silent' (true colour).\n"
      "\n"
      "topng   converts the dump to a PNG file.\n"
      "check   recognises which frame K of a run the top-left 800 x 600 pixels show from\n"
      "        the colours of the 36 lines (K from 0 to N, default and at most %llu,\n"
      "        after which the pictures repeat), renders frame K\n"
      "        and compares rows 16 to 599 pixel for pixel; rows 0 to 15 may hold only\n"
      "        white and the counter colour, spelling the frame rate in the font's digits\n"
      "        from x = 0, or nothing. Prints 'frame=K counter=C mismatched=M' and, when\n"
      "        the check fails, what is wrong.\n"
      "  --font FILE     font file, of which the last 16384 bytes are read\n"
      "                  (default: %s)\n"
      "  --diff OUT.png  also write the shot in faded grey with failing pixels in red\n"
      "\n"
      "Exit status: 0 the shot matches, 1 it does not (or a file could not be written),\n"
      "2 bad arguments or unreadable input.\n",
      static_cast<unsigned long long>(DefaultFrameSearchLimit), RUNEPLATE_DEFAULT_FONT);
}

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "runeplate-shot: %s\n", message.c_str());
  return code;
}

int ConvertToPng(int argc, char** argv) {
  if (argc != 4) return Fail(ExitBadInput, "topng wants SHOT.xwd OUT.png");
  TRgbImage shot;
  std::string error;
  if (!LoadXwd(argv[2], shot, error)) return Fail(ExitBadInput, error);
  if (!WritePng(shot, argv[3], error)) return Fail(ExitMismatch, error);
  return ExitPassed;
}

int Check(int argc, char** argv) {
  std::string fontPath = RUNEPLATE_DEFAULT_FONT;
  std::string diffPath;
  std::string shotPath;
  uint64_t frameLimit = DefaultFrameSearchLimit;
  for (int k = 2; k < argc; ++k) {
    const std::string arg = argv[k];
    const bool takesValue = arg == "--font" || arg == "--diff" || arg == "--max-frame";
    if (takesValue && k + 1 >= argc) return Fail(ExitBadInput, arg + " needs a value");
    if (arg == "--font") {
      fontPath = argv[++k];
    } else if (arg == "--diff") {
      diffPath = argv[++k];
    } else if (arg == "--max-frame") {
      const char* value = argv[++k];
      char* end = nullptr;
      errno = 0;
      const unsigned long long parsed = std::strtoull(value, &end, 10);
      if (!std::isdigit(static_cast<unsigned char>(*value)) || *end != '\0' || errno != 0) {
        return Fail(ExitBadInput, std::string("--max-frame wants a frame number from 0, not '") + value + "'");
      }
      frameLimit = parsed;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Fail(ExitBadInput, "unknown option " + arg + " (see --help)");
    } else if (!shotPath.empty()) {
      return Fail(ExitBadInput, "check takes one SHOT.xwd");
    } else {
      shotPath = arg;
    }
  }
  if (shotPath.empty()) return Fail(ExitBadInput, "check wants SHOT.xwd");

  std::string error;
  TFontImage font;
  if (!LoadFontAtlas(fontPath, font, error)) return Fail(ExitBadInput, error);
  TRgbImage shot;
  if (!LoadXwd(shotPath, shot, error)) return Fail(ExitBadInput, error);

  TRgbImage diff;
  const TShotReport report = CheckShot(shot, font, frameLimit, diffPath.empty() ? nullptr : &diff);
  std::printf("%s\n", report.Summary().c_str());
  for (const std::string& problem : report.Problems) std::printf("%s\n", problem.c_str());
  std::fflush(stdout);
  if (!diffPath.empty()) {
    if (report.Frame < 0) {
      std::fprintf(stderr, "runeplate-shot: no diff written: no frame to compare with\n");
    } else if (!WritePng(diff, diffPath, error)) {
      return Fail(ExitMismatch, error);
    }
  }
  return report.Passed() ? ExitPassed : ExitMismatch;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "--help" || command == "-h" || command == "help") {
    PrintHelp();
    return ExitPassed;
  }
  if (command == "topng") return ConvertToPng(argc, argv);
  if (command == "check") return Check(argc, argv);
  return Fail(ExitBadInput, command.empty() ? "no command given: topng or check (see --help)"
                                            : "unknown command '" + command + "': topng or check (see --help)");
}
