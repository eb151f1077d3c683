#include "fontgen/export/BmFont.h"

#include <cstdio>
#include <utility>
#include <filesystem>
#include <map>

#include "common/Files.h"
#include "common/Png.h"
#include "fontgen/FontGenError.h"

namespace runeplate::fontgen {

namespace {

constexpr int32_t RowHeight = 16;

int32_t PowerOfTwoAtLeast(int32_t n) {
  int32_t p = 1;
  while (p < n) p *= 2;
  return p;
}

// A picture as a map key: its size and rows.
std::vector<uint16_t> PictureKey(const TCellBitmap& picture) {
  std::vector<uint16_t> key{uint16_t(picture.Width), uint16_t(picture.Height)};
  key.insert(key.end(), picture.Rows, picture.Rows + picture.Height);
  return key;
}

void Paint(std::vector<uint8_t>& page, int32_t pageWidth, const TBmFontChar& place, const TCellBitmap& picture) {
  for (int32_t y = 0; y < picture.Height; ++y)
    for (int32_t x = 0; x < picture.Width; ++x)
      if (picture.IsInk(x, y)) {
        uint8_t* pixel = &page[(size_t(place.Y + y) * pageWidth + place.X + x) * 4];
        pixel[0] = pixel[1] = pixel[2] = pixel[3] = 255;
      }
}

// BMFont's text format has no escapes: a double quote in a name becomes a
// single one.
std::string Unquoted(std::string text) {
  for (char& c : text)
    if (c == '"' || c == '\n' || c == '\r') c = c == '"' ? '\'' : ' ';
  return text;
}

}  // namespace

std::string BmFontPageName(const std::string& stem, size_t page) {
  return Unquoted(stem) + "_" + std::to_string(page) + ".png";
}

TBmFontPages LayOutBmFont(const TExportFont& font) {
  TBmFontPages pages;
  std::map<std::vector<uint16_t>, TBmFontChar> placed;
  std::vector<std::pair<TBmFontChar, const TCellBitmap*>> unique;
  int32_t page = 0, x = 0, y = 0, widest = 0;
  for (const TExportGlyph& glyph : font.Glyphs) {
    const TCellBitmap& picture = glyph.Picture;
    auto found = placed.find(PictureKey(picture));
    if (found == placed.end()) {
      if (x + picture.Width > BmFontMaxPage) x = 0, y += RowHeight;
      if (y + RowHeight > BmFontMaxPage) x = 0, y = 0, ++page;
      const TBmFontChar place{0, page, x, y, picture.Width, picture.Height};
      found = placed.emplace(PictureKey(picture), place).first;
      unique.push_back({place, &picture});
      x += picture.Width;
      widest = std::max(widest, x);
    }
    TBmFontChar c = found->second;
    c.CodePoint = glyph.CodePoint;
    pages.Chars.push_back(c);
  }
  pages.PageWidth = PowerOfTwoAtLeast(std::max(widest, 1));
  pages.PageHeight = page > 0 ? BmFontMaxPage : PowerOfTwoAtLeast(y + RowHeight);
  pages.Rgba.assign(size_t(page) + 1, std::vector<uint8_t>(size_t(pages.PageWidth) * pages.PageHeight * 4, 0));
  for (const auto& [place, picture] : unique) Paint(pages.Rgba[place.Page], pages.PageWidth, place, *picture);
  return pages;
}

std::string EncodeBmFontText(const TExportFont& font, const TBmFontPages& pages, const std::string& pageStem) {
  std::string out = "info face=\"" + Unquoted(font.Family) +
                    "\" size=16 bold=0 italic=0 charset=\"\" unicode=1 stretchH=100 smooth=0 aa=1 "
                    "padding=0,0,0,0 spacing=0,0 outline=0\n";
  out += "common lineHeight=16 base=" + std::to_string(font.Ascent) + " scaleW=" + std::to_string(pages.PageWidth) +
         " scaleH=" + std::to_string(pages.PageHeight) + " pages=" + std::to_string(pages.Rgba.size()) +
         " packed=0 alphaChnl=0 redChnl=4 greenChnl=4 blueChnl=4\n";
  for (size_t p = 0; p < pages.Rgba.size(); ++p)
    out += "page id=" + std::to_string(p) + " file=\"" + BmFontPageName(pageStem, p) + "\"\n";
  out += "chars count=" + std::to_string(pages.Chars.size()) + "\n";
  char line[160];
  for (const TBmFontChar& c : pages.Chars) {
    std::snprintf(line, sizeof line,
                  "char id=%u x=%d y=%d width=%d height=%d xoffset=0 yoffset=0 xadvance=%d page=%d chnl=15\n",
                  unsigned(c.CodePoint), c.X, c.Y, c.Width, c.Height, c.Width, c.Page);
    out += line;
  }
  return out;
}

void WriteBmFont(const std::string& path, const TExportFont& font) {
  namespace fs = std::filesystem;
  const TBmFontPages pages = LayOutBmFont(font);
  const std::string stem = fs::path(path).stem().string();
  const std::string text = EncodeBmFontText(font, pages, stem);
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
  std::string error;
  for (size_t p = 0; p < pages.Rgba.size(); ++p) {
    std::vector<uint8_t> png;
    if (!EncodePngRgba(pages.PageWidth, pages.PageHeight, pages.Rgba[p], png, error))
      throw TFontGenError(path + ": " + error);
    files.emplace_back((fs::path(path).parent_path() / BmFontPageName(stem, p)).string(), std::move(png));
  }
  files.emplace_back(path, std::vector<uint8_t>(text.begin(), text.end()));
  if (!WriteFilesTogether(files, error)) throw TFontGenError(error);
}

}  // namespace runeplate::fontgen
