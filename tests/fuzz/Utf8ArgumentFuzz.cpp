// The tools' strict UTF-8 decoder (utf8cpp), for command lines and standard
// input. Text it takes round-trips to the same bytes and the layout engine's
// decoder reads it alike; text it refuses is refused at the first byte the
// engine's decoder replaces, everything before being well formed.
#include <iterator>
#include <string>
#include <string_view>

#include <utf8.h>

#include "FuzzTarget.h"
#include "common/Utf8.h"
#include "text/UDrawText.h"

using namespace runeplate;
using runeplate::fuzz::Require;

namespace {

// The engine's reading of `text` as UTF-16, and the offset of its first
// replacement character (the size when it has none).
std::u16string EngineReading(std::string_view text, size_t& firstReplaced) {
  std::u16string units;
  firstReplaced = text.size();
  for (size_t at = 0; at < text.size();) {
    uint32_t code = 0;
    const size_t taken = DecodeUtf8(text.data() + at, text.size() - at, code);
    if (code == ReplacementCharacter && text.substr(at, taken) != "\xEF\xBF\xBD" && firstReplaced == text.size())
      firstReplaced = at;
    fuzz::AppendUtf16(units, code);
    at += taken;
  }
  return units;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::u16string units;
  std::string error;
  size_t firstReplaced = 0;
  const std::u16string engine = EngineReading(text, firstReplaced);
  if (DecodeUtf8(text, units, error)) {
    std::string again;
    utf8::utf16to8(units.begin(), units.end(), std::back_inserter(again));
    Require(again == text, "decoded text re-encodes to the same bytes");
    Require(engine == units, "the engine reads well-formed text alike");
    return 0;
  }
  const std::string prefix = "invalid UTF-8 at byte ";
  Require(error.rfind(prefix, 0) == 0, "a refusal names the byte");
  const size_t bad = std::stoul(error.substr(prefix.size()));
  Require(bad < size, "the bad byte is in the text");
  std::u16string before;
  Require(DecodeUtf8(text.substr(0, bad), before, error), "everything before the bad byte is well formed");
  Require(firstReplaced == bad, "the engine replaces first what the tools refuse");
  return 0;
}
