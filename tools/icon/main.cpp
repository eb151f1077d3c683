// runeplate-icon: writes the program's icon "vexil", drawn from the font
// atlas, as a Windows .ico file. The program's resources take the committed
// copy (the cross build has no native tool to run); a test regenerates it.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "icon/IconFile.h"

#ifndef RUNEPLATE_DEFAULT_FONT
#define RUNEPLATE_DEFAULT_FONT "a1bit.bmp"
#endif

using namespace runeplate;

namespace {

constexpr int ExitFailed = 1;    // the icon could not be written
constexpr int ExitBadInput = 2;  // bad arguments or font file

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "runeplate-icon: %s\n", message.c_str());
  return code;
}

// Writes Bytes to Path; on failure removes what was written.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (out) return true;
  std::remove(path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::string fontPath = RUNEPLATE_DEFAULT_FONT;
  std::string outPath;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--help" || arg == "-h") {
      std::printf(
          "usage: runeplate-icon [--font FILE] -o OUT.ico\n"
          "Writes the program's icon, 한 from the font atlas at 16 x 16 and 32 x 32.\n"
          "  --font FILE  font file, of which the last 16384 bytes are read\n"
          "               (default: %s)\n",
          RUNEPLATE_DEFAULT_FONT);
      return 0;
    }
    if ((arg == "--font" || arg == "-o") && k + 1 < argc) {
      (arg == "-o" ? outPath : fontPath) = argv[++k];
    } else {
      return Fail(ExitBadInput, "unexpected argument " + arg + " (see --help)");
    }
  }
  if (outPath.empty()) return Fail(ExitBadInput, "no output file given (-o OUT.ico)");

  TFontImage font;
  std::string error;
  if (!LoadFontAtlas(fontPath, font, error)) return Fail(ExitBadInput, error);
  std::vector<TRgbImage> images;
  for (const int32_t size : IconSizes) images.push_back(DrawIconImage(font, size));
  if (!WriteFile(outPath, EncodeIconFile(images))) return Fail(ExitFailed, "cannot write " + outPath);
  return 0;
}
