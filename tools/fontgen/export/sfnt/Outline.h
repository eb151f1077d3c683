// Outline: a pixel picture as the closed contours of an outline font. Every
// ink pixel is a square of `unitsPerPixel` font units; the squares are merged,
// so a contour runs only along the boundary between ink and background, and
// each straight run of it is one edge.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "font/GlyphComposer.h"

namespace runeplate::fontgen::sfnt {

// A corner of the pixel grid in font units, y up from the baseline.
struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint& a, const TPoint& b) { return a.X == b.X && a.Y == b.Y; }
  friend bool operator!=(const TPoint& a, const TPoint& b) { return !(a == b); }
  friend bool operator<(const TPoint& a, const TPoint& b) { return a.X != b.X ? a.X < b.X : a.Y < b.Y; }
};

// A closed contour: the last point joins the first. No point lies on the
// straight line through its neighbours.
using TContour = std::vector<TPoint>;

// The contours of the ink of `picture` (its Width x Height pixels, row 0 at
// the top, `ascent` rows above the baseline), scaled by `unitsPerPixel`.
// Contours run clockwise around ink, as TrueType wants, and counter-clockwise
// around a hole. Pixels that touch only at a corner get contours of their
// own. The contours come in a fixed order (each starting at its leftmost,
// then lowest, corner), so the same picture always gives the same outline.
// No ink gives no contour.
std::vector<TContour> TraceOutline(const TCellBitmap& picture, int32_t ascent, int32_t unitsPerPixel);

// The contours running the other way round (each one's points in reverse
// order): counter-clockwise around ink, as CFF wants.
std::vector<TContour> Reversed(std::vector<TContour> contours);

// Bounds in font units, inclusive of the corners on them.
struct TBox {
  int32_t XMin = 0;
  int32_t YMin = 0;
  int32_t XMax = 0;
  int32_t YMax = 0;
  friend bool operator==(const TBox& a, const TBox& b) {
    return a.XMin == b.XMin && a.YMin == b.YMin && a.XMax == b.XMax && a.YMax == b.YMax;
  }
};

// The bounds of `contours`; none for no contour.
std::optional<TBox> BoxOf(const std::vector<TContour>& contours);

// The bounds of both; none when neither has any.
std::optional<TBox> UnionOf(const std::optional<TBox>& a, const std::optional<TBox>& b);

}  // namespace runeplate::fontgen::sfnt
