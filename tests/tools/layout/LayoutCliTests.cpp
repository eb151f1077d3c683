// runeplate-layout's parsing, decoding and output formats, without running it.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "layout/LayoutCli.h"

using namespace runeplate;

TEST(DecodeUtf8, ConvertsWellFormedTextToUtf16) {
  struct {
    std::string Bytes;
    std::u16string Units;
  } const cases[] = {
      {"", u""},
      {"A", u"A"},
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      {"\xC3\xA9", u"\u00E9"},
      {"\xEA\xB0\x80\xED\x9E\xA3", u"\uAC00\uD7A3"},
      {"\xEF\xBF\xBF", u"\uFFFF"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
  };
  for (const auto& c : cases) {
    std::u16string units = u"stale";
    std::string error;
    EXPECT_TRUE(DecodeUtf8(c.Bytes, units, error)) << error;
    EXPECT_EQ(units, c.Units) << c.Bytes;
  }
}

TEST(DecodeUtf8, RejectsMalformedTextNamingTheFirstBadByte) {
  struct {
    const char* What;
    std::string Bytes;
    size_t Offset;
  } const cases[] = {
      {"lone continuation byte", "A\x80", 1},
      {"overlong NUL", "\xC0\x80", 0},
      {"overlong two-byte A", "\xC1\x81", 0},
      {"overlong three-byte", "ab\xE0\x80\x80", 2},
      {"overlong four-byte", "\xF0\x80\x80\x80", 0},
      {"encoded high surrogate", "\xED\xA0\x80", 0},
      {"encoded low surrogate", "x\xED\xBF\xBF", 1},
      {"above U+10FFFF", "\xF4\x90\x80\x80", 0},
      {"truncated at the end", "\xEA\xB0", 0},
      {"continuation missing mid-text", "\xEA\x41\x80", 0},
      {"five-byte lead", "\xF8\x88\x80\x80\x80", 0},
      {"byte FF", "ok\xFF", 2},
  };
  for (const auto& c : cases) {
    std::u16string units;
    std::string error;
    EXPECT_FALSE(DecodeUtf8(c.Bytes, units, error)) << c.What;
    EXPECT_EQ(error, "invalid UTF-8 at byte " + std::to_string(c.Offset)) << c.What;
  }
}

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

TEST(ParseCoordinate, AcceptsOnlyWholeSigned32BitNumbers) {
  struct {
    std::string_view Text;
    bool Ok;
    int32_t Value;
  } const cases[] = {
      {"0", true, 0},           {"16", true, 16},
      {"-20", true, -20},       {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {"2147483648", false, 0}, {"", false, 0},
      {"1.5", false, 0},        {"12px", false, 0},
      {"+3", false, 0},         {"0x10", false, 0},
  };
  for (const auto& c : cases) {
    int32_t value = 99;
    EXPECT_EQ(ParseCoordinate(c.Text, value), c.Ok) << c.Text;
    EXPECT_EQ(value, c.Ok ? c.Value : 99) << c.Text;
  }
}

TEST(ParseLayoutArguments, RecognisesEachModeAndItsValues) {
  struct {
    std::vector<std::string_view> Args;
    TLayoutMode Mode;
    int32_t X, Y;
    std::string Text;
    std::u16string Units;
  } const cases[] = {
      {{"abc"}, TLayoutMode::Text, 0, 0, "abc", u""},
      {{"--x", "5", "--y", "-16", "abc"}, TLayoutMode::Text, 5, -16, "abc", u""},
      {{"abc", "--y", "7"}, TLayoutMode::Text, 0, 7, "abc", u""},
      {{"--", "-5"}, TLayoutMode::Text, 0, 0, "-5", u""},
      {{""}, TLayoutMode::Text, 0, 0, "", u""},
      {{"-"}, TLayoutMode::Stdin, 0, 0, "-", u""},
      {{"--units", "41,D800", "--x", "8"}, TLayoutMode::Units, 8, 0, "", u"A\xD800"},
      {{"--table"}, TLayoutMode::Table, 0, 0, "", u""},
      {{"--help"}, TLayoutMode::Help, 0, 0, "", u""},
      {{"abc", "-h", "--bogus"}, TLayoutMode::Help, 0, 0, "", u""},
  };
  for (const auto& c : cases) {
    TLayoutOptions options;
    std::string error;
    ASSERT_TRUE(ParseLayoutArguments(c.Args, options, error)) << error;
    EXPECT_EQ(options.Mode, c.Mode) << error;
    if (c.Mode == TLayoutMode::Help) continue;
    EXPECT_EQ(options.X, c.X);
    EXPECT_EQ(options.Y, c.Y);
    EXPECT_EQ(options.Text, c.Text);
    EXPECT_EQ(options.Units, c.Units);
  }
}

TEST(ParseLayoutArguments, RejectsBadArgumentsWithOneLineMessages) {
  const std::vector<std::string_view> cases[] = {
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
  };
  for (const auto& args : cases) {
    TLayoutOptions options;
    std::string error;
    EXPECT_FALSE(ParseLayoutArguments(args, options, error)) << testing::PrintToString(args);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
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
