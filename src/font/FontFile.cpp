#include "font/FontFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>
#include <sstream>

namespace runeplate {

TFontImage DecodeFontPixels(const uint8_t* block) {
  TFontImage image;
  for (int32_t y = 0; y < FontImageHeight; ++y) {
    const uint8_t* stored = block + StoredFontRow(y) * FontFileRowBytes;
    std::copy(stored, stored + FontFileRowBytes, image.Bits.begin() + y * FontFileRowBytes);
  }
  return image;
}

std::vector<uint8_t> EncodeFontPixels(const TFontImage& image) {
  std::vector<uint8_t> block(FontFilePixelBytes);
  for (int32_t y = 0; y < FontImageHeight; ++y) {
    const auto row = image.Bits.begin() + y * FontFileRowBytes;
    std::copy(row, row + FontFileRowBytes, block.begin() + StoredFontRow(y) * FontFileRowBytes);
  }
  return block;
}

namespace {

uint32_t GetLe(const std::vector<uint8_t>& file, size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | file[at + static_cast<size_t>(i)];
  return value;
}

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> EncodeFontFile(const TFontImage& image) {
  std::vector<uint8_t> file;
  file.reserve(FontFileBytes);
  // BITMAPFILEHEADER
  file.push_back('B');
  file.push_back('M');
  PutLe(file, FontFileBytes, 4);
  PutLe(file, 0, 4);  // two reserved words
  PutLe(file, FontFileHeaderBytes, 4);
  // BITMAPINFOHEADER; a positive height means bottom-up rows, as the pixel
  // block stores them.
  PutLe(file, 40, 4);
  PutLe(file, FontImageWidth, 4);
  PutLe(file, FontImageHeight, 4);
  PutLe(file, 1, 2);  // planes
  PutLe(file, 1, 2);  // bits per pixel
  PutLe(file, 0, 4);  // BI_RGB, uncompressed
  PutLe(file, FontFilePixelBytes, 4);
  PutLe(file, 2835, 4);  // 72 dots per inch, as pixels per metre
  PutLe(file, 2835, 4);
  PutLe(file, 2, 4);  // colours used
  PutLe(file, 2, 4);  // colours important
  // Palette, blue-green-red-reserved: 0 background white, 1 ink black.
  PutLe(file, 0x00FFFFFF, 4);
  PutLe(file, 0x00000000, 4);
  const std::vector<uint8_t> block = EncodeFontPixels(image);
  file.insert(file.end(), block.begin(), block.end());
  return file;
}

std::string FontBitmapProblem(const std::vector<uint8_t>& file) {
  constexpr uint32_t InfoHeaderBytes = 40;
  if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') return "not a bitmap file";
  if (file.size() < FontFileHeaderBytes + FontFilePixelBytes)
    return "a bitmap of " + std::to_string(file.size()) + " bytes is too short for a 512 x 256 font atlas";
  const uint32_t infoBytes = GetLe(file, 14, 4);
  if (infoBytes < InfoHeaderBytes)
    return "its information header of " + std::to_string(infoBytes) + " bytes is not one we read (40 or more)";
  const auto height = static_cast<int32_t>(GetLe(file, 22, 4));
  const uint32_t width = GetLe(file, 18, 4), planes = GetLe(file, 26, 2), bits = GetLe(file, 28, 2),
                 compression = GetLe(file, 30, 4);
  if (width != FontImageWidth || height != FontImageHeight || planes != 1 || bits != 1 || compression != 0)
    return "a " + std::to_string(width) + " x " + std::to_string(height) + ", " + std::to_string(bits) +
           "-bit bitmap" + (planes != 1 ? " in " + std::to_string(planes) + " planes" : "") +
           (compression != 0 ? " (compressed)" : "") +
           ", not a font atlas (512 x 256 bottom-up, one plane of 1 bit a pixel, uncompressed)";
  const uint32_t offset = GetLe(file, 10, 4);
  if (uint64_t{offset} + FontFilePixelBytes != file.size())
    return "its pixels do not end the file (offset " + std::to_string(offset) + " of " +
           std::to_string(file.size()) + " bytes), so the program would misread it";
  return "";
}

bool DecodeFontFile(const std::vector<uint8_t>& file, TFontImage& image, std::string& error) {
  const std::string problem = FontBitmapProblem(file);
  if (!problem.empty()) {
    error = problem;
    return false;
  }
  image = DecodeFontPixels(file.data() + file.size() - FontFilePixelBytes);
  return true;
}

namespace {

// The keywords of C (to C23) and C++ (to C++20) that a header included from
// either could not name an array after; those starting with an underscore
// are reserved names anyway.
constexpr const char* CKeywords[] = {
    "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor", "bool", "break",
    "case", "catch", "char", "char8_t", "char16_t", "char32_t", "class", "co_await", "co_return",
    "co_yield", "compl", "concept", "const", "const_cast", "consteval", "constexpr", "constinit",
    "continue", "decltype", "default", "delete", "do", "double", "dynamic_cast", "else", "enum",
    "explicit", "export", "extern", "false", "float", "for", "friend", "goto", "if", "inline",
    "int", "long", "mutable", "namespace", "new", "noexcept", "not", "not_eq", "nullptr",
    "operator", "or", "or_eq", "private", "protected", "public", "register", "reinterpret_cast",
    "requires", "restrict", "return", "short", "signed", "sizeof", "static", "static_assert",
    "static_cast", "struct", "switch", "template", "this", "thread_local", "throw", "true", "try",
    "typedef", "typeid", "typename", "typeof", "typeof_unqual", "union", "unsigned", "using",
    "virtual", "void", "volatile", "wchar_t", "while", "xor", "xor_eq"};

}  // namespace

bool IsCIdentifier(const std::string& name) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
  const bool spelt = std::all_of(name.begin(), name.end(), [](char c) {
    return c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  });
  // A leading underscore or a double one is the compiler's and library's.
  if (!spelt || name[0] == '_' || name.find("__") != std::string::npos) return false;
  return std::none_of(std::begin(CKeywords), std::end(CKeywords),
                      [&name](const char* keyword) { return name == keyword; });
}

std::string CArrayGuard(const std::string& name) {
  // The name as it is after a prefix of our own: no other header's guard
  // (runeplate.h's RUNEPLATE_H above all) has that prefix, and two names
  // that differ only in case keep apart.
  return "RUNEPLATE_FONT_H_" + name;
}

std::string EncodeCArray(const std::string& name, const std::vector<uint8_t>& bytes,
                         const std::string& notice, const std::string& layout,
                         const std::string& preamble, const std::string& placement) {
  const std::string guard = CArrayGuard(name);
  std::ostringstream out;
  std::istringstream lines(notice);
  for (std::string line; std::getline(lines, line);) out << "// " << line << "\n";
  out << "//\n" << layout << "#ifndef " << guard << "\n#define " << guard << "\n\n" << preamble
      << "static const unsigned char " << name << "[" << bytes.size() << "]" << placement
      << " = {\n";
  for (size_t i = 0; i < bytes.size(); i += 16) {
    out << "   ";
    for (size_t k = i; k < i + 16 && k < bytes.size(); ++k) {
      char byte[8];
      std::snprintf(byte, sizeof byte, " 0x%02X,", bytes[k]);
      out << byte;
    }
    out << "\n";
  }
  out << "};\n\n#endif  // " << guard << "\n";
  return out.str();
}

std::string EncodeFontCArray(const TFontImage& image, const std::string& name,
                             const std::string& notice) {
  const std::string layout =
      "// The 512 x 256 Runeplate font atlas, 1 bit a pixel, as the font file's\n"
      "// pixel block: 256 rows of 64 bytes, the bottom image row first. Pixel\n"
      "// (x, y), y = 0 at the top, is ink when bit 7 - x % 8 of\n"
      "// " + name + "[(255 - y) * 64 + x / 8] is set.\n";
  return EncodeCArray(name, EncodeFontPixels(image), notice, layout, "", "");
}

}  // namespace runeplate
