#include "fontgen/export/sfnt/Cff.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <numeric>
#include <set>
#include <stdexcept>

#include "fontgen/export/sfnt/SfntBytes.h"

namespace runeplate::fontgen::sfnt {

namespace {

using TBytes = std::vector<uint8_t>;

// The first string of a font's own; those below are CFF's standard strings.
constexpr int32_t FirstCustomSid = 391;
// A charstring's argument stack holds at most this many numbers.
constexpr size_t MaxArguments = 48;

enum TCharStringOperator : uint8_t {
  VMoveTo = 4,
  RLineTo = 5,
  HLineTo = 6,
  VLineTo = 7,
  Return = 11,
  EndChar = 14,
  RMoveTo = 21,
  HMoveTo = 22,
  CallGSubr = 29,
};

enum TDictOperator : uint16_t {
  VersionOp = 0,
  NoticeOp = 1,
  FullNameOp = 2,
  FamilyNameOp = 3,
  FontBBoxOp = 5,
  CharsetOp = 15,
  CharStringsOp = 17,
  PrivateOp = 18,
  DefaultWidthXOp = 20,
  NominalWidthXOp = 21,
  FontMatrixOp = 0x0C07,  // escaped: 12 7
};

// A charstring number: one byte near zero, two up to 1131, else three.
void CharStringNumber(TBytes& out, int32_t value) {
  if (value >= -107 && value <= 107) {
    out.push_back(uint8_t(value + 139));
  } else if (value >= 108 && value <= 1131) {
    out.push_back(uint8_t(((value - 108) >> 8) + 247));
    out.push_back(uint8_t((value - 108) & 0xFF));
  } else if (value >= -1131 && value <= -108) {
    out.push_back(uint8_t(((-value - 108) >> 8) + 251));
    out.push_back(uint8_t((-value - 108) & 0xFF));
  } else if (value >= -32768 && value <= 32767) {
    out.push_back(28);
    out.push_back(uint8_t(uint32_t(value) >> 8));
    out.push_back(uint8_t(value));
  } else {
    throw std::invalid_argument("a CFF coordinate beyond 32767 units: " + std::to_string(value));
  }
}

// A DICT integer, the same short forms as a charstring's; `wide` always
// takes five bytes, for an offset written before it is known.
void DictNumber(TBytes& out, int32_t value, bool wide = false) {
  if (!wide && value >= -32768 && value <= 32767) return CharStringNumber(out, value);
  out.push_back(29);
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(uint32_t(value) >> shift));
}

// A DICT real: the shortest decimal that reads back as `value`, a nibble a
// character.
void DictReal(TBytes& out, double value) {
  // The fewest significant digits that read back as `value` (std::to_chars
  // for a double would do it, but emscripten's library lacks it).
  char text[32];
  for (int digits = 1; digits <= 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    if (std::strtod(text, nullptr) == value) break;
  }
  const char* end = text + std::strlen(text);
  std::vector<uint8_t> nibbles;
  for (const char* c = text; c < end; ++c) {
    if (*c >= '0' && *c <= '9') nibbles.push_back(uint8_t(*c - '0'));
    else if (*c == '.') nibbles.push_back(0xA);
    else if (*c == '-') nibbles.push_back(0xE);
    else if (*c == 'e' && c + 1 < end && c[1] == '-') nibbles.push_back(0xC), ++c;
    else if (*c == 'e') nibbles.push_back(0xB), c += (c + 1 < end && c[1] == '+');
  }
  nibbles.push_back(0xF);
  if (nibbles.size() % 2 != 0) nibbles.push_back(0xF);
  out.push_back(30);
  for (size_t i = 0; i < nibbles.size(); i += 2) out.push_back(uint8_t(nibbles[i] << 4 | nibbles[i + 1]));
}

void DictOperator(TBytes& out, uint16_t op) {
  if (op > 0xFF) out.push_back(uint8_t(op >> 8));
  out.push_back(uint8_t(op));
}

uint32_t OffsetSize(size_t largest) { return largest <= 0xFF ? 1 : largest <= 0xFFFF ? 2 : largest <= 0xFFFFFF ? 3 : 4; }

size_t DataSize(const std::vector<TBytes>& items) {
  size_t total = 0;
  for (const TBytes& item : items) total += item.size();
  return total;
}

// An INDEX: a count, offsets one-based from the byte before the data, the
// data; the offsets as wide as the largest needs.
void WriteIndex(TSfntBytes& out, const std::vector<TBytes>& items) {
  out.U16(uint32_t(items.size()));
  if (items.empty()) return;
  const uint32_t offSize = OffsetSize(DataSize(items) + 1);
  out.U8(offSize);
  size_t offset = 1;
  auto writeOffset = [&](size_t value) {
    for (int32_t b = int32_t(offSize) - 1; b >= 0; --b) out.U8(uint32_t(value >> (8 * b)));
  };
  writeOffset(offset);
  for (const TBytes& item : items) writeOffset(offset += item.size());
  for (const TBytes& item : items) out.Append(item);
}

size_t IndexSize(const std::vector<TBytes>& items) {
  if (items.empty()) return 2;
  const size_t data = DataSize(items);
  return 3 + (items.size() + 1) * OffsetSize(data + 1) + data;
}

// A charstring under construction: operators with their arguments, the
// advance going in front of the first.
class TCharString {
 public:
  explicit TCharString(std::optional<int32_t> width) : Width(width) {}

  void Operator(std::vector<int32_t> arguments, uint8_t op) {
    if (Width) arguments.insert(arguments.begin(), *Width), Width.reset();
    for (int32_t argument : arguments) CharStringNumber(Bytes, argument);
    Bytes.push_back(op);
  }

  void MoveBy(int32_t dx, int32_t dy) {
    if (dx == 0 && dy != 0) Operator({dy}, VMoveTo);
    else if (dy == 0) Operator({dx}, HMoveTo);
    else Operator({dx, dy}, RMoveTo);
  }

  // Lines through `points` from the current point, the first; horizontal
  // and vertical ones in turn as one run of hlineto/vlineto arguments.
  void LinesThrough(const TContour& points) {
    std::vector<int32_t> run;
    uint8_t runOp = 0;
    bool nextHorizontal = false;  // what the run's next argument draws
    auto flush = [&] {
      if (!run.empty()) Operator(run, runOp);
      run.clear();
    };
    for (size_t i = 1; i < points.size(); ++i) {
      const int32_t dx = points[i].X - points[i - 1].X, dy = points[i].Y - points[i - 1].Y;
      const bool horizontal = dy == 0, vertical = dx == 0 && dy != 0;
      if (!horizontal && !vertical) {
        if (runOp != RLineTo || run.size() + 2 > MaxArguments) flush();
        runOp = RLineTo;
        run.insert(run.end(), {dx, dy});
        continue;
      }
      if (runOp == RLineTo || horizontal != nextHorizontal || run.size() == MaxArguments) flush();
      if (run.empty()) runOp = horizontal ? HLineTo : VLineTo;
      run.push_back(horizontal ? dx : dy);
      nextHorizontal = !horizontal;
    }
    flush();
  }

  TBytes Finish(uint8_t op) {
    Operator({}, op);
    return std::move(Bytes);
  }

 private:
  std::optional<int32_t> Width;
  TBytes Bytes;
};

// A part's subroutine: its index as called, and where it starts and ends.
struct TSubroutine {
  int32_t Called;
  TPoint First;
  TPoint Last;
};

// Draws `contours` (CFF's direction) from `at`, the first move left out
// when `moved` already went there; `at` ends on the last point drawn.
void Draw(TCharString& charString, const std::vector<TContour>& contours, TPoint& at, bool moved) {
  for (const TContour& contour : contours) {
    if (contour.empty()) continue;
    if (!moved) charString.MoveBy(contour[0].X - at.X, contour[0].Y - at.Y);
    moved = false;
    charString.LinesThrough(contour);
    at = contour.back();
  }
}

int32_t MostCommonAdvance(const std::vector<TCffGlyph>& glyphs) {
  std::map<int32_t, size_t> counts;
  for (const TCffGlyph& glyph : glyphs) ++counts[glyph.Advance];
  int32_t best = 0;
  size_t bestCount = 0;
  for (const auto& [advance, count] : counts)
    if (count > bestCount) best = advance, bestCount = count;
  return best;
}

// The subroutine of every glyph that is another's part and has ink, the
// most used numbered first.
std::map<uint16_t, TSubroutine> Subroutines(const std::vector<TCffGlyph>& glyphs, std::vector<TBytes>& bodies) {
  std::map<uint16_t, size_t> uses;
  for (const TCffGlyph& glyph : glyphs) {
    for (uint16_t part : glyph.Components) {
      if (part >= glyphs.size() || !glyphs[part].Components.empty())
        throw std::invalid_argument("glyph " + glyph.Name + " is made of a glyph that cannot be a part");
      if (!glyphs[part].Contours.empty()) ++uses[part];
    }
  }
  std::vector<uint16_t> order;
  for (const auto& [part, count] : uses) order.push_back(part);
  std::stable_sort(order.begin(), order.end(), [&](uint16_t a, uint16_t b) { return uses[a] > uses[b]; });
  const int32_t bias = order.size() < 1240 ? 107 : order.size() < 33900 ? 1131 : 32768;
  std::map<uint16_t, TSubroutine> subroutines;
  for (uint16_t part : order) {
    const std::vector<TContour> contours = Reversed(glyphs[part].Contours);
    TCharString body(std::nullopt);
    TPoint at = contours.front().front();
    Draw(body, contours, at, true);
    subroutines[part] = {int32_t(bodies.size()) - bias, contours.front().front(), at};
    bodies.push_back(body.Finish(Return));
  }
  return subroutines;
}

TBytes GlyphCharString(const TCffGlyph& glyph, uint16_t number, const std::map<uint16_t, TSubroutine>& subroutines,
                       int32_t defaultAdvance) {
  TCharString charString(glyph.Advance == defaultAdvance ? std::nullopt : std::optional<int32_t>(glyph.Advance));
  TPoint at{0, 0};
  std::vector<uint16_t> parts = glyph.Components;
  // A part drawn by its own subroutine rather than a second copy.
  if (subroutines.count(number)) parts = {number};
  else Draw(charString, Reversed(glyph.Contours), at, false);
  for (uint16_t part : parts) {
    const auto found = subroutines.find(part);
    if (found == subroutines.end()) continue;  // a part without ink
    const TSubroutine& subroutine = found->second;
    charString.MoveBy(subroutine.First.X - at.X, subroutine.First.Y - at.Y);
    charString.Operator({subroutine.Called}, CallGSubr);
    at = subroutine.Last;
  }
  return charString.Finish(EndChar);
}

bool IsPrintableAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

TBytes AsBytes(const std::string& text) { return TBytes(text.begin(), text.end()); }

// The charset: glyph names from the font's first string on, in glyph
// order, so one range covers them all.
TBytes Charset(size_t glyphCount) {
  TSfntBytes charset;
  if (glyphCount <= 1) {
    charset.U8(0);
    return charset.Bytes;
  }
  charset.U8(2);
  charset.U16(FirstCustomSid);
  charset.U16(uint32_t(glyphCount - 2));
  return charset.Bytes;
}

std::optional<TBox> FontBox(const std::vector<TCffGlyph>& glyphs) {
  // A glyph made of others is bounded by their union, so every glyph's own
  // contours bound the whole font.
  std::optional<TBox> box;
  for (const TCffGlyph& glyph : glyphs) box = UnionOf(box, BoxOf(glyph.Contours));
  return box;
}

// The glyph names, glyph 1's first, each checked.
std::vector<TBytes> GlyphNames(const std::vector<TCffGlyph>& glyphs) {
  std::vector<TBytes> strings;
  std::set<std::string> seen{".notdef"};
  for (size_t g = 1; g < glyphs.size(); ++g) {
    const std::string& name = glyphs[g].Name;
    if (name.empty() || !IsPrintableAscii(name) || !seen.insert(name).second)
      throw std::invalid_argument("glyph name \"" + name + "\" is empty, not printable ASCII or not unique");
    strings.push_back(AsBytes(name));
  }
  return strings;
}

// The Top DICT, its names appended to `strings`; the offsets it holds are
// five bytes wide, so that its size is known before they are, and patched
// in at CharsetAt, CharStringsAt and PrivateAt (size, then offset).
struct TTopDict {
  TBytes Bytes;
  size_t CharsetAt, CharStringsAt, PrivateAt;
};

TTopDict TopDict(const TCffNames& names, int32_t unitsPerEm, const TBox& box, std::vector<TBytes>& strings) {
  TBytes top;
  const auto stringOperator = [&](const std::string& text, uint16_t op) {
    if (text.empty() || !IsPrintableAscii(text)) return;
    DictNumber(top, FirstCustomSid + int32_t(strings.size()));
    DictOperator(top, op);
    strings.push_back(AsBytes(text));
  };
  stringOperator(names.Version, VersionOp);
  stringOperator(names.Notice, NoticeOp);
  stringOperator(names.FullName, FullNameOp);
  stringOperator(names.FamilyName, FamilyNameOp);
  if (unitsPerEm != 1000) {
    const double scale = 1.0 / unitsPerEm;
    for (double value : {scale, 0.0, 0.0, scale, 0.0, 0.0}) value == 0 ? DictNumber(top, 0) : DictReal(top, value);
    DictOperator(top, FontMatrixOp);
  }
  for (int32_t value : {box.XMin, box.YMin, box.XMax, box.YMax}) DictNumber(top, value);
  DictOperator(top, FontBBoxOp);
  const size_t charsetAt = top.size() + 1, charStringsAt = charsetAt + 6, privateAt = charStringsAt + 6;
  for (uint16_t op : {CharsetOp, CharStringsOp}) DictNumber(top, 0, true), DictOperator(top, op);
  DictNumber(top, 0, true), DictNumber(top, 0, true), DictOperator(top, PrivateOp);
  return {std::move(top), charsetAt, charStringsAt, privateAt};
}

}  // namespace

std::vector<uint8_t> CffTable(const std::vector<TCffGlyph>& glyphs, const TCffNames& names, int32_t unitsPerEm) {
  if (glyphs.empty() || glyphs.size() > 64999 - FirstCustomSid)
    throw std::invalid_argument("a CFF font holds 1 to " + std::to_string(64999 - FirstCustomSid) + " glyphs");
  std::vector<TBytes> strings = GlyphNames(glyphs);
  const TTopDict top = TopDict(names, unitsPerEm, FontBox(glyphs).value_or(TBox{}), strings);
  std::vector<TBytes> subroutineBodies;
  const std::map<uint16_t, TSubroutine> subroutines = Subroutines(glyphs, subroutineBodies);
  const int32_t defaultAdvance = MostCommonAdvance(glyphs);
  std::vector<TBytes> charStrings;
  for (size_t g = 0; g < glyphs.size(); ++g)
    charStrings.push_back(GlyphCharString(glyphs[g], uint16_t(g), subroutines, defaultAdvance));
  TBytes privateDict;
  if (defaultAdvance != 0) DictNumber(privateDict, defaultAdvance), DictOperator(privateDict, DefaultWidthXOp);
  std::string postScriptName = names.PostScriptName.substr(0, 63);
  if (postScriptName.empty() || !IsPrintableAscii(postScriptName)) postScriptName = "Runeplate-Regular";
  const std::vector<TBytes> nameIndex{AsBytes(postScriptName)}, topIndex{top.Bytes};
  const TBytes charset = Charset(glyphs.size());

  const size_t topAt = 4 + IndexSize(nameIndex) + IndexSize(topIndex) - top.Bytes.size();
  const size_t charsetOffset = topAt + top.Bytes.size() + IndexSize(strings) + IndexSize(subroutineBodies);
  const size_t charStringsOffset = charsetOffset + charset.size();
  const size_t privateOffset = charStringsOffset + IndexSize(charStrings);
  TSfntBytes table;
  table.U8(1), table.U8(0), table.U8(4);  // version 1.0, header size
  table.U8(OffsetSize(privateOffset + privateDict.size()));
  WriteIndex(table, nameIndex);
  WriteIndex(table, topIndex);
  table.PatchU32(topAt + top.CharsetAt, uint32_t(charsetOffset));
  table.PatchU32(topAt + top.CharStringsAt, uint32_t(charStringsOffset));
  table.PatchU32(topAt + top.PrivateAt, uint32_t(privateDict.size()));
  table.PatchU32(topAt + top.PrivateAt + 5, uint32_t(privateOffset));
  WriteIndex(table, strings);
  WriteIndex(table, subroutineBodies);
  table.Append(charset);
  WriteIndex(table, charStrings);
  table.Append(privateDict);
  return table.Bytes;
}

}  // namespace runeplate::fontgen::sfnt
