#include "fontgen/Sheet.h"

#include <algorithm>
#include <cstdio>

#include "fontgen/Fidelity.h"
#include "text/UDrawText.h"

namespace runeplate::fontgen {

namespace {

constexpr int Margin = 8;
constexpr int LineHeight = 20;  // a 16-px line and a gap

// Where DrawTextRun's glyphs go: the layout reports them through a plain
// function, so the target is held here while one sheet is drawn.
struct TSheetTarget {
  TRgbImage* Picture;
  const TFontImage* Atlas;
  int Scale;
};
const TSheetTarget* Target = nullptr;

void DrawGlyph(int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcLeft, int32_t srcTop, int32_t) {
  TRgbImage& picture = *Target->Picture;
  const int scale = Target->Scale;
  for (int dy = 0; dy < height; ++dy)
    for (int dx = 0; dx < width; ++dx) {
      if (!Target->Atlas->IsInk(srcLeft + dx, srcTop + dy)) continue;
      for (int sy = 0; sy < scale; ++sy)
        for (int sx = 0; sx < scale; ++sx) {
          const int px = (x + dx) * scale + sx, py = (y + dy) * scale + sy;
          if (px < 0 || py < 0 || px >= picture.Width || py >= picture.Height) continue;
          picture.At(px, py) = 0;
        }
    }
}

TRgbImage Blank(int width, int height, int scale) {
  return TRgbImage(width * scale, height * scale);
}

int LineWidth(const std::u16string& line) {
  int width = 0;
  for (char16_t c : line) width += AdvanceOf(c);
  return width;
}

// Draws Lines, each at its own X, one below the other.
void DrawLines(TRgbImage& picture, const TFontImage& atlas, int scale,
               const std::vector<std::pair<int, std::u16string>>& lines) {
  const TSheetTarget target{&picture, &atlas, scale};
  Target = &target;
  for (size_t n = 0; n < lines.size(); ++n)
    DrawTextRun(lines[n].first, Margin + LineHeight * int(n), lines[n].second.data(), lines[n].second.size(), 0,
                DrawGlyph);
  Target = nullptr;
}

}  // namespace

TRgbImage DrawTextSheet(const TFontImage& atlas, const std::u16string& text, int scale) {
  std::vector<std::pair<int, std::u16string>> lines(1, {Margin, u""});
  for (char16_t c : text) {
    if (c == u'\n') lines.push_back({Margin, u""});
    else lines.back().second += c;
  }
  int width = 0;
  for (const auto& line : lines) width = std::max(width, LineWidth(line.second));
  TRgbImage picture = Blank(width + 2 * Margin, LineHeight * int(lines.size()) + 2 * Margin - 4, scale);
  DrawLines(picture, atlas, scale, lines);
  return picture;
}

TRgbImage DrawKsX1001Sheet(const TFontImage& atlas, int scale) {
  constexpr size_t PerLine = 50;
  constexpr int LabelWidth = 6 * 8;  // "AC00" and a gap
  const std::vector<uint32_t> codes = KsX1001Syllables();
  // Each line is two runs at one height: the label, then the syllables.
  std::vector<std::pair<int, std::u16string>> labels, rows;
  for (size_t k = 0; k < codes.size(); k += PerLine) {
    char label[8];
    std::snprintf(label, sizeof label, "%04X", codes[k]);
    labels.push_back({Margin, std::u16string(label, label + 4)});
    std::u16string syllables;
    for (size_t i = k; i < std::min(k + PerLine, codes.size()); ++i) syllables += char16_t(codes[i]);
    rows.push_back({Margin + LabelWidth, syllables});
  }
  TRgbImage picture = Blank(Margin + LabelWidth + 16 * int(PerLine) + Margin,
                           LineHeight * int(rows.size()) + 2 * Margin - 4, scale);
  DrawLines(picture, atlas, scale, labels);
  DrawLines(picture, atlas, scale, rows);
  return picture;
}

}  // namespace runeplate::fontgen
