// Pixel pictures traced into contours, judged by what any outline font
// renderer would do with them: the winding number at every pixel's centre
// must give back the picture.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "fontgen/export/sfnt/Outline.h"
#include "SfntTesting.h"

namespace runeplate::fontgen::sfnt {
namespace {

using testing::Picture;

// Twice the signed area: positive counter-clockwise (y up).
int64_t DoubleArea(const TContour& contour) {
  int64_t sum = 0;
  for (size_t i = 0; i < contour.size(); ++i) {
    const TPoint& a = contour[i];
    const TPoint& b = contour[(i + 1) % contour.size()];
    sum += int64_t(a.X) * b.Y - int64_t(b.X) * a.Y;
  }
  return sum;
}

// The non-zero winding number of the outline around (x, y), counted as a
// TrueType rasteriser counts it: clockwise contours add one.
int32_t Winding(const std::vector<TContour>& contours, double x, double y) {
  int32_t winding = 0;
  for (const TContour& contour : contours) {
    for (size_t i = 0; i < contour.size(); ++i) {
      const TPoint& a = contour[i];
      const TPoint& b = contour[(i + 1) % contour.size()];
      if (a.X != b.X || (a.Y > y) == (b.Y > y) || a.X < x) continue;
      winding += b.Y < a.Y ? 1 : -1;  // a downward edge right of the point: clockwise around it
    }
  }
  return winding;
}

// Every contour has only horizontal and vertical edges, turns at every
// point, and the outline covers exactly the ink, once.
void ExpectTracesBack(const TCellBitmap& picture, int32_t ascent, int32_t unitsPerPixel) {
  const std::vector<TContour> contours = TraceOutline(picture, ascent, unitsPerPixel);
  for (const TContour& contour : contours) {
    ASSERT_GE(contour.size(), 4u);
    for (size_t i = 0; i < contour.size(); ++i) {
      const TPoint& p = contour[(i + contour.size() - 1) % contour.size()];
      const TPoint& c = contour[i];
      const TPoint& n = contour[(i + 1) % contour.size()];
      EXPECT_TRUE(p.X == c.X || p.Y == c.Y) << "a diagonal edge";
      EXPECT_FALSE((p.X == c.X && c.X == n.X) || (p.Y == c.Y && c.Y == n.Y)) << "a point on a straight run";
    }
  }
  for (int32_t y = 0; y < picture.Height; ++y)
    for (int32_t x = 0; x < picture.Width; ++x)
      ASSERT_EQ(Winding(contours, (x + 0.5) * unitsPerPixel, (ascent - y - 0.5) * unitsPerPixel),
                picture.IsInk(x, y) ? 1 : 0)
          << "pixel " << x << "," << y;
}

struct TTraceCase {
  const char* Fault;  // what a wrong trace would do
  TCellBitmap Picture;
  size_t Contours;
  std::vector<int64_t> DoubleAreas;  // each contour's, in pixels: negative is clockwise
};

TEST(TraceOutline, GivesTheContoursThePictureHas) {
  const TTraceCase cases[] = {
      {"an empty picture gives a contour", Picture(16, {"", ""}), 0, {}},
      {"one pixel: wrong direction or corners", Picture(8, {"#"}), 1, {-2}},
      {"a full cell keeps collinear points", Picture(16, std::vector<std::string>(16, std::string(16, '#'))), 1,
       {-2 * 256}},
      {"a hole not counter-clockwise",
       Picture(16, {"###", "#.#", "###"}), 2, {-18, 2}},
      {"diagonal pixels merged into one pinched contour", Picture(16, {"#.", ".#"}), 2, {-2, -2}},
      {"the other diagonal merged", Picture(16, {".#", "#."}), 2, {-2, -2}},
      {"ink past the picture's width traced", Picture(2, {"####"}), 1, {-4}},
      {"a hole touching the outside at a corner", Picture(16, {"##.", "#.#", "###"}), 1, {-14}},
  };
  for (const TTraceCase& c : cases) {
    SCOPED_TRACE(c.Fault);
    const std::vector<TContour> contours = TraceOutline(c.Picture, 0, 1);
    ASSERT_EQ(contours.size(), c.Contours);
    for (size_t i = 0; i < contours.size(); ++i) EXPECT_EQ(DoubleArea(contours[i]), c.DoubleAreas[i]);
    ExpectTracesBack(c.Picture, 0, 1);
  }
}

// Scaling or the baseline applied wrongly: one pixel at the top left of a
// 14-pixel ascent is the square from (0, 13) to (1, 14) pixels.
TEST(TraceOutline, PlacesCornersInFontUnitsFromTheBaseline) {
  const std::vector<TContour> contours = TraceOutline(Picture(8, {"#"}), 14, 16);
  ASSERT_EQ(contours.size(), 1u);
  EXPECT_EQ(contours[0], (TContour{{0, 208}, {0, 224}, {16, 224}, {16, 208}}));
  EXPECT_EQ(BoxOf(contours), (TBox{0, 208, 16, 224}));
  EXPECT_EQ(BoxOf({}), std::nullopt);
  EXPECT_EQ(UnionOf(std::nullopt, TBox{1, 2, 3, 4}), (TBox{1, 2, 3, 4}));
  EXPECT_EQ(UnionOf(TBox{0, 5, 2, 6}, TBox{1, 2, 3, 4}), (TBox{0, 2, 3, 6}));
  EXPECT_EQ(DoubleArea(Reversed(contours)[0]), 2 * 16 * 16) << "reversing must turn the contour round";
}

// Any mistake of the boundary or the walk on shapes nobody thought of:
// random pictures, dense and sparse, must trace back to themselves.
TEST(TraceOutline, RandomPicturesTraceBackToThemselves) {
  std::mt19937 random(20);
  for (int32_t round = 0; round < 400; ++round) {
    const TCellBitmap picture = testing::RandomPicture(random, round % 3 == 0 ? 8 : 16, 10 + round % 80);
    SCOPED_TRACE(round);
    ExpectTracesBack(picture, 13, 16);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace runeplate::fontgen::sfnt
