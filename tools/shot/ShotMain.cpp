// runeplate-shot: turns X screen dumps of the running program into PNG files
// and checks them against the reference renderer.
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "common/CommandLine.h"
#include "common/Files.h"
#include "common/Numbers.h"
#include "shot/ShotCheck.h"
#include "shot/XwdFile.h"

#ifndef RUNEPLATE_DEFAULT_FONT
#define RUNEPLATE_DEFAULT_FONT "a1bit.bmp"
#endif

using namespace runeplate;

namespace {

constexpr const char* ToolName = "runeplate-shot";
constexpr int ExitPassed = 0;
constexpr int ExitMismatch = 1;  // the shot is not an exact frame, or a file could not be written
constexpr int ExitBadInput = ExitBadUsage;

const char Synopsis[] =
    "usage: runeplate-shot topng SHOT.xwd OUT.png\n"
    "       runeplate-shot check [--font FILE] [--diff OUT.png] [--max-frame N] SHOT.xwd\n"
    "\n"
    "SHOT.xwd is a screen dump as written by 'xwd -root -silent' (true colour).\n"
    "\n"
    "topng   converts the dump to a PNG file.\n"
    "check   recognises which frame K of a run the top-left 800 x 600 pixels show from\n"
    "        the colours of the 36 lines, renders frame K and compares rows 16 to 599\n"
    "        pixel for pixel; rows 0 to 15 may hold only white and the counter colour,\n"
    "        spelling the frame rate in the font's digits from x = 0, or nothing.\n"
    "        Prints 'frame=K counter=C mismatched=M' and, when the check fails, what\n"
    "        is wrong. 'runeplate-shot check --help' lists its options.\n";

const char Notes[] =
    "Exit status: 0 the shot matches, 1 it does not (or a file could not be written),\n"
    "2 bad arguments or unreadable input.";

enum class TShotCommand { ToPng, Check };

struct TShotOptions {
  TShotCommand Command = TShotCommand::Check;
  std::string ShotPath;
  std::string OutPath;  // topng
  std::string FontPath = RUNEPLATE_DEFAULT_FONT;
  std::string DiffPath;
  uint64_t FrameLimit = DefaultFrameSearchLimit;
};

void DescribeCheck(CLI::App& check, TShotOptions& o) {
  check.add_option("--font", o.FontPath, "font file, of which the last 16384 bytes are read (default " +
                                             o.FontPath + ")")->type_name("FILE");
  check.add_option("--diff", o.DiffPath, "also write the shot in faded grey with failing pixels in red")
      ->type_name("OUT.png");
  AddParsedOption(
      check, "--max-frame", "N",
      [&o](const std::string& value, std::string& reason) {
        if (ParseNumber(value, o.FrameLimit)) return true;
        reason = "wants a frame number from 0, not '" + value + "'";
        return false;
      },
      "search frames 0 to N (default and at most " + std::to_string(DefaultFrameSearchLimit) +
          ", after which the pictures repeat)");
  check.add_option("SHOT.xwd", o.ShotPath, "the screen dump")->type_name("")->required();
}

TParseResult ParseShotArguments(std::vector<std::string> args, TShotOptions& o) {
  const std::string command = args.empty() ? "" : args[0];
  if (command.empty()) return BadUsage("no command given: topng or check (see --help)");
  if (command == "help") args = {"--help"};
  else if (command != "topng" && command != "check" && command != "-h" && command != "--help")
    return BadUsage("unknown command '" + command + "': topng or check (see --help)");

  const auto app = MakeToolApp(ToolName, Synopsis, Notes);
  CLI::App* topng = app->add_subcommand("topng", "convert SHOT.xwd to OUT.png");
  topng->add_option("SHOT.xwd", o.ShotPath, "the screen dump")->type_name("")->required();
  topng->add_option("OUT.png", o.OutPath, "the PNG file to write")->type_name("")->required();
  CLI::App* check = app->add_subcommand("check", "check SHOT.xwd against the frame it shows");
  DescribeCheck(*check, o);
  app->require_subcommand(1);

  const TParseResult result = ParseArguments(*app, args);
  o.Command = topng->parsed() ? TShotCommand::ToPng : TShotCommand::Check;
  return result;
}

int ConvertToPng(const TShotOptions& options) {
  TRgbImage shot;
  std::string error;
  if (!LoadXwd(options.ShotPath, shot, error)) return Fail(ToolName, ExitBadInput, error);
  if (!WritePng(shot, options.OutPath, error)) return Fail(ToolName, ExitMismatch, error);
  return ExitPassed;
}

// Writes the diff picture when one was asked for and there is a frame to
// compare with; false with a message when it cannot be written.
bool WriteDiff(const TShotOptions& options, const TShotReport& report, const TRgbImage& diff, std::string& error) {
  if (options.DiffPath.empty()) return true;
  if (report.Frame < 0) {
    std::cerr << ToolName << ": no diff written: no frame to compare with\n";
    return true;
  }
  return WritePng(diff, options.DiffPath, error);
}

int Check(const TShotOptions& options) {
  std::string error;
  TFontImage font;
  std::string warning;
  if (!LoadFontAtlas(options.FontPath, font, error, &warning)) return Fail(ToolName, ExitBadInput, error);
  if (!warning.empty()) std::cerr << ToolName << ": warning: " << warning << '\n';
  TRgbImage shot;
  if (!LoadXwd(options.ShotPath, shot, error)) return Fail(ToolName, ExitBadInput, error);

  TRgbImage diff;
  const TShotReport report = CheckShot(shot, font, options.FrameLimit, options.DiffPath.empty() ? nullptr : &diff);
  std::cout << report.Summary() << '\n';
  for (const std::string& problem : report.Problems) std::cout << problem << '\n';
  if (!FlushStandardOutput(error)) return Fail(ToolName, ExitMismatch, error);
  if (!WriteDiff(options, report, diff, error)) return Fail(ToolName, ExitMismatch, error);
  return report.Passed() ? ExitPassed : ExitMismatch;
}

}  // namespace

int main(int argc, char** argv) {
  TShotOptions options;
  const TParseResult parsed = ParseShotArguments(ArgumentsOf(argc, argv), options);
  if (parsed.Outcome != TParseOutcome::Run) return ReportParseResult(ToolName, parsed);
  return options.Command == TShotCommand::ToPng ? ConvertToPng(options) : Check(options);
}
