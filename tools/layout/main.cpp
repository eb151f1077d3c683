// runeplate-layout: prints what the layout engine makes of a string, or of
// every code unit, for checking a font or a string by eye and for tests.
#include <iostream>
#include <string>

#include "common/CommandLine.h"
#include "common/Files.h"
#include "common/Utf8.h"
#include "layout/LayoutCli.h"

using namespace runeplate;

namespace {

// The code units that Options name: TEXT or standard input decoded, or the
// units as given. False with a message on bad input.
bool ReadLayoutText(const TLayoutOptions& options, std::u16string& units, std::string& error) {
  switch (options.Mode) {
    case TLayoutMode::Units:
      units = options.Units;
      return true;
    case TLayoutMode::Stdin:
      return ReadStandardInputText(units, error);
    case TLayoutMode::Text:
      if (DecodeUtf8(options.Text, units, error)) return true;
      error = "TEXT: " + error;
      return false;
    case TLayoutMode::Table:
      break;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  TLayoutOptions options;
  const TParseResult parsed = ParseLayoutArguments(ArgumentsOf(argc, argv), options);
  if (parsed.Outcome != TParseOutcome::Run) return ReportParseResult(LayoutToolName, parsed);

  std::ios::sync_with_stdio(false);
  if (options.Mode == TLayoutMode::Table) {
    WriteTable(std::cout);
  } else {
    std::u16string text;
    std::string error;
    if (!ReadLayoutText(options, text, error)) return Fail(LayoutToolName, ExitBadUsage, error);
    TBlockOptions composed;
    composed.WrapWidth = options.WrapWidth;
    WriteRun(std::cout, options.X, options.Y, text, options.Compose ? &composed : nullptr);
  }
  return FinishStandardOutput(LayoutToolName, 0, LayoutExitCannotWrite);
}
