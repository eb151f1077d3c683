// CommandLine: what the tools' command lines share, on CLI11. --help
// describes every option; "--" ends the options; an unknown option, a bad
// value or a combination that does not apply is one line on standard error
// and exit code 2; help that cannot be written is an error too.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace runeplate {

// Exit code for a command line the tool cannot take, in every tool.
constexpr int ExitBadUsage = 2;

// The application for tool Name. Its help begins with Synopsis (the "usage:"
// lines and what the tool does, ending in a newline), lists every option with
// its description and ends with Notes.
std::unique_ptr<CLI::App> MakeToolApp(const std::string& name, const std::string& synopsis,
                                      const std::string& notes = "");

// Reads one option value into the caller's variable; returns false with the
// reason, which is reported as "NAME: REASON".
using TValueParser = std::function<bool(const std::string& value, std::string& reason)>;

// An option Name taking one value, shown in the help as ValueName. Given
// twice it is an error, unless the caller lets it repeat (Parse then sees
// every value in turn).
CLI::Option* AddParsedOption(CLI::App& app, const std::string& name, const std::string& valueName,
                             TValueParser parse, const std::string& description);

enum class TParseOutcome { Run, Help, Bad };

struct TParseResult {
  TParseOutcome Outcome = TParseOutcome::Run;
  std::string Text;  // Help: the help; Bad: the message, without the tool's name
};

inline TParseResult BadUsage(std::string message) { return {TParseOutcome::Bad, std::move(message)}; }

// Parses Args (the arguments after the program name) with App.
TParseResult ParseArguments(CLI::App& app, const std::vector<std::string>& args);

// For a result other than Run: prints the help on standard output and
// returns 0 (1 when it cannot be written), or prints "TOOL: MESSAGE" on
// standard error and returns ExitBadUsage.
int ReportParseResult(const std::string& tool, const TParseResult& result);

// Prints "TOOL: MESSAGE" on standard error and returns Code.
int Fail(const std::string& tool, int code, const std::string& message);

// Flushes standard output and returns Code, or, when something written to it
// was lost, says so and returns FailCode.
int FinishStandardOutput(const std::string& tool, int code, int failCode);

std::vector<std::string> ArgumentsOf(int argc, char** argv);

// Whether the TEXT argument stands after "--", where "-" is text like any
// other rather than standard input.
bool TextFollowsDashes(const std::vector<std::string>& args);

// Drops one trailing line ending ("\n" or "\r\n"), as a shell pipe or here
// document adds one the user did not mean as text.
void StripTrailingNewline(std::string& text);

// Standard input to its end as text, for a TEXT of "-": strict UTF-8, one
// trailing line ending dropped. False with "standard input: ..." in `error`.
bool ReadStandardInputText(std::u16string& units, std::string& error);

}  // namespace runeplate
