// runeplate-layout: prints what the layout engine makes of a string, or of
// every code unit, for checking a font or a string by eye and for tests.
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "layout/LayoutCli.h"

using namespace runeplate;

namespace {

int Fail(const std::string& message) {
  std::cerr << "runeplate-layout: " << message << '\n';
  return LayoutExitBadInput;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  TLayoutOptions options;
  std::string error;
  if (!ParseLayoutArguments(args, options, error)) return Fail(error);

  std::ios::sync_with_stdio(false);
  std::u16string text;
  switch (options.Mode) {
    case TLayoutMode::Help:
      std::cout << LayoutUsage;
      return LayoutExitOk;
    case TLayoutMode::Table:
      WriteTable(std::cout);
      return LayoutExitOk;
    case TLayoutMode::Units:
      text = options.Units;
      break;
    case TLayoutMode::Stdin: {
      std::string bytes{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
      StripTrailingNewline(bytes);
      if (!DecodeUtf8(bytes, text, error)) return Fail("standard input: " + error);
      break;
    }
    case TLayoutMode::Text:
      if (!DecodeUtf8(options.Text, text, error)) return Fail("TEXT: " + error);
      break;
  }
  WriteRun(std::cout, options.X, options.Y, text);
  return LayoutExitOk;
}
