#include "fontgen/Fidelity.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <string>

#include "common/Utf8.h"
#include "font/GlyphComposer.h"
#include "fontgen/Atlas.h"
#include "fontgen/FontGenError.h"

namespace runeplate::fontgen {

namespace {

// Owns an iconv converter.
class TConverter {
 public:
  TConverter(const char* to, const char* from) : Handle(iconv_open(to, from)) {
    if (Handle == reinterpret_cast<iconv_t>(-1))
      throw TFontGenError(std::string("cannot convert from ") + from + ": " + std::strerror(errno));
  }
  ~TConverter() { iconv_close(Handle); }
  TConverter(const TConverter&) = delete;
  TConverter& operator=(const TConverter&) = delete;
  iconv_t Get() const { return Handle; }

 private:
  iconv_t Handle;
};

// The syllable that EUC-KR byte pair LEAD, TRAIL stands for.
uint32_t DecodeEucKrSyllable(const TConverter& converter, int lead, int trail) {
  char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  unsigned char out[8] = {};
  char* inPtr = in;
  char* outPtr = reinterpret_cast<char*>(out);
  size_t inLeft = sizeof in, outLeft = sizeof out;
  const size_t result = iconv(converter.Get(), &inPtr, &inLeft, &outPtr, &outLeft);
  const uint32_t code = out[0] | out[1] << 8 | out[2] << 16 | uint32_t{out[3]} << 24;
  if (result == static_cast<size_t>(-1) || inLeft != 0 || outLeft != 4 || code < SyllableFirst ||
      code > SyllableLast) {
    throw TFontGenError("EUC-KR converter gives no Hangul syllable for byte pair " +
                        std::to_string(lead) + "," + std::to_string(trail));
  }
  return code;
}

std::string Percent(int part, int whole) {
  if (whole == 0) return "-";
  std::ostringstream text;
  text << std::fixed << std::setprecision(1) << 100.0 * part / whole << "%";
  return text.str();
}

}  // namespace

std::vector<uint32_t> KsX1001Syllables() {
  const TConverter converter("UTF-32LE", "EUC-KR");
  std::vector<uint32_t> codes;
  for (int lead = 0xB0; lead <= 0xC8; ++lead) {
    for (int trail = 0xA1; trail <= 0xFE; ++trail) codes.push_back(DecodeEucKrSyllable(converter, lead, trail));
  }
  return codes;
}

TFidelity MeasureFidelity(const std::vector<TCell>& syllables, const THangulGlyphs& glyphs,
                          const std::vector<uint32_t>& common) {
  return MeasureFidelity(syllables, std::vector<bool>(SyllableCount, true), glyphs, common);
}

TFidelity MeasureFidelity(const std::vector<TCell>& syllables, const std::vector<bool>& known,
                          const THangulGlyphs& glyphs, const std::vector<uint32_t>& common) {
  std::vector<bool> isCommon(SyllableCount, false);
  for (uint32_t code : common) isCommon[code - SyllableFirst] = true;

  // Measured on what the engine draws: each syllable composed from an atlas
  // of these glyphs.
  const TFontImage atlas = ComposeAtlas(TAsciiCells{}, glyphs);
  TFidelity result;
  std::vector<TSyllableDiff> diffs;
  for (size_t s = 0; s < SyllableCount; ++s) {
    if (!known[s]) continue;
    const uint32_t code = SyllableFirst + static_cast<uint32_t>(s);
    TCellBitmap drawn;
    ComposeCodePoint(ViewOf(atlas), code, nullptr, drawn);
    TCell composed;
    for (int y = 0; y < 16; ++y) composed.SetRow(y, drawn.Rows[y]);
    const int diff = DiffCount(composed, syllables[s]);
    // Two blank pictures are no faithful fit: the source drew nothing.
    const bool identical = diff == 0 && !syllables[s].IsEmpty();
    const bool withoutFinal = DecomposeSyllable(static_cast<uint32_t>(s)).Final == 0;
    ++result.Total;
    result.Identical += identical;
    result.TotalCommon += isCommon[s];
    result.IdenticalCommon += isCommon[s] && identical;
    result.TotalWithoutFinal += withoutFinal;
    result.IdenticalWithoutFinal += withoutFinal && identical;
    result.DiffPixels += diff;
    result.WorstDiff = std::max(result.WorstDiff, diff);
    if (diff > 0) diffs.push_back({code, diff});
  }
  result.MeanDiff = result.Total > 0 ? double(result.DiffPixels) / double(result.Total) : 0;
  std::stable_sort(diffs.begin(), diffs.end(),
                   [](const TSyllableDiff& a, const TSyllableDiff& b) { return a.Pixels > b.Pixels; });
  diffs.resize(std::min<size_t>(diffs.size(), 10));
  result.Worst = diffs;
  return result;
}

void PrintFidelity(std::ostream& out, const TFidelity& f) {
  out << "identical syllables: " << f.Identical << " of " << f.Total << " ("
      << Percent(f.Identical, f.Total) << ")\n";
  out << "identical KS X 1001 syllables: " << f.IdenticalCommon << " of " << f.TotalCommon << " ("
      << Percent(f.IdenticalCommon, f.TotalCommon) << ")\n";
  out << "identical syllables without final: " << f.IdenticalWithoutFinal << " of "
      << f.TotalWithoutFinal << "\n";
  out << "differing pixels: mean " << std::fixed << std::setprecision(2) << f.MeanDiff << ", worst "
      << f.WorstDiff << "\n";
  out << "worst syllables:";
  if (f.Worst.empty()) out << " none";
  for (const TSyllableDiff& d : f.Worst)
    out << " " << EncodeUtf8(d.Code) << " " << CodePointName(d.Code) << " (" << d.Pixels << ")";
  out << "\n";
}

}  // namespace runeplate::fontgen
