#include "text/UDrawText.h"

namespace runeplate {

// Johab initial code of each initial index (slot = index - 1).
constexpr int32_t InitialToJohab[32] RUNEPLATE_FLASH = {
    2,   // 1  U+1100 ㄱ KIYEOK
    3,   // 2  U+1101 ㄲ SSANGKIYEOK
    4,   // 3  U+1102 ㄴ NIEUN
    5,   // 4  U+1103 ㄷ TIKEUT
    6,   // 5  U+1104 ㄸ SSANGTIKEUT
    7,   // 6  U+1105 ㄹ RIEUL
    8,   // 7  U+1106 ㅁ MIEUM
    9,   // 8  U+1107 ㅂ PIEUP
    10,  // 9  U+1108 ㅃ SSANGPIEUP
    11,  // 10 U+1109 ㅅ SIOS
    12,  // 11 U+110A ㅆ SSANGSIOS
    13,  // 12 U+110B ㅇ IEUNG
    14,  // 13 U+110C ㅈ CIEUC
    15,  // 14 U+110D ㅉ SSANGCIEUC
    16,  // 15 U+110E ㅊ CHIEUCH
    17,  // 16 U+110F ㅋ KHIEUKH
    18,  // 17 U+1110 ㅌ THIEUTH
    19,  // 18 U+1111 ㅍ PHIEUPH
    20,  // 19 U+1112 ㅎ HIEUH
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
};

// Johab medial code of each medial index (slot = index - 1). The codes skip
// 8, 9, 16, 17, 24, 25 and 30.
constexpr int32_t MedialToJohab[32] RUNEPLATE_FLASH = {
    3,   // 1  U+1161 ㅏ A
    4,   // 2  U+1162 ㅐ AE
    5,   // 3  U+1163 ㅑ YA
    6,   // 4  U+1164 ㅒ YAE
    7,   // 5  U+1165 ㅓ EO
    10,  // 6  U+1166 ㅔ E
    11,  // 7  U+1167 ㅕ YEO
    12,  // 8  U+1168 ㅖ YE
    13,  // 9  U+1169 ㅗ O
    14,  // 10 U+116A ㅘ WA
    15,  // 11 U+116B ㅙ WAE
    18,  // 12 U+116C ㅚ OE
    19,  // 13 U+116D ㅛ YO
    20,  // 14 U+116E ㅜ U
    21,  // 15 U+116F ㅝ WEO
    22,  // 16 U+1170 ㅞ WE
    23,  // 17 U+1171 ㅟ WI
    26,  // 18 U+1172 ㅠ YU
    27,  // 19 U+1173 ㅡ EU
    28,  // 20 U+1174 ㅢ YI
    29,  // 21 U+1175 ㅣ I
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
};

// Johab final code of each final index (slot = index; slot 0 is "no final",
// the fill code 1). The codes skip 18.
constexpr int32_t FinalToJohab[32] RUNEPLATE_FLASH = {
    1,   // 0  (no final consonant)
    2,   // 1  U+11A8 ㄱ KIYEOK
    3,   // 2  U+11A9 ㄲ SSANGKIYEOK
    4,   // 3  U+11AA ㄳ KIYEOK-SIOS
    5,   // 4  U+11AB ㄴ NIEUN
    6,   // 5  U+11AC ㄵ NIEUN-CIEUC
    7,   // 6  U+11AD ㄶ NIEUN-HIEUH
    8,   // 7  U+11AE ㄷ TIKEUT
    9,   // 8  U+11AF ㄹ RIEUL
    10,  // 9  U+11B0 ㄺ RIEUL-KIYEOK
    11,  // 10 U+11B1 ㄻ RIEUL-MIEUM
    12,  // 11 U+11B2 ㄼ RIEUL-PIEUP
    13,  // 12 U+11B3 ㄽ RIEUL-SIOS
    14,  // 13 U+11B4 ㄾ RIEUL-THIEUTH
    15,  // 14 U+11B5 ㄿ RIEUL-PHIEUPH
    16,  // 15 U+11B6 ㅀ RIEUL-HIEUH
    17,  // 16 U+11B7 ㅁ MIEUM
    19,  // 17 U+11B8 ㅂ PIEUP
    20,  // 18 U+11B9 ㅄ PIEUP-SIOS
    21,  // 19 U+11BA ㅅ SIOS
    22,  // 20 U+11BB ㅆ SSANGSIOS
    23,  // 21 U+11BC ㅇ IEUNG
    24,  // 22 U+11BD ㅈ CIEUC
    25,  // 23 U+11BE ㅊ CHIEUCH
    26,  // 24 U+11BF ㅋ KHIEUKH
    27,  // 25 U+11C0 ㅌ THIEUTH
    28,  // 26 U+11C1 ㅍ PHIEUPH
    29,  // 27 U+11C2 ㅎ HIEUH
    -1, -1, -1, -1,
};

// Inverse of the three tables above, by 5-bit code 0..30.
constexpr uint8_t JohabToJamoIndex[3][31] RUNEPLATE_FLASH = {
    // initial: codes 2..20 are indices 1..19
    {0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
     0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    // medial: gaps at 8, 9, 16, 17, 24, 25, 30
    {0, 0, 0, 1, 2, 3, 4, 5, 0, 0, 6, 7, 8, 9, 10, 11, 0, 0, 12, 13, 14, 15,
     16, 17, 0, 0, 18, 19, 20, 21, 0},
    // final: gap at 18
    {0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 0, 17, 18,
     19, 20, 21, 22, 23, 24, 25, 26, 27, 0},
};

namespace {

#if __cplusplus >= 201402L  // C++11 compilers (the Arduino build) skip the proof
// Each row of JohabToJamoIndex undoes its index table: slot k's code decodes
// to k's index, and no other code decodes to anything.
constexpr bool InvertsIndexTable(const int32_t (&codes)[32], const uint8_t (&row)[31],
                                 int firstIndex, int slots) {
  int decoded = 0;
  for (int code = 0; code < 31; ++code) decoded += row[code] != 0;
  if (decoded != slots - (firstIndex == 0 ? 1 : 0)) return false;
  for (int slot = 0; slot < 32; ++slot) {
    if (slot >= slots) {
      if (codes[slot] != -1) return false;
      continue;
    }
    if (codes[slot] < 1 || codes[slot] > 30 || row[codes[slot]] != slot + firstIndex) return false;
  }
  return true;
}
static_assert(InvertsIndexTable(InitialToJohab, JohabToJamoIndex[0], 1, InitialCount),
              "initial row of JohabToJamoIndex");
static_assert(InvertsIndexTable(MedialToJohab, JohabToJamoIndex[1], 1, MedialCount),
              "medial row of JohabToJamoIndex");
static_assert(InvertsIndexTable(FinalToJohab, JohabToJamoIndex[2], 0, FinalCount),
              "final row of JohabToJamoIndex");
#endif

}  // namespace

// Consonants that can begin a syllable carry their initial code alone;
// final-only clusters carry initial fill 1, medial fill 2 and their final
// code; vowels carry initial fill 1, their medial code and final fill 1.
const uint32_t CompatJamoToJohab[CompatJamoCount] RUNEPLATE_FLASH = {
    0x8800,  // U+3131 ㄱ
    0x8C00,  // U+3132 ㄲ
    0x8444,  // U+3133 ㄳ
    0x9000,  // U+3134 ㄴ
    0x8446,  // U+3135 ㄵ
    0x8447,  // U+3136 ㄶ
    0x9400,  // U+3137 ㄷ
    0x9800,  // U+3138 ㄸ
    0x9C00,  // U+3139 ㄹ
    0x844A,  // U+313A ㄺ
    0x844B,  // U+313B ㄻ
    0x844C,  // U+313C ㄼ
    0x844D,  // U+313D ㄽ
    0x844E,  // U+313E ㄾ
    0x844F,  // U+313F ㄿ
    0x8450,  // U+3140 ㅀ
    0xA000,  // U+3141 ㅁ
    0xA400,  // U+3142 ㅂ
    0xA800,  // U+3143 ㅃ
    0x8454,  // U+3144 ㅄ
    0xAC00,  // U+3145 ㅅ
    0xB000,  // U+3146 ㅆ
    0xB400,  // U+3147 ㅇ
    0xB800,  // U+3148 ㅈ
    0xBC00,  // U+3149 ㅉ
    0xC000,  // U+314A ㅊ
    0xC400,  // U+314B ㅋ
    0xC800,  // U+314C ㅌ
    0xCC00,  // U+314D ㅍ
    0xD000,  // U+314E ㅎ
    0x8461,  // U+314F ㅏ
    0x8481,  // U+3150 ㅐ
    0x84A1,  // U+3151 ㅑ
    0x84C1,  // U+3152 ㅒ
    0x84E1,  // U+3153 ㅓ
    0x8541,  // U+3154 ㅔ
    0x8561,  // U+3155 ㅕ
    0x8581,  // U+3156 ㅖ
    0x85A1,  // U+3157 ㅗ
    0x85C1,  // U+3158 ㅘ
    0x85E1,  // U+3159 ㅙ
    0x8641,  // U+315A ㅚ
    0x8661,  // U+315B ㅛ
    0x8681,  // U+315C ㅜ
    0x86A1,  // U+315D ㅝ
    0x86C1,  // U+315E ㅞ
    0x86E1,  // U+315F ㅟ
    0x8741,  // U+3160 ㅠ
    0x8761,  // U+3161 ㅡ
    0x8781,  // U+3162 ㅢ
    0x87A1,  // U+3163 ㅣ
};

namespace {

constexpr uint32_t JohabMarker = 0x8000;

uint32_t JohabField(uint32_t johab, int shift) { return (johab >> shift) & 0x1F; }

uint8_t LookUpJohab(int row, uint32_t field) {
  return field < 31 ? ReadFlash(&JohabToJamoIndex[row][field]) : 0;
}

}  // namespace

uint32_t JohabToJamoIndices(uint32_t johab) {
  if (johab > 0xFFFF || (johab & JohabMarker) == 0) return NotConvertible;
  return PackJamo(LookUpJohab(0, JohabField(johab, 10)),
                  LookUpJohab(1, JohabField(johab, 5)),
                  LookUpJohab(2, JohabField(johab, 0)));
}

uint32_t CharToJamoIndices(uint32_t code) {
  uint32_t johab = 0;
  if (code < 128) {
    johab = code;  // bit 15 clear: rejected below
  } else if (code >= SyllableFirst && code <= SyllableLast) {
    const TSyllableLetters letters = DecomposeSyllable(code - SyllableFirst);
    johab = JohabMarker | (static_cast<uint32_t>(ReadFlash(&InitialToJohab[letters.Initial])) << 10) |
            (static_cast<uint32_t>(ReadFlash(&MedialToJohab[letters.Medial])) << 5) |
            static_cast<uint32_t>(ReadFlash(&FinalToJohab[letters.Final]));
  } else if (code >= CompatJamoFirst && code <= CompatJamoLast) {
    johab = ReadFlash(&CompatJamoToJohab[code - CompatJamoFirst]) & 0xFFFF;
  }
  return JohabToJamoIndices(johab);
}

namespace {

// Set names for the tables below; 0 stands for "no set". Initial set 1 starts
// at glyph 0 as well, which is how a consonant without a vowel gets its glyph
// from set 1.
constexpr int16_t I1 = InitialSetBase[0], I2 = InitialSetBase[1], I3 = InitialSetBase[2],
                  I4 = InitialSetBase[3], I5 = InitialSetBase[4], I6 = InitialSetBase[5],
                  I7 = InitialSetBase[6], I8 = InitialSetBase[7];
constexpr int16_t M1 = MedialSetBase[0], M2 = MedialSetBase[1], M3 = MedialSetBase[2],
                  M4 = MedialSetBase[3];
constexpr int16_t F1 = FinalSetBase[0], F2 = FinalSetBase[1], F3 = FinalSetBase[2],
                  F4 = FinalSetBase[3];
constexpr int16_t NoSet = detail::NoSet;

}  // namespace

namespace detail {

// What the vowel decides: vertical vowels leave room at the right,
// horizontal ones below, and the final consonant sits under whatever the
// vowel leaves.
constexpr TVowelSets VowelSets[NoVowelRow + 1] RUNEPLATE_FLASH = {
    {{NoSet, NoSet}, NoSet},  // 0  (no vowel)
    {{I1, I6}, F1},           // 1  ㅏ A
    {{I1, I6}, F3},           // 2  ㅐ AE
    {{I1, I6}, F1},           // 3  ㅑ YA
    {{I1, I6}, F3},           // 4  ㅒ YAE
    {{I1, I6}, F2},           // 5  ㅓ EO
    {{I1, I6}, F3},           // 6  ㅔ E
    {{I1, I6}, F2},           // 7  ㅕ YEO
    {{I1, I6}, F3},           // 8  ㅖ YE
    {{I2, I7}, F4},           // 9  ㅗ O
    {{I4, I8}, F1},           // 10 ㅘ WA
    {{I4, I8}, F3},           // 11 ㅙ WAE
    {{I4, I8}, F2},           // 12 ㅚ OE
    {{I2, I7}, F4},           // 13 ㅛ YO
    {{I3, I7}, F4},           // 14 ㅜ U
    {{I5, I8}, F2},           // 15 ㅝ WEO
    {{I5, I8}, F3},           // 16 ㅞ WE
    {{I5, I8}, F2},           // 17 ㅟ WI
    {{I3, I7}, F4},           // 18 ㅠ YU
    {{I2, I7}, F4},           // 19 ㅡ EU
    {{I4, I8}, F2},           // 20 ㅢ YI
    {{I1, I6}, F2},           // 21 ㅣ I
    {{NoSet, NoSet}, NoSet},  // 22..255 (no vowel)
};

// What the initial consonant decides: ㄱ and ㅋ reach further right than the
// other consonants.
constexpr TInitialSets InitialSets[NoInitialRow + 1] RUNEPLATE_FLASH = {
    {{M1, NoSet}},     // 0  (no initial: a lone vowel)
    {{M1, M3}},        // 1  ㄱ KIYEOK
    {{M2, M4}},        // 2  ㄲ SSANGKIYEOK
    {{M2, M4}},        // 3  ㄴ NIEUN
    {{M2, M4}},        // 4  ㄷ TIKEUT
    {{M2, M4}},        // 5  ㄸ SSANGTIKEUT
    {{M2, M4}},        // 6  ㄹ RIEUL
    {{M2, M4}},        // 7  ㅁ MIEUM
    {{M2, M4}},        // 8  ㅂ PIEUP
    {{M2, M4}},        // 9  ㅃ SSANGPIEUP
    {{M2, M4}},        // 10 ㅅ SIOS
    {{M2, M4}},        // 11 ㅆ SSANGSIOS
    {{M2, M4}},        // 12 ㅇ IEUNG
    {{M2, M4}},        // 13 ㅈ CIEUC
    {{M2, M4}},        // 14 ㅉ SSANGCIEUC
    {{M2, M4}},        // 15 ㅊ CHIEUCH
    {{M1, M3}},        // 16 ㅋ KHIEUKH
    {{M2, M4}},        // 17 ㅌ THIEUTH
    {{M2, M4}},        // 18 ㅍ PHIEUPH
    {{M2, M4}},        // 19 ㅎ HIEUH
    {{NoSet, NoSet}},  // 20..255 (no initial)
};

}  // namespace detail

// The rules of glyph set selection live in the two tables above; a syllable
// reads them through SyllableGlyphs, as the walks do.
void SelectGlyphs(uint32_t packed, int32_t glyphs[3]) {
  if (packed == NotConvertible) {
    glyphs[0] = glyphs[1] = ReplacementGlyph;
    glyphs[2] = -1;
    return;
  }
  const uint32_t i = (packed >> 16) & 0xFF;
  const uint32_t m = (packed >> 8) & 0xFF;
  const uint32_t f = packed & 0xFF;
  if (i - 1 < InitialCount && m - 1 < MedialCount && f < FinalCount) {
    int16_t syllable[3];
    SyllableGlyphs(i - 1, m - 1, f, syllable);
    for (int k = 0; k < 3; ++k) glyphs[k] = syllable[k];
    return;
  }
  using detail::InitialSets;
  using detail::NoInitialRow;
  using detail::NoVowelRow;
  using detail::VowelSets;
  const detail::TVowelSets& vowel = VowelSets[m < NoVowelRow ? m : NoVowelRow];
  const detail::TInitialSets& initial = InitialSets[i < NoInitialRow ? i : NoInitialRow];

  int32_t initialBase, medialBase, finalBase;
  if (f == 0) {
    initialBase = i == 0 ? NoSet : ReadFlash(&vowel.Initial[0]);  // a lone vowel has no initial glyph
    medialBase = ReadFlash(&initial.Medial[0]);
    finalBase = NoSet;
  } else {
    initialBase = ReadFlash(&vowel.Initial[1]);
    medialBase = ReadFlash(&initial.Medial[1]);
    finalBase = (i == 0 && m == 0) ? F1 : ReadFlash(&vowel.Final);  // a lone final consonant
  }

  glyphs[0] = initialBase + static_cast<int32_t>(i) - 1;
  glyphs[1] = m == 0 ? -1 : medialBase + static_cast<int32_t>(m) - 1;
  glyphs[2] = (f == 0 || finalBase == NoSet) ? -1 : finalBase + static_cast<int32_t>(f) - 1;
}

// A compatibility letter takes the glyphs SelectGlyphs gives it, the rest
// drawn as the replacement; syllables and ASCII never come here.
void detail::LayOutOtherCode(uint32_t code, TGlyphCell& cell) {
  cell.Source = SourceJamo;
  if (code - CompatJamoFirst >= CompatJamoCount) {
    cell.Count = 2;
    cell.Glyphs[0] = cell.Glyphs[1] = ReplacementGlyph;
    return;
  }
  int32_t glyphs[3];
  SelectGlyphs(CharToJamoIndices(code), glyphs);
  // Negative numbers are skipped rather than ending the list, so a lone vowel
  // or a final-only cluster still shows its glyph.
  uint8_t count = 0;
  for (int32_t glyph : glyphs) {
    if (glyph >= 0) cell.Glyphs[count++] = static_cast<int16_t>(glyph);
  }
  cell.Count = count;
}

void GetGlyphCell(uint32_t code, TGlyphCell& cell) { LayOutCode(code, cell); }

void GetGlyphRects(uint32_t code, TGlyphRects& list) {
  TGlyphCell cell;
  LayOutCode(code, cell);
  RectsOfCell(cell, list);
}

int32_t DrawTextRun(int32_t x, int32_t y, const char16_t* text, size_t length,
                    int32_t userValue, TGlyphCallback callback) {
  return ForEachGlyph(x, y, text, length, callback, userValue);
}

int32_t MeasureText(const char16_t* text, size_t length) {
  if (text == nullptr) return 0;
  return detail::WalkCells(0, 0, detail::TUnitReader{text, text + length}, detail::TLineLayout{},
                           detail::TNoCell{})
      .X;
}

int32_t DrawTextRunUtf8(int32_t x, int32_t y, const char* text, size_t length,
                        int32_t userValue, TGlyphCallback callback) {
  if (text == nullptr) return x;
  return detail::WalkCells(x, y, detail::TUtf8UnitReader{text, 0, length, 0},
                           detail::TLineLayout{}, detail::EmitGlyphs(callback, userValue))
      .X;
}

// ---------------------------------------------------------------------------
// Composed text
// ---------------------------------------------------------------------------

namespace {

// The compatibility letter of each initial index 1..19 and final index
// 1..27, as an offset from U+3131 (the vowels are in order: U+314F + m - 1).
constexpr uint8_t InitialLetters[InitialCount] RUNEPLATE_FLASH = {
    0x00,  // 1  ㄱ
    0x01,  // 2  ㄲ
    0x03,  // 3  ㄴ
    0x06,  // 4  ㄷ
    0x07,  // 5  ㄸ
    0x08,  // 6  ㄹ
    0x10,  // 7  ㅁ
    0x11,  // 8  ㅂ
    0x12,  // 9  ㅃ
    0x14,  // 10 ㅅ
    0x15,  // 11 ㅆ
    0x16,  // 12 ㅇ
    0x17,  // 13 ㅈ
    0x18,  // 14 ㅉ
    0x19,  // 15 ㅊ
    0x1A,  // 16 ㅋ
    0x1B,  // 17 ㅌ
    0x1C,  // 18 ㅍ
    0x1D,  // 19 ㅎ
};
constexpr uint8_t FinalLetters[FinalCount - 1] RUNEPLATE_FLASH = {
    0x00,  // 1  ㄱ
    0x01,  // 2  ㄲ
    0x02,  // 3  ㄳ
    0x03,  // 4  ㄴ
    0x04,  // 5  ㄵ
    0x05,  // 6  ㄶ
    0x06,  // 7  ㄷ
    0x08,  // 8  ㄹ
    0x09,  // 9  ㄺ
    0x0A,  // 10 ㄻ
    0x0B,  // 11 ㄼ
    0x0C,  // 12 ㄽ
    0x0D,  // 13 ㄾ
    0x0E,  // 14 ㄿ
    0x0F,  // 15 ㅀ
    0x10,  // 16 ㅁ
    0x11,  // 17 ㅂ
    0x13,  // 18 ㅄ
    0x14,  // 19 ㅅ
    0x15,  // 20 ㅆ
    0x16,  // 21 ㅇ
    0x17,  // 22 ㅈ
    0x19,  // 23 ㅊ
    0x1A,  // 24 ㅋ
    0x1B,  // 25 ㅌ
    0x1C,  // 26 ㅍ
    0x1D,  // 27 ㅎ
};
constexpr uint32_t FirstVowelLetter = 0x314F;

// Where a block's lines end on the right, and how low its pen went.
struct TBlockExtent {
  int32_t Right = 0;
  void operator()(int32_t x, int32_t, const TGlyphCell& cell) {
    if (cell.Count == 0) return;
    const int32_t right = x + CellWidthOf(cell.Source);
    if (right > Right) Right = right;
  }
};

}  // namespace

uint32_t CompatLetterOfJamo(uint32_t codePoint) {
  if (codePoint - LeadingJamoFirst < InitialCount)
    return CompatJamoFirst + ReadFlash(&InitialLetters[codePoint - LeadingJamoFirst]);
  if (codePoint - VowelJamoFirst < MedialCount) return FirstVowelLetter + (codePoint - VowelJamoFirst);
  if (codePoint - TrailingJamoFirst < FinalCount - 1)
    return CompatJamoFirst + ReadFlash(&FinalLetters[codePoint - TrailingJamoFirst]);
  return 0;
}

uint32_t ComposedCode(uint32_t codePoint) {
  if (codePoint > 0xFFFF) return ReplacementCharacter;
  const uint32_t letter = CompatLetterOfJamo(codePoint);
  return letter != 0 ? letter : codePoint;
}

void GetComposedCell(uint32_t code, const TBlockOptions& options, TGlyphCell& cell) {
  LayOutComposedCode(code, options, cell);
}

void GetComposedRects(uint32_t code, const TBlockOptions& options, TGlyphRects& list) {
  TGlyphCell cell;
  LayOutComposedCode(code, options, cell);
  RectsOfCell(cell, list);
}

namespace {

template <class TText, class TChar>
TBlockSize MeasureBlockOf(const TChar* text, size_t length, const TBlockOptions& options) {
  if (text == nullptr || length == 0) return {0, 0};
  TBlockExtent extent;
  const TPen pen = detail::WalkBlock(0, 0, TText{text}, length, options, extent);
  return {extent.Right, pen.Y + LineHeight};
}

}  // namespace

TPen DrawTextBlock(int32_t x, int32_t y, const char16_t* text, size_t length,
                   const TBlockOptions& options, int32_t userValue, TGlyphCallback callback) {
  return ForEachGlyph(x, y, text, length, options, callback, userValue);
}

TPen DrawTextBlockUtf8(int32_t x, int32_t y, const char* text, size_t length,
                       const TBlockOptions& options, int32_t userValue,
                       TGlyphCallback callback) {
  return ForEachGlyphUtf8(x, y, text, length, options, callback, userValue);
}

TBlockSize MeasureBlock(const char16_t* text, size_t length, const TBlockOptions& options) {
  return MeasureBlockOf<detail::TUtf16Text>(text, length, options);
}

TBlockSize MeasureBlockUtf8(const char* text, size_t length, const TBlockOptions& options) {
  return MeasureBlockOf<detail::TUtf8Text>(text, length, options);
}

namespace {

bool InRange(char byte, uint8_t low, uint8_t high) {
  const auto b = static_cast<uint8_t>(byte);
  return b >= low && b <= high;
}

}  // namespace

size_t DecodeUtf8(const char* text, size_t length, uint32_t& codePoint) {
  const auto lead = static_cast<uint8_t>(text[0]);
  codePoint = ReplacementCharacter;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  // The second byte's range depends on the lead (it rules out overlong forms,
  // surrogates and values above U+10FFFF); later bytes are 80..BF.
  size_t size;
  uint8_t low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    size = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    size = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    size = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 1;  // a continuation byte, C0, C1 or F5..FF: never a lead
  }
  uint32_t value = lead & (0xFFu >> (size + 1));
  for (size_t k = 1; k < size; ++k) {
    if (k >= length || !InRange(text[k], low, high)) return k;  // the maximal part so far
    value = value << 6 | (static_cast<uint8_t>(text[k]) & 0x3Fu);
    low = 0x80;
    high = 0xBF;
  }
  codePoint = value;
  return size;
}

}  // namespace runeplate
