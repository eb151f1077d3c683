#include "fontgen/export/OpenType.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "common/Files.h"
#include "fontgen/FontGenError.h"
#include "fontgen/JamoNames.h"
#include "fontgen/export/sfnt/Cff.h"
#include "fontgen/export/sfnt/Cmap.h"
#include "fontgen/export/sfnt/Container.h"
#include "fontgen/export/sfnt/Glyf.h"
#include "fontgen/export/sfnt/Metrics.h"
#include "fontgen/export/sfnt/Naming.h"
#include "fontgen/export/sfnt/Woff2.h"

#ifndef RUNEPLATE_FONT_PYTHON
#define RUNEPLATE_FONT_PYTHON "/usr/bin/python3"
#endif
#ifndef RUNEPLATE_OPENTYPE_SCRIPT
#define RUNEPLATE_OPENTYPE_SCRIPT "write_opentype.py"
#endif

namespace runeplate::fontgen {

namespace {

namespace fs = std::filesystem;

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += char(c);
    }
  }
  return out + "\"";
}

std::string JsonRows(const TCellBitmap& picture) {
  std::string out = "[";
  for (int32_t y = 0; y < picture.Height; ++y) out += (y ? "," : "") + std::to_string(picture.Rows[y]);
  return out + "]";
}

// The Hangul glyphs a character is made of, or none when any of its
// rectangles is an ASCII or letter cell.
std::vector<int32_t> PartsOf(const TExportGlyph& glyph) {
  std::vector<int32_t> parts;
  for (int32_t r = 0; r < glyph.Rects.Count; ++r) {
    const int32_t g = HangulGlyphOf(glyph.Rects.Rects[r]);
    if (g < 0) return {};
    parts.push_back(g);
  }
  return parts;
}

// A folder of our own for the hand-over, removed with everything in it.
class TScratchFolder {
 public:
  TScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "runeplate-fontgen-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw TFontGenError("cannot make a temporary folder");
    Path = pattern;
  }
  ~TScratchFolder() {
    std::error_code ignored;
    fs::remove_all(Path, ignored);
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;
  std::string Path;
};

// Where write_opentype.py lies: beside the installed tool in
// ../share/runeplate/, else in the source tree the tool was built from.
std::string ScriptPath() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    const fs::path installed = self.parent_path().parent_path() / "share" / "runeplate" / "write_opentype.py";
    if (fs::exists(installed, error)) return installed.string();
  }
  return RUNEPLATE_OPENTYPE_SCRIPT;
}

// Runs `args` (no shell), standard error into `errorPath`; the exit status,
// or -1 when it could not be run or did not exit by itself.
int Run(const std::vector<std::string>& args, const std::string& errorPath) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (std::freopen(errorPath.c_str(), "w", stderr) == nullptr) _exit(127);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    std::fprintf(stderr, "cannot run %s\n", argv[0]);
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string LastLine(const std::string& path) {
  std::ifstream in(path);
  std::string line, last;
  while (std::getline(in, line))
    if (!line.empty()) last = line;
  return last;
}

constexpr int32_t PixelsPerEm = 16;
constexpr int32_t UnitsPerPixel = 16;
constexpr int32_t NotdefWidth = 8;  // pixels: a blank half cell

std::string GlyphName(uint32_t code) {
  char name[16];
  std::snprintf(name, sizeof name, code <= 0xFFFF ? "uni%04X" : "u%05X", code);
  return name;
}

TJamoNames NeoNames() {
  TJamoNames names;
  std::string error;
  if (!ParseJamoNames(NeoJamoNames, names, error)) throw TFontGenError("jamo glyph names: " + error);
  return names;
}

bool IsKorean(uint32_t code) {
  return (code >= SyllableFirst && code <= SyllableLast) || (code >= CompatJamoFirst && code <= CompatJamoLast);
}

}  // namespace

sfnt::TSfntFont DescribeFont(const TExportFont& font) {
  sfnt::TSfntFont out;
  out.UnitsPerEm = PixelsPerEm * UnitsPerPixel;
  out.UnitsPerPixel = UnitsPerPixel;
  out.Ascender = font.Ascent * UnitsPerPixel;
  out.Descender = font.Descent * UnitsPerPixel;
  out.Date = font.Date;
  out.Names = {font.Family, font.Version, font.Copyright, font.Licence, font.LicenceUrl, font.Notice};
  out.Glyphs.push_back({".notdef", NotdefWidth * UnitsPerPixel, {}, {}});

  // The characters' glyphs first, in code point order, one per layout: the
  // characters laid out alike (a conjoining jamo and its letter) share it.
  // Composites name their parts by jamo glyph number until the jamo glyphs'
  // place after the characters is known.
  std::map<std::vector<int32_t>, uint16_t> byParts;
  std::vector<std::pair<size_t, std::vector<int32_t>>> composites;
  for (const TExportGlyph& glyph : font.Glyphs) {
    std::vector<int32_t> parts = PartsOf(glyph);
    if (!parts.empty()) {
      const auto known = byParts.find(parts);
      if (known != byParts.end()) {
        out.Characters.push_back({glyph.CodePoint, known->second});
        continue;
      }
      byParts[parts] = uint16_t(out.Glyphs.size());
      composites.push_back({out.Glyphs.size(), parts});
    }
    out.Characters.push_back({glyph.CodePoint, uint16_t(out.Glyphs.size())});
    sfnt::TSfntGlyph made{GlyphName(glyph.CodePoint), glyph.Picture.Width * UnitsPerPixel, {}, {}};
    if (parts.empty()) made.Contours = sfnt::TraceOutline(glyph.Picture, font.Ascent, UnitsPerPixel);
    out.Glyphs.push_back(std::move(made));
    out.Korean = out.Korean || IsKorean(glyph.CodePoint);
  }

  // The jamo glyphs under Neo둥근모's names, and at the private code points
  // the BDF keeps them at, for readers of fonts without glyph names.
  const size_t jamoFirst = out.Glyphs.size();
  const TJamoNames names = NeoNames();
  for (int32_t g = 0; g < HangulGlyphCount; ++g) {
    out.Glyphs.push_back({JamoGlyphName(names, g), PixelsPerEm * UnitsPerPixel,
                          sfnt::TraceOutline(font.Jamo[g], font.Ascent, UnitsPerPixel), {}});
    out.Characters.push_back({PrivateJamoFirst + uint32_t(g), uint16_t(jamoFirst + size_t(g))});
  }
  for (const auto& [glyph, parts] : composites)
    for (int32_t part : parts) out.Glyphs[glyph].Components.push_back(uint16_t(jamoFirst + size_t(part)));
  if (out.Glyphs.size() > 0xFFFF) throw TFontGenError("more glyphs than a font can hold");
  return out;
}

std::vector<uint8_t> TrueTypeFile(sfnt::TSfntFont font, bool shareParts) {
  if (shareParts) sfnt::ShareCommonParts(font);
  const sfnt::TBoxes boxes = sfnt::GlyphBoxes(font);
  const sfnt::TGlyfTables outlines = sfnt::GlyfTables(font, boxes);
  // In the order the format recommends for TrueType fonts.
  return sfnt::SfntFile(sfnt::TrueTypeVersion, {
                                                   {"head", sfnt::HeadTable(font, boxes, outlines.LongLoca)},
                                                   {"hhea", sfnt::HheaTable(font, boxes)},
                                                   {"maxp", outlines.Maxp},
                                                   {"OS/2", sfnt::Os2Table(font)},
                                                   {"hmtx", sfnt::HmtxTable(font, boxes)},
                                                   {"cmap", sfnt::CmapTable(font.Characters)},
                                                   {"prep", sfnt::PrepTable()},
                                                   {"loca", outlines.Loca},
                                                   {"glyf", outlines.Glyf},
                                                   {"name", sfnt::NameTable(font.Names)},
                                                   {"post", sfnt::PostTable(font)},
                                                   {"gasp", sfnt::GaspTable(PixelsPerEm)},
                                               });
}

std::string OpenTypeDescription(const TExportFont& font) {
  TJamoNames names;
  std::string error;
  ParseJamoNames(NeoJamoNames, names, error);
  std::ostringstream out;
  out << "{\"family\":" << JsonString(font.Family) << ",\"version\":" << JsonString(font.Version)
      << ",\"ascent\":" << font.Ascent << ",\"descent\":" << font.Descent
      << ",\"copyright\":" << JsonString(font.Copyright) << ",\"licence\":" << JsonString(font.Licence)
      << ",\"licence_url\":" << JsonString(font.LicenceUrl) << ",\"notice\":" << JsonString(font.Notice)
      << ",\n\"jamo\":[";
  for (int32_t g = 0; g < HangulGlyphCount; ++g)
    out << (g ? ",\n" : "") << "{\"name\":" << JsonString(JamoGlyphName(names, g))
        << ",\"rows\":" << JsonRows(font.Jamo[g]) << "}";
  out << "],\n\"glyphs\":[";
  // One glyph per layout: the characters laid out alike share it.
  std::map<std::vector<int32_t>, std::vector<uint32_t>> sharing;
  std::vector<std::pair<const TExportGlyph*, std::vector<int32_t>>> glyphs;
  for (const TExportGlyph& glyph : font.Glyphs) {
    std::vector<int32_t> parts = PartsOf(glyph);
    if (!parts.empty()) {
      auto [at, fresh] = sharing.emplace(parts, std::vector<uint32_t>{});
      at->second.push_back(glyph.CodePoint);
      if (!fresh) continue;
    }
    glyphs.push_back({&glyph, parts});
  }
  bool first = true;
  for (const auto& [glyph, parts] : glyphs) {
    const std::vector<uint32_t> codes = parts.empty() ? std::vector<uint32_t>{glyph->CodePoint} : sharing[parts];
    out << (first ? "" : ",\n") << "{\"codes\":[";
    for (size_t i = 0; i < codes.size(); ++i) out << (i ? "," : "") << codes[i];
    out << "],\"width\":" << glyph->Picture.Width << ",\"rows\":" << JsonRows(glyph->Picture);
    if (!parts.empty()) {
      out << ",\"parts\":[";
      for (size_t i = 0; i < parts.size(); ++i) out << (i ? "," : "") << JsonString(JamoGlyphName(names, parts[i]));
      out << "]";
    }
    out << "}";
    first = false;
  }
  out << "]}\n";
  return out.str();
}

std::vector<uint8_t> CffFile(const sfnt::TSfntFont& font) {
  const sfnt::TBoxes boxes = sfnt::GlyphBoxes(font);
  std::vector<sfnt::TCffGlyph> glyphs;
  for (const sfnt::TSfntGlyph& glyph : font.Glyphs)
    glyphs.push_back({glyph.Name, glyph.Advance, glyph.Contours, glyph.Components});
  const sfnt::TCffNames names{sfnt::PostScriptName(font.Names.Family), font.Names.Family, font.Names.Family,
                              font.Names.Version, font.Names.Copyright};
  // In the order the format recommends for CFF fonts.
  return sfnt::SfntFile(sfnt::CffVersion, {
                                              {"head", sfnt::HeadTable(font, boxes, false)},
                                              {"hhea", sfnt::HheaTable(font, boxes)},
                                              {"maxp", sfnt::MaxpCountOnly(font)},
                                              {"OS/2", sfnt::Os2Table(font)},
                                              {"name", sfnt::NameTable(font.Names)},
                                              {"cmap", sfnt::CmapTable(font.Characters)},
                                              {"post", sfnt::PostTable(font)},
                                              {"CFF ", sfnt::CffTable(glyphs, names, font.UnitsPerEm)},
                                              {"hmtx", sfnt::HmtxTable(font, boxes)},
                                          });
}

namespace {

// The Python hand-off, still the writer of the CFF and bitmap-only fonts.
std::vector<uint8_t> WrittenByFontTools(const std::string& path, const TExportFont& font, TOpenTypeFlavour flavour) {
  static const char* const Kinds[] = {"ttf", "otf", "woff2", "otb"};
  const TScratchFolder scratch;
  const std::string descriptionPath = scratch.Path + "/font.json", madePath = scratch.Path + "/font." + Kinds[int(flavour)];
  const std::string errorPath = scratch.Path + "/errors.txt";
  {
    std::ofstream description(descriptionPath, std::ios::binary);
    description << OpenTypeDescription(font);
    if (!description.flush()) throw TFontGenError("cannot write the font's description to " + descriptionPath);
  }
  const int status = Run({RUNEPLATE_FONT_PYTHON, ScriptPath(), descriptionPath, Kinds[int(flavour)], madePath}, errorPath);
  if (status != 0) {
    const std::string reason = LastLine(errorPath);
    throw TFontGenError(path + ": fontTools (" + std::string(RUNEPLATE_FONT_PYTHON) + " " + ScriptPath() +
                        ") failed: " + (reason.empty() ? "exit status " + std::to_string(status) : reason));
  }
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadFile(madePath, bytes, error)) throw TFontGenError(error);
  return bytes;
}

}  // namespace

std::vector<uint8_t> OpenTypeFile(const TExportFont& font, TOpenTypeFlavour flavour) {
  switch (flavour) {
    case TOpenTypeFlavour::TrueType: return TrueTypeFile(DescribeFont(font), true);
    // Brotli finds the repeated component pairs by itself, and smaller
    // without the shared composites (12.8 KB against 13.3 for Round).
    case TOpenTypeFlavour::Woff2: return sfnt::Woff2File(TrueTypeFile(DescribeFont(font), false));
    case TOpenTypeFlavour::Cff: return CffFile(DescribeFont(font));
    default: throw std::invalid_argument("no writer of our own yet");
  }
}

void WriteOpenType(const std::string& path, const TExportFont& font, TOpenTypeFlavour flavour) {
  std::vector<uint8_t> bytes;
  try {
    const bool ours = flavour != TOpenTypeFlavour::Bitmap;
    bytes = ours ? OpenTypeFile(font, flavour) : WrittenByFontTools(path, font, flavour);
  } catch (const std::invalid_argument& error) {
    throw TFontGenError(path + ": " + error.what());
  }
  std::string error;
  if (!WriteFileAtomically(path, bytes, error)) throw TFontGenError(error);
}

}  // namespace runeplate::fontgen
