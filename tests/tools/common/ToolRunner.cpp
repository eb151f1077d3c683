#include "tooltest/ToolRunner.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "common/Process.h"

namespace runeplate::testing {

TToolRun RunTool(const std::string& tool, const std::vector<std::string>& args, const TRunOptions& options) {
  static int runs = 0;
  const std::string base = ScratchPath("run" + std::to_string(++runs));
  const std::string in = options.InputFrom.empty() ? base + ".in" : options.InputFrom;
  const std::string out = options.OutputTo.empty() ? base + ".out" : options.OutputTo;
  const std::string err = base + ".err";
  if (options.InputFrom.empty()) WriteBytes(in, options.Input);

  std::vector<std::string> argv{tool};
  argv.insert(argv.end(), args.begin(), args.end());
  TToolRun run;
  run.ExitCode = RunProgram(argv, {in, out, err, options.Dir});
  if (options.OutputTo.empty()) run.Out = ReadText(out);
  run.Err = ReadText(err);
  for (const std::string& path : {base + ".in", base + ".out", err}) std::remove(path.c_str());
  return run;
}

std::string ScratchPath(const std::string& suffix) {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info == nullptr ? "none" : std::string(info->test_suite_name()) + "_" + info->name();
  name += "_" + std::to_string(::getpid()) + "_" + suffix;
  std::replace(name.begin(), name.end(), '/', '_');
  return ::testing::TempDir() + "runeplate_" + name;
}

std::string FreshFolder(const std::string& name) {
  const std::string dir = ScratchPath(name);
  RemoveFolder(dir);
  std::filesystem::create_directory(dir);
  return dir;
}

void RemoveFolder(const std::string& dir) {
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
}

std::vector<std::string> FilesIn(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ignored)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  WriteBytes(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace runeplate::testing
