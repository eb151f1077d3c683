#include "common/CommandLine.h"

#include <algorithm>
#include <iostream>
#include <regex>
#include <set>

#include <CLI/CLI.hpp>

#include "common/Files.h"
#include "common/Utf8.h"

namespace runeplate {

namespace {

// The synopsis that each tool writes says more than CLI11's one generated
// "Usage:" line, so that line is left out; what an option cannot go with is
// said after its description rather than squeezed beside its name.
class TToolFormatter : public CLI::Formatter {
 public:
  std::string make_usage(const CLI::App*, std::string) const override { return ""; }

  std::string make_option_opts(const CLI::Option* option) const override {
    const std::string type = option->get_type_name();
    return option->get_positional() || type.empty() ? "" : " " + type;
  }

  std::string make_option_desc(const CLI::Option* option) const override {
    std::string text = option->get_description();
    text += Constraint(" (not with ", option->get_excludes());
    text += Constraint(" (only with ", option->get_needs());
    return Wrap(text, HelpWidth - get_column_width());
  }

 private:
  static constexpr size_t HelpWidth = 80;

  // Breaks Text into lines of at most Width characters at spaces.
  static std::string Wrap(const std::string& text, size_t width) {
    std::string wrapped, word;
    size_t column = 0;
    auto flush = [&] {
      if (word.empty()) return;
      if (column > 0 && column + 1 + word.size() > width) {
        wrapped += '\n';
        column = 0;
      } else if (column > 0) {
        wrapped += ' ';
        ++column;
      }
      wrapped += word;
      column += word.size();
      word.clear();
    };
    for (char c : text) {
      if (c == ' ') {
        flush();
      } else {
        word += c;
      }
    }
    flush();
    return wrapped;
  }

  static std::string Constraint(const std::string& lead, const std::set<CLI::Option*>& others) {
    if (others.empty()) return "";
    std::vector<std::string> names;
    for (const CLI::Option* other : others) names.push_back(other->get_name());
    std::sort(names.begin(), names.end());
    std::string text = lead;
    for (size_t k = 0; k < names.size(); ++k) text += (k ? ", " : "") + names[k];
    return text + ")";
  }
};

// CLI11 says "--x: 1 required X missing" for an option given last without
// its value.
std::string DescribeMismatch(const CLI::ArgumentMismatch& error) {
  static const std::regex missing("^(\\S+): [0-9]+ required .* missing$");
  std::smatch match;
  const std::string message = error.what();
  if (std::regex_match(message, match, missing)) return match[1].str() + " needs a value (see --help)";
  return message;
}

// CLI11 words an unknown option as an unexpected argument; say which it is.
std::string DescribeExtras(const CLI::App& app, const CLI::ExtrasError& error) {
  const std::vector<std::string> extras = app.remaining(true);
  if (extras.empty()) return error.what();
  const std::string& first = extras.front();
  if (first.size() > 1 && first[0] == '-') return "unknown option " + first + " (see --help)";
  return "unexpected argument '" + first + "' (see --help)";
}

}  // namespace

std::unique_ptr<CLI::App> MakeToolApp(const std::string& name, const std::string& synopsis,
                                      const std::string& notes) {
  // CLI11 ends the description with a newline of its own.
  const bool newline = !synopsis.empty() && synopsis.back() == '\n';
  auto app = std::make_unique<CLI::App>(synopsis.substr(0, synopsis.size() - newline), name);
  app->formatter(std::make_shared<TToolFormatter>());
  app->get_formatter()->column_width(24);
  app->set_help_flag("-h,--help", "print this help and exit");
  if (!notes.empty()) app->footer(notes);
  return app;
}

CLI::Option* AddParsedOption(CLI::App& app, const std::string& name, const std::string& valueName,
                             TValueParser parse, const std::string& description) {
  auto read = [parse](const std::string& value) {
    std::string reason;
    // CLI11 puts the option's name before the reason.
    if (!parse(value, reason)) throw CLI::ValidationError(reason);
  };
  return app.add_option(name, description)->type_name(valueName)->each(read);
}

TParseResult ParseArguments(CLI::App& app, const std::vector<std::string>& args) {
  // CLI11 takes its arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    return {TParseOutcome::Help, app.help()};
  } catch (const CLI::ExtrasError& error) {
    return BadUsage(DescribeExtras(app, error));
  } catch (const CLI::ArgumentMismatch& error) {
    return BadUsage(DescribeMismatch(error));
  } catch (const CLI::ParseError& error) {
    return BadUsage(error.what());
  }
  return {};
}

int Fail(const std::string& tool, int code, const std::string& message) {
  std::cerr << tool << ": " << message << '\n';
  return code;
}

int FinishStandardOutput(const std::string& tool, int code, int failCode) {
  std::string error;
  return FlushStandardOutput(error) ? code : Fail(tool, failCode, error);
}

int ReportParseResult(const std::string& tool, const TParseResult& result) {
  if (result.Outcome == TParseOutcome::Bad) return Fail(tool, ExitBadUsage, result.Text);
  // CLI11 leaves the last line of a subcommand's help open.
  std::cout << result.Text << (result.Text.empty() || result.Text.back() == '\n' ? "" : "\n");
  return FinishStandardOutput(tool, 0, 1);
}

bool TextFollowsDashes(const std::vector<std::string>& args) {
  const auto dashes = std::find(args.begin(), args.end(), "--");
  return dashes != args.end() && dashes + 1 != args.end();
}

void StripTrailingNewline(std::string& text) {
  if (!text.empty() && text.back() == '\n') {
    text.pop_back();
    if (!text.empty() && text.back() == '\r') text.pop_back();
  }
}

bool ReadStandardInputText(std::u16string& units, std::string& error) {
  std::string bytes;
  if (!ReadStandardInput(bytes, error)) return false;
  StripTrailingNewline(bytes);
  if (DecodeUtf8(bytes, units, error)) return true;
  error = "standard input: " + error;
  return false;
}

std::vector<std::string> ArgumentsOf(int argc, char** argv) {
  return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

}  // namespace runeplate
