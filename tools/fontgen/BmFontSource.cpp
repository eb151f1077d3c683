#include "fontgen/BmFontSource.h"

#include <filesystem>
#include <map>
#include <sstream>

#include "common/Numbers.h"
#include "common/Png.h"
#include "fontgen/UnifontHex.h"

namespace runeplate::fontgen {

namespace {

// More pages than any BMFont of ours or of the engines' tools has; each page
// at most 4096 x 4096.
constexpr size_t MaxPages = 64;
constexpr int64_t MaxPagePixels = int64_t{4096} * 4096;

// One line of the .fnt: its tag ("char") and its key=value pairs, a value in
// double quotes holding any spaces.
struct TLine {
  std::string Tag;
  std::map<std::string, std::string> Values;
};

class TBmFontReader {
 public:
  TBmFontReader(const std::string& path, const std::vector<uint8_t>& bytes) : Path(path), Bytes(bytes) {
    Source.Name = path;
    Source.Kind = TSourceKind::BmFont;
  }

  TFontSource Read() {
    std::istringstream text(std::string(Bytes.begin(), Bytes.end()));
    std::vector<std::pair<int, TLine>> chars;
    int number = 0;
    for (std::string line; std::getline(text, line);) {
      ++number;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const TLine parsed = Parse(line, number);
      if (parsed.Tag == "common") ReadCommon(parsed, number);
      else if (parsed.Tag == "page") ReadPage(parsed, number);
      else if (parsed.Tag == "char") chars.push_back({number, parsed});
    }
    if (PageCount < 0) Fail(0, "has no common line");
    for (size_t p = 0; p < Pages.size(); ++p)
      if (Pages[p].Width == 0) Fail(0, "names no file for page " + std::to_string(p));
    int letters = 0;
    for (const auto& [at, line] : chars) letters += PlaceChar(line, at);
    Source.HasLetters = letters == int(CompatJamoCount);
    return Source;
  }

 private:
  [[noreturn]] void Fail(int line, const std::string& what) const {
    throw TFontGenError(Path + (line > 0 ? ":" + std::to_string(line) : "") + ": " + what);
  }

  TLine Parse(const std::string& text, int number) const {
    TLine line;
    size_t at = text.find_first_not_of(' ');
    if (at == std::string::npos) return line;
    size_t end = text.find(' ', at);
    line.Tag = text.substr(at, end - at);
    at = end;
    while (at != std::string::npos && (at = text.find_first_not_of(' ', at)) != std::string::npos) {
      const size_t equals = text.find('=', at);
      if (equals == std::string::npos) Fail(number, "expected KEY=VALUE");
      const std::string key = text.substr(at, equals - at);
      std::string value;
      if (equals + 1 < text.size() && text[equals + 1] == '"') {
        const size_t close = text.find('"', equals + 2);
        if (close == std::string::npos) Fail(number, "value of " + key + " has no closing quote");
        value = text.substr(equals + 2, close - equals - 2);
        at = close + 1;
      } else {
        end = text.find(' ', equals);
        value = text.substr(equals + 1, end == std::string::npos ? std::string::npos : end - equals - 1);
        at = end;
      }
      line.Values[key] = value;
    }
    return line;
  }

  template <typename T>
  T Number(const TLine& line, const std::string& key, int number, T least, T most) const {
    const auto found = line.Values.find(key);
    T value{};
    if (found == line.Values.end()) Fail(number, line.Tag + " has no " + key);
    if (!ParseNumber(found->second, value) || value < least || value > most)
      Fail(number, key + " wants a number from " + std::to_string(least) + " to " + std::to_string(most) +
                       ", not '" + found->second + "'");
    return value;
  }

  void ReadCommon(const TLine& line, int number) {
    PageCount = Number<int>(line, "pages", number, 1, int(MaxPages));
    Pages.assign(size_t(PageCount), {});
  }

  void ReadPage(const TLine& line, int number) {
    if (PageCount < 0) Fail(number, "page before the common line");
    const int id = Number<int>(line, "id", number, 0, PageCount - 1);
    const auto file = line.Values.find("file");
    if (file == line.Values.end() || file->second.empty()) Fail(number, "page has no file");
    // A control character (a NUL above all, which would cut the name and
    // the message quoting it short) names no file.
    for (unsigned char c : file->second)
      if (c < 0x20 || c == 0x7F) Fail(number, "page file name holds a control character");
    const std::string page = (std::filesystem::path(Path).parent_path() / file->second).string();
    std::string error;
    // Laid on black, white ink on transparency is white on black.
    if (!ReadPngFile(page, MaxPagePixels, Pages[size_t(id)], error, 0x000000)) throw TFontGenError(error);
  }

  bool Ink(const TRgbImage& page, int32_t x, int32_t y) const {
    const uint32_t rgb = page.At(x, y);
    return ((rgb >> 16 & 0xFF) + (rgb >> 8 & 0xFF) + (rgb & 0xFF)) >= 3 * 128;
  }

  // Puts the character on its cell when it is one a source can give; true
  // when it is a compatibility letter.
  bool PlaceChar(const TLine& line, int number) {
    const uint32_t code = Number<uint32_t>(line, "id", number, 0, 0x10FFFF);
    const bool ascii = code >= FirstPrintableAscii && code <= LastPrintableAscii;
    const bool syllable = code - SyllableFirst < SyllableCount;
    const bool letter = code >= CompatJamoFirst && code <= CompatJamoLast;
    if (!ascii && !syllable && !letter) return false;
    const int page = Number<int>(line, "page", number, 0, PageCount - 1);
    const TRgbImage& picture = Pages[size_t(page)];
    const int32_t x = Number<int32_t>(line, "x", number, 0, picture.Width);
    const int32_t y = Number<int32_t>(line, "y", number, 0, picture.Height);
    const int32_t width = Number<int32_t>(line, "width", number, 0, picture.Width - x);
    const int32_t height = Number<int32_t>(line, "height", number, 0, picture.Height - y);
    const int32_t left = Number<int32_t>(line, "xoffset", number, -1024, 1024);
    const int32_t top = Number<int32_t>(line, "yoffset", number, -1024, 1024);
    TCell cell;
    const int32_t cellWidth = ascii ? 8 : 16;
    for (int32_t py = 0; py < height; ++py)
      for (int32_t px = 0; px < width; ++px) {
        const int32_t cx = left + px, cy = top + py;
        if (cx >= 0 && cx < cellWidth && cy >= 0 && cy < 16 && Ink(picture, x + px, y + py)) cell.SetPixel(cx, cy, true);
      }
    if (ascii) {
      for (int row = 0; row < 16; ++row) Source.Ascii[code][row] = uint8_t(cell.Row(row) >> 8);
      Source.HasAscii = true;
    } else if (syllable) {
      Source.Syllables[code - SyllableFirst] = cell;
      Source.HasSyllable[code - SyllableFirst] = true;
    } else {
      Source.Letters[code - CompatJamoFirst] = cell;
    }
    return letter;
  }

  std::string Path;
  const std::vector<uint8_t>& Bytes;
  int PageCount = -1;
  std::vector<TRgbImage> Pages;
  TFontSource Source;
};

}  // namespace

bool LooksLikeBmFont(const std::vector<uint8_t>& bytes) {
  return bytes.size() >= 5 && std::string(bytes.begin(), bytes.begin() + 5) == "info ";
}

TFontSource LoadBmFontSource(const std::string& path, const std::vector<uint8_t>& bytes) {
  return TBmFontReader(path, bytes).Read();
}

}  // namespace runeplate::fontgen
