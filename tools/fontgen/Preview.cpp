#include "fontgen/Preview.h"

#include <algorithm>
#include <vector>

#include "common/Png.h"
#include "fontgen/FontGenError.h"

namespace runeplate::fontgen {

namespace {

struct TColour {
  uint8_t R, G, B;
};

constexpr TColour White{255, 255, 255};
constexpr TColour Black{0, 0, 0};
constexpr TColour Grey{200, 200, 200};
constexpr TColour Red{220, 0, 0};
constexpr TColour Blue{0, 80, 255};

// An RGB picture in logical pixels, each drawn as a Scale x Scale block.
class TCanvas {
 public:
  TCanvas(int width, int height, int scale)
      : Width(width), Height(height), Scale(scale), Pixels(size_t(width) * height * scale * scale * 3, 255) {}

  void Put(int x, int y, TColour colour) {
    if (x < 0 || y < 0 || x >= Width || y >= Height) return;
    for (int dy = 0; dy < Scale; ++dy) {
      uint8_t* p = Pixels.data() + ((size_t(y) * Scale + dy) * Width * Scale + size_t(x) * Scale) * 3;
      for (int dx = 0; dx < Scale; ++dx, p += 3) {
        p[0] = colour.R;
        p[1] = colour.G;
        p[2] = colour.B;
      }
    }
  }

  void PutCell(int x, int y, const TCell& cell, TColour ink) {
    for (int cy = 0; cy < 16; ++cy)
      for (int cx = 0; cx < 16; ++cx)
        if (cell.Pixel(cx, cy)) Put(x + cx, y + cy, ink);
  }

  void Write(const std::string& path) const {
    std::string error;
    if (!WritePngFile(path, int64_t{Width} * Scale, int64_t{Height} * Scale, Pixels, error))
      throw TFontGenError(error);
  }

  const int Width, Height, Scale;

 private:
  std::vector<uint8_t> Pixels;
};

// DrawTextRun reports glyphs through a plain function; these say where to.
TCanvas* RunCanvas = nullptr;
const TFontImage* RunAtlas = nullptr;

void DrawAtlasGlyph(int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcLeft,
                    int32_t srcTop, int32_t) {
  for (int dy = 0; dy < height; ++dy)
    for (int dx = 0; dx < width; ++dx)
      if (RunAtlas->IsInk(srcLeft + dx, srcTop + dy)) RunCanvas->Put(x + dx, y + dy, Black);
}

// The same line as Unifont draws it: its syllables whole, other characters
// as in the atlas.
void DrawUnifontLine(TCanvas& canvas, int x, int y, const std::u16string& text,
                     const TUnifontSource& source) {
  for (char16_t c : text) {
    if (c >= SyllableFirst && c <= SyllableLast) {
      canvas.PutCell(x, y, source.Syllables[c - SyllableFirst], Black);
      x += AdvanceOf(c);
    } else {
      x = DrawTextRun(x, y, &c, 1, 0, DrawAtlasGlyph);
    }
  }
}

const std::u16string PreviewLines[] = {
    u"아름다운 강산 ABCDEFGhijklmn!@#$%^&*()1234567890",
    u"나는 자랑스런 태극기 앞에 조국과 아름다운 강산 ABC",
    u"다람쥐 헌 쳇바퀴에 타고파. 키스의 고유조건은 입술끼리 만나야 하고",
    u"특별한 기술은 필요치 않다. 유월의 꿈은 빛나는 꽃처럼 피어난다.",
    u"운 군 눈 둔 문 분 순 준 춘 툰 푼 훈 윤 균 쿤 뉸 듄 륜",
    u"원 권 월 웬 웹 윈 귄 뭔 둰 훤 쉰 왼 괜 궥 뒷 쉽 휜 귈",
    u"가 각 간 갈 감 값 갖 객 거 걱 고 곡 구 국 그 극 기 긱",
    u"ㄱㄴㄷㄹㅁㅂㅅㅇㅈㅊㅋㅌㅍㅎ ㅏㅐㅑㅓㅔㅕㅗㅘㅛㅜㅝㅠㅡㅢㅣ",
    u"ㄲㄸㅃㅆㅉ ㄳㄵㄶㄺㄻㄼㄽㄾㄿㅀㅄ é 中 ☺",
};

int LineWidth(const std::u16string& text) {
  int width = 0;
  for (char16_t c : text) width += AdvanceOf(c);
  return width;
}

// The font image, x2, cells outlined in grey where the background shows, so
// each glyph's position inside its cell can be judged.
void WriteAtlasPicture(const std::string& path, const TFontImage& atlas) {
  TCanvas canvas(FontImageWidth, FontImageHeight, 2);
  for (int y = 0; y < FontImageHeight; ++y)
    for (int x = 0; x < FontImageWidth; ++x)
      canvas.Put(x, y, atlas.IsInk(x, y) ? Black : White);
  for (int y = 32; y < 240; ++y)
    for (int x = 0; x < FontImageWidth; ++x) {
      const bool edge = y < 64 ? (x % 8 == 0 || y % 16 == 0) : (x % 16 == 0 || y % 16 == 0);
      if (edge && !atlas.IsInk(x, y)) canvas.Put(x, y, Grey);
    }
  canvas.Write(path);
}

// Each line through the layout engine above the same line from Unifont's
// syllables; the sample lines x3, or LINES x5.
void WriteTextPicture(const std::string& path, const TUnifontSource& source, const TFontImage& atlas,
                      const std::vector<std::u16string>& lines) {
  std::vector<std::u16string> shown = lines;
  if (shown.empty()) shown.assign(std::begin(PreviewLines), std::end(PreviewLines));
  int width = 0;
  for (const auto& line : shown) width = std::max(width, LineWidth(line));
  const int lineCount = int(shown.size());
  TCanvas text(width + 8, lineCount * 40 + 4, lines.empty() ? 3 : 5);
  RunCanvas = &text;
  RunAtlas = &atlas;
  for (int n = 0; n < lineCount; ++n) {
    const std::u16string& line = shown[n];
    DrawTextRun(4, 4 + 40 * n, line.data(), line.size(), 0, DrawAtlasGlyph);
    DrawUnifontLine(text, 4, 4 + 40 * n + 17, line, source);
  }
  RunCanvas = nullptr;
  RunAtlas = nullptr;
  text.Write(path);
}

// The 48 syllables that differ most, most differing first, in rows of eight
// triples: Unifont's, ours, and the difference.
void WriteComparePicture(const std::string& path, const TUnifontSource& source, const THangulGlyphs& glyphs) {
  std::vector<std::pair<int, uint32_t>> worst;
  for (uint32_t code = SyllableFirst; code <= SyllableLast; ++code) {
    const int diff = DiffCount(ComposeSyllable(glyphs, code), source.Syllables[code - SyllableFirst]);
    if (diff > 0) worst.push_back({-diff, code});
  }
  std::sort(worst.begin(), worst.end());
  worst.resize(std::min<size_t>(worst.size(), 48));
  constexpr int perRow = 8;
  const int rows = int(worst.size() + perRow - 1) / perRow;
  TCanvas compare(perRow * 60, std::max(rows, 1) * 20, 4);
  for (size_t i = 0; i < worst.size(); ++i) {
    const uint32_t code = worst[i].second;
    const TCell& theirs = source.Syllables[code - SyllableFirst];
    const TCell ours = ComposeSyllable(glyphs, code);
    const int x = int(i % perRow) * 60 + 2, y = int(i / perRow) * 20 + 2;
    compare.PutCell(x, y, theirs, Black);
    compare.PutCell(x + 18, y, ours, Black);
    compare.PutCell(x + 36, y, theirs & ours, Grey);
    compare.PutCell(x + 36, y, AndNot(ours, theirs), Red);
    compare.PutCell(x + 36, y, AndNot(theirs, ours), Blue);
  }
  compare.Write(path);
}

}  // namespace

void WritePreview(const std::string& dir, const TUnifontSource& source, const THangulGlyphs& glyphs,
                  const TFontImage& atlas, const std::vector<std::u16string>& lines) {
  WriteAtlasPicture(dir + "/atlas.png", atlas);
  WriteTextPicture(dir + "/text.png", source, atlas, lines);
  WriteComparePicture(dir + "/compare.png", source, glyphs);
}

}  // namespace runeplate::fontgen
