// What a user meets on the command line of every tool, one row each: the
// command line, the exit code, the first line of standard error. Each row
// runs in one folder of inputs, which must hold exactly those inputs
// afterwards: a failed run leaves no empty or partial output behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "font/FontFile.h"
#include "tooltest/ImageTesting.h"
#include "tooltest/ToolRunner.h"
#include "tooltest/XwdTesting.h"

using namespace runeplate;
using namespace runeplate::testing;

namespace {

const std::string Layout = RUNEPLATE_LAYOUT_TOOL;
const std::string FontGen = RUNEPLATE_FONTGEN_TOOL;
const std::string Render = RUNEPLATE_RENDER_TOOL;
const std::string Shot = RUNEPLATE_SHOT_TOOL;
const std::string DiskFull = "standard output: cannot write: No space left on device";

struct TCase {
  const char* Fault;  // what the row would catch
  std::string Tool;
  std::vector<std::string> Args;
  int ExitCode;
  std::string FirstErrLine;  // with the tool's name; empty: nothing on standard error
  std::string Also = "";     // must show in standard output or error
  std::string OutputTo = "";
  std::string InputFrom = "";
  std::string Leaves = "";   // the one file a successful row writes
};

std::string Name(const std::string& tool) { return tool.substr(tool.rfind('/') + 1); }

class ToolCommandLines : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = FreshFolder("inputs");
    const TFontImage font = NoiseAtlas(5);
    WriteBytes(Dir + "/font.bmp", EncodeFontFile(font));
    std::vector<uint8_t> odd(62, 0x42);  // a header no bitmap has
    const std::vector<uint8_t> pixels = EncodeFontPixels(font);
    odd.insert(odd.end(), pixels.begin(), pixels.end());
    WriteBytes(Dir + "/odd.bmp", odd);
    WriteBytes(Dir + "/frame0.xwd", BuildXwd(RenderFrame(0, font)));
    WriteBytes(Dir + "/black.xwd", BuildXwd(TRgbImage(FrameWidth, FrameHeight, 0)));
    TXwdLayout gap;
    gap.RedMask = 0xF0F000, gap.GreenMask = 0x000F00;
    WriteBytes(Dir + "/gap.xwd", BuildXwd(TRgbImage(2, 2), gap));
    const std::string row(32, '0');
    WriteBytes(Dir + "/bom.hex", "\xEF\xBB\xBF" "0020:" + row + "\n");
    WriteBytes(Dir + "/space.hex", "0020:" + row + " \n");
    WriteBytes(Dir + "/NOTICE", "Reserved: \"Neo Sans\"\n");  // beside font.bmp
    WriteBytes(Dir + "/latin1.txt", "caf\xE9\n");
    WriteBytes(Dir + "/emoji.txt", "\xF0\x9F\x98\x80\n");
    WriteBytes(Dir + "/newline.txt", "\n");
    WriteBytes(Dir + "/long.txt", std::string(100000, 'A') + "\n");
    mkdir((Dir + "/taken.fnt").c_str(), 0755);
    Inputs = FilesIn(Dir);
  }
  void TearDown() override { RemoveFolder(Dir); }

  void Check(const TCase& c) {
    SCOPED_TRACE(std::string(c.Fault) + ": " + Name(c.Tool) + " " + ::testing::PrintToString(c.Args));
    const TToolRun run = RunTool(c.Tool, c.Args, {"", c.InputFrom, c.OutputTo, Dir});
    EXPECT_EQ(run.ExitCode, c.ExitCode) << run.Err;
    EXPECT_EQ(run.FirstErrLine(), c.FirstErrLine.empty() ? "" : Name(c.Tool) + ": " + c.FirstErrLine);
    EXPECT_NE((run.Out + run.Err).find(c.Also), std::string::npos) << run.Out << run.Err;
    std::vector<std::string> expected = Inputs;
    if (!c.Leaves.empty()) expected.push_back(c.Leaves), std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesIn(Dir), expected);
    if (!c.Leaves.empty()) std::remove((Dir + "/" + c.Leaves).c_str());
  }

  std::string Dir;
  std::vector<std::string> Inputs;
};

}  // namespace

TEST_F(ToolCommandLines, GiveOneLineAndTheRightExitCode) {
  const std::string longText(2000, 'A');  // 16,000 pixels wide, x 64 beyond libpng
  const TCase cases[] = {
      {"'-' after '--' read standard input", Layout, {"--", "-"}, 0, "", "0 0 8 16 360 32\nend 8\n"},
      {"unknown option taken as TEXT", Layout, {"--bogus", "A"}, 2, "unknown option --bogus (see --help)"},
      {"number parsed loosely", Layout, {"--x", "1e3", "A"}, 2, "--x: wants a signed 32-bit decimal number, not '1e3'"},
      {"option of another mode ignored", Layout, {"--table", "--y", "3"}, 2, "--y excludes --table"},
      {"lost output reported as success", Layout, {"--table"}, 1, DiskFull, "", "/dev/full"},
      {"lost help reported as success", Layout, {"--help"}, 1, DiskFull, "", "/dev/full"},
      {"unreadable input taken as empty", Layout, {"-"}, 2, "standard input: cannot read: Is a directory", "", "", "."},

      {"wrote ./a1bit.bmp unasked", FontGen, {}, 2, "nothing to do: give -o OUT or --report",
       "usage: runeplate-fontgen"},
      {"empty output name", FontGen, {"-o", ""}, 2, "-o wants a file name, not ''", "usage: runeplate-fontgen"},
      {"lost report reported as success", FontGen, {"--report"}, 2, DiskFull, "", "/dev/full"},
      {"folder as input called a read error", FontGen, {"--hex", ".", "-o", "x.bmp"}, 2, ".: is a directory"},
      {"byte-order mark called a length error", FontGen, {"--hex", "bom.hex", "-o", "x.bmp"}, 2,
       "bom.hex:1: starts with a UTF-8 byte-order mark, which a hex file must not have"},
      {"stray character called a length error", FontGen, {"--hex", "space.hex", "-o", "x.bmp"}, 2,
       "space.hex:1: bad hex digit ' ' in glyph data of U+0020"},
      {"preview written as an atlas", FontGen, {"--preview", "A", "-o", "x.bmp"}, 2,
       "a preview is a PNG: name it .png, not 'x.bmp'", "usage: runeplate-fontgen"},
      {"malformed --preview drawn as U+FFFD", FontGen, {"--preview", "\xFF", "-o", "x.png"}, 2,
       "--preview: invalid UTF-8 at byte 0"},
      {"two previews, one drawn", FontGen, {"--preview", "A", "--preview-ksx1001", "-o", "x.png"}, 2,
       "--preview excludes --preview-ksx1001"},
      {"source given twice, one ignored", FontGen, {"a.hex", "--hex", "b.hex", "-o", "x.bmp"}, 2,
       "give SOURCE or --hex, not both", "usage: runeplate-fontgen"},
      {"size parsed loosely", FontGen, {"--size", "16px", "-o", "x.bmp"}, 2,
       "--size: wants pixels per em, 1 to 256, not '16px'"},
      {"a file that is no atlas exported as a font", FontGen, {"odd.bmp", "-o", "x.ttf"}, 2, "odd.bmp: not a bitmap file"},
      {"unknown extension offered too few kinds", FontGen, {"font.bmp", "-o", "x.woff"}, 2,
       "x.woff: unknown output kind: name it .bmp, .png, .han, .h, .bdf, .ttf, .otf, .woff2, .otb or .fnt"},
      {"malformed --chars file read as Latin-1", FontGen, {"font.bmp", "--chars", "latin1.txt", "-o", "x.bdf"}, 2,
       "--chars: latin1.txt: invalid UTF-8 at byte 3"},
      {"reserved name of the source exported", FontGen, {"font.bmp", "--family", "neo sans mono", "-o", "x.ttf"}, 2,
       "family \"neo sans mono\" holds \"Neo Sans\", a reserved name of the source; choose another --family"},
      {"newline in --family split the BDF's FONT line", FontGen, {"font.bmp", "--family", "A\nB", "-o", "x.bdf"}, 2,
       "--family: holds U+000A, which no font name may hold; give printable characters"},
      {"tab in --family accepted", FontGen, {"font.bmp", "--family", "A\tB", "-o", "x.fnt"}, 2,
       "--family: holds U+0009, which no font name may hold; give printable characters"},
      {"bell in --family accepted", FontGen, {"font.bmp", "--family", "A\aB", "-o", "x.bdf"}, 2,
       "--family: holds U+0007, which no font name may hold; give printable characters"},
      {"--family too long for FreeType's BDF reader", FontGen,
       {"font.bmp", "--family", std::string(200, 'A'), "-o", "x.bdf"}, 2,
       "--family: is 200 characters long; a font family name may have 31"},
      {"--family one beyond the stated length", FontGen, {"font.bmp", "--family", std::string(32, 'A'), "-o", "x.bdf"},
       2, "--family: is 32 characters long; a font family name may have 31"},
      {"Korean --family of the longest length refused", FontGen,
       {"font.bmp", "--family", "룬플레이트 둥근 " + std::string(22, 'A'), "-o", "x.bdf"}, 0, "", "", "", "", "x.bdf"},
      {"font option ignored for an atlas", FontGen, {"font.bmp", "--family", "X", "-o", "x.bmp"}, 2,
       "--family is for a font for other programs: give -o with .bdf, .ttf, .otf, .woff2, .otb or .fnt",
       "usage: runeplate-fontgen"},
      {"a font of no characters written", FontGen, {"font.bmp", "--chars", "emoji.txt", "-o", "x.bdf"}, 2,
       "--chars: the file holds no character a font can have (printable ASCII, Hangul)"},
      {"ascent outside the line", FontGen, {"font.bmp", "--ascent", "17", "-o", "x.bdf"}, 2,
       "--ascent: wants the pixels above the baseline, 1 to 16, not '17'"},
      {"BMFont pages left when the .fnt fails", FontGen, {"font.bmp", "-o", "taken.fnt"}, 2,
       "taken.fnt: is a directory"},
      {"jamo names half given", FontGen, {"--jamo-names", "cho_{set}", "-o", "x.bmp"}, 2,
       "--jamo-names: jamo names need three templates INITIAL,MEDIAL,FINAL, found 1"},
      {"compact font written into a bitmap", FontGen, {"font.bmp", "--compact", "-o", "x.bmp"}, 2,
       "--compact writes C source: give -o OUT.h", "usage: runeplate-fontgen"},
      {"--compact ignored by a preview", FontGen, {"font.bmp", "--compact", "--preview", "A", "-o", "x.png"}, 2,
       "--compact writes C source: give -o OUT.h", "usage: runeplate-fontgen"},
      {"compact font left half written or beside a temporary", FontGen, {"font.bmp", "--compact", "-o", "f.h"}, 0,
       "", "", "", "", "f.h"},
      {"a C keyword named an array no compiler takes", FontGen, {"font.bmp", "--compact", "--c-name", "int", "-o", "f.h"}, 2,
       "--c-name: wants a C identifier that is no keyword of C or C++ and neither starts with '_' nor holds '__', not 'int'"},
      {"a C++ keyword named an array Arduino's C++ rejects", FontGen, {"font.bmp", "--c-name", "class", "-o", "f.h"}, 2,
       "--c-name: wants a C identifier that is no keyword of C or C++ and neither starts with '_' nor holds '__', not 'class'"},
      {"a name reserved to the compiler taken", FontGen, {"font.bmp", "--compact", "--c-name", "_font", "-o", "f.h"}, 2,
       "--c-name: wants a C identifier that is no keyword of C or C++ and neither starts with '_' nor holds '__', not '_font'"},
      {"a double underscore, reserved in C++, taken", FontGen, {"font.bmp", "--c-name", "my__font", "-o", "f.h"}, 2,
       "--c-name: wants a C identifier that is no keyword of C or C++ and neither starts with '_' nor holds '__', not 'my__font'"},

      {"colour with 0x prefix taken", Render, {"--colour", "0x00FF00", "-o", "out.png", "A"}, 2,
       "--colour: wants exactly 8 hexadecimal digits AARRGGBB, not '0x00FF00'"},
      {"folder as font", Render, {"--font", ".", "-o", "out.png", "A"}, 2, ".: is a directory"},
      {"too wide for libpng, empty file left", Render, {"--font", "font.bmp", "--scale", "64", "-o", "out.png", longText}, 1,
       "out.png: cannot write a 1024000 x 1024 PNG: each side must be 1 to 1000000 pixels"},
      {"area never checked: minutes and gigabytes", Render,
       {"--font", "font.bmp", "--scale", "64", "-o", "out.png", longText.substr(0, 400)}, 1,
       "out.png: cannot write a 204800 x 1024 PNG: more than 100000000 pixels"},
      {"folder as output", Render, {"--font", "font.bmp", "-o", ".", "A"}, 1, ".: is a directory"},
      {"foreign font file read silently", Render, {"--font", "odd.bmp", "-o", "out.png", "A"}, 0,
       "warning: odd.bmp is not a 512 x 256 one-bit bitmap; its last 16384 bytes are read as the font, as the "
       "program does", "", "", "", "out.png"},
      {"lost help reported as success", Render, {"--help"}, 1, DiskFull, "", "/dev/full"},
      {"unreadable standard input taken as empty", Render, {"--font", "font.bmp", "-o", "out.png", "-"}, 2,
       "standard input: cannot read: Is a directory", "", "", "."},
      {"malformed standard input drawn", Render, {"--font", "font.bmp", "-o", "out.png", "-"}, 2,
       "standard input: invalid UTF-8 at byte 3", "", "", Dir + "/latin1.txt"},
      {"standard input of one line end drawn as nothing", Render, {"--font", "font.bmp", "-o", "out.png", "-"}, 2,
       "standard input: no text to draw", "", "", Dir + "/newline.txt"},
      {"line breaks alone made a 0 x 48 picture", Render,
       {"--font", "font.bmp", "--compose", "-o", "out.png", "\n\n"}, 0, "", "", "", "", "out.png"},
      {"'-' after '--' read standard input", Render, {"--font", "font.bmp", "-o", "out.png", "--", "-"}, 0,
       "", "", "", Dir + "/newline.txt", "out.png"},
      {"a 100,000-character line refused", Render, {"--font", "font.bmp", "-o", "out.png", "-"}, 0, "", "", "",
       Dir + "/long.txt", "out.png"},

      {"lost report reported as success", Shot, {"check", "--font", "font.bmp", "frame0.xwd"}, 1, DiskFull, "", "/dev/full"},
      {"folder as dump", Shot, {"topng", ".", "out.png"}, 2, ".: is a directory"},
      {"folder as font", Shot, {"check", "--font", ".", "frame0.xwd"}, 2, ".: is a directory"},
      {"colour mask with a gap spills into the next channel", Shot, {"topng", "gap.xwd", "out.png"}, 2,
       "gap.xwd: XWD red mask 0xF0F000 is not one run of bits"},
      {"names a limit it does not search to", Shot, {"check", "--font", "font.bmp", "--max-frame", "99999999", "black.xwd"}, 1,
       "", "no frame from 0 to 4194303 has these line colours"},
      {"extra argument ignored", Shot, {"topng", "frame0.xwd", "out.png", "extra"}, 2,
       "unexpected argument 'extra' (see --help)"},
  };
  for (const TCase& c : cases) Check(c);
}

TEST(ToolHelp, DescribesEveryOption) {
  struct {
    std::string Tool;
    std::vector<std::string> Args;
    std::vector<std::string> Options;
  } const cases[] = {
      {Layout, {"--help"}, {"--x X", "--y Y", "--units LIST", "--table", "TEXT"}},
      {FontGen, {"--help"},
       {"SOURCE", "--hex FILE", "--ascii SOURCE", "--size PX", "--jamo-names SCHEME", "-o OUT", "--report",
        "--preview TEXT", "--preview-ksx1001", "--chars SET", "--family NAME", "--ascent PX"}},
      {Render, {"--help"}, {"--font FILE", "--colour AARRGGBB", "--scale N", "--frame K", "-o OUT.png", "TEXT"}},
      {Shot, {"--help"}, {"topng", "check"}},
      {Shot, {"check", "--help"}, {"--font FILE", "--diff OUT.png", "--max-frame N", "SHOT.xwd"}},
  };
  for (const auto& c : cases) {
    const TToolRun run = RunTool(c.Tool, c.Args);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    for (const std::string& option : c.Options)
      EXPECT_NE(run.Out.find("  " + option + " "), std::string::npos) << option << " missing in\n" << run.Out;
  }
}
