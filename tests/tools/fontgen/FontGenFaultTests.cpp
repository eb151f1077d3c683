// Faults a new user met in runeplate-fontgen, one row each: the row runs the
// real tool in a folder of its own and names the fault it would catch.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tooltest/ToolRunner.h"

using namespace runeplate::testing;

namespace {

const std::string Assets = RUNEPLATE_ASSETS_DIR;
const std::string Round = Assets + "/fonts/round/a1bit.bmp";

TToolRun RunFontGen(const std::string& dir, const std::vector<std::string>& args) {
  return RunTool(FONTGEN_TOOL, args, {"", "", "", dir});
}

// A failed run: exit 2 and one line on standard error that starts with the
// tool's name and holds `message`.
void ExpectOneLineFailure(const TToolRun& run, const std::string& message) {
  EXPECT_EQ(run.ExitCode, 2) << run.Err;
  EXPECT_EQ(Lines(run.Err).size(), 1u) << run.Err;
  EXPECT_EQ(run.FirstErrLine().rfind("runeplate-fontgen: ", 0), 0u) << run.Err;
  EXPECT_NE(run.FirstErrLine().find(message), std::string::npos) << run.Err;
}

}  // namespace

// Each row prepares its folder by running the tool (and changing files),
// then runs the command under test and checks what it left.
TEST(FontGenFaults, MultiFileFontsAreWrittenWholeOrLeftAsTheyWere) {
  const struct {
    const char* Fault;
    std::function<void(const std::string& dir)> Prepare;
    std::vector<std::string> Args;
    std::string Message;  // "": the run succeeds
    std::function<void(const std::string& dir)> Check;
  } cases[] = {
      {"a failed BMFont export deleted the previous export's pages",
       [](const std::string& dir) {
         ASSERT_EQ(RunFontGen(dir, {Round, "--chars", "chars.txt", "-o", "out.fnt"}).ExitCode, 0);
         std::remove((dir + "/out.fnt").c_str());
         mkdir((dir + "/out.fnt").c_str(), 0755);
         WriteBytes(dir + "/out_0.png", "the previous page");
       },
       {Round, "--chars", "chars.txt", "-o", "out.fnt"}, "out.fnt: is a directory",
       [](const std::string& dir) {
         EXPECT_EQ(ReadText(dir + "/out_0.png"), "the previous page");
         EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"chars.txt", "out.fnt", "out_0.png"}));
       }},
      {"the .fnt named pages by another name than the files written",
       [](const std::string&) {}, {Round, "--chars", "chars.txt", "-o", "say \"hi\".fnt"}, "",
       [](const std::string& dir) {
         const std::string text = ReadText(dir + "/say \"hi\".fnt");
         const size_t file = text.find("file=\"");
         ASSERT_NE(file, std::string::npos) << text;
         const std::string page = text.substr(file + 6, text.find('"', file + 6) - file - 6);
         std::vector<std::string> expected{"chars.txt", page, "say \"hi\".fnt"};
         std::sort(expected.begin(), expected.end());
         EXPECT_EQ(FilesIn(dir), expected);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Fault);
    const std::string dir = FreshFolder("multi");
    WriteBytes(dir + "/chars.txt", "AB 가각\n");
    c.Prepare(dir);
    const TToolRun run = RunFontGen(dir, c.Args);
    if (c.Message.empty()) {
      EXPECT_EQ(run.ExitCode, 0) << run.Err;
    } else {
      ExpectOneLineFailure(run, c.Message);
    }
    c.Check(dir);
    RemoveFolder(dir);
  }
}

// Catches an exception of a library (std::filesystem's temp_directory_path,
// with TMPDIR naming no folder) escaping main as an abort: whatever a format
// needs of the temporary folder, the run succeeds or fails in one line.
TEST(FontGenFaults, ALibrarysFailureIsOneLineNeverAnAbort) {
  for (const char* output : {"x.bdf", "x.ttf", "x.otf", "x.woff2", "x.otb", "x.fnt"}) {
    SCOPED_TRACE(output);
    const std::string dir = FreshFolder("tmpdir");
    const TToolRun run = RunTool("/usr/bin/env", {"TMPDIR=" + dir + "/none", FONTGEN_TOOL, Round, "-o", output},
                                 {"", "", "", dir});
    ASSERT_TRUE(run.ExitCode == 0 || run.ExitCode == 2) << run.ExitCode << ": " << run.Err;
    if (run.ExitCode == 2) {
      ExpectOneLineFailure(run, "");
      EXPECT_EQ(FilesIn(dir), std::vector<std::string>{});
    }
    RemoveFolder(dir);
  }
}

namespace {

// The value of BDF property `name` ("NOTICE"), unquoted.
std::string BdfProperty(const std::string& bdf, const std::string& name) {
  for (const std::string& line : Lines(bdf))
    if (line.rfind(name + " \"", 0) == 0) return line.substr(name.size() + 2, line.size() - name.size() - 3);
  return "";
}

// The lines of the comment a C source atlas opens with, as one line.
std::string CSourceComment(const std::string& text) {
  std::string comment;
  for (const std::string& line : Lines(text)) {
    if (line == "//" || line.rfind("// ", 0) != 0) break;
    for (char c : " " + line.substr(3))
      if (c != ' ' || (!comment.empty() && comment.back() != ' ')) comment += c;
  }
  return comment;
}

}  // namespace

// Catches a font made from a source without a NOTICE (GNU Unifont's hex
// file) that names no licence and claims to come "from a Runeplate atlas",
// while the C source names the source: every output says it the same way.
TEST(FontGenFaults, EveryOutputNamesItsSourceAndLicenceTheSameWay) {
  const struct {
    const char* Source;
    std::vector<std::string> Source_;  // the source argument, none for the default
    std::string Licence;
  } cases[] = {
      {"Unifont's hex file, no NOTICE beside it", {}, "Licence: that of unifont.hex;"},
      {"an atlas with its NOTICE", {Round}, "Licence: SIL Open Font License 1.1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Source);
    const std::string dir = FreshFolder("provenance");
    std::vector<std::string> args = c.Source_;
    args.insert(args.end(), {"-o", "f.h"});
    ASSERT_EQ(RunFontGen(dir, args).ExitCode, 0);
    args.back() = "f.bdf";
    ASSERT_EQ(RunFontGen(dir, args).ExitCode, 0);
    const std::string bdf = ReadText(dir + "/f.bdf");
    const std::string notice = BdfProperty(bdf, "NOTICE");
    EXPECT_EQ(notice, CSourceComment(ReadText(dir + "/f.h")));
    EXPECT_NE(notice.find(c.Licence), std::string::npos) << notice;
    EXPECT_NE(BdfProperty(bdf, "COPYRIGHT"), "");
    RemoveFolder(dir);
  }
}

// Catches the reserved-name check skipped for a source without a NOTICE: a
// font made from a font may not take that font's own family name.
TEST(FontGenFaults, ASourceWithoutANoticeStillReservesItsOwnName) {
  const std::string dir = FreshFolder("reserved");
  ASSERT_EQ(RunFontGen(dir, {Round, "-o", "round.bdf"}).ExitCode, 0);
  const TToolRun run = RunFontGen(dir, {"round.bdf", "--family", "runeplate round bold", "-o", "x.bdf"});
  ExpectOneLineFailure(run, "family \"runeplate round bold\" holds \"Runeplate Round\", a reserved name of the source");
  EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"round.bdf"});
  RemoveFolder(dir);
}

namespace {

// `bdf` with the bitmap rows of every glyph at or above `from` blank.
std::string BlankedBdf(const std::string& bdf, uint32_t from) {
  std::string out;
  bool blank = false, inBitmap = false;
  for (const std::string& line : Lines(bdf)) {
    if (line.rfind("ENCODING ", 0) == 0) blank = std::stoul(line.substr(9)) >= from;
    if (line == "ENDCHAR") inBitmap = false;
    out += inBitmap && blank ? std::string(line.size(), '0') : line;
    out += "\n";
    if (line == "BITMAP") inBitmap = true;
  }
  return out;
}

}  // namespace

// Catches a damaged source (a font cut short opens and draws nothing)
// converted "successfully" into an atlas of no ink.
TEST(FontGenFaults, ASourceThatDrawsNothingIsRefused) {
  const struct {
    const char* Fault;
    uint32_t BlankFrom;  // glyphs from this code point on are blank
    std::string Message;
  } cases[] = {
      {"a source of blank glyphs made a blank atlas", 0, "damaged.bdf: every glyph is blank; is the file damaged?"},
      {"a source of blank Hangul made an atlas of ASCII alone", 0x1100,
       "damaged.bdf: every Hangul glyph is blank, no syllable can be drawn; is the file damaged?"},
  };
  const std::string dir = FreshFolder("damaged");
  WriteBytes(dir + "/chars.txt", "AB 가각\n");
  ASSERT_EQ(RunFontGen(dir, {Round, "--chars", "chars.txt", "-o", "whole.bdf"}).ExitCode, 0);
  const std::string whole = ReadText(dir + "/whole.bdf");
  std::remove((dir + "/whole.bdf").c_str());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Fault);
    WriteBytes(dir + "/damaged.bdf", BlankedBdf(whole, c.BlankFrom));
    ExpectOneLineFailure(RunFontGen(dir, {"damaged.bdf", "--report", "-o", "x.bmp"}), c.Message);
    EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"chars.txt", "damaged.bdf"}));
  }
  RemoveFolder(dir);
}

// Catches a printable Korean family name that a format mangles or that
// makes the font unreadable (the BDF is read back through FreeType).
TEST(FontGenFaults, AKoreanFamilyNameIsCarriedWhole) {
  const std::string family = "룬플레이트 둥근 " + std::string(22, 'A');  // the longest allowed
  const std::string dir = FreshFolder("family");
  WriteBytes(dir + "/chars.txt", "AB 가각\n");
  for (const char* output : {"k.bdf", "k.fnt"}) {
    const TToolRun run = RunFontGen(dir, {Round, "--chars", "chars.txt", "--family", family, "-o", output});
    ASSERT_EQ(run.ExitCode, 0) << output << ": " << run.Err;
  }
  EXPECT_EQ(BdfProperty(ReadText(dir + "/k.bdf"), "FAMILY_NAME"), family);
  EXPECT_NE(ReadText(dir + "/k.fnt").find("info face=\"" + family + "\""), std::string::npos);
  const TToolRun back = RunFontGen(dir, {"k.bdf", "-o", "back.bmp"});
  EXPECT_EQ(back.ExitCode, 0) << back.Err;
  RemoveFolder(dir);
}

// Catches a BMFont that fontgen writes but cannot read ("unknown font
// format"), and one read back with a glyph misplaced: every syllable must
// compose from the jamo fitted to it, the ASCII come back as they were.
TEST(FontGenFaults, ABmFontReadsBackAsASource) {
  for (const char* atlas : {"round", "unifont", "dotum"}) {
    SCOPED_TRACE(atlas);
    const std::string dir = FreshFolder("bmfont-back");
    const std::string from = Assets + "/fonts/" + atlas + "/a1bit.bmp";
    ASSERT_EQ(RunFontGen(dir, {from, "-o", "f.fnt"}).ExitCode, 0);
    const TToolRun run = RunFontGen(dir, {"f.fnt", "--report", "-o", "back.bmp"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("identical syllables: 11172 of 11172 (100.0%)"), std::string::npos) << run.Out;
    // The ASCII as drawn from either source, a sheet each.
    std::string ascii;
    for (char c = 0x20; c <= 0x7E; ++c) ascii += c;
    ASSERT_EQ(RunFontGen(dir, {from, "--preview", ascii, "-o", "was.png"}).ExitCode, 0);
    ASSERT_EQ(RunFontGen(dir, {"f.fnt", "--preview", ascii, "-o", "is.png"}).ExitCode, 0);
    EXPECT_TRUE(ReadText(dir + "/was.png") == ReadText(dir + "/is.png")) << "the ASCII came back otherwise";
    RemoveFolder(dir);
  }
}

// A malformed BMFont is one line naming the file and line, never a crash or
// an atlas of whatever was read.
TEST(FontGenFaults, AMalformedBmFontIsRefusedInOneLine) {
  const std::string common = "info face=\"x\" size=16\ncommon lineHeight=16 base=12 scaleW=16 scaleH=16 pages=1\n";
  const std::string page = "page id=0 file=\"p.png\"\n";
  const struct {
    const char* Fault;
    std::string Fnt;
    std::string Message;
  } cases[] = {
      {"a missing page read as blank", common + "page id=0 file=\"none.png\"\n", "none.png: cannot open"},
      {"a page the .fnt never names read as blank", common, "f.fnt: names no file for page 0"},
      {"no common line: page count unknown", "info face=\"x\"\n" + page, "f.fnt:2: page before the common line"},
      {"a character beyond its page read out of bounds", common + page +
           "char id=44032 x=0 y=99999 width=16 height=16 xoffset=0 yoffset=0 xadvance=16 page=0 chnl=15\n",
       "f.fnt:4: y wants a number from 0 to "},
      {"a character on a page that does not exist", common + page +
           "char id=65 x=0 y=0 width=8 height=16 xoffset=0 yoffset=0 xadvance=8 page=1 chnl=15\n",
       "f.fnt:4: page wants a number from 0 to 0, not '1'"},
      {"an unclosed quote read to the line's end", "info face=\"x size=16\n", "f.fnt:1: value of face has no closing quote"},
      {"a number read loosely", common + page +
           "char id=65 x=0 y=0 width=8px height=16 xoffset=0 yoffset=0 xadvance=8 page=0 chnl=15\n",
       "f.fnt:4: width wants a number from 0 to "},
      {"a NUL in a page's name cut the refusal to nothing", common + std::string("page id=0 file=\0p.png\n", 22),
       "f.fnt:3: page file name holds a control character"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Fault);
    const std::string dir = FreshFolder("bmfont-bad");
    ASSERT_EQ(RunFontGen(dir, {Round, "--preview", " ", "-o", "sheet.png"}).ExitCode, 0);
    std::rename((dir + "/sheet.png").c_str(), (dir + "/p.png").c_str());
    WriteBytes(dir + "/f.fnt", c.Fnt);
    const std::vector<std::string> before = FilesIn(dir);
    ExpectOneLineFailure(RunFontGen(dir, {"f.fnt", "-o", "x.bmp"}), c.Message);
    EXPECT_EQ(FilesIn(dir), before);
    RemoveFolder(dir);
  }
}
