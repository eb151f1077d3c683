#include "fontgen/export/sfnt/SfntFont.h"

#include <cctype>
#include <stdexcept>

#include "common/Utf8.h"

namespace runeplate::fontgen::sfnt {

namespace {

// The Revised Romanization of each letter of a syllable: initials ㄱ..ㅎ,
// medials ㅏ..ㅣ, finals as pronounced at the end of a syllable (none, ㄱ..ㅎ).
constexpr const char* InitialSpelling[19] = {"g", "kk", "n", "d", "tt", "r", "m", "b", "pp", "s",
                                             "ss", "", "j", "jj", "ch", "k", "t", "p", "h"};
constexpr const char* MedialSpelling[21] = {"a",  "ae", "ya", "yae", "eo", "e",  "yeo", "ye", "o",  "wa", "wae",
                                            "oe", "yo", "u",  "wo",  "we", "wi", "yu",  "eu", "ui", "i"};
constexpr const char* FinalSpelling[28] = {"", "k", "k", "k", "n", "n",  "n", "t", "l", "k", "m", "l", "l", "l",
                                           "p", "l", "m", "p", "p", "t", "t", "ng", "t", "t", "k", "t", "p", "t"};
constexpr char16_t FirstSyllable = 0xAC00, LastSyllable = 0xD7A3;
constexpr size_t PostScriptNameLimit = 63;
constexpr const char* Style = "-Regular";

}  // namespace

std::vector<std::optional<TBox>> GlyphBoxes(const TSfntFont& font) {
  const size_t count = font.Glyphs.size();
  std::vector<std::optional<TBox>> boxes(count);
  // 0 not yet, 1 under way (a cycle when met again), 2 done.
  std::vector<uint8_t> state(count, 0);
  auto visit = [&](auto& self, size_t g) -> void {
    if (state[g] == 2) return;
    if (state[g] == 1) throw std::invalid_argument("glyph " + std::to_string(g) + " contains itself");
    state[g] = 1;
    const TSfntGlyph& glyph = font.Glyphs[g];
    boxes[g] = BoxOf(glyph.Contours);
    for (uint16_t part : glyph.Components) {
      if (part >= count) throw std::invalid_argument("glyph " + std::to_string(g) + " uses no glyph " + std::to_string(part));
      self(self, part);
      boxes[g] = UnionOf(boxes[g], boxes[part]);
    }
    state[g] = 2;
  };
  for (size_t g = 0; g < count; ++g) visit(visit, g);
  return boxes;
}

TBox FontBox(const std::vector<std::optional<TBox>>& boxes) {
  std::optional<TBox> all;
  for (const std::optional<TBox>& box : boxes) all = UnionOf(all, box);
  return all.value_or(TBox{});
}

uint32_t FontRevision(const std::string& version) {
  uint32_t major = 0, minor = 0;
  size_t i = 0;
  for (; i < version.size() && std::isdigit(static_cast<unsigned char>(version[i])); ++i)
    major = major * 10 + uint32_t(version[i] - '0');
  uint32_t scale = 1;
  if (i < version.size() && version[i] == '.')
    for (++i; i < version.size() && std::isdigit(static_cast<unsigned char>(version[i])) && scale < 100000; ++i) {
      minor = minor * 10 + uint32_t(version[i] - '0');
      scale *= 10;
    }
  // Rounded to the nearest 1/65536, as fontTools reads 1.1 back.
  return (major & 0xFFFF) << 16 | uint32_t((uint64_t(minor) * 65536 + scale / 2) / scale);
}

std::string PostScriptName(const std::string& family) {
  std::u16string units;
  std::string error;
  std::string name;
  if (DecodeUtf8(family, units, error)) {
    bool wordStart = true;
    for (char16_t c : units) {
      if (c < 0x80 && std::isalnum(int(c))) {
        name += char(c);
        wordStart = false;
      } else if (c >= FirstSyllable && c <= LastSyllable) {
        const int index = c - FirstSyllable;
        std::string spelt = std::string(InitialSpelling[index / 588]) + MedialSpelling[index / 28 % 21] +
                            FinalSpelling[index % 28];
        if (wordStart) spelt[0] = char(std::toupper(static_cast<unsigned char>(spelt[0])));
        name += spelt;
        wordStart = false;
      } else {
        wordStart = true;
      }
    }
  }
  if (name.empty()) name = "Runeplate";
  const size_t room = PostScriptNameLimit - std::string(Style).size();
  if (name.size() > room) name.resize(room);
  return name + Style;
}

}  // namespace runeplate::fontgen::sfnt
