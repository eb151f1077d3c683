#include "common/CellPainter.h"

namespace runeplate {

void PaintCell(TRgbImage& image, const TCellBitmap& cell, int32_t x, int32_t y, uint32_t rgb) {
  for (int32_t j = 0; j < cell.Height; ++j) {
    const int64_t py = static_cast<int64_t>(y) + j;
    if (py < 0 || py >= image.Height || cell.Rows[j] == 0) continue;
    for (int32_t i = 0; i < cell.Width; ++i) {
      const int64_t px = static_cast<int64_t>(x) + i;
      if (px >= 0 && px < image.Width && cell.IsInk(i, j))
        image.At(static_cast<int32_t>(px), static_cast<int32_t>(py)) = rgb;
    }
  }
}

}  // namespace runeplate
