// What tools/common does for every tool: UTF-8, numbers, output files.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "common/Files.h"
#include "common/Numbers.h"
#include "common/Picture.h"
#include "common/Process.h"
#include "common/Utf8.h"
#include "tooltest/ToolRunner.h"

using namespace runeplate;
using namespace runeplate::testing;

TEST(DecodeUtf8, ConvertsWellFormedTextToUtf16) {
  struct {
    std::string Bytes;
    std::u16string Units;
  } const cases[] = {
      {"", u""},
      {"A", u"A"},
      {"A b", u"A b"},
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      {"\xC3\xA9", u"\u00E9"},
      {"\xEA\xB0\x80\xEA\xB0\x81", u"\uAC00\uAC01"},
      {"\xEA\xB0\x80\xED\x9E\xA3", u"\uAC00\uD7A3"},
      {"\xEF\xBF\xBF", u"\uFFFF"},
      {"\xF0\x9F\x98\x80", u"\xD83D\xDE00"},  // a surrogate pair above U+FFFF
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
      {"lone continuation byte", "\x80", 0},
      {"continuation byte after text", "A\x80", 1},
      {"overlong NUL", "\xC0\x80", 0},
      {"overlong two-byte A", "\xC1\x81", 0},
      {"overlong three-byte", "\xE0\x80\x80", 0},
      {"overlong three-byte after text", "ab\xE0\x80\x80", 2},
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

TEST(ParseNumber, AcceptsOnlyWholeSigned32BitDecimalNumbers) {
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
      {" 1", false, 0},         {"1 ", false, 0},
  };
  for (const auto& c : cases) {
    int32_t value = 99;
    EXPECT_EQ(ParseNumber(c.Text, value), c.Ok) << c.Text;
    EXPECT_EQ(value, c.Ok ? c.Value : 99) << c.Text << ": a failed parse must leave the value alone";
  }
}

TEST(ParseNumber, UnsignedHexTakesNoSignPrefixOrOverflow) {
  // strtoul, which this replaced, took "-1" as 4294967295 and "0x" prefixes.
  struct {
    std::string_view Text;
    bool Ok;
    uint32_t Value;
  } const cases[] = {{"ff00C0de", true, 0xFF00C0DE}, {"FFFFFFFF", true, 0xFFFFFFFF}, {"100000000", false, 0},
                     {"-1", false, 0}, {"+1", false, 0}, {"0x12", false, 0}};
  for (const auto& c : cases) {
    uint32_t value = 7;
    EXPECT_EQ(ParseNumber(c.Text, value, 16), c.Ok) << c.Text;
    EXPECT_EQ(value, c.Ok ? c.Value : 7u) << c.Text;
  }
}

TEST(WriteFileAtomically, ReplacesTheFileWholeAndLeavesNothingElse) {
  const std::string dir = FreshFolder("write");
  const std::string path = dir + "/out.bin";
  WriteBytes(path, "old contents");
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(path, {1, 2, 3}, error)) << error;
  EXPECT_EQ(ReadText(path), std::string("\x01\x02\x03", 3));
  EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"out.bin"});
  EXPECT_FALSE(WriteFileAtomically(dir + "/missing/out.bin", {1}, error));
  EXPECT_EQ(error, dir + "/missing/out.bin: cannot create: No such file or directory");
  RemoveFolder(dir);
}

// Catches a set of files replaced one by one, so that a failure part way
// leaves new files beside old ones (a BMFont's new pages beside its old .fnt),
// or takes the earlier files away with it.
TEST(WriteFilesTogether, ReplacesEveryFileOrNone) {
  const std::string dir = FreshFolder("together");
  const std::string a = dir + "/a.bin", b = dir + "/b.bin";
  WriteBytes(a, "old a");
  std::string error;
  const struct {
    const char* Fault;
    std::string Second;  // the second file's path; the first is a
    std::string Error;   // "": all written
  } cases[] = {
      {"the first replaced before the second failed", dir + "/missing/b.bin",
       dir + "/missing/b.bin: cannot create: No such file or directory"},
      {"the first replaced before a folder refused the second", dir, dir + ": is a directory"},
      {"a new second file not written", b, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Fault);
    const bool ok = WriteFilesTogether({{a, {'n', 'e', 'w'}}, {c.Second, {'2'}}}, error);
    EXPECT_EQ(ok, c.Error.empty());
    EXPECT_EQ(ReadText(a), ok ? "new" : "old a");
    if (!ok) {
      EXPECT_EQ(error, c.Error);
    }
    const std::vector<std::string> left = ok ? std::vector<std::string>{"a.bin", "b.bin"} : std::vector<std::string>{"a.bin"};
    EXPECT_EQ(FilesIn(dir), left);
  }
  EXPECT_EQ(ReadText(b), "2");
  RemoveFolder(dir);
}

// Catches a rewrite that made a private output world-readable (it once set
// every output to 0644) and a new file that ignored the umask.
TEST(WriteFileAtomically, KeepsAnExistingFilesModeAndGivesANewOneTheUmasksMode) {
  const struct {
    const char* Name;
    int Existing;  // the mode of the file already there, -1 for none
    mode_t Umask;
    mode_t Expected;
  } cases[] = {
      {"private file rewritten", 0600, 022, 0600},
      {"group-readable file rewritten", 0640, 077, 0640},
      {"executable file rewritten", 0755, 022, 0755},
      {"new file, umask 022", -1, 022, 0644},
      {"new file, umask 077", -1, 077, 0600},
  };
  const std::string dir = FreshFolder("mode");
  const std::string path = dir + "/out.bin";
  for (const auto& c : cases) {
    std::remove(path.c_str());
    if (c.Existing >= 0) {
      WriteBytes(path, "old");
      ASSERT_EQ(::chmod(path.c_str(), static_cast<mode_t>(c.Existing)), 0);
    }
    const mode_t saved = ::umask(c.Umask);
    std::string error;
    const bool written = WriteFileAtomically(path, {1, 2}, error);
    ::umask(saved);
    ASSERT_TRUE(written) << c.Name << ": " << error;
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, c.Expected) << c.Name;
  }
  RemoveFolder(dir);
}

TEST(WriteFileAtomically, WritesIntoAPipeRatherThanReplacingIt) {
  // A temporary file and a rename would put a plain file in place of a pipe
  // or of /dev/null.
  const std::string dir = FreshFolder("pipe");
  const std::string fifo = dir + "/fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  std::string error;
  EXPECT_TRUE(WriteFileAtomically(fifo, {'o', 'k'}, error)) << error;
  char got[4] = {};
  EXPECT_EQ(::read(reader, got, sizeof got), 2);
  EXPECT_EQ(std::string(got), "ok");
  ::close(reader);
  struct stat info {};
  ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"fifo"});
  RemoveFolder(dir);
}

// Catches arguments pasted into a shell command (a quote in a path broke the
// legibility benchmark's command, a "$(...)" would have run): each argument
// must reach the program as it is, and nothing else may run.
TEST(RunProgram, PassesEveryArgumentAsItIsWithNoShellBetween) {
  const std::string dir = FreshFolder("argv");
  const std::vector<std::string> odd = {"it's", "a \"quoted\" name", "$(touch ran)", "; touch ran2", "*", "",
                                        "two  spaces", "new\nline"};
  std::vector<std::string> argv = {"printf", "[%s]\\n"};
  argv.insert(argv.end(), odd.begin(), odd.end());
  EXPECT_EQ(RunProgram(argv, {"/dev/null", dir + "/out.txt", "", dir}), 0);
  std::string expected;
  for (const std::string& arg : odd) expected += "[" + arg + "]\n";
  EXPECT_EQ(ReadText(dir + "/out.txt"), expected);
  EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"out.txt"});
  RemoveFolder(dir);
}

// Catches a failure to start, or a failed program, reported as success.
TEST(RunProgram, ReportsTheExitCodeAndWhatCouldNotStart) {
  const struct {
    const char* Name;
    std::vector<std::string> Argv;
    std::string Dir;
    int ExitCode;
  } cases[] = {
      {"success", {"true"}, "", 0},
      {"failure", {"false"}, "", 1},
      {"no such program", {"runeplate-no-such-program"}, "", 127},
      {"no such folder", {"true"}, "/nonexistent/folder", 126},
      {"ended by a signal", {"sh", "-c", "kill -TERM $$"}, "", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(RunProgram(c.Argv, {"", "", "", c.Dir}), c.ExitCode) << c.Name;
}

// Catches an enlargement that drops, repeats or shifts rows or columns.
TEST(Enlarge, MakesEveryPixelAScaleByScaleBlock) {
  TRgbImage image(3, 2);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) image.At(x, y) = uint32_t(10 * y + x);
  for (int32_t scale : {1, 2, 5}) {
    const TRgbImage large = Enlarge(image, scale);
    ASSERT_EQ(large.Width, 3 * scale);
    ASSERT_EQ(large.Height, 2 * scale);
    for (int32_t y = 0; y < large.Height; ++y)
      for (int32_t x = 0; x < large.Width; ++x)
        ASSERT_EQ(large.At(x, y), image.At(x / scale, y / scale)) << "scale " << scale << " at " << x << ", " << y;
  }
}
