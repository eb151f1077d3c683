// Composed text: conjoining jamo forming syllables, every letter drawn, line
// breaks and wrapping, in UTF-16 and UTF-8.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "text/UDrawText.h"

using namespace runeplate;

namespace {

struct TCall {
  int32_t X, Y, Width, Height, SrcLeft, SrcTop;
  bool operator==(const TCall& o) const {
    return std::tie(X, Y, Width, Height, SrcLeft, SrcTop) ==
           std::tie(o.X, o.Y, o.Width, o.Height, o.SrcLeft, o.SrcTop);
  }
};
std::ostream& operator<<(std::ostream& out, const TCall& c) {
  return out << "(" << c.X << "," << c.Y << "," << c.Width << "," << c.Height << "," << c.SrcLeft
             << "," << c.SrcTop << ")";
}

struct TRun {
  std::vector<TCall> Calls;
  int32_t EndX = 0, EndY = 0;
  bool operator==(const TRun& o) const {
    return Calls == o.Calls && EndX == o.EndX && EndY == o.EndY;
  }
};
std::ostream& operator<<(std::ostream& out, const TRun& run) {
  for (const TCall& c : run.Calls) out << c;
  return out << " end " << run.EndX << "," << run.EndY;
}

TRun Plain(const std::u16string& text) {
  TRun run;
  run.EndX = ForEachGlyph(0, 0, text.data(), text.size(),
                          [&run](int32_t x, int32_t y, int32_t w, int32_t h, int32_t l, int32_t t,
                                 int32_t) { run.Calls.push_back({x, y, w, h, l, t}); });
  return run;
}

// The calls and end of the composed walk over `text`, UTF-16 or UTF-8.
template <class TChar>
TRun ComposedRun(const std::basic_string<TChar>& text, const TBlockOptions& options) {
  TRun run;
  // An exact-size copy, so a read past the end is caught.
  const std::vector<TChar> units(text.begin(), text.end());
  const auto record = [&run](int32_t x, int32_t y, int32_t w, int32_t h, int32_t l, int32_t t,
                             int32_t) { run.Calls.push_back({x, y, w, h, l, t}); };
  TPen pen;
  if constexpr (sizeof(TChar) == 1) pen = ForEachGlyphUtf8(0, 0, units.data(), units.size(), options, record);
  else pen = ForEachGlyph(0, 0, units.data(), units.size(), options, record);
  run.EndX = pen.X;
  run.EndY = pen.Y;
  return run;
}
TRun Composed(const std::u16string& text, const TBlockOptions& options = {}) { return ComposedRun(text, options); }
TRun ComposedUtf8(const std::string& text, const TBlockOptions& options = {}) { return ComposedRun(text, options); }

std::string Utf8(const std::u16string& text) {
  std::string out;
  for (size_t k = 0; k < text.size(); ++k) {
    uint32_t c = text[k];
    const bool pair = c - 0xD800 < 0x400 && k + 1 < text.size() && text[k + 1] - 0xDC00u < 0x400;
    if (pair) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++k] - 0xDC00);
    } else if (c - 0xD800 < 0x800) {
      c = ReplacementCharacter;  // UTF-8 has no lone surrogates; both draw the replacement
    }
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xC0 | c >> 6), out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += char(0xE0 | c >> 12), out += char(0x80 | (c >> 6 & 0x3F)), out += char(0x80 | (c & 0x3F));
    } else {
      out += char(0xF0 | c >> 18), out += char(0x80 | (c >> 12 & 0x3F));
      out += char(0x80 | (c >> 6 & 0x3F)), out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string Decomposed(uint32_t syllable) {
  const TSyllableLetters l = DecomposeSyllable(syllable - SyllableFirst);
  std::u16string text{char16_t(LeadingJamoFirst + l.Initial), char16_t(VowelJamoFirst + l.Medial)};
  if (l.Final != 0) text += char16_t(TrailingJamoFirst + l.Final - 1);
  return text;
}

}  // namespace

// Catches a composition formula off by one in any letter, a final lost or
// doubled, or UTF-8 decoding ahead differently from UTF-16: every syllable
// spelled in jamo (and as LV + T) draws exactly its precomposed rectangles.
TEST(ComposedText, EverySyllableSpelledInJamoDrawsAsPrecomposed) {
  for (uint32_t s = SyllableFirst; s <= SyllableLast; ++s) {
    const std::u16string nfc(1, char16_t(s));
    const std::u16string nfd = Decomposed(s);
    const TRun expected = Plain(nfc + u"A" + nfc);
    ASSERT_EQ(Composed(nfd + u"A" + nfd), expected) << std::hex << s;
    ASSERT_EQ(ComposedUtf8(Utf8(nfd + u"A" + nfd)), expected) << std::hex << s;
    const uint32_t t = (s - SyllableFirst) % FinalCount;
    if (t != 0) {
      const std::u16string lvT{char16_t(s - t), char16_t(TrailingJamoFirst + t - 1)};
      ASSERT_EQ(Composed(lvT + u"A" + lvT), expected) << std::hex << s;
    }
  }
}

// Each row names the mistake it catches; the text on the right is what the
// composed text must draw like, laid out on the program's line.
TEST(ComposedText, SequencesComposeOnlyWhereModernJamoSpellASyllable) {
  const struct {
    const char* What;
    std::u16string Text;
    std::u16string DrawnAs;
  } cases[] = {
      {"U+11A7 taken for a final", u"\u1100\u1161\u11A7", u"\uAC00\uFFFD"},
      {"a syllable with a final takes another", u"\uAC01\u11A8", u"\uAC01\u3131"},
      {"LV + T not composed", u"\uAC00\u11A8", u"\uAC01"},
      {"a cut L V lost", u"A\u1100\u1161", u"A\uAC00"},
      {"a cut L not drawn as its letter", u"A\u1100", u"A\u3131"},
      {"two initials taken as one syllable", u"\u1100\u1100\u1161", u"\u3131\uAC00"},
      {"an old-Hangul vowel composed", u"\u1100\u1176", u"\u3131\uFFFD"},
      {"an old-Hangul initial composed", u"\u1113\u1161", u"\uFFFD\u314F"},
      {"a final U+11C3 (old Hangul) composed", u"\uAC00\u11C3", u"\uAC00\uFFFD"},
      {"the last final not composed", u"\u1112\u1175\u11C2", u"\uD7A3"},
      {"a lone vowel jamo left blank", u"\u1161\u1175", u"\u314F\u3163"},
      {"a lone final jamo not drawn as its letter", u"\u11A8\u11AA\u11C2", u"\u3131\u3133\u314E"},
      {"a surrogate pair drawn as two cells", u"\U0001F600A", u"\uFFFDA"},
      {"a lone surrogate lost", u"\xD800" u"A", u"\xD800" u"A"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Composed(c.Text), Plain(c.DrawnAs)) << c.What;
    EXPECT_EQ(ComposedUtf8(Utf8(c.Text)), Plain(c.DrawnAs)) << c.What;
  }
}

// Every compatibility letter has a glyph: its own cell when the atlas has the
// letter cells, otherwise the set glyph of its one letter. Catches a letter
// drawn blank, from the wrong cell, or cells used by an atlas without them.
TEST(ComposedText, EveryLetterIsDrawnFromItsCellOrItsGlyphSet) {
  for (uint32_t code = CompatJamoFirst; code <= CompatJamoLast; ++code) {
    const std::u16string text(1, char16_t(code));
    const TRun fromSets = Composed(text);
    ASSERT_EQ(fromSets.Calls.size(), 1u) << std::hex << code;
    EXPECT_EQ(fromSets, Plain(text)) << std::hex << code;
    TBlockOptions cells;
    cells.LetterCells = true;
    const int32_t k = int32_t(code - CompatJamoFirst);
    const TRun fromCells = Composed(text, cells);
    EXPECT_EQ(fromCells.Calls, (std::vector<TCall>{{0, 0, 16, 16, 16 * (k % 32), 16 * (k / 32)}}))
        << std::hex << code;
    EXPECT_LT(fromCells.Calls[0].SrcTop, 32);
  }
}

// The letter of each conjoining jamo, against the letters spelled out in
// Unicode's order. Catches a row of the letter tables shifted by one.
TEST(ComposedText, ConjoiningJamoMapToTheCompatibilityLetterOfTheSameLetter) {
  const std::u16string initials = u"ㄱㄲㄴㄷㄸㄹㅁㅂㅃㅅㅆㅇㅈㅉㅊㅋㅌㅍㅎ";
  const std::u16string vowels = u"ㅏㅐㅑㅒㅓㅔㅕㅖㅗㅘㅙㅚㅛㅜㅝㅞㅟㅠㅡㅢㅣ";
  const std::u16string finals = u"ㄱㄲㄳㄴㄵㄶㄷㄹㄺㄻㄼㄽㄾㄿㅀㅁㅂㅄㅅㅆㅇㅈㅊㅋㅌㅍㅎ";
  for (uint32_t k = 0; k < initials.size(); ++k)
    EXPECT_EQ(CompatLetterOfJamo(LeadingJamoFirst + k), initials[k]) << k;
  for (uint32_t k = 0; k < vowels.size(); ++k)
    EXPECT_EQ(CompatLetterOfJamo(VowelJamoFirst + k), vowels[k]) << k;
  for (uint32_t k = 0; k < finals.size(); ++k)
    EXPECT_EQ(CompatLetterOfJamo(TrailingJamoFirst + k), finals[k]) << k;
  for (uint32_t other : {0x10FFu, 0x1113u, 0x1160u, 0x1176u, 0x11A7u, 0x11C3u, 0x3131u})
    EXPECT_EQ(CompatLetterOfJamo(other), 0u) << std::hex << other;
}

// Line breaks: LF, CR LF and a lone CR each end one line, back at the
// starting x, 16 lower. Catches CR LF counted twice or a break drawn as a cell.
TEST(ComposedText, LineBreaksStartTheNextLineAtTheStartingX) {
  const struct {
    const char* What;
    std::u16string Text;
    int32_t EndX, EndY;
    size_t Calls;
  } cases[] = {
      {"LF", u"AB\nC", 8, 16, 3},
      {"CR LF is one break", u"AB\r\nC", 8, 16, 3},
      {"a lone CR", u"AB\rC", 8, 16, 3},
      {"CR CR LF is two", u"A\r\r\nB", 8, 32, 2},
      {"a trailing LF leaves the pen on the next line", u"A\n", 0, 16, 1},
      {"an empty line", u"A\n\nB", 8, 32, 2},
  };
  for (const auto& c : cases) {
    TRun run;
    const TBlockOptions options;
    const TPen pen = ForEachGlyph(
        40, 100, c.Text.data(), c.Text.size(), options,
        [&run](int32_t x, int32_t y, int32_t w, int32_t h, int32_t l, int32_t t, int32_t) {
          run.Calls.push_back({x, y, w, h, l, t});
        });
    EXPECT_EQ(pen.X, 40 + c.EndX) << c.What;
    EXPECT_EQ(pen.Y, 100 + c.EndY) << c.What;
    EXPECT_EQ(run.Calls.size(), c.Calls) << c.What;
    EXPECT_EQ(run.Calls.back().X, 40 + (c.Text.back() == u'\n' ? 0 : c.EndX - 8)) << c.What;
  }
  // The program's line keeps drawing a line feed as the ASCII cell of 10.
  EXPECT_EQ(Plain(u"\n").Calls, (std::vector<TCall>{{0, 0, 8, 16, 80, 32}}));
}

// Wrapping, checked against the same text with the breaks written in: each
// row's Lines is what the wrapped text must draw, line by line. Catches a
// break inside a word that fits, inside a surrogate pair or a syllable in
// jamo, leading spaces drawn, a too-wide word that never breaks, or a line
// that makes no progress.
TEST(ComposedText, WrapsAtSpacesAndBreaksOverlongWordsBetweenCharacters) {
  const struct {
    const char* What;
    int32_t Width;
    std::u16string Text;
    std::u16string Lines;
  } cases[] = {
      {"fits", 64, u"ab cd", u"ab cd"},
      {"breaks at the space, drops it", 32, u"abc def", u"abc\ndef"},
      {"drops every space at the break", 32, u"abc   def", u"abc\ndef"},
      {"a width ending exactly on a word", 24, u"abc def", u"abc\ndef"},
      {"Hangul words", 48, u"\uC548\uB155 \uC138\uC0C1", u"\uC548\uB155\n\uC138\uC0C1"},
      {"an overlong word breaks between characters", 24, u"abcdefgh", u"abc\ndef\ngh"},
      {"a word in a box narrower than one character", 4, u"ab", u"a\nb"},
      {"a surrogate pair stays whole", 24, u"ab\U0001F600c", u"ab\n\U0001F600c"},
      {"a syllable in jamo stays whole", 20, u"a\u1100\u1161\u11A8b", u"a\n\u1100\u1161\u11A8\nb"},
      {"LV + T stays whole", 20, u"a\uAC00\u11A8", u"a\n\uAC00\u11A8"},
      {"leading spaces of the text are drawn", 40, u"  ab", u"  ab"},
      {"hard breaks inside a wrapped paragraph", 32, u"ab\ncd ef gh", u"ab\ncd\nef\ngh"},
      // Catches trailing spaces drawn past the box (the pen left beyond it).
      {"spaces at the end hang past the box", 24, u"abc   ", u"abc"},
      {"spaces at the end are drawn while they fit", 40, u"abc   ", u"abc  "},
      {"spaces before a line break hang too", 24, u"abc  \nd", u"abc\nd"},
      {"a line of spaces only keeps what fits", 16, u"     ", u"  "},
      {"leading spaces before an overlong word hang", 16, u"    abc", u"  \nab\nc"},
  };
  for (const auto& c : cases) {
    TBlockOptions wrap;
    wrap.WrapWidth = c.Width;
    EXPECT_EQ(Composed(c.Text, wrap), Composed(c.Lines)) << c.What;
    EXPECT_EQ(ComposedUtf8(Utf8(c.Text), wrap), Composed(c.Lines)) << c.What;
  }
}

// A dialog box is sized from MeasureBlock before drawing: catches a width
// that misses the widest line, a height off by a line, or wrap and measure
// disagreeing.
TEST(ComposedText, MeasureBlockGivesTheWidestLineAndTheLineCount) {
  const struct {
    std::u16string Text;
    int32_t Wrap, Width, Height;
  } cases[] = {
      {u"", 0, 0, 0},
      {u"A", 0, 8, 16},
      {u"AB\nABCD\nA", 0, 32, 48},
      {u"A\n", 0, 8, 32},
      {u"\u1100\u1161\u11A8 ", 0, 24, 16},
      {u"abc def gh", 32, 24, 48},
      {u"abcdefgh", 24, 24, 48},
      // Catches trailing spaces counted past the wrap: one character may
      // overflow, spaces after it never do.
      {u"\uD55C ", 1, 16, 16},
      {u"ab  ", 20, 16, 16},
      {u"ab  \ncd", 20, 16, 32},
      {u"ab  ", 24, 24, 16},
  };
  for (const auto& c : cases) {
    TBlockOptions options;
    options.WrapWidth = c.Wrap;
    const TBlockSize size = MeasureBlock(c.Text.data(), c.Text.size(), options);
    const std::string utf8 = Utf8(c.Text);
    const TBlockSize sizeUtf8 = MeasureBlockUtf8(utf8.data(), utf8.size(), options);
    EXPECT_EQ(size.Width, c.Width) << Utf8(c.Text);
    EXPECT_EQ(size.Height, c.Height) << Utf8(c.Text);
    EXPECT_EQ(sizeUtf8.Width, c.Width) << Utf8(c.Text);
    EXPECT_EQ(sizeUtf8.Height, c.Height) << Utf8(c.Text);
  }
  EXPECT_EQ(MeasureBlock(nullptr, 3, {}).Height, 0);
}

// The function-pointer forms walk exactly as the template does.
TEST(ComposedText, DrawTextBlockCallsWhatForEachGlyphCalls) {
  static std::vector<TCall> calls;
  const auto record = [](int32_t x, int32_t y, int32_t w, int32_t h, int32_t l, int32_t t, int32_t) {
    calls.push_back({x, y, w, h, l, t});
  };
  const std::u16string text = u"\u1112\u1161\u11AB \u314B\u314B\n\u3133 abc def";
  TBlockOptions options;
  options.WrapWidth = 48;
  const TRun expected = Composed(text, options);
  calls.clear();
  const TPen pen = DrawTextBlock(0, 0, text.data(), text.size(), options, 0, record);
  EXPECT_EQ(calls, expected.Calls);
  EXPECT_EQ(pen.X, expected.EndX);
  EXPECT_EQ(pen.Y, expected.EndY);
  const std::string utf8 = Utf8(text);
  calls.clear();
  DrawTextBlockUtf8(0, 0, utf8.data(), utf8.size(), options, 0, record);
  EXPECT_EQ(calls, expected.Calls);
}

// The composed reader hands on the letters it took apart instead of the
// layout splitting the syllable again: the glyph numbers of every syllable,
// precomposed, spelled in jamo and as LV + T, must be those of the
// precomposed code unit. Catches a final lost or added, letters shifted by
// one, or a jamo sequence read with the letters of the syllable before it.
TEST(ComposedText, EverySyllableHandsOnTheGlyphNumbersOfItsCodeUnit) {
  const TBlockOptions options;
  std::vector<TGlyphCell> cells;
  const auto record = [&cells](int32_t, int32_t, const TGlyphCell& cell) { cells.push_back(cell); };
  for (uint32_t syllable = SyllableFirst; syllable <= SyllableLast; ++syllable) {
    TGlyphCell expected;
    GetGlyphCell(syllable, expected);
    const TSyllableLetters l = DecomposeSyllable(syllable - SyllableFirst);
    std::vector<std::u16string> spellings = {std::u16string(1, char16_t(syllable)), Decomposed(syllable)};
    if (l.Final != 0)
      spellings.push_back(std::u16string{char16_t(syllable - l.Final), char16_t(TrailingJamoFirst + l.Final - 1)});
    for (const std::u16string& text : spellings) {
      // Behind a syllable with a final, so letters left over from it show.
      const std::u16string line = u"\uD7A3" + text;
      cells.clear();
      ForEachGlyphCell(0, 0, line.data(), line.size(), options, record);
      ASSERT_EQ(cells.size(), 2u) << std::hex << syllable;
      const TGlyphCell& got = cells[1];
      ASSERT_EQ(got.Source, expected.Source) << std::hex << syllable;
      ASSERT_EQ(got.Count, expected.Count) << std::hex << syllable;
      for (int k = 0; k < expected.Count; ++k) ASSERT_EQ(got.Glyphs[k], expected.Glyphs[k]) << std::hex << syllable;
      cells.clear();
      const std::string utf8 = Utf8(line);
      ForEachGlyphCellUtf8(0, 0, utf8.data(), utf8.size(), options, record);
      ASSERT_EQ(cells.size(), 2u) << std::hex << syllable;
      ASSERT_EQ(cells[1].Count, expected.Count) << std::hex << syllable;
      for (int k = 0; k < expected.Count; ++k) ASSERT_EQ(cells[1].Glyphs[k], expected.Glyphs[k]) << std::hex << syllable;
    }
  }
}
