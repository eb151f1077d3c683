#include "fontgen/export/sfnt/Woff2.h"

#include <woff2/encode.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace runeplate::fontgen::sfnt {

namespace {

// Debian's build of the library prints "Compressed N to M." on standard
// error for every font, where fontgen's one line of failure belongs; it
// goes to /dev/null while the library works.
class TQuietStandardError {
 public:
  TQuietStandardError() {
    std::fflush(stderr);
    Saved = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    if (Saved >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) close(null);
  }
  ~TQuietStandardError() {
    std::fflush(stderr);
    if (Saved >= 0) {
      dup2(Saved, STDERR_FILENO);
      close(Saved);
    }
  }
  TQuietStandardError(const TQuietStandardError&) = delete;
  TQuietStandardError& operator=(const TQuietStandardError&) = delete;

 private:
  int Saved = -1;
};

}  // namespace

std::vector<uint8_t> Woff2File(const std::vector<uint8_t>& trueType) {
  std::vector<uint8_t> out(woff2::MaxWOFF2CompressedSize(trueType.data(), trueType.size()));
  size_t length = out.size();
  woff2::WOFF2Params params;
  params.brotli_quality = 11;  // the library's best, and its default
  bool made = false;
  {
    const TQuietStandardError quiet;
    made = woff2::ConvertTTFToWOFF2(trueType.data(), trueType.size(), out.data(), &length, params);
  }
  if (!made)
    throw std::invalid_argument("the woff2 library cannot compress the font");
  out.resize(length);
  return out;
}

}  // namespace runeplate::fontgen::sfnt
