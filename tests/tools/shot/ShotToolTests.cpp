// runeplate-shot as scripts and end-to-end tests use it: exit codes, what it
// prints, and the files it writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "shot/ShotCheck.h"
#include "tooltest/ImageTesting.h"
#include "tooltest/ToolRunner.h"
#include "tooltest/XwdTesting.h"

using namespace runeplate;
using namespace runeplate::testing;

TEST_F(ToolCommandLine, ShotConvertsDumpsToPng) {
  TRgbImage picture(5, 3, 0x123456);
  picture.At(4, 2) = 0xFEDCBA;
  WriteBytes(ShotPath, BuildXwd(picture));
  const TToolRun run = RunTool(RUNEPLATE_SHOT_TOOL, {"topng", ShotPath, OutPath});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  TRgbImage png;
  ASSERT_TRUE(ReadPng(OutPath, png));
  EXPECT_EQ(png.Width, 5);
  EXPECT_EQ(png.Pixels, picture.Pixels);
}

TEST_F(ToolCommandLine, ShotChecksAFrameAndReportsInOneLine) {
  TRgbImage frame = RenderFrame(12, Font);
  RenderText(frame, Font, 0, 0, u"457", CounterColour);
  TRgbImage damaged = frame;
  damaged.At(400, 200) = 0x000001;
  struct Case {
    const char* name;
    TRgbImage shot;
    std::vector<std::string> options;
    int exitCode;
    std::string firstLine, more;
  };
  const Case cases[] = {
      {"exact frame", frame, {}, 0, "frame=12 counter=457 mismatched=0", ""},
      {"one pixel off", damaged, {"--diff", OutPath}, 1, "frame=12 counter=457 mismatched=1", "(400, 200)"},
      {"frame beyond the search", frame, {"--max-frame", "11"}, 1, "frame=none counter=457 mismatched=unknown",
       "no frame from 0 to 11"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(OutPath.c_str());
    WriteBytes(ShotPath, BuildXwd(c.shot));
    std::vector<std::string> args = {"check", "--font", FontPath};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(ShotPath);
    const TToolRun run = RunTool(RUNEPLATE_SHOT_TOOL, args);
    EXPECT_EQ(run.ExitCode, c.exitCode) << run.Out << run.Err;
    EXPECT_EQ(run.Out.substr(0, run.Out.find('\n')), c.firstLine);
    EXPECT_NE(run.Out.find(c.more), std::string::npos) << run.Out;
    if (!c.options.empty() && c.options[0] == "--diff") {
      TRgbImage diff;
      ASSERT_TRUE(ReadPng(OutPath, diff));
      EXPECT_EQ(diff.At(400, 200), 0xFF0000u);
    }
  }
}

TEST_F(ToolCommandLine, ShotRejectsBadInputWithExitCode2) {
  WriteBytes(ShotPath, std::vector<uint8_t>(300, 0x11));
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const Case cases[] = {
      {{}, "no command"},
      {{"compare", "x"}, "unknown command"},
      {{"topng", ShotPath}, "OUT.png is required"},
      {{"topng", ShotPath, OutPath}, "not an XWD version 7 file"},
      {{"check"}, "SHOT.xwd is required"},
      {{"check", "--font", FontPath, ShotPath}, "not an XWD"},
      {{"check", "--font", FontPath, ScratchPath("missing.xwd")}, "cannot open"},
      {{"check", "--font", ShortFontPath, ShotPath}, "16383 bytes"},
      {{"check", "--font", FontPath, "--bogus", ShotPath}, "unknown option"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const TToolRun run = RunTool(RUNEPLATE_SHOT_TOOL, c.arguments);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_NE(run.Err.find(c.message), std::string::npos) << run.Err;
    EXPECT_EQ(Lines(run.Err).size(), 1u) << run.Err;
  }
}
