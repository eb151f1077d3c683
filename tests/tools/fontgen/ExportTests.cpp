// Fonts for other programs, checked by other programs' readers: FreeType
// draws every character of the BDF, bitmap-only OpenType, TrueType, CFF and
// WOFF2 fonts of each atlas at 16 px in monochrome, and each must be exactly
// the composer's picture; ots-sanitize judges the web fonts; the BMFont is
// read back page by page; the BDF and CFF fonts read back as sources give
// the atlas byte for byte.
#include <gtest/gtest.h>

#include <png.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H

#include <cstdio>
#include <ctime>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "SfntTesting.h"
#include "common/Files.h"
#include "common/Utf8.h"
#include "font/FontFile.h"
#include "font/GlyphComposer.h"
#include "fontgen/export/ExportFont.h"
#include "tooltest/ToolRunner.h"

using namespace runeplate;
using namespace runeplate::fontgen;
using namespace runeplate::testing;

namespace {

const std::string FontGen = FONTGEN_TOOL;
const std::string OtsSanitize = OTS_SANITIZE;

struct TAtlasCase {
  const char* Name;
  int Ascent;          // as its NOTICE says
  const char* Family;  // as its NOTICE says; Round's never a reserved name of Neo둥근모
};
const TAtlasCase Atlases[] = {
    {"round", 12, "Runeplate Round"}, {"unifont", 14, "Runeplate Unifont"}, {"dotum", 14, "Runeplate Dotum"}};
void PrintTo(const TAtlasCase& atlas, std::ostream* out) { *out << atlas.Name; }

std::string AtlasPath(const std::string& name) {
  return std::string(RUNEPLATE_ASSETS_DIR) + "/fonts/" + name + "/a1bit.bmp";
}

TFontImage ReadAtlas(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::string error;
  TFontImage image;
  EXPECT_TRUE(ReadFile(path, bytes, error) && DecodeFontFile(bytes, image, error)) << error;
  return image;
}

// Every character a complete font holds, from the ranges themselves rather
// than from the exporter's list.
std::vector<uint32_t> EveryCharacter() {
  std::vector<uint32_t> codes;
  auto add = [&codes](uint32_t first, uint32_t last) {
    for (uint32_t c = first; c <= last; ++c) codes.push_back(c);
  };
  add(0x20, 0x7E);
  add(0x1100, 0x1112);
  add(0x1161, 0x1175);
  add(0x11A8, 0x11C2);
  add(0x3131, 0x3163);
  add(0xAC00, 0xD7A3);
  return codes;
}

// The picture the engine draws for a character in composed text.
TCellBitmap Expected(const TFontImage& atlas, uint32_t code) {
  TBlockOptions options;
  options.LetterCells = HasLetterCells(ViewOf(atlas));
  TCellBitmap cell;
  ComposeCodePoint(ViewOf(atlas), code, &options, cell);
  return cell;
}

// Writes the atlas `name` as `extension` with the tool; the path.
std::string Export(const std::string& name, const std::string& extension, const std::string& dir,
                   std::vector<std::string> extra = {}) {
  const std::string out = dir + "/" + name + extension;
  std::vector<std::string> args{AtlasPath(name), "-o", out};
  args.insert(args.end(), extra.begin(), extra.end());
  const TToolRun run = RunTool(FontGen, args);
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  return out;
}

class TFace {
 public:
  explicit TFace(const std::string& path) {
    FT_Init_FreeType(&Library);
    if (FT_New_Face(Library, path.c_str(), 0, &Face) != 0) Face = nullptr;
  }
  ~TFace() {
    if (Face != nullptr) FT_Done_Face(Face);
    FT_Done_FreeType(Library);
  }
  FT_Library Library = nullptr;
  FT_Face Face = nullptr;
};

// Draws every character of the font at `path` with FreeType, unhinted and
// hinted, and compares it with the composer's picture of the atlas: same
// ink, none outside the cell, the cell's advance, and no character mapped
// beyond those.
void ExpectFreeTypeDrawsTheComposer(const std::string& path, const TAtlasCase& atlasCase, bool bitmap,
                                    const std::vector<uint32_t>& codes = EveryCharacter()) {
  const TFontImage atlas = ReadAtlas(AtlasPath(atlasCase.Name));
  TFace face(path);
  ASSERT_NE(face.Face, nullptr) << path << ": FreeType cannot open it";
  EXPECT_EQ(!FT_IS_SCALABLE(face.Face), bitmap);
  EXPECT_STREQ(face.Face->family_name, atlasCase.Family);
  if (bitmap)
    ASSERT_EQ(FT_Select_Size(face.Face, 0), 0);
  else
    ASSERT_EQ(FT_Set_Pixel_Sizes(face.Face, 0, 16), 0);
  const int ascent = int(face.Face->size->metrics.ascender >> 6);
  EXPECT_EQ(ascent, atlasCase.Ascent);
  EXPECT_EQ(int((face.Face->size->metrics.ascender - face.Face->size->metrics.descender) >> 6), 16);

  // Unhinted, and with FreeType's default load, which is what programs ask
  // for: hinting that moves a pixel where jamo meet shows only there.
  const struct {
    const char* Load;
    FT_Int32 Flags;
  } loads[] = {{"unhinted", FT_LOAD_NO_HINTING}, {"hinted", FT_LOAD_DEFAULT}};
  for (const auto& load : loads) {
    int wrong = 0;
    std::string firstWrong;
    for (uint32_t code : codes) {
      const TCellBitmap want = Expected(atlas, code);
      const FT_UInt glyph = FT_Get_Char_Index(face.Face, code);
      const std::optional<sfnt::testing::TDrawn> drawn =
          glyph == 0 ? std::nullopt : sfnt::testing::Draw(face.Face, glyph, load.Flags, ascent, want.Width, want.Height);
      bool same = drawn && drawn->Advance == want.Width;
      for (int y = 0; same && y < want.Height; ++y) same = drawn->Picture.Rows[y] == want.Rows[y];
      if (!same && wrong++ == 0) {
        char name[16];
        std::snprintf(name, sizeof name, "U+%04X", code);
        firstWrong = name;
      }
    }
    EXPECT_EQ(wrong, 0) << path << " (" << load.Load << "): " << wrong
                        << " characters differ from the engine's, the first " << firstWrong;
  }

  FT_ULong mapped = 0;
  FT_UInt index;
  for (FT_ULong c = FT_Get_First_Char(face.Face, &index); index != 0; c = FT_Get_Next_Char(face.Face, c, &index))
    mapped += c < 0xF0000;  // BDF keeps its jamo glyphs at private code points
  EXPECT_EQ(mapped, codes.size()) << path;
}

void ExpectOtsAccepts(const std::string& path) {
  const TToolRun run = RunTool(OtsSanitize, {path, path + ".sanitized"});
  EXPECT_EQ(run.ExitCode, 0) << path << ": " << run.Out << run.Err;
  std::remove((path + ".sanitized").c_str());
}

// Reads the atlas back from a font fontgen wrote, as a source.
void ExpectReadBackGivesTheAtlas(const std::string& font, const std::string& atlasName, const std::string& dir) {
  const std::string back = dir + "/back.bmp";
  const TToolRun run = RunTool(FontGen, {font, "-o", back});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(ReadText(back), ReadText(AtlasPath(atlasName))) << font << " read back is not the atlas";
}

class ExportedFonts : public ::testing::TestWithParam<TAtlasCase> {
 protected:
  void SetUp() override { Dir = FreshFolder(std::string("export-") + GetParam().Name); }
  void TearDown() override { RemoveFolder(Dir); }
  std::string Dir;
};

// A pixel off in the BDF's rows or baseline; jamo glyphs lost on the way back.
TEST_P(ExportedFonts, BdfDrawsEveryCharacterAsTheEngineAndReadsBackAsTheAtlas) {
  const std::string bdf = Export(GetParam().Name, ".bdf", Dir);
  ExpectFreeTypeDrawsTheComposer(bdf, GetParam(), true);
  ExpectReadBackGivesTheAtlas(bdf, GetParam().Name, Dir);
}

// The EBLC/EBDT strike misplaced, or outlines left in a bitmap-only font.
TEST_P(ExportedFonts, BitmapOpenTypeDrawsEveryCharacterAsTheEngine) {
  ExpectFreeTypeDrawsTheComposer(Export(GetParam().Name, ".otb", Dir), GetParam(), true);
}

// The jamo glyphs left out of the strike or not found by the reader: read
// back, their pixels that no syllable shows are guessed (189 wrong for Round).
TEST_P(ExportedFonts, BitmapOpenTypeReadsBackAsTheAtlas) {
  ExpectReadBackGivesTheAtlas(Export(GetParam().Name, ".otb", Dir), GetParam().Name, Dir);
}

// A contour traced wrong, a component misplaced, overlapping components
// cancelling each other; tables a browser would refuse.
TEST_P(ExportedFonts, TrueTypeDrawsEveryCharacterAsTheEngineAndPassesOts) {
  const std::string ttf = Export(GetParam().Name, ".ttf", Dir);
  ExpectFreeTypeDrawsTheComposer(ttf, GetParam(), false);
  ExpectOtsAccepts(ttf);
}

// CFF contours in the wrong direction; jamo glyph names the reader cannot find.
TEST_P(ExportedFonts, CffDrawsEveryCharacterAsTheEngineAndPassesOtsAndReadsBackAsTheAtlas) {
  const std::string otf = Export(GetParam().Name, ".otf", Dir);
  ExpectFreeTypeDrawsTheComposer(otf, GetParam(), false);
  ExpectOtsAccepts(otf);
  ExpectReadBackGivesTheAtlas(otf, GetParam().Name, Dir);
}

// Jamo glyphs the reader cannot find in a font without glyph names (post
// format 3: found by their private code points).
TEST_P(ExportedFonts, TrueTypeReadsBackAsTheAtlas) {
  ExpectReadBackGivesTheAtlas(Export(GetParam().Name, ".ttf", Dir), GetParam().Name, Dir);
}

// A small font (KS X 1001's syllables) has a short loca, offsets in words:
// read as bytes, or written unpadded, every composite lands on another glyph.
TEST(ExportedSmallFont, TrueTypeWithAShortLocaDrawsEveryCharacterAsTheEngine) {
  const std::string dir = FreshFolder("short-loca");
  TExportOptions options;
  options.Repertoire = TRepertoire::KsX1001;
  ExpectFreeTypeDrawsTheComposer(Export("round", ".ttf", dir, {"--chars", "ksx1001"}), Atlases[0], false,
                                 ExportRepertoire(options));
  RemoveFolder(dir);
}

// WOFF2 compression losing glyphs; a web font browsers would refuse.
TEST_P(ExportedFonts, Woff2PassesOtsAndDrawsEveryCharacterAsTheEngine) {
  const std::string woff2 = Export(GetParam().Name, ".woff2", Dir);
  ExpectOtsAccepts(woff2);
  ExpectFreeTypeDrawsTheComposer(woff2, GetParam(), false);
}

// A BMFont as a game engine reads it: the fields of each line of the .fnt
// by tag, and the pages it names as RGBA.
struct TBmFontRead {
  std::multimap<std::string, std::map<std::string, std::string>> Lines;
  std::map<int, std::vector<uint8_t>> Pages;
  int PageWidth = 0, PageHeight = 0;
};

TBmFontRead ReadBmFont(const std::string& fnt, const std::string& dir) {
  TBmFontRead font;
  std::istringstream text(ReadText(fnt));
  for (std::string line; std::getline(text, line);) {
    std::istringstream fields(line);
    std::string tag;
    fields >> tag;
    std::map<std::string, std::string> values;
    for (std::string field; fields >> field;) {
      const size_t eq = field.find('=');
      if (eq != std::string::npos) values[field.substr(0, eq)] = field.substr(eq + 1);
    }
    font.Lines.emplace(tag, values);
    if (tag != "page") continue;
    const std::string file = values["file"].substr(1, values["file"].size() - 2);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<uint8_t>& rgba = font.Pages[std::stoi(values["id"])];
    if (png_image_begin_read_from_file(&image, (dir + "/" + file).c_str())) {
      image.format = PNG_FORMAT_RGBA;
      rgba.resize(PNG_IMAGE_SIZE(image));
      if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) rgba.clear();
      font.PageWidth = int(image.width), font.PageHeight = int(image.height);
    }
    EXPECT_FALSE(rgba.empty()) << file << " cannot be read";
  }
  return font;
}

// Whether the character of `values` shows `want`: white ink, transparent
// elsewhere, the cell's size and advance, at the top of the line.
bool ShowsPicture(const TBmFontRead& font, std::map<std::string, std::string> values, const TCellBitmap& want) {
  if (std::stoi(values["width"]) != want.Width || std::stoi(values["height"]) != want.Height ||
      std::stoi(values["xadvance"]) != want.Width || values["xoffset"] != "0" || values["yoffset"] != "0")
    return false;
  const std::vector<uint8_t>& page = font.Pages.at(std::stoi(values["page"]));
  const int x = std::stoi(values["x"]), y = std::stoi(values["y"]);
  for (int py = 0; py < want.Height; ++py)
    for (int px = 0; px < want.Width; ++px) {
      const uint8_t* pixel = &page[(size_t(y + py) * font.PageWidth + x + px) * 4];
      const bool ink = pixel[3] == 255 && pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255;
      if (ink != want.IsInk(px, py) || (!ink && pixel[3] != 0)) return false;
    }
  return true;
}

// A char line pointing at the wrong place, a page the .fnt does not name,
// ink that is not white, a character missing or given twice.
TEST_P(ExportedFonts, BmFontReadBackGivesEveryCharacterAsTheEngine) {
  const TBmFontRead font = ReadBmFont(Export(GetParam().Name, ".fnt", Dir), Dir);
  const TFontImage atlas = ReadAtlas(AtlasPath(GetParam().Name));
  ASSERT_EQ(font.Lines.count("info"), 1u);
  EXPECT_EQ(font.Lines.find("info")->second.at("unicode"), "1");
  ASSERT_EQ(font.Lines.count("common"), 1u);
  EXPECT_EQ(font.Lines.find("common")->second.at("base"), std::to_string(GetParam().Ascent));
  EXPECT_LE(font.PageWidth, 2048);
  EXPECT_LE(font.PageHeight, 2048);
  std::map<uint32_t, int> seen;
  int wrong = 0;
  const auto chars = font.Lines.equal_range("char");
  for (auto line = chars.first; line != chars.second; ++line) {
    const uint32_t code = uint32_t(std::stoul(line->second.at("id")));
    wrong += !ShowsPicture(font, line->second, Expected(atlas, code));
    ++seen[code];
  }
  EXPECT_EQ(wrong, 0);
  const std::vector<uint32_t> every = EveryCharacter();
  EXPECT_EQ(seen.size(), every.size());
  EXPECT_EQ(font.Lines.count("char"), every.size());
}

INSTANTIATE_TEST_SUITE_P(Atlases, ExportedFonts, ::testing::ValuesIn(Atlases),
                         [](const ::testing::TestParamInfo<TAtlasCase>& info) { return info.param.Name; });

// head.created of an OpenType file, found through its table directory.
int64_t HeadCreated(const std::vector<uint8_t>& font) {
  auto u32 = [&font](size_t at) {
    return at + 4 <= font.size() ? uint32_t(font[at]) << 24 | uint32_t(font[at + 1]) << 16 | uint32_t(font[at + 2]) << 8 | font[at + 3] : 0u;
  };
  const uint32_t tables = u32(4) >> 16;
  for (uint32_t t = 0; t < tables; ++t) {
    const size_t record = 12 + 16 * t;
    if (u32(record) == 0x68656164 /* head */) return int64_t(uint64_t(u32(u32(record + 8) + 20)) << 32 | u32(u32(record + 8) + 24));
  }
  return -1;
}

std::vector<uint8_t> Bytes(const std::string& path) {
  const std::string text = ReadText(path);
  return std::vector<uint8_t>(text.begin(), text.end());
}

// Fonts that differ between two runs (the clock in head's dates), a
// SOURCE_DATE_EPOCH or NOTICE date ignored, or a writer that still needs
// Python: every run here has a PATH with no python3 on it.
TEST(ExportedFontBytes, AreTheSameEveryRunAndDatedBySourceDateEpochOrTheNotice) {
  constexpr int64_t From1904 = 2082844800;
  const std::string dir = FreshFolder("reproducible");
  const std::string dated = dir + "/dated";
  ASSERT_EQ(RunTool("/bin/mkdir", {dated}).ExitCode, 0);
  ASSERT_EQ(RunTool("/bin/cp", {AtlasPath("round"), dated + "/a1bit.bmp"}).ExitCode, 0);
  WriteBytes(dated + "/NOTICE", std::string("Family:   Dated Round\nDate:     2001-09-09\n"));
  auto run = [&](const std::string& atlas, const std::string& epoch, const std::string& out) {
    std::vector<std::string> args{epoch.empty() ? "-u" : "SOURCE_DATE_EPOCH=" + epoch};
    if (epoch.empty()) args.push_back("SOURCE_DATE_EPOCH");
    args.insert(args.end(), {"PATH=/nonexistent", FontGen, atlas, "-o", out});
    const TToolRun made = RunTool("/usr/bin/env", args);
    EXPECT_EQ(made.ExitCode, 0) << made.Err;
    return Bytes(out);
  };
  const std::vector<std::string> extensions{".ttf", ".otf", ".woff2", ".otb"};
  std::map<std::string, std::vector<uint8_t>> first;
  for (const std::string& extension : extensions) first[extension] = run(AtlasPath("round"), "", dir + "/first" + extension);
  // The clock's second turns before the second runs.
  const time_t started = time(nullptr);
  while (time(nullptr) == started) RunTool("/bin/sleep", {"0.1"});
  for (const std::string& extension : extensions) {
    SCOPED_TRACE(extension);
    EXPECT_EQ(run(AtlasPath("round"), "", dir + "/second" + extension), first[extension]);
    if (extension == ".woff2") continue;  // compressed: its head is not at hand
    EXPECT_EQ(HeadCreated(run(AtlasPath("round"), "1000000000", dir + "/epoch" + extension)), 1000000000 + From1904);
    EXPECT_EQ(HeadCreated(run(dated + "/a1bit.bmp", "", dir + "/notice" + extension)), 999993600 + From1904)
        << "2001-09-09 00:00 UTC";
  }
  RemoveFolder(dir);
}

// A Korean family breaking a format whose names are ASCII (CFF, the
// PostScript name) or lost in the UTF-16 name table.
TEST(ExportedFontNames, CarryAKoreanFamilyInEveryFormat) {
  const std::string dir = FreshFolder("korean-family");
  const std::string family = "룬플레이트 둥근";
  for (const std::string extension : {".ttf", ".otf", ".woff2", ".otb"}) {
    SCOPED_TRACE(extension);
    const std::string font = Export("round", extension, dir, {"--family", family});
    TFace face(font);
    ASSERT_NE(face.Face, nullptr);
    // FreeType's family_name is ASCII with '?' for the rest: read the name table.
    std::u16string units;
    std::string error;
    ASSERT_TRUE(DecodeUtf8(family, units, error));
    std::string want;
    for (char16_t unit : units) want += {char(unit >> 8), char(unit & 0xFF)};
    std::string got;
    for (FT_UInt i = 0; i < FT_Get_Sfnt_Name_Count(face.Face); ++i) {
      FT_SfntName name;
      if (FT_Get_Sfnt_Name(face.Face, i, &name) == 0 && name.platform_id == 3 && name.name_id == 1)
        got.assign(reinterpret_cast<const char*>(name.string), name.string_len);
    }
    EXPECT_EQ(got, want);
    const char* postscript = FT_Get_Postscript_Name(face.Face);
    EXPECT_STREQ(postscript, "RunpeulreiteuDunggeun-Regular");
    if (extension != ".otb") ExpectOtsAccepts(font);
  }
  RemoveFolder(dir);
}

// Which characters --chars keeps: a range cut off by one, the KS X 1001
// list not applied, characters of a file the font cannot draw let in.
TEST(ExportRepertoire, HoldsWhatTheChoiceSays) {
  const struct {
    const char* Fault;
    TRepertoire Repertoire;
    std::vector<uint32_t> File;
    size_t Count;
    std::vector<uint32_t> Holds, Lacks;
  } cases[] = {
      {"a range cut short", TRepertoire::All, {}, 95 + 19 + 21 + 27 + 51 + 11172,
       {0x20, 0x7E, 0x1100, 0x1112, 0x1161, 0x1175, 0x11A8, 0x11C2, 0x3131, 0x3163, 0xAC00, 0xD7A3},
       {0x1F, 0x7F, 0x1113, 0x1160, 0x11A7, 0x11C3, 0x3130, 0x3164, 0xABFF, 0xD7A4}},
      {"all syllables kept", TRepertoire::KsX1001, {}, 95 + 19 + 21 + 27 + 51 + 2350,
       {0x20, 0xAC00, 0xAC01, 0xD79D, 0x3131, 0x1100}, {0xC68C /* 슌 */, 0xB620 /* 똠 */}},
      {"undrawable kept, duplicates twice", TRepertoire::FromFile, {0x0A, 0xAC00, 0x41, 0xAC00, 0x1F600, 0x11A8, 0xFFFD},
       3, {0x41, 0xAC00, 0x11A8}, {0x0A, 0x1F600, 0xFFFD}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Fault);
    TExportOptions options;
    options.Repertoire = c.Repertoire;
    options.FileCharacters = c.File;
    const std::vector<uint32_t> codes = ExportRepertoire(options);
    EXPECT_EQ(codes.size(), c.Count);
    EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end()));
    for (uint32_t code : c.Holds) {
      EXPECT_TRUE(std::binary_search(codes.begin(), codes.end(), code)) << code;
    }
    for (uint32_t code : c.Lacks) {
      EXPECT_FALSE(std::binary_search(codes.begin(), codes.end(), code)) << code;
    }
  }
}

}  // namespace

// What --chars FILE reads: decomposed text kept as loose jamo rather than
// the syllables it shows, a syllable and a following final kept apart, a
// surrogate pair split.
TEST(CharactersOfText, AreTheCharactersTheEngineDraws) {
  const struct {
    const char* Fault;
    std::u16string Text;
    std::vector<uint32_t> Characters;
  } cases[] = {
      {"decomposed syllables kept as jamo", u"\u1100\u1161\u1100\u1161\u11A8", {0xAC00, 0xAC01}},
      {"a syllable and a final kept apart", u"\uAC00\u11A8A", {0xAC01, 0x41}},
      {"a lone jamo lost", u"\u1100 \u11A8", {0x1100, 0x20, 0x11A8}},
      {"an initial before a non-vowel swallowed it", u"\u1100B", {0x1100, 0x42}},
      {"a surrogate pair split", u"\U0001F600\uAC00", {0x1F600, 0xAC00}},
      {"CR LF read as two characters", u"A\r\nB", {0x41, 0x0D, 0x42}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Fault);
    EXPECT_EQ(CharactersOfText(c.Text), c.Characters);
  }
}
