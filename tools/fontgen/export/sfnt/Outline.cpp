#include "fontgen/export/sfnt/Outline.h"

#include <algorithm>
#include <map>

namespace runeplate::fontgen::sfnt {

namespace {

// Where each straight piece of the boundary starts, and where the pieces
// starting there end: two when pixels touch only at that corner.
using TPieces = std::map<TPoint, std::vector<TPoint>>;

struct TRun {
  int32_t First;
  int32_t End;
};

// The runs of set bits of a row mask, bit 15 the leftmost pixel, as pixel
// columns [First, End).
std::vector<TRun> RunsOf(uint16_t mask) {
  std::vector<TRun> runs;
  int32_t x = 0;
  while (x < 16) {
    while (x < 16 && ((mask >> (15 - x)) & 1) == 0) ++x;
    if (x == 16) break;
    const int32_t first = x;
    while (x < 16 && ((mask >> (15 - x)) & 1) != 0) ++x;
    runs.push_back({first, x});
  }
  return runs;
}

bool Ink(uint16_t row, int32_t x) { return ((row >> (15 - x)) & 1) != 0; }

// The boundary between ink and background as maximal straight pieces in
// pixels, each running with the ink on its right.
TPieces BoundaryOf(const TCellBitmap& picture, int32_t ascent) {
  const int32_t width = std::clamp(picture.Width, 0, 16), height = std::clamp(picture.Height, 0, 16);
  const uint16_t mask = uint16_t(((1u << width) - 1) << (16 - width));
  uint16_t rows[17] = {};
  for (int32_t y = 0; y < height; ++y) rows[y] = picture.Rows[y] & mask;
  TPieces pieces;
  // Along the line above row y: ink below runs left to right, ink above
  // right to left.
  for (int32_t y = 0; y <= height; ++y) {
    const int32_t line = ascent - y;
    const uint16_t above = y > 0 ? rows[y - 1] : 0;
    for (const TRun& run : RunsOf(rows[y] & ~above)) pieces[{run.First, line}].push_back({run.End, line});
    for (const TRun& run : RunsOf(above & ~rows[y])) pieces[{run.End, line}].push_back({run.First, line});
  }
  // Along the left edge of column x: ink on the right runs up, ink on the
  // left runs down.
  enum TSide { None, Up, Down };
  for (int32_t x = 0; x <= width; ++x) {
    TSide sides[16];
    for (int32_t y = 0; y < height; ++y) {
      const bool right = x < width && Ink(rows[y], x), left = x > 0 && Ink(rows[y], x - 1);
      sides[y] = right && !left ? Up : left && !right ? Down : None;
    }
    for (int32_t y = 0; y < height;) {
      const TSide side = sides[y];
      const int32_t first = y;
      while (y < height && sides[y] == side) ++y;
      const int32_t top = ascent - first, bottom = ascent - y;
      if (side == Up) pieces[{x, bottom}].push_back({x, top});
      if (side == Down) pieces[{x, top}].push_back({x, bottom});
    }
  }
  return pieces;
}

TPoint Heading(const TPoint& a, const TPoint& b) {
  return {(b.X > a.X) - (b.X < a.X), (b.Y > a.Y) - (b.Y < a.Y)};
}

// The contour without the points that lie on a straight run.
TContour Simplified(const TContour& contour) {
  TContour kept;
  const size_t count = contour.size();
  for (size_t i = 0; i < count; ++i) {
    const TPoint& p = contour[(i + count - 1) % count];
    const TPoint& c = contour[i];
    const TPoint& n = contour[(i + 1) % count];
    if (int64_t(c.X - p.X) * (n.Y - c.Y) != int64_t(c.Y - p.Y) * (n.X - c.X)) kept.push_back(c);
  }
  return kept;
}

// The closed contours the pieces make, each piece used once. Where two
// pieces leave a corner (pixels that touch only there), the walk turns
// towards the ink first, so that each such pixel gets a contour of its own
// rather than one contour pinched at the corner.
std::vector<TContour> Walk(TPieces pieces) {
  std::vector<TContour> contours;
  while (!pieces.empty()) {
    const TPoint start = pieces.begin()->first;
    TContour contour{start};
    TPoint point = start, direction{};
    bool moved = false;
    while (true) {
      auto at = pieces.find(point);
      std::vector<TPoint>& ends = at->second;
      size_t chosen = 0;
      if (moved && ends.size() > 1) {
        const TPoint preferred[] = {{direction.Y, -direction.X}, direction, {-direction.Y, direction.X}};
        auto best = ends.size();
        for (const TPoint& turn : preferred) {
          for (size_t e = 0; e < ends.size() && best == ends.size(); ++e)
            if (Heading(point, ends[e]) == turn) best = e;
          if (best != ends.size()) break;
        }
        chosen = best == ends.size() ? 0 : best;
      }
      const TPoint end = ends[chosen];
      ends.erase(ends.begin() + std::ptrdiff_t(chosen));
      if (ends.empty()) pieces.erase(at);
      direction = Heading(point, end);
      moved = true;
      point = end;
      if (point == start) break;
      contour.push_back(point);
    }
    contours.push_back(Simplified(contour));
  }
  return contours;
}

}  // namespace

std::vector<TContour> TraceOutline(const TCellBitmap& picture, int32_t ascent, int32_t unitsPerPixel) {
  std::vector<TContour> contours = Walk(BoundaryOf(picture, ascent));
  for (TContour& contour : contours)
    for (TPoint& point : contour) point = {point.X * unitsPerPixel, point.Y * unitsPerPixel};
  return contours;
}

std::vector<TContour> Reversed(std::vector<TContour> contours) {
  for (TContour& contour : contours) std::reverse(contour.begin(), contour.end());
  return contours;
}

std::optional<TBox> BoxOf(const std::vector<TContour>& contours) {
  std::optional<TBox> box;
  for (const TContour& contour : contours)
    for (const TPoint& p : contour) box = UnionOf(box, TBox{p.X, p.Y, p.X, p.Y});
  return box;
}

std::optional<TBox> UnionOf(const std::optional<TBox>& a, const std::optional<TBox>& b) {
  if (!a) return b;
  if (!b) return a;
  return TBox{std::min(a->XMin, b->XMin), std::min(a->YMin, b->YMin), std::max(a->XMax, b->XMax),
              std::max(a->YMax, b->YMax)};
}

}  // namespace runeplate::fontgen::sfnt
