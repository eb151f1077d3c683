// How fast DrawTextRun lays out a line, in nanoseconds per code unit, next to
// the fastest layout there could be: a walk through a rectangle table
// computed beforehand for all 65536 code units. Both call the same callback,
// so the ratio printed at the end is what the engine's own work costs. Then
// what composed text costs on top (DrawTextBlock, with and without wrapping,
// and over the Hangul line decomposed into jamo), per character.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "frame/FrameText.h"
#include "text/UDrawText.h"

using namespace runeplate;

// Every callback argument ends up here, so no call can be optimised away.
int64_t GlyphSink = 0;

namespace {

void AccumulateGlyph(int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcLeft,
                     int32_t srcTop, int32_t userValue) {
  GlyphSink += int64_t{x} + y + width + height + srcLeft + srcTop + userValue;
}

// Everything a run needs for one code unit, ready to hand to the callback.
struct TTableEntry {
  int16_t Count, Width, Height, Advance;
  int16_t Left[3], Top[3];
};

std::vector<TTableEntry> BuildTable() {
  std::vector<TTableEntry> table(65536);
  for (uint32_t code = 0; code < table.size(); ++code) {
    TGlyphRects list;
    GetGlyphRects(code, list);
    TTableEntry& e = table[code];
    e = TTableEntry{};
    e.Count = static_cast<int16_t>(list.Count);
    e.Advance = static_cast<int16_t>(AdvanceOf(code));
    if (list.Count > 0) {
      e.Width = static_cast<int16_t>(list.Rects[0].Right - list.Rects[0].Left);
      e.Height = static_cast<int16_t>(list.Rects[0].Bottom - list.Rects[0].Top);
    }
    for (int32_t k = 0; k < list.Count; ++k) {
      e.Left[k] = static_cast<int16_t>(list.Rects[k].Left);
      e.Top[k] = static_cast<int16_t>(list.Rects[k].Top);
    }
  }
  return table;
}

const std::vector<TTableEntry>& Table() {
  static const std::vector<TTableEntry> table = BuildTable();
  return table;
}

// Not inlined, so that like DrawTextRun it gets its position, user value and
// callback as arguments rather than as constants of the benchmark.
[[gnu::noinline]] int32_t WalkTable(const TTableEntry* table, int32_t x, int32_t y,
                                   const char16_t* text, size_t length, int32_t userValue,
                                   TGlyphCallback callback) {
  for (size_t n = 0; n < length; ++n) {
    const TTableEntry& e = table[text[n]];
    for (int32_t k = 0; k < e.Count; ++k)
      callback(x, y, e.Width, e.Height, e.Left[k], e.Top[k], userValue);
    x += e.Advance;
  }
  return x;
}

struct TLine {
  const char* Name;
  std::u16string Text;
};

// The program's sample line, and lines of the same length in one script.
std::vector<TLine> Lines() {
  std::u16string hangul;
  for (char16_t c : std::u16string(SampleText, SampleTextLength))
    if (c >= SyllableFirst && c <= SyllableLast) hangul += c;
  std::u16string hangulLine;
  while (hangulLine.size() < SampleTextLength) hangulLine += hangul;
  hangulLine.resize(SampleTextLength);

  std::u16string ascii =
      u"The quick brown fox jumps over the lazy dog, 0123456789 !@#$%^&*() ABCDEFG";
  ascii.resize(SampleTextLength);
  return {{"sample", std::u16string(SampleText, SampleTextLength)},
          {"ascii", ascii},
          {"hangul", hangulLine}};
}

void SetUnitCounters(benchmark::State& state, size_t length) {
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * length));
  state.counters["time/unit"] = benchmark::Counter(
      static_cast<double>(length),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Keeps the CPU time per iteration of every benchmark (the median over
// repetitions), for the ratios printed after the run.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const std::string name = run.run_name.function_name;
      if (run.run_type == Run::RT_Iteration)
        Times[name].push_back(run.GetAdjustedCPUTime());
      else if (run.aggregate_name == "median")
        Medians[name] = run.GetAdjustedCPUTime();
    }
  }

  // Nanoseconds per iteration, or a negative value when the benchmark did not run.
  double NanosecondsOf(const std::string& name) const {
    if (auto m = Medians.find(name); m != Medians.end()) return m->second;
    auto t = Times.find(name);
    if (t == Times.end() || t->second.empty()) return -1;
    std::vector<double> sorted = t->second;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
  }

 private:
  std::map<std::string, std::vector<double>> Times;
  std::map<std::string, double> Medians;
};

}  // namespace

int main(int argc, char** argv) {
  // A shared machine makes single runs noisy: unless told otherwise, repeat
  // in shuffled order and compare medians.
  std::vector<char*> args(argv, argv + argc);
  bool repetitionsGiven = false;
  for (int n = 1; n < argc; ++n)
    if (std::strncmp(argv[n], "--benchmark_repetitions", 23) == 0) repetitionsGiven = true;
  char repetitions[] = "--benchmark_repetitions=5";
  char aggregatesOnly[] = "--benchmark_display_aggregates_only=true";
  char interleaving[] = "--benchmark_enable_random_interleaving=true";
  if (!repetitionsGiven) {
    args.push_back(repetitions);
    args.push_back(aggregatesOnly);
    args.push_back(interleaving);
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;

  const std::vector<TLine> lines = Lines();
  const TTableEntry* table = Table().data();
  for (const TLine& line : lines) {
    const TLine* l = &line;
    benchmark::RegisterBenchmark((std::string("DrawTextRun/") + l->Name).c_str(),
                                 [l](benchmark::State& state) {
                                   TGlyphCallback callback = AccumulateGlyph;
                                   for (auto _ : state) {
                                     benchmark::DoNotOptimize(callback);
                                     benchmark::DoNotOptimize(
                                         DrawTextRun(0, 16, l->Text.data(), l->Text.size(),
                                                     -1, callback));
                                   }
                                   SetUnitCounters(state, l->Text.size());
                                 });
    benchmark::RegisterBenchmark((std::string("TableWalk/") + l->Name).c_str(),
                                 [l, table](benchmark::State& state) {
                                   TGlyphCallback callback = AccumulateGlyph;
                                   for (auto _ : state) {
                                     benchmark::DoNotOptimize(callback);
                                     benchmark::DoNotOptimize(
                                         WalkTable(table, 0, 16, l->Text.data(), l->Text.size(),
                                                   -1, callback));
                                   }
                                   SetUnitCounters(state, l->Text.size());
                                 });
  }

  // Composed text: the same lines, the Hangul line wrapped to 200 pixels, and
  // that line decomposed into jamo (three code units a character or so).
  std::vector<TLine> composed = lines;
  composed.push_back({"hangul-wrap", lines[2].Text});
  std::u16string nfd;
  for (char16_t c : lines[2].Text) {
    const TSyllableLetters letters = DecomposeSyllable(c - SyllableFirst);
    nfd += char16_t(LeadingJamoFirst + letters.Initial);
    nfd += char16_t(VowelJamoFirst + letters.Medial);
    if (letters.Final != 0) nfd += char16_t(TrailingJamoFirst + letters.Final - 1);
  }
  composed.push_back({"hangul-nfd", nfd});
  static std::vector<TLine> composedLines;
  composedLines = composed;
  for (const TLine& line : composedLines) {
    const TLine* l = &line;
    benchmark::RegisterBenchmark((std::string("DrawTextBlock/") + l->Name).c_str(),
                                 [l](benchmark::State& state) {
                                   TGlyphCallback callback = AccumulateGlyph;
                                   TBlockOptions options;
                                   options.WrapWidth = std::strcmp(l->Name, "hangul-wrap") == 0 ? 200 : 0;
                                   for (auto _ : state) {
                                     benchmark::DoNotOptimize(callback);
                                     benchmark::DoNotOptimize(DrawTextBlock(
                                         0, 16, l->Text.data(), l->Text.size(), options, -1, callback));
                                   }
                                   SetUnitCounters(state, SampleTextLength);
                                 });
  }

  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::DoNotOptimize(GlyphSink);

  std::printf("\n%-8s %14s %14s %8s\n", "line", "run ns/unit", "table ns/unit", "ratio");
  for (const TLine& line : lines) {
    const double run = reporter.NanosecondsOf(std::string("DrawTextRun/") + line.Name);
    const double walk = reporter.NanosecondsOf(std::string("TableWalk/") + line.Name);
    if (run < 0 || walk <= 0) continue;
    const double units = static_cast<double>(line.Text.size());
    std::printf("%-8s %14.2f %14.2f %7.2fx\n", line.Name, run / units, walk / units, run / walk);
  }
  for (const TLine& line : lines) {
    const double run = reporter.NanosecondsOf(std::string("DrawTextRun/") + line.Name);
    const double walk = reporter.NanosecondsOf(std::string("TableWalk/") + line.Name);
    if (run < 0 || walk <= 0) continue;
    std::printf("ratio %s/table = %.2fx\n", line.Name, run / walk);
  }
  // Per character: every line is SampleTextLength characters, the decomposed
  // one too, so iteration times compare directly.
  std::printf("\n%-12s %16s %16s %8s\n", "line", "composed ns/char", "plain ns/char", "ratio");
  for (const TLine& line : composedLines) {
    const bool hangul = std::strncmp(line.Name, "hangul", 6) == 0;
    const double block = reporter.NanosecondsOf(std::string("DrawTextBlock/") + line.Name);
    const double run = reporter.NanosecondsOf(std::string("DrawTextRun/") + (hangul ? "hangul" : line.Name));
    if (block < 0 || run <= 0) continue;
    std::printf("%-12s %16.2f %16.2f %7.2fx\n", line.Name, block / SampleTextLength, run / SampleTextLength,
                block / run);
  }
  benchmark::Shutdown();
  return 0;
}
