// runeplate-render and runeplate-shot as scripts and end-to-end tests use
// them: exit codes, what they print, and the files they write.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "RenderTestSupport.h"
#include "render/ShotCheck.h"

using namespace runeplate;
using namespace runeplate::testing;

namespace {

struct TRun {
  int ExitCode;
  std::string Out, Err;
};

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs Tool with Arguments (already quoted for /bin/sh).
TRun RunTool(const std::string& tool, const std::string& arguments) {
  const std::string out = ScratchPath("stdout"), err = ScratchPath("stderr");
  const int status = std::system((tool + " " + arguments + " >" + out + " 2>" + err).c_str());
  TRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(out), ReadText(err)};
  std::remove(out.c_str());
  std::remove(err.c_str());
  return run;
}

// A noise font on disk, and the same font in memory.
class ToolCommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    Font = NoiseAtlas(21);
    std::vector<uint8_t> file(62, 0x42);  // a header the tools must skip
    const std::vector<uint8_t> rows = EncodeFontPixels(Font);
    file.insert(file.end(), rows.begin(), rows.end());
    WriteBytes(FontPath, file);
    WriteBytes(ShortFontPath, std::vector<uint8_t>(FontFilePixelBytes - 1, 0));
  }
  void TearDown() override {
    for (const std::string& path : {FontPath, ShortFontPath, OutPath, ShotPath}) std::remove(path.c_str());
  }

  TFontImage Font;
  const std::string FontPath = ScratchPath("font.bmp");
  const std::string ShortFontPath = ScratchPath("short.bmp");
  const std::string OutPath = ScratchPath("out.png");
  const std::string ShotPath = ScratchPath("shot.xwd");
};

}  // namespace

TEST_F(ToolCommandLine, RenderRejectsBadArgumentsWithOneLineAndExitCode2) {
  const std::string o = " -o " + OutPath;
  const std::string font = " --font " + FontPath;
  struct Case {
    std::string arguments, message;
  };
  const Case cases[] = {
      {"", "no output file"},
      {font + o, "nothing to draw"},
      {font + " A", "no output file"},
      {font + o + " --bogus A", "unknown option --bogus"},
      {font + o + " --colour 12345 A", "--colour wants 8 hexadecimal digits"},
      {font + o + " --scale 0 A", "--scale wants"},
      {font + o + " --frame -1", "--frame wants"},
      {font + o + " --frame 1 A", "either TEXT or --frame"},
      {font + o + " --frame 1 --colour FF000000", "--colour does not apply"},
      {font + o + " A B", "more than one TEXT"},
      {font + o + " ''", "TEXT is empty"},
      {font + o + " \"$(printf '\\377')\"", "invalid UTF-8"},
      {" --font " + ShortFontPath + o + " A", "16383 bytes"},
      {" --font " + ScratchPath("missing.bmp") + o + " A", "cannot open font file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const TRun run = RunTool(RUNEPLATE_RENDER_TOOL, c.arguments);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_NE(run.Err.find(c.message), std::string::npos) << run.Err;
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
    EXPECT_FALSE(std::ifstream(OutPath).good()) << "wrote a file anyway";
  }
}

TEST_F(ToolCommandLine, RenderDrawsTextAndFramesAsTheLibraryDoes) {
  struct Case {
    std::string arguments;
    TRgbImage expected;
    int32_t scale;
  };
  TRgbImage text(8 + 16 + 8, 16);
  RenderText(text, Font, 0, 0, u"A가-", 0xFF000000u);
  TRgbImage coloured(16, 16);
  RenderText(coloured, Font, 0, 0, u"-A", 0x00C08040u);
  const Case cases[] = {
      {"'A가-'", text, 1},
      {"--scale 3 'A가-'", text, 3},
      {"--colour 00C08040 -- -A", coloured, 1},
      {"--frame 3", RenderFrame(3, Font), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const TRun run = RunTool(RUNEPLATE_RENDER_TOOL, "--font " + FontPath + " -o " + OutPath + " " + c.arguments);
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
  const TRun run = RunTool(RUNEPLATE_RENDER_TOOL, "--help");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_NE(run.Out.find("usage: runeplate-render"), std::string::npos);
  EXPECT_NE(run.Out.find(RUNEPLATE_SHIPPED_FONT), std::string::npos) << run.Out;
}

TEST_F(ToolCommandLine, ShotConvertsDumpsToPng) {
  TRgbImage picture(5, 3, 0x123456);
  picture.At(4, 2) = 0xFEDCBA;
  WriteBytes(ShotPath, BuildXwd(picture));
  const TRun run = RunTool(RUNEPLATE_SHOT_TOOL, "topng " + ShotPath + " " + OutPath);
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
    std::string options;
    int exitCode;
    std::string firstLine, more;
  };
  const Case cases[] = {
      {"exact frame", frame, "", 0, "frame=12 counter=457 mismatched=0", ""},
      {"one pixel off", damaged, "--diff " + OutPath, 1, "frame=12 counter=457 mismatched=1", "(400, 200)"},
      {"frame beyond the search", frame, "--max-frame 11", 1, "frame=none counter=457 mismatched=unknown",
       "no frame from 0 to 11"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(OutPath.c_str());
    WriteBytes(ShotPath, BuildXwd(c.shot));
    const TRun run = RunTool(RUNEPLATE_SHOT_TOOL, "check --font " + FontPath + " " + c.options + " " + ShotPath);
    EXPECT_EQ(run.ExitCode, c.exitCode) << run.Out << run.Err;
    EXPECT_EQ(run.Out.substr(0, run.Out.find('\n')), c.firstLine);
    EXPECT_NE(run.Out.find(c.more), std::string::npos) << run.Out;
    if (!c.options.empty() && c.options.rfind("--diff", 0) == 0) {
      TRgbImage diff;
      ASSERT_TRUE(ReadPng(OutPath, diff));
      EXPECT_EQ(diff.At(400, 200), 0xFF0000u);
    }
  }
}

TEST_F(ToolCommandLine, ShotRejectsBadInputWithExitCode2) {
  WriteBytes(ShotPath, std::vector<uint8_t>(300, 0x11));
  struct Case {
    std::string arguments, message;
  };
  const Case cases[] = {
      {"", "no command"},
      {"compare x", "unknown command"},
      {"topng " + ShotPath, "topng wants"},
      {"topng " + ShotPath + " " + OutPath, "not an XWD version 7 file"},
      {"check", "check wants SHOT.xwd"},
      {"check --font " + FontPath + " " + ShotPath, "not an XWD"},
      {"check --font " + FontPath + " " + ScratchPath("missing.xwd"), "cannot open"},
      {"check --font " + ShortFontPath + " " + ShotPath, "16383 bytes"},
      {"check --font " + FontPath + " --bogus " + ShotPath, "unknown option"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const TRun run = RunTool(RUNEPLATE_SHOT_TOOL, c.arguments);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_NE(run.Err.find(c.message), std::string::npos) << run.Err;
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
  }
}
