#include "fontgen/FontGen.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <istream>
#include <ostream>
#include <set>
#include <sstream>

namespace runeplate::fontgen {

// ---------------------------------------------------------------------------
// 16 x 16 pictures
// ---------------------------------------------------------------------------

void TCell::SetRow(int y, uint16_t bits) {
  const int shift = (y & 3) * 16;
  Word[y >> 2] = (Word[y >> 2] & ~(uint64_t{0xFFFF} << shift)) | (uint64_t{bits} << shift);
}

void TCell::SetPixel(int x, int y, bool ink) {
  const uint16_t mask = static_cast<uint16_t>(1u << (15 - x));
  SetRow(y, ink ? (Row(y) | mask) : (Row(y) & ~mask));
}

int TCell::PopCount() const {
  return __builtin_popcountll(Word[0]) + __builtin_popcountll(Word[1]) +
         __builtin_popcountll(Word[2]) + __builtin_popcountll(Word[3]);
}

bool TCell::IsSubsetOf(const TCell& other) const { return AndNot(*this, other).IsEmpty(); }

TCell operator|(const TCell& a, const TCell& b) {
  return {{a.Word[0] | b.Word[0], a.Word[1] | b.Word[1], a.Word[2] | b.Word[2], a.Word[3] | b.Word[3]}};
}

TCell operator&(const TCell& a, const TCell& b) {
  return {{a.Word[0] & b.Word[0], a.Word[1] & b.Word[1], a.Word[2] & b.Word[2], a.Word[3] & b.Word[3]}};
}

TCell operator^(const TCell& a, const TCell& b) {
  return {{a.Word[0] ^ b.Word[0], a.Word[1] ^ b.Word[1], a.Word[2] ^ b.Word[2], a.Word[3] ^ b.Word[3]}};
}

TCell AndNot(const TCell& a, const TCell& b) {
  return {{a.Word[0] & ~b.Word[0], a.Word[1] & ~b.Word[1], a.Word[2] & ~b.Word[2],
           a.Word[3] & ~b.Word[3]}};
}

bool operator==(const TCell& a, const TCell& b) {
  return a.Word[0] == b.Word[0] && a.Word[1] == b.Word[1] && a.Word[2] == b.Word[2] &&
         a.Word[3] == b.Word[3];
}

int DiffCount(const TCell& a, const TCell& b) { return (a ^ b).PopCount(); }

TCell CellFromPicture(const std::array<const char*, 16>& rows) {
  TCell cell;
  for (int y = 0; y < 16; ++y) {
    if (rows[y] == nullptr || std::strlen(rows[y]) != 16)
      throw std::invalid_argument("a picture row must have 16 characters");
    for (int x = 0; x < 16; ++x) cell.SetPixel(x, y, rows[y][x] == '#');
  }
  return cell;
}

// ---------------------------------------------------------------------------
// The Unifont source
// ---------------------------------------------------------------------------

namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string CodeName(uint32_t code) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", code);
  return text;
}

// A character as it can be shown inside a one-line message.
std::string Printable(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= 0x20 && u < 0x7F) return std::string(1, c);
  char text[8];
  std::snprintf(text, sizeof text, "\\x%02X", u);
  return text;
}

constexpr size_t NarrowDigits = 32;  // 8 x 16
constexpr size_t WideDigits = 64;    // 16 x 16
constexpr uint32_t CodeLimit = 1u << 24;  // six hex digits

}  // namespace

TUnifontSource ReadUnifontHex(std::istream& in, const std::string& name) {
  TUnifontSource source;
  source.Syllables.assign(SyllableCount, TCell{});
  std::vector<bool> seen(CodeLimit, false);

  std::string line;
  size_t lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string where = name + ":" + std::to_string(lineNumber) + ": ";

    const size_t colon = line.find(':');
    if (colon == std::string::npos)
      throw TFontGenError(where + "expected CODE:DATA, found no colon");
    if (colon < 4 || colon > 6)
      throw TFontGenError(where + "code point must have 4 to 6 hex digits, found " +
                          std::to_string(colon));
    uint32_t code = 0;
    for (size_t i = 0; i < colon; ++i) {
      const int digit = HexDigitValue(line[i]);
      if (digit < 0)
        throw TFontGenError(where + "bad hex digit '" + Printable(line[i]) + "' in code point");
      code = code * 16 + static_cast<uint32_t>(digit);
    }

    const size_t digits = line.size() - colon - 1;
    if (digits != NarrowDigits && digits != WideDigits)
      throw TFontGenError(where + "glyph data of " + CodeName(code) +
                          " must have 32 or 64 hex digits, found " + std::to_string(digits));
    for (size_t i = colon + 1; i < line.size(); ++i) {
      if (HexDigitValue(line[i]) < 0)
        throw TFontGenError(where + "bad hex digit '" + Printable(line[i]) + "' in glyph data of " +
                            CodeName(code));
    }
    if (seen[code]) throw TFontGenError(where + CodeName(code) + " is given twice");
    seen[code] = true;

    const char* data = line.data() + colon + 1;
    auto digitAt = [data](size_t i) { return static_cast<unsigned>(HexDigitValue(data[i])); };
    if (code >= FirstPrintableAscii && code <= LastPrintableAscii) {
      if (digits != NarrowDigits)
        throw TFontGenError(where + CodeName(code) + " must be an 8 x 16 glyph (32 hex digits)");
      auto& rows = source.Ascii[code - FirstPrintableAscii];
      for (int y = 0; y < 16; ++y)
        rows[y] = static_cast<uint8_t>(digitAt(2 * y) << 4 | digitAt(2 * y + 1));
    } else if (code >= SyllableFirst && code <= SyllableLast) {
      if (digits != WideDigits)
        throw TFontGenError(where + CodeName(code) + " must be a 16 x 16 glyph (64 hex digits)");
      TCell& cell = source.Syllables[code - SyllableFirst];
      for (int y = 0; y < 16; ++y) {
        uint16_t row = 0;
        for (int i = 0; i < 4; ++i) row = static_cast<uint16_t>(row << 4 | digitAt(4 * y + i));
        cell.SetRow(y, row);
      }
    }
  }
  if (in.bad()) throw TFontGenError(name + ": read error");

  auto requireRange = [&](uint32_t first, uint32_t last) {
    for (uint32_t code = first; code <= last; ++code) {
      if (!seen[code]) throw TFontGenError(name + ": no glyph for " + CodeName(code));
    }
  };
  requireRange(FirstPrintableAscii, LastPrintableAscii);
  requireRange(SyllableFirst, SyllableLast);
  return source;
}

TUnifontSource LoadUnifontHex(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TFontGenError(path + ": cannot open: " + std::strerror(errno));
  return ReadUnifontHex(in, path);
}

// ---------------------------------------------------------------------------
// Fitting the jamo glyphs
// ---------------------------------------------------------------------------

std::array<int32_t, 3> SyllableGlyphs(uint32_t code) {
  std::array<int32_t, 3> glyphs;
  SelectGlyphs(CharToJamoIndices(code), glyphs.data());
  return glyphs;
}

TCell ComposeSyllable(const THangulGlyphs& glyphs, uint32_t code) {
  TCell cell;
  for (int32_t glyph : SyllableGlyphs(code)) {
    if (glyph >= 0) cell = cell | glyphs[glyph];
  }
  return cell;
}

namespace {

// What one syllable adds to the fitting score: an identical syllable is worth
// five differing pixels, so a glyph that makes a whole group of syllables
// identical may cost a few pixels elsewhere.
constexpr long IdenticalBonus = 5;

long SyllableScore(int diff) { return (diff == 0 ? IdenticalBonus : 0) - diff; }

enum TRole { RoleInitial, RoleMedial, RoleFinal };

// Syllable S (0..11,171) by its letter indices: initial 0..18, medial
// 0..20, final 0..27 (0: none).
size_t InitialOf(size_t s) { return s / (MedialCount * FinalCount); }
size_t MedialOf(size_t s) { return s % (MedialCount * FinalCount) / FinalCount; }
size_t FinalOf(size_t s) { return s % FinalCount; }
size_t SyllableOf(size_t initial, size_t medial, size_t final_) {
  return (initial * MedialCount + medial) * FinalCount + final_;
}

TRole RoleOfGlyph(int32_t glyph) {
  if (glyph < MedialSetBase[0]) return RoleInitial;
  return glyph < FinalSetBase[0] ? RoleMedial : RoleFinal;
}

// Medial index (1-based, as in SelectGlyphs) of the vowels ㅝ ㅞ ㅟ and the
// final index of ㄴ.
constexpr size_t MedialWeo = 15, MedialWe = 16, MedialWi = 17;
constexpr size_t FinalNieun = 4;

bool CellLess(const TCell& a, const TCell& b) {
  return std::lexicographical_compare(a.Word, a.Word + 4, b.Word, b.Word + 4);
}

struct TCellLess {
  bool operator()(const TCell& a, const TCell& b) const { return CellLess(a, b); }
};

struct TCellPairLess {
  bool operator()(const std::pair<TCell, TCell>& a, const std::pair<TCell, TCell>& b) const {
    if (CellLess(a.first, b.first)) return true;
    if (CellLess(b.first, a.first)) return false;
    return CellLess(a.second, b.second);
  }
};

// Visits the set bits of CELL as indices w * 64 + b (bit b of word w).
template <typename TVisit>
void ForEachBit(const TCell& cell, TVisit visit) {
  for (int w = 0; w < 4; ++w)
    for (uint64_t bits = cell.Word[w]; bits != 0; bits &= bits - 1) visit(w * 64 + __builtin_ctzll(bits));
}

bool HasBit(const TCell& cell, int index) { return (cell.Word[index >> 6] >> (index & 63)) & 1; }
void ClearBit(TCell& cell, int index) { cell.Word[index >> 6] &= ~(uint64_t{1} << (index & 63)); }
void SetBit(TCell& cell, int index) { cell.Word[index >> 6] |= uint64_t{1} << (index & 63); }

// Tells, for every pixel of every Unifont syllable, which of its letters
// draws it, from how the syllable differs from its neighbours: a pixel that
// several syllables with another initial (same vowel and final) lack belongs
// to the initial; otherwise one that several syllables with another final
// lack belongs to the final; the rest belong to the vowel. "Several" is four
// or more: Unifont shifts some vowels after ㄱ ㄲ ㅋ, and a vowel pixel that
// only those three syllables lack is still the vowel's. (The reverse cannot
// be told apart: the shifted vowel strokes of a ㄱ or ㅋ syllable count as
// the consonant's.) Only syllables the font has (KNOWN) are compared; where
// it has few neighbours of a syllable, half of them count as several.
std::vector<std::array<TCell, 3>> AttributePixels(const std::vector<TCell>& targets,
                                                  const std::vector<bool>& known) {
  constexpr int Several = 4;
  std::vector<std::array<TCell, 3>> parts(SyllableCount);
  for (size_t s = 0; s < SyllableCount; ++s) {
    if (!known[s]) continue;
    const size_t i = InitialOf(s), m = MedialOf(s), f = FinalOf(s);
    const TCell& target = targets[s];
    std::array<uint8_t, 256> lackByInitial{}, lackByFinal{};
    int initialNeighbours = 0, finalNeighbours = 0;
    for (size_t k = 0; k < InitialCount; ++k) {
      if (k == i || !known[SyllableOf(k, m, f)]) continue;
      ++initialNeighbours;
      ForEachBit(AndNot(target, targets[SyllableOf(k, m, f)]), [&](int b) { ++lackByInitial[b]; });
    }
    for (size_t k = 1; f != 0 && k < FinalCount; ++k) {
      if (k == f || !known[SyllableOf(i, m, k)]) continue;
      ++finalNeighbours;
      ForEachBit(AndNot(target, targets[SyllableOf(i, m, k)]), [&](int b) { ++lackByFinal[b]; });
    }
    const int byInitial = std::max(1, std::min(Several, initialNeighbours / 2));
    const int byFinal = std::max(1, std::min(Several, finalNeighbours / 2));
    ForEachBit(target, [&](int b) {
      const TRole role = initialNeighbours > 0 && lackByInitial[b] >= byInitial ? RoleInitial
                         : finalNeighbours > 0 && lackByFinal[b] >= byFinal     ? RoleFinal
                                                                                : RoleMedial;
      SetBit(parts[s][role], b);
    });
  }
  return parts;
}

class TFitter {
 public:
  // Fits to the syllables that KNOWN marks; a glyph that none of them uses
  // is left blank.
  TFitter(const std::vector<TCell>& syllables, const std::vector<bool>& known)
      : Targets(syllables), Known(known) {
    if (Targets.size() != SyllableCount || Known.size() != SyllableCount)
      throw std::invalid_argument("the fit needs a picture for each of the 11,172 syllables");
    Uses.resize(SyllableCount);
    for (size_t s = 0; s < SyllableCount; ++s) {
      Uses[s] = SyllableGlyphs(SyllableFirst + static_cast<uint32_t>(s));
      if (!Known[s]) continue;
      for (int32_t glyph : Uses[s]) {
        if (glyph >= 0) Users[glyph].push_back(s);
      }
    }
  }

  // Holds GLYPH at SHAPE while fitting. A hand-drawn shape is also kept whole
  // by AssignPixelsToLetters.
  void Pin(int32_t glyph, const TCell& shape, bool byHand) {
    Glyphs[glyph] = shape;
    Pinned[glyph] = true;
    HandDrawn[glyph] = byHand;
  }

  bool IsPinned(int32_t glyph) const { return Pinned[glyph]; }
  const std::vector<size_t>& UsersOf(int32_t glyph) const { return Users[glyph]; }
  const THangulGlyphs& AllGlyphs() const { return Glyphs; }

  // Fits every glyph that is not pinned: starts each from the shape all its
  // syllables agree on, then runs coordinate descent. A glyph is looked at
  // again only after a glyph that shares a syllable with it has changed; the
  // score rises with every change, so the loop ends.
  void Solve() {
    for (int32_t g = 0; g < HangulGlyphCount; ++g) {
      if (Pinned[g] || Users[g].empty()) continue;
      TCell shape = Targets[Users[g].front()];
      for (size_t s : Users[g]) shape = shape & Targets[s];
      Glyphs[g] = shape;
    }
    std::vector<bool> dirty(HangulGlyphCount, true);
    bool changed = true;
    while (changed) {
      changed = false;
      for (int32_t g = 0; g < HangulGlyphCount; ++g) {
        if (!dirty[g]) continue;
        dirty[g] = false;
        if (Pinned[g] || Users[g].empty() || !ImproveGlyph(g)) continue;
        changed = true;
        for (size_t s : Users[g]) {
          for (int32_t other : Uses[s]) {
            if (other >= 0 && other != g) dirty[other] = true;
          }
        }
      }
    }
  }

  // Moves pixels to the letters they belong to (AttributePixels), making no
  // composed syllable worse, so that glyphs drawn alone (a lone
  // consonant or vowel, the replacement glyph) show their own letter only.
  // First a glyph takes every pixel that its letter draws in most of its
  // syllables and that all of them show, which adds nothing wrong. Then each
  // glyph loses the pixels that the other glyphs of every one of its
  // syllables draw anyway; where several glyphs hold such a pixel, it goes
  // first from the glyph whose letter draws it in the smallest share of the
  // glyph's syllables, so the letter that owns it keeps it.
  void AssignPixelsToLetters() {
    const auto parts = AttributePixels(Targets, Known);
    for (int32_t g = 0; g < HangulGlyphCount; ++g) {
      if (HandDrawn[g] || Users[g].empty()) continue;
      const TRole role = RoleOfGlyph(g);
      TCell shown = Targets[Users[g].front()];
      for (size_t s : Users[g]) shown = shown & Targets[s];
      ForEachBit(AndNot(shown, Glyphs[g]), [&](int b) {
        size_t owned = 0;
        for (size_t s : Users[g]) owned += HasBit(parts[s][role], b);
        if (2 * owned > Users[g].size()) SetBit(Glyphs[g], b);
      });
    }

    struct TCandidate {
      size_t Owned;  // syllables of the glyph where its letter draws the pixel
      size_t Users;
      int32_t Glyph;
      int Bit;
    };
    std::vector<TCandidate> order;
    for (int32_t g = 0; g < HangulGlyphCount; ++g) {
      if (HandDrawn[g]) continue;
      const TRole role = RoleOfGlyph(g);
      ForEachBit(Glyphs[g], [&](int b) {
        size_t owned = 0;
        for (size_t s : Users[g]) owned += HasBit(parts[s][role], b);
        order.push_back({owned, Users[g].size(), g, b});
      });
    }
    std::sort(order.begin(), order.end(), [](const TCandidate& a, const TCandidate& b) {
      const size_t left = a.Owned * b.Users, right = b.Owned * a.Users;
      if (left != right) return left < right;
      if (a.Glyph != b.Glyph) return a.Glyph < b.Glyph;
      return a.Bit < b.Bit;
    });
    for (const TCandidate& c : order) {
      const bool supplied = std::all_of(Users[c.Glyph].begin(), Users[c.Glyph].end(),
                                        [&](size_t s) { return HasBit(Others(s, c.Glyph), c.Bit); });
      if (supplied) ClearBit(Glyphs[c.Glyph], c.Bit);
    }
  }

 private:
  const std::vector<TCell>& Targets;
  const std::vector<bool>& Known;
  std::vector<std::array<int32_t, 3>> Uses;
  std::array<std::vector<size_t>, HangulGlyphCount> Users;
  THangulGlyphs Glyphs;
  std::array<bool, HangulGlyphCount> Pinned{};
  std::array<bool, HangulGlyphCount> HandDrawn{};

  // What the other glyphs of syllable S draw besides GLYPH.
  TCell Others(size_t s, int32_t glyph) const {
    TCell cell;
    for (int32_t g : Uses[s]) {
      if (g >= 0 && g != glyph) cell = cell | Glyphs[g];
    }
    return cell;
  }

  // Gives glyph G the best-scoring of a few candidate shapes, the other
  // glyphs held fixed. Returns whether it changed.
  bool ImproveGlyph(int32_t g) {
    const std::vector<size_t>& users = Users[g];
    const size_t n = users.size();
    std::vector<TCell> others(n), targets(n), required(n);
    for (size_t k = 0; k < n; ++k) {
      others[k] = Others(users[k], g);
      targets[k] = Targets[users[k]];
      // Syllable k comes out identical exactly when the glyph holds all of
      // required[k] and nothing outside targets[k].
      required[k] = AndNot(targets[k], others[k]);
    }
    auto score = [&](const TCell& shape) {
      long total = 0;
      for (size_t k = 0; k < n; ++k) total += SyllableScore(DiffCount(shape | others[k], targets[k]));
      return total;
    };

    std::vector<TCell> candidates;
    TCell common = targets[0];
    for (const TCell& t : targets) common = common & t;
    candidates.push_back(common);

    // Per pixel, the choice that is right for more syllables; a pixel some
    // other glyph draws is right either way and does not vote.
    TCell majority;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        int votes = 0;
        for (size_t k = 0; k < n; ++k) {
          if (!others[k].Pixel(x, y)) votes += targets[k].Pixel(x, y) ? 1 : -1;
        }
        if (votes > 0) majority.SetPixel(x, y, true);
      }
    }
    candidates.push_back(majority);

    // From each distinct syllable, grow greedily a group that one shape can
    // make identical: the shape must hold every required pixel of the group
    // and stay inside every target of it.
    std::set<std::pair<TCell, TCell>, TCellPairLess> seeds;
    for (size_t k = 0; k < n; ++k) {
      if (!seeds.insert({required[k], targets[k]}).second) continue;
      TCell lower = required[k], upper = targets[k];
      for (size_t j = 0; j < n; ++j) {
        const TCell newLower = lower | required[j];
        const TCell newUpper = upper & targets[j];
        if (newLower.IsSubsetOf(newUpper)) {
          lower = newLower;
          upper = newUpper;
        }
      }
      candidates.push_back(lower);
      candidates.push_back(lower | (majority & upper));
    }

    long best = score(Glyphs[g]);
    const TCell* bestShape = nullptr;
    std::set<TCell, TCellLess> tried;
    for (const TCell& candidate : candidates) {
      if (!tried.insert(candidate).second) continue;
      const long value = score(candidate);
      if (value > best) {
        best = value;
        bestShape = &candidate;
      }
    }
    if (bestShape == nullptr) return false;
    Glyphs[g] = *bestShape;
    return true;
  }
};

}  // namespace

THangulGlyphs FitHangulGlyphs(const std::vector<TCell>& syllables, const std::vector<THandFix>& fixes) {
  const std::vector<bool> all(SyllableCount, true);
  TFitter fitter(syllables, all);
  for (const THandFix& fix : fixes) fitter.Pin(fix.Glyph, CellFromPicture(fix.Picture), true);

  // ㅝ ㅞ ㅟ with a final share initial set 8 with ㅘ ㅙ ㅚ ㅢ, over which
  // Unifont draws the initial a row or two lower; the fit keeps that lower
  // initial, so in ㅝ ㅞ ㅟ it stands on the ㅜ bar. Left to the fit, these
  // vowels would also draw pieces of consonants in Unifont's higher position,
  // which cut through the lower initial and leave the syllable unreadable
  // (a line through the ㅇ of 원). So they take the plain vowel instead: the
  // pixels all their syllables share. Syllables ending in ㄴ are left out of
  // that, since Unifont lowers the ㅜ bar over ㄴ.
  for (int set = 2; set < 4; ++set) {
    for (size_t medial : {MedialWeo, MedialWe, MedialWi}) {
      const int32_t glyph = MedialSetBase[set] + static_cast<int32_t>(medial) - 1;
      if (fitter.IsPinned(glyph)) continue;
      bool first = true;
      TCell vowel;
      for (size_t s : fitter.UsersOf(glyph)) {
        if (FinalOf(s) == FinalNieun) continue;
        vowel = first ? syllables[s] : (vowel & syllables[s]);
        first = false;
      }
      fitter.Pin(glyph, vowel, false);
    }
  }

  fitter.Solve();
  fitter.AssignPixelsToLetters();
  return fitter.AllGlyphs();
}

namespace {

// The sets whose shape of a letter stands in for one no syllable shows, most
// alike first: initial sets by the vowels they sit over, medial sets with and
// without ㄱ ㅋ, final sets by the vowels above.
const std::vector<std::vector<int>> InitialStandIns = {{5, 3, 1}, {6, 2, 0}, {1, 6, 4}, {4, 7, 0},
                                                       {3, 7, 2}, {0, 7, 6}, {1, 2, 5}, {3, 4, 5}};
const std::vector<std::vector<int>> MedialStandIns = {{1, 2, 3}, {0, 3, 2}, {3, 0, 1}, {2, 1, 0}};
const std::vector<std::vector<int>> FinalStandIns = {{1, 2, 3}, {0, 2, 3}, {1, 0, 3}, {1, 0, 2}};

}  // namespace

TJamoFit FitJamoGlyphs(const std::vector<TCell>& syllables, const std::vector<bool>& known) {
  TFitter fitter(syllables, known);
  fitter.Solve();
  fitter.AssignPixelsToLetters();
  TJamoFit fit{fitter.AllGlyphs(), {}};
  auto standIn = [&](const int32_t* bases, const std::vector<std::vector<int>>& order, int set, int32_t letter) {
    for (int other : order[set]) {
      const int32_t glyph = bases[other] + letter;
      if (!fitter.UsersOf(glyph).empty()) return glyph;
    }
    return int32_t{-1};
  };
  for (int32_t g = 0; g < HangulGlyphCount; ++g) {
    if (!fitter.UsersOf(g).empty()) continue;
    int32_t from;
    if (g < MedialSetBase[0]) {
      from = standIn(InitialSetBase, InitialStandIns, g / int32_t(InitialCount), g % int32_t(InitialCount));
    } else if (g < FinalSetBase[0]) {
      const int32_t k = g - MedialSetBase[0];
      from = standIn(MedialSetBase, MedialStandIns, k / int32_t(MedialCount), k % int32_t(MedialCount));
    } else {
      const int32_t k = g - FinalSetBase[0], letters = int32_t(FinalCount) - 1;
      from = standIn(FinalSetBase, FinalStandIns, k / letters, k % letters);
    }
    if (from >= 0) fit.Glyphs[g] = fit.Glyphs[from];
    fit.StandIns.push_back({g, from});
  }
  return fit;
}

const std::vector<THandFix>& HandFixes() {
  static const std::vector<THandFix> fixes = {
      {InitialSetBase[7] + 0,  // ㄱ, initial set 8
       {"................", "................", "...######.......", "........#.......",
        "........#.......", "........#.......", "........#.......", "................",
        "................", "................", "................", "................",
        "................", "................", "................", "................"},
       "Unifont puts the stem of ㄱ in column 8 over ㅘ ㅙ ㅚ ㅢ and in column 7 "
       "over ㅝ ㅞ ㅟ; left to the fit, the stem moves into the medial glyphs "
       "of the first group and 권 or 궐 show a ㄱ without one. This is the ㄱ "
       "of 관, whole."},
      {InitialSetBase[7] + 15,  // ㅋ, initial set 8
       {"................", "................", "..#######.......", "........#.......",
        "..#######.......", "........#.......", "........#.......", "................",
        "................", "................", "................", "................",
        "................", "................", "................", "................"},
       "The same as ㄱ: left to the fit, the top bar of ㅋ moves into the medial "
       "glyph of ㅘ, and 퀀, 퀸 or 퀼 show a ㅋ with two dots for a bar. This is "
       "the ㅋ of 콴, whole."},
      {FinalSetBase[3] + 4 - 1,  // ㄴ, final set 4
       {"................", "................", "................", "................",
        "................", "................", "................", "................",
        "................", "................", "................", "...#............",
        "...#............", "...#............", "...#########....", "................"},
       "Unifont lowers the bar of ㅜ and ㅠ by a row over ㄴ, which the shared "
       "medial glyph cannot follow; the fit would draw that lower bar in the "
       "final glyph and give 운 two bars. This is the bare ㄴ."},
  };
  return fixes;
}

// ---------------------------------------------------------------------------
// Fidelity
// ---------------------------------------------------------------------------

std::vector<uint32_t> KsX1001Syllables() {
  iconv_t converter = iconv_open("UTF-32LE", "EUC-KR");
  if (converter == reinterpret_cast<iconv_t>(-1))
    throw TFontGenError(std::string("cannot convert from EUC-KR: ") + std::strerror(errno));
  std::vector<uint32_t> codes;
  for (int lead = 0xB0; lead <= 0xC8; ++lead) {
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      unsigned char out[8] = {};
      char* inPtr = in;
      char* outPtr = reinterpret_cast<char*>(out);
      size_t inLeft = sizeof in, outLeft = sizeof out;
      const size_t result = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
      const uint32_t code = out[0] | out[1] << 8 | out[2] << 16 | uint32_t{out[3]} << 24;
      if (result == static_cast<size_t>(-1) || inLeft != 0 || outLeft != 4 || code < SyllableFirst ||
          code > SyllableLast) {
        iconv_close(converter);
        throw TFontGenError("EUC-KR converter gives no Hangul syllable for byte pair " +
                            std::to_string(lead) + "," + std::to_string(trail));
      }
      codes.push_back(code);
    }
  }
  iconv_close(converter);
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

  TFidelity result;
  std::vector<TSyllableDiff> diffs;
  for (size_t s = 0; s < SyllableCount; ++s) {
    if (!known[s]) continue;
    const uint32_t code = SyllableFirst + static_cast<uint32_t>(s);
    const int diff = DiffCount(ComposeSyllable(glyphs, code), syllables[s]);
    const bool identical = diff == 0;
    const bool withoutFinal = s % FinalCount == 0;
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

namespace {

std::string Utf8(uint32_t code) {
  std::string text;
  text += static_cast<char>(0xE0 | code >> 12);
  text += static_cast<char>(0x80 | (code >> 6 & 0x3F));
  text += static_cast<char>(0x80 | (code & 0x3F));
  return text;
}

std::string Percent(int part, int whole) {
  if (whole == 0) return "-";
  std::ostringstream text;
  text << std::fixed << std::setprecision(1) << 100.0 * part / whole << "%";
  return text.str();
}

}  // namespace

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
  for (const TSyllableDiff& d : f.Worst) out << " " << Utf8(d.Code) << " " << CodeName(d.Code) << " (" << d.Pixels << ")";
  out << "\n";
}

// ---------------------------------------------------------------------------
// The font image and its file
// ---------------------------------------------------------------------------

TFontImage BuildAtlas(const TUnifontSource& source, const THangulGlyphs& glyphs) {
  TFontImage atlas;
  for (uint32_t code = FirstPrintableAscii; code <= LastPrintableAscii; ++code) {
    const TRect cell = AsciiCell(static_cast<int32_t>(code));
    const auto& rows = source.Ascii[code - FirstPrintableAscii];
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 8; ++x) atlas.SetInk(cell.Left + x, cell.Top + y, (rows[y] >> (7 - x)) & 1);
    }
  }
  for (int32_t g = 0; g < HangulGlyphCount; ++g) {
    const TRect cell = HangulCell(g);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) atlas.SetInk(cell.Left + x, cell.Top + y, glyphs[g].Pixel(x, y));
    }
  }
  return atlas;
}

void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::string temporary = path + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) throw TFontGenError(path + ": cannot create: " + std::strerror(errno));
  auto fail = [&](const char* what) {
    const std::string reason = std::strerror(errno);
    ::close(fd);
    std::remove(temporary.c_str());
    throw TFontGenError(path + ": cannot " + what + ": " + reason);
  };
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      fail("write");
    }
    done += static_cast<size_t>(written);
  }
  // mkstemp makes the file private; the font is an ordinary readable file.
  if (::fchmod(fd, 0644) != 0) fail("set permissions of");
  if (::close(fd) != 0) {
    const std::string reason = std::strerror(errno);
    std::remove(temporary.c_str());
    throw TFontGenError(path + ": cannot write: " + reason);
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    std::remove(temporary.c_str());
    throw TFontGenError(path + ": cannot replace: " + reason);
  }
}

}  // namespace runeplate::fontgen
