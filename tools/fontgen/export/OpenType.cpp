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

#include "common/Files.h"
#include "fontgen/FontGenError.h"
#include "fontgen/JamoNames.h"

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

}  // namespace

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

void WriteOpenType(const std::string& path, const TExportFont& font, TOpenTypeFlavour flavour) {
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
  if (!ReadFile(madePath, bytes, error) || !WriteFileAtomically(path, bytes, error)) throw TFontGenError(error);
}

}  // namespace runeplate::fontgen
