#include "fontgen/GlyphFit.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <utility>

#include "fontgen/PixelAttribution.h"
#include "fontgen/SyllableLetters.h"

namespace runeplate::fontgen {

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

// The syllables of one glyph, k = 0..n-1, with the other glyphs held fixed.
struct TGlyphView {
  std::vector<TCell> Others;   // what the syllable's other glyphs draw
  std::vector<TCell> Targets;  // Unifont's picture of it
  // Syllable k comes out identical exactly when the glyph holds all of
  // Required[k] and nothing outside Targets[k].
  std::vector<TCell> Required;
};

long ScoreShape(const TGlyphView& view, const TCell& shape) {
  long total = 0;
  for (size_t k = 0; k < view.Targets.size(); ++k)
    total += SyllableScore(DiffCount(shape | view.Others[k], view.Targets[k]));
  return total;
}

// Per pixel, the choice that is right for more syllables; a pixel some other
// glyph draws is right either way and does not vote.
TCell MajorityShape(const TGlyphView& view) {
  TCell majority;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      int votes = 0;
      for (size_t k = 0; k < view.Targets.size(); ++k) {
        if (!view.Others[k].Pixel(x, y)) votes += view.Targets[k].Pixel(x, y) ? 1 : -1;
      }
      if (votes > 0) majority.SetPixel(x, y, true);
    }
  }
  return majority;
}

// From each distinct syllable, grows greedily a group that one shape can make
// identical: the shape must hold every required pixel of the group and stay
// inside every target of it. Adds two shapes per group to Candidates.
void AddGroupShapes(const TGlyphView& view, const TCell& majority, std::vector<TCell>& candidates) {
  const size_t n = view.Targets.size();
  std::set<std::pair<TCell, TCell>, TCellPairLess> seeds;
  for (size_t k = 0; k < n; ++k) {
    if (!seeds.insert({view.Required[k], view.Targets[k]}).second) continue;
    TCell lower = view.Required[k], upper = view.Targets[k];
    for (size_t j = 0; j < n; ++j) {
      const TCell newLower = lower | view.Required[j];
      const TCell newUpper = upper & view.Targets[j];
      if (newLower.IsSubsetOf(newUpper)) {
        lower = newLower;
        upper = newUpper;
      }
    }
    candidates.push_back(lower);
    candidates.push_back(lower | (majority & upper));
  }
}

// The shapes a glyph may take, in the order they are tried: what all its
// syllables share, the majority shape, then the group shapes.
std::vector<TCell> CandidateShapes(const TGlyphView& view) {
  std::vector<TCell> candidates;
  TCell common = view.Targets[0];
  for (const TCell& t : view.Targets) common = common & t;
  candidates.push_back(common);
  const TCell majority = MajorityShape(view);
  candidates.push_back(majority);
  AddGroupShapes(view, majority, candidates);
  return candidates;
}

// The pixels all of Syllables show in Targets.
TCell SharedPixels(const std::vector<TCell>& targets, const std::vector<size_t>& syllables) {
  TCell shared = targets[syllables.front()];
  for (size_t s : syllables) shared = shared & targets[s];
  return shared;
}

class TFitter {
 public:
  // Fits to the syllables that Known marks; a glyph that none of them uses
  // is left blank.
  TFitter(const std::vector<TCell>& syllables, const std::vector<bool>& known)
      : Targets(syllables), Known(known) {
    if (Targets.size() != SyllableCount || Known.size() != SyllableCount)
      throw std::invalid_argument("the fit needs a picture for each of the 11,172 syllables");
    GlyphsOfSyllable.resize(SyllableCount);
    for (size_t s = 0; s < SyllableCount; ++s) {
      GlyphsOfSyllable[s] = SyllableGlyphs(SyllableFirst + static_cast<uint32_t>(s));
      if (!Known[s]) continue;
      for (int32_t glyph : GlyphsOfSyllable[s]) {
        if (glyph >= 0) SyllablesOfGlyph[glyph].push_back(s);
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
  const std::vector<size_t>& SyllablesOf(int32_t glyph) const { return SyllablesOfGlyph[glyph]; }
  const THangulGlyphs& AllGlyphs() const { return Glyphs; }

  // Fits every glyph that is not pinned: starts each from the shape all its
  // syllables agree on, then runs coordinate descent. A glyph is looked at
  // again only after a glyph that shares a syllable with it has changed; the
  // score rises with every change, so the loop ends.
  void Solve() {
    for (int32_t g = 0; g < HangulGlyphCount; ++g) {
      if (!Pinned[g] && !SyllablesOfGlyph[g].empty()) Glyphs[g] = SharedPixels(Targets, SyllablesOfGlyph[g]);
    }
    std::vector<bool> dirty(HangulGlyphCount, true);
    bool changed = true;
    while (changed) {
      changed = false;
      for (int32_t g = 0; g < HangulGlyphCount; ++g) {
        if (!dirty[g]) continue;
        dirty[g] = false;
        if (Pinned[g] || SyllablesOfGlyph[g].empty() || !ImproveGlyph(g)) continue;
        changed = true;
        for (size_t s : SyllablesOfGlyph[g]) {
          for (int32_t other : GlyphsOfSyllable[s]) {
            if (other >= 0 && other != g) dirty[other] = true;
          }
        }
      }
    }
  }

  // Moves pixels to the letters they belong to (AttributePixels), making no
  // composed syllable worse, so that glyphs drawn alone (a lone consonant or
  // vowel, the replacement glyph) show their own letter only.
  void AssignPixelsToLetters() {
    const auto parts = AttributePixels(Targets, Known);
    GrowToOwnLetters(parts);
    DropPixelsOthersDraw(parts);
  }

 private:
  const std::vector<TCell>& Targets;
  const std::vector<bool>& Known;
  std::vector<std::array<int32_t, 3>> GlyphsOfSyllable;
  std::array<std::vector<size_t>, HangulGlyphCount> SyllablesOfGlyph;
  THangulGlyphs Glyphs;
  std::array<bool, HangulGlyphCount> Pinned{};
  std::array<bool, HangulGlyphCount> HandDrawn{};

  // What the other glyphs of syllable S draw besides GLYPH.
  TCell Others(size_t s, int32_t glyph) const {
    TCell cell;
    for (int32_t g : GlyphsOfSyllable[s]) {
      if (g >= 0 && g != glyph) cell = cell | Glyphs[g];
    }
    return cell;
  }

  // In how many of glyph G's syllables its own letter draws pixel B.
  size_t OwnedCount(const std::vector<std::array<TCell, 3>>& parts, int32_t g, int b) const {
    const TJamoRole role = RoleOfGlyph(g);
    size_t owned = 0;
    for (size_t s : SyllablesOfGlyph[g]) owned += HasBit(parts[s][role], b);
    return owned;
  }

  // A glyph takes every pixel that its letter draws in most of its syllables
  // and that all of them show, which adds nothing wrong.
  void GrowToOwnLetters(const std::vector<std::array<TCell, 3>>& parts) {
    for (int32_t g = 0; g < HangulGlyphCount; ++g) {
      if (HandDrawn[g] || SyllablesOfGlyph[g].empty()) continue;
      const TCell shown = SharedPixels(Targets, SyllablesOfGlyph[g]);
      ForEachBit(AndNot(shown, Glyphs[g]), [&](int b) {
        if (2 * OwnedCount(parts, g, b) > SyllablesOfGlyph[g].size()) SetBit(Glyphs[g], b);
      });
    }
  }

  // Each glyph loses the pixels that the other glyphs of every one of its
  // syllables draw anyway; where several glyphs hold such a pixel, it goes
  // first from the glyph whose letter draws it in the smallest share of the
  // glyph's syllables, so the letter that owns it keeps it.
  void DropPixelsOthersDraw(const std::vector<std::array<TCell, 3>>& parts) {
    struct TCandidate {
      size_t Owned;      // syllables of the glyph where its letter draws the pixel
      size_t Syllables;  // syllables of the glyph
      int32_t Glyph;
      int Bit;
    };
    std::vector<TCandidate> order;
    for (int32_t g = 0; g < HangulGlyphCount; ++g) {
      if (HandDrawn[g]) continue;
      ForEachBit(Glyphs[g], [&](int b) { order.push_back({OwnedCount(parts, g, b), SyllablesOfGlyph[g].size(), g, b}); });
    }
    std::sort(order.begin(), order.end(), [](const TCandidate& a, const TCandidate& b) {
      const size_t left = a.Owned * b.Syllables, right = b.Owned * a.Syllables;
      if (left != right) return left < right;
      if (a.Glyph != b.Glyph) return a.Glyph < b.Glyph;
      return a.Bit < b.Bit;
    });
    for (const TCandidate& c : order) {
      const std::vector<size_t>& syllables = SyllablesOfGlyph[c.Glyph];
      const bool supplied = std::all_of(syllables.begin(), syllables.end(),
                                        [&](size_t s) { return HasBit(Others(s, c.Glyph), c.Bit); });
      if (supplied) ClearBit(Glyphs[c.Glyph], c.Bit);
    }
  }

  TGlyphView ViewOf(int32_t g) const {
    const std::vector<size_t>& syllables = SyllablesOfGlyph[g];
    TGlyphView view;
    for (size_t s : syllables) {
      view.Others.push_back(Others(s, g));
      view.Targets.push_back(Targets[s]);
      view.Required.push_back(AndNot(Targets[s], view.Others.back()));
    }
    return view;
  }

  // Gives glyph G the best-scoring of a few candidate shapes, the other
  // glyphs held fixed; on a tie the shape it has stays. Returns whether it
  // changed.
  bool ImproveGlyph(int32_t g) {
    const TGlyphView view = ViewOf(g);
    const std::vector<TCell> candidates = CandidateShapes(view);
    long best = ScoreShape(view, Glyphs[g]);
    const TCell* bestShape = nullptr;
    std::set<TCell, TCellLess> tried;
    for (const TCell& candidate : candidates) {
      if (!tried.insert(candidate).second) continue;
      const long value = ScoreShape(view, candidate);
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

// ㅝ ㅞ ㅟ with a final share initial set 8 with ㅘ ㅙ ㅚ ㅢ, over which
// Unifont draws the initial a row or two lower; the fit keeps that lower
// initial, so in ㅝ ㅞ ㅟ it stands on the ㅜ bar. Left to the fit, these
// vowels would also draw pieces of consonants in Unifont's higher position,
// which cut through the lower initial and leave the syllable unreadable
// (a line through the ㅇ of 원). So they take the plain vowel instead: the
// pixels all their syllables share. Syllables ending in ㄴ are left out of
// that, since Unifont lowers the ㅜ bar over ㄴ.
void PinPlainWVowels(TFitter& fitter, const std::vector<TCell>& syllables) {
  for (int set = 2; set < 4; ++set) {
    for (size_t medial : {MedialWeo, MedialWe, MedialWi}) {
      const int32_t glyph = MedialSetBase[set] + static_cast<int32_t>(medial) - 1;
      if (fitter.IsPinned(glyph)) continue;
      bool first = true;
      TCell vowel;
      for (size_t s : fitter.SyllablesOf(glyph)) {
        if (FinalOf(s) == FinalNieun) continue;
        vowel = first ? syllables[s] : (vowel & syllables[s]);
        first = false;
      }
      fitter.Pin(glyph, vowel, false);
    }
  }
}

// The sets whose shape of a letter stands in for one no syllable shows, most
// alike first: initial sets by the vowels they sit over, medial sets with and
// without ㄱ ㅋ, final sets by the vowels above.
const std::vector<std::vector<int>> InitialStandIns = {{5, 3, 1}, {6, 2, 0}, {1, 6, 4}, {4, 7, 0},
                                                       {3, 7, 2}, {0, 7, 6}, {1, 2, 5}, {3, 4, 5}};
const std::vector<std::vector<int>> MedialStandIns = {{1, 2, 3}, {0, 3, 2}, {3, 0, 1}, {2, 1, 0}};
const std::vector<std::vector<int>> FinalStandIns = {{1, 2, 3}, {0, 2, 3}, {1, 0, 3}, {1, 0, 2}};

// The glyph of the same letter in the first set of Order[set] that some
// syllable of the fit shows, -1 when there is none.
int32_t StandInFor(const TFitter& fitter, int32_t glyph) {
  static const std::vector<std::vector<int>>* const orders[3] = {&InitialStandIns, &MedialStandIns,
                                                                  &FinalStandIns};
  const TGlyphLetter letter = LetterOfGlyph(glyph);
  for (int other : (*orders[letter.Role])[size_t(letter.Set)]) {
    const int32_t candidate = GlyphOfLetter(letter.Role, other, letter.Index);
    if (!fitter.SyllablesOf(candidate).empty()) return candidate;
  }
  return -1;
}

}  // namespace

TJamoFit FitJamoGlyphs(const std::vector<TCell>& syllables, const std::vector<bool>& known) {
  TFitter fitter(syllables, known);
  fitter.Solve();
  fitter.AssignPixelsToLetters();
  TJamoFit fit{fitter.AllGlyphs(), {}};
  for (int32_t g = 0; g < HangulGlyphCount; ++g) {
    if (!fitter.SyllablesOf(g).empty()) continue;
    const int32_t from = StandInFor(fitter, g);
    if (from >= 0) fit.Glyphs[g] = fit.Glyphs[from];
    fit.StandIns.push_back({g, from});
  }
  return fit;
}

THangulGlyphs FitHangulGlyphs(const std::vector<TCell>& syllables, const std::vector<THandFix>& fixes) {
  const std::vector<bool> all(SyllableCount, true);
  TFitter fitter(syllables, all);
  for (const THandFix& fix : fixes) fitter.Pin(fix.Glyph, CellFromPicture(fix.Picture), true);
  PinPlainWVowels(fitter, syllables);
  fitter.Solve();
  fitter.AssignPixelsToLetters();
  return fitter.AllGlyphs();
}

}  // namespace runeplate::fontgen
