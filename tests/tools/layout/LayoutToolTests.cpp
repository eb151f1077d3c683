// runeplate-layout as a program: exit codes, standard output and standard
// error for good and bad input.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tooltest/ToolRunner.h"

using namespace runeplate::testing;

namespace {

const std::string Tool = RUNEPLATE_LAYOUT_TOOL;

}  // namespace

TEST(LayoutTool, PrintsTheCallbacksAndEndOfARun) {
  struct {
    const char* What;
    std::vector<std::string> Args;
    std::string Input;
    std::string Out;
  } const cases[] = {
      {"text argument", {"--y", "16", "A\xEA\xB0\x81"}, "",
       "0 16 8 16 8 48\n8 16 16 16 496 96\n8 16 16 16 32 160\n8 16 16 16 192 176\nend 24\n"},
      {"standard input loses one trailing newline", {"--x", "-8", "-"}, "\xEA\xB0\x80\n",
       "-8 0 16 16 0 64\n-8 0 16 16 384 128\nend 8\n"},
      {"raw units with a lone surrogate", {"--units", "DC00,41"}, "",
       "0 0 16 16 480 176\n0 0 16 16 480 176\n16 0 8 16 8 48\nend 24\n"},
      {"empty text", {""}, "", "end 0\n"},
      // Pens wrap modulo 2^32; an overflowing signed add stops the sanitizer build.
      {"pens wrap at the top of the range", {"--x", "2147483647", "AB"}, "",
       "2147483647 0 8 16 8 48\n-2147483641 0 8 16 16 48\nend -2147483633\n"},
      // Composed text: 한 in jamo is one cell, a line feed a new line at X.
      {"--compose joins jamo and honours line feeds", {"--compose", "--x", "4", "\xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB\nA"},
       "", "4 0 16 16 272 112\n4 0 16 16 368 160\n4 0 16 16 240 176\n4 16 8 16 8 48\nend 12\n"},
      {"--wrap breaks at the space", {"--wrap", "16", "A B"}, "",
       "0 0 8 16 8 48\n0 16 8 16 16 48\nend 8\n"},
      {"without --compose jamo are replacement cells", {"\xE1\x84\x92"}, "",
       "0 0 16 16 480 176\n0 0 16 16 480 176\nend 16\n"},
  };
  for (const auto& c : cases) {
    const TToolRun run = RunTool(Tool, c.Args, {c.Input, "", "", ""});
    EXPECT_EQ(run.ExitCode, 0) << c.What << ": " << run.Err;
    EXPECT_EQ(run.Out, c.Out) << c.What;
    EXPECT_EQ(run.Err, "") << c.What;
  }
}

TEST(LayoutTool, ExitsWithStatus2AndOneErrorLineOnBadInput) {
  struct {
    const char* What;
    std::vector<std::string> Args;
    std::string Input;
  } const cases[] = {
      {"unknown option", {"--bogus", "A"}, ""},
      {"missing option value", {"A", "--x"}, ""},
      {"missing TEXT", {}, ""},
      {"unit above FFFF", {"--units", "10000"}, ""},
      {"non-hex unit", {"--units", "41,4G"}, ""},
      {"overlong UTF-8", {"\xC0\x80"}, ""},
      {"encoded surrogate", {"\xED\xA0\x80"}, ""},
      {"invalid UTF-8 on standard input", {"-"}, "A\xFF\n"},
      {"a wrap width of 0", {"--wrap", "0", "A"}, ""},
      {"--compose with --table", {"--table", "--compose"}, ""},
  };
  for (const auto& c : cases) {
    const TToolRun run = RunTool(Tool, c.Args, {c.Input, "", "", ""});
    EXPECT_EQ(run.ExitCode, 2) << c.What;
    EXPECT_EQ(run.Out, "") << c.What;
    EXPECT_EQ(Lines(run.Err).size(), 1u) << c.What << ": " << run.Err;
  }
}

TEST(LayoutTool, HelpPrintsUsageAndSucceeds) {
  const TToolRun run = RunTool(Tool, {"--help"});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out.rfind("usage: runeplate-layout", 0), 0u) << run.Out;
  EXPECT_NE(run.Out.find("trailing newline"), std::string::npos);
}

TEST(LayoutTool, TablePrintsOneLinePerCodeUnitInOrder) {
  const TToolRun run = RunTool(Tool, {"--table"});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  const std::vector<std::string> lines = Lines(run.Out);
  ASSERT_EQ(lines.size(), 65536u);
  for (size_t code = 0; code < lines.size(); ++code) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%04X ", static_cast<unsigned>(code));
    ASSERT_EQ(lines[code].rfind(prefix, 0), 0u) << lines[code];
  }
  EXPECT_EQ(lines[0x41], "0041 1 8,48,16,64 adv=8");
  EXPECT_EQ(lines[0xAC00], "AC00 2 0,64,16,80 384,128,400,144 adv=16");
}

// Catches a syllable that the tool lays out differently written decomposed:
// all 11,172, precomposed and in jamo, print the same glyph calls.
TEST(LayoutTool, ComposePrintsTheSameGlyphsForEverySyllableInJamo) {
  std::string nfc, nfd;
  const auto append = [](std::string& out, uint32_t c) {
    out += char(0xE0 | c >> 12), out += char(0x80 | (c >> 6 & 0x3F)), out += char(0x80 | (c & 0x3F));
  };
  for (uint32_t s = 0; s < 11172; ++s) {
    append(nfc, 0xAC00 + s);
    append(nfd, 0x1100 + s / 588);
    append(nfd, 0x1161 + s % 588 / 28);
    if (s % 28 != 0) append(nfd, 0x11A7 + s % 28);
  }
  const TToolRun precomposed = RunTool(Tool, {"--compose", "-"}, {nfc, "", "", ""});
  const TToolRun decomposed = RunTool(Tool, {"--compose", "-"}, {nfd, "", "", ""});
  ASSERT_EQ(precomposed.ExitCode, 0) << precomposed.Err;
  ASSERT_EQ(decomposed.ExitCode, 0) << decomposed.Err;
  EXPECT_EQ(Lines(precomposed.Out).size(), 11172u * 2 + (11172 - 19 * 21) + 1);  // 399 have no final
  EXPECT_TRUE(decomposed.Out == precomposed.Out);
}
