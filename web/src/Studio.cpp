#include "Studio.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "Zip.h"
#include "common/Files.h"
#include "common/Utf8.h"
#include "fontgen/Convert.h"
#include "fontgen/Fidelity.h"
#include "fontgen/FontGenError.h"
#include "fontgen/JamoNames.h"
#include "fontgen/Notice.h"
#include "fontgen/Options.h"
#include "fontgen/Output.h"
#include "fontgen/export/ExportFont.h"
#include "frame/FrameText.h"
#include "render/RefRender.h"

namespace runeplate::studio {

namespace {

namespace fs = std::filesystem;
using namespace runeplate::fontgen;

// A folder of our own that fontgen's readers and writers work in, made the
// current folder so that the names in fontgen's messages and reports are the
// bare file names the page was given; removed with everything in it.
class TScratch {
 public:
  TScratch() {
    std::string pattern = (fs::temp_directory_path() / "runeplate-studio-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw TFontGenError("cannot make a scratch folder");
    Path = pattern;
    std::error_code ignored;
    Previous = fs::current_path(ignored);
    fs::current_path(Path, ignored);
  }
  ~TScratch() {
    std::error_code ignored;
    fs::current_path(Previous, ignored);
    fs::remove_all(Path, ignored);
  }
  TScratch(const TScratch&) = delete;
  TScratch& operator=(const TScratch&) = delete;

  void Put(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::string error;
    if (!WriteFileAtomically(name, bytes, error)) throw TFontGenError(error);
  }
  fs::path Path, Previous;
};

// A name fontgen can be given as a file in the scratch folder: its last
// path component, never empty, never a folder of its own.
std::string BareName(const std::string& name, const std::string& fallback) {
  std::string bare = fs::path(name).filename().string();
  if (bare.empty() || bare == "." || bare == "..") bare = fallback;
  return bare;
}

std::vector<uint8_t> CellBytes(const TCellBitmap& cell) {
  std::vector<uint8_t> bytes(size_t(cell.Width * cell.Height));
  for (int32_t y = 0; y < cell.Height; ++y)
    for (int32_t x = 0; x < cell.Width; ++x) bytes[size_t(y * cell.Width + x)] = cell.IsInk(x, y);
  return bytes;
}

std::vector<TWorstSyllable> WorstOf(const TConversion& c) {
  const TFontSource& source = c.Source;
  if (source.JamoOrigin != TJamoOrigin::None || source.SyllablesPresent() == 0) return {};
  const TFidelity fidelity = MeasureFidelity(source.Syllables, source.HasSyllable, c.Jamo, KsX1001Syllables());
  std::vector<TWorstSyllable> worst;
  for (const TSyllableDiff& diff : fidelity.Worst) {
    TWorstSyllable w;
    w.Code = diff.Code;
    w.Pixels = diff.Pixels;
    const TCell& cell = source.Syllables[diff.Code - SyllableFirst];
    w.Source.resize(256);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) w.Source[size_t(y * 16 + x)] = cell.Pixel(x, y);
    TBlockOptions composed;
    TCellBitmap picture;
    ComposeCodePoint(ViewOf(c.Atlas), diff.Code, &composed, picture);
    w.Composed = CellBytes(picture);
    worst.push_back(w);
  }
  return worst;
}

std::string LetterText(uint32_t compat) { return compat == 0 ? std::string() : EncodeUtf8(char32_t(compat)); }

// The compatibility letter of initial, medial or final index `index` (1-based).
uint32_t CompatLetter(TJamoRole role, int32_t index) {
  const uint32_t first = role == JamoInitial ? LeadingJamoFirst : role == JamoMedial ? VowelJamoFirst : TrailingJamoFirst;
  return CompatLetterOfJamo(first + uint32_t(index) - 1);
}

const char* RoleName(TJamoRole role) {
  return role == JamoInitial ? "initial" : role == JamoMedial ? "medial" : "final";
}

// The glyph of `role` that the engine picks for these letters (1-based
// indices, `final_` 0 for none).
int32_t Picked(uint32_t initial, uint32_t medial, uint32_t final_, TJamoRole role) {
  int32_t glyphs[3];
  SelectGlyphs(PackJamo(initial, medial, final_), glyphs);
  return glyphs[role];
}

// Why the engine drew `role`'s glyph from its set in the syllable of these
// letters, in words. Read off the engine's own choice, not restated: the
// letter that decides (the vowel for the consonants, the initial for the
// vowel) is named with every other letter that picks the same set in the
// same place.
std::string RuleFor(TJamoRole role, uint32_t initial, uint32_t medial, uint32_t final_) {
  const int32_t set = LetterOfGlyph(Picked(initial, medial, final_, role)).Set;
  const bool decidedByVowel = role != JamoMedial;
  const uint32_t decider = decidedByVowel ? medial : initial;
  const uint32_t count = decidedByVowel ? MedialCount : InitialCount;
  std::string alike;
  for (uint32_t other = 1; other <= count; ++other) {
    if (other == decider) continue;
    const int32_t g = decidedByVowel ? Picked(initial, other, final_, role) : Picked(other, medial, final_, role);
    if (g >= 0 && LetterOfGlyph(g).Set == set)
      alike += " " + LetterText(CompatLetter(decidedByVowel ? JamoMedial : JamoInitial, int32_t(other)));
  }
  std::string rule = std::string(RoleName(role)) + " set " + std::to_string(set + 1) + ": the set ";
  rule += decidedByVowel ? "the vowel " : "the initial ";
  rule += LetterText(CompatLetter(decidedByVowel ? JamoMedial : JamoInitial, int32_t(decider)));
  rule += " picks";
  if (role != JamoFinal) rule += final_ == 0 ? " when no final consonant follows" : " when a final consonant follows";
  if (!alike.empty()) rule += " (as do" + alike + ")";
  return rule;
}

void ToRgba(const TRgbImage& image, TRgbaPicture& picture) {
  picture.Width = image.Width;
  picture.Height = image.Height;
  picture.Pixels.resize(size_t(image.Width) * size_t(image.Height) * 4);
  uint8_t* out = picture.Pixels.data();
  for (uint32_t rgb : image.Pixels) {
    *out++ = uint8_t(rgb >> 16);
    *out++ = uint8_t(rgb >> 8);
    *out++ = uint8_t(rgb);
    *out++ = 255;
  }
}

}  // namespace

TLoadResult LoadFont(const std::vector<uint8_t>& bytes, const std::string& fileName, const TLoadOptions& options) {
  TLoadResult result;
  try {
    const TScratch scratch;
    TConvertOptions convert;
    convert.Source = BareName(fileName, "font");
    scratch.Put(convert.Source, bytes);
    if (!options.AsciiName.empty()) {
      convert.Ascii = BareName(options.AsciiName, "ascii");
      if (convert.Ascii == convert.Source) convert.Ascii = "ascii-" + convert.Ascii;
      scratch.Put(convert.Ascii, options.Ascii);
    }
    std::string reason;
    if (options.Size != 0 && !SetSourceSize(std::to_string(options.Size), convert.FreeType, reason))
      throw TFontGenError("--size " + reason);
    if (!options.JamoNames.empty() && !SetJamoNames(options.JamoNames, convert.FreeType, reason))
      throw TFontGenError("--jamo-names: " + reason);
    const TConversion conversion = Convert(convert);
    result.Atlas = conversion.Atlas;
    result.Warnings = conversion.Warnings;
    std::ostringstream report;
    PrintConversionReport(report, conversion);
    result.Report = report.str();
    result.Worst = WorstOf(conversion);
  } catch (const TFontGenError& error) {
    result = TLoadResult{};
    result.Error = error.what();
  } catch (const std::bad_alloc&) {
    result = TLoadResult{};
    result.Error = BareName(fileName, "font") + ": too large to convert here";
  }
  return result;
}

const std::vector<TFormat>& Formats() {
  static const std::vector<TFormat> formats = {
      {"bmp", ".bmp", "atlas (BMP)", true},
      {"png", ".png", "atlas (PNG)", true},
      {"han", ".han", "8x4x4 font (.han)", true},
      {"h", ".h", "C header", true},
      {"h-compact", ".h", "C header, compact", true},
      {"bdf", ".bdf", "BDF", true},
      {"fnt", ".fnt", "BMFont (.fnt and pages, zipped)", true},
      {"ttf", ".ttf", "TrueType", true},
      {"otf", ".otf", "OpenType (CFF)", true},
      {"woff2", ".woff2", "WOFF2", true},
      {"otb", ".otb", "bitmap-only OpenType", true},
  };
  return formats;
}

TDownload WriteFormat(const TFontImage& atlas, const std::string& atlasName, const std::string& notice,
                      const std::string& kind, const TWriteOptions& options) {
  TDownload download;
  const TFormat* format = nullptr;
  for (const TFormat& f : Formats())
    if (kind == f.Kind) format = &f;
  if (format == nullptr) {
    download.Error = "'" + kind + "' is not a kind of download";
    return download;
  }
  if (!format->Available) {
    download.Error = std::string(format->Label) + " (" + format->Extension + ") is not in this build";
    return download;
  }
  try {
    const TScratch scratch;
    std::string source = BareName(atlasName, "a1bit.bmp");
    if (OutputKindOf(source) != TOutputKind::Bitmap) source += ".bmp";
    scratch.Put(source, EncodeFontFile(atlas));
    if (!notice.empty()) scratch.Put(NoticePathOf(source), std::vector<uint8_t>(notice.begin(), notice.end()));
    const TConversion conversion = Convert(TConvertOptions{source, "", {}});

    fs::create_directory("out");
    const std::string stem = BareName(options.Stem, "a1bit");
    const std::string output = "out/" + stem + format->Extension;
    // The options as fontgen's command line takes them, so that a bad one is
    // refused in the same words and a good one written the same.
    std::string reason;
    TCSourceOptions cSource;
    TExportOptions exportOptions;
    cSource.Provenance = exportOptions.Provenance = ReadProvenance(source, conversion.Source.Family);
    if (!options.CName.empty() && !SetCName(options.CName, cSource, reason)) throw TFontGenError("--c-name " + reason);
    if (kind == "h-compact") SetCompact(cSource, !options.CName.empty());
    if (!options.Family.empty() && !SetFamily(options.Family, exportOptions, reason))
      throw TFontGenError("--family " + reason);
    if (options.Ascent != 0 && !SetAscent(std::to_string(options.Ascent), exportOptions, reason))
      throw TFontGenError("--ascent " + reason);
    if (options.Chars == "text") {
      if (!SetCharactersOfText(options.CharsText, exportOptions, reason)) throw TFontGenError("--chars: " + reason);
    } else if (!SetRepertoireName(options.Chars, exportOptions)) {
      throw TFontGenError("--chars wants all, ksx1001 or a text, not '" + options.Chars + "'");
    }
    WriteOutput(output, conversion.Atlas, cSource, exportOptions);

    std::vector<std::string> made;
    for (const fs::directory_entry& entry : fs::directory_iterator("out")) made.push_back(entry.path().filename().string());
    std::string error;
    if (kind == "fnt") {
      // The .fnt first, then its pages in order, as a reader lists them.
      std::sort(made.begin(), made.end(), [&](const std::string& a, const std::string& b) {
        const bool fa = a == stem + ".fnt", fb = b == stem + ".fnt";
        return fa != fb ? fa : a < b;
      });
      std::vector<TZipEntry> entries;
      for (const std::string& name : made) {
        TZipEntry entry{name, {}};
        if (!ReadFile("out/" + name, entry.Bytes, error)) throw TFontGenError(error);
        entries.push_back(std::move(entry));
      }
      download.FileName = stem + "-bmfont.zip";
      download.Bytes = StoredZip(entries);
    } else {
      download.FileName = stem + format->Extension;
      if (!ReadFile(output, download.Bytes, error)) throw TFontGenError(error);
    }
  } catch (const TFontGenError& error) {
    download = TDownload{};
    download.Error = error.what();
  }
  return download;
}

TGlyphInfo GlyphInfo(int32_t glyph) {
  TGlyphInfo info;
  if (glyph < 0 || glyph >= HangulGlyphCount) return info;
  const TGlyphLetter letter = LetterOfGlyph(glyph);
  info.Glyph = glyph;
  info.Role = RoleName(letter.Role);
  info.Set = letter.Set + 1;
  info.Letter = LetterText(CompatLetter(letter.Role, letter.Index));
  info.Name = JamoGlyphName(NeoJamoScheme(), glyph);
  return info;
}

TSyllableExplanation ExplainSyllable(uint32_t code) {
  TSyllableExplanation explanation;
  if (code < SyllableFirst || code > SyllableLast) {
    explanation.Error = CodePointName(char32_t(code)) + " is not a Hangul syllable (U+AC00 to U+D7A3)";
    return explanation;
  }
  const TSyllableLetters l = DecomposeSyllable(code - SyllableFirst);
  const uint32_t initial = l.Initial + 1, medial = l.Medial + 1, final_ = l.Final;
  explanation.Initial = LetterText(CompatLetter(JamoInitial, int32_t(initial)));
  explanation.Medial = LetterText(CompatLetter(JamoMedial, int32_t(medial)));
  if (final_ != 0) explanation.Final = LetterText(CompatLetter(JamoFinal, int32_t(final_)));
  for (TJamoRole role : {JamoInitial, JamoMedial, JamoFinal}) {
    const int32_t glyph = Picked(initial, medial, final_, role);
    if (glyph < 0) continue;
    TGlyphInfo info = GlyphInfo(glyph);
    info.Rule = RuleFor(role, initial, medial, final_);
    explanation.Parts.push_back(info);
  }
  return explanation;
}

std::vector<uint32_t> SyllablesUsing(int32_t glyph) {
  std::vector<uint32_t> users;
  const TBlockOptions options;
  for (uint32_t code = SyllableFirst; code <= SyllableLast; ++code) {
    TGlyphCell cell;
    GetComposedCell(code, options, cell);
    if (cell.Source == SourceJamo && std::find(cell.Glyphs, cell.Glyphs + cell.Count, glyph) != cell.Glyphs + cell.Count)
      users.push_back(code);
  }
  return users;
}

namespace {

// What runeplate-render --compose draws: the block as large as it lays out.
bool RenderComposed(const TFontImage& atlas, const std::string& text, int32_t wrap, uint32_t ink, uint32_t paper,
                    TRgbImage& image, std::string& error) {
  std::u16string units;
  if (!DecodeUtf8(text, units, error)) {
    error = "the text is not UTF-8: " + error;
    return false;
  }
  TBlockOptions block;
  block.LetterCells = HasLetterCells(ViewOf(atlas));
  block.WrapWidth = wrap;
  const TBlockSize size = MeasureBlock(units.data(), units.size(), block);
  image = TRgbImage(size.Width, size.Height, paper);
  RenderBlock(image, atlas, 0, 0, units, block, 0xFF000000u | ink);
  return true;
}

}  // namespace

bool DrawText(const TFontImage& atlas, const std::string& text, int32_t wrap, uint32_t ink, uint32_t paper,
              TRgbaPicture& picture, std::string& error) {
  TRgbImage image;
  if (!RenderComposed(atlas, text, wrap, ink, paper, image, error)) return false;
  ToRgba(image, picture);
  return true;
}

bool DrawTextPng(const TFontImage& atlas, const std::string& text, int32_t wrap, uint32_t ink, uint32_t paper,
                 int32_t scale, std::vector<uint8_t>& png, std::string& error) {
  TRgbImage image;
  if (!RenderComposed(atlas, text, wrap, ink, paper, image, error)) return false;
  if (scale < 1 || scale > 64) {
    error = "the scale wants 1 to 64, not " + std::to_string(scale);
    return false;
  }
  try {
    const TScratch scratch;
    return WritePng(image, "text.png", error, scale) && ReadFile("text.png", png, error);
  } catch (const TFontGenError& failure) {
    error = failure.what();
    return false;
  }
}

void DrawFrame(const TFontImage& atlas, uint64_t frame, TRgbaPicture& picture) {
  const uint32_t seed = RandomSeed;
  ToRgba(RenderFrame(frame, atlas), picture);
  RandomSeed = seed;
}

std::vector<TFrameLine> FrameLines() {
  std::string text;
  for (size_t i = 0; i < SampleTextLength; ++i) text += EncodeUtf8(char32_t(SampleText[i]));
  const uint32_t seed = RandomSeed;
  RandomSeed = 0;
  std::vector<TFrameLine> lines;
  ForEachFrameLine([&](int32_t, uint32_t colour) { lines.push_back({text, RgbOf(colour)}); });
  RandomSeed = seed;
  return lines;
}

void TSyllableGrid::Reset(bool ksx1001, int32_t columns, uint32_t ink, uint32_t paper) {
  Codes.clear();
  if (ksx1001) {
    Codes = KsX1001Syllables();
  } else {
    for (uint32_t code = SyllableFirst; code <= SyllableLast; ++code) Codes.push_back(code);
  }
  ColumnCount = columns < 1 ? 1 : columns > 1024 ? 1024 : columns;
  Ink = ink;
  Paper = paper;
  for (std::vector<int32_t>& users : Users) users.clear();
  const TBlockOptions options;
  for (int32_t i = 0; i < Count(); ++i) {
    TGlyphCell cell;
    GetComposedCell(Codes[size_t(i)], options, cell);
    if (cell.Source != SourceJamo) continue;
    for (int32_t k = 0; k < cell.Count; ++k) Users[size_t(cell.Glyphs[k])].push_back(i);
  }
  Image.Width = ColumnCount * 16;
  Image.Height = (Count() + ColumnCount - 1) / ColumnCount * 16;
  // Paper under the cells past the last syllable too, as a drawn picture has.
  Image.Pixels.resize(size_t(Image.Width) * size_t(Image.Height) * 4);
  for (size_t i = 0; i < Image.Pixels.size(); i += 4) {
    Image.Pixels[i] = uint8_t(paper >> 16);
    Image.Pixels[i + 1] = uint8_t(paper >> 8);
    Image.Pixels[i + 2] = uint8_t(paper);
    Image.Pixels[i + 3] = 255;
  }
}

// One cell: the picture composed as an exported font's glyph is, written
// as whole RGBA words.
void TSyllableGrid::DrawCell(const TFontView& view, int32_t index) {
  TCellBitmap cell;
  const TBlockOptions options;
  ComposeCodePoint(view, Codes[size_t(index)], &options, cell);
  const auto word = [](uint32_t rgb) {
    return 0xFF000000u | (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);  // RGBA bytes, little-endian
  };
  const uint32_t ink = word(Ink), paper = word(Paper);
  uint32_t* row = reinterpret_cast<uint32_t*>(Image.Pixels.data()) +
                  size_t(index / ColumnCount * 16) * size_t(Image.Width) + size_t(index % ColumnCount * 16);
  for (int32_t y = 0; y < 16; ++y, row += Image.Width) {
    const uint16_t bits = cell.Rows[y];
    for (int32_t x = 0; x < 16; ++x) row[x] = (bits >> (15 - x)) & 1 ? ink : paper;
  }
}

void TSyllableGrid::DrawAll(const TFontImage& atlas) {
  const TFontView view = ViewOf(atlas);
  for (int32_t i = 0; i < Count(); ++i) DrawCell(view, i);
}

int32_t TSyllableGrid::DrawUsers(const TFontImage& atlas, int32_t glyph) {
  if (glyph < 0 || glyph >= HangulGlyphCount) return 0;
  const TFontView view = ViewOf(atlas);
  for (int32_t i : Users[size_t(glyph)]) DrawCell(view, i);
  return int32_t(Users[size_t(glyph)].size());
}

uint32_t TSyllableGrid::CodeAt(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= Image.Width || y >= Image.Height) return 0;
  const int32_t index = y / 16 * ColumnCount + x / 16;
  return index < Count() ? Codes[size_t(index)] : 0;
}

bool TSyllableGrid::CellOf(uint32_t code, int32_t& x, int32_t& y) const {
  const auto at = std::lower_bound(Codes.begin(), Codes.end(), code);
  if (at == Codes.end() || *at != code) return false;
  const int32_t index = int32_t(at - Codes.begin());
  x = index % ColumnCount * 16;
  y = index / ColumnCount * 16;
  return true;
}

TCellRef CellAt(int32_t x, int32_t y) {
  TCellRef ref;
  if (x < 0 || y < 0 || x >= FontImageWidth || y >= FontImageHeight) return ref;
  for (const char* kind : {"letter", "ascii", "jamo"}) {
    const int32_t count = kind[0] == 'l' ? int32_t(CompatJamoCount) : kind[0] == 'a' ? 128 : HangulGlyphCount;
    // Few enough cells that asking each is cheaper than a formula of our own.
    for (int32_t i = 0; i < count; ++i) {
      TRect rect;
      CellRect(kind, i, rect);
      if (x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom) return {kind, i};
    }
  }
  return ref;
}

bool CellRect(const std::string& kind, int32_t index, TRect& rect) {
  if (kind == "jamo" && index >= 0 && index < HangulGlyphCount) {
    rect = HangulCell(index);
  } else if (kind == "ascii" && index >= 0 && index < 128) {
    rect = AsciiCell(index);
  } else if (kind == "letter" && index >= 0 && index < int32_t(CompatJamoCount)) {
    rect = LetterCell(index);
  } else {
    return false;
  }
  return true;
}

}  // namespace runeplate::studio
