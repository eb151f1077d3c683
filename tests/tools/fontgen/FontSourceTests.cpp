// Fonts FreeType opens, as sources: where glyphs land in their cells, which
// characters a font is taken to have, strikes and sizes, and jamo glyphs
// taken by name.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fontgen/FontSource.h"
#include "fontgen/FreeTypeSource.h"
#include "fontgen/JamoNames.h"
#include "font/HanFile.h"
#include "FontGenTesting.h"
#include "tooltest/ToolRunner.h"

using namespace runeplate;
using namespace runeplate::fontgen;
using runeplate::fontgen::testing::BdfFont;
using runeplate::fontgen::testing::FontSourcesPresent;
using runeplate::fontgen::testing::TBdfGlyph;

namespace {

// A scratch file that is removed again.
class TScratchFile {
 public:
  TScratchFile(const std::string& name, const std::string& contents) : Path(runeplate::testing::ScratchPath(name)) {
    runeplate::testing::WriteBytes(Path, contents);
  }
  ~TScratchFile() { std::remove(Path.c_str()); }
  const std::string Path;
};

// A dot of two pixels, its left pixel 3 right of the pen, its row 6 above
// the baseline.
TBdfGlyph Dot(uint32_t encoding) { return {encoding, 2, 1, 3, 5, {"C0"}}; }

// The Neo둥근모 TTF that scripts/setup fetches; empty when it is missing.
std::string NeoTtf() { return FontSourcesPresent({RUNEPLATE_NEODGM_TTF}) ? RUNEPLATE_NEODGM_TTF : ""; }

}  // namespace

// Catches a template parser that drops literals, counts sets or letters from
// the wrong base, or pads wrongly; and one that accepts a scheme it cannot use.
TEST(JamoNames, NamesEveryGlyphBySetAndLetterAndRejectsMalformedSchemes) {
  TJamoNames neo, custom;
  std::string error;
  ASSERT_TRUE(ParseJamoNames(NeoJamoNames, neo, error)) << error;
  ASSERT_TRUE(ParseJamoNames("I{set+1}-{index+1:3},{set}{index},F_{index:2}_{set:2}", custom, error)) << error;
  const struct {
    int32_t Glyph;
    const char *Neo, *Custom;
  } names[] = {
      {0, "cho_0_00", "I1-001"},     {18, "cho_0_18", "I1-019"},   {19, "cho_1_00", "I2-001"},
      {151, "cho_7_18", "I8-019"},   {152, "jung_0_00", "00"},     {235, "jung_3_20", "320"},
      {236, "jong_0_01", "F_01_00"}, {262, "jong_0_27", "F_27_00"}, {343, "jong_3_27", "F_27_03"},
  };
  for (const auto& n : names) {
    EXPECT_EQ(JamoGlyphName(neo, n.Glyph), n.Neo) << n.Glyph;
    // The scheme the BDF writer and the reader use, read once: its names
    // were once left empty had it failed to read.
    EXPECT_EQ(JamoGlyphName(NeoJamoScheme(), n.Glyph), n.Neo) << n.Glyph;
    EXPECT_EQ(JamoGlyphName(custom, n.Glyph), n.Custom) << n.Glyph;
  }
  for (const char* bad : {"a{set},b{index}", "a,b,c,d", "a{set,b,c", "a}b,c,d", "a{letter},b,c",
                          "a{set:x},b,c", "a{set+},b,c", ",b,c"}) {
    TJamoNames names;
    error.clear();
    EXPECT_FALSE(ParseJamoNames(bad, names, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
}

// Catches glyphs put on a fixed baseline instead of the font's ascent, ASCII
// and Hangul placed differently, or characters the font lacks taken as drawn.
TEST(FreeTypeSource, PutsBitmapGlyphsOnTheFontsOwnBaseline) {
  for (int ascent : {12, 14}) {
    const TScratchFile font("ascent.bdf", BdfFont(ascent, 16 - ascent, "ISO10646", {Dot('A'), Dot(0xAC01)}));
    const TFontSource source = LoadFreeTypeSource(font.Path);
    const int row = ascent - 6;
    EXPECT_TRUE(source.HasAscii);
    EXPECT_EQ(source.Ascii['A'][row], 0x18) << "ascent " << ascent;
    EXPECT_EQ(source.Ascii['B'][row], 0) << "ascent " << ascent;
    TCell dot;
    dot.SetPixel(3, row, true);
    dot.SetPixel(4, row, true);
    EXPECT_TRUE(source.Syllables[1] == dot) << "ascent " << ascent;
    EXPECT_EQ(source.SyllablesPresent(), 1);
    EXPECT_TRUE(source.HasSyllable[1]);
    EXPECT_EQ(source.JamoOrigin, TJamoOrigin::None);
    ASSERT_FALSE(source.Warnings.empty()) << "94 ASCII characters are missing";
    EXPECT_NE(source.Warnings[0].find("94 of the 95"), std::string::npos) << source.Warnings[0];
  }
}

// Catches a KS X 1001 font read as if its codes were Unicode, and a glyph
// reaching outside its cell drawn into a neighbour's or kept silently.
TEST(FreeTypeSource, ReadsKsX1001BitmapFontsAndClipsAtTheCell) {
  const TBdfGlyph tall{0x3022, 16, 17, 0, -4, std::vector<std::string>(17, "8001")};
  const TScratchFile font("ksc.bdf", BdfFont(12, 3, "KSC5601.1987", {Dot(0x3021), tall}));
  const TFontSource source = LoadFreeTypeSource(font.Path);
  EXPECT_FALSE(source.HasAscii);
  EXPECT_EQ(source.SyllablesPresent(), 2);
  EXPECT_TRUE(source.Syllables[0].Pixel(3, 6) && source.Syllables[0].Pixel(4, 6)) << "가 from 0x3021";
  EXPECT_EQ(source.Syllables[1].PopCount(), 32) << "각 from 0x3022: 16 rows of two pixels";
  bool warned = false;
  for (const std::string& w : source.Warnings) warned |= w.find("1 glyphs reach outside") != std::string::npos;
  EXPECT_TRUE(warned);
}

// Catches a strike taken whatever its size, and a file that is no font taken
// for one.
TEST(FreeTypeSource, RefusesSizesAndFilesItCannotRead) {
  const TScratchFile font("strike.bdf", BdfFont(14, 2, "ISO10646", {Dot('A')}));
  EXPECT_NO_THROW(LoadFreeTypeSource(font.Path, {16, {}, false}));
  const TScratchFile text("text.bdf", "not a font\n");
  const struct {
    std::string Path;
    int Size;
    const char* Message;
  } cases[] = {
      {font.Path, 12, "has no 12-px strike (it has 16)"},
      {text.Path, 0, "unknown font format"},
      {text.Path + ".missing", 0, "cannot open"},
  };
  for (const auto& c : cases) {
    try {
      LoadFreeTypeSource(c.Path, {c.Size, {}, false});
      ADD_FAILURE() << c.Message;
    } catch (const TFontGenError& error) {
      EXPECT_NE(std::string(error.what()).find(c.Message), std::string::npos) << error.what();
    }
  }
}

// Catches named jamo glyphs that are not found, placed off the baseline or
// in the wrong sets: Neo둥근모's syllables are exactly the OR of its jamo
// glyphs, so every syllable must compose identically; and catches the names
// being used when told not to, or a scheme the font lacks going unnoticed.
TEST(FreeTypeSource, TakesNeoDunggeunmosJamoGlyphsByName) {
  const std::string ttf = NeoTtf();
  if (ttf.empty()) GTEST_SKIP() << "no Neo둥근모 TTF; scripts/setup fetches it";
  const TFontSource source = LoadFreeTypeSource(ttf);
  EXPECT_TRUE(source.Warnings.empty()) << source.Warnings.front();
  ASSERT_EQ(source.JamoOrigin, TJamoOrigin::Named);
  EXPECT_TRUE(source.HasAscii);
  EXPECT_EQ(source.SyllablesPresent(), int(SyllableCount));
  int identical = 0;
  for (uint32_t code = SyllableFirst; code <= SyllableLast; ++code)
    identical += ComposeSyllable(source.Jamo, code) == source.Syllables[code - SyllableFirst];
  EXPECT_EQ(identical, int(SyllableCount));
  // 'A' stands on the baseline, 12 rows below the top: rows 2..11.
  EXPECT_EQ(source.Ascii['A'][1], 0);
  EXPECT_NE(source.Ascii['A'][2], 0);
  EXPECT_NE(source.Ascii['A'][11], 0);
  EXPECT_EQ(source.Ascii['A'][12], 0);

  EXPECT_EQ(LoadFreeTypeSource(ttf, {0, {}, true}).JamoOrigin, TJamoOrigin::None);
  TJamoNames wrong;
  std::string error;
  ASSERT_TRUE(ParseJamoNames("cho{set}{index},jung{set}{index},jong{set}{index}", wrong, error));
  EXPECT_THROW(LoadFreeTypeSource(ttf, {0, wrong, false}), TFontGenError);
  const TFontSource off = LoadFreeTypeSource(ttf, {12, {}, true});
  ASSERT_FALSE(off.Warnings.empty());
  EXPECT_NE(off.Warnings[0].find("off the 12-px grid"), std::string::npos) << off.Warnings[0];
}

// Catches a file taken for the wrong kind (an 8x4x4 file read by FreeType, a
// hex file by size), an atlas or 8x4x4 file that does not come back as it
// went in, and a file of no known kind taken for anything.
TEST(LoadFontSource, TellsTheKindByContentAndKeepsDrawnGlyphs) {
  const THangulGlyphs jamo = fontgen::testing::RandomGlyphs(5, fontgen::testing::TZones::Anywhere);
  TAsciiCells ascii{};
  for (uint32_t code = 0; code < 128; ++code)
    for (int y = 0; y < 16; ++y) ascii[code][y] = fontgen::testing::AsciiRow(code, y);
  const TFontImage atlas = ComposeAtlas(ascii, jamo);
  const std::vector<uint8_t> han = EncodeHanFile(atlas);
  std::vector<uint8_t> padded = han;
  padded.resize(HanFilePaddedBytes, 0);
  auto text = [](const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); };
  const std::vector<uint8_t> bmp = EncodeFontFile(atlas);

  const TScratchFile atlasFile("atlas.bmp", text(bmp));
  const TScratchFile atlasNoExtension("atlas", text(bmp));
  const TScratchFile hanFile("font.han", text(han));
  const TScratchFile paddedFile("padded.fnt", text(padded));
  const TScratchFile hexFile("font.txt", fontgen::testing::HexFile(fontgen::testing::ComposeAll(jamo)));
  for (const TScratchFile* file : {&atlasFile, &atlasNoExtension}) {
    const TFontSource source = LoadFontSource(file->Path);
    EXPECT_EQ(source.Kind, TSourceKind::Atlas) << file->Path;
    EXPECT_EQ(source.JamoOrigin, TJamoOrigin::Drawn);
    EXPECT_TRUE(source.HasAscii);
    EXPECT_TRUE(ComposeAtlas(source.Ascii, source.Jamo) == atlas) << file->Path;
  }
  for (const TScratchFile* file : {&hanFile, &paddedFile}) {
    const TFontSource source = LoadFontSource(file->Path);
    EXPECT_EQ(source.Kind, TSourceKind::HanFile) << file->Path;
    EXPECT_FALSE(source.HasAscii);
    EXPECT_EQ(EncodeHanFile(ComposeAtlas(source.Ascii, source.Jamo)), han) << file->Path;
  }
  const TFontSource hex = LoadFontSource(hexFile.Path);
  EXPECT_EQ(hex.Kind, TSourceKind::UnifontHex);
  EXPECT_EQ(hex.SyllablesPresent(), int(SyllableCount));
  EXPECT_EQ(hex.Ascii['A'][3], fontgen::testing::AsciiRow('A', 3));

  const TScratchFile english("english.fnt", std::string(AsciiFontFileBytes, '\x01'));
  const TScratchFile shortHan("short.han", text(han).substr(1));
  const TScratchFile noise("noise.bin", std::string(777, '\x7f'));
  const struct {
    const TScratchFile& File;
    const char* Message;
  } bad[] = {
      {english, "has no Hangul; give it with --ascii"},
      {shortHan, "not an 8x4x4 font file: 11519 bytes"},
      {noise, "unknown font format (777 bytes)"},
  };
  for (const auto& b : bad) {
    try {
      LoadFontSource(b.File.Path);
      ADD_FAILURE() << b.Message;
    } catch (const TFontGenError& error) {
      EXPECT_NE(std::string(error.what()).find(b.Message), std::string::npos) << error.what();
    }
  }
  EXPECT_EQ(LoadAsciiCells(english.Path)['A'][0], 1);
  EXPECT_EQ(LoadAsciiCells(english.Path)[0x7F][0], 0) << "only 32..126 are taken";
  EXPECT_THROW(LoadAsciiCells(hanFile.Path), TFontGenError);
}
