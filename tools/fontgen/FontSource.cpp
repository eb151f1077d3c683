#include "fontgen/FontSource.h"

#include <cctype>
#include <cstring>

#include "common/Files.h"
#include "common/Png.h"
#include "font/HanFile.h"
#include "fontgen/BmFontSource.h"
#include "fontgen/Picture.h"
#include "fontgen/UnifontHex.h"

namespace runeplate::fontgen {

int TFontSource::SyllablesPresent() const {
  int count = 0;
  for (bool has : HasSyllable) count += has;
  return count;
}

namespace {

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadFile(path, bytes, error)) throw TFontGenError(error);
  return bytes;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  if (text.size() < tail.size()) return false;
  std::string end = text.substr(text.size() - tail.size());
  for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return end == tail;
}

bool StartsWith(const std::vector<uint8_t>& bytes, const char* magic, size_t length) {
  return bytes.size() >= length && std::memcmp(bytes.data(), magic, length) == 0;
}

constexpr char PngSignature[] = "\x89PNG\r\n\x1a\n";

// A Unifont hex file begins with a code of 4 to 6 hex digits and a colon.
bool LooksLikeHex(const std::vector<uint8_t>& bytes) {
  size_t digits = 0;
  while (digits < bytes.size() && digits < 7 && std::isxdigit(bytes[digits])) ++digits;
  return digits >= 4 && digits <= 6 && digits < bytes.size() && bytes[digits] == ':';
}

TFontSource FromUnifont(const TUnifontSource& unifont, const std::string& name) {
  TFontSource source;
  source.Name = name;
  source.Kind = TSourceKind::UnifontHex;
  source.HasAscii = true;
  for (uint32_t code = FirstPrintableAscii; code <= LastPrintableAscii; ++code)
    source.Ascii[code] = unifont.Ascii[code - FirstPrintableAscii];
  source.Syllables = unifont.Syllables;
  source.HasSyllable.assign(SyllableCount, true);
  source.HasLetters = unifont.HasLetters;
  source.Letters = unifont.Letters;
  return source;
}

TFontSource FromHanFile(const std::vector<uint8_t>& bytes, const std::string& name) {
  TFontImage image;
  const THanDecodeResult result = DecodeHanFile(bytes, image);
  if (!result.Ok) throw TFontGenError(name + ": " + result.Error);
  TFontSource source = SourceFromImage(image, name, TSourceKind::HanFile);
  source.HasAscii = false;
  if (result.InkedFills > 0)
    source.Warnings.push_back(name + ": " + std::to_string(result.InkedFills) +
                              " set fills are not blank; their pixels are dropped");
  return source;
}

TFontSource FromPngAtlas(const std::string& path) {
  // Twice an atlas's pixels is room enough to say what a wrong picture is.
  constexpr int64_t MaxPixels = 2 * int64_t{FontImageWidth} * FontImageHeight;
  TRgbImage picture;
  std::string error;
  if (!ReadPngFile(path, MaxPixels, picture, error)) throw TFontGenError(error);
  TFontImage image;
  if (!AtlasFromPicture(picture, image, error)) throw TFontGenError(path + ": " + error);
  return SourceFromImage(image, path, TSourceKind::Atlas);
}

TFontSource FromBitmapAtlas(const std::vector<uint8_t>& bytes, const std::string& name) {
  TFontImage image;
  std::string error;
  if (!DecodeFontFile(bytes, image, error)) throw TFontGenError(name + ": " + error);
  return SourceFromImage(image, name, TSourceKind::Atlas);
}

}  // namespace

TFontSource LoadFontSource(const std::string& path, const TFreeTypeOptions& options) {
  const std::vector<uint8_t> bytes = ReadBytes(path);
  if (StartsWith(bytes, "BM", 2) || (EndsWith(path, ".bmp") && !FreeTypeOpens(path)))
    return FromBitmapAtlas(bytes, path);
  if (StartsWith(bytes, PngSignature, 8) || EndsWith(path, ".png"))
    return FromPngAtlas(path);
  if (LooksLikeHex(bytes) || EndsWith(path, ".hex")) return FromUnifont(LoadUnifontHex(path), path);
  // By content alone: .fnt also names classic 8x4x4 and 8 x 16 font files.
  if (LooksLikeBmFont(bytes)) return LoadBmFontSource(path, bytes);
  if (bytes.size() == HanFileBytes || bytes.size() == HanFilePaddedBytes || EndsWith(path, ".han"))
    return FromHanFile(bytes, path);
  if (bytes.size() == AsciiFontFileBytes && !FreeTypeOpens(path))
    throw TFontGenError(path + ": an 8 x 16 English font file has no Hangul; give it with --ascii");
  if (!FreeTypeOpens(path))
    throw TFontGenError(path + ": unknown font format (" + std::to_string(bytes.size()) + " bytes)");
  return LoadFreeTypeSource(path, options);
}

TAsciiCells LoadAsciiCells(const std::string& path, const TFreeTypeOptions& options) {
  const std::vector<uint8_t> bytes = ReadBytes(path);
  if (bytes.size() == AsciiFontFileBytes && !FreeTypeOpens(path)) {
    TFontImage image;
    std::string error;
    DecodeAsciiFontFile(bytes, FirstPrintableAscii, LastPrintableAscii, image, error);
    return SourceFromImage(image, path, TSourceKind::Atlas).Ascii;
  }
  TFreeTypeOptions asciiOnly = options;
  asciiOnly.IgnoreNames = true;
  const TFontSource source = LoadFontSource(path, asciiOnly);
  if (!source.HasAscii) throw TFontGenError(path + ": has no ASCII glyphs");
  return source.Ascii;
}

TFontSource SourceFromImage(const TFontImage& image, const std::string& name, TSourceKind kind) {
  TFontSource source;
  source.Name = name;
  source.Kind = kind;
  source.HasAscii = true;
  for (int32_t code = 0; code < 128; ++code) {
    const TRect cell = AsciiCell(code);
    for (int y = 0; y < 16; ++y) {
      uint8_t row = 0;
      for (int x = 0; x < 8; ++x) row = static_cast<uint8_t>(row << 1 | image.IsInk(cell.Left + x, cell.Top + y));
      source.Ascii[code][y] = row;
    }
  }
  const auto readCell = [&image](const TRect& rect, TCell& cell) {
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) cell.SetPixel(x, y, image.IsInk(rect.Left + x, rect.Top + y));
  };
  for (int32_t g = 0; g < HangulGlyphCount; ++g) readCell(HangulCell(g), source.Jamo[g]);
  source.JamoOrigin = TJamoOrigin::Drawn;
  source.HasLetters = HasLetterCells(ViewOf(image));
  if (source.HasLetters) {
    for (int32_t k = 0; k < int32_t(CompatJamoCount); ++k) readCell(LetterCell(k), source.Letters[size_t(k)]);
  }
  return source;
}

}  // namespace runeplate::fontgen
