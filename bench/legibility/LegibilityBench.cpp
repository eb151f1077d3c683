// Legibility benchmark: how well an OCR engine reads Hangul syllables drawn
// with each font atlas, and with each source font's own precomposed glyphs,
// as a stand-in for how well people read them.
//
// runeplate-legibility --work DIR [--single N] [--lines N] NAME=FONT...
//
// Each FONT is an atlas (its syllables composed from its jamo glyphs, as the
// program draws them) or a source font (its own syllables). Syllables are
// those of KS X 1001 that tesseract's Korean model can output at all; each
// font draws them one per image and in lines of 20 (all of them, or the same
// sample of N for every font), at several upscalings and page modes. Prints correct/total
// per font and setting with a 95% margin, and the figures pooled over the
// settings. Figures only: there is nothing to pass or fail.
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "common/CommandLine.h"
#include "common/Picture.h"
#include "common/Process.h"
#include "common/Utf8.h"
#include "fontgen/Fidelity.h"
#include "fontgen/FontSource.h"

using namespace runeplate;
using namespace runeplate::fontgen;

namespace {

constexpr int SyllablesPerLine = 20;

struct TFont {
  std::string Name;
  std::vector<TCell> Syllables;    // 11,172 in code order
  std::vector<bool> HasSyllable;
};

struct TSetting {
  std::string Name;
  bool Lines;  // lines of syllables, else one per image
  int Scale;
  int PageMode;  // tesseract --psm
};

const TSetting Settings[] = {
    {"single x3 psm10", false, 3, 10},
    {"single x4 psm10", false, 4, 10},
    {"lines x3 psm7", true, 3, 7},
    {"lines x4 psm7", true, 4, 7},
    {"lines x4 psm6 block", true, 4, 6},
};

// The Hangul syllables of UTF-8 Text; OCR output is scored on those alone,
// so spaces and stray marks cost nothing by themselves. Text that is not
// UTF-8 reads as nothing.
std::vector<uint32_t> SyllablesOf(const std::string& text) {
  std::u16string units;
  std::string error;
  std::vector<uint32_t> codes;
  if (!DecodeUtf8(text, units, error)) return codes;
  for (char16_t unit : units)
    if (unit >= SyllableFirst && unit <= SyllableLast) codes.push_back(unit);
  return codes;
}

// Characters of Truth that an optimal alignment with Read matches.
int MatchedCount(const std::vector<uint32_t>& truth, const std::vector<uint32_t>& read) {
  std::vector<std::vector<int>> best(truth.size() + 1, std::vector<int>(read.size() + 1, 0));
  for (size_t i = 1; i <= truth.size(); ++i)
    for (size_t j = 1; j <= read.size(); ++j)
      best[i][j] = std::max({best[i - 1][j], best[i][j - 1], best[i - 1][j - 1] + (truth[i - 1] == read[j - 1])});
  return best[truth.size()][read.size()];
}

// A black-on-white picture of syllables in rows, every pixel a Scale x Scale
// block, written as a PBM file, which tesseract reads without any PNG round
// trip.
void WritePicture(const std::string& path, const TFont& font, const std::vector<std::vector<uint32_t>>& rows,
                  int scale) {
  const int margin = 12, lineGap = 8;
  size_t longest = 0;
  for (const auto& row : rows) longest = std::max(longest, row.size());
  TRgbImage drawn(2 * margin + 16 * int(longest), 2 * margin + (16 + lineGap) * int(rows.size()) - lineGap);
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t k = 0; k < rows[r].size(); ++k) {
      const TCell& cell = font.Syllables[rows[r][k] - SyllableFirst];
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
          if (cell.Pixel(x, y)) drawn.At(margin + 16 * int(k) + x, margin + (16 + lineGap) * int(r) + y) = 0;
    }
  }
  const TRgbImage picture = Enlarge(drawn, scale);
  const int stride = (picture.Width + 7) / 8;
  std::vector<uint8_t> bits(size_t(stride) * picture.Height, 0);
  for (int y = 0; y < picture.Height; ++y)
    for (int x = 0; x < picture.Width; ++x)
      if (picture.At(x, y) == 0) bits[size_t(y) * stride + x / 8] |= uint8_t(0x80 >> (x % 8));
  std::ofstream out(path, std::ios::binary);
  out << "P4\n" << picture.Width << " " << picture.Height << "\n";
  out.write(reinterpret_cast<const char*>(bits.data()), std::streamsize(bits.size()));
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

// Runs a program with its arguments as they are (no shell: a quote in --work
// or a font's name is just a character); its output goes to OutputTo, or is
// dropped. Whether it succeeded.
bool Run(const std::vector<std::string>& argv, const std::string& outputTo = "/dev/null",
         const std::string& dir = "") {
  return RunProgram(argv, {"/dev/null", outputTo, outputTo, dir}) == 0;
}

// The folder tesseract keeps its models in, from what --list-langs prints
// first: List of available languages in "/usr/share/tesseract-ocr/5/tessdata/" (N):
std::string ModelFolder(const std::string& work) {
  const std::string listing = work + "/list-langs.txt";
  Run({"tesseract", "--list-langs"}, listing);
  const std::string text = ReadText(listing);
  const size_t open = text.find('"'), close = text.find('"', open + 1);
  if (open == std::string::npos || close == std::string::npos)
    throw std::runtime_error("cannot find tesseract's models (tesseract-ocr installed?)");
  return text.substr(open + 1, close - open - 1);
}

// The Hangul syllables tesseract's Korean model can output, from its
// unicharset.
std::set<uint32_t> ModelSyllables(const std::string& work) {
  const std::string prefix = work + "/kor.";
  if (!Run({"combine_tessdata", "-u", ModelFolder(work) + "/kor.traineddata", "kor."}, "/dev/null", work))
    throw std::runtime_error("cannot unpack the Korean model (tesseract-ocr-kor installed?)");
  // After a count line, one character a line, its text up to the first space.
  std::istringstream lines(ReadText(prefix + "lstm-unicharset"));
  std::string line;
  std::set<uint32_t> codes;
  std::getline(lines, line);
  while (std::getline(lines, line)) {
    const std::vector<uint32_t> found = SyllablesOf(line.substr(0, line.find(' ')));
    if (found.size() == 1 && line.find(' ') == 3) codes.insert(found[0]);
  }
  return codes;
}

// Runs tesseract once over the pages listed in the file List; returns each
// page's text.
std::vector<std::string> Recognise(const std::string& list, int pageMode, size_t pages) {
  const std::string out = list + ".out";
  if (!Run({"tesseract", list, out, "-l", "kor", "--psm", std::to_string(pageMode)}))
    throw std::runtime_error("tesseract failed on " + list);
  std::vector<std::string> texts;
  std::string text = ReadText(out + ".txt");
  // Pages are separated by form feeds; the last one may or may not end in one.
  size_t start = 0;
  for (size_t ff; (ff = text.find('\f', start)) != std::string::npos; start = ff + 1)
    texts.push_back(text.substr(start, ff - start));
  if (text.find_first_not_of(" \n", start) != std::string::npos || texts.size() < pages)
    texts.push_back(text.substr(start));
  if (texts.size() != pages)
    throw std::runtime_error("tesseract gave " + std::to_string(texts.size()) + " pages for " + std::to_string(pages));
  return texts;
}

struct TScore {
  long Correct = 0, Total = 0;
  void Add(const TScore& other) { Correct += other.Correct, Total += other.Total; }
  std::string Text() const {
    const double p = Total ? double(Correct) / double(Total) : 0;
    const double margin = Total ? 1.96 * std::sqrt(p * (1 - p) / double(Total)) : 0;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%5ld/%-5ld %5.1f%% ±%4.1f", Correct, Total, 100 * p, 100 * margin);
    return buffer;
  }
};

TScore Measure(const TFont& font, const TSetting& setting, const std::vector<uint32_t>& single,
               const std::vector<std::vector<uint32_t>>& lines, const std::string& work) {
  const std::string dir = work + "/" + font.Name + "-" + std::to_string(&setting - Settings);
  ::mkdir(dir.c_str(), 0755);
  std::vector<std::vector<std::vector<uint32_t>>> pages;
  if (setting.Lines && setting.PageMode == 6) {
    pages.push_back(lines);  // one page, all the lines
  } else if (setting.Lines) {
    for (const auto& line : lines) pages.push_back({line});
  } else {
    for (uint32_t code : single) pages.push_back({{code}});
  }
  std::ofstream list(dir + "/pages.txt");
  for (size_t p = 0; p < pages.size(); ++p) {
    const std::string path = dir + "/" + std::to_string(p) + ".pbm";
    WritePicture(path, font, pages[p], setting.Scale);
    list << path << "\n";
  }
  list.close();
  const std::vector<std::string> texts = Recognise(dir + "/pages.txt", setting.PageMode, pages.size());
  TScore score;
  for (size_t p = 0; p < pages.size(); ++p) {
    std::vector<uint32_t> truth;
    for (const auto& row : pages[p]) truth.insert(truth.end(), row.begin(), row.end());
    const std::vector<uint32_t> read = SyllablesOf(texts[p]);
    if (setting.Lines) score.Correct += MatchedCount(truth, read);
    else score.Correct += read == truth;
    score.Total += long(truth.size());
  }
  return score;
}

TFont LoadFont(const std::string& name, const std::string& path) {
  const TFontSource source = LoadFontSource(path);
  TFont font{name, source.Syllables, source.HasSyllable};
  if (source.Kind == TSourceKind::Atlas || source.JamoOrigin != TJamoOrigin::None) {
    if (source.Kind == TSourceKind::Atlas || source.SyllablesPresent() == 0) {
      for (uint32_t code = SyllableFirst; code <= SyllableLast; ++code)
        font.Syllables[code - SyllableFirst] = ComposeSyllable(source.Jamo, code);
      font.HasSyllable.assign(SyllableCount, true);
    }
  }
  return font;
}

}  // namespace

int main(int argc, char** argv) {
  std::string work;
  size_t singleCount = 400, lineCount = 0;  // 0: every scored syllable
  std::vector<std::string> fontArgs;
  const auto app = MakeToolApp("runeplate-legibility",
                               "usage: runeplate-legibility --work DIR [--single N] [--lines N] NAME=FONT...\n");
  app->add_option("--work", work, "folder for the pictures and tesseract's output")->required()->type_name("DIR");
  app->add_option("--single", singleCount, "syllables one per image, a sample (0: all)")->type_name("N");
  app->add_option("--lines", lineCount, "syllables in lines (0: all)")->type_name("N");
  app->add_option("FONTS", fontArgs, "NAME=FONT: an atlas, or a source font's own syllables")->required();
  const TParseResult parsed = ParseArguments(*app, ArgumentsOf(argc, argv));
  if (parsed.Outcome != TParseOutcome::Run) return ReportParseResult("runeplate-legibility", parsed);
  std::vector<std::pair<std::string, std::string>> fonts;
  for (const std::string& arg : fontArgs) {
    const size_t equals = arg.find('=');
    if (equals == std::string::npos || equals == 0)
      return Fail("runeplate-legibility", 2, "'" + arg + "' is not NAME=FONT");
    fonts.emplace_back(arg.substr(0, equals), arg.substr(equals + 1));
  }
  // One thread a tesseract: the figures are the same, and the machine's other
  // work is not starved.
  ::setenv("OMP_THREAD_LIMIT", "1", 1);
  try {
    ::mkdir(work.c_str(), 0755);
    std::vector<TFont> loaded;
    for (const auto& [name, path] : fonts) loaded.push_back(LoadFont(name, path));

    const std::set<uint32_t> model = ModelSyllables(work);
    std::vector<uint32_t> scored;
    for (uint32_t code : KsX1001Syllables()) {
      const bool everyFont = std::all_of(loaded.begin(), loaded.end(),
                                         [&](const TFont& f) { return f.HasSyllable[code - SyllableFirst]; });
      if (model.count(code) && everyFont) scored.push_back(code);
    }
    std::mt19937 random(20261208);
    std::vector<uint32_t> shuffled = scored;
    std::shuffle(shuffled.begin(), shuffled.end(), random);
    std::vector<uint32_t> single = shuffled;
    if (singleCount > 0) single.resize(std::min(singleCount, single.size()));
    std::vector<uint32_t> inLines = shuffled;
    if (lineCount > 0) inLines.resize(std::min(lineCount, inLines.size()));
    std::vector<std::vector<uint32_t>> lines;
    for (size_t k = 0; k < inLines.size(); k += SyllablesPerLine)
      lines.emplace_back(inLines.begin() + k, inLines.begin() + std::min(k + SyllablesPerLine, inLines.size()));

    std::cout << "scored syllables: " << scored.size() << " (KS X 1001, drawn by every font, in the model's "
              << model.size() << "); one per image: a sample of " << single.size() << "; in lines: "
              << inLines.size() << " in lines of " << SyllablesPerLine << "\n";
    std::cout << "correct/total, percent, ±95% margin (binomial)\n\n";
    std::printf("%-16s", "font");
    for (const TSetting& s : Settings) std::printf(" | %-26s", s.Name.c_str());
    std::printf(" | %-26s | %-26s\n", "pooled lines", "pooled all");
    for (const TFont& font : loaded) {
      std::printf("%-16s", font.Name.c_str());
      TScore lines_, all;
      for (const TSetting& s : Settings) {
        const TScore score = Measure(font, s, single, lines, work);
        if (s.Lines) lines_.Add(score);
        all.Add(score);
        std::printf(" | %-26s", score.Text().c_str());
        std::fflush(stdout);
      }
      std::printf(" | %-26s | %-26s\n", lines_.Text().c_str(), all.Text().c_str());
    }
  } catch (const std::exception& error) {
    std::cerr << "runeplate-legibility: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
