// runeplate-layout's command line, code-unit lists and output formats, without running it.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "layout/LayoutCli.h"

using namespace runeplate;

TEST(ParseUnits, ReadsCommaSeparatedHexUnitsAndRejectsAnythingElse) {
  struct {
    std::string_view List;
    bool Ok;
    std::u16string Units;
  } const cases[] = {
      {"0041", true, u"A"},
      {"41,ac00,D800", true, u"A\uAC00\xD800"},
      {"0", true, std::u16string(1, u'\0')},
      {"0000FFFF", true, u"\xFFFF"},
      {"10000", false, u""},
      {"FFFFFFFFFFFFFFFFFFFF", false, u""},
      {"", false, u""},
      {"41,", false, u""},
      {",41", false, u""},
      {"41,,42", false, u""},
      {"0x41", false, u""},
      {"G1", false, u""},
      {"-41", false, u""},
      {"+41", false, u""},
      {" 41", false, u""},
      {"41 ", false, u""},
  };
  for (const auto& c : cases) {
    std::u16string units;
    std::string error;
    EXPECT_EQ(ParseUnits(c.List, units, error), c.Ok) << c.List;
    if (c.Ok)
      EXPECT_EQ(units, c.Units) << c.List;
    else
      EXPECT_FALSE(error.empty()) << c.List;
  }
}

TEST(ParseLayoutArguments, RecognisesEachModeAndItsValues) {
  struct {
    std::vector<std::string> Args;
    TLayoutMode Mode;
    int32_t X, Y;
    std::string Text;
    std::u16string Units;
  } const cases[] = {
      {{"abc"}, TLayoutMode::Text, 0, 0, "abc", u""},
      {{"--x", "5", "--y", "-16", "abc"}, TLayoutMode::Text, 5, -16, "abc", u""},
      {{"abc", "--y", "7"}, TLayoutMode::Text, 0, 7, "abc", u""},
      {{"--", "-5"}, TLayoutMode::Text, 0, 0, "-5", u""},
      {{"--", "-"}, TLayoutMode::Text, 0, 0, "-", u""},  // "-" after "--" is text
      {{""}, TLayoutMode::Text, 0, 0, "", u""},
      {{"-"}, TLayoutMode::Stdin, 0, 0, "-", u""},
      {{"-", "--"}, TLayoutMode::Stdin, 0, 0, "-", u""},
      {{"--units", "41,D800", "--x", "8"}, TLayoutMode::Units, 8, 0, "", u"A\xD800"},
      {{"--table"}, TLayoutMode::Table, 0, 0, "", u""},
  };
  for (const auto& c : cases) {
    TLayoutOptions options;
    const TParseResult result = ParseLayoutArguments(c.Args, options);
    ASSERT_EQ(result.Outcome, TParseOutcome::Run) << testing::PrintToString(c.Args) << ": " << result.Text;
    EXPECT_EQ(options.Mode, c.Mode) << testing::PrintToString(c.Args);
    EXPECT_EQ(options.X, c.X);
    EXPECT_EQ(options.Y, c.Y);
    EXPECT_EQ(options.Text, c.Text);
    EXPECT_EQ(options.Units, c.Units);
  }
}

TEST(ParseLayoutArguments, HelpWinsOverEverythingElse) {
  const std::vector<std::string> cases[] = {{"--help"}, {"abc", "-h", "--bogus"}};
  for (const auto& args : cases) {
    TLayoutOptions options;
    const TParseResult result = ParseLayoutArguments(args, options);
    EXPECT_EQ(result.Outcome, TParseOutcome::Help) << result.Text;
    EXPECT_EQ(result.Text.rfind("usage: runeplate-layout", 0), 0u) << result.Text;
  }
}

TEST(ParseLayoutArguments, RejectsBadArgumentsWithOneLineMessages) {
  const std::vector<std::string> cases[] = {
      {},
      {"--bogus", "abc"},
      {"-5"},
      {"abc", "--x"},
      {"--units"},
      {"--x", "ten", "abc"},
      {"--y", "99999999999", "abc"},
      {"--units", "110000"},
      {"--units", "zz"},
      {"abc", "def"},
      {"abc", "--units", "41"},
      {"--table", "abc"},
      {"--table", "--units", "41"},
      {"--table", "--x", "1"},  // used to be ignored
      {"--x", "1", "--x", "2", "abc"},
  };
  for (const auto& args : cases) {
    TLayoutOptions options;
    const TParseResult result = ParseLayoutArguments(args, options);
    EXPECT_EQ(result.Outcome, TParseOutcome::Bad) << testing::PrintToString(args);
    EXPECT_FALSE(result.Text.empty());
    EXPECT_EQ(result.Text.find('\n'), std::string::npos) << result.Text;
  }
}

TEST(StripTrailingNewline, DropsExactlyOneLineEnding) {
  struct {
    std::string In, Out;
  } const cases[] = {
      {"", ""},         {"a", "a"},     {"a\n", "a"},     {"a\r\n", "a"},
      {"a\n\n", "a\n"}, {"\n", ""},     {"a\r", "a\r"},   {"a\nb", "a\nb"},
  };
  for (const auto& c : cases) {
    std::string text = c.In;
    StripTrailingNewline(text);
    EXPECT_EQ(text, c.Out) << testing::PrintToString(c.In);
  }
}

TEST(FormatTableLine, ListsCountRectanglesAndAdvance) {
  struct {
    uint32_t Code;
    std::string Line;
  } const cases[] = {
      {0x0000, "0000 1 0,32,8,48 adv=8"},
      {0x0041, "0041 1 8,48,16,64 adv=8"},
      {0x3131, "3131 1 0,64,16,80 adv=16"},
      {0xAC00, "AC00 2 0,64,16,80 384,128,400,144 adv=16"},
      {0xAC01, "AC01 3 496,96,512,112 32,160,48,176 192,176,208,192 adv=16"},
      {0xFFFF, "FFFF 2 480,176,496,192 480,176,496,192 adv=16"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatTableLine(c.Code), c.Line);
}
