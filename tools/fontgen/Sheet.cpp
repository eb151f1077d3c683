#include "fontgen/Sheet.h"

#include <algorithm>
#include <cstdio>

#include "font/GlyphComposer.h"
#include "fontgen/Fidelity.h"
#include "text/UDrawText.h"

namespace runeplate::fontgen {

namespace {

constexpr int Margin = 8;
constexpr int LineHeight = 20;  // a 16-px line and a gap

// Paints each character's picture, composed from the atlas, black, every
// pixel a Scale x Scale block.
struct TSheetPainter {
  TPicture& Picture;
  const TFontImage& Atlas;
  int Scale;
  void operator()(int32_t x, int32_t y, const TGlyphRects& rects) const {
    TCellBitmap cell;
    ComposeCell(ViewOf(Atlas), rects, cell);
    for (int dy = 0; dy < cell.Height; ++dy)
      for (int dx = 0; dx < cell.Width; ++dx)
        if (cell.IsInk(dx, dy)) Fill((x + dx) * Scale, (y + dy) * Scale);
  }
  void Fill(int left, int top) const {
    for (int py = top; py < top + Scale; ++py)
      for (int px = left; px < left + Scale; ++px) {
        if (px < 0 || py < 0 || px >= Picture.Width || py >= Picture.Height) continue;
        uint8_t* rgb = &Picture.Rgb[(size_t(py) * Picture.Width + px) * 3];
        rgb[0] = rgb[1] = rgb[2] = 0;
      }
  }
};

TPicture Blank(int width, int height, int scale) {
  TPicture picture;
  picture.Width = width * scale;
  picture.Height = height * scale;
  picture.Rgb.assign(size_t(picture.Width) * picture.Height * 3, 255);
  return picture;
}

// Draws Lines, each at its own X, one below the other: as composed text
// (letters from the atlas's own cells where it has them) with `composed`,
// else as the program's line.
void DrawLines(TPicture& picture, const TFontImage& atlas, int scale,
               const std::vector<std::pair<int, std::u16string>>& lines,
               const TBlockOptions* composed) {
  const TSheetPainter painter{picture, atlas, scale};
  for (size_t n = 0; n < lines.size(); ++n) {
    const std::u16string& line = lines[n].second;
    const int32_t y = Margin + LineHeight * int(n);
    if (composed != nullptr) ForEachCell(lines[n].first, y, line.data(), line.size(), *composed, painter);
    else ForEachCell(lines[n].first, y, line.data(), line.size(), painter);
  }
}

}  // namespace

TPicture DrawTextSheet(const TFontImage& atlas, const std::u16string& text, int scale) {
  TBlockOptions composed;
  composed.LetterCells = HasLetterCells(ViewOf(atlas));
  // Each line of the text is a block of its own, so the sheet keeps a gap
  // between lines.
  std::vector<std::pair<int, std::u16string>> lines(1, {Margin, u""});
  for (char16_t c : text) {
    if (c == u'\n') lines.push_back({Margin, u""});
    else lines.back().second += c;
  }
  int width = 0;
  for (const auto& line : lines)
    width = std::max(width, int(MeasureBlock(line.second.data(), line.second.size(), composed).Width));
  TPicture picture = Blank(width + 2 * Margin, LineHeight * int(lines.size()) + 2 * Margin - 4, scale);
  DrawLines(picture, atlas, scale, lines, &composed);
  return picture;
}

TPicture DrawKsX1001Sheet(const TFontImage& atlas, int scale) {
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
  TPicture picture = Blank(Margin + LabelWidth + 16 * int(PerLine) + Margin,
                           LineHeight * int(rows.size()) + 2 * Margin - 4, scale);
  DrawLines(picture, atlas, scale, labels, nullptr);
  DrawLines(picture, atlas, scale, rows, nullptr);
  return picture;
}

}  // namespace runeplate::fontgen
