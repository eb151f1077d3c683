#include "fontgen/Sheet.h"

#include <algorithm>
#include <cstdio>

#include "common/CellPainter.h"
#include "common/Picture.h"
#include "font/GlyphComposer.h"
#include "fontgen/Fidelity.h"
#include "text/UDrawText.h"

namespace runeplate::fontgen {

namespace {

constexpr int Margin = 8;
constexpr int LineHeight = 20;  // a 16-px line and a gap

// Draws Lines, each at its own X, one below the other: as composed text
// (letters from the atlas's own cells where it has them) with `composed`,
// else as the program's line.
void DrawLines(TRgbImage& picture, const TFontImage& atlas,
               const std::vector<std::pair<int, std::u16string>>& lines,
               const TBlockOptions* composed) {
  const TCellPainter painter{picture, atlas, 0x000000};
  for (size_t n = 0; n < lines.size(); ++n) {
    const std::u16string& line = lines[n].second;
    const int32_t y = Margin + LineHeight * int(n);
    if (composed != nullptr) ForEachCell(lines[n].first, y, line.data(), line.size(), *composed, painter);
    else ForEachCell(lines[n].first, y, line.data(), line.size(), painter);
  }
}

}  // namespace

TRgbImage DrawTextSheet(const TFontImage& atlas, const std::u16string& text, int scale) {
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
  TRgbImage picture(width + 2 * Margin, LineHeight * int(lines.size()) + 2 * Margin - 4);
  DrawLines(picture, atlas, lines, &composed);
  return Enlarge(picture, scale);
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
  TRgbImage picture(Margin + LabelWidth + 16 * int(PerLine) + Margin,
                    LineHeight * int(rows.size()) + 2 * Margin - 4);
  DrawLines(picture, atlas, labels, nullptr);
  DrawLines(picture, atlas, rows, nullptr);
  return Enlarge(picture, scale);
}

}  // namespace runeplate::fontgen
