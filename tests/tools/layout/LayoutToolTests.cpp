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
