#include "fontgen/FreeTypeSource.h"

#include "fontgen/Fidelity.h"
#include "fontgen/FontSource.h"
#include "fontgen/UnifontHex.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BDF_H

#include <cstdlib>
#include <numeric>

namespace runeplate::fontgen {

namespace {

// A FreeType library with one face, released together.
class TFreeTypeFace {
 public:
  explicit TFreeTypeFace(const std::string& path) {
    if (FT_Init_FreeType(&Library) != 0) throw TFontGenError("cannot start FreeType");
    Error = FT_New_Face(Library, path.c_str(), 0, &Face);
    if (Error != 0) Face = nullptr;
  }
  ~TFreeTypeFace() {
    if (Face != nullptr) FT_Done_Face(Face);
    FT_Done_FreeType(Library);
  }
  TFreeTypeFace(const TFreeTypeFace&) = delete;
  TFreeTypeFace& operator=(const TFreeTypeFace&) = delete;

  FT_Library Library = nullptr;
  FT_Face Face = nullptr;
  FT_Error Error = 0;
};

// A rendered glyph: ink by pixel, Left and Top as FreeType places the bitmap
// against the pen on the baseline.
struct TRaster {
  int Width = 0, Rows = 0, Left = 0, Top = 0;
  std::vector<bool> Ink;
  bool At(int x, int y) const { return Ink[size_t(y) * Width + x]; }
};

class TReader {
 public:
  TReader(const std::string& path, const TFreeTypeOptions& options)
      : Path(path), Options(options), Handle(path) {
    if (Handle.Face == nullptr && Handle.Error == FT_Err_Cannot_Open_Resource)
      throw TFontGenError(path + ": cannot open");
    if (Handle.Face == nullptr) throw TFontGenError(path + ": unknown font format");
    Face = Handle.Face;
    Source.Name = path;
    Source.Kind = TSourceKind::FreeType;
    if (Face->family_name != nullptr) Source.Family = Face->family_name;
  }

  TFontSource Read() {
    ChooseCharacterMap();
    if (FT_IS_SCALABLE(Face))
      SetOutlineSize();
    else
      SelectStrike();
    Ascent = static_cast<int>((Face->size->metrics.ascender + 63) >> 6);
    const int descent = static_cast<int>((-Face->size->metrics.descender + 63) >> 6);
    if (Ascent + descent > 16 || Ascent > 16)
      Warn("its line is " + std::to_string(Ascent) + " + " + std::to_string(descent) +
           " px, taller than the 16-px cell; pixels outside the cell are dropped");
    ReadAscii();
    ReadSyllables();
    ReadLetters();
    ReadNamedJamo();
    if (Clipped > 0)
      Warn(std::to_string(Clipped) + " glyphs reach outside their cells; the parts outside are dropped");
    return std::move(Source);
  }

 private:
  const std::string Path;
  const TFreeTypeOptions Options;
  TFreeTypeFace Handle;
  FT_Face Face = nullptr;
  TFontSource Source;
  bool Unicode = false;
  bool KsX1001 = false;
  int Size = 16;
  int Ascent = 0;
  int Clipped = 0;

  void Warn(const std::string& text) { Source.Warnings.push_back(Path + ": " + text); }

  void ChooseCharacterMap() {
    if (FT_Select_Charmap(Face, FT_ENCODING_UNICODE) == 0) {
      Unicode = true;
      return;
    }
    const char* encoding = nullptr;
    const char* registry = nullptr;
    if (FT_Get_BDF_Charset_ID(Face, &encoding, &registry) == 0 && registry != nullptr &&
        std::string(registry).rfind("KSC5601", 0) == 0 && Face->num_charmaps > 0) {
      FT_Set_Charmap(Face, Face->charmaps[0]);
      KsX1001 = true;
      return;
    }
    throw TFontGenError(Path + ": has no Unicode or KS X 1001 character map");
  }

  // The glyph of Unicode character Code, 0 when the font has none.
  FT_UInt GlyphOf(uint32_t code, int ksIndex = -1) const {
    if (Unicode) return FT_Get_Char_Index(Face, code);
    if (ksIndex < 0) return 0;
    // KS X 1001 row and cell, as the GL code the font's map is keyed by,
    // else as EUC-KR bytes.
    const FT_ULong row = 0x30 + ksIndex / 94, cell = 0x21 + ksIndex % 94;
    const FT_UInt glyph = FT_Get_Char_Index(Face, row << 8 | cell);
    return glyph != 0 ? glyph : FT_Get_Char_Index(Face, (row | 0x80) << 8 | (cell | 0x80));
  }

  // The glyphs whose outlines decide the pixel grid: the ones we draw.
  std::vector<FT_UInt> UsedGlyphs() const {
    std::vector<FT_UInt> glyphs;
    for (uint32_t code = FirstPrintableAscii; code <= LastPrintableAscii; ++code) glyphs.push_back(GlyphOf(code));
    const std::vector<uint32_t> ks = KsX1001 ? KsX1001Syllables() : std::vector<uint32_t>{};
    for (uint32_t code = SyllableFirst; code <= SyllableLast; ++code) glyphs.push_back(GlyphOf(code));
    for (size_t i = 0; i < ks.size(); ++i) glyphs.push_back(GlyphOf(ks[i], int(i)));
    std::vector<FT_UInt> used;
    for (FT_UInt g : glyphs)
      if (g != 0) used.push_back(g);
    return used;
  }

  // The greatest common divisor of every outline coordinate, in font units.
  long OutlineGrid() const {
    long grid = 0;
    for (FT_UInt g : UsedGlyphs()) {
      if (FT_Load_Glyph(Face, g, FT_LOAD_NO_SCALE) != 0 || Face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) continue;
      const FT_Outline& outline = Face->glyph->outline;
      for (int p = 0; p < outline.n_points; ++p)
        grid = std::gcd(grid, std::gcd(long(outline.points[p].x), long(outline.points[p].y)));
    }
    return grid;
  }

  void SetOutlineSize() {
    const long em = Face->units_per_EM;
    const long grid = OutlineGrid();
    auto onGrid = [&](int size) { return grid != 0 && em % size == 0 && grid % (em / size) == 0; };
    if (Options.Size > 0) {
      Size = Options.Size;
      if (!onGrid(Size))
        Warn("outline points are off the " + std::to_string(Size) + "-px grid; rendered glyphs may differ from the design");
    } else if (onGrid(16)) {
      Size = 16;
    } else if (grid != 0 && em % grid == 0 && em / grid <= 64) {
      Size = static_cast<int>(em / grid);
      Warn("its outlines lie on a " + std::to_string(Size) + "-px grid; rendering at " + std::to_string(Size) + " px");
    } else {
      Size = 16;
      Warn("its outline points lie on no pixel grid; rendering at 16 px (give --size to choose)");
    }
    if (FT_Set_Pixel_Sizes(Face, 0, static_cast<FT_UInt>(Size)) != 0)
      throw TFontGenError(Path + ": cannot be rendered at " + std::to_string(Size) + " px");
  }

  void SelectStrike() {
    const int wanted = Options.Size > 0 ? Options.Size : 16;
    std::string sizes;
    for (int i = 0; i < Face->num_fixed_sizes; ++i) {
      const int ppem = static_cast<int>((Face->available_sizes[i].y_ppem + 32) >> 6);
      if (ppem == wanted || (Options.Size == 0 && Face->num_fixed_sizes == 1)) {
        if (FT_Select_Size(Face, i) != 0) break;
        Size = ppem;
        return;
      }
      sizes += (sizes.empty() ? "" : ", ") + std::to_string(ppem);
    }
    throw TFontGenError(Path + ": has no " + std::to_string(wanted) + "-px strike (it has " +
                        (sizes.empty() ? std::string("none") : sizes) + "); give --size");
  }

  bool Render(FT_UInt glyph, TRaster& raster) {
    if (FT_Load_Glyph(Face, glyph, FT_LOAD_RENDER | FT_LOAD_NO_HINTING | FT_LOAD_TARGET_MONO) != 0) return false;
    const FT_GlyphSlot slot = Face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return false;
    const FT_Bitmap& bitmap = slot->bitmap;
    // FreeType's BDF reader gives a glyph whose BITMAP section broke off a
    // size but no pixels: that glyph cannot be drawn.
    if (bitmap.buffer == nullptr && bitmap.width > 0 && bitmap.rows > 0) return false;
    raster.Width = static_cast<int>(bitmap.width);
    raster.Rows = static_cast<int>(bitmap.rows);
    raster.Left = slot->bitmap_left;
    raster.Top = slot->bitmap_top;
    raster.Ink.assign(size_t(raster.Width) * raster.Rows, false);
    for (int y = 0; y < raster.Rows; ++y) {
      // A negative pitch means the rows are stored bottom row first.
      const int stored = bitmap.pitch >= 0 ? y : raster.Rows - 1 - y;
      const unsigned char* row = bitmap.buffer + ptrdiff_t(stored) * std::abs(bitmap.pitch);
      for (int x = 0; x < raster.Width; ++x) {
        bool ink;
        if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) ink = (row[x / 8] >> (7 - x % 8)) & 1;
        else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) ink = row[x] >= 128;
        else return false;
        raster.Ink[size_t(y) * raster.Width + x] = ink;
      }
    }
    return true;
  }

  // Visits the cell pixels of Glyph in a Width-wide cell; counts a glyph that
  // reaches outside it.
  template <typename TPut>
  bool Place(FT_UInt glyph, int width, TPut put) {
    TRaster raster;
    if (!Render(glyph, raster)) return false;
    bool clipped = false;
    for (int y = 0; y < raster.Rows; ++y) {
      for (int x = 0; x < raster.Width; ++x) {
        if (!raster.At(x, y)) continue;
        const int cx = raster.Left + x, cy = Ascent - raster.Top + y;
        if (cx < 0 || cy < 0 || cx >= width || cy >= 16) clipped = true;
        else put(cx, cy);
      }
    }
    Clipped += clipped;
    return true;
  }

  bool PlaceCell(FT_UInt glyph, TCell& cell) {
    return Place(glyph, 16, [&](int x, int y) { cell.SetPixel(x, y, true); });
  }

  void ReadAscii() {
    int missing = 0;
    for (uint32_t code = FirstPrintableAscii; code <= LastPrintableAscii; ++code) {
      const FT_UInt glyph = GlyphOf(code);
      auto& rows = Source.Ascii[code];
      if (glyph == 0 || !Place(glyph, 8, [&](int x, int y) { rows[y] |= uint8_t(0x80u >> x); })) ++missing;
    }
    Source.HasAscii = missing < int(PrintableAsciiCount);
    if (Source.HasAscii && missing > 0)
      Warn("has no glyph for " + std::to_string(missing) + " of the 95 printable ASCII characters; they stay blank");
  }

  void ReadSyllables() {
    if (KsX1001) {
      const std::vector<uint32_t> ks = KsX1001Syllables();
      for (size_t i = 0; i < ks.size(); ++i) ReadSyllable(ks[i], GlyphOf(ks[i], int(i)));
    } else {
      for (uint32_t code = SyllableFirst; code <= SyllableLast; ++code) ReadSyllable(code, GlyphOf(code));
    }
  }

  void ReadSyllable(uint32_t code, FT_UInt glyph) {
    const size_t s = code - SyllableFirst;
    if (glyph != 0 && PlaceCell(glyph, Source.Syllables[s])) Source.HasSyllable[s] = true;
  }

  // The compatibility letters, kept when the font has all 51: by Unicode, or
  // as KS X 1001 row 4, which holds them in the same order.
  void ReadLetters() {
    TLetterCells letters{};
    for (uint32_t k = 0; k < CompatJamoCount; ++k) {
      FT_UInt glyph = Unicode ? GlyphOf(CompatJamoFirst + k) : FT_Get_Char_Index(Face, 0x2421 + k);
      if (!Unicode && glyph == 0) glyph = FT_Get_Char_Index(Face, 0xA4A1 + k);
      if (glyph == 0 || !PlaceCell(glyph, letters[k])) return;
    }
    Source.HasLetters = true;
    Source.Letters = letters;
  }

  void ReadNamedJamo() {
    if (Options.IgnoreNames || !FT_HAS_GLYPH_NAMES(Face)) {
      if (Options.Names && !Options.IgnoreNames) throw TFontGenError(Path + ": has no glyph names");
      if (!Options.IgnoreNames) ReadPrivateJamo();
      return;
    }
    const TJamoNames names = Options.Names ? *Options.Names : NeoJamoScheme();
    std::vector<FT_UInt> glyphs(HangulGlyphCount);
    int found = 0;
    std::string firstMissing;
    for (int32_t g = 0; g < HangulGlyphCount; ++g) {
      const std::string name = JamoGlyphName(names, g);
      glyphs[g] = FT_Get_Name_Index(Face, name.c_str());
      if (glyphs[g] != 0) ++found;
      else if (firstMissing.empty()) firstMissing = name;
    }
    if (found == 0 && !Options.Names) return;
    if (found < HangulGlyphCount)
      throw TFontGenError(Path + ": has " + std::to_string(found) + " of the 344 jamo glyph names (no \"" +
                          firstMissing + "\")");
    for (int32_t g = 0; g < HangulGlyphCount; ++g) {
      if (!PlaceCell(glyphs[g], Source.Jamo[g]))
        throw TFontGenError(Path + ": cannot render jamo glyph \"" + JamoGlyphName(names, g) + "\"");
    }
    Source.JamoOrigin = TJamoOrigin::Named;
  }

  // A font without glyph names may keep its jamo glyphs at private code
  // points (PrivateJamoFirst); it counts only when it has all 344.
  void ReadPrivateJamo() {
    if (!Unicode) return;
    std::vector<FT_UInt> glyphs(HangulGlyphCount);
    for (int32_t g = 0; g < HangulGlyphCount; ++g)
      if ((glyphs[g] = FT_Get_Char_Index(Face, PrivateJamoFirst + uint32_t(g))) == 0) return;
    for (int32_t g = 0; g < HangulGlyphCount; ++g)
      if (!PlaceCell(glyphs[g], Source.Jamo[g]))
        throw TFontGenError(Path + ": cannot render jamo glyph " + std::to_string(g));
    Source.JamoOrigin = TJamoOrigin::Named;
  }
};

}  // namespace

bool FreeTypeOpens(const std::string& path) { return TFreeTypeFace(path).Face != nullptr; }

TFontSource LoadFreeTypeSource(const std::string& path, const TFreeTypeOptions& options) {
  return TReader(path, options).Read();
}

}  // namespace runeplate::fontgen
