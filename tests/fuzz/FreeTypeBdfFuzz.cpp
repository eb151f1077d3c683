// The generator's reading of a font through FreeType: character maps, strike
// choice, and each glyph's place in its cell (baseline, clipping). The seeds
// are BDF fonts, whose text FreeType's own reader takes, so that mutated
// inputs still reach our code. FreeType opens files by name: each input goes
// into one scratch file first.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "FuzzTarget.h"
#include "fontgen/FontSource.h"
#include "fontgen/FreeTypeSource.h"

using namespace runeplate;
using runeplate::fuzz::Require;

namespace {

// The scratch file, made once and removed when the run ends.
class TScratchFont {
 public:
  TScratchFont() {
    const char* folder = std::getenv("TMPDIR");
    Path = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/runeplate-fuzz-XXXXXX";
    Fd = ::mkstemp(Path.data());
    Require(Fd >= 0, "a scratch file can be made");
  }
  ~TScratchFont() {
    ::close(Fd);
    ::unlink(Path.c_str());
  }
  // Puts `size` bytes at `data` in the file, in place of what was there.
  void Fill(const uint8_t* data, size_t size) {
    Require(::ftruncate(Fd, 0) == 0, "the scratch file can be emptied");
    for (size_t done = 0; done < size;) {
      const ssize_t wrote = ::pwrite(Fd, data + done, size - done, static_cast<off_t>(done));
      Require(wrote > 0, "the scratch file can be written");
      done += static_cast<size_t>(wrote);
    }
  }

  std::string Path;

 private:
  int Fd = -1;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TScratchFont font;
  font.Fill(data, size);
  try {
    const fontgen::TFontSource source = fontgen::LoadFreeTypeSource(font.Path);
    Require(source.Syllables.size() == SyllableCount && source.HasSyllable.size() == SyllableCount,
            "every syllable has its place");
    for (const std::string& warning : source.Warnings) Require(fuzz::IsOneLine(warning), "a warning is one line");
  } catch (const fontgen::TFontGenError& refusal) {
    Require(fuzz::IsOneLine(refusal.what()), "a refusal is one line");
  }
  return 0;
}
