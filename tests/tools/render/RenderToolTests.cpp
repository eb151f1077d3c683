// runeplate-render as scripts use it: exit codes, what it prints, and the
// files it writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "render/RefRender.h"
#include "tooltest/ImageTesting.h"
#include "tooltest/ToolRunner.h"

using namespace runeplate;
using namespace runeplate::testing;

namespace {

using TArgs = std::vector<std::string>;

TArgs operator+(TArgs a, const TArgs& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST_F(ToolCommandLine, RenderRejectsBadArgumentsWithOneLineAndExitCode2) {
  const TArgs o = {"-o", OutPath};
  const TArgs font = {"--font", FontPath};
  struct Case {
    TArgs arguments;
    std::string message;
  };
  const Case cases[] = {
      {{}, "no output file"},
      {font + o, "nothing to draw"},
      {font + TArgs{"A"}, "no output file"},
      {font + o + TArgs{"--bogus", "A"}, "unknown option --bogus"},
      {font + o + TArgs{"--colour", "12345", "A"}, "--colour: wants exactly 8 hexadecimal digits"},
      {font + o + TArgs{"--scale", "0", "A"}, "--scale: wants"},
      {font + o + TArgs{"--frame", "-1"}, "--frame: wants"},
      {font + o + TArgs{"--frame", "1", "A"}, "--frame excludes TEXT"},
      {font + o + TArgs{"--frame", "1", "--colour", "FF000000"}, "--colour excludes --frame"},
      {font + o + TArgs{"--frame", "1", "--compose"}, "--frame excludes --compose"},
      {font + o + TArgs{"--wrap", "0", "A"}, "--wrap: wants a width"},
      {font + o + TArgs{"A", "B"}, "unexpected argument 'B'"},
      {font + o + TArgs{""}, "TEXT is empty"},
      {font + o + TArgs{"\xFF"}, "invalid UTF-8"},
      {TArgs{"--font", ShortFontPath} + o + TArgs{"A"}, "16383 bytes"},
      {TArgs{"--font", ScratchPath("missing.bmp")} + o + TArgs{"A"}, "cannot open"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const TToolRun run = RunTool(RUNEPLATE_RENDER_TOOL, c.arguments);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_NE(run.Err.find(c.message), std::string::npos) << run.Err;
    EXPECT_EQ(Lines(run.Err).size(), 1u) << run.Err;
    EXPECT_FALSE(std::ifstream(OutPath).good()) << "wrote a file anyway";
  }
}

TEST_F(ToolCommandLine, RenderDrawsTextAndFramesAsTheLibraryDoes) {
  struct Case {
    TArgs arguments;
    TRgbImage expected;
    int32_t scale;
  };
  TRgbImage text(8 + 16 + 8, 16);
  RenderText(text, Font, 0, 0, u"A가-", 0xFF000000u);
  TRgbImage coloured(16, 16);
  RenderText(coloured, Font, 0, 0, u"-A", 0x00C08040u);
  // Composed text: lone letters and a word wrapped onto a second line.
  TBlockOptions wrap;
  wrap.LetterCells = HasLetterCells(ViewOf(Font));
  wrap.WrapWidth = 40;
  const std::u16string lone = u"ㅋㅋ ㅠ ㄳ\u1100\u1161";
  TRgbImage block(32, 48);  // ㅋㅋ, ㅠ, ㄳ가
  RenderBlock(block, Font, 0, 0, lone, wrap, 0xFF000000u);
  const Case cases[] = {
      {{"A가-"}, text, 1},
      {{"--scale", "3", "A가-"}, text, 3},
      {{"--colour", "00C08040", "--", "-A"}, coloured, 1},
      {{"--frame", "3"}, RenderFrame(3, Font), 1},
      {{"--wrap", "40", "ㅋㅋ ㅠ ㄳ\xE1\x84\x80\xE1\x85\xA1"}, block, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const TToolRun run = RunTool(RUNEPLATE_RENDER_TOOL, TArgs{"--font", FontPath, "-o", OutPath} + c.arguments);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    TRgbImage png;
    ASSERT_TRUE(ReadPng(OutPath, png));
    ASSERT_EQ(png.Width, c.expected.Width * c.scale);
    ASSERT_EQ(png.Height, c.expected.Height * c.scale);
    for (int32_t y = 0; y < png.Height; ++y) {
      for (int32_t x = 0; x < png.Width; ++x) {
        ASSERT_EQ(png.At(x, y), c.expected.At(x / c.scale, y / c.scale)) << x << ", " << y;
      }
    }
  }
}

TEST_F(ToolCommandLine, RenderHelpNamesTheDefaultFont) {
  const TToolRun run = RunTool(RUNEPLATE_RENDER_TOOL, {"--help"});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_NE(run.Out.find("usage: runeplate-render"), std::string::npos);
  EXPECT_NE(run.Out.find(RUNEPLATE_SHIPPED_FONT), std::string::npos) << run.Out;
}
